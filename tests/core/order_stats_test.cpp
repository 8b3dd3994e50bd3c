// Why the selections of core/order_stats.h stay apart: they agree on the
// value of a rank, not on which of equal elements they return.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/order_stats.h"

namespace orv {
namespace {

TEST(OrderStats, SelectionsMayReturnDifferentElementsOfEqualValue) {
  // The smallest of +0, -0, 1, 2: std::nth_element (TSelection) leaves -0.0
  // in front, the first minimum (TRankSelector's next rank) is +0.0. A
  // routine of either kind that took the other's selection would change the
  // sign its callers see.
  const std::vector<double> Values = {+0.0, -0.0, 1, 2};
  detail::TSelection Nearest(4);
  for (const double X : Values) Nearest.Add(X);
  const double A = Nearest.Select(0);
  std::vector<double> Work = Values;
  detail::TRankSelector<double> Ranks(Work);
  const double B = Ranks(1);
  EXPECT_EQ(A, 0.0);
  EXPECT_EQ(B, 0.0);
  EXPECT_TRUE(std::signbit(A));
  EXPECT_FALSE(std::signbit(B));
}

}  // namespace
}  // namespace orv
