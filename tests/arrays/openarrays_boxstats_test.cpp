// MeanArray and StdDevArray: NumPy references, the draw order that fixes
// the rounded sum, and the codes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

TEST(BoxStatistics, AgainstNumPy) {
  double M = -1, S = -1;
  // np.mean / np.std(ddof=1) of the box as a NumPy slice of the same layout.
  ASSERT_EQ(MeanArray(TDoubleArray{1, 2, 3, 4}, 1, 2, M), 0);
  EXPECT_EQ(M, 2.5);
  const TDoubleArray Eight = {2, 4, 4, 4, 5, 5, 7, 9};
  ASSERT_EQ(StdDevArray(Eight, 0, 7, S), 0);
  EXPECT_NEAR(S, 2.138089935299395, 1e-15);
  ASSERT_EQ(StdDevArray(Eight, 3, 3, S), 0);
  EXPECT_EQ(S, 0.0) << "one cell";
  // (ColLo, RowLo, ColHi, RowHi) = (0, 1, 1, 1): A[0][1] = 1 and A[1][1] = 16.
  const TDouble2DArray A2 = test::ScanArray<double>([](int64_t K) { return double(K * K); }, 2, 3);
  ASSERT_EQ(MeanArray(A2, 0, 1, 1, 1, M), 0);
  ASSERT_EQ(StdDevArray(A2, 0, 1, 1, 1, S), 0);
  EXPECT_EQ(M, 8.5);
  EXPECT_NEAR(S, 10.606601717798213, 1e-14);
  // np.arange(60): sin(k) * 100 + k, reshape(3, 4, 5)[1:3, 0:4, 1:5].
  const TDouble3DArray A3 = test::ScanArray<double>([](int64_t K) { return std::sin(double(K)) * 100 + K; }, 3, 4, 5);
  ASSERT_EQ(MeanArray(A3, 1, 0, 1, 2, 3, 4, M), 0);
  ASSERT_EQ(StdDevArray(A3, 1, 0, 1, 2, 3, 4, S), 0);
  EXPECT_NEAR(M, 46.736865018900545, 1e-13);
  EXPECT_NEAR(S, 73.44266753423892, 1e-13);
  // np.arange(120): (k * 7919) % 1000 - 500, reshape(2, 3, 4, 5)[0:2, 1:3, 0:4, 2:5].
  const TInt4DArray I4 = test::ScanArray<int32_t>([](int64_t K) { return (K * 7919) % 1000 - 500; }, 2, 3, 4, 5);
  ASSERT_EQ(MeanArray(I4, 0, 1, 0, 2, 1, 2, 3, 4, M), 0);
  ASSERT_EQ(StdDevArray(I4, 0, 1, 0, 2, 1, 2, 3, 4, S), 0);
  EXPECT_EQ(M, -23.0);
  EXPECT_NEAR(S, 284.0794015464316, 1e-12);
}

TEST(BoxStatistics, DrawOrderFixesTheRoundedSum) {
  // 1e16 + 1 rounds to 1e16. In draw order (3-D: third index slowest, then
  // first, second fastest) -1e16 follows 1e16 and the 1 comes later: the sum
  // is exactly 1. Scan order (and np.mean's pairwise sum over it) would
  // put the 1 between them and give 0.
  TDouble3DArray A3(2, TDouble2DArray(2, TDoubleArray(2, 0.0)));
  A3[0][0][0] = 1e16;
  A3[0][0][1] = 1;
  A3[0][1][0] = -1e16;
  double M = -1;
  ASSERT_EQ(MeanArray(A3, 0, 0, 0, 1, 1, 1, M), 0);
  EXPECT_EQ(M, 1.0 / 8);
  TDouble4DArray A4(2, TDouble3DArray(2, TDouble2DArray(2, TDoubleArray(2, 0.0))));
  A4[0][0][0][0] = 1e16;
  A4[0][0][0][1] = 1;
  A4[0][1][0][0] = -1e16;
  ASSERT_EQ(MeanArray(A4, 0, 0, 0, 0, 1, 1, 1, 1, M), 0);
  EXPECT_EQ(M, 1.0 / 16);
}

TEST(BoxStatistics, Codes) {
  // Result 0 after every failure; -1 (empty at any level, ragged) before -2
  // (outside or reversed).
  const TIntArray I1 = {1, 2, 3, 4};
  const struct { int32_t Lo, Hi, Want; } Ranges[] = {{2, 1, -2}, {0, 4, -2}, {-1, 0, -2}, {4, 4, -2}, {0, 3, 0}};
  for (const auto& R : Ranges) {
    double M = 9, S = 9;
    EXPECT_EQ(MeanArray(I1, R.Lo, R.Hi, M), R.Want) << R.Lo << ".." << R.Hi;
    EXPECT_EQ(StdDevArray(I1, R.Lo, R.Hi, S), R.Want);
    if (R.Want != 0) {
      EXPECT_EQ(M + S, 0.0);
    }
  }
  const TInt3DArray Hollow[] = {{}, {{}}, {{{}}}, {{{1}, {2}}, {{3}}}, {{{1}}, {{2, 3}}}};
  for (const auto& H : Hollow) {
    double M = 9;
    EXPECT_EQ(MeanArray(H, 0, 0, 0, 9, 9, 9, M), -1);
    EXPECT_EQ(StdDevArray(H, 0, 0, 0, 9, 9, 9, M), -1);
    EXPECT_EQ(M, 0.0);
  }
  double M = 9;
  EXPECT_EQ(MeanArray(TDouble2DArray{{1, 2}, {3, 4}}, 0, 0, 2, 1, M), -2) << "Hi = extent";
  EXPECT_EQ(StdDevArray(TDouble4DArray{{{{1, 2}}}}, 0, 0, 0, 1, 0, 0, 0, 0, M), -2) << "reversed";
}

}  // namespace
}  // namespace orv
