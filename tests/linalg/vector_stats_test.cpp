// TVector statistics: moments, order statistics and the histogram.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_vector.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::FillValues;
using test::Values;

const std::vector<double> Ten{2.5, 3.1, 4.7, 1.2, 9.8, 5.5, 6.1, 0.3, 7.7, 2.2};
const std::vector<double> Fib{1, 1, 2, 3, 5, 8, 13, 21, 34, 55, 89};

TEST(VectorMoments, AgainstNumPyAndSciPy) {
  // NumPy 1.24 / SciPy 1.10: mean, var(ddof=1); skewness and kurtosis as
  // sum(d^3) / n / s^3 and sum(d^4) / n / s^4 - 3 with s = std(ddof=1);
  // scipy.stats skew and kurtosis with bias=False; gmean, hmean.
  const struct {
    const std::vector<double>* X;
    double Mean, Var, Skew, Kurt, SSkew, SKurt, GMean, HMean;
  } Rows[] = {
      {&Ten, 4.3100000000000005, 9.038777777777778, 0.3689113951486377, -1.240374293219126, 0.5123769377064411,
       -0.4988327828195209, 3.064456117725596, 1.6301985071129725},
      {&Fib, 21.09090909090909, 792.290909090909, 1.2974315891062786, 0.3720089656675798, 1.7443246920206636,
       2.633551414096285, 8.175410925581183, 3.2917328171581945},
  };
  TVector V;
  for (const auto& R : Rows) {
    FillValues(V, *R.X);
    double Mean, Var, S, K, SS, SK;
    int32_t N;
    V.MeanVar(0, 0, Mean, Var);
    V.SkewKurtIntern(0, 0, S, K, N);
    V.SkewKurtSample(0, 0, SS, SK);
    const double Got[] = {Mean, Var, S, K, SS, SK, V.GeometricMean(0, 0), V.HarmonicMean(0, 0)};
    const double Want[] = {R.Mean, R.Var, R.Skew, R.Kurt, R.SSkew, R.SKurt, R.GMean, R.HMean};
    for (int I = 0; I < 8; ++I) EXPECT_DOUBLE_EQ(Got[I], Want[I]) << "statistic " << I << ", n = " << N;
    EXPECT_EQ(N, V.NrOfElem());
  }
  FillValues(V, Fib);
  EXPECT_EQ(V.Sum(10, 3), 141.0);  // elements 3..10
}

TEST(VectorMoments, DefinedValuesAndDataFarFromZero) {
  TVector V;
  double Mean, Var, S, K;
  // The defined variance 1 of one or two values, and the formula from three on.
  const struct { std::vector<double> X; double Mean, Var; } Rows[] = {
      {{7}, 7, 1}, {{1, 3}, 2, 1}, {{1, 2, 3}, 2, 1}, {{4, 4, 4}, 4, 0}, {{1, 2, 6}, 3, 7}};
  for (const auto& R : Rows) {
    FillValues(V, R.X);
    V.MeanVar(0, 0, Mean, Var);
    EXPECT_EQ(Mean, R.Mean);
    EXPECT_EQ(Var, R.Var) << R.X.size() << " values";
  }
  // NIST StRD NumAcc4: certified mean 10000000.2 and standard deviation 0.1.
  std::vector<double> X{10000000.2};
  for (int I = 0; I < 500; ++I) X.insert(X.end(), {10000000.1, 10000000.3});
  FillValues(V, X);
  V.MeanVar(0, 0, Mean, Var);
  EXPECT_NEAR(Mean, 10000000.2, 1e-6);
  EXPECT_NEAR(std::sqrt(Var), 0.1, 1e-9);

  // Fewer than 4 values, and constant data (0.1 repeated: its mean is not 0.1
  // in binary; the sample correction would turn the 0 into 2.2), give 0 and 0.
  for (const std::vector<double>& C : {std::vector<double>{1, 2, 9}, std::vector<double>(10, 0.1)}) {
    FillValues(V, C);
    V.SkewKurt(0, 0, S, K);
    EXPECT_EQ(S, 0.0);
    EXPECT_EQ(K, 0.0);
    V.SkewKurtSample(0, 0, S, K);
    EXPECT_EQ(S, 0.0);
    EXPECT_EQ(K, 0.0);
  }

  V.SetName("V");
  FillValues(V, {2, 0, 8});
  EXPECT_EQ(V.GeometricMean(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(V.GeometricMean(3, 3), 8.0);
  FillValues(V, {2, 0, -8});  // a zero before a negative value still raises
  test::ExpectRaises<EORVVectorError>([&] { V.GeometricMean(0, 0); },
                                      "Component \"V\": negative argument passed to GeometricMean");
  test::ExpectRaises<EORVVectorError>([&] { V.HarmonicMean(1, 2); },
                                      "Component \"V\": negative or zero argument passed to HarmonicMean");
}

TEST(VectorOrderStatistics, AgainstNumPyAndSciPy) {
  TVector V;
  FillValues(V, Ten);
  // numpy.percentile(Ten, p, method='linear')
  const struct { double P, Want; } Pct[] = {{0, 0.3},    {10, 1.1099999999999999}, {25, 2.2750000000000004},
                                           {33.3, 2.4991}, {50, 3.9000000000000004}, {90, 7.909999999999999},
                                           {99.9, 9.781100000000004}, {100, 9.8}, {150, 9.8}, {-5, 0.3}};
  for (const auto& R : Pct) EXPECT_DOUBLE_EQ(V.Percentile(R.P, 0, 0), R.Want) << "p = " << R.P;
  EXPECT_TRUE(std::isnan(V.Percentile(std::numeric_limits<double>::quiet_NaN(), 0, 0)));
  EXPECT_EQ(Values(V), Ten) << "the vector keeps its order";

  // numpy.percentile(X, (25, 50, 75), method='weibull')
  const struct { std::vector<double> X; double Q1, Q2, Q3; } Qs[] = {
      {{4}, 4, 4, 4},           {{7, 3}, 3, 5, 7},          {{3, 1, 2}, 1, 2, 3}, {{4, 1, 3, 2}, 1.25, 2.5, 3.75},
      {{5, 1, 4, 2, 3}, 1.5, 3, 4.5}, {Ten, 1.9500000000000002, 3.9000000000000004, 6.5}};
  for (const auto& R : Qs) {
    FillValues(V, R.X);
    double Q1, Q2, Q3;
    EXPECT_TRUE(V.Quartiles(0, 0, Q1, Q2, Q3));
    EXPECT_DOUBLE_EQ(Q1, R.Q1) << R.X.size() << " values";
    EXPECT_DOUBLE_EQ(Q2, R.Q2) << R.X.size() << " values";
    EXPECT_DOUBLE_EQ(Q3, R.Q3) << R.X.size() << " values";
  }

  // scipy.stats.mode: the smallest of the most frequent values.
  const struct { std::vector<double> X; double Want; } Modes[] = {
      {{3, 1, 2, 3, 2}, 2}, {{5, 4, 3}, 3}, {{1.5, 2.5, 2.5, 0.5, 0.5}, 0.5}};
  for (const auto& R : Modes) {
    FillValues(V, R.X);
    EXPECT_EQ(V.Mode(0, 0), R.Want);
  }

  // Infinite neighbours interpolate without NaN; the top position never reads past the end.
  const double Inf = std::numeric_limits<double>::infinity();
  FillValues(V, {1, Inf, Inf});
  EXPECT_EQ(V.Percentile(50, 0, 0), Inf);
  FillValues(V, {5, Inf});
  EXPECT_EQ(V.Percentile(0, 0, 0), 5.0);
  FillValues(V, {1, 2, 3});
  EXPECT_EQ(V.Percentile(std::nextafter(100.0, 0.0), 0, 0), 3.0);

  // The copy is sorted by SortArray: 1, 2, 3, 4, 5 takes the passes of gaps 3, 2 and 1.
  test::TPassCounter Passes;
  FillValues(V, {1, 2, 3, 4, 5});
  V.Percentile(25, 0, 0);
  EXPECT_EQ(Passes.Passes(), 3.0);
  V.Percentile(25, 2, 2);
  EXPECT_EQ(Passes.Passes(), 3.0) << "one value needs no sort";
}

// The counts of elements First..Last into bins from Lo to Hi of width W,
// followed by Underflow, Overflow and MaxCnt; with a handler on Histo
// (Watched) or without, two paths that must agree.
std::vector<int32_t> Histo(const TVector& V, int32_t First, int32_t Last, double Lo, double Hi, double W,
                           bool Watched) {
  TIntVector H;
  if (Watched) H.OnChange = [](TObject*) {};
  int32_t U, O, M;
  EXPECT_TRUE(V.Histogram(First, Last, Lo, Hi, W, &H, U, O, M));
  std::vector<int32_t> R = Values(H);
  R.insert(R.end(), {U, O, M});
  return R;
}

TEST(VectorHistogram, EveryValueIsCountedOnce) {
  TVector V;
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  // 4 bins of width 0.3 from 0; 1.25 lies below LastBin + BinWidth but its
  // bin 5 does not exist: overflow, like 1.3 and NaN.
  FillValues(V, {-0.1, 0, 0.29, 0.3, 0.95, 1.25, 1.3, NaN});
  for (bool Watched : {false, true}) {
    EXPECT_EQ(Histo(V, 1, 8, 0, 1, 0.3, Watched), (std::vector<int32_t>{2, 1, 0, 1, 1, 3, 2}));
    // Elements outside 1..N read 0: two before and three after the vector.
    EXPECT_EQ(Histo(V, -1, 11, 0, 1, 0.3, Watched), (std::vector<int32_t>{7, 1, 0, 1, 1, 3, 7}));
  }
  // A billion elements before the vector are counted at once.
  EXPECT_EQ(Histo(V, -999999999, 3, -1, 1, 1, false), (std::vector<int32_t>{1, 1000000002, 0, 0, 0, 1000000002}));

  TIntVector H;
  H.Resize(3);
  H.SetVal(2, 9);
  int32_t U = -1, O = -1, M = -1;
  for (double W : {0.0, -1.0, NaN, 0.01}) EXPECT_FALSE(V.Histogram(0, 0, 0, 10, W, &H, U, O, M)) << "width " << W;
  EXPECT_FALSE(V.Histogram(0, 0, 0, 499.5, 1, &H, U, O, M)) << "Round(499.5) + 1 = 501 bins";
  EXPECT_FALSE(V.Histogram(0, 0, NaN, 1, 1, &H, U, O, M));
  EXPECT_FALSE(V.Histogram(0, 0, -1e308, 1e308, 1e306, &H, U, O, M));
  EXPECT_FALSE(V.Histogram(INT32_MIN, INT32_MAX, 0, 1, 1, &H, U, O, M)) << "more elements than an Integer counts";
  EXPECT_FALSE(V.Histogram(0, 0, 0, 1, 1, nullptr, U, O, M));
  EXPECT_EQ(Values(H), (std::vector<int32_t>{0, 9, 0}));
  EXPECT_EQ(U, -1);
  EXPECT_TRUE(V.Histogram(5, 4, 0, 2, 1, &H, U, O, M)) << "a reversed element range counts nothing";
  EXPECT_EQ(Values(H), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_TRUE(H.IsEmpty());
  EXPECT_EQ(U + O + M, 0);
}

}  // namespace
}  // namespace orv
