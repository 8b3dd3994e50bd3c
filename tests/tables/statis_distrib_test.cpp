// The normal, Weibull and hypergeometric distributions, the Fisher transform
// and the confidence interval of a mean.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_statis.h"
#include "support/raises.h"

namespace orv {
namespace {

using test::ExpectRaises;

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(NormalDistribution, IntegralKeepsItsRelativeAccuracyInTheLowerTail) {
  // x, Phi(x): mpmath.ncdf(x) at 30 digits. 0.5 (1 - P) was 0 below -8.3
  // and 2 % off at -8.
  const struct { double X, Want; } Rows[] = {
      {-37, 5.725571222524577e-300}, {-30, 4.906713927148187e-198}, {-20, 2.7536241186062337e-89},
      {-10, 7.619853024160525e-24},  {-8.3, 5.205569744890254e-17}, {-8, 6.220960574271784e-16},
      {-5, 2.866515718791939e-07},   {-3, 0.0013498980316300946},   {-1.7, 0.04456546275854304},
      {-1, 0.15865525393145705},     {-0.3, 0.3820885778110474},    {0, 0.5},
      {0.3, 0.6179114221889527},     {1, 0.8413447460685429},       {1.9, 0.9712834401839981},
      {3, 0.9986501019683699},       {5, 0.9999997133484281},       {8, 0.9999999999999993}};
  for (const auto& R : Rows) EXPECT_NEAR(nDistriIntegral(R.X), R.Want, 1e-7 * R.Want) << "x = " << R.X;
  EXPECT_EQ(nDistriIntegral(-Inf), 0.0);
  EXPECT_EQ(nDistriIntegral(Inf), 1.0);
  EXPECT_TRUE(std::isnan(nDistriIntegral(NaN)));
  EXPECT_DOUBLE_EQ(nDistriDensity(0), 0.3989422804014327);
  EXPECT_DOUBLE_EQ(nDistriDensity(-2), 0.3989422804014327 * std::exp(-2.0));
}

TEST(NormalDistribution, QuantileOverTheWholeRange) {
  // p, z: mpmath.findroot of log(ncdf(z)) = log(min(p, 1 - p)) at 60 digits,
  // negated above 0.5. Below 1e-9 the bisection never ended; above 0.5 it
  // stopped early (5e-6 off at 0.9999); below 1.1e-16 it took ln 0.
  const struct { double P, Want; } Rows[] = {
      {1e-300, -37.0470962993612}, {1e-100, -21.273453560965326}, {1e-20, -9.262340089798407},
      {1e-10, -6.361340902404057}, {1e-09, -5.9978070150076865}, {1e-05, -4.264890793922825},
      {0.001, -3.0902323061678136}, {0.025, -1.9599639845400543}, {0.1, -1.2815515655446004},
      {0.2, -0.8416212335729142},  {0.45, -0.12566134685507402}, {0.5, 0.0},
      {0.55, 0.12566134685507416}, {0.8, 0.8416212335729144},    {0.975, 1.9599639845400538},
      {0.9999, 3.7190164854557084}, {0.9999999, 5.199337582290661}, {0.999999999999, 7.0344869100478356},
      {0.9999999999999999, 8.209536151601387}};
  for (const auto& R : Rows) {
    // Relative 1e-8 in the tails; near the median, where that is beyond the
    // stopping rule, absolute 2e-8.
    const double Tol = std::fabs(R.Want) < 0.8 ? 2e-8 : 1e-8 * std::fabs(R.Want);
    EXPECT_NEAR(nDistriQuantile(R.P), R.Want, Tol) << "p = " << R.P;
  }
  EXPECT_EQ(nDistriQuantile(0), 0.0);
  EXPECT_EQ(nDistriQuantile(1), 0.0);
  EXPECT_EQ(nDistriQuantile(-0.5), 0.0);
  EXPECT_TRUE(std::isfinite(nDistriQuantile(5e-324)));
  EXPECT_TRUE(std::isnan(nDistriQuantile(NaN)));
  // z(0.975) 2 / sqrt(25); the rest the neutral -1
  EXPECT_NEAR(ConfidenceInterval(0.05, 2, 25), 0.7839855938160215, 1e-8);
  EXPECT_EQ(ConfidenceInterval(0.05, 2, 0), -1.0);
}

TEST(WeibullDensity, PowersAndTheirRange) {
  // x, beta, eta, density: beta/eta (x/eta)^(beta-1) exp(-(x/eta)^beta) in
  // mpmath at 30 digits. The last two overflowed eta^beta into NaN.
  const struct { double X, Beta, Eta, Want; } Rows[] = {
      {1, 2, 1, 0.7357588823428847},         {0.5, 1.5, 2, 0.33093633846922327},
      {3, 0.7, 1.2, 0.06633562454612847},    {1e10, 40, 1e10, 1.4715177646857694e-09},
      {1e-10, 40, 1e-10, 147151776468.57693}};
  for (const auto& R : Rows)
    EXPECT_NEAR(WeibullDensity(R.X, R.Beta, R.Eta), R.Want, 1e-13 * R.Want) << R.X << ", " << R.Beta << ", " << R.Eta;
  EXPECT_EQ(WeibullDensity(2e-10, 35, 1e-10), 0.0);  // underflows; not NaN
  EXPECT_EQ(WeibullDensity(0, 2, 1), 0.0);
  EXPECT_EQ(WeibullDensity(1, 2, 0), 0.0);
  EXPECT_EQ(WeibullDensity(1, -2, 1), 0.0) << "no negative density";
  EXPECT_EQ(WeibullDensity(Inf, 2, 1), 0.0);
  EXPECT_TRUE(std::isnan(WeibullDensity(NaN, 2, 1)));
}

TEST(HyperGeoDistriDensity, ProbabilitiesAndArgumentChecks) {
  // scipy.stats.hypergeom.pmf(k, M, n, N); the first also 100 / 210
  EXPECT_NEAR(HyperGeoDistriDensity(0.5, 10, 4, 2), 100.0 / 210, 1e-9);
  EXPECT_NEAR(HyperGeoDistriDensity(0.3, 1000, 10, 3), 0.26817131263929883, 1e-9);
  EXPECT_EQ(HyperGeoDistriDensity(0.5, 10, 4, 5), 0.0);   // k > nsample
  EXPECT_EQ(HyperGeoDistriDensity(0.2, 10, 4, 3), 0.0);   // k > m = 2
  EXPECT_EQ(HyperGeoDistriDensity(0.9, 10, 4, 2), 0.0);   // k < nsample + m - npop = 3
  EXPECT_EQ(HyperGeoDistriDensity(0.5, 10, 4, -1), 0.0);
  EXPECT_NEAR(HyperGeoDistriDensity(1, 10, 10, 10), 1.0, 1e-9);
  ExpectRaises<EORVStatisError>([] { HyperGeoDistriDensity(1.5, 0, 0, 0); },
                                "HyperGeoDistriDensity: probability p must be between 0.0 and 1.0");
  ExpectRaises<EORVStatisError>([] { HyperGeoDistriDensity(NaN, 10, 4, 2); },
                                "HyperGeoDistriDensity: probability p must be between 0.0 and 1.0");
  ExpectRaises<EORVStatisError>([] { HyperGeoDistriDensity(0.5, 0, 5, 0); },
                                "HyperGeoDistriDensity: npop must be greater than 0");
  ExpectRaises<EORVStatisError>([] { HyperGeoDistriDensity(0.5, 4, 5, 0); },
                                "HyperGeoDistriDensity: nsample must not be greater than npop");
  ExpectRaises<EORVStatisError>([] { HyperGeoDistriDensity(0.5, 4, 0, 0); },
                                "HyperGeoDistriDensity: nsample must not be less than 1");
}

// Probabilities formed from rounded terms that passed 1 before they were
// bounded. Wanted: exact fractions of the counts (Python's fractions), the
// runs count summed by the Swed-Eisenhart formula: 1 - 7.8e-17 for
// (100, 100, 157), 1 for the others.
TEST(Probabilities, RoundingNeverLeavesZeroToOne) {
  double Low = 0, High = 0, Two = 0, Fisher[4] = {}, p2x2 = 0;
  FisherExactTest({{0, 5}, {7, 0}}, Low, High, Two);
  Fisher[0] = High;
  FisherExactTest({{5, 1}, {4, 1}}, Low, High, Two);
  Fisher[1] = Two;
  FisherExactTest({{0, 0}, {1, 3}}, Low, High, Two);
  Fisher[2] = Low;
  Fisher[3] = High;
  Prob2x2Contingency({{0, 0}, {1, 3}}, p2x2);
  const struct {
    const char* What;
    double P;
  } Rows[] = {{"FisherExactTest {{0,5},{7,0}} pHigh", Fisher[0]},
              {"FisherExactTest {{5,1},{4,1}} pTwoSided", Fisher[1]},
              {"FisherExactTest {{0,0},{1,3}} pLow", Fisher[2]},
              {"FisherExactTest {{0,0},{1,3}} pHigh", Fisher[3]},
              {"Prob2x2Contingency {{0,0},{1,3}}", p2x2},
              {"ExactRunsTest(100, 100, 157)", ExactRunsTest(100, 100, 157)},
              {"ExactRunsTest(18, 56, 40)", ExactRunsTest(18, 56, 40)},
              {"HyperGeoDistriDensity(1, 20, 20, 20)", HyperGeoDistriDensity(1, 20, 20, 20)},
              {"HyperGeoDistriDensity(0.5, 10, 10, 5)", HyperGeoDistriDensity(0.5, 10, 10, 5)}};
  for (const auto& R : Rows) {
    EXPECT_LE(R.P, 1.0) << R.What;
    EXPECT_NEAR(R.P, 1.0, 1e-15) << R.What;
  }
}

TEST(FisherTransform, PairStaysInRange) {
  EXPECT_NEAR(FisherTransform(0.5), 0.5493061443340549, 1e-15);  // atanh(0.5)
  for (double r : {-0.999, -0.3, 0.0, 0.5, 0.9}) EXPECT_NEAR(FisherTransformInv(FisherTransform(r)), r, 1e-15);
  for (double r : {1.0, -1.0, 2.0, NaN})
    ExpectRaises<EORVStatisError>([r] { FisherTransform(r); }, "FisherTransform: argument out of range");
  // tanh: NaN from inf / inf above 354 before
  for (double z : {354.0, 355.0, 1e300, Inf}) EXPECT_EQ(FisherTransformInv(z), 1.0) << z;
  for (double z : {-354.0, -355.0, -1e300, -Inf}) EXPECT_EQ(FisherTransformInv(z), -1.0) << z;
  EXPECT_DOUBLE_EQ(CalcFishQ(1, 3, 0, 0), 4e6);
}

}  // namespace
}  // namespace orv
