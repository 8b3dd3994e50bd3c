// TMatrix block statistics, searching, correlation and checksum.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::AllRows;
using test::FillRows;
using test::Values;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Five objects of four variables, as written (row by row).
const std::vector<std::vector<double>> Data = {{2.5, 3.1, 4.7, 1.2},
                                               {9.8, 5.5, 6.1, 0.3},
                                               {7.7, 2.2, 8.4, 3.3},
                                               {1.1, 6.6, 2.9, 5.2},
                                               {4.4, 0.9, 7.3, 6.8}};

// A matrix whose handler fails the test: the statistics must not fire.
struct TQuietMatrix : TMatrix {
  explicit TQuietMatrix(const std::vector<std::vector<double>>& Rows) : TMatrix(nullptr) {
    FillRows(*this, Rows);
    OnChange = [](TObject*) { ADD_FAILURE() << "OnChange fired"; };
  }
};

TEST(MatrixMoments, AgainstNumPyAndSciPy) {
  // The block's cells raveled column by column into x; NumPy 1.24 / SciPy 1.10:
  // mean, var(ddof=1); skewness and kurtosis as sum(d^3) / n / s^3 and
  // sum(d^4) / n / s^4 - 3 with s = std(ddof=1); scipy.stats skew and
  // kurtosis with bias=False; gmean, hmean; sum, min, max.
  const struct {
    int32_t LoC, LoR, HiC, HiR;
    double Mean, Var, Skew, Kurt, SSkew, SKurt, GMean, HMean, Sum, Min, Max;
  } Rows[] = {
      {0, 0, 0, 0, 4.5, 7.551578947368422, 0.15678126364060443, -1.2203376226405038, 0.18336989899485903,
       -0.9679800533505727, 3.403765332922779, 2.0457280564382674, 90.0, 0.3, 9.8},
      {2, 2, 3, 4, 5.283333333333332, 5.469666666666667, -0.12689561017515105, -1.7718669001085756,
       -0.22841209831527184, -1.0918409804560167, 4.775909303916096, 4.238220725645651, 31.699999999999996, 2.2,
       8.4},
      // reversed, and clamped: the same block
      {3, 4, 2, 2, 5.283333333333332, 5.469666666666667, -0.12689561017515105, -1.7718669001085756,
       -0.22841209831527184, -1.0918409804560167, 4.775909303916096, 4.238220725645651, 31.699999999999996, 2.2,
       8.4},
      {-1, 2, 9, 99, 4.90625, 8.263291666666667, -0.10628135718805999, -1.3214996571191509, -0.12956203542925418,
       -1.0330280248287702, 3.651011601654455, 1.998054253157591, 78.5, 0.3, 9.8},
  };
  const TQuietMatrix M(Data);
  for (const auto& R : Rows) {
    double Mean, Var, S, K, SS, SK, Min, Max;
    M.MeanVar(R.LoC, R.LoR, R.HiC, R.HiR, Mean, Var);
    M.SkewKurt(R.LoC, R.LoR, R.HiC, R.HiR, S, K);
    M.SkewKurtSample(R.LoC, R.LoR, R.HiC, R.HiR, SS, SK);
    M.MinMax(R.LoC, R.LoR, R.HiC, R.HiR, Min, Max);
    const double Got[] = {Mean, Var, S, K, SS, SK, M.GeometricMean(R.LoC, R.LoR, R.HiC, R.HiR),
                          M.HarmonicMean(R.LoC, R.LoR, R.HiC, R.HiR), M.Sum(R.LoC, R.LoR, R.HiC, R.HiR), Min, Max};
    const double Want[] = {R.Mean, R.Var, R.Skew, R.Kurt, R.SSkew, R.SKurt, R.GMean, R.HMean, R.Sum, R.Min, R.Max};
    for (int I = 0; I < 11; ++I)  // NumPy sums in another order: a few units in the 15th digit
      EXPECT_NEAR(Got[I], Want[I], 1e-13 * (1 + std::fabs(Want[I]))) << "statistic " << I << " of " << R.LoC << "," << R.LoR << "," << R.HiC
                                        << "," << R.HiR;
  }
  EXPECT_EQ(M.Trace(), 0.0);  // not square
}

TEST(MatrixMoments, DefinedValuesEmptyBlocksAndDataFarFromZero) {
  TMatrix M(nullptr);
  M.SetName("M");
  double Mean, Var, S, K;
  // The defined variance 1.0 of one or two cells, and the formula from three on.
  const struct { std::vector<std::vector<double>> Rows; double Mean, Var; } Cases[] = {
      {{{7}}, 7, 1}, {{{1, 3}}, 2, 1}, {{{1}, {2}, {3}}, 2, 1}, {{{4, 4, 4}}, 4, 0}, {{{1, 2}, {6, 3}}, 3, 14.0 / 3}};
  for (const auto& C : Cases) {
    FillRows(M, C.Rows);
    M.MeanVar(0, 0, 0, 0, Mean, Var);
    EXPECT_EQ(Mean, C.Mean);
    EXPECT_DOUBLE_EQ(Var, C.Var) << C.Rows.size() << " rows";
  }
  // NIST StRD NumAcc4 in a column: certified mean 10000000.2, standard
  // deviation 0.1 (the textbook one-pass sums give 0).
  std::vector<std::vector<double>> Acc{{10000000.2}};
  for (int I = 0; I < 500; ++I) Acc.insert(Acc.end(), {{10000000.1}, {10000000.3}});
  FillRows(M, Acc);
  M.MeanVar(0, 0, 0, 0, Mean, Var);
  EXPECT_NEAR(Mean, 10000000.2, 1e-6);
  EXPECT_NEAR(std::sqrt(Var), 0.1, 1e-9);

  // One cell: SkewKurt gives the unscaled sums (0; NaN for an infinite cell);
  // constant data 0 and 0, and so does its sample correction (which would
  // make the kurtosis 26.5 of four zeros); fewer than 4 cells 0 and 0.
  FillRows(M, {{5}});
  M.SkewKurt(0, 0, 0, 0, S, K);
  EXPECT_EQ(S, 0.0);
  EXPECT_EQ(K, 0.0);
  FillRows(M, {{Inf}});
  M.SkewKurt(0, 0, 0, 0, S, K);
  EXPECT_TRUE(std::isnan(S) && std::isnan(K));
  for (const auto& Rows : {std::vector<std::vector<double>>{{0.1, 0.1}, {0.1, 0.1}}, {{1, 2, 9}}}) {
    FillRows(M, Rows);
    M.SkewKurtSample(0, 0, 0, 0, S, K);
    EXPECT_EQ(S, 0.0);
    EXPECT_EQ(K, 0.0);
  }

  // A block without cells gives the start values, never NaN.
  M.Resize(3, 0);
  M.MeanVar(0, 0, 0, 0, Mean, Var);
  M.SkewKurt(0, 0, 0, 0, S, K);
  EXPECT_EQ(std::vector<double>({Mean, Var, S, K, M.Sum(0, 0, 0, 0), M.GeometricMean(0, 0, 0, 0),
                                 M.HarmonicMean(0, 0, 0, 0), M.Trace()}),
            std::vector<double>(8, 0.0));

  FillRows(M, {{2, 0}, {8, 1}});
  EXPECT_EQ(M.GeometricMean(0, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(M.GeometricMean(1, 1, 1, 2), 4.0);
  EXPECT_EQ(M.Trace(), 3.0);
  FillRows(M, {{2, 0, -8}});  // a zero before a negative cell still raises
  test::ExpectRaises<EORVMatrixError>([&] { M.GeometricMean(0, 0, 0, 0); },
                                      "Component \"M\": negative argument passed to GeometricMean");
  test::ExpectRaises<EORVMatrixError>([&] { M.HarmonicMean(2, 1, 2, 1); },
                                      "Component \"M\": negative or zero argument passed to HarmonicMean");
}

TEST(MatrixMoments, MinMaxRule) {
  TMatrix M(nullptr);
  double Min, Max;
  // A NaN takes the minimum's place and the next number takes it back.
  // Infinite cells are reported (not the start values uc_MaxReal), and an
  // extreme no cell reached keeps its start value.
  const struct { std::vector<double> Col; double Min, Max; } Cases[] = {
      {{3, NaN, 1, 2}, 1, 3},          {{3, 1, NaN}, NaN, 3},    {{NaN, NaN}, NaN, -uc_MaxReal},
      {{Inf, Inf}, Inf, Inf},          {{-Inf, NaN}, NaN, -Inf}, {{-Inf, -Inf}, -Inf, -Inf},
      {{1.75e308, 2.0}, 2.0, 1.75e308}};
  for (const auto& C : Cases) {
    M.Resize(1, static_cast<int32_t>(C.Col.size()));
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) M.SetVal(1, R, C.Col[detail::Ix1(R)]);
    M.MinMax(0, 0, 0, 0, Min, Max);
    EXPECT_TRUE(Min == C.Min || (std::isnan(Min) && std::isnan(C.Min))) << Min << " want " << C.Min;
    EXPECT_EQ(Max, C.Max);
  }
  M.Resize(0, 4);
  M.MinMax(0, 0, 0, 0, Min, Max);
  EXPECT_EQ(Min, uc_MaxReal);
  EXPECT_EQ(Max, -uc_MaxReal);
}

TEST(MatrixOrderStatistics, QuartilesAndPercentiles) {
  test::TPassCounter Passes;
  TMatrix M(nullptr);
  double Q1, Q2, Q3;
  // numpy.percentile(x, (25, 50, 75), method='weibull'): Q3 of two or three
  // cells is the largest, not x(n - 1).
  const struct { std::vector<std::vector<double>> Rows; double Q1, Q2, Q3; } Qs[] = {
      {{{4}}, 4, 4, 4},     {{{2, 1}}, 1, 1.5, 2}, {{{3}, {1}, {2}}, 1, 2, 3}, {{{4, 1}, {3, 2}}, 1.25, 2.5, 3.75},
      {Data, 2.2750000000000004, 4.550000000000001, 6.75}};
  for (const auto& C : Qs) {
    FillRows(M, C.Rows);
    EXPECT_TRUE(M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
    EXPECT_DOUBLE_EQ(Q1, C.Q1);
    EXPECT_DOUBLE_EQ(Q2, C.Q2);
    EXPECT_DOUBLE_EQ(Q3, C.Q3);
  }
  EXPECT_GT(Passes.Passes(), 0.0) << "the comb sort reports its passes";

  // sorted(x)[min(round(n * p / 100), n - 1)] (round half to even), x the block's cells.
  const TQuietMatrix D(Data);
  const double Before = Passes.Passes();
  const struct { double P; int32_t LoC, LoR, HiC, HiR; double Want; } Ps[] = {
      {0, 0, 0, 0, 0, 0.3},   {10, 0, 0, 0, 0, 1.1},   {25, 0, 0, 0, 0, 2.5},  {37.5, 0, 0, 0, 0, 3.3},
      {50, 0, 0, 0, 0, 4.7},  {62.5, 0, 0, 0, 0, 5.5}, {90, 0, 0, 0, 0, 8.4},  {100, 0, 0, 0, 0, 9.8},
      {150, 0, 0, 0, 0, 9.8}, {-5, 0, 0, 0, 0, 0.3},   {25, 2, 2, 3, 4, 5.5},  {62.5, 3, 4, 2, 2, 6.6},
      {37.5, 1, 2, 4, 5, 4.4}};
  for (const auto& R : Ps) EXPECT_EQ(D.Percentile(R.P, R.LoC, R.LoR, R.HiC, R.HiR), R.Want) << "p = " << R.P;
  EXPECT_EQ(Passes.Passes(), Before) << "selection reports no progress";
  EXPECT_EQ(AllRows(D), Data);
  EXPECT_TRUE(std::isnan(D.Percentile(NaN, 0, 0, 0, 0)));

  // NaN sorts behind every number; many equal cells; no cell.
  FillRows(M, {{NaN, 2, NaN, 1}});
  EXPECT_EQ(M.Percentile(30, 0, 0, 0, 0), 2.0);
  EXPECT_TRUE(std::isnan(M.Percentile(60, 0, 0, 0, 0)));
  M.Resize(300, 300);
  M.Fill(7.0);
  M.SetVal(9, 9, -1.0);
  EXPECT_EQ(M.Percentile(0, 0, 0, 0, 0), -1.0);
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0), 7.0);
  M.Resize(0, 0);
  EXPECT_EQ(M.Percentile(50, 0, 0, 0, 0), 0.0);
  EXPECT_FALSE(M.Quartiles(0, 0, 0, 0, Q1, Q2, Q3));
  EXPECT_EQ(Q3, 0.0);
}

TEST(MatrixOrderStatistics, SampledPercentile) {
  const TQuietMatrix D(Data);
  // A SampleSize <= 0 or not below the cell count is the plain percentile.
  for (const int32_t Size : {-5, 0, 20, 100}) EXPECT_EQ(D.Percentile(62.5, 0, 0, 0, 0, Size), 5.5) << Size;
  // Drawn cells are cells of the block.
  for (int I = 0; I < 20; ++I) {
    const double P = D.Percentile(50, 2, 2, 3, 4, 3);
    EXPECT_TRUE(P == 2.2 || P == 5.5 || P == 6.1 || P == 2.9 || P == 6.6 || P == 8.4) << P;
  }
  // Half -1, half 0: the 75 % rank falls among the zeros drawn (returned
  // without a selection), the 25 % rank and the minimum on a -1.
  TMatrix M(nullptr);
  M.Resize(50, 50);
  M.Fill(0.0);
  M.Fill(1, 25, 0, 0, -1.0);
  EXPECT_EQ(M.Percentile(75, 0, 0, 0, 0, 500), 0.0);
  EXPECT_EQ(M.Percentile(25, 0, 0, 0, 0, 500), -1.0);
  EXPECT_EQ(M.Percentile(0, 0, 0, 0, 0, 500), -1.0);
}

TEST(MatrixCounting, CountValuesAndHistogram) {
  const TQuietMatrix D(Data);
  // NumPy: ((x >= lo) & ~(x > hi)).sum() over the block (col, col, row, row).
  const struct { int32_t LoC, HiC, LoR, HiR; double Lo, Hi; int32_t Want; } Counts[] = {
      {0, 0, 0, 0, 2.2, 6.6, 11}, {0, 0, 0, 0, 0, 100, 20}, {0, 0, 0, 0, 5, 5, 0},
      {0, 0, 0, 0, 6.6, 2.2, 0},  {2, 3, 2, 4, 5.5, 8.4, 4}, {1, 1, 1, 5, -Inf, Inf, 5}};
  for (const auto& C : Counts)
    EXPECT_EQ(D.CountValues(C.LoC, C.HiC, C.LoR, C.HiR, C.Lo, C.Hi), C.Want) << C.Lo << ".." << C.Hi;

  TMatrix M(nullptr);
  TIntVector H(nullptr);
  int32_t Under = -1, Over = -1, MaxCnt = -1;
  // 11 bins of width 1 from 0: 10.5 in bin 11, 11 overflow, -0.1 and NaN underflow.
  FillRows(M, {{10.5, 11, -0.1, NaN}, {0, 0.5, 3.2, 10.99}});
  ASSERT_TRUE(M.Histogram(0, 0, 0, 0, 0, 10, 1, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), std::vector<int32_t>({2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(std::vector<int32_t>({Under, Over, MaxCnt}), std::vector<int32_t>({2, 1, 2}));
  // 4 bins of 0.3 from 0 end at 1.2: a cell 1.25 below LastBin + BinWidth
  // counts as overflow instead of vanishing.
  FillRows(M, {{1.25, 0.1, 1.0}});
  ASSERT_TRUE(M.Histogram(0, 0, 0, 0, 0, 1, 0.3, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), std::vector<int32_t>({1, 0, 0, 1}));
  EXPECT_EQ(std::vector<int32_t>({Under, Over, MaxCnt}), std::vector<int32_t>({0, 1, 1}));
  // Refused, with nothing changed: 501 bins, a width <= 0, no Histo.
  for (const double Width : {0.0, -1.0, NaN})
    EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 1, Width, &H, Under, Over, MaxCnt));
  EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 500, 1, &H, Under, Over, MaxCnt));
  EXPECT_FALSE(M.Histogram(0, 0, 0, 0, 0, 1, 0.3, nullptr, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), std::vector<int32_t>({1, 0, 0, 1}));
  EXPECT_EQ(Over, 1);
  // With a handler on Histo every count goes through SetVal, to the same result.
  int Changes = 0;
  H.OnChange = [&](TObject*) { ++Changes; };
  ASSERT_TRUE(M.Histogram(0, 0, 0, 0, 0, 1, 0.3, &H, Under, Over, MaxCnt));
  EXPECT_EQ(Values(H), std::vector<int32_t>({1, 0, 0, 1}));
  EXPECT_EQ(Changes, 3);  // Clear and two counts
}

TEST(MatrixSearching, FindAndFindInSortedColumn) {
  const TQuietMatrix D({{1, 5, 3}, {4, 2, 6}, {3, 7, 4}});
  int32_t C = -1, R = -1;
  // (col, col, row, row); ties go to the first cell column by column.
  const struct { int32_t LoC, HiC, LoR, HiR; double Value; int32_t C, R; } Finds[] = {
      {0, 0, 0, 0, 3.4, 1, 3},  {0, 0, 0, 0, 3.5, 1, 2}, {2, 3, 1, 3, 3.5, 3, 1},
      {3, 2, 3, 1, 100, 2, 3},  {1, 1, 1, 1, 100, 1, 1}, {0, 0, 0, 0, NaN, 0, 0}};
  for (const auto& F : Finds) {
    D.Find(F.LoC, F.HiC, F.LoR, F.HiR, F.Value, C, R);
    EXPECT_EQ(C, F.C) << F.Value;
    EXPECT_EQ(R, F.R) << F.Value;
  }

  // Column 1 ascending 1, 3, 5, 7; column 2 descending 9, 6, 3, 0.
  const TQuietMatrix S({{1, 9}, {3, 6}, {5, 3}, {7, 0}});
  const struct { int32_t Col; bool Asc; double Value; int32_t Want; } Sorted[] = {
      {1, true, 4, 3},   {1, true, 5, 3},   {1, true, 3.9, 2}, {1, true, -10, 1}, {1, true, 99, 4},
      {2, false, 4.5, 3}, {2, false, 6, 2}, {2, false, 8, 1},  {0, true, 4, 0},   {3, true, 4, 0}};
  for (const auto& F : Sorted) EXPECT_EQ(S.FindInSortedColumn(F.Col, F.Asc, F.Value), F.Want) << F.Value;
  TMatrix M(nullptr);
  M.Resize(2, 0);
  EXPECT_EQ(M.FindInSortedColumn(1, true, 0.0), 0);
}

TEST(MatrixCompare, CorrelateAndChecksum) {
  const TQuietMatrix A(Data);
  const std::vector<std::vector<double>> Other = {
      {1.5, 2.0, 3.5, 0.2}, {8.0, 6.5, 5.0, 1.1}, {6.0, 3.0, 9.1, 2.2}, {2.2, 5.5, 3.3, 4.4}, {5.0, 1.0, 6.0, 7.7}};
  TQuietMatrix B(Other);
  // numpy.corrcoef(a.T.ravel(), b.T.ravel())[0, 1]
  EXPECT_DOUBLE_EQ(A.Correlate(&B), 0.9286370443303199);
  // Far from 0 (a + 1e9 against 1e9 - b): numpy gives -0.9286370421478889,
  // the textbook one-pass sums lose it.
  std::vector<std::vector<double>> Far = Data, FarB = Other;
  for (auto& Row : Far)
    for (double& X : Row) X += 1e9;
  for (auto& Row : FarB)
    for (double& X : Row) X = 1e9 - X;
  const TQuietMatrix FarOther(FarB);
  EXPECT_NEAR(TQuietMatrix(Far).Correlate(&FarOther), -0.9286370421478889, 1e-9);
  EXPECT_EQ(A.Correlate(nullptr), 0.0);
  EXPECT_EQ(A.Correlate(&A), 1.0);
  const TQuietMatrix Flat({{2, 2}, {2, 2}});
  EXPECT_EQ(Flat.Correlate(&Flat), 0.0);
  TMatrix Small(nullptr);
  Small.SetName("Small");
  Small.Resize(3, 5);
  test::ExpectRaises<EORVMatrixError>([&] { Small.Correlate(&A); }, "Component \"Small\": matrices do not match");

  // Each lane of 8 is zlib.crc32 of byte k of every cell (struct.pack('<d')),
  // cells column by column: 1.5, 0.1, -2, 1e300.
  TQuietMatrix C({{1.5, -2}, {0.1, 1e300}});
  EXPECT_EQ(C.CRCofData(), "28793D55F3E9D9D0D3865C6330E55771FCE920E474E17A0210A481C4DA7C1E33");
}

}  // namespace
}  // namespace orv
