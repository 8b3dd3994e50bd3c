// The runs tests of a Boolean sequence and of a series split at its median.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/components.h"

namespace orv {
namespace {

// A field whose members are the runs of the given lengths, alternating from
// First.
void SetRuns(TBitFld& Bits, const std::vector<int32_t>& Lengths, bool First) {
  int32_t Total = 0;
  for (int32_t L : Lengths) Total += L;
  Bits.SetSize(Total - 1);
  int32_t At = 0;
  bool Value = First;
  for (int32_t L : Lengths) {
    for (int32_t i = 0; i < L; ++i) Bits.SetBit(At++, Value);
    Value = !Value;
  }
}

TEST(ExactRunsTest, EveryArrangementOfUpToFourteenItemsCounted) {
  // Counts[n1][n2][r]: arrangements of n1 ones and n2 zeros with r runs,
  // by walking every bit pattern.
  constexpr int MaxN = 14;
  std::vector<std::vector<std::vector<int64_t>>> Counts(
      MaxN + 1, std::vector<std::vector<int64_t>>(MaxN + 1, std::vector<int64_t>(MaxN + 2)));
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
  TBitFld Bits;
  SetRuns(Bits, {2, 2, 1}, true);  // true, true, false, false, true: 3 runs of 3 and 2
  EXPECT_FALSE(RunsTest(&Bits, P));
  EXPECT_EQ(P, 0.5);
  SetRuns(Bits, {5, 5}, true);  // ExactRunsTest(5, 5, 2) = 2 / 252
  EXPECT_TRUE(RunsTest(&Bits, P));
  EXPECT_DOUBLE_EQ(P, 2.0 / 252);
  // One kind only was p = 0, "significant".
  for (int32_t n : {1, 2, 40}) {
    SetRuns(Bits, {n}, n % 2 == 0);
    EXPECT_FALSE(RunsTest(&Bits, P)) << n;
    EXPECT_EQ(P, 1.0) << n;
  }
  // N1, N2 beyond 25: z of Wald and Wolfowitz's moments, p from
  // scipy.stats.norm.cdf(z) (z <= 0) or norm.sf(z).
  SetRuns(Bits, {4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 2, 2}, true);  // 30 true, 20 false, 15 runs
  EXPECT_TRUE(RunsTest(&Bits, P));
  EXPECT_NEAR(P, 0.0014440775146388482, 1e-9);
  std::vector<int32_t> Many;
  for (int32_t i = 0; i < 35; ++i) Many.push_back(i % 2 == 0 ? (i < 24 ? 2 : 1) : (i < 6 ? 2 : 1));
  SetRuns(Bits, Many, true);  // 30 true, 20 false, 35 runs: the same |z| above
  EXPECT_TRUE(RunsTest(&Bits, P));
  EXPECT_NEAR(P, 0.0014440775146388482, 1e-9);
  SetRuns(Bits, {4, 1, 4, 1, 4, 1, 4, 1, 10}, true);  // 26 true, 4 false, 9 runs: z = 0.8956
  EXPECT_FALSE(RunsTest(&Bits, P));
  EXPECT_NEAR(P, 0.1852369508416296, 1e-8);
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
