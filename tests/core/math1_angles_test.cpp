// Angles of ORV_math1: direction, reduction, degree forms, text and rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <tuple>

#include "orvcalckit/ORV_math1.h"
#include "support/raises.h"

namespace {

using namespace orv;

constexpr double Pi = std::numbers::pi;

TEST(Math1Angles, AngleToXAxisLiesInTheHalfOpenCircle) {
  EXPECT_EQ(AngleToXAxis(0, 0), 3 * Pi / 2);
  EXPECT_EQ(AngleToXAxis(-1, 0), Pi);
  EXPECT_EQ(AngleToXAxis(1, 0), 0.0);
  EXPECT_EQ(AngleToXAxis(0, 2), Pi / 2);
  EXPECT_EQ(AngleToXAxis(0, -2), 3 * Pi / 2);
  EXPECT_DOUBLE_EQ(AngleToXAxis(1, -1), 7 * Pi / 4);
  EXPECT_DOUBLE_EQ(AngleToXAxis(1, 1), Pi / 4);
  EXPECT_DOUBLE_EQ(AngleToXAxis(-1, 1), 3 * Pi / 4);
  EXPECT_DOUBLE_EQ(AngleToXAxis(-1, -1), 5 * Pi / 4);
  // -1e-300 rad plus 2 pi rounds to 2 pi: the result must stay below it.
  const double a = AngleToXAxis(1, -1e-300);
  EXPECT_LT(a, 2 * Pi);
  EXPECT_DOUBLE_EQ(a, 2 * Pi);
}

TEST(Math1Angles, CanonicalAnglesReduceIntoHalfCircles) {
  EXPECT_EQ(CanonicalAngleDegrees(540), 180.0);
  EXPECT_EQ(CanonicalAngleDegrees(-190), 170.0);
  EXPECT_EQ(CanonicalAngleDegrees(180), 180.0);
  EXPECT_EQ(CanonicalAngleDegrees(-180), -180.0);
  EXPECT_EQ(CanonicalAngleDegrees(190), -170.0);
  EXPECT_EQ(CanonicalAngleDegrees(-900), -180.0);
  EXPECT_EQ(CanonicalAngleDegrees(720.5), 0.5);
  EXPECT_EQ(CanonicalAngleDegrees(360), 0.0);
  EXPECT_DOUBLE_EQ(CanonicalAngleRadians(3 * Pi / 2), -Pi / 2);
  EXPECT_DOUBLE_EQ(CanonicalAngleRadians(-5 * Pi / 2), -Pi / 2);
  EXPECT_EQ(CanonicalAngleRadians(Pi), Pi);
  EXPECT_DOUBLE_EQ(CanonicalAngleRadians(7), 7 - 2 * Pi);
}

using TAngle = std::tuple<double, double, double>;

TAngle Convert(double D, double M, double S, int From, int To) {
  ConvertDegrees(D, M, S, TDegreeFormat(From), TDegreeFormat(To));
  return {D, M, S};
}

TEST(Math1Angles, ConvertDegreesBetweenTheThreeForms) {
  EXPECT_EQ(Convert(12.5, 0, 0, 0, 2), TAngle(12, 30, 0));
  EXPECT_EQ(Convert(12, 30.5, 0, 1, 2), TAngle(12, 30, 30));
  EXPECT_EQ(Convert(12.5, 7, 8, 0, 0), TAngle(12.5, 0, 0));
  EXPECT_EQ(Convert(12.515625, 0, 0, 0, 1), TAngle(12, 30.9375, 0));
  EXPECT_EQ(Convert(12.515625, 0, 0, 0, 2), TAngle(12, 30, 56.25));
  EXPECT_EQ(Convert(12, 30.9375, 9, 1, 0), TAngle(12.515625, 0, 0));
  EXPECT_EQ(Convert(12, 30.9, 56.25, 2, 0), TAngle(12.515625, 0, 0));  // whole minutes only
  EXPECT_EQ(Convert(12, 30, 56.25, 2, 1), TAngle(12, 30.9375, 0));
  EXPECT_EQ(Convert(12, 30, 56.25, 2, 2), TAngle(12, 30, 56.25));
  EXPECT_EQ(Convert(12, 30.5, 7, 1, 1), TAngle(12, 30.5, 0));
  EXPECT_EQ(Convert(12.5, 60, 60, 0, 3), TAngle(12.5, 60, 60));  // 60 allowed; unknown form: unchanged
  EXPECT_EQ(Convert(12.5, 1, 1, 7, 0), TAngle(12.5, 1, 1));
}

TEST(Math1Angles, ConvertDegreesAppliesTheSignToTheWholeAngle) {
  EXPECT_EQ(Convert(-12, 30, 0, 1, 0), TAngle(-12.5, 0, 0));
  EXPECT_EQ(Convert(-12, 30, 45, 2, 0), TAngle(-12.5125, 0, 0));
  EXPECT_EQ(Convert(-12.515625, 0, 0, 0, 2), TAngle(-12, 30, 56.25));
  // Above -1 degree the sign rides on a negative zero and survives the round trip.
  auto [D, M, S] = Convert(-0.5, 0, 0, 0, 1);
  EXPECT_EQ(D, 0.0);
  EXPECT_TRUE(std::signbit(D));
  EXPECT_EQ(M, 30.0);
  EXPECT_EQ(Convert(D, M, S, 1, 0), TAngle(-0.5, 0, 0));
  EXPECT_EQ(Convert(-0.0, 0, 45, 2, 0), TAngle(-0.0125, 0, 0));
  EXPECT_EQ(Convert(-0.0, 0, 0, 2, 0), TAngle(0, 0, 0));
}

TEST(Math1Angles, ConvertDegreesRejectsMinutesAndSecondsOutOfRange) {
  for (auto [M, S, Msg] : {std::tuple{70.0, 0.0, "ConvertDegrees: invalid range of minutes"},
                           std::tuple{-0.5, 70.0, "ConvertDegrees: invalid range of minutes"},
                           std::tuple{std::nan(""), 0.0, "ConvertDegrees: invalid range of minutes"},
                           std::tuple{30.0, 60.5, "ConvertDegrees: invalid range of seconds"},
                           std::tuple{30.0, -1.0, "ConvertDegrees: invalid range of seconds"}}) {
    for (int From : {0, 1, 2, 5})
      for (int To : {0, 2, 9}) {
        double D = 12, Mi = M, Se = S;
        test::ExpectRaises<EORVMath1Error>([&] { ConvertDegrees(D, Mi, Se, TDegreeFormat(From), TDegreeFormat(To)); },
                                           Msg);
        EXPECT_EQ(D, 12.0);
        EXPECT_TRUE(Mi == M || (std::isnan(Mi) && std::isnan(M)));
        EXPECT_EQ(Se, S);
      }
  }
}

TEST(Math1Angles, DegreeToStrInEachForm) {
  EXPECT_EQ(DegreeToStr(12.5, dfDecimal, 1), "12.5\u00B0");
  EXPECT_EQ(DegreeToStr(12.5, dfPlain, 2), "12.50");
  EXPECT_EQ(DegreeToStr(12.5, dfDegMin, 0), "12\u00B0  30'");
  EXPECT_EQ(DegreeToStr(12.5125, dfDegMin, 2), "12\u00B0 30.75'");
  EXPECT_EQ(DegreeToStr(12.5125, dfDegMinSec, 1), "12\u00B0 30' 45.0\"");
  EXPECT_EQ(DegreeToStr(-12.5125, dfDegMinSec, 0), "-12\u00B0 30'  45\"");
  EXPECT_EQ(DegreeToStr(-0.5, dfDegMin, 0), "-0\u00B0  30'");  // the sign survives a zero degree part
  EXPECT_EQ(DegreeToStr(-0.0125, dfDegMinSec, 0), "-0\u00B0  0'  45\"");
  // Rounding that reaches a whole minute or degree carries into it.
  EXPECT_EQ(DegreeToStr(12.99999, dfDegMin, 1), "13\u00B0  0.0'");
  EXPECT_EQ(DegreeToStr(12.9999999, dfDegMinSec, 2), "13\u00B0  0'  0.00\"");
  EXPECT_EQ(DegreeToStr(1.0 / 3, dfDegMinSec, 20), "0\u00B0 20'  0.00000000\"");  // Decimals at most 8
  EXPECT_EQ(DegreeToStr(12.5, dfDecimal, -3), "12\u00B0");  // at least 0 decimals, half to even
  EXPECT_EQ(DegreeToStr(12.5, TDegreeFormat(4), 1), "");
}

TEST(Math1Angles, RoundDegreesOntoTheStepTable) {
  auto R = [](int32_t D, int32_t M, int32_t S, bool Up) {
    RoundDegrees(D, M, S, Up);
    return std::tuple{D, M, S};
  };
  using T = std::tuple<int32_t, int32_t, int32_t>;
  EXPECT_EQ(R(7, 20, 0, false), T(5, 0, 0));
  EXPECT_EQ(R(7, 20, 0, true), T(10, 0, 0));
  EXPECT_EQ(R(5, 0, 0, true), T(5, 0, 0));
  EXPECT_EQ(R(5, 0, 1, true), T(10, 0, 0));
  EXPECT_EQ(R(400, 0, 0, true), T(360, 0, 0));
  EXPECT_EQ(R(400, 0, 0, false), T(360, 0, 0));
  EXPECT_EQ(R(INT32_MAX, 59, 59, true), T(360, 0, 0));
  EXPECT_EQ(R(0, 50, 0, true), T(1, 0, 0));
  EXPECT_EQ(R(0, 50, 0, false), T(0, 30, 0));
  EXPECT_EQ(R(0, 20, 0, true), T(0, 20, 0));
  EXPECT_EQ(R(0, 20, 1, true), T(0, 30, 0));
  EXPECT_EQ(R(0, 1, 30, false), T(0, 1, 0));
  EXPECT_EQ(R(0, 0, 45, true), T(0, 1, 0));
  EXPECT_EQ(R(0, 0, 45, false), T(0, 0, 30));
  EXPECT_EQ(R(0, 0, 4, true), T(0, 0, 5));
  EXPECT_EQ(R(0, 99, 99, false), T(0, 30, 0));  // 59' 59" at most
  EXPECT_EQ(R(0, 0, 0, true), T(0, 0, 0));
  EXPECT_EQ(R(3, -1, 5, true), T(0, 0, 0));
}

}  // namespace
