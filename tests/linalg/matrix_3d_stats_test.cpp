// TMat3D block statistics: extremes, mean and variance with their progress,
// and the percentiles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/progress.h"

namespace {

using namespace orv;

// Cells [column][row][layer] as NumPy reads a.ravel(): the order the block
// statistics visit.
using TCube = std::vector<std::vector<std::vector<double>>>;
const TCube Cube = {{{2.5, 3.1, 4.7, 1.2}, {9.8, 5.5, 6.1, 0.3}},
                    {{7.7, 2.2, 8.4, 3.3}, {1.1, 6.6, 2.9, 5.2}},
                    {{4.4, 0.9, 7.3, 6.8}, {3.6, 8.8, 0.5, 5.9}}};

void Fill(TMat3D& A, const TCube& V) {
  A.Resize(int32_t(V.size()), int32_t(V[0].size()), int32_t(V[0][0].size()));
  for (std::size_t C = 0; C < V.size(); ++C)
    for (std::size_t R = 0; R < V[C].size(); ++R)
      for (std::size_t L = 0; L < V[C][R].size(); ++L)
        A.SetVal(int32_t(C + 1), int32_t(R + 1), int32_t(L + 1), V[C][R][L]);
}

TEST(Mat3DStats, AgainstNumPy) {
  TMat3D A(nullptr);
  Fill(A, Cube);
  A.OnChange = [](TObject*) { ADD_FAILURE() << "the statistics fire nothing"; };
  // x = a[c1-1:c2, r1-1:r2, l1-1:l2].ravel(): x.mean(), x.var(ddof=1) (1.0
  // for one or two cells), min, max, and the nearest ranks
  // sorted(x)[min(round(n * p / 100), n - 1)] for p = 0, 25, 50, 62.5, 100.
  const struct { int32_t B[6]; double Mean, Var, Min, Max, P[5]; } Rows[] = {
      {{0, 0, 0, 0, 0, 0}, 4.533333333333333, 7.857101449275364, 0.3, 9.8, {0.3, 2.5, 4.7, 5.9, 9.8}},
      {{2, 3, 1, 2, 2, 3}, 4.7, 11.777142857142858, 0.5, 8.8, {0.5, 2.2, 6.6, 7.3, 8.8}},
      {{3, 2, 2, 1, 3, 2}, 4.7, 11.777142857142858, 0.5, 8.8, {0.5, 2.2, 6.6, 7.3, 8.8}},  // reversed
      {{-4, 1, 2, 9, 1, 4}, 5.425, 15.289166666666668, 0.3, 9.8, {0.3, 5.5, 6.1, 6.1, 9.8}},  // clamped
      {{2, 2, 1, 1, 3, 3}, 8.4, 1.0, 8.4, 8.4, {8.4, 8.4, 8.4, 8.4, 8.4}}};
  const double Probs[] = {0, 25, 50, 62.5, 100};
  for (const auto& R : Rows) {
    const int32_t* B = R.B;
    double Mean, Var, Min, Max;
    A.MeanVar(B[0], B[1], B[2], B[3], B[4], B[5], Mean, Var);
    A.MinMax(B[0], B[1], B[2], B[3], B[4], B[5], Min, Max);
    EXPECT_NEAR(Mean, R.Mean, 1e-14) << B[0];
    EXPECT_NEAR(Var, R.Var, 1e-13) << B[0];
    EXPECT_EQ(Min, R.Min);
    EXPECT_EQ(Max, R.Max);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(A.Percentile(Probs[I], B[0], B[1], B[2], B[3], B[4], B[5]), R.P[I]);
  }
  EXPECT_EQ(A.Percentile(150, 0, 0, 0, 0, 0, 0), 9.8);
  EXPECT_TRUE(std::isnan(A.Percentile(std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0, 0, 0)));

  // NIST StRD NumAcc4 along the layers: standard deviation 0.1 (the
  // textbook one-pass sums give 0).
  A.OnChange = nullptr;
  A.Resize(1, 1, 1001);
  A.SetVal(1, 1, 1, 10000000.2);
  for (int32_t L = 2; L <= 1001; ++L) A.SetVal(1, 1, L, L % 2 == 0 ? 10000000.1 : 10000000.3);
  double Mean, Var;
  A.MeanVar(0, 0, 0, 0, 0, 0, Mean, Var);
  EXPECT_NEAR(std::sqrt(Var), 0.1, 1e-9);
}

TEST(Mat3DStats, ProgressPerColumnAndRowPosition) {
  TMat3D A(nullptr);
  A.Resize(10, 12, 3);
  A.FillRandomUniform(-1, 1);
  double X, Y;
  // (positions, expected passes): step Trunc(n / 100) + 1; layers do not count.
  const struct { int32_t Cols, Rows; double Passes; } Cases[] = {{10, 10, 50}, {3, 3, 9}, {10, 12, 60}, {1, 1, 1}};
  for (const auto& C : Cases) {
    test::TPassCounter Count;
    A.MinMax(1, C.Cols, 1, C.Rows, 0, 0, X, Y);
    EXPECT_EQ(Count.Passes(), C.Passes) << C.Cols << " x " << C.Rows;
    A.MeanVar(1, C.Cols, 1, C.Rows, 2, 3, X, Y);
    EXPECT_EQ(Count.Passes(), 2 * C.Passes);
    EXPECT_EQ(Count.Seen.size(), std::size_t(2 * C.Passes)) << "each pass told to MathFeedBackProc";
    A.Percentile(50, 0, 0, 0, 0, 0, 0);
    A.Percentile(50, 0, 0, 0, 0, 0, 0, 20);
    EXPECT_EQ(Count.Passes(), 2 * C.Passes) << "percentiles report nothing";
  }
  // A second pass over the block (only NaN: is there a -Inf?) reports nothing more.
  A.Resize(10, 10, 2);
  for (int32_t C = 1; C <= 10; ++C)
    for (int32_t R = 1; R <= 10; ++R)
      for (int32_t L = 1; L <= 2; ++L) A.SetVal(C, R, L, std::numeric_limits<double>::quiet_NaN());
  test::TPassCounter Count;
  A.MinMax(0, 0, 0, 0, 0, 0, X, Y);
  EXPECT_EQ(Count.Passes(), 50.0);
  EXPECT_TRUE(std::isnan(X));
  EXPECT_EQ(Y, -uc_MaxReal);
}

TEST(Mat3DStats, SampledPercentile) {
  TMat3D A(nullptr);
  Fill(A, Cube);
  // A SampleSize <= 0 or not below the cell count is the plain percentile.
  for (const int32_t Size : {-3, 0, 24, 99}) EXPECT_EQ(A.Percentile(62.5, 0, 0, 0, 0, 0, 0, Size), 5.9) << Size;
  // Drawn cells are cells of the block (column 3, row 2, layers 1..2).
  for (int I = 0; I < 20; ++I) {
    const double P = A.Percentile(50, 3, 3, 2, 2, 1, 2, 1);
    EXPECT_TRUE(P == 3.6 || P == 8.8) << P;
  }
  // No shortcut for zeros: the selection returns a cell, -0.0 here, where
  // TMatrix's shortcut answers 0.0.
  A.Resize(4, 4, 4);
  for (int32_t C = 1; C <= 4; ++C)
    for (int32_t R = 1; R <= 4; ++R)
      for (int32_t L = 1; L <= 4; ++L) A.SetVal(C, R, L, -0.0);
  EXPECT_TRUE(std::signbit(A.Percentile(50, 0, 0, 0, 0, 0, 0, 30)));
  TMatrix M(nullptr);
  M.Resize(8, 8);
  for (int32_t C = 1; C <= 8; ++C)
    for (int32_t R = 1; R <= 8; ++R) M.SetVal(C, R, -0.0);
  EXPECT_FALSE(std::signbit(M.Percentile(50, 0, 0, 0, 0, 30)));
}

}  // namespace
