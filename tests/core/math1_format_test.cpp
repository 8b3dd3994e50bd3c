// Number formatting and conversion of ORV_math1.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_math1.h"

namespace {

using namespace orv;

TEST(Math1Format, HexOctalBinKeepTheLowDigitsOfThe32BitPattern) {
  EXPECT_EQ(Hex(-1, 8), "FFFFFFFF");
  EXPECT_EQ(Hex(255, 0), "F");  // 0 counts as 1 digit: only the lowest
  EXPECT_EQ(Hex(255, 2), "FF");
  EXPECT_EQ(Hex(0x1234ABCD, 8), "1234ABCD");
  EXPECT_EQ(Hex(0x1234ABCD, 3), "BCD");
  EXPECT_EQ(Hex(0xAB, 6), "0000AB");
  EXPECT_EQ(Hex(0x1234ABCD, 255), "1234ABCD");  // capped at the whole pattern
  EXPECT_EQ(Hex(INT32_MIN, 8), "80000000");
  EXPECT_EQ(Hex(0, 4), "0000");
  EXPECT_EQ(Octal(8, 3), "010");
  EXPECT_EQ(Octal(-1, 11), "37777777777");
  EXPECT_EQ(Octal(-1, 200), "37777777777");
  EXPECT_EQ(Octal(INT32_MIN, 11), "20000000000");
  EXPECT_EQ(Bin(5, 0), "1");
  EXPECT_EQ(Bin(5, 4), "0101");
  EXPECT_EQ(Bin(-1, 40), std::string(32, '1'));
  EXPECT_EQ(Bin(INT32_MIN, 32), "1" + std::string(31, '0'));
}

TEST(Math1Format, DecimalWritesExactlyNDigitsOfTheMagnitude) {
  EXPECT_EQ(Decimal(-42, 4), "-0042");
  EXPECT_EQ(Decimal(12345, 3), "345");
  EXPECT_EQ(Decimal(7, 0), "7");
  EXPECT_EQ(Decimal(0, 0), "0");
  EXPECT_EQ(Decimal(-5, 0), "-5");
  EXPECT_EQ(Decimal(INT32_MAX, 10), "2147483647");
  EXPECT_EQ(Decimal(INT32_MIN, 10), "-2147483648");  // magnitude beyond Integer
  EXPECT_EQ(Decimal(INT32_MIN, 12), "-002147483648");
  EXPECT_EQ(Decimal(INT32_MIN, 4), "-3648");
  EXPECT_EQ(Decimal(1, 255), std::string(254, '0') + "1");
}

}  // namespace
