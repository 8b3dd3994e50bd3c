// The wrapping Integer arithmetic of arrays/convert.h (the conversions are
// tested through CloneArray).
#include <gtest/gtest.h>

#include <cstdint>

#include "arrays/convert.h"

namespace orv::detail {
namespace {

TEST(WrapArithmetic, ResultsModulo2To32) {
  // A, B: A + B, A - B, A * B, -A, |A| (two's complement modulo 2^32 by hand)
  const struct {
    int32_t A, B, Sum, Diff, Prod, Neg, Abs;
  } Rows[] = {{2147483647, 2, -2147483647, 2147483645, -2, -2147483647, 2147483647},
              {INT32_MIN, -1, 2147483647, -2147483647, INT32_MIN, INT32_MIN, INT32_MIN},
              {-7, 3, -4, -10, -21, 7, 7},
              {65536, 65536, 131072, 0, 0, -65536, 65536}};
  for (const auto& R : Rows) {
    EXPECT_EQ(WrapAdd(R.A, R.B), R.Sum) << R.A << ", " << R.B;
    EXPECT_EQ(WrapSub(R.A, R.B), R.Diff) << R.A << ", " << R.B;
    EXPECT_EQ(WrapMul(R.A, R.B), R.Prod) << R.A << ", " << R.B;
    EXPECT_EQ(WrapNeg(R.A), R.Neg) << R.A;
    EXPECT_EQ(WrapAbs(R.A), R.Abs) << R.A;
  }
}

}  // namespace
}  // namespace orv::detail
