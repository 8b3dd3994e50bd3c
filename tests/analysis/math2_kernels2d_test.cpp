// 2-D kernel correlation, the compass and Kirsch kernels, the bracket check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;
using test::ScanCells;

// Integer cells and quarter kernels, so every sum below is exact.
TDouble2DArray Data(int32_t Cols, int32_t Rows) {
  return ScanArray<double>([](int64_t K) { return (K * 37) % 23 - 11; }, Cols, Rows);
}
const TDouble2DArray K3 = ScanArray<double>([](int64_t K) { return (K * 5) % 7 - 3 + 0.25 * (K % 2); }, 3, 3);
const TDouble2DArray K5 = ScanArray<double>([](int64_t K) { return (K * 13) % 7 - 3 + 0.5 * (K % 3 == 0); }, 5, 5);

TEST(KernelConvolve, StatusCodesLeaveTheResult) {
  TDouble2DArray Short5(5, TDoubleArray(5)), Ragged = Data(4, 5);
  Short5[2].resize(4);  // a column after column 0 is short
  Ragged[3].pop_back();
  using A = TDouble2DArray;
  // The kernel's checks in order, a later failing one winning; then the data.
  const struct {
    const char* Case;
    A Kernel, In;
    int32_t Want;
  } Rows[] = {{"3 x 4", A(3, TDoubleArray(4)), Data(4, 4), -1},
              {"column 2 short", Short5, Data(4, 4), -1},
              {"4 x 4", A(4, TDoubleArray(4)), Data(4, 4), -2},
              {"2 x 2: m < 3 wins", A(2, TDoubleArray(2)), Data(4, 4), -3},
              {"1 x 1", A(1, TDoubleArray(1)), Data(4, 4), -3},
              {"2 x 3: -3 wins", A(2, TDoubleArray(3)), Data(4, 4), -3},
              {"empty", A(), Data(4, 4), -3},
              {"no columns", K3, A(), -4},
              {"no rows", K3, A(3), -4},
              {"ragged data", K3, Ragged, -4},
              {"kernel first", A(4, TDoubleArray(4)), A(), -2}};
  for (const auto& R : Rows) {
    A Out = {{7.0}};
    EXPECT_EQ(KernelConvolve(R.Kernel, R.In, Out), R.Want) << R.Case;
    EXPECT_EQ(Out, A({{7.0}})) << R.Case;
  }
}

TEST(KernelConvolve, AgainstNdimageCorrelateNearest) {
  // scipy.ndimage.correlate(D, K, mode='nearest'), D and K built with the
  // formulas above in NumPy (reshape(nc, nr): axis 0 the column). Data
  // smaller than the kernel clamp every cell.
  const struct {
    const TDouble2DArray& Kernel;
    int32_t Cols, Rows;
    std::vector<double> Want;
  } Rows[] = {
      {K3, 6, 7, {35, 40.75, -62.75, 104, -68.5, -16.75, 70, -6.5, 108.5, -64, 39.5, -23.75, -58.25, 91.75,
                  -35.25, -6.5, 39.5, -35.25, 108.5, -64, -6, 51, -64, 39.5, -23.75, -6.5, 39.5, -34.75,
                  22.25, -23.75, -58.25, 108.5, -64, 39.5, 5.5, 50, 55.75, -76.5, 50, -13.25, -1.75, 85}},
      {K5, 1, 1, {-82.5}},
      {K5, 2, 3, {70.5, -31.5, -28.5, 100, 9.5, 12.5}},
      {K3, 7, 2, {36.75, 71.75, -5.5, 92.75, -34.25, -5, -34.25, -56.75, 52, -33.75, 23.25, 6.5, 49.25, 84.25}},
  };
  for (const auto& R : Rows) {
    TDouble2DArray Out;
    ASSERT_EQ(KernelConvolve(R.Kernel, Data(R.Cols, R.Rows), Out), 0);
    EXPECT_EQ(ScanCells(Out), R.Want) << R.Cols << " x " << R.Rows;
  }
}

TEST(KernelConvolve, SameBitsAsTheCellByCellDefinition) {
  // Every index clamped, each cell summed on its own in the pinned order
  // (p outer, q inner, from +0.0), over random cells and shapes around the
  // kernel's size, so that interior runs of every length meet the borders.
  std::mt19937_64 Gen(35);
  std::normal_distribution<double> N;
  for (const int64_t M : {3, 5, 9})
    for (const int64_t Nc : {int64_t{1}, M - 1, M, M + 1, 2 * M + 3})
      for (const int64_t Nr : {int64_t{1}, M - 1, M, M + 2, int64_t{37}}) {
        const auto K = ScanArray<double>([&](int64_t) { return N(Gen); }, M, M);
        const auto D = ScanArray<double>([&](int64_t) { return N(Gen); }, Nc, Nr);
        TDouble2DArray Out, Want(D.size(), TDoubleArray(D[0].size()));
        const auto At = [](int64_t X, int64_t N) { return std::clamp<int64_t>(X, 0, N - 1); };
        for (int64_t I = 0; I < Nc; ++I)
          for (int64_t J = 0; J < Nr; ++J)
            for (int64_t P = 0; P < M; ++P)
              for (int64_t Q = 0; Q < M; ++Q) Want[I][J] += D[At(I + P - M / 2, Nc)][At(J + Q - M / 2, Nr)] * K[P][Q];
        ASSERT_EQ(KernelConvolve(K, D, Out), 0);
        EXPECT_EQ(Out, Want) << M << " on " << Nc << " x " << Nr;
      }
  // The identity kernel gives the data back, borders included, into the data.
  TDouble2DArray Id(3, TDoubleArray(3)), D = Data(5, 4);
  Id[1][1] = 1;
  const TDouble2DArray Before = D;
  ASSERT_EQ(KernelConvolve(Id, D, D), 0);
  EXPECT_EQ(D, Before);
}

TEST(KernelConvolve, ProgressCadence) {
  // step = max(1, (nc - m)(nr - m) div 100) over the interior cells: 23 x 14
  // with m = 3 has step 2 and 21 x 12 = 252 cells, so percents 1..126.
  const struct {
    int32_t Cols, Rows, Last;
  } Rows[] = {{23, 14, 126}, {12, 13, 110}, {3, 40, 38}, {2, 40, 0}};
  for (const auto& R : Rows) {
    std::vector<int32_t> Seen;
    TDouble2DArray Out;
    const auto Progress = [&](TObject* Sender, int32_t Percent) {
      EXPECT_EQ(Sender, nullptr);
      Seen.push_back(Percent);
    };
    ASSERT_EQ(KernelConvolve(K3, Data(R.Cols, R.Rows), Out, Progress), 0);
    ASSERT_EQ(Seen.size(), static_cast<std::size_t>(R.Last)) << R.Cols << " x " << R.Rows;
    for (std::size_t K = 0; K < Seen.size(); ++K) EXPECT_EQ(Seen[K], static_cast<int32_t>(K + 1));
  }
}

TEST(EdgeKernels, AgainstNdimageWithThePublishedTables) {
  // scipy.ndimage.correlate(D, T[d], mode='nearest') on Data(5, 6), T parsed
  // from the published tables; cells [0][0], [2][3], [4][5].
  const double Want[2][8][3] = {
      {{36, 21, 8}, {8, 27, -4}, {-4, 31, -34}, {-6, -1, -64}, {-8, 25, -36}, {4, 19, -8}, {34, 15, 4}, {64, 1, 6}},
      {{96, -31, 80}, {48, -7, -32}, {-72, 9, -80}, {-192, 65, -88}, {-80, -15, -96}, {32, -39, -48}, {80, -55, 72},
       {88, 73, 192}}};
  const TDouble2DArray D = Data(5, 6);
  for (int32_t Dir = 0; Dir < 8; ++Dir) {
    TDouble2DArray R[2];
    ASSERT_EQ(ApplyCompassKernel(Dir, D, R[0]), 0);
    ASSERT_EQ(ApplyKirschKernel(Dir, D, R[1]), 0);
    for (int32_t T = 0; T < 2; ++T)
      EXPECT_EQ((std::vector<double>{R[T][0][0], R[T][2][3], R[T][4][5]}),
                (std::vector<double>{Want[T][Dir][0], Want[T][Dir][1], Want[T][Dir][2]}))
          << (T == 0 ? "compass " : "kirsch ") << Dir;
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
  } Rows[] = {{"(a+b))", -6}, {"((a)", 1}, {"", 0},           {"(a)(b)", 0},           {")(", -1},
              {"a)b)", -2},   {"(((", 3},  {"\xC3\xA4)", -2}, {"(\xE2\x82\xAC))", -4}, {"x\xF0\x9F\x98\x80)", -3}};
  for (const auto& R : Rows) EXPECT_EQ(CheckParanthInExp(R.Expr), R.Want) << R.Expr;
}

}  // namespace
}  // namespace orv
