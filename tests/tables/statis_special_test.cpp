// The gamma, beta and error functions and binomial coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_statis.h"

namespace orv {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(LnGamma, WithinThreeTenBillionthsOnItsRange) {
  // x, ln Gamma(x): mpmath.loggamma(x) at 30 digits
  const struct { double X, Want; } Rows[] = {
      {0.01, 4.599479878042022}, {0.1, 2.252712651734206},     {0.5, 0.5723649429247001},  {1, 0.0},
      {1.5, -0.12078223763524522}, {2, 0.0},                   {3.7, 1.428072326665388},   {7.25, 7.0521854507385395},
      {15.17, 25.646852405279},  {42, 114.0342117814617},      {100, 359.1342053695754},   {155.5, 627.6495628391363},
      {200, 857.9336698258575}};
  for (const auto& R : Rows) EXPECT_NEAR(LnGamma(R.X), R.Want, 3e-10) << "x = " << R.X;
  EXPECT_EQ(LnGamma(0), 0.0);
  EXPECT_EQ(LnGamma(-2.5), 0.0);
  EXPECT_EQ(LnGamma(Inf), Inf);
  EXPECT_TRUE(std::isnan(LnGamma(NaN)));
  EXPECT_EQ(LnBeta(-1, 2), 0.0);
  EXPECT_NEAR(LnBeta(2, 3), std::log(1.0 / 12), 1e-9);  // B(2, 3) = 1/12
}

TEST(IncompleteGamma, RelativeErrorOfThePinnedSeriesAndFraction) {
  // x, a, P(a, x): mpmath.gammainc(a, 0, x, regularized=True) at 30 digits.
  // The series stops at a term below 1e-8 of the sum; its tail makes the
  // error grow with sqrt(a) to 5.5e-8 near x = a = 1000.
  const struct { double X, A, Want; } Rows[] = {
      {0.01, 0.1, 0.6626212599544798}, {2.5, 0.1, 0.9970562023960723},   {0.2, 0.5, 0.4729107431344619},
      {3, 0.5, 0.9856941215645704},    {1, 1, 0.6321205588285577},       {0.5, 2.5, 0.03743422675270363},
      {6, 2.5, 0.9652122194937581},    {5, 10, 0.03182805730620481},     {11, 10, 0.6594893575343389},
      {20, 10, 0.9950045876916924},    {40, 50, 0.07033506665939496},    {51, 50, 0.5743948595168596},
      {80, 100, 0.017108313035133115}, {100.5, 100, 0.5331713862474466}, {330, 300, 0.955109776129987},
      {950, 1000, 0.05505468623073803}, {1000, 1000, 0.5042052441802155}, {1001.5, 1000, 0.523105903893083},
      {1100, 1000, 0.99894067674607}};
  for (const auto& R : Rows)
    EXPECT_NEAR(IncompleteGamma(R.X, R.A), R.Want, 6e-8 * R.Want) << "x = " << R.X << ", a = " << R.A;
  EXPECT_EQ(IncompleteGamma(0, 2), 0.0);
  EXPECT_EQ(IncompleteGamma(3, 0), 0.0);
  EXPECT_EQ(IncompleteGamma(-1, 2), 0.0);
  EXPECT_EQ(IncompleteGamma(Inf, 2), 1.0);
  EXPECT_EQ(IncompleteGamma(5, Inf), 0.0);
  EXPECT_TRUE(std::isnan(IncompleteGamma(NaN, 2)));
  EXPECT_TRUE(std::isnan(IncompleteGamma(2, NaN)));
  // a + 1 = a in double: the series' terms no longer shrink; it must still
  // end, with NaN, as no method settles there. Far below the peak: 0.
  EXPECT_TRUE(std::isnan(IncompleteGamma(1e17, 1e17 + 64)));
  EXPECT_EQ(IncompleteGamma(9e300, 1e301), 0.0);
}

TEST(IncompleteGammaAndBeta, BeyondTheirIterationsFullPrecisionOrNaN) {
  // Where the documented iterations cannot reach their accuracy, the
  // full-precision result or NaN, never the plausible numbers they gave
  // (in brackets). P(a, x) from mpmath at 40 digits:
  //   exp(a log x - x - loggamma(a + 1)) * sum of x^n / ((a + 1) ... (a + n))
  // (mpmath.gammainc's own series gives up there); I_x(a, a) = 0.5 at 0.5.
  const struct {
    double X, A, B, Want;  // B = 0: IncompleteGamma
  } Rows[] = {{10001, 1e4, 0, 0.50531893196221856869},     // (0.50531776)
              {100001, 1e5, 0, 0.50168207890970723393},    // (0.48809102)
              {1000001, 1e6, 0, 0.50053192274206756324},   // (0.15677106)
              {1e15, 1e15 + 1, 0, NaN},                    // (0.0874)
              {1e15 + 1, 1e15, 0, NaN},                    // (-16334.9)
              {1e12, 1e12, 0, NaN},                        // (0.4974)
              {0.5, 1e7, 1e7, 0.5},
              {0.5, 1e12, 1e12, NaN}};                     // (0.4977)
  for (const auto& R : Rows) {
    const double Got = R.B == 0 ? IncompleteGamma(R.X, R.A) : IncompleteBeta(R.X, R.A, R.B);
    if (std::isnan(R.Want))
      EXPECT_TRUE(std::isnan(Got)) << R.X << ", " << R.A << ", " << R.B << ": " << Got;
    else
      EXPECT_NEAR(Got, R.Want, 1e-7 * R.Want) << R.X << ", " << R.A << ", " << R.B;
  }
  // The chi-square distribution's own series does not settle near the
  // centre at df 1e12 (it gave 0.94 for 0.4999998).
  EXPECT_TRUE(std::isnan(Chi2DistriUpperTail(1e12, 1e12)));
}

TEST(IncompleteBeta, ContinuedFractionRunsToConvergence) {
  // x, a, b, I_x(a, b): mpmath.betainc(a, b, 0, x, regularized=True) at 30
  // digits; from 1e5 on the continued fraction by Lentz's method in mpmath
  // at 40 digits (mpmath's hypergeometric series does not converge there),
  // checked against the exact 0.5 of a = b at x = 0.5.
  const struct { double X, A, B, Want; } Rows[] = {
      {0.2, 0.3, 0.3, 0.3545229841223989}, {0.9, 0.3, 5, 0.9999988725283055}, {0.05, 2, 3, 0.014018750000000002},
      {0.5, 2, 3, 0.6875},                 {0.7, 2, 3, 0.9163},               {0.3, 10, 20, 0.3640040810719442},
      {0.5, 10, 20, 0.9692858271300793},   {0.97, 50, 1.5, 0.3823081296406261}, {0.6, 100, 80, 0.885574044073776},
      {0.4, 250, 400, 0.7905451093487637}, {0.62, 1000, 600, 0.3384729279585407},
      {0.001, 0.5, 1000, 0.842752725733276}, {0.5, 1000, 1000, 0.5}};
  for (const auto& R : Rows)
    EXPECT_NEAR(IncompleteBeta(R.X, R.A, R.B), R.Want, 1e-8 * R.Want) << R.X << ", " << R.A << ", " << R.B;
  // Stopped after 100 steps these were 0.49989 and -0.17.
  const struct { double X, A, B, Want; } Big[] = {
      {0.5, 1e5, 1e5, 0.5},           {0.5, 1e7, 1e7, 0.5},           {0.4999, 1e7, 1e7, 0.18554668535934216},
      {0.9691, 1e7, 316227.766, 2.2915925968158202e-06}, {0.2, 2e4, 8e4, 0.5006307841555017},
      {0.50005, 1e6, 1e6, 0.5562314511665831}};
  for (const auto& R : Big)
    EXPECT_NEAR(IncompleteBeta(R.X, R.A, R.B), R.Want, 1e-7) << R.X << ", " << R.A << ", " << R.B;
  EXPECT_EQ(IncompleteBeta(-0.1, 2, 3), 0.0);
  EXPECT_EQ(IncompleteBeta(0, 2, 3), 0.0);
  EXPECT_EQ(IncompleteBeta(1, 2, 3), 1.0);
  EXPECT_EQ(IncompleteBeta(1.5, 2, 3), 1.0);
  for (double Bad : {0.0, -1.0, Inf, NaN}) {
    EXPECT_TRUE(std::isnan(IncompleteBeta(0.5, Bad, 3))) << Bad;
    EXPECT_TRUE(std::isnan(IncompleteBeta(0.5, 3, Bad))) << Bad;
  }
  EXPECT_TRUE(std::isnan(IncompleteBeta(NaN, 2, 3)));
}

TEST(ErrorFunction, ExactAndApproximate) {
  // x, erf(x): mpmath.erf(x) at 30 digits
  const struct { double X, Want; } Rows[] = {{1e-8, 1.1283791670955126e-08}, {0.1, 0.1124629160182849},
                                             {0.5, 0.5204998778130465},      {1, 0.8427007929497149},
                                             {1.5, 0.9661051464753108},      {2.5, 0.999593047982555},
                                             {4, 0.9999999845827421},        {6, 1.0}};
  for (const auto& R : Rows) {
    EXPECT_NEAR(Erf(R.X), R.Want, 5e-8 * R.Want) << "x = " << R.X;
    EXPECT_EQ(Erf(-R.X), -Erf(R.X)) << "x = " << R.X;
    EXPECT_NEAR(ErfApprox(R.X), R.Want, 1.2e-7) << "x = " << R.X;
    EXPECT_NEAR(ErfApprox(-R.X), -R.Want, 1.2e-7) << "x = " << R.X;
  }
  EXPECT_EQ(Erf(0), 0.0);
  EXPECT_NEAR(ErfApprox(0), 0.0, 1.2e-7);
  EXPECT_EQ(Erf(1e200), 1.0);
  EXPECT_EQ(ErfApprox(-1e200), -1.0);
}

TEST(BinomCoeff, ExactAndSaturated) {
  // n, k, C(n, k): Python math.comb; INT32_MAX where it does not fit.
  // 55302 over 2 is the first that the rounded exp(LnBinomCoeff) misses.
  const struct { int32_t N, K, Want; } Rows[] = {
      {5, 2, 10},           {0, 0, 1},     {2, 5, 0},           {-1, 0, 0},       {5, -1, 0},
      {33, 16, 1166803110}, {34, 17, INT32_MAX}, {13388110, 1, 13388110}, {INT32_MAX, 1, INT32_MAX},
      {INT32_MAX, INT32_MAX - 1, INT32_MAX}, {65536, 2, 2147450880}, {65537, 2, INT32_MAX}, {1000, 997, 166167000},
      {55302, 2, 1529127951}};
  for (const auto& R : Rows) EXPECT_EQ(BinomCoeff(R.N, R.K), R.Want) << R.N << " over " << R.K;
  EXPECT_EQ(LnBinomCoeff(2, 5), -1.0);
  EXPECT_EQ(LnBinomCoeff(-3, 1), -1.0);
  EXPECT_NEAR(LnBinomCoeff(50, 25), std::log(126410606437752.0), 1e-9);  // math.comb(50, 25)
}

}  // namespace
}  // namespace orv
