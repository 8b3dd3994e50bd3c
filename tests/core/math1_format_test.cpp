// Number formatting and conversion of ORV_math1.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "orvcalckit/ORV_math1.h"
#include "support/raises.h"

namespace {

using namespace orv;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

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

TEST(Math1Format, EEngStrExamplesAndPrefixLimits) {
  EXPECT_EQ(EEngStr(12345, 3), "12.3k");
  EXPECT_EQ(EEngStr(12345, -3), "12k3");
  EXPECT_EQ(EEngStr(-0.00047, 2), "-470u");
  EXPECT_EQ(EEngStr(0, 3), "0.00");
  EXPECT_EQ(EEngStr(0, -1), "0");
  EXPECT_EQ(EEngStr(1, 1), "1");
  EXPECT_EQ(EEngStr(1, 0), "1");
  EXPECT_EQ(EEngStr(1.5, -2), "1.5");  // no prefix: the point stays
  EXPECT_EQ(EEngStr(2.5e-7, -2), "250n");  // no point to replace: the letter is appended
  EXPECT_EQ(EEngStr(-1e9, 1), "-1G");
  EXPECT_EQ(EEngStr(1234.5, 3), "1.23k");
  EXPECT_EQ(EEngStr(123456789, 20), "123.456789M");  // Digits clamped to 9
  EXPECT_EQ(EEngStr(0.5, 9), "500.000000m");
  EXPECT_EQ(EEngStr(47e-12, 3), "47.0p");
  EXPECT_EQ(EEngStr(3.3e-15, 2), "3.3f");
  // Beyond the prefixes the mantissa grows: "T" keeps 1000 and more, "a" below 1.
  EXPECT_EQ(EEngStr(1e15, 3), "1000T");
  EXPECT_EQ(EEngStr(1.23456e16, 2), "12346T");
  EXPECT_EQ(EEngStr(1e-20, 3), "0.0100a");
  EXPECT_EQ(EEngStr(2e-19, -2), "0a20");
  EXPECT_EQ(EEngStr(NaN, 3), "NAN");
  EXPECT_EQ(EEngStr(-Inf, 3), "-INF");
}

TEST(Math1Format, EEngStrExponentIsExactAtPowersOfAThousandAndAfterRounding) {
  EXPECT_EQ(EEngStr(1000, 3), "1.00k");
  EXPECT_EQ(EEngStr(1e6, 3), "1.00M");
  EXPECT_EQ(EEngStr(1e9, 2), "1.0G");
  EXPECT_EQ(EEngStr(1e12, 3), "1.00T");
  EXPECT_EQ(EEngStr(1e-3, 3), "1.00m");
  EXPECT_EQ(EEngStr(1e-6, 3), "1.00u");
  EXPECT_EQ(EEngStr(1e-18, 3), "1.00a");
  EXPECT_EQ(EEngStr(-1000, -3), "-1k00");
  EXPECT_EQ(EEngStr(100, 3), "100");
  EXPECT_EQ(EEngStr(10, 3), "10.0");
  // Values that round up to the next power of ten move into its group.
  EXPECT_EQ(EEngStr(999.9, 3), "1.00k");
  EXPECT_EQ(EEngStr(999.4, 3), "999");
  EXPECT_EQ(EEngStr(999999, 2), "1.0M");
  EXPECT_EQ(EEngStr(0.99996, 4), "1.000");
  EXPECT_EQ(EEngStr(9.9999e-19, 3), "1.00a");
  EXPECT_EQ(EEngStr(999.9e12, 3), "1000T");
}

TEST(Math1Format, MakeEFormatShowsTheWholeExponent) {
  EXPECT_EQ(MakeEFormat(1234.4, 12, 4), "  0.1234E+04");
  EXPECT_EQ(MakeEFormat(0.0015, 10, 2), "  0.15E-02");
  EXPECT_EQ(MakeEFormat(0, 8, 2), " 0.00E+00");  // the exponent of 0 is not raised
  EXPECT_EQ(MakeEFormat(9.99, 8, 2), " 0.10E+02");
  EXPECT_EQ(MakeEFormat(-2.5, 10, 3), "-0.250E+01");
  EXPECT_EQ(MakeEFormat(1.5e150, 8, 2), " 0.15E+151");
  EXPECT_EQ(MakeEFormat(-1.5e-150, 12, 3), " -0.150E-149");
  EXPECT_EQ(MakeEFormat(1e-300, 8, 2), " 0.10E-299");
  EXPECT_EQ(MakeEFormat(1, 0, 2), " 0.10E+01");                       // width at least 8, never cut
  EXPECT_EQ(MakeEFormat(1, 100, 2), std::string(31, ' ') + " 0.10E+01");  // width at most 40
  EXPECT_EQ(MakeEFormat(1.0 / 3, 8, 99), " 0.333333333333333E+00");  // 15 digits at most
  EXPECT_EQ(MakeEFormat(1.0 / 3, 8, 0), " 0.33E+00");
  EXPECT_EQ(MakeEFormat(NaN, 8, 2), "     NAN");
}

TEST(Math1Format, StrfWithTwoDigitExponent) {
  EXPECT_EQ(strf(1.5, 8, 2), "    1.50");
  EXPECT_EQ(strf(3.14159, 1, 3), "3.142");
  EXPECT_EQ(strf(1234.5, 12, -2), " 1.23450E+03");
  EXPECT_EQ(strf(-2.5e-5, 10, -2), "-2.500E-05");
  EXPECT_EQ(strf(0, 10, -2), " 0.000E+00");
  EXPECT_EQ(strf(1e150, 12, -2), std::string(12, '*'));  // the field overflows
  EXPECT_EQ(strf(1e-100, 12, -2), std::string(12, '*'));
  EXPECT_EQ(strf(9.99e99, 10, -2), " 9.990E+99");
  EXPECT_EQ(strf(NaN, 10, -2), "         NAN");  // not an exponent form: unchanged
  EXPECT_TRUE(strf(1, INT32_MAX, -2).ends_with("000E+00"));  // no overflow in the width
}

TEST(Math1Format, FloatingBitPatternsAsHexRoundTrip) {
  EXPECT_EQ(FPNumToHex(1.0), "3FF0000000000000");
  EXPECT_EQ(FPNumToHex(-2.0), "C000000000000000");
  EXPECT_EQ(FPNumToHex(0.1), "3FB999999999999A");
  EXPECT_EQ(FPNumToHex(-0.0), "8000000000000000");
  EXPECT_EQ(FPNumToHex(Inf), "7FF0000000000000");
  EXPECT_EQ(FPNumToHex(1.0f), "3F800000");
  EXPECT_EQ(FPNumToHex(-0.5f), "BF000000");
  EXPECT_EQ(HexToDouble("3FF0000000000000"), 1.0);
  EXPECT_EQ(HexToDouble("3ff0000000000000"), 1.0);
  EXPECT_EQ(HexToDouble("3fB999999999999a"), 0.1);
  EXPECT_EQ(HexToDouble("C000000000000000"), -2.0);
  EXPECT_TRUE(std::isnan(HexToDouble("7FF8000000000000")));
  EXPECT_EQ(HexToDouble("0000000000000001"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(HexToSingle("3F800000"), 1.0f);
  EXPECT_EQ(HexToSingle("bf000000"), -0.5f);
  for (double x : {3.141592653589793, -1e-310, 1.7976931348623157e308, 0.0}) {
    EXPECT_EQ(std::bit_cast<uint64_t>(HexToDouble(FPNumToHex(x))), std::bit_cast<uint64_t>(x));
  }
  EXPECT_EQ(std::bit_cast<uint32_t>(HexToSingle(FPNumToHex(-1.17549435e-38f))), 0x80800000u);
#if ORV_HAS_EXTENDED
  EXPECT_EQ(FPNumToHex(1.0L), "3FFF8000000000000000");
  EXPECT_EQ(FPNumToHex(-2.0L), "C0008000000000000000");
  EXPECT_EQ(HexToExtended("4000C90FDAA22168C235"), 3.14159265358979323851L);  // pi in 64 mantissa bits
  EXPECT_EQ(HexToExtended("3fff8000000000000000"), 1.0L);
  EXPECT_EQ(FPNumToHex(HexToExtended("BFFDAAAAAAAAAAAAAAAB")), "BFFDAAAAAAAAAAAAAAAB");
#endif
}

TEST(Math1Format, HexToFloatRejectsMalformedText) {
  const auto Raises = [](auto Call, const std::string& Message) { test::ExpectRaises<EORVError>(Call, Message); };
  Raises([] { HexToDouble("3FF000000000000"); }, "HexToDouble: invalid hex string \"3FF000000000000\"");
  Raises([] { HexToDouble("3FF00000000000000"); }, "HexToDouble: invalid hex string \"3FF00000000000000\"");
  Raises([] { HexToDouble("3FF000000000000G"); }, "HexToDouble: invalid hex string \"3FF000000000000G\"");
  Raises([] { HexToDouble(""); }, "HexToDouble: invalid hex string \"\"");
  Raises([] { HexToSingle(" 3F80000"); }, "HexToSingle: invalid hex string \" 3F80000\"");
  Raises([] { HexToSingle("0x3F8000"); }, "HexToSingle: invalid hex string \"0x3F8000\"");
  EXPECT_THROW(HexToSingle(std::string("3F80") + char(0) + "000"), EORVError);
#if ORV_HAS_EXTENDED
  Raises([] { HexToExtended("3FF0000000000000"); }, "HexToExtended: invalid hex string \"3FF0000000000000\"");
#endif
}

TEST(Math1Format, RomanNumerals) {
  EXPECT_EQ(Roman(1994), "MCMXCIV");
  EXPECT_EQ(Roman(4), "IV");
  EXPECT_EQ(Roman(3888), "MMMDCCCLXXXVIII");
  EXPECT_EQ(Roman(1), "I");
  EXPECT_EQ(Roman(29999), std::string(29, 'M') + "CMXCIX");
  EXPECT_EQ(Roman(0), "");
  EXPECT_EQ(Roman(30000), "");
  EXPECT_EQ(Roman(-5), "");
  EXPECT_EQ(Roman(INT32_MIN), "");
}

TEST(Math1Format, StrToIntDefaultAbsorbsEveryFailure) {
  EXPECT_EQ(StrToIntDefault("123", 9), 123);
  EXPECT_EQ(StrToIntDefault("  -45", 9), -45);
  EXPECT_EQ(StrToIntDefault("+7", 9), 7);
  EXPECT_EQ(StrToIntDefault("\t-3\r\n", 9), -3);  // blanks and line ends around the number
  EXPECT_EQ(StrToIntDefault("12 ", 9), 12);
  EXPECT_EQ(StrToIntDefault("-2147483648", 9), INT32_MIN);
  EXPECT_EQ(StrToIntDefault("2147483647", 9), INT32_MAX);
  for (const char* Bad : {"", " ", "2147483648", "-2147483649", "12a", "1.5", "1 2", "+-5", "-+5", "+", "-", "$1F"})
    EXPECT_EQ(StrToIntDefault(Bad, 9), 9) << Bad;
}

TEST(Math1Format, CalcScaleParsChoosesOneTwoFiveSteps) {
  double First = -1, Step = -1;
  uint16_t NMinor = 0;
  auto Run = [&](int32_t NTick, double Low, double High) { CalcScalePars(NTick, Low, High, First, Step, NMinor); };
  Run(5, 0, 10);  // exactly 2 per tick takes the mantissa 1
  EXPECT_EQ(Step, 1.0);
  EXPECT_EQ(NMinor, 5);
  EXPECT_EQ(First, 0.0);
  Run(4, 0, 10);
  EXPECT_EQ(Step, 2.0);
  EXPECT_EQ(NMinor, 4);
  EXPECT_EQ(First, 0.0);
  Run(2, 0, 10);  // exactly 5 takes the mantissa 2
  EXPECT_EQ(Step, 2.0);
  Run(5, 10, 0);
  EXPECT_EQ(Step, -1.0);
  EXPECT_EQ(First, 10.0);
  Run(0, -3.7, 2);
  EXPECT_EQ(Step, 1.0);
  EXPECT_EQ(First, -3.0);
  EXPECT_EQ(NMinor, 5);
  Run(0, 0.5, 100);
  EXPECT_EQ(NMinor, 1);
  EXPECT_EQ(First, 1.0);
  Run(1, 0, 7);  // 7 per tick: mantissa 5
  EXPECT_EQ(Step, 5.0);
  EXPECT_EQ(NMinor, 5);
  Run(10, 0.013, 0.031);  // 0.0018 per tick: 1e-3
  EXPECT_DOUBLE_EQ(Step, 0.001);
  EXPECT_DOUBLE_EQ(First, 0.013);
  Run(4, -1234, 5678);  // 1728 per tick: 1000
  EXPECT_EQ(Step, 1000.0);
  EXPECT_EQ(First, -1000.0);
  Run(3, 7, 7);
  EXPECT_EQ(First, 7.0);
  EXPECT_EQ(Step, 0.0);
  EXPECT_EQ(NMinor, 1);
}

TEST(Math1Format, CalcScaleParsAlwaysEndsAndNeverRaises) {
  double First = -1, Step = -1;
  uint16_t NMinor = 0;
  // A negative tick count is taken by its size.
  CalcScalePars(-5, 0, 10, First, Step, NMinor);
  EXPECT_EQ(Step, 1.0);
  EXPECT_EQ(First, 0.0);
  CalcScalePars(INT32_MIN, 0, 10, First, Step, NMinor);
  EXPECT_GT(Step, 0.0);
  // A step far below the resolution of First: stepping would never reach Low.
  CalcScalePars(100000000, 1e17, 1e17 + 1000, First, Step, NMinor);
  EXPECT_DOUBLE_EQ(Step, 5e-6);
  EXPECT_LE(std::fabs(First - 1e17), 32.0);
  CalcScalePars(INT32_MAX, -1e17, -1e17 + 1000, First, Step, NMinor);
  EXPECT_LE(std::fabs(First + 1e17), 32.0);
  // Ranges without a finite length.
  CalcScalePars(5, NaN, 10, First, Step, NMinor);
  EXPECT_TRUE(std::isnan(First));
  EXPECT_EQ(Step, 0.0);
  EXPECT_EQ(NMinor, 1);
  CalcScalePars(5, -Inf, 0, First, Step, NMinor);
  EXPECT_EQ(Step, 0.0);
  CalcScalePars(0, 1e300, -1e300, First, Step, NMinor);
  EXPECT_EQ(Step, 1.0);
  EXPECT_EQ(First, 1e300);
}

}  // namespace
