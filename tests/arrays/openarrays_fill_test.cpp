// FillArray, FillArrayRix, FillDiagArray, FillRandomNormal and FillRandomUniform.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;
using test::ScanCells;
using V = std::vector<int32_t>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
const auto Zero = [](int64_t) { return 0; };

TEST(FillArrays, EmptyAndRaggedGiveMinusOneChangeNothingAndStillReseed) {
  const TInt2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{1, 2}, {3}}, {{1}, {2, 3}}, {{}, {4}}};
  for (const auto& Shape : Shapes) {
    auto I = Shape;
    TDouble2DArray D(Shape.size());
    for (std::size_t C = 0; C < Shape.size(); ++C) D[C].assign(Shape[C].begin(), Shape[C].end());
    const auto Before = D;
    SetRandSeed(77);
    EXPECT_EQ(V({FillArray(I, 5), FillArray(D, 5.0), FillArray(I, 5, 0, 0, 0, 0), FillArray(D, 5.0, 0, 0, 0, 0),
                 FillArrayRix(I), FillArrayRix(D), FillDiagArray(I, 5), FillDiagArray(D, 5.0),
                 FillRandomNormal(D, 0, -1), FillRandomUniform(D, 2.0, 1.0), FillRandomUniform(I, 2, 1)}),
              V(11, -1))
        << Shape.size() << " columns";
    EXPECT_TRUE(I == Shape && D == Before && RandSeed() != 77);
  }
  TDouble4DArray Inner = {{{{}}}}, Ragged = {{{{1}, {2, 3}}}};
  TBoolArray B;
  EXPECT_EQ(V({FillArray(Inner, 1.0), FillRandomUniform(Ragged, 0.0, 1.0), FillArray(B, true)}), V(3, -1));
}

TEST(FillArrays, WholeArraysBoxesRunningIndexAndDiagonal) {
  TIntArray A1(5, 0);
  EXPECT_EQ(V({FillArray(A1, 9, 2, 2), FillArray(A1, 1, 3, 2), FillArray(A1, 1, 0, 5), FillArray(A1, 1, -1, 0)}),
            V({0, -2, -2, -2}));
  EXPECT_EQ(A1, (TIntArray{0, 0, 9, 0, 0}));
  auto A2 = ScanArray<double>(Zero, 3, 4);  // corners (1, 0) and (2, 1)
  EXPECT_EQ(FillArray(A2, 1.5, 1, 0, 2, 1), 0);
  EXPECT_EQ(A2, (TDouble2DArray{{0, 0, 0, 0}, {1.5, 1.5, 0, 0}, {1.5, 1.5, 0, 0}}));
  // a = np.zeros((2, 3, 4)); a[1, 0:2, 1:4] = 7; and b = np.zeros((2, 2, 2, 3)); b[0:2, 1, 0, 1:3] = 8
  auto A3 = ScanArray<int32_t>(Zero, 2, 3, 4);
  auto A4 = ScanArray<double>(Zero, 2, 2, 2, 3);
  EXPECT_EQ(FillArray(A3, 7, 1, 0, 1, 1, 1, 3) + FillArray(A4, 8.0, 0, 1, 0, 1, 1, 1, 0, 2), 0);
  EXPECT_EQ(ScanCells(A3), V({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 0, 7, 7, 7, 0, 0, 0, 0}));
  EXPECT_EQ(ScanCells(A4), TDoubleArray({0, 0, 0, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 0, 0, 0}));
  TBool2DArray B2(2, TBoolArray(3));
  EXPECT_EQ(FillArray(B2, true) + FillArray(A4, 2.5), 0);
  EXPECT_TRUE(B2 == TBool2DArray(2, TBoolArray(3, true)) && ScanCells(A4) == TDoubleArray(24, 2.5));

  TInt2DArray R2(3, TIntArray(2, -1));
  auto R3 = ScanArray<int32_t>(Zero, 2, 3, 4);
  auto D3 = ScanArray<double>(Zero, 2, 3, 4);
  EXPECT_EQ(FillArrayRix(R2) + FillArrayRix(R3) + FillArrayRix(D3), 0);
  EXPECT_EQ(R2, (TInt2DArray{{0, 1}, {2, 3}, {4, 5}}));
  // The first index fastest: np.arange(24).reshape((2, 3, 4), order='F').ravel()
  const V Want = {0, 6, 12, 18, 2, 8, 14, 20, 4, 10, 16, 22, 1, 7, 13, 19, 3, 9, 15, 21, 5, 11, 17, 23};
  EXPECT_TRUE(ScanCells(R3) == Want && ScanCells(D3) == TDoubleArray(Want.begin(), Want.end()));

  TInt2DArray NotSquare(3, TIntArray(2, 7));
  TInt3DArray Flat = {{{1, 2}}, {{3, 4}}};
  auto Cube = ScanArray<double>([](int64_t K) { return K + 1.0; }, 3, 3, 3);
  auto H = ScanArray<int32_t>([](int64_t K) { return K; }, 2, 2, 2, 2);
  EXPECT_EQ(V({FillDiagArray(NotSquare, 1), FillDiagArray(Flat, 1), FillDiagArray(Cube, 4.0), FillDiagArray(H, -3)}),
            V({-2, -2, 0, 0}));
  EXPECT_TRUE(NotSquare == TInt2DArray(3, TIntArray(2, 7)) && Flat == (TInt3DArray{{{1, 2}}, {{3, 4}}}));
  EXPECT_EQ(ScanCells(Cube), TDoubleArray({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                           0, 4}));
  EXPECT_EQ(ScanCells(H), V({-3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3}));
}

// Mean and sample standard deviation.
std::pair<double, double> Moments(const TDoubleArray& X) {
  double S = 0, Q = 0;
  for (double V : X) S += V;
  const double M = S / X.size();
  for (double V : X) Q += (V - M) * (V - M);
  return {M, std::sqrt(Q / (X.size() - 1))};
}

TEST(FillRandom, DistributionsRangesBoundsAndDrawOrder) {
  // Uniform on [-3, 5): mean 1 (sd 8 / sqrt(12)), eight equal bins.
  auto U = ScanArray<double>(Zero, 100, 1000);
  ASSERT_EQ(FillRandomUniform(U, -3.0, 5.0), 0);
  const auto Cells = ScanCells(U);
  const double N = Cells.size();
  EXPECT_NEAR(Moments(Cells).first, 1.0, 4 * 8 / std::sqrt(12 * N));
  V Bins(8);
  for (double X : Cells) ++Bins.at(static_cast<std::size_t>(std::floor(X + 3)));
  for (int32_t B : Bins) EXPECT_NEAR(B, N / 8, 5 * std::sqrt(N / 8 * 7 / 8));
  // Normal: mean 10, sd 2; sd 0 fills the mean; a negative or NaN sd gives -2.
  auto G = ScanArray<double>(Zero, 10, 10, 10, 100);
  TDouble2DArray Z(2, TDoubleArray(3));
  EXPECT_EQ(V({FillRandomNormal(G, 10, 2), FillRandomNormal(Z, -4.25, 0), FillRandomNormal(Z, 0, -1),
               FillRandomNormal(Z, 0, NaN), FillRandomNormal(Z, NaN, 1), FillRandomNormal(Z, -Inf, 1),
               FillRandomNormal(Z, 0, Inf)}),
            V({0, 0, -2, -2, -2, -2, -2}));
  const auto [Mean, Sd] = Moments(ScanCells(G));
  EXPECT_NEAR(Mean, 10, 4 * 2 / std::sqrt(N));
  EXPECT_NEAR(Sd, 2, 4 * 2 / std::sqrt(2 * N));
  EXPECT_EQ(Z, TDouble2DArray(2, TDoubleArray(3, -4.25)));
  // Integers: RangeLow .. RangeHigh - 1, computed in double whatever the span.
  TInt2DArray I(100, TIntArray(1000));
  const V Ranges[] = {{0, 1, 0, 0}, {5, 5, 5, 5}, {-3, 3, -3, 2}, {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX - 1}};
  for (const auto& R : Ranges) {
    ASSERT_EQ(FillRandomUniform(I, R[0], R[1]), 0);
    const auto C = ScanCells(I);
    const auto [Lo, Hi] = std::minmax_element(C.begin(), C.end());
    if (R[0] != INT32_MIN) {
      EXPECT_TRUE(*Lo == R[2] && *Hi == R[3]) << R[0] << " .. " << R[1];
    } else {
      EXPECT_TRUE(*Lo < -2e9 && *Hi > 2e9);
      EXPECT_NEAR(Moments(TDoubleArray(C.begin(), C.end())).first, -0.5, 4 * 4294967296.0 / std::sqrt(12 * N));
    }
  }
  // Reversed, NaN or infinite bounds give -2; a span beyond DBL_MAX stays finite.
  TDoubleArray Keep = {0.5}, Wide(1000);
  EXPECT_EQ(V({FillRandomUniform(I, 2, 1), FillRandomUniform(Keep, 2.0, 1.0), FillRandomUniform(Keep, NaN, 1.0),
               FillRandomUniform(Keep, 0.0, NaN), FillRandomUniform(Keep, 0.0, Inf), FillRandomUniform(Keep, -Inf, -Inf),
               FillRandomUniform(Wide, -DBL_MAX, DBL_MAX)}),
            V({-2, -2, -2, -2, -2, -2, 0}));
  EXPECT_EQ(Keep, TDoubleArray{0.5});
  const auto [WLo, WHi] = std::minmax_element(Wide.begin(), Wide.end());
  EXPECT_TRUE(*WLo < -1e307 && *WHi > 1e307 && std::isfinite(*WLo) && std::isfinite(*WHi));
  // Draw order, replayed from the seed the fill set: for each third index,
  // for each first, the second fastest.
  auto D3 = ScanArray<double>(Zero, 3, 4, 5);
  ASSERT_EQ(FillRandomUniform(D3, 0.0, 1.0), 0);
  SetRandSeed(RandSeed());
  for (int K = 0; K < 5; ++K)
    for (int I3 = 0; I3 < 3; ++I3)
      for (int J = 0; J < 4; ++J) ASSERT_EQ(D3[I3][J][K], Random()) << I3 << J << K;
}

}  // namespace
}  // namespace orv
