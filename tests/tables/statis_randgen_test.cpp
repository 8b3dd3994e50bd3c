// TRandGen: random numbers from a tabulated density.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_system.h"

namespace orv {
namespace {

TEST(TRandGen, TableAndAbscissas) {
  TRandGen G(nullptr);
  EXPECT_EQ(G.Resolution(), 500);
  EXPECT_EQ(G.Probability(1), 1.0);
  EXPECT_EQ(G.Probability(500), 1.0);
  EXPECT_EQ(G.Probability(0), 0.0);
  EXPECT_EQ(G.Probability(501), 0.0);
  G.SetProbability(3, 1.7);
  EXPECT_EQ(G.Probability(3), 1.0);
  G.SetProbability(3, -2);
  EXPECT_EQ(G.Probability(3), 0.0);
  G.SetProbability(4, std::nan(""));
  EXPECT_EQ(G.Probability(4), 0.0);
  G.SetResolution(5);
  EXPECT_EQ(G.Resolution(), 10);
  EXPECT_EQ(G.Probability(3), 1.0);  // reset to uniform
  G.SetResolution(5000);
  EXPECT_EQ(G.Resolution(), 4000);
  G.SetResolution(500);
  G.SetLowBorder(0);
  G.SetHighBorder(10);
  EXPECT_EQ(G.Lambda(1), 0.0);
  EXPECT_DOUBLE_EQ(G.Lambda(500), 9.98);
  EXPECT_EQ(G.Lambda(501), 10.0);
  EXPECT_EQ(G.Lambda(-3), 0.0);
  // Lambda, cell: the cell holds the point; beyond the borders 0 and 501.
  const struct { double L; int32_t Cell; } Rows[] = {
      {10, 501}, {-1, 0}, {0.02, 2}, {0, 1}, {9.99, 500}, {10.5, 501}, {std::nan(""), 0}, {5.01, 251}};
  for (const auto& R : Rows) EXPECT_EQ(G.IndexOfLambda(R.L), R.Cell) << R.L;
  G.SetHighBorder(0);  // one point: still a cell number
  EXPECT_EQ(G.IndexOfLambda(0), 501);
}

TEST(TRandGen, Shapes) {
  TRandGen G(nullptr);
  G.SetHighBorder(10);
  G.NormalDistri(5, 1);
  EXPECT_EQ(G.Probability(251), 1.0);                         // starts at 5
  EXPECT_NEAR(G.Probability(201), std::exp(-0.5), 1e-15);  // at 4
  EXPECT_NEAR(G.Probability(301), std::exp(-0.5), 1e-15);  // at 6
  G.NormalDistri(5, 0);  // no spread: 0 everywhere, NaN at the mean before
  EXPECT_FALSE(G.Standardize());
  G.SetLowBorder(-5);
  G.SetHighBorder(5);
  G.Chi2Distri(3);
  for (int32_t i = 1; i <= 250; ++i) ASSERT_EQ(G.Probability(i), 0.0) << i;
  EXPECT_GT(G.Probability(252), 0.0);
  // df 1 is infinite at 0: that cell stays 0, and scaling leaves numbers.
  G.SetLowBorder(0);
  G.Chi2Distri(1);
  EXPECT_EQ(G.Probability(1), 0.0);
  ASSERT_TRUE(G.Standardize());
  EXPECT_EQ(G.Probability(2), 1.0);
  for (int32_t i = 1; i <= 500; ++i) ASSERT_TRUE(std::isfinite(G.Probability(i))) << i;
  G.FDistri(1, 5);
  EXPECT_EQ(G.Probability(1), 0.0);
  // Normalize maps onto 0..1: the F(4, 9) density on 0..5 is 0 at 0.
  G.FDistri(4, 9);
  G.Normalize();
  EXPECT_EQ(G.Probability(1), 0.0);
  double Max = 0;
  for (int32_t i = 1; i <= 500; ++i) Max = std::max(Max, G.Probability(i));
  EXPECT_EQ(Max, 1.0);
  G.UniformDistri();
  G.Normalize();  // all equal: unchanged
  EXPECT_EQ(G.Probability(7), 1.0);
  for (int32_t i = 1; i <= 500; ++i) G.SetProbability(i, 0);
  EXPECT_FALSE(G.Standardize());
}

// The Kolmogorov-Smirnov p-value of the draws against Cdf.
double KSPOfDraws(TRandGen& G, const std::function<double(double)>& Cdf) {
  const int32_t N = 100000;
  std::vector<double> X(N);
  for (double& x : X) x = G.Random();
  std::sort(X.begin(), X.end());
  double D = 0;
  for (int32_t i = 0; i < N; ++i) {
    const double F = Cdf(X[static_cast<size_t>(i)]);
    D = std::max({D, (i + 1.0) / N - F, F - static_cast<double>(i) / N});
  }
  return KSPValue(N, D);
}

TEST(TRandGen, DrawsFollowTheirDistribution) {
  SetRandSeed(20261209);
  TRandGen G(nullptr);
  G.SetResolution(4000);
  G.SetLowBorder(-8);
  G.SetHighBorder(8);
  G.NormalDistri(0, 1);
  EXPECT_GT(KSPOfDraws(G, [](double x) { return nDistriIntegral(x); }), 0.001);
  G.SetLowBorder(-50);
  G.SetHighBorder(50);
  G.tDistri(5);
  ASSERT_TRUE(G.Standardize());
  EXPECT_GT(KSPOfDraws(G, [](double x) { return tDistriIntegral(x, 5); }), 0.001);
  G.SetLowBorder(0);
  G.SetHighBorder(40);
  G.Chi2Distri(4);
  ASSERT_TRUE(G.Standardize());
  EXPECT_GT(KSPOfDraws(G, [](double x) { return Chi2DistriIntegral(x, 4); }), 0.001);
  // A uniform table is not the chi-square shape: the test notices.
  G.UniformDistri();
  EXPECT_LT(KSPOfDraws(G, [](double x) { return Chi2DistriIntegral(x, 4); }), 1e-10);
}

TEST(TRandGen, SeededRunsRepeatAndZeroTablesEnd) {
  TRandGen G(nullptr);
  G.SetLowBorder(1);
  G.SetHighBorder(3);
  G.NormalDistri(2, 0.3);
  SetRandSeed(7);
  std::vector<double> First(50);
  for (double& x : First) x = G.Random();
  SetRandSeed(7);
  for (double x : First) EXPECT_EQ(G.Random(), x);
  for (int32_t i = 1; i <= 500; ++i) G.SetProbability(i, 0);
  const double x = G.Random();  // 100001 rejections, then the last candidate
  EXPECT_GE(x, 1.0);
  EXPECT_LT(x, 3.0);
}

}  // namespace
}  // namespace orv
