// The ranked neighbour list against the ordered-insertion routines it
// stands for, and the rule at the last entry.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/ranked_list.h"
#include "orvcalckit/ORV_math1.h"

namespace orv {
namespace {

TEST(RankedList, MatchesOrderedInsertionWithTies) {
  for (const int32_t Cap : {1, 3, 10}) {
    detail::TRankedList L(Cap);
    std::vector<double> D(Cap, uc_MaxReal);
    std::vector<int32_t> O(Cap, 0);
    std::mt19937 Gen(7);
    for (int32_t B = 1; B <= 500; ++B) {
      const double V = static_cast<double>(Gen() % 20);  // many ties
      const int32_t I = SortIntoArray(std::span<double>(D), V, true, true);
      if (I >= 0) InsertIntoArray(std::span<int32_t>(O), B, I);
      ASSERT_EQ(L.Insert(V, B), I) << Cap << ' ' << B;
    }
    for (int32_t R = 0; R < Cap; ++R) {
      EXPECT_EQ(L.Dist(R), D[R]);
      EXPECT_EQ(L.Obj(R), O[R]);
    }
  }
}

TEST(RankedList, LastEntryNaNAndReset) {
  detail::TRankedList L(2);
  EXPECT_EQ(L.Insert(1.0, 1), 0);
  EXPECT_EQ(L.Insert(2.0, 2), 1);
  EXPECT_EQ(L.Insert(2.0, 3), 1);  // equal to the last: goes in front, 2 drops out
  EXPECT_EQ(L.Obj(1), 3);
  EXPECT_EQ(L.Insert(2.5, 4), -1);
  EXPECT_EQ(L.Insert(std::nan(""), 5), -1);
  L.Reset();
  EXPECT_EQ(L.Dist(0), uc_MaxReal);
  EXPECT_EQ(L.Obj(1), 0);
}

}  // namespace
}  // namespace orv
