// Student's t, chi-square and F distributions.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orvcalckit/ORV_statis.h"

namespace orv {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Relative closeness; the tolerance grows to 1e-10 for df beyond 100, where
// the power factor's logarithms pass 1e3.
void ExpectRel(double Got, double Want, double Tol, const char* What, double x, double df) {
  EXPECT_NEAR(Got, Want, Tol * std::fabs(Want)) << What << " x = " << x << " df = " << df;
}

TEST(Chi2Distribution, TailsAndDensityAgainstScipy) {
  // x, df, cdf, sf, pdf: scipy.stats.chi2.cdf/sf/pdf (SciPy 1.10)
  const struct { double X, Df, Cdf, Sf, Pdf; } Rows[] = {
      {3.841458820694124, 1, 0.95000000000000007, 0.049999999999999892, 0.02981946110542984},
      {0.001, 1, 0.025227120630039609, 0.97477287936996038, 12.60935635549078},
      {0.5, 2, 0.22119921692859512, 0.77880078307140488, 0.38940039153570244},
      {1000, 10, 1, 1.870290720915977e-208, 9.27679219627759e-209},
      {1500, 50, 1, 3.1769336718753855e-281, 1.5377057138634053e-281},
      {50, 100, 6.9533052476162013e-06, 0.99999304669475242, 3.6021642652022523e-06},
      {10500, 10000, 0.99975205263201061, 0.00024794736798936033, 6.3397685711579957e-06},
      {0.25, 3, 0.030859595783726757, 0.96914040421627323, 0.17603266338214976}};
  for (const auto& R : Rows) {
    const double Tol = R.Df > 100 ? 1e-10 : 1e-12;
    ExpectRel(Chi2DistriIntegral(R.X, R.Df), R.Cdf, Tol, "cdf", R.X, R.Df);
    ExpectRel(Chi2DistriUpperTail(R.X, R.Df), R.Sf, Tol, "sf", R.X, R.Df);
    ExpectRel(Chi2DistriDensity(R.X, R.Df), R.Pdf, R.Df > 100 ? 1e-10 : 1e-13, "pdf", R.X, R.Df);
  }
  // At 0: the density x^(df/2 - 1) / (2^(df/2) Gamma(df/2)) by its limit.
  EXPECT_EQ(Chi2DistriDensity(0, 1), Inf);
  EXPECT_EQ(Chi2DistriDensity(0, 2), 0.5);
  EXPECT_EQ(Chi2DistriDensity(0, 3), 0.0);
  EXPECT_EQ(Chi2DistriDensity(-1, 3), 0.0);
  EXPECT_EQ(Chi2DistriIntegral(-1, 3), 0.0);
  EXPECT_EQ(Chi2DistriUpperTail(0, 3), 1.0);
  EXPECT_EQ(Chi2DistriUpperTail(Inf, 3), 0.0);
  EXPECT_TRUE(std::isnan(Chi2DistriIntegral(NaN, 3)));
  EXPECT_TRUE(std::isnan(Chi2DistriIntegral(1, 0)));
  EXPECT_TRUE(std::isnan(Chi2DistriUpperTail(1, Inf)));
}

TEST(StudentDistribution, TailsAndDensityAgainstScipy) {
  // t, df, cdf, sf: scipy.stats.t.cdf/sf; pdf: mpmath at 40 digits (SciPy's
  // t.pdf is off by 1e-12 for df = 10^4)
  const struct { double T, Df, Cdf, Sf, Pdf; } Rows[] = {
      {2, 5, 0.9490302605850709, 0.05096973941492914, 0.065090310326216466},
      {-40, 3, 1.719034039457927e-05, 0.9999828096596054, 1.2873450289638433e-6},
      {1e6, 1, 0.99999968169011388, 3.1830988618368455e-07, 3.1830988618347236e-13},
      {0.1, 100, 0.53972773445207434, 0.46027226554792561, 0.3959417244408077},
      {-30, 10000, 1.0221635237128531e-189, 1, 2.8164124559252912e-188},
      {-7.5, 2.5, 0.0044760282874660778, 0.99552397171253393, 0.001442481578107179},
      {0, 7, 0.5, 0.5, 0.38499145083226733}};
  for (const auto& R : Rows) {
    const double Tol = R.Df > 100 ? 1e-10 : 1e-12;
    ExpectRel(tDistriIntegral(R.T, R.Df), R.Cdf, Tol, "cdf", R.T, R.Df);
    ExpectRel(tDistriUpperTail(R.T, R.Df), R.Sf, Tol, "sf", R.T, R.Df);
    ExpectRel(tDistriDensity(R.T, R.Df), R.Pdf, R.Df > 100 ? 1e-10 : 1e-13, "pdf", R.T, R.Df);
  }
  // Beyond t^2 = DBL_MAX: 1 / (pi |t|), the Cauchy tail (closed form).
  ExpectRel(tDistriIntegral(-1e200, 1), 3.1830988618379067e-201, 1e-13, "cdf", -1e200, 1);
  EXPECT_EQ(tDistriIntegral(-Inf, 4), 0.0);
  EXPECT_EQ(tDistriIntegral(Inf, 4), 1.0);
  EXPECT_EQ(tDistriDensity(Inf, 4), 0.0);
  EXPECT_TRUE(std::isnan(tDistriIntegral(1, -2)));
  EXPECT_TRUE(std::isnan(tDistriDensity(NaN, 2)));
}

TEST(StudentDistribution, QuantileDownToTinyProbabilities) {
  // p, df, t: bisection of mpmath.betainc at 50 digits (scipy.stats.t.ppf
  // of SciPy 1.10 is up to 1e-9 off, and gives -1e100 for 1e-300 at df = 1,
  // where 1 / tan(pi p) is the closed form)
  const struct { double P, Df, Want; } Rows[] = {
      {0.975, 10, 2.2281388519862742},      {1e-20, 5, -15683.925454365776},
      {0.3, 3, -0.58438972743981871},       {0.999, 10000, 3.0910475160306118},
      {1e-100, 150, -54.206691363231634},   {0.05, 1, -6.3137515146750427},
      {0.9, 2, 1.885618083164127},          {0.6, 30, 0.25560536495191271},
      {1e-300, 1, -3.1830988618379066e+299}, {1e-200, 150, -257.61603087384583}};
  for (const auto& R : Rows) {
    EXPECT_NEAR(tDistriQuantile(R.P, R.Df), R.Want, (R.Df > 100 ? 1e-10 : 1e-12) * std::fabs(R.Want))
        << "p = " << R.P << " df = " << R.Df;
  }
  EXPECT_EQ(tDistriQuantile(0.5, 3), 0.0);
  EXPECT_EQ(tDistriQuantile(0, 3), -Inf);
  EXPECT_EQ(tDistriQuantile(1, 3), Inf);
  EXPECT_TRUE(std::isnan(tDistriQuantile(1.5, 3)));
  EXPECT_TRUE(std::isnan(tDistriQuantile(0.5, 0)));
  // df = 0.05: the quantile of 1e-300 lies beyond the double range.
  EXPECT_EQ(tDistriQuantile(1e-300, 0.05), -Inf);
}

TEST(FDistribution, TailsAndDensity) {
  // x, df1, df2, cdf, sf: mpmath.betainc at 40 digits (scipy.stats.f.sf is
  // 1e-11 off at df 3000/10000); pdf: scipy.stats.f.pdf
  const struct { double X, D1, D2, Cdf, Sf, Pdf; } Rows[] = {
      {3, 5, 10, 0.93444243790615589, 0.065557562093844113, 0.055826731145572114},
      {0.001, 1, 100, 0.025164090724080562, 0.97483590927591944, 12.577810002591349},
      {200, 10, 20, 0.99999999999999999, 8.7400752660670284e-18, 4.3110541215160529e-19},
      {1.05, 3000, 10000, 0.95251628721178602, 0.047483712788213977, 3.2293428412922522},
      {0.5, 2, 2, 0.33333333333333333, 0.66666666666666667, 0.44444444444444453},
      {1e5, 30, 4, 0.99999999978666989, 2.1333010965864277e-10, 4.2665699567161103e-15}};
  for (const auto& R : Rows) {
    const double Tol = R.D2 > 100 ? 1e-10 : 1e-12;
    ExpectRel(FDistriIntegral(R.X, R.D1, R.D2), R.Cdf, Tol, "cdf", R.X, R.D1);
    ExpectRel(FDistriUpperTail(R.X, R.D1, R.D2), R.Sf, Tol, "sf", R.X, R.D1);
    ExpectRel(FDistriDensity(R.X, R.D1, R.D2), R.Pdf, R.D2 > 100 ? 1e-10 : 1e-13, "pdf", R.X, R.D1);
  }
  EXPECT_EQ(FDistriDensity(0, 1, 5), Inf);
  EXPECT_EQ(FDistriDensity(0, 2, 5), 1.0);
  EXPECT_EQ(FDistriDensity(0, 3, 5), 0.0);
  EXPECT_EQ(FDistriUpperTail(-2, 3, 5), 1.0);
  EXPECT_EQ(FDistriIntegral(Inf, 3, 5), 1.0);
  EXPECT_TRUE(std::isnan(FDistriIntegral(1, 3, NaN)));
}

}  // namespace
}  // namespace orv
