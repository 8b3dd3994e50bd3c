// Tests of two samples and of groups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/splitmix.h"

namespace orv {
namespace {

using test::FillValues;

// sepal_width of the first ten rows of each species of iris.csv
const std::vector<double> SepalWidth = {3.5, 3.0, 3.2, 3.1, 3.6, 3.9, 3.4, 3.4, 2.9, 3.1,
                                        3.2, 3.2, 3.1, 2.3, 2.8, 2.8, 3.3, 2.4, 2.9, 2.7,
                                        3.3, 2.7, 3.0, 2.9, 3.0, 3.0, 2.5, 2.9, 2.5, 3.6};

void FillGroups(TIntVector& G, const std::vector<int32_t>& Labels) {
  G.Resize(static_cast<int32_t>(Labels.size()));
  for (size_t i = 0; i < Labels.size(); ++i) G.SetVal(static_cast<int32_t>(i + 1), Labels[i]);
}

TEST(GroupTests, AnovaAndLeveneAgainstScipy) {
  // scipy.stats.f_oneway and levene(center='mean') of the three species; the
  // sums of squares by numpy. Labels 7, -3, 1000000 in order of appearance:
  // the groups are what the labels name, not their values.
  TVector Data(nullptr);
  TIntVector Groups(nullptr);
  std::vector<int32_t> Labels;
  for (int32_t Label : {7, -3, 1000000}) Labels.insert(Labels.end(), 10, Label);
  FillGroups(Groups, Labels);
  // The values as given, and 1e9 added (the reference from the same rounded
  // doubles): raw sums of squares near 3e19 left SSW as noise.
  const struct { double Offset, F, p, W, pW; } Rows[] = {
      {0, 5.1794783802333573, 0.012476185516877404, 0.064024390243902857, 0.9381240875781619},
      {1e9, 5.1794784864881747, 0.012476184558802488, 0.06402448420724105, 0.93812399984497352}};
  for (const auto& R : Rows) {
    std::vector<double> V = SepalWidth;
    for (double& x : V) x += R.Offset;
    FillValues(Data, V);
    double SSB, SSW, SST, F = -1;
    int32_t dfB, dfW, dfT;
    EXPECT_NEAR(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), R.p, 1e-9 * R.p) << R.Offset;
    EXPECT_NEAR(F, R.F, 1e-9 * R.F) << R.Offset;
    EXPECT_EQ(dfB, 2);
    EXPECT_EQ(dfW, 27);
    EXPECT_EQ(dfT, 29);
    if (R.Offset == 0) {
      EXPECT_NEAR(SSB, 1.117999999999999, 1e-13);
      EXPECT_NEAR(SSW, 2.9140000000000001, 1e-13);
      EXPECT_NEAR(SST, 4.032, 1e-13);
    }
    EXPECT_NEAR(LeveneTest(&Data, &Groups, F), R.pW, 1e-9 * R.pW) << R.Offset;
    EXPECT_NEAR(F, R.W, 1e-8 * R.W) << R.Offset;
  }
}

TEST(GroupTests, LeveneAgainstExactRationals) {
  // F from Python's Fraction over the same doubles (the group means and
  // deviations exact), p from mpmath's betainc at that F. SplitMix values:
  // 203 around 1e6 whose labels come in runs, alternate, lie far from the
  // first (-70000) and appear once (INT32_MAX, a group of one); 10^4 in four
  // groups of equal spread, in runs and interleaved, where sum z^2 - (sum z)^2
  // / N would keep three digits less. scipy.stats.levene(center='mean') is
  // 9e-11 off the first F (its means of values near 1e6).
  const auto Mixed = [](int32_t i) {
    return i < 40 ? 5 : i < 120 ? (i % 3 == 0 ? -70000 : 9) : i == 150 ? INT32_MAX : (i / 8) % 2 == 0 ? 5 : 9;
  };
  const auto Scale = [](int32_t Label) { return Label == 9 ? 3.0 : Label == -70000 ? 2.0 : 1.0; };
  const struct {
    const char* Name;
    uint64_t Seed;
    int32_t N;
    std::function<int32_t(int32_t)> Label;
    std::function<double(int32_t, double)> Value;  // of label and SplitMix value
    double F, p;
  } Rows[] = {
      {"mixed", 46, 203, Mixed, [&](int32_t l, double u) { return 1e6 + Scale(l) * u; }, 19.14793837171839,
       5.9783229981436104e-11},
      {"runs", 7, 10000, [](int32_t i) { return i / 2500; }, [](int32_t, double u) { return u; }, 0.988158865618644,
       0.39718011622112387},
      {"interleaved", 7, 10000, [](int32_t i) { return i % 4; }, [](int32_t, double u) { return u; },
       3.859117338724163, 0.0090060147560334039}};
  for (const auto& R : Rows) {
    const std::vector<double> U = test::SplitMixValues(R.Seed, R.N);
    std::vector<int32_t> Labels;
    std::vector<double> V;
    for (int32_t i = 0; i < R.N; ++i) {
      Labels.push_back(R.Label(i));
      V.push_back(R.Value(Labels.back(), U[static_cast<size_t>(i)]));
    }
    TVector Data(nullptr);
    TIntVector Groups(nullptr);
    FillValues(Data, V);
    FillGroups(Groups, Labels);
    double F = 0;
    EXPECT_NEAR(LeveneTest(&Data, &Groups, F), R.p, 1e-12 * R.p) << R.Name;  // the F tail's own error: 3e-13
    EXPECT_NEAR(F, R.F, 2e-14 * R.F) << R.Name;
  }
}

TEST(GroupTests, AnovaAndLeveneCodes) {
  TVector Data(nullptr);
  TIntVector Groups(nullptr);
  double SSB = -7, SSW = -7, SST = -7, F = -7;
  int32_t dfB = -7, dfW = -7, dfT = -7;
  FillValues(Data, {1, 2, 3, 4});
  FillGroups(Groups, {1, 1, 1});
  EXPECT_EQ(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), -4);
  EXPECT_EQ(LeveneTest(&Data, &Groups, F), -4);
  EXPECT_EQ(Anova1F(nullptr, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), -4);
  EXPECT_EQ(LeveneTest(&Data, nullptr, F), -4);
  EXPECT_EQ(F, -7.0);
  EXPECT_EQ(dfB, -7);
  FillGroups(Groups, {5, 5, 5, 5});
  EXPECT_EQ(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), -1);
  EXPECT_EQ(LeveneTest(&Data, &Groups, F), -1);
  FillGroups(Groups, {1, 2, 3, 4});
  EXPECT_EQ(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), -2);
  EXPECT_EQ(LeveneTest(&Data, &Groups, F), -2);
  // Equal values throughout: nothing varies (-3, F = 0); equal within the
  // groups only: F = uc_MaxReal, p = 0. Labels far apart take the hash map.
  FillValues(Data, {1e9 + 0.25, 1e9 + 0.25, 1e9 + 0.25, 1e9 + 0.25});
  FillGroups(Groups, {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX});
  EXPECT_EQ(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), -3);
  EXPECT_EQ(F, 0.0);
  EXPECT_EQ(SSW, 0.0);
  EXPECT_EQ(LeveneTest(&Data, &Groups, F), -3);
  FillValues(Data, {1e9 + 0.25, 1e9 + 0.5, 1e9 + 0.25, 1e9 + 0.5});
  EXPECT_EQ(Anova1F(&Data, &Groups, SSB, SSW, SST, dfB, dfW, dfT, F), 0.0);
  EXPECT_EQ(F, uc_MaxReal);
  EXPECT_DOUBLE_EQ(SSB, 0.0625);
  // Deviations equal within each group (1, 1 and 5, 5) but not between them.
  FillValues(Data, {1, 3, 10, 20});
  FillGroups(Groups, {1, 1, 2, 2});
  EXPECT_EQ(LeveneTest(&Data, &Groups, F), 0.0);
  EXPECT_EQ(F, uc_MaxReal);
}

TEST(GroupTests, FriedmanAgainstScipy) {
  // scipy.stats.friedmanchisquare of the columns, with its tie correction
  const struct { std::vector<std::vector<double>> Rows; double Q, p; } Cases[] = {
      {{{7, 9, 8, 6}, {6, 5, 7, 5}, {9, 7, 6, 8}, {8, 8, 8, 7}, {6, 9, 7, 5}, {7, 8, 9, 6}},
       6.3818181818181916, 0.094441654629266569},
      {{{1, 2, 3}, {1, 3, 2}, {1, 2, 3}, {2, 1, 3}, {1, 2, 3}}, 6.4000000000000057, 0.040762203978366107}};
  for (const auto& C : Cases) {
    TMatrix M(nullptr);
    test::FillRows(M, C.Rows);
    double Q = -1;
    EXPECT_NEAR(FriedmanTest(&M, Q), C.p, 1e-12 * C.p);
    EXPECT_NEAR(Q, C.Q, 1e-12 * C.Q);
  }
  TMatrix M(nullptr);
  double Q = -5;
  test::FillRows(M, {{1, 2}, {2, 1}});
  EXPECT_EQ(FriedmanTest(&M, Q), -1.0);
  EXPECT_EQ(FriedmanTest(nullptr, Q), -1.0);
  EXPECT_EQ(Q, -5.0);
  // Every row tied throughout: 0 / 0 before; no difference, p = 1.
  test::FillRows(M, {{4, 4, 4}, {2, 2, 2}});
  EXPECT_EQ(FriedmanTest(&M, Q), 1.0);
  EXPECT_EQ(Q, 0.0);
}

TEST(GroupTests, MedianTestAgainstScipy) {
  // sepal_length of the first 20 setosa and 25 versicolor rows of iris.csv;
  // scipy.stats.median_test(a, b, ties='below', correction=False / True),
  // fisher_exact of its table, the smaller one-sided p
  const TDoubleArray A = {5.1, 4.9, 4.7, 4.6, 5.0, 5.4, 4.6, 5.0, 4.4, 4.9,
                          5.4, 4.8, 4.8, 4.3, 5.8, 5.7, 5.4, 5.1, 5.7, 5.1};
  const TDoubleArray B = {7.0, 6.4, 6.9, 5.5, 6.5, 5.7, 6.3, 4.9, 6.6, 5.2, 5.0, 5.9, 6.0,
                          6.1, 5.6, 6.7, 5.6, 5.8, 6.2, 5.6, 5.9, 6.1, 6.3, 6.1, 6.4};
  double Chi2, p, Chi2Y, pY, pF;
  ASSERT_EQ(MedianTest(A, B, Chi2, p, Chi2Y, pY, pF), 0);
  EXPECT_NEAR(Chi2, 14.504464285714288, 1e-12 * Chi2);
  EXPECT_NEAR(p, 0.00013982778186171096, 1e-11 * p);
  EXPECT_NEAR(Chi2Y, 12.304687500000004, 1e-12 * Chi2Y);
  EXPECT_NEAR(pY, 0.00045182213905813431, 1e-11 * pY);
  EXPECT_NEAR(pF, 0.00015441849722959951, 1e-11 * pF);
  // No value above the median: no Yates correction (-2); Chi2 of the rest.
  ASSERT_EQ(MedianTest({1, 1}, {1}, Chi2, p, Chi2Y, pY, pF), -2);
  EXPECT_EQ(Chi2Y + pY, 0.0);
  EXPECT_EQ(Chi2, 0.0);
  EXPECT_EQ(pF, 1.0);
  EXPECT_EQ(MedianTest({}, B, Chi2, p, Chi2Y, pY, pF), -1);
  EXPECT_EQ(pF, -1.0);
  // More than 1000 values: no Fisher test.
  ASSERT_EQ(MedianTest(TDoubleArray(600, 1.0), TDoubleArray(600, 2.0), Chi2, p, Chi2Y, pY, pF), 0);
  EXPECT_EQ(pF, -1.0);
}

TEST(GroupTests, BinnedDistributions) {
  // By hand: bins (7, 7), (10, 8), (2, 7), (7, 6) with f1 = sqrt(28/26),
  // f2 = sqrt(26/28); p = scipy.stats.chi2.sf(chi2, 3)
  double Chi2 = -1, p = -1;
  int32_t df = -9, N1 = -9, N2 = -9;
  ASSERT_EQ(PerformChi2DistComp({3, 4, 10, 2, 0, 7}, {2, 5, 8, 3, 4, 6}, Chi2, p, df, N1, N2), 0);
  EXPECT_NEAR(Chi2, 4.4102564102564106, 1e-14);
  EXPECT_NEAR(p, 0.22043626194255161, 1e-14);
  EXPECT_EQ(df, 3);
  EXPECT_EQ(N1, 26);
  EXPECT_EQ(N2, 28);
  // A last bin of (4, 0) joins (5, 7): bins (2, 6), (9, 7), df 1 (it divided
  // by zero before); one bin: df 0, p = 1.
  ASSERT_EQ(PerformChi2DistComp({2, 5, 1, 3}, {6, 7, 3, -3}, Chi2, p, df, N1, N2), 0);
  EXPECT_NEAR(Chi2, 3.4632034632034623, 1e-14);
  EXPECT_NEAR(p, 0.062748636370564798, 1e-14);
  EXPECT_EQ(df, 1);
  ASSERT_EQ(PerformChi2DistComp({1, 2}, {3, 4}, Chi2, p, df, N1, N2), 0);
  EXPECT_EQ(df, 0);
  EXPECT_EQ(p, 1.0);
  // Codes: the later check wins, and outputs other than N1, N2 stay.
  Chi2 = p = -1;
  df = -9;
  EXPECT_EQ(PerformChi2DistComp({1, 2}, {3, 4, 5}, Chi2, p, df, N1, N2), -1);
  EXPECT_EQ(PerformChi2DistComp({}, {}, Chi2, p, df, N1, N2), -3);
  EXPECT_EQ(PerformChi2DistComp({1, 2}, {0, 0}, Chi2, p, df, N1, N2), -3);
  EXPECT_EQ(N1, 3);
  EXPECT_EQ(N2, 0);
  EXPECT_EQ(Chi2 + p, -2.0);
  EXPECT_EQ(df, -9);
  EXPECT_EQ(PerformChi2DistComp({INT32_MAX, INT32_MAX}, {1, 1}, Chi2, p, df, N1, N2), 0);
  EXPECT_EQ(N1, INT32_MAX);
}

}  // namespace
}  // namespace orv
