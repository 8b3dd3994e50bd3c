// Frequency tables: 2 x 2 probabilities, Fisher's exact test, chi-square
// tests, the adjusted Rand index and lambda.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_statis.h"

namespace orv {
namespace {

// A table with margins from its inner cells, given column by column.
TInt2DArray WithMargins(const std::vector<std::vector<int32_t>>& Inner) {
  const size_t C = Inner.size(), R = Inner[0].size();
  TInt2DArray T(C + 1, TIntArray(R + 1, 0));
  for (size_t i = 0; i < C; ++i)
    for (size_t j = 0; j < R; ++j) {
      T[i][j] = Inner[i][j];
      T[i][R] += Inner[i][j];
      T[C][j] += Inner[i][j];
      T[C][R] += Inner[i][j];
    }
  return T;
}

// The species of iris.csv (columns) against sepal length below 5.5, below
// 6.5 and above (rows).
const std::vector<std::vector<int32_t>> IrisSepal = {{45, 5, 0}, {6, 35, 9}, {1, 23, 26}};

TEST(FisherExactTest, OneSidedTailsKeepTheirMeaning) {
  // a, b, c, d, P(a' <= a), P(a' >= a), two-sided: scipy.stats.fisher_exact
  // of [[a, c], [b, d]] with 'less', 'greater' and 'two-sided'. (5, 1, 4, 1)
  // enumerated by its smallest margin gave the tails swapped.
  const struct { int32_t a, b, c, d; double Low, High, Two; } Rows[] = {
      {3, 1, 1, 3, 0.98571428571428577, 0.24285714285714283, 0.48571428571428565},
      {5, 1, 4, 1, 0.81818181818181812, 0.72727272727272729, 1},
      {300, 200, 190, 310, 0.9999999999991086, 2.2202886289840472e-12, 4.4405772579680944e-12},
      {0, 0, 0, 0, 1, 1, 1},
      {1, 9, 11, 3, 0.0013797280926100418, 0.99996634809530216, 0.0027594561852200836},
      {0, 5, 0, 7, 1, 1, 1}};
  for (const auto& R : Rows) {
    const TInt2DArray T = {{R.a, R.b}, {R.c, R.d}};
    const TInt2DArray Copy = T;
    double Low = -1, High = -1, Two = -1;
    ASSERT_EQ(FisherExactTest(T, Low, High, Two), 0);
    EXPECT_NEAR(Low, R.Low, 1e-12 * R.Low) << R.a << " " << R.b << " " << R.c << " " << R.d;
    EXPECT_NEAR(High, R.High, 1e-12 * R.High) << R.a << " " << R.b << " " << R.c << " " << R.d;
    EXPECT_NEAR(Two, R.Two, 1e-12 * R.Two) << R.a << " " << R.b << " " << R.c << " " << R.d;
    EXPECT_EQ(T, Copy);
  }
}

TEST(FisherExactTest, TableProbabilityAndRefusals) {
  double p = -1;
  ASSERT_EQ(Prob2x2Contingency({{1, 0}, {0, 1}}, p), 0);
  EXPECT_DOUBLE_EQ(p, 0.5);  // 1! 1! 1! 1! / (1! 0! 0! 1! 2!)
  ASSERT_EQ(Prob2x2Contingency({{3, 1}, {1, 3}}, p), 0);
  EXPECT_NEAR(p, 16.0 / 70, 1e-15);  // C(4,3) C(4,1) / C(8,4)
  // Codes: not 2 x 2 first, then a negative cell before a total above 1000.
  const struct { TInt2DArray T; int32_t Code; } Bad[] = {
      {{{1, 2}}, -1}, {{{1, 2, 3}, {4, 5, 6}}, -1}, {{{1, 2}, {3}}, -1}, {{}, -1},
      {{{500, 500}, {1, 0}}, -2}, {{{1000, 0}, {0, 1}}, -2}, {{{-1, 2}, {3, 4}}, -3},
      {{{2000, -1}, {5, 5}}, -3}, {{{INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX}}, -2}};
  for (const auto& B : Bad) {
    double Low = -1, High = -1, Two = -1;
    p = -1;
    EXPECT_EQ(Prob2x2Contingency(B.T, p), B.Code);
    EXPECT_EQ(p, 0.0);
    EXPECT_EQ(FisherExactTest(B.T, Low, High, Two), B.Code);
    EXPECT_EQ(Low + High + Two, 0.0);
  }
  double Low, High, Two;
  EXPECT_EQ(FisherExactTest({{500, 250}, {200, 50}}, Low, High, Two), 0);  // N = 1000 is allowed
}

TEST(ContingencyChi2, AgainstScipy) {
  // scipy.stats.chi2_contingency(table, correction=False) of the iris table:
  // 118.56153846153846, p 1.0835970791575347e-24, dof 4
  double Chi2 = -1, p = -1;
  ASSERT_EQ(Chi2OfContTab(WithMargins(IrisSepal), Chi2, p), 0);
  EXPECT_NEAR(Chi2, 118.56153846153846, 1e-12 * Chi2);
  EXPECT_NEAR(p, 1.0835970791575347e-24, 1e-11 * p);
  // a, b, c, d, Yates chi2, p: chi2_contingency([[a, c], [b, d]],
  // correction=True), which corrects no further than to 0 when
  // |ad - bc| < N/2 (the plain correction gave 0.2 for 5, 5, 5, 5).
  const struct { int32_t a, b, c, d; double Chi2, p; } Rows[] = {
      {10, 20, 30, 40, 0.4464285714285714, 0.50403586645250464},
      {5, 5, 5, 5, 0, 1},
      {5, 5, 5, 6, 0, 1},
      {12, 5, 3, 9, 4.1714577497665744, 0.041110414194306943}};
  for (const auto& R : Rows) {
    ASSERT_EQ(Chi2OfContTabYates(WithMargins({{R.a, R.b}, {R.c, R.d}}), Chi2, p), 0);
    EXPECT_NEAR(Chi2, R.Chi2, 1e-13) << R.a << " " << R.b << " " << R.c << " " << R.d;
    EXPECT_NEAR(p, R.p, 1e-13) << R.a << " " << R.b << " " << R.c << " " << R.d;
  }
  // 0.7936507936507936, 0.37299848361348686: correction=False of 10, 20, 30, 40
  ASSERT_EQ(Chi2OfContTab(WithMargins({{10, 20}, {30, 40}}), Chi2, p), 0);
  EXPECT_NEAR(p, 0.37299848361348686, 1e-13);
  // ad = 2.5e9 beyond 32 bits: chi2_contingency([[50000, 1], [1, 50000]],
  // correction=True)
  ASSERT_EQ(Chi2OfContTabYates(WithMargins({{50000, 1}, {1, 50000}}), Chi2, p), 0);
  EXPECT_NEAR(Chi2, 99990.000359992802, 1e-13 * Chi2);
  // Shapes and empty tables.
  EXPECT_EQ(Chi2OfContTab({{1, 1}, {1, 1}}, Chi2, p), -1);  // one category plus margin
  EXPECT_EQ(Chi2 + p, 0.0);
  EXPECT_EQ(Chi2OfContTab({{1, 2, 3}, {1, 2}, {1, 2, 3}}, Chi2, p), -1);
  EXPECT_EQ(Chi2OfContTabYates(WithMargins(IrisSepal), Chi2, p), -1);
  ASSERT_EQ(Chi2OfContTab(WithMargins({{0, 0}, {0, 0}}), Chi2, p), 0);  // grand total 0
  EXPECT_EQ(Chi2, 0.0);
  EXPECT_EQ(p, 1.0);
  EXPECT_EQ(Chi2OfContTabYates(WithMargins({{0, 0}, {3, 4}}), Chi2, p), -2);
}

TEST(ContingencyAssociation, AdjustedRandIndexAndLambda) {
  // sklearn.metrics.adjusted_rand_score(species, petal length binned at 2,
  // 4, 5) of iris.csv
  EXPECT_NEAR(AdjustedRandIx(WithMargins({{50, 0, 0, 0}, {0, 11, 37, 2}, {0, 0, 6, 44}})), 0.77451935033785635,
              1e-14);
  // 60000 items (pairs beyond 2^31): adjusted_rand_score of labels repeated
  // 20000, 25000, 15000 against 18000, 2000 | 5000, 20000 | 1000, 14000
  EXPECT_NEAR(AdjustedRandIx(WithMargins({{18000, 2000}, {5000, 20000}, {1000, 14000}})), 0.32929461089849288,
              1e-13);
  EXPECT_EQ(AdjustedRandIx(WithMargins({{7}})), 1.0);     // both partitions trivial
  EXPECT_EQ(AdjustedRandIx(WithMargins({{1}, {0}})), 1.0);  // one item
  EXPECT_TRUE(std::isnan(AdjustedRandIx({{3}})));
  // Lambda by hand: (45 + 35 + 26 - 63) / (150 - 63), (45 + 35 + 26 - 50) / (150 - 50)
  double LR = -1, LC = -1;
  ASSERT_EQ(Lambda(WithMargins(IrisSepal), LR, LC), 0);
  EXPECT_DOUBLE_EQ(LR, 43.0 / 87);
  EXPECT_DOUBLE_EQ(LC, 0.56);
  // All items in one row category: nothing to predict there.
  ASSERT_EQ(Lambda(WithMargins({{4, 0}, {6, 0}}), LR, LC), 0);
  EXPECT_EQ(LR, 0.0);
  EXPECT_DOUBLE_EQ(LC, (6.0 - 6) / (10 - 6));
  TInt2DArray Bad = WithMargins(IrisSepal);
  Bad[0][3] += 1;  // a column total that its cells do not reach
  EXPECT_EQ(Lambda(Bad, LR, LC), -1);
  EXPECT_EQ(LR + LC, 0.0);
  Bad = WithMargins(IrisSepal);
  Bad[3][3] = 151;  // the grand total
  EXPECT_EQ(Lambda(Bad, LR, LC), -1);
  EXPECT_EQ(Lambda({{1, 2}, {3}}, LR, LC), -1);
}

}  // namespace
}  // namespace orv
