// The runs tests of a Boolean sequence and of a series split at its median.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/components.h"

namespace orv {
namespace {

// Bits := runs of the given lengths, alternating from true.
void SetRuns(TBitFld& Bits, const std::vector<int32_t>& Lengths) {
  std::vector<bool> Members;
  for (std::size_t r = 0; r < Lengths.size(); ++r) Members.insert(Members.end(), Lengths[r], r % 2 == 0);
  Bits.SetSize(static_cast<int32_t>(Members.size()) - 1);
  for (std::size_t i = 0; i < Members.size(); ++i) Bits.SetBit(static_cast<int32_t>(i), Members[i]);
}

TEST(ExactRunsTest, EveryArrangementOfUpToFourteenItemsCounted) {
  // Counts[n1][n2][r]: arrangements of n1 ones and n2 zeros with r runs,
  // by walking every bit pattern.
  constexpr int MaxN = 14;
  int64_t Counts[MaxN + 1][MaxN + 1][MaxN + 2] = {};
  for (int N = 1; N <= MaxN; ++N)
    for (uint32_t Bits = 0; Bits < (1u << N); ++Bits) {
      const int Ones = std::popcount(Bits);
      const int Runs = 1 + std::popcount((Bits ^ (Bits >> 1)) & ((1u << (N - 1)) - 1));
      ++Counts[Ones][N - Ones][Runs];
    }
  for (int N1 = 1; N1 < MaxN; ++N1)
    for (int N2 = 1; N1 + N2 <= MaxN; ++N2) {
      int64_t All = 0, AtMost = 0;
      for (int64_t c : Counts[N1][N2]) All += c;
      for (int r = 0; r <= N1 + N2 + 1; ++r) {
        if (r <= N1 + N2) AtMost += Counts[N1][N2][r];
        EXPECT_DOUBLE_EQ(ExactRunsTest(N1, N2, r), static_cast<double>(AtMost) / All) << N1 << ", " << N2 << ", " << r;
      }
    }
}

TEST(ExactRunsTest, LargeSamplesExactlyAndInDouble) {
  // N1, N2, runs, P(R <= runs): exact fractions from a dynamic programme over
  // (ones used, zeros used, last symbol) in Python; 32-bit products went
  // wrong from N1 + N2 = 34 on. The last two go beyond 2^56 (double sums).
  const struct { int32_t N1, N2, Runs; double Want; } Rows[] = {
      {2, 2, 2, 1.0 / 3},   {2, 2, 4, 1.0},       {3, 2, 3, 0.5},     {1, 25, 2, 1.0 / 13},
      {5, 20, 5, 65.0 / 3542}, {10, 12, 8, 563.0 / 8398}, {17, 17, 12, 50651.0 / 1860930},
      {17, 17, 18, 448633.0 / 785726}, {25, 25, 20, 1829635785323.0 / 31602651609438},
      {25, 25, 26, 27675731119.0 / 49611697974}, {20, 25, 15, 3060991.0 / 351856014},
      {25, 24, 30, 29292200186923.0 / 31602651609438}, {30, 30, 25, 0.07540891798075683},
      {40, 40, 30, 0.008820424802282411}};
  for (const auto& R : Rows) {
    const double Tol = R.N1 + R.N2 <= 56 ? 1e-15 : 1e-12;
    EXPECT_NEAR(ExactRunsTest(R.N1, R.N2, R.Runs), R.Want, Tol * R.Want) << R.N1 << ", " << R.N2 << ", " << R.Runs;
  }
  EXPECT_EQ(ExactRunsTest(2, 2, 1), 0.0);
  EXPECT_EQ(ExactRunsTest(-1, 5, 3), 0.0);
  EXPECT_EQ(ExactRunsTest(0, 5, 1), 1.0) << "one kind is one run";
  EXPECT_EQ(ExactRunsTest(0, 5, 0), 0.0);
  EXPECT_EQ(ExactRunsTest(20, 20, INT32_MAX), 1.0);
  EXPECT_EQ(ExactRunsTest(1000, 1000, 900), -1.0) << "C(2000, 1000) passes the double range";
  EXPECT_NEAR(ExactRunsTest(1, INT32_MAX - 1, 2), 2.0 / INT32_MAX, 1e-24);  // r = 2: the one at either end
}

TEST(RunsTest, ExactSmallNormalLarge) {
  double P = -5;
  EXPECT_FALSE(RunsTest(nullptr, P));
  EXPECT_EQ(P, -5.0);
  // Run lengths from true, result, p: ExactRunsTest below 26 of a kind (3 runs
  // of 3 and 2: 5 / 10; 2 of 5 and 5: 2 / 252); one kind was p = 0,
  // "significant"; beyond, z of Wald and Wolfowitz's moments and p from
  // scipy.stats.norm.cdf(z) (z <= 0) or norm.sf(z): 30 and 20 in 15 or 35
  // runs (|z| = 2.979), 26 and 4 in 9 runs (z = 0.8956).
  std::vector<int32_t> Many(35, 1);
  for (int r = 0; r < 24; r += 2) Many[r] = 2;
  for (int r = 1; r < 6; r += 2) Many[r] = 2;
  const struct { std::vector<int32_t> Lengths; bool Want; double P; } Rows[] = {
      {{2, 2, 1}, false, 0.5}, {{5, 5}, true, 2.0 / 252}, {{1}, false, 1}, {{40}, false, 1},
      {{4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 2, 2}, true, 0.0014440775146388482},
      {Many, true, 0.0014440775146388482}, {{4, 1, 4, 1, 4, 1, 4, 1, 10}, false, 0.1852369508416296}};
  TBitFld Bits;
  for (const auto& R : Rows) {
    SetRuns(Bits, R.Lengths);
    EXPECT_EQ(RunsTest(&Bits, P), R.Want) << R.Lengths.size() << " runs";
    EXPECT_NEAR(P, R.P, 1e-7 * R.P) << R.Lengths.size() << " runs";
  }
}

TEST(RunsTestSerial, AboveOrNotAboveTheMedian) {
  double P = 0;
  EXPECT_FALSE(RunsTestSerial(nullptr, P));
  EXPECT_EQ(P, -1.0);
  TVector Data;
  // Median 4.5: false, true, ... 8 runs of 4 and 4, the most there can be.
  test::FillValues(Data, {1, 5, 2, 6, 3, 7, 4, 8});
  EXPECT_FALSE(RunsTestSerial(&Data, P));
  EXPECT_EQ(P, 1.0);
  // A trend: 5 below, 5 above, 2 runs; ExactRunsTest(5, 5, 2) = 2 / 252.
  test::FillValues(Data, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_TRUE(RunsTestSerial(&Data, P));
  EXPECT_DOUBLE_EQ(P, 2.0 / 252);
  // One value is one kind only.
  test::FillValues(Data, {3});
  EXPECT_FALSE(RunsTestSerial(&Data, P));
  EXPECT_EQ(P, 1.0);
}

}  // namespace
}  // namespace orv
