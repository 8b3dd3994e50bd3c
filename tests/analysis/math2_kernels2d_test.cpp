// 2-D kernel correlation, the compass and Kirsch kernels, the bracket check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;
using test::ScanCells;

// Integer cells, so every sum below is exact.
double DataCell(int64_t K) { return static_cast<double>((K * 37) % 23 - 11); }
TDouble2DArray Data(int32_t Cols, int32_t Rows) { return ScanArray<double>(DataCell, Cols, Rows); }

const TDouble2DArray K3 = ScanArray<double>([](int64_t K) { return (K * 5) % 7 - 3 + 0.25 * static_cast<double>(K % 2); }, 3, 3);
const TDouble2DArray K5 = ScanArray<double>([](int64_t K) { return (K * 13) % 7 - 3 + (K % 3 == 0 ? 0.5 : 0.0); }, 5, 5);

TEST(KernelConvolve, StatusCodesAndUntouchedResult) {
  const TDouble2DArray Square5(5, TDoubleArray(5, 1.0));
  TDouble2DArray Short5 = Square5;
  Short5[2].resize(4);  // only a later column is short
  TDouble2DArray Ragged = Data(4, 5);
  Ragged[3].pop_back();
  // The kernel's checks in order, a later failing one winning; then the data.
  const struct {
    const char* Case;
    TDouble2DArray Kernel, In;
    int32_t Want;
  } Rows[] = {
      {"3 x 4 kernel", TDouble2DArray(3, TDoubleArray(4)), Data(4, 4), -1},
      {"column 2 short", Short5, Data(4, 4), -1},
      {"4 x 4 kernel", TDouble2DArray(4, TDoubleArray(4)), Data(4, 4), -2},
      {"2 x 2 kernel: m < 3 wins", TDouble2DArray(2, TDoubleArray(2)), Data(4, 4), -3},
      {"1 x 1 kernel", TDouble2DArray(1, TDoubleArray(1)), Data(4, 4), -3},
      {"empty kernel", TDouble2DArray(), Data(4, 4), -3},
      {"2 x 3 kernel: -3 wins over -1", TDouble2DArray(2, TDoubleArray(3)), Data(4, 4), -3},
      {"no columns", K3, TDouble2DArray(), -4},
      {"no rows", K3, TDouble2DArray(3), -4},
      {"ragged data", K3, Ragged, -4},
      {"bad kernel before bad data", TDouble2DArray(4, TDoubleArray(4)), TDouble2DArray(), -2},
  };
  for (const auto& R : Rows) {
    TDouble2DArray Out = {{7.0}};
    EXPECT_EQ(KernelConvolve(R.Kernel, R.In, Out), R.Want) << R.Case;
    EXPECT_EQ(Out, TDouble2DArray({{7.0}})) << R.Case;
  }
}

TEST(KernelConvolve, AgainstNdimageCorrelateNearest) {
  // scipy.ndimage.correlate(D, K, mode='nearest'), D and K built with the
  // formulas above in NumPy (reshape(nc, nr): axis 0 the column), printed
  // with %.17g. Data smaller than the kernel clamp every cell.
  const struct {
    const char* Case;
    const TDouble2DArray& Kernel;
    int32_t Cols, Rows;
    std::vector<double> Want;
  } Rows[] = {
      {"3x3 on 6x7", K3, 6, 7, {35, 40.75, -62.75, 104, -68.5, -16.75, 70, -6.5, 108.5, -64, 39.5, -23.75, -58.25, 91.75,
                                -35.25, -6.5, 39.5, -35.25, 108.5, -64, -6, 51, -64, 39.5, -23.75, -6.5, 39.5, -34.75,
                                22.25, -23.75, -58.25, 108.5, -64, 39.5, 5.5, 50, 55.75, -76.5, 50, -13.25, -1.75, 85}},
      {"5x5 on 6x7", K5, 6, 7, {1.5, -43, 99, 20, -1.5, -69, -68.5, -23.5, -22, 16.5, -16.5, 19.5, -2, -13,
                                101, 45, 14.5, -41.5, -5.5, 42, 111.5, -3.5, 44, 13.5, -19.5, -52.5, 41, 30,
                                -74, -38, -45.5, 82.5, 72.5, 5, 5.5, 49.5, 51, -25.5, -70, 12, -21, 94.5}},
      {"5x5 on 1x1", K5, 1, 1, {-82.5}},
      {"5x5 on 2x3", K5, 2, 3, {70.5, -31.5, -28.5, 100, 9.5, 12.5}},
      {"3x3 on 7x2", K3, 7, 2, {36.75, 71.75, -5.5, 92.75, -34.25, -5, -34.25, -56.75, 52, -33.75, 23.25, 6.5, 49.25, 84.25}},
      {"5x5 on 4x9", K5, 4, 9, {5.5, -62, -0.5, -33.5, 2.5, -42, 40, 76, 30.5, 101.5, 45.5, 141.5,
                                -64, 18, -26.5, -82.5, 103, 23, -43, -7, 66, 56, 23, -67.5,
                                -31.5, -18.5, -87, -106, -70, -8.5, -41.5, 40.5, 19, -14, 79.5, 22.5}},
  };
  for (const auto& R : Rows) {
    TDouble2DArray Out;
    ASSERT_EQ(KernelConvolve(R.Kernel, Data(R.Cols, R.Rows), Out), 0) << R.Case;
    ASSERT_EQ(Out.size(), static_cast<std::size_t>(R.Cols)) << R.Case;
    EXPECT_EQ(ScanCells(Out), R.Want) << R.Case;
  }
}

// Every index clamped, cell by cell: the definition, in its order of terms.
TDouble2DArray ClampedEverywhere(const TDouble2DArray& K, const TDouble2DArray& D) {
  const auto M = static_cast<int64_t>(K.size()), H = M / 2;
  const auto Nc = static_cast<int64_t>(D.size()), Nr = static_cast<int64_t>(D[0].size());
  TDouble2DArray R(D.size(), TDoubleArray(D[0].size()));
  for (int64_t I = 0; I < Nc; ++I)
    for (int64_t J = 0; J < Nr; ++J) {
      double S = 0.0;
      for (int64_t P = 0; P < M; ++P)
        for (int64_t Q = 0; Q < M; ++Q)
          S += D[std::clamp<int64_t>(I + P - H, 0, Nc - 1)][std::clamp<int64_t>(J + Q - H, 0, Nr - 1)] * K[P][Q];
      R[I][J] = S;
    }
  return R;
}

TEST(KernelConvolve, SameBitsAsTheCellByCellDefinition) {
  // Random cells and kernels over shapes around the kernel's size, so the
  // interior runs of every length meet the border bands.
  std::mt19937_64 Gen(35);
  std::normal_distribution<double> N;
  for (const int32_t M : {3, 5, 9})
    for (const int32_t Nc : {1, M - 1, M, M + 1, 2 * M + 3})
      for (const int32_t Nr : {1, M - 1, M, M + 2, 37}) {
        const auto K = ScanArray<double>([&](int64_t) { return N(Gen); }, M, M);
        const auto D = ScanArray<double>([&](int64_t) { return N(Gen); }, Nc, Nr);
        TDouble2DArray Out;
        ASSERT_EQ(KernelConvolve(K, D, Out), 0);
        EXPECT_EQ(Out, ClampedEverywhere(K, D)) << M << " on " << Nc << " x " << Nr;
      }
  // The identity kernel gives the data back, borders included; the result
  // may be the data itself.
  TDouble2DArray Id(3, TDoubleArray(3));
  Id[1][1] = 1;
  TDouble2DArray D = Data(5, 4);
  const TDouble2DArray Want = D;
  ASSERT_EQ(KernelConvolve(Id, D, D), 0);
  EXPECT_EQ(D, Want);
}

TEST(KernelConvolve, ProgressCadence) {
  // step = max(1, (nc - m)(nr - m) div 100) over the interior cells, i outer:
  // 23 x 14 with m = 3 has step 2 and 21 x 12 = 252 interior cells, so the
  // percents 1..126; 12 x 13 has step 1 and 110 cells; 3 x 40 step 1, 38.
  const struct {
    int32_t Cols, Rows, Last;
  } Rows[] = {{23, 14, 126}, {12, 13, 110}, {3, 40, 38}, {2, 40, 0}};
  for (const auto& R : Rows) {
    std::vector<int32_t> Seen;
    TDouble2DArray Out;
    ASSERT_EQ(KernelConvolve(K3, Data(R.Cols, R.Rows), Out,
                             [&](TObject* Sender, int32_t Percent) {
                               EXPECT_EQ(Sender, nullptr);
                               Seen.push_back(Percent);
                             }),
              0);
    ASSERT_EQ(Seen.size(), static_cast<std::size_t>(R.Last)) << R.Cols << " x " << R.Rows;
    for (std::size_t K = 0; K < Seen.size(); ++K) EXPECT_EQ(Seen[K], static_cast<int32_t>(K + 1));
  }
}

TEST(EdgeKernels, AgainstNdimageWithTheTables) {
  // scipy.ndimage.correlate(D, T[d], mode='nearest') on the 5 x 6 data above,
  // T parsed from the published tables; cells [0][0], [2][3], [4][5].
  const double Compass[8][3] = {{36, 21, 8},  {8, 27, -4},  {-4, 31, -34}, {-6, -1, -64},
                                {-8, 25, -36}, {4, 19, -8}, {34, 15, 4},   {64, 1, 6}};
  const double Kirsch[8][3] = {{96, -31, 80},  {48, -7, -32},  {-72, 9, -80},  {-192, 65, -88},
                               {-80, -15, -96}, {32, -39, -48}, {80, -55, 72}, {88, 73, 192}};
  const TDouble2DArray D = Data(5, 6);
  for (int32_t Dir = 0; Dir < 8; ++Dir) {
    TDouble2DArray C, K;
    ASSERT_EQ(ApplyCompassKernel(Dir, D, C), 0);
    ASSERT_EQ(ApplyKirschKernel(Dir, D, K), 0);
    const double GotC[3] = {C[0][0], C[2][3], C[4][5]}, GotK[3] = {K[0][0], K[2][3], K[4][5]};
    for (int32_t I = 0; I < 3; ++I) {
      EXPECT_EQ(GotC[I], Compass[Dir][I]) << "compass " << Dir;
      EXPECT_EQ(GotK[I], Kirsch[Dir][I]) << "kirsch " << Dir;
    }
  }
  TDouble2DArray Out = {{7.0}};
  for (const int32_t Dir : {-1, 8, INT32_MIN}) {
    EXPECT_EQ(ApplyCompassKernel(Dir, D, Out), -1);
    EXPECT_EQ(ApplyKirschKernel(Dir, D, Out), -1);
  }
  EXPECT_EQ(ApplyKirschKernel(0, TDouble2DArray(), Out), -4);
  EXPECT_EQ(Out, TDouble2DArray({{7.0}}));
}

TEST(CheckParanthInExp, BalanceAndFirstUnmatchedClosing) {
  // Hand-counted; positions are characters (code points), not bytes.
  const struct {
    const char* Expr;
    int32_t Want;
  } Rows[] = {{"(a+b))", -6}, {"((a)", 1}, {"", 0},          {"(a)(b)", 0},        {")(", -1},
              {"a)b)", -2},   {"(((", 3},  {"\xC3\xA4)", -2}, {"(\xE2\x82\xAC))", -4}, {"x\xF0\x9F\x98\x80)", -3}};
  for (const auto& R : Rows) EXPECT_EQ(CheckParanthInExp(R.Expr), R.Want) << R.Expr;
}

}  // namespace
}  // namespace orv
