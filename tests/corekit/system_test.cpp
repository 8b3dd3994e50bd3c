// Rounding, Str formatting and the global uniform generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_system.h"

namespace {

using orv::Round;
using orv::Trunc;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr int64_t I64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t I64Min = std::numeric_limits<int64_t>::min();

TEST(Rounding, RoundIsHalfToEvenAndTruncTowardsZero) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(2.4999999999999996), 2);
  EXPECT_EQ(Round(0.49999999999999994), 0);  // x + 0.5 would round up to 1
  EXPECT_EQ(Round(4503599627370497.0), 4503599627370497);  // 2^52 + 1 stays exact
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_EQ(orv::Int(-2.5), -2.0);
  EXPECT_EQ(orv::Frac(-2.5), -0.5);
  EXPECT_EQ(orv::Int(7.25) + orv::Frac(7.25), 7.25);
}

TEST(Rounding, OutOfRangeAndNaNHaveDefinedResults) {
  EXPECT_EQ(Round(NaN), 0);
  EXPECT_EQ(Trunc(NaN), 0);
  EXPECT_EQ(Round(1e300), I64Max);
  EXPECT_EQ(Round(-Inf), I64Min);
  EXPECT_EQ(Trunc(9223372036854775808.0), I64Max);  // 2^63 itself is out of range
  EXPECT_EQ(Trunc(-9223372036854775808.0), I64Min);  // -2^63 is in range
  EXPECT_EQ(orv::RoundInt(3e9), INT32_MAX);
  EXPECT_EQ(orv::TruncInt(-3e9), INT32_MIN);
  EXPECT_EQ(orv::RoundInt(NaN), 0);
  EXPECT_EQ(orv::RoundInt(-2147483648.4), INT32_MIN);
  // In double nothing saturates: what Round would clip comes back as it is.
  EXPECT_TRUE(std::isnan(orv::RoundHalfEven(NaN)));
  EXPECT_EQ(orv::RoundHalfEven(1e300), 1e300);
  EXPECT_EQ(orv::RoundHalfEven(-Inf), -Inf);
  EXPECT_EQ(orv::RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(orv::RoundHalfEven(9223372036854777856.5 + 1e4), 9223372036854787856.0);
}

TEST(Rounding, SimpleRoundToRoundsHalvesAwayFromZero) {
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(-0.125, -2), -0.13);  // exact half
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(0.125), 0.13);
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(1234.5, 0), 1235.0);
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(-1234.5, 0), -1235.0);
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(1250.0, 2), 1300.0);
  // 1.005 is stored below the half: rounding follows the stored value.
  EXPECT_DOUBLE_EQ(orv::SimpleRoundTo(1.005, -2), 1.0);
  EXPECT_EQ(orv::SimpleRoundTo(1e300, -5), 1e300);
  EXPECT_TRUE(std::isnan(orv::SimpleRoundTo(NaN, -2)));
  EXPECT_EQ(orv::SimpleRoundTo(123.0, 400), 0.0);
}

TEST(StrFormat, FixedPadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(orv::Str(3.14159, 8, 3), "   3.142");
  EXPECT_EQ(orv::Str(-3.14159, 1, 2), "-3.14");
  EXPECT_EQ(orv::Str(42.0, 0, 0), "42");
  EXPECT_EQ(orv::Str(-0.0, 5, 2), " 0.00");
  EXPECT_EQ(orv::Str(-0.001, 1, 2), "-0.00");
  EXPECT_EQ(orv::Str(0.1, 1, 20), "0.10000000000000000555");  // the exact binary value
  EXPECT_EQ(orv::Str(1e20, 1, 0), "100000000000000000000");
  EXPECT_EQ(orv::Str(NaN, 5, 2), "  NAN");
  EXPECT_EQ(orv::Str(-Inf, 1, 2), "-INF");
  EXPECT_EQ(orv::strff(3.14159, 8, 3), "   3.142");
  EXPECT_EQ(orv::strff(2.0, 1, -1), "2");
}

TEST(StrFormat, ScientificHasWidthMinusNineFurtherDigitsAndFourExponentDigits) {
  EXPECT_EQ(orv::Str(1234.4, 12, -1), " 1.234E+0003");
  EXPECT_EQ(orv::Str(-0.0015, 10, -1), "-1.5E-0003");
  EXPECT_EQ(orv::Str(0.0, 10, -1), " 0.0E+0000");
  EXPECT_EQ(orv::Str(1.5e150, 12, -2), " 1.500E+0150");
  EXPECT_EQ(orv::Str(9.9999, 10, -1), " 1.0E+0001");  // rounding carries into the exponent
  EXPECT_EQ(orv::Str(5e-324, 11, -1), " 4.94E-0324");
  EXPECT_EQ(orv::Str(2.0, 4, -1), " 2.0E+0000");  // at least one further digit
  for (int W = 10; W < 30; ++W) EXPECT_EQ(orv::Str(-123.456, W, -1).size(), static_cast<size_t>(W));
}

TEST(StrFormat, WidthAndDecimalsAreHonouredUpTo4096) {
  // Exact binary values from Python's decimal.Decimal(1/3), Decimal(0.1) and
  // Decimal(5e-324) (1074 decimals, ending in ...447265625).
  const std::string Third = "3.33333333333333314829616256247390992939472198486328125";
  const std::string Tenth = "0.1000000000000000055511151231257827021181583404541015625";
  const auto Zeros = [](std::size_t N) { return std::string(N, '0'); };
  // Width - 9 further digits: 121 at width 130, 4087 at the limit.
  EXPECT_EQ(orv::Str(1.0 / 3, 130, -1), " " + Third + Zeros(121 - (Third.size() - 2)) + "E-0001");
  EXPECT_EQ(orv::Str(1.0 / 3, 5000, -1), " " + Third + Zeros(4087 - (Third.size() - 2)) + "E-0001");
  EXPECT_EQ(orv::Str(-1.0 / 3, INT32_MAX, -1).size(), 4096u);
  EXPECT_EQ(orv::Str(2.0, INT32_MIN, -1), " 2.0E+0000");
  // Padding to the width, up to 4096.
  EXPECT_EQ(orv::Str(1.0, 4096, 0), std::string(4095, ' ') + "1");
  EXPECT_EQ(orv::Str(1.0, 5000, 0), std::string(4095, ' ') + "1");
  EXPECT_EQ(orv::Str(NaN, 5000, 0).size(), 4096u);
  // Decimals, up to 4096.
  EXPECT_EQ(orv::Str(0.1, 0, 1200), Tenth + Zeros(1200 - (Tenth.size() - 2)));
  EXPECT_EQ(orv::Str(0.1, 0, 5000), Tenth + Zeros(4096 - (Tenth.size() - 2)));
  const std::string Tiny = orv::Str(5e-324, 0, 1074);
  EXPECT_EQ(Tiny.size(), 1076u);
  EXPECT_EQ(Tiny.substr(0, 326), "0." + Zeros(323) + "4");
  EXPECT_EQ(Tiny.substr(1076 - 9), "447265625");
  EXPECT_EQ(orv::Str(-1.7976931348623157e308, 1, 4096).size(), 1u + 309 + 1 + 4096);
  EXPECT_EQ(orv::strff(0.1, 0, 1200), orv::Str(0.1, 0, 1200));
}

#if ORV_HAS_EXTENDED
TEST(StrFormat, ExtendedKeepsItsRangeAndPrecision) {
  EXPECT_EQ(orv::Str(1e4000L, 12, -1), " 1.000E+4000");
  EXPECT_EQ(orv::Str(1.0L / 3.0L, 1, 19), "0.3333333333333333333");
  EXPECT_EQ(orv::Str(1e4932L, 0, 4096).size(), 4933u + 1 + 4096);
  EXPECT_EQ(orv::Str(-1e-4000L, 4096, -1).size(), 4096u);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(orv::Frac(-2.25L), -0.25L);
}
#endif

TEST(RandomGenerator, SeedReproducesTheSequence) {
  orv::SetRandSeed(12345);
  EXPECT_EQ(orv::RandSeed(), 12345u);
  double First[5];
  for (double& X : First) X = orv::Random();
  orv::SetRandSeed(12345);
  for (double X : First) EXPECT_EQ(orv::Random(), X);
  orv::SetRandSeed(12346);
  EXPECT_NE(orv::Random(), First[0]);
}

TEST(RandomGenerator, UniformInRange) {
  orv::SetRandSeed(7);
  const int N = 200000;
  double Sum = 0;
  int Counts[10] = {};
  for (int i = 0; i < N; ++i) {
    const double X = orv::Random();
    ASSERT_GE(X, 0.0);
    ASSERT_LT(X, 1.0);
    Sum += X;
    const int K = orv::Random(10);
    ASSERT_GE(K, 0);
    ASSERT_LT(K, 10);
    ++Counts[K];
  }
  EXPECT_NEAR(Sum / N, 0.5, 0.005);  // sd of the mean is 0.00065
  for (int C : Counts) EXPECT_NEAR(C, N / 10, 600);  // sd is about 134
  EXPECT_EQ(orv::Random(0), 0);
  EXPECT_EQ(orv::Random(-3), 0);
  EXPECT_EQ(orv::Random(1), 0);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(orv::Random(INT32_MAX), INT32_MAX);
}

TEST(RandomGenerator, GaussIsNormalAndFollowsTheSeed) {
  // P(z < -2), P(-2 <= z < -1), P(-1 <= z < 0) and their mirrors: the normal
  // distribution function, scipy.stats.norm.cdf differences
  const double Want[6] = {0.022750131948179, 0.135905121983278, 0.341344746068543,
                          0.341344746068543, 0.135905121983278, 0.022750131948179};
  orv::SetRandSeed(3);
  const int N = 200000;
  int Counts[6] = {};
  double Sum = 0;
  for (int i = 0; i < N; ++i) {
    const double X = orv::RandomGauss(2, 3);
    Sum += X;
    const double Z = (X - 2) / 3;
    ++Counts[(Z >= -2) + (Z >= -1) + (Z >= 0) + (Z >= 1) + (Z >= 2)];
  }
  EXPECT_NEAR(Sum / N, 2.0, 4 * 3 / std::sqrt(N));
  for (int K = 0; K < 6; ++K) EXPECT_NEAR(Counts[K], N * Want[K], 5 * std::sqrt(N * Want[K])) << "bin " << K;
  // A seed restarts the pairs too: the value waiting from an odd count is dropped.
  orv::SetRandSeed(9);
  const double First[3] = {orv::RandomGauss(0, 1), orv::RandomGauss(0, 1), orv::RandomGauss(0, 1)};
  orv::SetRandSeed(9);
  for (double X : First) EXPECT_EQ(orv::RandomGauss(0, 1), X);
  EXPECT_NE(First[0], First[1]);
  EXPECT_EQ(orv::RandomGauss(-4.5, 0), -4.5);
}

TEST(RandomGenerator, RandomizeNeverRepeatsASeed) {
  std::set<uint64_t> Seeds;
  for (int i = 0; i < 1000; ++i) {
    orv::Randomize();
    Seeds.insert(orv::RandSeed());
  }
  EXPECT_EQ(Seeds.size(), 1000u);
}

}  // namespace
