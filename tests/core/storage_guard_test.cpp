// The storage guard: what it notices and what it lets pass.
#include "core/storage_guard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace orv::detail {
namespace {

TEST(StorageGuard, NoticesSizesAndStorageNotValues) {
  std::vector<double> V(5, 1.0);
  std::vector<std::vector<int32_t>> G(3, std::vector<int32_t>(4));
  int32_t N = 7;
  int64_t Big = int64_t{1} << 40;
  // What each change does to a guard of every kind: (change, stays intact).
  const struct {
    const char* What;
    std::function<void()> Change;
    bool Intact;
  } Rows[] = {
      {"values", [&] { V[2] = 9, G[1][3] = 5; }, true},
      {"capacity kept", [&] { V.reserve(V.capacity()); }, true},
      {"vector resized", [&] { V.resize(4); }, false},
      {"vector moved", [&] { V = std::vector<double>(V); }, false},
      {"column moved", [&] { G[2] = std::vector<int32_t>(G[2]); }, false},
      {"column resized", [&] { G[0].resize(2); }, false},
      {"columns swapped", [&] { G[0].swap(G[1]); }, false},
      {"extent", [&] { ++N; }, false},
      {"64-bit extent", [&] { Big += int64_t{1} << 33; }, false},
  };
  for (const auto& R : Rows) {
    TStorageGuard Guard(V, G, N, Big);
    EXPECT_TRUE(Guard.Intact()) << R.What;
    R.Change();
    EXPECT_EQ(Guard.Intact(), R.Intact) << R.What;
    Guard.Record();
    EXPECT_TRUE(Guard.Intact()) << R.What;
  }
}

TEST(StorageGuard, TopLevelAndItemOfWatchPartsOfAnArray) {
  std::vector<std::vector<double>> G(4, std::vector<double>(3));
  const TStorageGuard Outer(TopLevel(G));
  const TStorageGuard Key(ItemOf(G, 2));
  G[1] = std::vector<double>(5);  // neither the outer array nor column 2
  EXPECT_TRUE(Outer.Intact());
  EXPECT_TRUE(Key.Intact());
  G[2].resize(7);
  EXPECT_TRUE(Outer.Intact());
  EXPECT_FALSE(Key.Intact());
  G.resize(2);  // column 2 gone: read no more, the guard only says so
  EXPECT_FALSE(Outer.Intact());
  EXPECT_FALSE(Key.Intact());
  // Wider than the 8 words kept in place: a 2-D array of 20 columns.
  std::vector<std::vector<double>> Wide(20, std::vector<double>(2));
  TStorageGuard W(Wide);
  Wide[19].push_back(1.0);
  EXPECT_FALSE(W.Intact());
  W.Record();
  EXPECT_TRUE(W.Intact());
}

}  // namespace
}  // namespace orv::detail
