// The distribution of the one-sample Kolmogorov-Smirnov statistic and the
// Lilliefors approximation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "orvcalckit/ORV_statis.h"

namespace orv {
namespace {

TEST(KSPValue, AgreesWithTheExactDistribution) {
  // n, d, P(D_n > d): scipy.stats.kstwo.sf(d, n) for n d^2 = 0.5, 2, 5 (d to
  // 6 digits; also 0.1 and 1 for n = 1, 2, and 8 for n = 10, 50). Above n = 140 kstwo takes approximations
  // itself, and the asymptotic formula (n d^2 > 7.24, or > 3.76 above
  // n = 99) is one too: the bound is theirs.
  const struct { int32_t N; double D, Want; } Rows[] = {
      {1, 0.316228, 1.0}, {1, 0.707107, 0.5857859999999999}, {2, 0.223607, 1.0}, {2, 0.5, 0.5},
      {2, 0.707107, 0.17157261889799996}, {3, 0.408248, 0.5718261584231212}, {3, 0.816497, 0.012358321860409048},
      {5, 0.316228, 0.5998737815754153}, {5, 0.632456, 0.01839819825335973}, {10, 0.223607, 0.6230505872870362},
      {10, 0.447214, 0.024213166188240987}, {10, 0.707107, 1.4840637291569568e-05},
      {10, 0.894427, 3.4400014351046374e-10},
      {20, 0.158114, 0.642881020382605}, {20, 0.316228, 0.02815386246194107}, {20, 0.5, 3.787595240539032e-05},
      {50, 0.1, 0.6623112704658186}, {50, 0.2, 0.03143877776953241}, {50, 0.316228, 6.057010216316453e-05},
      {50, 0.4, 9.86356336441006e-08},
      {99, 0.0710669, 0.6725616242437971}, {99, 0.142134, 0.03300198539284348},
      {99, 0.224733, 7.112182850308531e-05}, {100, 0.0707107, 0.6726897051942275},
      {100, 0.141421, 0.033021969520636664}, {100, 0.223607, 7.124191900270787e-05},
      {200, 0.05, 0.6802625495871704}, {200, 0.1, 0.03411035080315383}, {200, 0.158114, 7.805579730256757e-05},
      {500, 0.0316228, 0.6871476275610362}, {500, 0.0632456, 0.03505450271240962},
      {500, 0.1, 8.342293067263533e-05}, {1000, 0.0223607, 0.6906783509404542},
      {1000, 0.0447214, 0.03552265296561774}, {1000, 0.0707107, 8.584378337733984e-05}};
  for (const auto& R : Rows) EXPECT_NEAR(KSPValue(R.N, R.D), R.Want, 2e-6) << "n = " << R.N << ", d = " << R.D;
  // n, d, P(D_n > d) by scipy's own exact method
  // (scipy.stats._ksstats._kolmogn_DMTW(n, d, cdf=False)): the matrix rows
  // agree to rounding, the Pelz-Good rows (beyond the largest matrix) to 1e-10.
  const struct { int32_t N; double D, Want, Tol; } Exact[] = {
      {200, 0.05, 0.6802627254395577, 1e-13},         {200, 0.0707107, 0.25765285878403216, 1e-13},
      {1000, 0.0591608, 0.0017463468391871208, 1e-13}, {20000, 0.011, 0.01569735197870273, 1e-10},
      {20000, 0.0125, 0.0038283012613180845, 1e-10},  {50000, 0.0065, 0.029123491047800577, 1e-10}};
  for (const auto& R : Exact) EXPECT_NEAR(KSPValue(R.N, R.D), R.Want, R.Tol) << "n = " << R.N << ", d = " << R.D;
}

TEST(KSPValue, OutsideItsDomain) {
  // Before: n <= 0 recursed without end, d < 0 built a matrix of negative size.
  const struct { int32_t N; double D, Want; } Rows[] = {
      {10, 0, 1},  {10, -0.5, 1}, {10, 1, 0},  {10, 3, 0}, {0, 0.5, -1}, {-4, 0.5, -1}, {INT32_MIN, -1, -1},
      {10, 0.04, 1}, {INT32_MAX, 1e-10, 1}};  // d < 1/(2n): D_n >= 1/(2n) always
  for (const auto& R : Rows) EXPECT_EQ(KSPValue(R.N, R.D), R.Want) << "n = " << R.N << ", d = " << R.D;
  EXPECT_TRUE(std::isnan(KSPValue(10, std::numeric_limits<double>::quiet_NaN())));
  // scipy.stats._ksstats._kolmogn_PelzGood(2**31 - 1, 2e-5, cdf=False)
  EXPECT_NEAR(KSPValue(INT32_MAX, 2e-5), 0.3567767702776405, 1e-12);
}

TEST(KSCriticalValues, TableFormulaAndSolvedQuantile) {
  // The table row by row at n = 1, 10, 20, then c / sqrt(n).
  const double Table[3][5] = {{0.900, 0.925, 0.950, 0.975, 0.995},
                              {0.322, 0.342, 0.368, 0.410, 0.490},
                              {0.231, 0.246, 0.264, 0.294, 0.356}};
  const int32_t Ns[3] = {1, 10, 20};
  for (int r = 0; r < 3; ++r)
    for (int l = 0; l < 5; ++l)
      EXPECT_EQ(KolmogSmir1SampleTestStat(Ns[r], static_cast<TSignifLevel>(l)), Table[r][l]) << Ns[r] << ", " << l;
  EXPECT_DOUBLE_EQ(KolmogSmir1SampleTestStat(25, Dot05), 1.358 / 5);
  EXPECT_DOUBLE_EQ(KolmogSmir1SampleTestStat(400, Dot01), 1.628 / 20);
  EXPECT_EQ(KolmogSmir1SampleTestStat(0, Dot05), -1.0);
  EXPECT_EQ(KolmogSmir1SampleTestStat(-3, Dot05), -1.0);
  EXPECT_EQ(KolmogSmir1SampleTestStat(10, static_cast<TSignifLevel>(5)), -1.0);
  EXPECT_EQ(KSQuantile(0, Dot05), -1.0);
  // The solved value meets its level to 1e-4 and lies near the table's,
  // which deviates from the exact distribution by up to a few thousandths.
  for (int32_t n : {1, 2, 5, 10, 20, 40, 100})
    for (int l = 0; l < 5; ++l) {
      const auto Level = static_cast<TSignifLevel>(l);
      const double Alpha[5] = {0.20, 0.15, 0.10, 0.05, 0.01};
      const double d = KSQuantile(n, Level);
      EXPECT_NEAR(KSPValue(n, d), Alpha[l], 1e-4) << n << ", " << l;
      EXPECT_NEAR(d, KolmogSmir1SampleTestStat(n, Level), 0.03 * d) << n << ", " << l;
    }
}

TEST(Lilliefors, DallalWilkinsonApproximation) {
  EXPECT_EQ(LillieforsPValue(5, 0.3), -1.0);
  EXPECT_EQ(LillieforsPValue(10, 0.01), 1.0);
  // Above n = 100 the statistic is scaled by (n / 100)^0.49 first.
  EXPECT_DOUBLE_EQ(LillieforsPValue(400, 0.05), LillieforsPValue(100, 0.05 * std::pow(4.0, 0.49)));
  // n, d, P(D > d) and the quantiles at 0.05 and 0.01: a Monte Carlo of
  // 400000 standardized normal samples each (numpy, seed 12345). The
  // approximation is meant for p up to 0.1.
  const struct { int32_t N; double D, P, Q05, Q01; } Rows[] = {
      {10, 0.25, 0.075525, 0.2622163342667075, 0.3034533734789954},
      {20, 0.2, 0.0336325, 0.1918016674095782, 0.22314529935664076},
      {20, 0.25, 0.001965, 0.1918016674095782, 0.22314529935664076},
      {50, 0.15, 0.00641, 0.12434126005608755, 0.1449999281321384}};
  for (const auto& R : Rows) {
    EXPECT_NEAR(LillieforsPValue(R.N, R.D), R.P, 0.1 * R.P) << R.N << ", " << R.D;
    EXPECT_NEAR(LillieforsQuantile(R.N, 0.05), R.Q05, 0.03 * R.Q05) << R.N;
    EXPECT_NEAR(LillieforsQuantile(R.N, 0.01), R.Q01, 0.03 * R.Q01) << R.N;
  }
}

}  // namespace
}  // namespace orv
