// TIntMatrix statistics and searching: both storages against NumPy/SciPy,
// sparse against dense on the same cells, 32-bit wrap-around against NumPy's
// int32, and what a sparse matrix counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"

namespace {

using orv::TIntMatrix;

// 6 columns x 5 rows, as rows: NumPy default_rng(151).integers(-50, 51),
// 40 % of the cells set to 0.
const std::vector<std::vector<double>> Cells = {{23, -1, 48, 0, 45, 0},
                                                {0, 0, 0, 0, 0, -2},
                                                {0, 0, -35, 41, 0, -7},
                                                {20, 0, -21, -47, 0, 45},
                                                {-17, 9, -24, -8, 12, 0}};

// The dense matrix of Cells and a sparse one with the same cells.
struct TBoth {
  TIntMatrix D{nullptr}, S{nullptr, 1};
  explicit TBoth(const std::vector<std::vector<double>>& Rows) {
    orv::test::FillRows(D, Rows);
    TIntMatrix Copy(nullptr);
    Copy.Clone(&D);
    Copy.ArrayToSparse(1);
    S.Clone(&Copy);
  }
};

TEST(IntMatrixStats, MomentsOfBothStoragesAgainstNumPy) {
  // Block (col, row, col, row); n; mean, var(ddof=1) (1.0 below 3 cells);
  // sum d^3 / n / s^3 and sum d^4 / n / s^4 - 3 with s = std(ddof=1);
  // scipy.stats.skew and kurtosis(bias=False) (0 below 4 cells); min, max;
  // the sum as np.sum(dtype=np.int32). Blocks in the order F of NumPy.
  const struct {
    int32_t LC, LR, HC, HR;
    double Mean, Var, Skew, Kurt, G1, G2;
    int32_t Min, Max, Sum;
  } Rows[] = {
      {0, 0, 0, 0, 2.7000000000000002, 476.83793103448272, 0.30804968064476823, 0.24772167193712891,
       0.3414343750988813, 0.79567755186306721, -47, 48, 81},
      {2, 2, 5, 4, -5.166666666666667, 475.96969696969694, -0.033947013506480238, 0.11414026271471034,
       -0.044439726772119589, 1.8552227997999404, -47, 41, -62},
      {5, 4, 2, 2, -5.166666666666667, 475.96969696969694, -0.033947013506480238, 0.11414026271471034,
       -0.044439726772119589, 1.8552227997999404, -47, 41, -62},  // reversed bounds
      {3, 1, 3, 5, -6.4000000000000004, 1085.3, 0.72324069779801536, -1.375052109937982, 1.5067514537458655,
       2.1559243128876098, -35, 48, -32},
      {1, 1, 2, 1, 11, 1, 0, -2.75, 0, 0, -1, 23, 22},
      {6, 5, 6, 5, 0, 1, 0, 0, 0, 0, 0, 0, 0},
  };
  TBoth M(Cells);
  for (const auto& R : Rows)
    for (const TIntMatrix* A : {&M.D, &M.S}) {
      const std::string Name = std::string(A->IsSparse() ? "sparse " : "dense ") + std::to_string(R.LC) + "," +
                               std::to_string(R.LR) + "," + std::to_string(R.HC) + "," + std::to_string(R.HR);
      double Mean, Var, Skew, Kurt, G1, G2;
      A->MeanVar(R.LC, R.LR, R.HC, R.HR, Mean, Var);
      A->SkewKurt(R.LC, R.LR, R.HC, R.HR, Skew, Kurt);
      A->SkewKurtSample(R.LC, R.LR, R.HC, R.HR, G1, G2);
      EXPECT_DOUBLE_EQ(Mean, R.Mean) << Name;
      EXPECT_NEAR(Var, R.Var, 1e-13 * R.Var) << Name;
      EXPECT_NEAR(Skew, R.Skew, 1e-13) << Name;
      EXPECT_NEAR(Kurt, R.Kurt, 1e-13) << Name;
      EXPECT_NEAR(G1, R.G1, 1e-13) << Name;
      EXPECT_NEAR(G2, R.G2, 1e-13) << Name;
      int32_t Min, Max;
      A->MinMax(R.LC, R.LR, R.HC, R.HR, Min, Max);
      // A sparse block whose only cell is a 0 not stored has no cell to take.
      const bool NoneStored = A->IsSparse() && R.Min == 0 && R.Max == 0;
      EXPECT_EQ(Min, NoneStored ? INT32_MAX : R.Min) << Name;
      EXPECT_EQ(Max, NoneStored ? -INT32_MAX : R.Max) << Name;
      EXPECT_EQ(A->Sum(R.LC, R.LR, R.HC, R.HR), R.Sum) << Name;
    }
}

TEST(IntMatrixStats, SparseCountsEveryPositionForMomentsAndStoredCellsForSumsAndExtremes) {
  // The cell (2, 2) = 6 in a 3 x 3 sparse matrix: mean 6 / 9, variance
  // (36 - 36 / 9) / 8 = 4 (closed forms).
  TIntMatrix S(nullptr, 1);
  S.SetVal(2, 2, 6);
  S.Resize(3, 3);
  double Mean, Var;
  S.MeanVar(0, 0, 0, 0, Mean, Var);
  EXPECT_DOUBLE_EQ(Mean, 6.0 / 9.0);
  EXPECT_DOUBLE_EQ(Var, 4.0);
  int32_t Min, Max;
  S.MinMax(0, 0, 0, 0, Min, Max);  // the positions not stored do not count
  EXPECT_EQ(Min, 6);
  EXPECT_EQ(Max, 6);
  EXPECT_EQ(S.Sum(0, 0, 0, 0), 6);
  EXPECT_EQ(S.Trace(), 6);
  S.MinMax(1, 1, 3, 1, Min, Max);  // no stored cell in the block: the start values
  EXPECT_EQ(Min, INT32_MAX);
  EXPECT_EQ(Max, -INT32_MAX);
  // An empty axis: start values everywhere.
  S.Resize(3, 0);
  S.MeanVar(0, 0, 0, 0, Mean, Var);
  EXPECT_EQ(Mean, 0.0);
  EXPECT_EQ(Var, 0.0);
  double Skew = 1, Kurt = 1;
  S.SkewKurtSample(0, 0, 0, 0, Skew, Kurt);
  EXPECT_EQ(Skew, 0.0);
  EXPECT_EQ(Kurt, 0.0);
  S.MinMax(0, 0, 0, 0, Min, Max);
  EXPECT_EQ(Min, INT32_MAX);
  EXPECT_EQ(Max, -INT32_MAX);

  // Two cells in 4.6e18 positions: no walk over every position. Mean
  // 8 / n, variance (34 - 64 / n) / (n - 1), skewness and kurtosis from the
  // deviations, n = (2^31 - 1)^2, in Python fractions.
  TIntMatrix H(nullptr, 1);
  H.SetVal(1, 1, 3);
  H.SetVal(INT32_MAX, INT32_MAX, 5);
  H.MeanVar(0, 0, 0, 0, Mean, Var);
  EXPECT_NEAR(Mean, 1.7347234775923942e-18, 1e-30);
  EXPECT_NEAR(Var, 7.3725747797676755e-18, 1e-29);
  H.SkewKurt(0, 0, 0, 0, Skew, Kurt);
  EXPECT_NEAR(Skew, 1646474761.0508993, 1e-5);
  EXPECT_NEAR(Kurt, 2.8164795207417718e+18, 1e6);
}

TEST(IntMatrixStats, IntegerSumsWrapAndExtremesAreCells) {
  // 5 columns x 2 rows; sums as np.sum(dtype=np.int32) of the block.
  const std::vector<std::vector<double>> W = {{2147483647, 1, -2147483648.0, -1, 7},
                                              {2147483647, 2147483647, 5, 0, -3}};
  TBoth M(W);
  for (const TIntMatrix* A : {&M.D, &M.S}) {
    EXPECT_EQ(A->Sum(0, 0, 0, 0), 6);
    EXPECT_EQ(A->Sum(2, 1, 4, 2), 4);
    EXPECT_EQ(A->Sum(1, 2, 5, 2), 0);
    int32_t Min, Max;
    A->MinMax(3, 1, 3, 1, Min, Max);  // one cell of -2147483648
    EXPECT_EQ(Min, INT32_MIN);
    EXPECT_EQ(Max, INT32_MIN);
  }
  // Trace: cells (i, i) of a square matrix only; the sparse form asks the
  // counts, not the bounds of the stored cells.
  TIntMatrix S(nullptr, 1), D(nullptr);
  S.SetVal(1, 1, 5);
  S.SetVal(2, 2, 7);
  EXPECT_EQ(S.Trace(), 12);
  S.Resize(2, 3);
  EXPECT_EQ(S.Trace(), 0);
  orv::test::FillRows(D, {{5, 0}, {0, 7}, {0, 0}});
  EXPECT_EQ(D.Trace(), 0);
  D.Resize(2, 2);
  D.SetVal(1, 1, INT32_MAX);
  EXPECT_EQ(D.Trace(), INT32_MIN + 6);  // wraps
  TIntMatrix One(nullptr, 1);
  One.SetVal(1, 2, 4);  // 1 x 2: not square
  EXPECT_EQ(One.Trace(), 0);
}

TEST(IntMatrixStats, CountMaskedZerosAgainstNumPy) {
  // np.count_nonzero((a.view(np.uint32) & mask) == 0) over all 30 cells.
  const struct {
    uint32_t Mask;
    int32_t Want;
  } Rows[] = {{1, 19}, {0, 30}, {0xFFFFFFFF, 13}, {0x80000000, 21}, {6, 20}};
  TBoth M(Cells);
  for (const auto& R : Rows) {
    EXPECT_EQ(M.D.CountMaskedZeros(0, 0, 0, 0, R.Mask), R.Want) << R.Mask;
    EXPECT_EQ(M.S.CountMaskedZeros(0, 0, 0, 0, R.Mask), 0) << R.Mask;  // dense only
  }
  EXPECT_EQ(M.D.CountMaskedZeros(2, 2, 1, 5, 1), 3);  // column 2: -1, 0, 0, 0, 9
}

}  // namespace
