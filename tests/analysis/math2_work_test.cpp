// The work arrays of the clustering: huge pages only for an array of at
// least one huge page, and the routine's own memory error.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "analysis/math2_work.h"
#include "support/raises.h"

namespace orv {
namespace {

TEST(Math2BigWork, HugePagesFromOneBlockOn) {
  // cells, bytes asked for, huge: n x n distances of n objects; 512 objects
  // fill one block of 2 MiB exactly, 1000 take 8000000 bytes, four blocks.
  const struct { int64_t Count, Bytes; bool Huge; } Rows[] = {
      {0, 0, false},           {9, 72, false},          {511 * 511, 2088968, false},
      {512 * 512, 2097152, true}, {512 * 512 + 1, 4194304, true}, {1000 * 1000, 8388608, true}};
  for (const auto& R : Rows) {
    const detail::TBigWorkSize S = detail::BigWorkSize(R.Count);
    EXPECT_EQ(static_cast<int64_t>(S.Bytes), R.Bytes) << R.Count;
    EXPECT_EQ(S.Huge, R.Huge) << R.Count;
    const detail::TBigWork W = detail::Math2BigWork("AgglomClustering", R.Count);
    if (R.Count > 0) W[R.Count - 1] = 1.0;  // the last cell is there
    if (R.Huge) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(W.get()) % detail::HugePageBytes, 0u) << R.Count;
    }
  }
  test::ExpectRaises<EORVMath2Error>(
      [] { detail::Math2BigWork("AgglomClustering", std::numeric_limits<int64_t>::max()); },
      "AgglomClustering: not enough memory");
}

}  // namespace
}  // namespace orv
