// TIntMatrix statistics and searching: both storages against NumPy/SciPy,
// sparse against dense on the same cells, 32-bit wrap-around against NumPy's
// int32, and what a sparse matrix counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/raises.h"

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

TEST(IntMatrixStats, OrderStatisticsCountsAndMeansOfTheDenseStorageAgainstNumPy) {
  TBoth M(Cells);
  // numpy.percentile(block, [25, 50, 75], method='weibull').
  const struct {
    int32_t LC, LR, HC, HR;
    double Q1, Q2, Q3;
  } Quarts[] = {{0, 0, 0, 0, -3.25, 0, 9.75},
                {2, 2, 5, 4, -15.75, 0, 0},
                {3, 1, 3, 5, -29.5, -21, 24},
                {1, 1, 1, 2, 0, 11.5, 23}};
  for (const auto& R : Quarts) {
    double Q1, Q2, Q3;
    EXPECT_TRUE(M.D.Quartiles(R.LC, R.LR, R.HC, R.HR, Q1, Q2, Q3));
    EXPECT_EQ(Q1, R.Q1) << R.LC << "," << R.LR;
    EXPECT_EQ(Q2, R.Q2) << R.LC << "," << R.LR;
    EXPECT_EQ(Q3, R.Q3) << R.LC << "," << R.LR;
  }
  // np.sort(block)[min(round(n p / 100), n - 1)]: the nearest rank.
  const struct {
    double P;
    int32_t LC, LR, HC, HR;
    double Want;
  } Pcts[] = {{0, 0, 0, 0, 0, -47}, {10, 0, 0, 0, 0, -21}, {25, 0, 0, 0, 0, -1}, {62.5, 0, 0, 0, 0, 0},
              {90, 0, 0, 0, 0, 45}, {100, 0, 0, 0, 0, 48}, {30, 2, 2, 5, 4, 0}};
  for (const auto& R : Pcts) {
    EXPECT_EQ(M.D.Percentile(R.P, R.LC, R.LR, R.HC, R.HR), R.Want) << R.P;
    // A sample not below the cell count is the plain percentile.
    EXPECT_EQ(M.D.Percentile(R.P, R.LC, R.LR, R.HC, R.HR, 1000), R.Want) << R.P;
  }
  const double Drawn = M.D.Percentile(50, 1, 1, 2, 1, 1);  // a cell of the block: 23 or -1
  EXPECT_TRUE(Drawn == 23 || Drawn == -1) << Drawn;
  // np.count_nonzero((lo <= block) & (block <= hi)); bounds (col, col, row, row).
  EXPECT_EQ(M.D.CountValues(0, 0, 0, 0, -10, 10), 18);
  EXPECT_EQ(M.D.CountValues(0, 0, 0, 0, 0, 0), 13);
  EXPECT_EQ(M.D.CountValues(3, 6, 2, 5, 1, 50), 3);
  EXPECT_EQ(M.D.CountValues(0, 0, 0, 0, 10, -10), 0);
  // np.count_nonzero(a > t); the array [column - 1][row - 1].
  orv::TBool2DArray B;
  EXPECT_EQ(M.D.Dichotomize(0, B), 8);
  EXPECT_EQ(M.D.Dichotomize(-8, B), 24);
  ASSERT_EQ(B.size(), 6u);
  ASSERT_EQ(B[0].size(), 5u);
  EXPECT_TRUE(B[2][0] && !B[2][2]);  // 48 and -35

  // scipy.stats.gmean and hmean of all cells and of the block (2, 2)..(3, 3).
  TIntMatrix G(nullptr);
  G.SetName("Int1");
  orv::test::FillRows(G, {{3, 1, 4}, {1, 5, 9}, {2, 6, 5}});
  EXPECT_DOUBLE_EQ(G.GeometricMean(0, 0, 0, 0), 3.170820576428213);
  EXPECT_DOUBLE_EQ(G.HarmonicMean(0, 0, 0, 0), 2.3929098966026587);
  EXPECT_DOUBLE_EQ(G.GeometricMean(2, 2, 3, 3), 6.06154651402987);
  EXPECT_DOUBLE_EQ(G.HarmonicMean(2, 2, 3, 3), 5.9016393442622945);
  G.SetVal(3, 3, 0);
  EXPECT_EQ(G.GeometricMean(0, 0, 0, 0), 0.0);
  orv::test::ExpectRaises<orv::EORVMatrixError>(
      [&] { G.HarmonicMean(0, 0, 0, 0); }, "Component \"Int1\": negative or zero argument passed to HarmonicMean");
  G.SetVal(1, 2, -1);
  orv::test::ExpectRaises<orv::EORVMatrixError>(
      [&] { G.GeometricMean(0, 0, 0, 0); }, "Component \"Int1\": negative argument passed to GeometricMean");

  // Cells far apart: the interpolation takes their difference beyond 32
  // bits (numpy.percentile of the two as int64, method='weibull').
  TIntMatrix F(nullptr);
  orv::test::FillRows(F, {{INT32_MIN, INT32_MAX}});
  double Q1, Q2, Q3;
  F.Quartiles(0, 0, 0, 0, Q1, Q2, Q3);
  EXPECT_EQ(Q1, INT32_MIN);
  EXPECT_EQ(Q2, -0.5);
  EXPECT_EQ(Q3, INT32_MAX);
}

TEST(IntMatrixStats, SearchingMeasuresDistancesBeyond32Bits) {
  TBoth M(Cells);
  // (col, col, row, row, value) -> the first nearest cell column by column.
  const struct {
    int32_t LC, HC, LR, HR, Value, C, R;
  } Finds[] = {{0, 0, 0, 0, 40, 4, 3}, {0, 0, 0, 0, 46, 5, 1}, {6, 1, 5, 4, 46, 6, 4},
               {2, 2, 0, 0, -100, 2, 1}, {0, 0, 0, 0, INT32_MIN, 4, 4}};
  for (const auto& F : Finds) {
    int32_t C = -1, R = -1;
    M.D.Find(F.LC, F.HC, F.LR, F.HR, F.Value, C, R);
    EXPECT_EQ(C, F.C) << F.Value;
    EXPECT_EQ(R, F.R) << F.Value;
  }
  // |cell - Value| of -2147483648 and 2147483647 is 4294967295, not 1.
  TIntMatrix W(nullptr);
  orv::test::FillRows(W, {{INT32_MIN, 1}, {100, 2}});
  int32_t C, R;
  W.Find(1, 1, 0, 0, INT32_MAX, C, R);
  EXPECT_EQ(R, 2);
  // Column 1 ascending -2147483648, 2147483647: 0 lies nearer the top (by 1);
  // column 2 ascending 1, 2.
  orv::test::FillRows(W, {{INT32_MIN, 1}, {INT32_MAX, 2}});
  const struct {
    int32_t Col;
    bool Asc;
    int32_t Value, Want;
  } Sorted[] = {{1, true, 0, 2}, {1, true, -1, 1}, {1, true, INT32_MAX, 2}, {2, true, 2, 2},
                {2, true, -5, 1}, {0, true, 1, 0},  {3, true, 1, 0}};
  for (const auto& F : Sorted) EXPECT_EQ(W.FindInSortedColumn(F.Col, F.Asc, F.Value), F.Want) << F.Value;
  W.Resize(2, 0);
  EXPECT_EQ(W.FindInSortedColumn(1, true, 0), 0);
}

TEST(IntMatrixStats, ChecksumAndLineProfilesAgainstPythonAndNumPy) {
  TBoth M(Cells);
  // zlib.crc32 of byte k of every cell (struct.pack('<i')), cells column by
  // column, for k = 0..3.
  EXPECT_EQ(M.D.CRCofData(), "601F08EBEA1B89CEEA1B89CEEA1B89CE");
  TIntMatrix One(nullptr);
  EXPECT_EQ(One.CRCofData(), "D202EF8DD202EF8DD202EF8DD202EF8D");
  One.SetVal(1, 1, INT32_MIN);
  EXPECT_EQ(One.CRCofData(), "D202EF8DD202EF8DD202EF8D3FBA6CAD");

  // a.mean(axis=0), a.mean(axis=1), a.min(axis=1), a.max(axis=0), a.sum(axis=1).
  orv::TVector V(nullptr);
  M.D.MeanVec(orv::dimColumns, &V);
  EXPECT_EQ(orv::test::Values(V), (std::vector<double>{5.2, 1.6, -6.4, -2.8, 11.4, 7.2}));
  M.D.MeanVec(orv::dimRows, &V);
  const std::vector<double> RowMeans = {19.166666666666668, -0.3333333333333333, -0.16666666666666666, -0.5,
                                        -4.666666666666667};
  EXPECT_EQ(orv::test::Values(V), RowMeans);
  M.D.EdgeVector(orv::orRows, orv::eoMinimum, &V);
  EXPECT_EQ(orv::test::Values(V), (std::vector<double>{-1, -2, -35, -47, -24}));
  M.D.EdgeVector(orv::orColumns, orv::eoMaximum, &V);
  EXPECT_EQ(orv::test::Values(V), (std::vector<double>{23, 9, 48, 41, 45, 45}));
  M.D.EdgeVector(orv::orRows, orv::eoSum, &V);
  EXPECT_EQ(orv::test::Values(V), (std::vector<double>{115, -2, -1, -3, -28}));
  M.D.EdgeVector(orv::orRows, orv::eoMean, &V);
  EXPECT_EQ(orv::test::Values(V), RowMeans);
  M.D.EdgeVector(orv::orRows, orv::TEdgeOp(4), &V);  // no such operation: nothing
  M.D.EdgeVector(orv::orRows, orv::eoSum, nullptr);
  EXPECT_EQ(orv::test::Values(V), RowMeans);
}

TEST(IntMatrixStats, DenseOnlyRoutinesReadNothingOfASparseMatrix) {
  // A negative and a zero cell would raise in the means of a dense matrix.
  TIntMatrix S(nullptr, 1);
  S.SetVal(1, 1, -3);
  S.SetVal(2, 3, 0);
  S.SetVal(INT32_MAX, 2, 7);  // 2147483647 columns that no dense storage backs
  EXPECT_EQ(S.GeometricMean(0, 0, 0, 0), 0.0);
  EXPECT_EQ(S.HarmonicMean(0, 0, 0, 0), 0.0);
  double Q1 = 1, Q2 = 1, Q3 = 1;
  EXPECT_FALSE(S.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
  EXPECT_EQ(Q1 + Q2 + Q3, 0.0);
  EXPECT_EQ(S.Percentile(50, 0, 0, 0, 0), 0.0);
  EXPECT_EQ(S.Percentile(50, 0, 0, 0, 0, 10), 0.0);
  EXPECT_EQ(S.CountValues(0, 0, 0, 0, -10, 10), 0);
  int32_t C = -1, R = -1;
  S.Find(0, 0, 0, 0, -3, C, R);
  EXPECT_EQ(C + R, 0);
  EXPECT_EQ(S.FindInSortedColumn(1, true, -3), 0);
  EXPECT_EQ(S.CRCofData(), "");
  orv::TVector V(nullptr);
  V.SetVal(1, 4.0);
  S.MeanVec(orv::dimColumns, &V);
  S.EdgeVector(orv::orColumns, orv::eoSum, &V);
  EXPECT_EQ(orv::test::Values(V), std::vector<double>{4.0});
  orv::TBool2DArray B(2, orv::TBoolArray(2));
  EXPECT_EQ(S.Dichotomize(-5, B), 0);
  EXPECT_TRUE(B.empty());
}

}  // namespace
