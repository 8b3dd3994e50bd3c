// TDataTable cell statistics, standardization and covariance: which cells
// each routine selects, the values on Fisher's iris data against NumPy and
// SciPy, the defined values at the edges, and CalcCovar's progress.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/iris.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using namespace orv;
using orv::test::ExpectRaises;

void ExpectNear(double Got, double Want, const std::string& What) {
  EXPECT_NEAR(Got, Want, 1e-13 * std::max(1.0, std::fabs(Want))) << What;
}

// One column holding X (stInterval).
void LoadColumn(TDataTable& T, const std::vector<double>& X) {
  T.Resize(1, static_cast<int32_t>(X.size()));
  for (int32_t R = 1; R <= T.NrOfRows(); ++R) T.SetElem(1, R, X[detail::Ix1(R)]);
}

// Quartiles, percentiles 10, 33.3 and 90, mean, variance, geometric and
// harmonic mean, sum, sum of squares, minimum, maximum of columns C0..C1.
std::vector<double> Statistics(const TDataTable& T, int32_t C0, int32_t C1) {
  std::vector<double> S(14);
  int32_t N;
  T.QuartilesOfNumCells(C0, 0, C1, 0, S[0], S[1], S[2], N);
  S[3] = T.PercentileOfNumCells(10, C0, 0, C1, 0, N);
  S[4] = T.PercentileOfNumCells(33.3, C0, 0, C1, 0, N);
  S[5] = T.PercentileOfNumCells(90, C0, 0, C1, 0, N);
  T.MeanVarOfNumCells(C0, 0, C1, 0, S[6], S[7]);
  S[8] = T.GeometricMeanOfNumCells(C0, 0, C1, 0, N);
  S[9] = T.HarmonicMeanOfNumCells(C0, 0, C1, 0, N);
  S[10] = T.SumOfNumCells(C0, 0, C1, 0, N);
  S[11] = T.SumOfSquaredNumCells(C0, 0, C1, 0, N);
  EXPECT_EQ(T.MinMaxOfNumCells(C0, 0, C1, 0, S[12], S[13]), N);
  return S;
}

TEST(DataTableStats, IrisMeasurementsMatchNumPy) {
  TDataTable T(nullptr);
  orv::test::LoadIris(T);
  // Columns 1..4, then all four (the nominal species column takes no part):
  // numpy.percentile(x, [25, 50, 75], method='weibull'), numpy.percentile(x,
  // p, method='linear') for p = 10, 33.3, 90, x.mean(), x.var(ddof=1),
  // scipy.stats.gmean(x), scipy.stats.hmean(x), x.sum(), (x**2).sum(),
  // x.min(), x.max(); NumPy 1.24, SciPy 1.10, on iris.csv.
  const std::vector<double> Want[5] = {
      {5.1, 5.8, 6.4, 4.8, 5.4, 6.9, 5.843333333333334, 0.6856935123042507, 5.785720390427726, 5.728905057850834,
       876.5, 5223.85, 4.3, 7.9},
      {2.8, 3.0, 3.3249999999999997, 2.5, 2.9, 3.6099999999999994, 3.0573333333333337, 0.189979418344519,
       3.02659784973356, 2.995815074916938, 458.6, 1430.4, 2.0, 4.4},
      {1.5750000000000002, 4.35, 5.1, 1.4, 2.578699999999997, 5.8, 3.7580000000000005, 3.116277852348993,
       3.238266844512273, 2.6941655339916752, 563.7, 2582.71, 1.0, 6.9},
      {0.3, 1.3, 1.8, 0.2, 0.8467999999999989, 2.2, 1.1993333333333336, 0.5810062639821029, 0.8417075469176013,
       0.49467077749202265, 179.90000000000003, 302.33, 0.1, 2.5},
      {1.7, 3.2, 5.1, 1.1, 2.3, 6.2, 3.4644999999999997, 3.902560684474124, 2.628430534604464, 1.378800956701882,
       2078.7, 9539.29, 0.1, 7.9}};
  for (int32_t C = 1; C <= 5; ++C) {
    const std::vector<double> Got = C < 5 ? Statistics(T, C, C) : Statistics(T, 0, 0);
    for (std::size_t K = 0; K < Got.size(); ++K)
      ExpectNear(Got[K], Want[C - 1][K], "column " + std::to_string(C) + " statistic " + std::to_string(K));
  }
  EXPECT_EQ(T.CountNumCells(0, 0, 0, 0), 600);
}

TEST(DataTableStats, SmallSamplesGiveTheDefinedValues) {
  // values, mean, variance (1.0 below three values), quartiles, percentile
  // 50, 150 and -3: the documented examples and the type 6 / 7 closed forms
  const struct { std::vector<double> X; double Mean, Var, Q1, Q2, Q3, P50, P150, PMinus; } Rows[] = {
      {{1, 3}, 2, 1.0, 1, 2, 3, 2, 3, 1},
      {{1, 3, 5}, 3, 4.0, 1, 3, 5, 3, 5, 1},
      {{1, 2}, 1.5, 1.0, 1, 1.5, 2, 1.5, 2, 1},
      {{1, 2, 3}, 2, 1.0, 1, 2, 3, 2, 3, 1},
      {{1, 2, 3, 4, 5, 6, 7}, 4, 14.0 / 3, 2, 4, 6, 4, 7, 1},
      {{4, 1, 3, 2}, 2.5, 5.0 / 3, 1.25, 2.5, 3.75, 2.5, 4, 1},
      {{7}, 7, 1.0, 7, 7, 7, 7, 7, 7},
      // offset 1e9: the one-pass sums on the values less the first keep
      // every digit (unshifted they gave 0 or noise)
      {{1e9 + 1, 1e9 + 2, 1e9 + 3}, 1e9 + 2, 1.0, 1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 2, 1e9 + 3, 1e9 + 1},
      {{1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4}, 1e9 + 2.5, 5.0 / 3, 1e9 + 1.25, 1e9 + 2.5, 1e9 + 3.75, 1e9 + 2.5,
       1e9 + 4, 1e9 + 1}};
  TDataTable T(nullptr);
  for (const auto& R : Rows) {
    LoadColumn(T, R.X);
    const std::string Case = "values from " + std::to_string(R.X[0]) + ", n = " + std::to_string(R.X.size());
    double Mean, Var, Q1, Q2, Q3;
    int32_t N = 0;
    EXPECT_EQ(T.MeanVarOfNumCells(0, 0, 0, 0, Mean, Var), int32_t(R.X.size())) << Case;
    EXPECT_EQ(Mean, R.Mean) << Case;
    EXPECT_DOUBLE_EQ(Var, R.Var) << Case;
    T.QuartilesOfNumCells(0, 0, 0, 0, Q1, Q2, Q3, N);
    EXPECT_EQ(std::vector<double>({Q1, Q2, Q3}), std::vector<double>({R.Q1, R.Q2, R.Q3})) << Case;
    EXPECT_EQ(T.PercentileOfNumCells(50, 0, 0, 0, 0, N), R.P50) << Case;
    EXPECT_EQ(T.PercentileOfNumCells(150, 0, 0, 0, 0, N), R.P150) << Case;
    EXPECT_EQ(T.PercentileOfNumCells(-3, 0, 0, 0, 0, N), R.PMinus) << Case;
  }
  // NaN sorts last as in the vectors' order statistics: of 3, NaN, 1, 2
  // the quartiles of 1, 2, 3, NaN at positions 1.25, 2.5, 3.75.
  LoadColumn(T, {3, std::nan(""), 1, 2});
  double Q1, Q2, Q3;
  int32_t N;
  T.QuartilesOfNumCells(0, 0, 0, 0, Q1, Q2, Q3, N);
  EXPECT_EQ(Q1, 1.25);
  EXPECT_EQ(Q2, 2.5);
  EXPECT_TRUE(std::isnan(Q3));
}

TEST(DataTableStats, RoutinesSelectTheirCells) {
  // Column 1 interval, 2 ordinal, 3 ratio.
  TDataTable T(nullptr);
  test::FillRows(*T.NumericData, {{1, 2.5, 10}, {2, 3.5, 20}, {3, 1.5, 30}, {4, 9, 40}});
  T.Resize(3, 4);
  T.SetMScaleType(2, stOrdinal);
  T.SetMScaleType(3, stRatio);
  T.SetCellState(1, 2, 0x40);  // marked
  T.SetCellState(1, 3, 0x42);  // marked but empty: no number
  T.SetCellState(2, 1, 0x40);  // marked, ordinal column
  T.SetCellState(3, 4, 0x01);  // no number
  T.SetCellState(3, 1, 0x80);
  int32_t N = -1;
  double Lo, Hi;
  // routine, what it gives (value, or minimum and maximum), its count
  const struct {
    const char* Name;
    std::function<std::vector<double>()> Call;
    std::vector<double> Want;
    int32_t N;
  } Rows[] = {
      {"Sum", [&] { return std::vector{T.SumOfNumCells(0, 0, 0, 0, N)}; }, {1 + 2 + 4 + 10 + 20 + 30}, 6},
      {"Sum clamped", [&] { return std::vector{T.SumOfNumCells(9, 1, -4, 3, N)}; }, {1 + 2 + 10 + 20 + 30}, 5},
      {"Sum marked", [&] { return std::vector{T.SumOfMarkedCells(0, 0, 0, 0, 0x40, N)}; }, {2}, 1},
      {"Squares marked", [&] { return std::vector{T.SumOfSquaredMarkedCells(0, 0, 0, 0, 0xC0, N)}; }, {4 + 100}, 2},
      {"No-number bits", [&] { return std::vector{T.SumOfMarkedCells(0, 0, 0, 0, 0x03, N)}; }, {0}, 0},
      // the ordinal column: nothing for the NumCells routines, rounded
      // values for MinMaxOfValidCells, stored ones for MinMaxOfMarkedCells
      {"Count ordinal", [&] { return std::vector{double(N = T.CountNumCells(2, 0, 2, 0))}; }, {0}, 0},
      {"MinMax ordinal", [&] { N = T.MinMaxOfNumCells(2, 0, 2, 0, Lo, Hi); return std::vector{Lo, Hi}; },
       {uc_MaxReal, -uc_MaxReal}, 0},
      {"Valid ordinal", [&] { N = T.MinMaxOfValidCells(2, 0, 2, 0, Lo, Hi); return std::vector{Lo, Hi}; }, {2, 9}, 4},
      {"Valid", [&] { N = T.MinMaxOfValidCells(0, 0, 0, 0, Lo, Hi); return std::vector{Lo, Hi}; }, {1, 30}, 10},
      {"Marked", [&] { N = T.MinMaxOfMarkedCells(0, 0, 0, 0, 0x40, Lo, Hi); return std::vector{Lo, Hi}; },
       {2, 2.5}, 2}};
  for (const auto& R : Rows) {
    EXPECT_EQ(R.Call(), R.Want) << R.Name;
    EXPECT_EQ(N, R.N) << R.Name;
  }
  // CopyCellsToVector: every column; 255 all numeric cells, 0 none.
  TVector V(nullptr);
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 0x40, &V), 2);
  EXPECT_EQ(test::Values(V), std::vector<double>({2, 2.5}));
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 255, &V), 10);
  EXPECT_EQ(V.GetVal(10), 30.0);
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 0, &V), 0);
  EXPECT_EQ(V.NrOfElem(), 1);
  EXPECT_EQ(T.CopyCellsToVector(0, 0, 0, 0, 255, nullptr), 0);
  // With a handler the vector is sized to the area (4) first.
  test::TChangeCounter Changes;
  Changes.Attach(V);
  T.CopyCellsToVector(1, 0, 1, 0, 255, &V);
  EXPECT_EQ(Changes.Count, 1 + 3 + 1);
}

TEST(DataTableStats, GeometricAndHarmonicMeansOfEdgeCases) {
  // values, geometric mean, its NumData, harmonic mean of the positive ones
  TDataTable T(nullptr);
  int32_t N = -1;
  LoadColumn(T, {2, 0, 8});
  EXPECT_EQ(T.GeometricMeanOfNumCells(0, 0, 0, 0, N), 0.0);
  EXPECT_EQ(N, 2);
  LoadColumn(T, {2, 8});
  EXPECT_DOUBLE_EQ(T.GeometricMeanOfNumCells(0, 0, 0, 0, N), 4.0);
  EXPECT_DOUBLE_EQ(T.HarmonicMeanOfNumCells(0, 0, 0, 0, N), 3.2);  // 2 / (1/2 + 1/8)
  // No usable cell: 0.0 with NumData 0, no division by zero.
  T.SetIsEmpty(1, 1, true);
  T.SetIsEmpty(1, 2, true);
  EXPECT_EQ(T.GeometricMeanOfNumCells(0, 0, 0, 0, N), 0.0);
  EXPECT_EQ(N, 0);
  EXPECT_EQ(T.HarmonicMeanOfNumCells(0, 0, 0, 0, N), 0.0);
  EXPECT_EQ(N, 0);
  T.SetName("Tab");
  T.SetAllCellStates(0);
  LoadColumn(T, {3, 0, -1});
  ExpectRaises<EORVMatrixError>([&] { T.GeometricMeanOfNumCells(0, 0, 0, 0, N); },
                                "Component \"Tab\": negative argument passed to GeometricMean");
  ExpectRaises<EORVMatrixError>([&] { T.HarmonicMeanOfNumCells(1, 1, 1, 2, N); },
                                "Component \"Tab\": negative or zero argument passed to HarmonicMean");
}

TEST(DataTableStats, StandardizingAndCentringRewriteNumericCells) {
  TDataTable T(nullptr);
  TVector Means(nullptr), Sds(nullptr);
  Means.Resize(3);
  Sds.Resize(3);
  // Column 1: 1, 3 and an empty cell; column 2 constant; column 3 nominal.
  test::FillRows(*T.NumericData, {{1, 5, 2}, {3, 5, 4}, {7, 5, 6}});
  T.Resize(3, 3);
  T.SetIsEmpty(1, 3, true);
  T.SetMScaleType(3, stNominal);
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  T.StandardizeNumCellColumns(&Means, &Sds);
  EXPECT_EQ(test::AllRows(*T.NumericData), (std::vector<std::vector<double>>{{-1, 5, 2}, {1, 5, 4}, {7, 5, 6}}));
  EXPECT_EQ(test::Values(Means), std::vector<double>({2, 5, 0}));  // the nominal column is skipped
  EXPECT_EQ(test::Values(Sds), std::vector<double>({1, 0, 0}));  // n <= 2: variance 1.0; constant: 0
  EXPECT_EQ(Changes, 2 + 1);  // per cell written, then once more
  // Rows refuse a categorical column before anything changes.
  const std::string Before = test::TableText(T);
  Changes = 0;
  ExpectRaises<EORVDataTableError>([&] { T.StandardizeNumCellRows(&Means, &Sds); },
                                   "Component \"\": standardization of rows is not possible with nominal or "
                                   "ordinal variables");
  ExpectRaises<EORVDataTableError>([&] { T.MeanCenterNumCellRows(&Means); },
                                   "Component \"\": mean centering of rows is not possible with nominal or "
                                   "ordinal variables");
  EXPECT_EQ(test::TableText(T), Before);
  EXPECT_EQ(Changes, 0);
  // A row's mean comes from its interval and ratio cells; every numeric
  // cell of the row is rewritten, an stUnknown column's too.
  T.SetMScaleType(3, stUnknown);
  T.MeanCenterNumCellRows(&Means);
  EXPECT_EQ(test::AllRows(*T.NumericData), (std::vector<std::vector<double>>{{-3, 3, 0}, {-2, 2, 1}, {7, 0, 1}}));
  EXPECT_EQ(Changes, 1);
  T.MeanCenterNumCellColumns(nullptr);
  EXPECT_EQ(test::AllRows(*T.NumericData),
            (std::vector<std::vector<double>>{{-0.5, 3 - 5.0 / 3, 0}, {0.5, 2 - 5.0 / 3, 1}, {7, -5.0 / 3, 1}}));
  T.StandardizeNumCellRows(&Means, nullptr);  // rows of two interval cells: variance 1.0 by definition
  EXPECT_DOUBLE_EQ(Means.GetVal(1), (-0.5 + (3 - 5.0 / 3)) / 2);
  EXPECT_DOUBLE_EQ(T.NumericData->GetVal(1, 1), -0.5 - Means.GetVal(1));
}

TEST(DataTableCovar, IrisMatricesMatchNumPy) {
  TDataTable T(nullptr);
  orv::test::LoadIris(T);
  // numpy: X.T @ X / 149, numpy.cov(X.T), numpy.corrcoef(X.T), its square,
  // ((X[:, a] - X[:, b])**2).sum() / 149; upper triangles, row by row.
  const std::vector<double> Want[5] = {
      {35.059395973154345, 17.94248322147651, 23.380939597315443, 7.5714093959731565, 9.599999999999993,
       11.23691275167785, 3.5697315436241617, 17.33362416107383, 5.832953020134228, 2.0290604026845642},
      {0.6856935123042505, -0.0424340044742729, 1.2743154362416103, 0.5162706935123044, 0.1899794183445188,
       -0.32965637583892626, -0.12163937360178978, 3.116277852348994, 1.2956093959731536, 0.5810062639821029},
      {1, -0.11756978413300205, 0.8717537758865829, 0.817941126271576, 1, -0.42844010433054003,
       -0.36612593253643955, 1, 0.9628654314027957, 1},
      {},
      {0, 8.774429530201344, 5.631140939597314, 21.945637583892616, 0, 4.459798657718121, 4.489597315436241, 0,
       7.696778523489932, 0}};
  TMatrix Covar(nullptr);
  Covar.Resize(4, 4);
  for (int32_t Mode = 0; Mode <= 5; ++Mode) {
    test::TPassCounter Passes;
    ASSERT_TRUE(T.CalcCovar(&Covar, 1, 4, 1, 150, Mode));
    EXPECT_EQ(Passes.Passes(), Mode > 0 ? 8 : 4) << "mode " << Mode;
    std::size_t K = 0;
    for (int32_t I = 1; I <= 4; ++I)
      for (int32_t J = I; J <= 4; ++J, ++K) {
        const double Got = Covar.GetVal(I, J);
        EXPECT_EQ(Got, Covar.GetVal(J, I));
        const double Corr = Want[2][K];
        const double W = Mode == 3 ? Corr * Corr : Mode == 5 ? 0.0 : Want[Mode][K];
        EXPECT_NEAR(Got, W, 1e-13 * std::max(1.0, std::fabs(W))) << "mode " << Mode << " (" << I << ", " << J << ")";
      }
  }
  EXPECT_EQ(Covar.GetVal(1, 1), 0.0);
  // Two equal columns correlate 1.0 everywhere; a too small matrix refuses.
  T.CopyFrom(&T, 1, 1, 1, 150, 2, 1);
  ASSERT_TRUE(T.CalcCovar(&Covar, 1, 2, 1, 150, 2));
  EXPECT_EQ(test::AllRows(Covar)[0], std::vector<double>({1, 1, 0, 0}));
  Covar.Fill(7.0);
  EXPECT_FALSE(T.CalcCovar(&Covar, 1, 5, 1, 150, 1));
  EXPECT_FALSE(T.CalcCovar(nullptr, 1, 2, 0, 0, 1));
  EXPECT_EQ(Covar.GetVal(1, 1), 7.0);
}

TEST(DataTableCovar, PairsTakeTheRowsWhereBothCellsAreNumeric) {
  // x = 1e9 + (1, 2, 3, 4, 5), y = (2, 1, 9, 4, 3) with y's third cell empty:
  // the pair takes rows 1, 2, 4, 5, bit for bit as the table without row 3.
  TDataTable T(nullptr), Cut(nullptr);
  test::FillRows(*T.NumericData, {{1e9 + 1, 2}, {1e9 + 2, 1}, {1e9 + 3, 9}, {1e9 + 4, 4}, {1e9 + 5, 3}});
  T.Resize(2, 5);
  T.SetIsEmpty(2, 3, true);
  Cut.CopyContentsFrom(&T);
  Cut.RemoveRow(3);
  TMatrix A(nullptr), B(nullptr);
  A.Resize(2, 2);
  B.Resize(2, 2);
  for (int32_t Mode : {0, 2, 3, 4}) {
    T.CalcCovar(&A, 1, 2, 1, 5, Mode);
    Cut.CalcCovar(&B, 1, 2, 1, 4, Mode);
    EXPECT_EQ(A.GetVal(1, 2), B.GetVal(1, 2)) << "mode " << Mode;
  }
  // numpy.corrcoef([1, 2, 4, 5], [2, 1, 4, 3])[0, 1]: the offset of 1e9
  // cancels nothing once the sums run over the values less the first pair.
  T.CalcCovar(&A, 1, 2, 1, 5, 2);
  EXPECT_NEAR(A.GetVal(1, 2), 0.7071067811865475, 1e-15);
  // A NaN among a pair's values: its sum of squares is no number above 0,
  // so the correlation is 0.0 (the diagonal stays 1.0), over columns numeric
  // throughout and not; (1, 3) over rows 1..3 is -1 (1, 2, 3 against 4, 3, 2).
  TDataTable U(nullptr);
  test::FillRows(*U.NumericData, {{1, 2, 4}, {2, std::nan(""), 3}, {3, 1, 2}, {4, 5, 1}});
  U.Resize(3, 4);
  U.SetIsEmpty(3, 4, true);
  TMatrix C(nullptr);
  C.Resize(3, 3);
  U.CalcCovar(&C, 1, 3, 1, 4, 2);
  EXPECT_EQ(test::AllRows(C), (std::vector<std::vector<double>>{{1, 0, -1}, {0, 1, 0}, {-1, 0, 1}}));
  U.CalcCovar(&C, 1, 3, 1, 4, 0);
  EXPECT_TRUE(std::isnan(C.GetVal(1, 2)));
  // A sum of squares that overflows (4.5e308) gives NaN, not the 0 that its
  // infinity made of the correlation (-0.316 for the data over 1e154).
  test::FillRows(*U.NumericData, {{0, 1}, {1.5e154, 2}, {-1.5e154, 3}, {0, 4}});
  U.Resize(2, 4);
  for (int32_t Mode : {2, 3}) {
    U.CalcCovar(&C, 1, 2, 1, 4, Mode);
    EXPECT_TRUE(std::isnan(C.GetVal(1, 2))) << "mode " << Mode << ": " << C.GetVal(1, 2);
  }
  // Fewer than two usable rows: 0.0, not a division by zero.
  T.SetIsEmpty(2, 1, true);
  T.SetIsEmpty(2, 2, true);
  T.SetIsEmpty(2, 4, true);
  for (int32_t Mode : {0, 1, 4}) {
    T.CalcCovar(&A, 1, 2, 1, 5, Mode);
    EXPECT_EQ(A.GetVal(1, 2), 0.0) << "mode " << Mode;
    EXPECT_EQ(A.GetVal(2, 2), 0.0) << "mode " << Mode;
  }
}

TEST(DataTableCovar, CellsOutsideTheTableReadAsNumericZeros) {
  // x = (1, 2, 3), y = (2, 1, 4) over rows -1..5: two zero rows before and
  // two after. Mode 0: sum x y / 6; Mode 1 centres on the means of the
  // rows inside (2 and 7/3); Mode 2 is numpy.corrcoef of the padded columns.
  TDataTable T(nullptr);
  test::FillRows(*T.NumericData, {{1, 2}, {2, 1}, {3, 4}});
  T.Resize(2, 3);
  TMatrix A(nullptr);
  A.Resize(3, 3);
  T.CalcCovar(&A, 1, 2, -1, 5, 0);
  EXPECT_DOUBLE_EQ(A.GetVal(1, 2), 16.0 / 6);
  T.CalcCovar(&A, 1, 2, -1, 5, 1);
  EXPECT_DOUBLE_EQ(A.GetVal(1, 2), (-1.0 * (2 - 7.0 / 3) + 1 * (4 - 7.0 / 3) + 4 * 2 * 7.0 / 3) / 6);
  T.CalcCovar(&A, 1, 2, -1, 5, 2);
  EXPECT_NEAR(A.GetVal(1, 2), 0.8980265101338747, 1e-15);
  // Into the table's own matrix: every entry from the cells as they were
  // (sum x x / 2, sum x y / 2, sum y y / 2).
  T.CalcCovar(T.NumericData, 1, 2, 1, 3, 0);
  EXPECT_EQ(test::AllRows(*T.NumericData), (std::vector<std::vector<double>>{{7, 8}, {8, 10.5}, {3, 4}}));
  test::FillRows(*T.NumericData, {{1, 2}, {2, 1}, {3, 4}});
  // A column outside reads 0.0 with mean 0.0 (not another column's mean).
  T.CalcCovar(&A, 0, 2, 1, 3, 1);
  EXPECT_EQ(test::Row(A, 1), std::vector<double>({0, 0, 0}));
  // Rows far outside are counted, not visited: this returns at once.
  EXPECT_TRUE(T.CalcCovar(&A, 1, 2, INT32_MIN + 1, INT32_MAX, 0));
  EXPECT_DOUBLE_EQ(A.GetVal(1, 1), 14.0 / (4294967295.0 - 1));
}

TEST(DataTableCovar, AbortStopsBeforeTheNextRowOfEntries) {
  TDataTable T(nullptr);
  orv::test::LoadIris(T);
  TMatrix Covar(nullptr);
  Covar.Resize(4, 4);
  Covar.Fill(-1.0);
  test::TPassCounter Passes;
  AbortMathProc = true;  // cleared by the call
  MathFeedBackProc = [&](double) {
    if (Passes.Passes() == 4 + 2) AbortMathProc = true;  // means, then rows 1 and 2
  };
  EXPECT_FALSE(T.CalcCovar(&Covar, 1, 4, 1, 150, 1));
  EXPECT_EQ(Passes.Passes(), 6);
  EXPECT_NE(Covar.GetVal(2, 2), -1.0);
  EXPECT_EQ(Covar.GetVal(3, 3), -1.0);
  EXPECT_EQ(Covar.GetVal(1, 3), -1.0);
}

}  // namespace
