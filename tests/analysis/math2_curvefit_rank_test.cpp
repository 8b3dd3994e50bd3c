// TCurveFit: Kendall's tau, Goodman and Kruskal's gamma, Spearman's rho.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "analysis/math2_curvefit_pairs.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcalckit/ORV_math1.h"
#include "support/iris.h"

namespace orv {
namespace {

void Enter(TCurveFit& F, const std::vector<double>& X, const std::vector<double>& Y) {
  for (std::size_t I = 0; I < X.size(); ++I) F.EnterStatValue(X[I], Y[I]);
}

TEST(CurveFitRank, SmallCases) {
  double p = -1;
  {
    TCurveFit F;  // C = 5, D = 1 (by hand)
    Enter(F, {1, 2, 3, 4}, {1, 3, 2, 4});
    EXPECT_DOUBLE_EQ(F.KendallsTau(p), 4.0 / 6);
    EXPECT_DOUBLE_EQ(F.KruskalGamma(), 4.0 / 6);
    EXPECT_DOUBLE_EQ(F.SpearmanRankCorr(), 0.8);
    // Counts follow the pairs: removing (3, 2) leaves only concordant pairs.
    F.RemoveStatValue(3);
    EXPECT_DOUBLE_EQ(F.KendallsTau(p), 1);
  }
  {
    TCurveFit F;  // y constant: every pair a tie in y, nothing to correlate
    Enter(F, {1, 2, 3, 4}, {5, 5, 5, 5});
    EXPECT_EQ(F.KendallsTau(p), 0.0);
    EXPECT_EQ(p, 1.0);
    EXPECT_EQ(F.KruskalGamma(), 0.0);
    EXPECT_EQ(F.SpearmanRankCorr(), 0.0);
  }
  {
    TCurveFit F;  // C = D = 3: tau 0, p 1 (ErfApprox(0) is not quite 0)
    Enter(F, {1, 2, 3, 4}, {2, 4, 1, 3});
    EXPECT_EQ(F.KendallsTau(p), 0.0);
    EXPECT_EQ(p, 1.0);
  }
  TCurveFit G;  // ties in x: scipy.stats.spearmanr([1, 1, 2], [1, 2, 3])
  Enter(G, {1, 1, 2}, {1, 2, 3});
  EXPECT_DOUBLE_EQ(G.SpearmanRankCorr(), 0.8660254037844387);
  G.RemoveStatValue(3);  // two pairs: all three 0
  EXPECT_EQ(G.KendallsTau(p) + G.KruskalGamma() + G.SpearmanRankCorr(), 0.0);
}

// Fisher's iris, many ties: scipy.stats.kendalltau (tau-b) and spearmanr; p
// from the normal approximation without tie correction, erfc(|tau / sigma| /
// sqrt(2)) with mpmath (ErfApprox is good to 1.2e-7).
TEST(CurveFitRank, IrisAgainstScipy) {
  const struct { int A, B; double Tau, Rho, P; } Rows[] = {
      {0, 1, -0.0769967881165167, -0.166777658283235, 0.16205455130874663},
      {0, 2, 0.7185159275387326, 0.881898126434986, -1},
      {2, 3, 0.8068906859884751, 0.9376668235763412, -1},
  };
  for (const auto& R : Rows) {
    TCurveFit F;
    for (const auto& Row : test::Iris) F.EnterStatValue(Row[detail::Ix(R.A)], Row[detail::Ix(R.B)]);
    double p;
    EXPECT_NEAR(F.KendallsTau(p), R.Tau, 1e-14) << R.A << " " << R.B;
    EXPECT_NEAR(F.SpearmanRankCorr(), R.Rho, 1e-14) << R.A << " " << R.B;
    if (R.P > 0) {
      EXPECT_NEAR(p, R.P, 2e-7);
    }
  }
}

// The O(n log n) count against the visit of every two pairs, on data full of
// ties, with differences that underflow as a product, with NaN and infinities.
TEST(CurveFitRank, PairCountsAgree) {
  SetRandSeed(7);
  for (int Round = 0; Round < 40; ++Round) {
    const int N = 2 + Round * 3;
    std::vector<double> X(N), Y(N);
    for (int I = 0; I < N; ++I) {
      X[I] = static_cast<double>(Random(5)) * (Round % 3 == 0 ? 1e-160 : 1.0);
      Y[I] = static_cast<double>(Random(7)) * (Round % 3 == 0 ? 1e-160 : 1.0) - 3;
    }
    if (Round % 5 == 4) Y[N / 2] = std::numeric_limits<double>::quiet_NaN();
    if (Round % 7 == 6) X[0] = X[N - 1] = std::numeric_limits<double>::infinity();
    const auto A = detail::CountPairs(X, Y), B = detail::CountPairsPlain(X, Y);
    EXPECT_EQ(A.Concord, B.Concord) << Round;
    EXPECT_EQ(A.Discord, B.Discord) << Round;
    EXPECT_EQ(A.TiesY, B.TiesY) << Round;
    EXPECT_EQ(A.TiesX, B.TiesX) << Round;
  }
}

// Counts and products that pass 32 bits: 70,000 pairs have 2,449,965,000
// pairs of pairs; n (n^2 - 1) passes 2^31 from 1,291 pairs.
TEST(CurveFitRank, LargeCounts) {
  TCurveFit F;
  for (int I = 0; I < 70000; ++I) F.EnterStatValue(I, -0.5 * I);
  double p;
  EXPECT_EQ(F.KendallsTau(p), -1.0);
  EXPECT_EQ(F.KruskalGamma(), -1.0);
  EXPECT_LT(p, 1e-6);
  TCurveFit G;
  for (int I = 0; I < 2000; ++I) G.EnterStatValue(I, I % 2 == 0 ? I : I - 0.5);
  EXPECT_DOUBLE_EQ(G.SpearmanRankCorr(), 1.0);
}

}  // namespace
}  // namespace orv
