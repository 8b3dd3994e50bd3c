// TCurveFit: pairs, running sums, descriptive statistics, line and parabola.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/raises.h"

namespace orv {
namespace detail {
struct TCurveFitProbe {
  static const auto& Sums(const TCurveFit& F) { return F.S; }
  static uint8_t Flags(const TCurveFit& F) { return F.FErrIndic; }
  static int32_t Rows(const TCurveFit& F) { return F.FData.NrOfRows(); }
  static std::vector<long double> All(const TCurveFit& F) {
    const auto& S = F.S;
    return {S.sumx, S.sumy, S.sumxq, S.sumyq, S.sumDiff, S.SumDiffq, S.sumxy, S.sumx2y, S.sumxy2, S.sumx3, S.sumy3,
            S.sumx4, S.sumy4, S.sum1byy, S.sum1byxy, S.sum1byyq, S.sumxbyy, S.sumybyx, S.sum1byx, S.sum1byxq,
            S.sumlnx, S.sumlnxlny, S.sumlnxq, S.sumylny, S.sumylnx, S.sumxlnx, S.sumlnxbyy, S.sumlnybyx, S.sumlny,
            S.sumlnyq, S.sumxlny, S.sumxqlny, S.sumyqlnx};
  }
};
}  // namespace detail

namespace {

using Probe = detail::TCurveFitProbe;
constexpr uint8_t B(TCurveFitError E) { return static_cast<uint8_t>(1u << E); }

void Enter(TCurveFit& F, const std::vector<double>& X, const std::vector<double>& Y) {
  for (std::size_t I = 0; I < X.size(); ++I) F.EnterStatValue(X[I], Y[I]);
}

// NIST StRD, Pontius (public domain): 40 pairs, certified values from its file.
const std::vector<double> PontiusY = {
    .11019,  .21956,  .32949,  .43899,  .54803,  .65694,  .76562,  .87487,  .98292,  1.09146,
    1.20001, 1.30822, 1.41599, 1.52399, 1.63194, 1.73947, 1.84646, 1.95392, 2.06128, 2.16844,
    .11052,  .22018,  .32939,  .43886,  .54798,  .65739,  .76596,  .87474,  .98300,  1.09150,
    1.20004, 1.30818, 1.41613, 1.52408, 1.63159, 1.73965, 1.84696, 1.95445, 2.06177, 2.16829};
std::vector<double> PontiusX() {
  std::vector<double> X;
  for (int I = 0; I < 40; ++I) X.push_back(150000.0 * (I % 20 + 1));
  return X;
}
constexpr double PontiusB0 = 0.673565789473684E-03, PontiusB1 = 0.732059160401003E-06,
                 PontiusB2 = -0.316081871345029E-14, PontiusR2 = 0.999999900178537;

testing::AssertionResult Digits(double Got, double Want, double Rel) {
  if (std::fabs(Got - Want) <= Rel * std::fabs(Want)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Got << " vs " << Want << " (rel " << std::fabs(Got - Want) / std::fabs(Want)
                                     << ")";
}

// Zero and negative values: the flags met and the uc_MaxReal sentinels of the
// reciprocal terms, which long double holds without overflow (M^2 too).
TEST(CurveFit, ZeroRulesOfTheSums) {
  const long double M = uc_MaxReal;
  {
    TCurveFit F;
    F.EnterStatValue(0, 5);
    EXPECT_EQ(Probe::Flags(F), B(cfeXLE0) | B(cfeXEQ0));
    EXPECT_EQ(Probe::Sums(F).sum1byx, M);
    EXPECT_EQ(Probe::Sums(F).sum1byxq, M * M);
    EXPECT_EQ(Probe::Sums(F).sumybyx, 5 * M);
    EXPECT_EQ(Probe::Sums(F).sumlny, std::log(5.0L));
  }
  {
    TCurveFit F;
    F.EnterStatValue(2, 0);
    EXPECT_EQ(Probe::Flags(F), B(cfeYLE0) | B(cfeYEQ0));
    EXPECT_EQ(Probe::Sums(F).sum1byxy, M / 2);
    EXPECT_EQ(Probe::Sums(F).sumxbyy, 2 * M);
    // Removing the pair takes every term back, the flags stay.
    F.RemoveStatValue(1);
    EXPECT_EQ(Probe::Sums(F).sum1byxy, 0.0L);
    EXPECT_EQ(Probe::Sums(F).sum1byyq, 0.0L);
    EXPECT_EQ(Probe::Flags(F), B(cfeYLE0) | B(cfeYEQ0));
  }
  {
    TCurveFit F;
    F.EnterStatValue(-1e-31, 3);  // within 1e-30 counts as zero, but is no logarithm
    EXPECT_EQ(Probe::Flags(F), B(cfeXLE0) | B(cfeXEQ0));
    EXPECT_EQ(Probe::Sums(F).sumlnx, 0.0L);
  }
}

TEST(CurveFit, StorageAndRemoval) {
  TCurveFit F;
  EXPECT_EQ(F.MinX(), DBL_MAX);  // empty
  EXPECT_EQ(F.MaxY(), -DBL_MAX);
  EXPECT_EQ(F.MeanAngleX() + F.MeanX() + F.StdDevX(), 0.0);
  for (int I = 1; I <= 1001; ++I) EXPECT_EQ(F.EnterStatValue(I, -I), I);
  EXPECT_EQ(Probe::Rows(F), 2000);
  F.Init();
  EXPECT_EQ(Probe::Rows(F), 2000);
  for (int I = 1; I <= 300; ++I) F.EnterStatValue(I, 2 * I);
  F.RemoveStatValue(2);
  F.RemoveStatValue(0);    // ignored
  F.RemoveStatValue(300);  // beyond the 299 left: ignored
  ASSERT_EQ(F.NumData(), 299);
  for (int I = 2; I <= 299; ++I) ASSERT_EQ(F.DataY(I), 2 * (I + 1)) << I;
  EXPECT_EQ(F.DataX(300), 0.0);
  F.RemoveStatValue(1);
  EXPECT_EQ(F.MinX(), 1);  // not recomputed
  // Without pairs the percentiles read nothing (row 1 still holds a pair).
  while (F.NumData() > 0) F.RemoveStatValue(F.NumData());
  double Q1 = 1, Q2 = 1, Q3 = 1;
  EXPECT_FALSE(F.QuartilesX(Q1, Q2, Q3));
  EXPECT_EQ(Q1 + Q2 + Q3, 0.0);
  EXPECT_EQ(F.PercentileY(50), 0.0);
  EXPECT_EQ(F.SkewnessX(), 0.0);
  EXPECT_EQ(Probe::Sums(F).sumx, 0.0L);  // integers: exact after every removal
}

// References from NumPy/SciPy (np.std ddof=1, scipy.stats.pearsonr, skew and
// kurtosis with bias=False, np.percentile method 'weibull').
TEST(CurveFit, DescriptiveStatistics) {
  TCurveFit F;
  const std::vector<double> D = {1.5, 2.5, 2.0, 8.0, 3.25, -1.0, 4.0, 2.0}, E = {2.0, 1.0, 4.5, 3.0, 7.0, 0.5, 5.0, 6.0};
  Enter(F, D, E);
  int32_t N = 0;
  double Mx, My, Sx, Sy, Md, Sd, R;
  F.CalcStatistics(N, Mx, My, Sx, Sy, Md, Sd, R);
  EXPECT_EQ(N, 8);
  EXPECT_DOUBLE_EQ(Mx, 2.78125);
  EXPECT_DOUBLE_EQ(My, 3.625);
  EXPECT_DOUBLE_EQ(Sx, 2.5684816943645354);
  EXPECT_DOUBLE_EQ(Sy, 2.3717082451262845);
  EXPECT_DOUBLE_EQ(Sd, 2.9608682968731608);
  EXPECT_DOUBLE_EQ(R, 0.28361239572610014);
  EXPECT_DOUBLE_EQ(F.SkewnessX(), 0.9769109157364869);
  EXPECT_DOUBLE_EQ(F.KurtosisX(), 2.59886842903852);
  double Q1, Q2, Q3;
  EXPECT_TRUE(F.QuartilesX(Q1, Q2, Q3));
  EXPECT_DOUBLE_EQ(Q1, 1.625);
  EXPECT_DOUBLE_EQ(Q2, 2.25);
  EXPECT_DOUBLE_EQ(Q3, 3.8125);
  EXPECT_EQ(F.PercentileY(100), 7.0);
  // Flipping exchanges the roles; twice restores every sum and pair.
  const auto Before = Probe::All(F);
  F.FlipXY();
  EXPECT_DOUBLE_EQ(F.StdDevX(), 2.3717082451262845);
  EXPECT_EQ(F.DataX(5), 7.0);
  F.FlipXY();
  EXPECT_EQ(Before, Probe::All(F));
  EXPECT_EQ(F.DataX(5), 3.25);
  // Two pairs: means set, the rest 0.
  TCurveFit G;
  Enter(G, {1, 2}, {5, 3});
  G.CalcStatistics(N, Mx, My, Sx, Sy, Md, Sd, R);
  EXPECT_EQ(Mx, 1.5);
  EXPECT_EQ(Sx + Sy + Sd + R, 0.0);
}

TEST(CurveFit, MeanAngles) {
  // Angles in degrees and their circular mean: closed forms.
  const struct { std::vector<double> A; double Want; } Rows[] = {
      {{0, 90}, 45}, {{90, 180}, 135}, {{300, 340}, 320}, {{170, 200}, 185}, {{90}, 90}, {{270}, 270}, {{0, 180}, 90},
  };
  for (const auto& R : Rows) {
    TCurveFit F;
    Enter(F, R.A, R.A);
    EXPECT_NEAR(F.MeanAngleY(), R.Want, 1e-12) << R.A[0];
  }
}

TEST(CurveFit, LinFit) {
  TCurveFit F;
  Enter(F, {1, 2, 3}, {3, 5, 7});
  double k, d, Q;
  F.CalcLinFit(k, d, Q);
  EXPECT_DOUBLE_EQ(k, 2);
  EXPECT_DOUBLE_EQ(d, 1);
  EXPECT_DOUBLE_EQ(Q, 1);
  // x = 1e8 + i: R^2 from the centred intercept (mpmath, 40 digits, on x = i
  // and these doubles); the back-transformed one gives 9 digits only.
  TCurveFit G;
  const std::vector<double> Y = {0.3073333333333333, 0.43333333333333335, 0.5593333333333333, 0.6203333333333334,
                                 0.7463333333333333, 0.8073333333333332,  0.9333333333333333, 1.0593333333333335,
                                 1.1203333333333334, 1.2463333333333333};
  for (int I = 0; I < 10; ++I) G.EnterStatValue(1e8 + I, Y[I]);
  G.CalcLinFit(k, d, Q);
  EXPECT_TRUE(Digits(Q, 0.99628367761985121072, 1e-13));
  EXPECT_TRUE(Digits(k, 0.10157575757575758019, 1e-13));
  EXPECT_TRUE(Digits(d, -10157575.431333333776, 1e-14));
  // Failures zero the outputs first.
  TCurveFit H;
  H.EnterStatValue(1, 2);
  k = d = Q = 7;
  test::ExpectRaises<EORVMath2Error>([&] { H.CalcLinFit(k, d, Q); }, "CalcLinFit: not enough data points");
  EXPECT_EQ(k + d + Q, 0.0);
  H.EnterStatValue(1, 3);
  test::ExpectRaises<EORVMath2Error>([&] { H.CalcLinFit(k, d, Q); }, "CalcLinFit: slope is infinite");
}

TEST(CurveFit, ParabolFit) {
  TCurveFit F;
  Enter(F, {-1, 0, 1}, {1, 0, 1});
  double k0, k1, k2, Q;
  F.CalcParabolFit(k0, k1, k2, Q);
  EXPECT_NEAR(k0, 0, 1e-15);
  EXPECT_NEAR(k1, 0, 1e-15);
  EXPECT_DOUBLE_EQ(k2, 1);
  EXPECT_DOUBLE_EQ(Q, 1);
  TCurveFit P;
  Enter(P, PontiusX(), PontiusY);
  P.CalcParabolFit(k0, k1, k2, Q);
  EXPECT_TRUE(Digits(k0, PontiusB0, 1e-12));
  EXPECT_TRUE(Digits(k1, PontiusB1, 1e-12));
  EXPECT_TRUE(Digits(k2, PontiusB2, 1e-12));
  EXPECT_TRUE(Digits(Q, PontiusR2, 1e-12));
  TCurveFit H;
  Enter(H, {1, 2}, {1, 2});
  test::ExpectRaises<EORVMath2Error>([&] { H.CalcParabolFit(k0, k1, k2, Q); },
                                     "CalcParabolFit: not enough data points");
}

}  // namespace
}  // namespace orv
