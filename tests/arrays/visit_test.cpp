// The draw-order walk of arrays/visit.h over boxes: the order the random
// fills draw in and the box statistics sum in.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "arrays/visit.h"
#include "support/arrays.h"

namespace orv::detail {
namespace {

using V = std::vector<int64_t>;

TEST(DrawOrder, WalksBoxesFromTheLastIndexWithTheSecondFastest) {
  const auto Index = [](int64_t K) { return K; };
  // np.transpose(a[0:2, 1:3, 1:4], (2, 0, 1)).ravel() of a = np.arange(24).reshape(2, 3, 4),
  // and np.transpose(b[0:2, 0:2, 1:2, 1:3], (3, 2, 0, 1)).ravel() of b = np.arange(36).reshape(2, 3, 2, 3)
  const auto A3 = test::ScanArray<int64_t>(Index, 2, 3, 4);
  const auto A4 = test::ScanArray<int64_t>(Index, 2, 3, 2, 3);
  V Got3, Got4, Positions;
  ForEachCellInDrawOrder(A3, CornerBox(0, 1, 1, 1, 2, 3), [&](int64_t C) { Got3.push_back(C); });
  ForEachCellInDrawOrder(A4, CornerBox(0, 0, 1, 1, 1, 1, 1, 2), [&](int64_t C, const TIndex<4>& At) {
    Got4.push_back(C);
    Positions.push_back(((At[0] * 3 + At[1]) * 2 + At[2]) * 3 + At[3]);  // the scan index of At
  });
  EXPECT_EQ(Got3, V({5, 9, 17, 21, 6, 10, 18, 22, 7, 11, 19, 23}));
  EXPECT_EQ(Got4, V({4, 10, 22, 28, 5, 11, 23, 29}));
  EXPECT_EQ(Positions, Got4);
  // Scan order below 3-D; a reversed box visits nothing; false stops the walk.
  const auto A2 = test::ScanArray<int64_t>(Index, 3, 2);
  V Got2;
  EXPECT_TRUE(ForEachCellInDrawOrder(A2, WholeBox(Shape(A2)), [&](int64_t C) { Got2.push_back(C); }));
  EXPECT_TRUE(ForEachCellInDrawOrder(A3, CornerBox(1, 0, 0, 0, 2, 3), [&](int64_t C) { Got2.push_back(C); }));
  EXPECT_EQ(Got2, V({0, 1, 2, 3, 4, 5}));
  int Seen = 0;
  EXPECT_FALSE(ForEachCellInDrawOrder(A4, WholeBox(Shape(A4)), [&](int64_t) { return ++Seen < 5; }));
  EXPECT_EQ(Seen, 5);
}

}  // namespace
}  // namespace orv::detail
