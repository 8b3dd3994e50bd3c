// The shared comb sort: pinned pass and exchange sequence, callbacks, NaN order.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "core/combsort.h"

namespace {

using orv::detail::CombSort;
using orv::detail::SortsAfterAscending;
using orv::detail::SortsAfterDescending;
using Pairs = std::vector<std::pair<int64_t, int64_t>>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CombSort, GapShrinksByTruncatedDivisionInDouble) {
  using orv::detail::CombNextGap;
  EXPECT_EQ(CombNextGap(13), 10);  // 13 / 1.3 is exactly 10 in double
  EXPECT_EQ(CombNextGap(130), 100);
  EXPECT_EQ(CombNextGap(10), 7);
  EXPECT_EQ(CombNextGap(5), 3);
  EXPECT_EQ(CombNextGap(2), 1);
  EXPECT_EQ(CombNextGap(1), 1);  // 0 becomes 1
  EXPECT_EQ(CombNextGap(0), 1);
  EXPECT_EQ(CombNextGap(1000000), 769230);
}

TEST(CombSort, FollowsThePinnedSequenceOfPassesAndExchanges) {
  // Worked by hand: gaps 3, 2, 1, 1 over [5, 4, 3, 2, 1].
  std::vector<int> A{5, 4, 3, 2, 1};
  Pairs Seen;
  int Passes = 0;
  EXPECT_TRUE(CombSort(
      int64_t{0}, int64_t{4}, 5, [&](int64_t i, int64_t j) { return A[i] > A[j]; },
      [&](int64_t i, int64_t j) {
        std::swap(A[i], A[j]);
        Seen.emplace_back(i, j);
      },
      [&] { ++Passes; }));
  EXPECT_EQ(A, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Seen, (Pairs{{0, 3}, {1, 4}, {0, 1}, {3, 4}}));
  EXPECT_EQ(Passes, 4);

  // A component's own numbering and start gap: 1-based, gap High - Low = 2,
  // so the first pass already compares neighbours.
  std::vector<int> B{0, 3, 1, 2};  // element 0 lies outside the range
  Seen.clear();
  Passes = 0;
  CombSort(
      int32_t{1}, int32_t{3}, 2, [&](int32_t i, int32_t j) { return B[i] > B[j]; },
      [&](int32_t i, int32_t j) {
        std::swap(B[i], B[j]);
        Seen.emplace_back(i, j);
      },
      [&] { ++Passes; });
  EXPECT_EQ(B, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(Seen, (Pairs{{1, 2}, {2, 3}}));
  EXPECT_EQ(Passes, 2);

  // Fewer than two elements: no pass at all.
  Passes = 0;
  CombSort(int64_t{3}, int64_t{3}, 1, [](int64_t, int64_t) { return true; }, [](int64_t, int64_t) {},
           [&] { ++Passes; });
  CombSort(int64_t{3}, int64_t{1}, 1, [](int64_t, int64_t) { return true; }, [](int64_t, int64_t) {},
           [&] { ++Passes; });
  EXPECT_EQ(Passes, 0);
}

TEST(CombSort, ExchangeAndPassCallbacksMayReportBack) {
  // An exchange that swaps nothing does not keep the loop going.
  int Passes = 0, Calls = 0;
  CombSort(
      int64_t{0}, int64_t{1}, 2, [](int64_t, int64_t) { return true; },
      [&](int64_t, int64_t) {
        ++Calls;
        return false;
      },
      [&] { ++Passes; });
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Passes, 1);

  // A pass callback returning false stops the sort after that pass.
  std::vector<int> A{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  Passes = 0;
  EXPECT_FALSE(CombSort(
      int64_t{0}, int64_t{9}, 10, [&](int64_t i, int64_t j) { return A[i] > A[j]; },
      [&](int64_t i, int64_t j) { std::swap(A[i], A[j]); }, [&] { return ++Passes < 2; }));
  EXPECT_EQ(Passes, 2);
}

TEST(CombSort, NaNGoesLastInBothDirections) {
  for (bool Ascending : {true, false}) {
    std::vector<double> A{NaN, 3, NaN, -1, 2, NaN, 0, 5};
    const auto After = [&](int64_t i, int64_t j) {
      return Ascending ? SortsAfterAscending(A[i], A[j]) : SortsAfterDescending(A[i], A[j]);
    };
    EXPECT_TRUE(CombSort(int64_t{0}, int64_t{7}, 8, After,
                         [&](int64_t i, int64_t j) { std::swap(A[i], A[j]); }, orv::detail::CombNoReport));
    const std::vector<double> Numbers =
        Ascending ? std::vector<double>{-1, 0, 2, 3, 5} : std::vector<double>{5, 3, 2, 0, -1};
    for (size_t k = 0; k < Numbers.size(); ++k) EXPECT_EQ(A[k], Numbers[k]) << Ascending << k;
    for (size_t k = Numbers.size(); k < A.size(); ++k) EXPECT_TRUE(std::isnan(A[k])) << Ascending << k;
  }
  // Only NaN: nothing to exchange, and the sort ends.
  std::vector<double> B(6, NaN);
  int Exchanges = 0;
  CombSort(
      int64_t{0}, int64_t{5}, 6, [&](int64_t i, int64_t j) { return SortsAfterDescending(B[i], B[j]); },
      [&](int64_t, int64_t) { ++Exchanges; }, orv::detail::CombNoReport);
  EXPECT_EQ(Exchanges, 0);
  // Integers keep the plain comparisons.
  EXPECT_TRUE(SortsAfterAscending(2, 1));
  EXPECT_FALSE(SortsAfterAscending(1, 1));
  EXPECT_TRUE(SortsAfterDescending(1, 2));
}

}  // namespace
