// TCurveFit: polynomial, circle and regression analysis of variance against
// NIST StRD certified values and closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "support/raises.h"

namespace orv {
namespace {

void Enter(TCurveFit& F, const std::vector<double>& X, const std::vector<double>& Y) {
  for (std::size_t I = 0; I < X.size(); ++I) F.EnterStatValue(X[I], Y[I]);
}

testing::AssertionResult Digits(double Got, double Want, double Rel) {
  if (std::fabs(Got - Want) <= Rel * std::fabs(Want)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Got << " vs " << Want << " (rel " << std::fabs(Got - Want) / std::fabs(Want)
                                     << ")";
}

// NIST StRD linear regression data sets (public domain), data and certified
// values from their files. Filip: y on x^0..x^10.
const std::vector<double> FilipX = {
    -6.860120914, -4.324130045, -4.358625055, -4.358426747, -6.955852379, -6.661145254, -6.355462942, -6.118102026,
    -7.115148017, -6.815308569, -6.519993057, -6.204119983, -5.853871964, -6.109523091, -5.79832982, -5.482672118,
    -5.171791386, -4.851705903, -4.517126416, -4.143573228, -3.709075441, -3.499489089, -6.300769497, -5.953504836,
    -5.642065153, -5.031376979, -4.680685696, -4.329846955, -3.928486195, -8.56735134, -8.363211311, -8.107682739,
    -7.823908741, -7.522878745, -7.218819279, -6.920818754, -6.628932138, -6.323946875, -5.991399828, -8.781464495,
    -8.663140179, -8.473531488, -8.247337057, -7.971428747, -7.676129393, -7.352812702, -7.072065318, -6.774174009,
    -6.478861916, -6.159517513, -6.835647144, -6.53165267, -6.224098421, -5.910094889, -5.598599459, -5.290645224,
    -4.974284616, -4.64454848, -4.290560426, -3.885055584, -3.408378962, -3.13200249, -8.726767166, -8.66695597,
    -8.511026475, -8.165388579, -7.886056648, -7.588043762, -7.283412422, -6.995678626, -6.691862621, -6.392544977,
    -6.067374056, -6.684029655, -6.378719832, -6.065855188, -5.752272167, -5.132414673, -4.811352704, -4.098269308,
    -3.66174277, -3.2644011};
const std::vector<double> FilipY = {
    0.8116, 0.9072, 0.9052, 0.9039, 0.8053, 0.8377, 0.8667, 0.8809, 0.7975, 0.8162, 0.8515, 0.8766, 0.8885, 0.8859,
    0.8959, 0.8913, 0.8959, 0.8971, 0.9021, 0.909, 0.9139, 0.9199, 0.8692, 0.8872, 0.89, 0.891, 0.8977, 0.9035,
    0.9078, 0.7675, 0.7705, 0.7713, 0.7736, 0.7775, 0.7841, 0.7971, 0.8329, 0.8641, 0.8804, 0.7668, 0.7633, 0.7678,
    0.7697, 0.77, 0.7749, 0.7796, 0.7897, 0.8131, 0.8498, 0.8741, 0.8061, 0.846, 0.8751, 0.8856, 0.8919, 0.8934,
    0.894, 0.8957, 0.9047, 0.9129, 0.9209, 0.9219, 0.7739, 0.7681, 0.7665, 0.7703, 0.7702, 0.7761, 0.7809, 0.7961,
    0.8253, 0.8602, 0.8809, 0.8301, 0.8664, 0.8834, 0.8898, 0.8964, 0.8963, 0.9074, 0.9119, 0.9228};
// Pontius: y on x^0..x^2, 40 pairs.
const std::vector<double> PontiusY = {
    .11019,  .21956,  .32949,  .43899,  .54803,  .65694,  .76562,  .87487,  .98292,  1.09146,
    1.20001, 1.30822, 1.41599, 1.52399, 1.63194, 1.73947, 1.84646, 1.95392, 2.06128, 2.16844,
    .11052,  .22018,  .32939,  .43886,  .54798,  .65739,  .76596,  .87474,  .98300,  1.09150,
    1.20004, 1.30818, 1.41613, 1.52408, 1.63159, 1.73965, 1.84696, 1.95445, 2.06177, 2.16829};

TEST(CurveFitPoly, SmallCasesAndArguments) {
  TCurveFit F;
  Enter(F, {1, 2, 4}, {2, 1, 5});
  TDoubleArray K, Alpha;  // empty: the fit sizes it
  double Q = -1;
  bool Near = true;
  ASSERT_TRUE(F.CalcPolyFit(2, K, Alpha, Q, Near));
  // Through the three points: y = 5 - 4 x + x^2 (closed form).
  ASSERT_EQ(K.size(), 3u);
  EXPECT_NEAR(K[0], 5, 1e-13);
  EXPECT_NEAR(K[1], -4, 1e-13);
  EXPECT_NEAR(K[2], 1, 1e-13);
  EXPECT_DOUBLE_EQ(Q, 1);
  EXPECT_FALSE(Near);
  EXPECT_EQ(Alpha, (TDoubleArray{0, 0, 0}));  // exact fit: no degrees of freedom
  // A longer kArray keeps its further cells.
  TDoubleArray Long(5, 9.0);
  ASSERT_TRUE(F.CalcPolyFit(1, Long, Q, Near));
  EXPECT_EQ(Long[2], 9.0);
  // Order not below the number of pairs, or negative: false, nothing written.
  K = {7};
  EXPECT_FALSE(F.CalcPolyFit(3, K, Q, Near));
  EXPECT_FALSE(F.CalcPolyFit(-1, K, Q, Near));
  EXPECT_EQ(K, TDoubleArray{7});
  // The centred form: XShift 0 takes the mean of x, another value stays.
  double Shift = 0;
  ASSERT_TRUE(F.CalcCenteredPolyFit(2, K, Shift, Q, Near));
  EXPECT_DOUBLE_EQ(Shift, 7.0 / 3);
  Shift = 5;
  ASSERT_TRUE(F.CalcCenteredPolyFit(2, K, Shift, Q, Near));
  EXPECT_EQ(Shift, 5);
  // y = 5 - 4 x + x^2 = 10 + 6 (x - 5) + (x - 5)^2
  EXPECT_NEAR(K[0], 10, 1e-12);
  EXPECT_NEAR(K[1], 6, 1e-12);
  EXPECT_NEAR(K[2], 1, 1e-13);
}

TEST(CurveFitPoly, NistCertifiedValues) {
  std::vector<double> X;
  for (int I = 0; I < 40; ++I) X.push_back(150000.0 * (I % 20 + 1));
  TCurveFit P;
  Enter(P, X, PontiusY);
  TDoubleArray K, Alpha;
  double Q;
  bool Near;
  ASSERT_TRUE(P.CalcPolyFit(2, K, Alpha, Q, Near));
  EXPECT_TRUE(Digits(K[0], 0.673565789473684E-03, 1e-11));
  EXPECT_TRUE(Digits(K[1], 0.732059160401003E-06, 1e-11));
  EXPECT_TRUE(Digits(K[2], -0.316081871345029E-14, 1e-11));
  EXPECT_TRUE(Digits(Q, 0.999999900178537, 1e-11));
  // Two-sided p-values, scipy.stats.t.sf(|b / sd|, 37) * 2 on the certified
  // coefficients and standard deviations.
  EXPECT_TRUE(Digits(Alpha[0], 2.970542032527809e-07, 1e-7));
  EXPECT_TRUE(Digits(Alpha[2], 9.83563372794902e-40, 1e-5));
  EXPECT_FALSE(Near);

  // Wampler1 and Wampler2: y = sum of c^k x^k, k = 0..5, x = 0..20; every
  // certified coefficient c^k, R^2 = 1.
  for (const double C : {1.0, 0.1}) {
    TCurveFit W;
    for (int I = 0; I <= 20; ++I) {
      double Y = 0, T = 1;
      for (int J = 0; J <= 5; ++J, T *= C * I) Y += T;
      W.EnterStatValue(I, Y);
    }
    ASSERT_TRUE(W.CalcPolyFit(5, K, Q, Near));
    const double Tol = C == 1 ? 1e-8 : 1e-10;
    for (int J = 0; J <= 5; ++J) EXPECT_TRUE(Digits(K[J], std::pow(C, J), Tol)) << "c " << C << " power " << J;
    EXPECT_TRUE(Digits(Q, 1, 1e-14));
  }

  // Filip, order 10, centred at XShift -6. Reference: the exact least-squares
  // solution in powers of (x + 6) from the published decimal data (mpmath, 60
  // digits); it agrees with the certified coefficients converted to that basis
  // as far as their 15 printed digits carry through the conversion (8 digits
  // for the power 1, 11 and more from the power 4 on).
  const double Shifted[11] = {0.88604832232643522,   0.044391717963502521,  -0.068482381073353905,
                              0.0066358593127778541, 0.03598465357793561,   -0.0050885824835579218,
                              -0.0086262514775933751, 0.00089864671709554096, 0.00096273774639223911,
                              -5.0035632272364481e-5, -4.0296252508040367e-5};
  TCurveFit Fi;
  Enter(Fi, FilipX, FilipY);
  double Shift = -6;
  ASSERT_TRUE(Fi.CalcCenteredPolyFit(10, K, Alpha, Shift, Q, Near));
  for (int J = 0; J <= 10; ++J) EXPECT_TRUE(Digits(K[J], Shifted[J], 1e-10)) << "power " << J;
  EXPECT_TRUE(Digits(Q, 0.996727416185620, 1e-10));
  EXPECT_FALSE(Near);
  // In plain powers of x the design's condition (1.8e15) passes the 1e-14
  // cut of the singular values: the fit says so.
  ASSERT_TRUE(Fi.CalcPolyFit(10, K, Q, Near));
  EXPECT_TRUE(Near);
}

TEST(CurveFitCircle, CentreAndRadius) {
  TCurveFit F;
  double r = 9, dx = 9, dy = 9;
  test::ExpectRaises<EORVMath2Error>([&] { F.CalcCircleFit(r, dx, dy); }, "CalcCircleFit: not enough data points");
  EXPECT_EQ(r + dx + dy, 0.0);
  Enter(F, {1, 0, -1, 0}, {0, 1, 0, -1});
  F.CalcCircleFit(r, dx, dy);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  EXPECT_DOUBLE_EQ(r, 1);
  // Centre (3, -2), radius 5: the points (3 +- 5, -2), (3, -2 +- 5), (6, 2).
  TCurveFit G;
  Enter(G, {8, -2, 3, 3, 6}, {-2, -2, 3, -7, 2});
  G.CalcCircleFit(r, dx, dy);
  EXPECT_NEAR(dx, 3, 1e-12);
  EXPECT_NEAR(dy, -2, 1e-12);
  EXPECT_NEAR(r, 5, 1e-12);
  TCurveFit L;
  Enter(L, {1, 2, 3}, {1, 2, 3});
  test::ExpectRaises<EORVMath2Error>([&] { L.CalcCircleFit(r, dx, dy); }, "CalcCircleFit: radius is infinite");
}

TEST(CurveFitAnova, RegressionTable) {
  // Longley (NIST StRD): observed values and the fitted values of the
  // certified coefficients (mpmath, 60 digits) as pairs; certified SS and F.
  const std::vector<double> Obs = {60323, 61122, 60171, 61187, 63221, 63639, 64989, 63761,
                                   66019, 67857, 68169, 66513, 68655, 69564, 69331, 70551};
  const std::vector<double> Fit = {60055.65997023501,  61216.013942393569, 60124.712832237193, 61597.11462192563,
                                   62911.285409234499, 63888.311215324452, 65153.048956390331, 63774.180356861087,
                                   66004.695227394668, 67401.60590544286,  68186.268927109546, 66552.055042517399,
                                   68810.549973590026, 69649.671308036832, 68989.068486033926, 70757.757825188441};
  TCurveFit F;
  Enter(F, Obs, Fit);
  int32_t Dreg, Dres, Dtot;
  double SSE, SSR, SST, MSE, MSR, Fv;
  F.CalcAnovaReg(6, true, Dreg, Dres, Dtot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ(Dreg, 6);
  EXPECT_EQ(Dres, 9);
  EXPECT_EQ(Dtot, 15);
  EXPECT_TRUE(Digits(SSE, 836424.055505915, 1e-10));
  EXPECT_TRUE(Digits(SSR, 184172401.944494, 1e-10));
  EXPECT_TRUE(Digits(SST, 185008826.0, 1e-12));
  EXPECT_TRUE(Digits(Fv, 330.285339234588, 1e-10));
  // Identical values: SSE and MSE 0, F the stand-in 1e10.
  TCurveFit G;
  Enter(G, {1, 2, 4}, {1, 2, 4});
  G.CalcAnovaReg(1, true, Dreg, Dres, Dtot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ(SSE + MSE, 0.0);
  EXPECT_EQ(Fv, 1e10);
  // No degrees of freedom left, no regressors, no pairs: zeros, never inf or NaN.
  G.CalcAnovaReg(2, true, Dreg, Dres, Dtot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ(Dres, 0);
  EXPECT_EQ(MSE, 0.0);
  EXPECT_EQ(Fv, 1e10);
  G.CalcAnovaReg(0, false, Dreg, Dres, Dtot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ(MSR + Fv, 0.0);
  TCurveFit E;
  E.CalcAnovaReg(1, true, Dreg, Dres, Dtot, SSE, SSR, SST, MSE, MSR, Fv);
  EXPECT_EQ(Dtot, -1);
  EXPECT_EQ(SSE + SSR + SST + MSE + MSR + Fv, 0.0);
}

}  // namespace
}  // namespace orv
