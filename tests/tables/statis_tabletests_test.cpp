// The table-driven tests: Dean-Dixon, Grubbs, Durbin-Watson, normality
// statistics and the Wilcoxon signed-rank quantile.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/components.h"
#include "support/raises.h"

namespace orv {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(DeanDixonCriticalValues, PrintedRowsClassicValuesAndMonteCarlo) {
  // The reference rows of the classic tables, kept as printed.
  const struct { int32_t n; double Row[9]; } Printed[] = {
      {3, {0.999, 0.998, 0.994, 0.988, 0.976, 0.941, 0.886, 0.782, 0.501}},
      {4, {0.964, 0.949, 0.921, 0.889, 0.847, 0.766, 0.679, 0.561, 0.324}},
      {7, {0.763, 0.731, 0.681, 0.636, 0.587, 0.507, 0.433, 0.344, 0.184}},
      {8, {0.799, 0.769, 0.724, 0.682, 0.633, 0.554, 0.480, 0.386, 0.211}},
      {11, {0.770, 0.746, 0.708, 0.674, 0.636, 0.575, 0.518, 0.445, 0.304}},
      {14, {0.732, 0.708, 0.672, 0.640, 0.603, 0.546, 0.491, 0.422, 0.287}},
      {30, {0.539, 0.517, 0.484, 0.456, 0.425, 0.376, 0.332, 0.278, 0.179}},
      {100, {0.387, 0.368, 0.341, 0.317, 0.292, 0.253, 0.219, 0.179, 0.111}}};
  for (const auto& R : Printed)
    for (int L = 0; L < 9; ++L)
      EXPECT_EQ(DeanDixonCriticalValues(R.n, static_cast<TSignifLevelEx>(L)), R.Row[L]) << R.n << ", " << L;
  // Computed cells: r10 at 0.05 as the worked example uses it (0.642 in Dean
  // and Dixon's Q90 table, Analytical Chemistry 23, 1951); the rest against
  // 2e6 normal samples per n (numpy default_rng(20261209), the empirical
  // (1 - level) quantile of the ratio), good to about 0.003.
  const struct { int32_t n; TSignifLevelEx L; double Want, Tol; } Cells[] = {
      {5, Dot050, 0.643, 0}, {6, Dot050, 0.5623, 0.003}, {6, Dot010, 0.6975, 0.003}, {6, Dot200, 0.3864, 0.003},
      {9, Dot010, 0.6347, 0.003}, {9, Dot050, 0.5111, 0.003}, {9, Dot200, 0.3518, 0.003},
      {12, Dot010, 0.6430, 0.003}, {12, Dot050, 0.5456, 0.003}, {12, Dot200, 0.4198, 0.003},
      {50, Dot010, 0.3840, 0.003}, {50, Dot050, 0.3116, 0.003}, {50, Dot200, 0.2254, 0.003}};
  for (const auto& C : Cells) EXPECT_NEAR(DeanDixonCriticalValues(C.n, C.L), C.Want, C.Tol) << C.n << ", " << int(C.L);
  // Every row falls with the level and every column with n inside a ratio.
  for (int32_t n = 3; n <= 100; ++n)
    for (int L = 1; L < 9; ++L)
      EXPECT_LT(DeanDixonCriticalValues(n, TSignifLevelEx(L)), DeanDixonCriticalValues(n, TSignifLevelEx(L - 1))) << n;
  for (int32_t n : {2, 101, 0, -5}) EXPECT_EQ(DeanDixonCriticalValues(n, Dot050), -1.0) << n;
  EXPECT_EQ(DeanDixonCriticalValues(10, static_cast<TSignifLevelEx>(9)), -1.0);
}

TEST(DeanDixonTest, RatiosSuspectsAndRefusals) {
  // Data, level, index, Q: the ratios by hand on the sorted values.
  const struct { std::vector<double> X; TSignifLevelEx L; int32_t Want; double Q; } Rows[] = {
      {{1, 2, 3, 4, 100}, Dot050, 5, 96.0 / 99},            // r10, high
      {{10, -80, 11, 12, 13}, Dot050, 2, 90.0 / 93},        // r10, low
      {{1, 2, 3, 4, 5}, Dot050, 0, 0.25},                   // no outlier; ties go low
      {{7, 7, 7, 7}, Dot050, 0, 0.0},                       // denominators 0
      {{5, 1, 2, 3, 4, 5, 6, 30, 7}, Dot010, 8, 23.0 / 28}, // r11: (30 - 7) / (30 - 2)
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 50}, Dot050, 12, 40.0 / 48}};  // r21: (50 - 10) / (50 - 2)
  for (const auto& R : Rows) {
    TVector V;
    test::FillValues(V, R.X);
    double Q = -1;
    EXPECT_EQ(DeanDixonTest(&V, R.L, Q), R.Want) << R.X.size();
    EXPECT_DOUBLE_EQ(Q, R.Q) << R.X.size();
  }
  // r22 at n = 14: (40 - 12) / (40 - 3), above 0.546; the duplicate suspect
  // is reported at its first place.
  TVector V;
  test::FillValues(V, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 40, 40});
  double Q = 0;
  EXPECT_EQ(DeanDixonTest(&V, Dot050, Q), 13);
  EXPECT_DOUBLE_EQ(Q, 28.0 / 37);
  // Values that are not finite are no outliers.
  for (double Bad : {NaN, HUGE_VAL, -HUGE_VAL}) {
    test::FillValues(V, {1, 2, 3, 4, 5, 6, 7, 8, Bad, 1000});
    Q = 0;
    EXPECT_EQ(DeanDixonTest(&V, Dot050, Q), 0) << Bad;
    EXPECT_TRUE(std::isnan(Q));
  }
  Q = 5;
  EXPECT_EQ(DeanDixonTest(nullptr, Dot050, Q), 0);
  EXPECT_EQ(Q, 0.0);
  test::FillValues(V, {1, 2});
  test::ExpectRaises<EORVStatisError>([&] { DeanDixonTest(&V, Dot050, Q); },
                                      "DeanDixonTest: number of data points is too low");
  V.Resize(101);
  test::ExpectRaises<EORVStatisError>([&] { DeanDixonTest(&V, Dot050, Q); },
                                      "DeanDixonTest: number of data points is too high");
  V.Resize(10);
  test::ExpectRaises<EORVStatisError>([&] { DeanDixonTest(&V, static_cast<TSignifLevelEx>(9), Q); },
                                      "DeanDixonTest: invalid level of significance");
}

TEST(DurbinWatsonCrit5pct, TableFormulasAndBounds) {
  // n, k, dL, dU: the printed reference rows (exact), then exact bounds by
  // Imhof's integral with SciPy's quad and brentq (eigenvalues
  // 2 (1 - cos(pi j / n)), 6 decimals): the table to 5e-6 plus rounding,
  // the formulas beyond 100 to 1e-4.
  const struct { int32_t n, k; double L, U, Tol; } Rows[] = {
      {10, 1, 0.87913, 1.31971, 0}, {10, 2, 0.69715, 1.64134, 0}, {10, 3, 0.52534, 2.01632, 0},
      {10, 4, 0.37602, 2.41365, 0}, {10, 5, 0.24269, 2.82165, 0}, {20, 1, 1.20149, 1.41073, 0},
      {20, 2, 1.10040, 1.53668, 0}, {20, 3, 0.99755, 1.67634, 0}, {20, 4, 0.89425, 1.82828, 0},
      {20, 5, 0.79179, 1.99079, 0}, {6, 1, 0.61018, 1.40015, 0}, {100, 1, 1.65404, 1.69439, 0},
      {100, 20, 1.22928, 2.16352, 0},
      {50, 3, 1.420588, 1.673845, 6e-6}, {75, 10, 1.338626, 1.935156, 6e-6}, {25, 20, 0.040700, 3.790411, 6e-6},
      {150, 1, 1.719694, 1.746515, 1e-4}, {150, 7, 1.636665, 1.831592, 1e-4}, {199, 20, 1.552196, 1.991412, 1e-4},
      {350, 12, 1.754134, 1.895814, 1e-4}, {480, 2, 1.841777, 1.858508, 1e-4}, {600, 1, 1.862569, 1.869245, 1e-4},
      {1000, 20, 1.855350, 1.936918, 1e-4}, {2000, 5, 1.921463, 1.931487, 1e-4}};
  for (const auto& R : Rows) {
    double L = -1, U = -1;
    ASSERT_TRUE(DurbinWatsonCrit5pct(R.n, R.k, L, U)) << R.n << ", " << R.k;
    EXPECT_NEAR(L, R.L, R.Tol) << R.n << ", " << R.k;
    EXPECT_NEAR(U, R.U, R.Tol) << R.n << ", " << R.k;
  }
  // No jump where the formulas meet: the step from n to n + 1 is the step
  // before it, up to the rounding of the table and the fits' deviation.
  for (int32_t k = 1; k <= 20; ++k)
    for (int32_t n : {100, 200, 500}) {
      double L[3], U[3];
      for (int32_t i = 0; i < 3; ++i) ASSERT_TRUE(DurbinWatsonCrit5pct(n - 1 + i, k, L[i], U[i]));
      EXPECT_NEAR(L[2] - L[1], L[1] - L[0], 2e-4) << n << ", " << k;
      EXPECT_NEAR(U[2] - U[1], U[1] - U[0], 2e-4) << n << ", " << k;
    }
  // Outside: n - k < 5, k outside 1..20, n outside 5..2000; outputs kept.
  const struct { int32_t n, k; } Out[] = {{10, 6}, {2001, 1}, {100, 0}, {100, 21}, {5, 1}, {4, 1},
                                           {-2147483647 - 1, 1}, {2147483647, 20}};
  for (const auto& O : Out) {
    double L = 7, U = 8;
    EXPECT_FALSE(DurbinWatsonCrit5pct(O.n, O.k, L, U)) << O.n << ", " << O.k;
    EXPECT_EQ(L, 7.0);
    EXPECT_EQ(U, 8.0);
  }
}

TEST(DurbinWatson, StatisticAndItsSpecialCases) {
  // numpy: sum(diff(e)**2) / sum(e*e).
  const TDoubleArray E = {0.5, -0.3, 0.8, 0.1, -0.9, 0.4, 0.2, -0.6};
  const double Want = 2.419491525423729;
  EXPECT_DOUBLE_EQ(DurbinWatson(E), Want);
  // The ratio does not depend on the scale, also where squares leave the range.
  for (double Scale : {1e-200, 1e-170, 1e170, 1e300}) {
    TDoubleArray S = E;
    for (double& e : S) e *= Scale;
    EXPECT_NEAR(DurbinWatson(S), Want, 1e-14) << Scale;
  }
  EXPECT_EQ(DurbinWatson({}), 2.0);
  EXPECT_EQ(DurbinWatson({1.0, -1.0}), 2.0);
  EXPECT_EQ(DurbinWatson({0.0, 0.0, 0.0}), 0.0);
  EXPECT_EQ(DurbinWatson({1.0, 1.0, 1.0}), 0.0);
  EXPECT_TRUE(std::isnan(DurbinWatson({1.0, NaN, 1.0})));
}

TEST(GrubbsCriticalValues, ClosedFormWithStudentT) {
  // n, alpha, two-sided, value: ((n-1)/sqrt(n)) sqrt(t^2/(n-2+t^2)) with
  // t = scipy.stats.t.isf(alpha / (d n), n - 2); tDistriQuantile stops near 1e-9.
  const struct { int32_t n; double Alpha; bool Two; double Want; } Rows[] = {
      {3, 0.05, true, 1.1543048513440386},   {10, 0.05, true, 2.2899540844796067},
      {10, 0.05, false, 2.176068394194221},  {25, 0.01, true, 3.1353276882111625},
      {100, 0.001, false, 4.083965991152201}, {1000, 0.1, true, 3.8768506142490162},
      {20, 1e-9, true, 4.061604445837463}};
  for (const auto& R : Rows)
    EXPECT_NEAR(GrubbsCriticalValues(R.n, R.Alpha, R.Two), R.Want, 2e-9 * R.Want) << R.n << ", " << R.Alpha;
  for (double Alpha : {0.0, 1.0, -0.1, NaN}) EXPECT_EQ(GrubbsCriticalValues(10, Alpha, true), -1.0) << Alpha;
  EXPECT_EQ(GrubbsCriticalValues(2, 0.05, true), -1.0);
}

TEST(GrubbsTest, OutlierConstantNaNAndRefusals) {
  // numpy: G = max |x - mean| / std(ddof=1) = 2.8044902811796835 at element
  // 6, above the critical value 2.290 of n = 10 at 0.05; not above 3.0 ...
  const std::vector<double> X = {2.1, 2.4, 2.2, 2.3, 2.25, 3.9, 2.15, 2.35, 2.28, 2.2};
  TVector V;
  test::FillValues(V, X);
  double G = 0;
  EXPECT_EQ(GrubbsTest(&V, 0.05, G), 6);
  EXPECT_NEAR(G, 2.8044902811796835, 1e-13);
  EXPECT_EQ(GrubbsTest(&V, 1e-6, G), 0);  // ... reached only at a tiny level
  EXPECT_NEAR(G, 2.8044902811796835, 1e-13);
  for (const std::vector<double>& Y : {std::vector<double>{4, 4, 4, 4, 4}, {1, 2, NaN, 4, 5}, {1, 2, HUGE_VAL, 4}}) {
    test::FillValues(V, Y);
    G = 9;
    EXPECT_EQ(GrubbsTest(&V, 0.05, G), 0);
    EXPECT_EQ(G, 0.0);
  }
  G = 9;
  EXPECT_EQ(GrubbsTest(nullptr, 0.05, G), 0);
  EXPECT_EQ(G, 0.0);
  test::FillValues(V, {1, 2, 30});
  test::ExpectRaises<EORVStatisError>([&] { GrubbsTest(&V, 0.05, G); }, "GrubbsTest: number of data points is too low");
  for (double Alpha : {0.0, 1.0, NaN})
    test::ExpectRaises<EORVStatisError>([&] { GrubbsTest(&V, Alpha, G); }, "GrubbsTest: invalid level of significance");
}

TEST(NormalityStatistics, KolmogorovSmirnovAndLilliefors) {
  // scipy.stats.kstest(x, 'norm').statistic, and the same of
  // (x - mean) / std(ddof=1) for Lilliefors; nDistriIntegral is good to 1e-7.
  const std::vector<double> X = {0.31, -1.2, 2.05, 0.77, -0.45, 1.4, -0.02, 0.9, -1.75, 0.5, 2.9, -0.6};
  TVector V;
  test::FillValues(V, X);
  EXPECT_NEAR(PerformKSNormalityTest(&V, false), 0.2050528551553526, 1e-7);
  const std::vector<double> Sorted = test::Values(V);
  EXPECT_TRUE(std::is_sorted(Sorted.begin(), Sorted.end()));  // sorted in place, as documented
  EXPECT_NEAR(PerformKSNormalityTest(&V, true), 0.2050528551553526, 1e-7);
  test::FillValues(V, X);
  EXPECT_NEAR(PerformLillieforsTest(&V, false), 0.1037173000417102, 1e-7);
  double Sum = 0;
  for (int32_t i = 1; i <= V.NrOfElem(); ++i) Sum += V.GetVal(i);
  EXPECT_NEAR(Sum, 0.0, 1e-13);  // standardized in place
  // NaN is no value to compare: NaN; a constant vector has no scale: NaN, kept.
  test::FillValues(V, {0.5, NaN, -0.3});
  EXPECT_TRUE(std::isnan(PerformKSNormalityTest(&V, false)));
  test::FillValues(V, {3, 3, 3, 3});
  EXPECT_TRUE(std::isnan(PerformLillieforsTest(&V, false)));
  EXPECT_EQ(test::Values(V), (std::vector<double>{3, 3, 3, 3}));
  EXPECT_EQ(PerformKSNormalityTest(nullptr, false), -1.0);
  EXPECT_EQ(PerformLillieforsTest(nullptr, true), -1.0);
}

TEST(WilcoxonSRQuantile, ParabolaNormalApproximationAndLimits) {
  // n, alpha, two-sided, value: numpy.polyfit(ln levels, table row, 2) at
  // ln alpha (one-sided: ln 2 alpha), rounded; the rows are the exact
  // critical values (subset counts). Above 100: n(n+1)/4 - z sqrt(n(n+1)(2n+1)/24)
  // with scipy.stats.norm.ppf, rounded; -1 where it passes 2^31 - 1.
  const struct { int32_t n; double Alpha; bool Two; int32_t Want; } Rows[] = {
      {20, 0.05, true, 52},   {20, 0.025, false, 52}, {8, 0.05, true, 3},      {8, 0.001, true, 0},
      {8, 0.2, true, 7},      {9, 0.01, true, 1},     {10, 0.0005, true, 0},    {11, 0.001, true, 0},
      {37, 0.03, true, 208},  {64, 0.1, false, 841},  {100, 0.2, true, 2137},   {100, 0.01, true, 1778},
      {101, 0.05, true, 1997}, {500, 0.01, false, 55105}, {92011, 0.05, true, 2100737633},
      {93000, 0.2, true, -1}, {1000000, 0.05, true, -1}, {7, 0.05, true, -1},   {1000001, 0.05, true, -1},
      {50, 4.99999e-4, true, 289}, {50, 0.20000001, true, 499}, {50, 4.9e-4, true, -1}, {50, 0.2000001, true, -1},
      {50, NaN, true, -1}};
  for (const auto& R : Rows) EXPECT_EQ(WilcoxonSRQuantile(R.n, R.Alpha, R.Two), R.Want) << R.n << ", " << R.Alpha;
}

TEST(WilcoxonSRQuantile, TableRowsFromExactCounts) {
  // The exact rows (largest t with P(T <= t) <= alpha / 2, counted as the
  // coefficients of prod (1 + x^k) with numpy.convolve on Python integers)
  // n = 12: 17 13 9 7 1, n = 30: 151 137 120 109 78, n = 75: 1112 1053 986
  // 940 811; the parabola of numpy.polyfit through them, at the five levels,
  // rounded. At n = 8 three points give the parabola through them.
  const double Levels[5] = {0.1, 0.05, 0.02, 0.01, 0.001};
  const struct { int32_t n; int32_t Want[5]; } Rows[] = {
      {8, {5, 3, 1, 0, 0}}, {12, {17, 13, 9, 7, 1}}, {30, {151, 137, 120, 109, 78}}, {75, {1111, 1055, 986, 939, 811}}};
  for (const auto& R : Rows)
    for (int j = 0; j < 5; ++j) EXPECT_EQ(WilcoxonSRQuantile(R.n, Levels[j], true), R.Want[j]) << R.n << ", " << j;
}

}  // namespace
}  // namespace orv
