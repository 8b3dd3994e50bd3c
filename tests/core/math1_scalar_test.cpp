// Scalar mathematics of ORV_math1: functions, integers and primes, interpolation, bits.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "support/raises.h"

namespace {

using namespace orv;
using orv::test::ExpectRaises;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(Math1Scalar, LogarithmsRejectNonPositiveArguments) {
  EXPECT_EQ(lg(1000), 3.0);  // exact at powers of ten
  EXPECT_EQ(lg(1e-5), -5.0);
  EXPECT_DOUBLE_EQ(lg(2), 0.30102999566398120);
  EXPECT_EQ(ld(8), 3.0);
  EXPECT_EQ(ld(0.5), -1.0);
  ExpectRaises<EMathError>([] { lg(0); }, "logarithm: invalid argument");
  ExpectRaises<EMathError>([] { lg(-1); }, "logarithm: invalid argument");
  ExpectRaises<EMathError>([] { ld(0); }, "logarithm: invalid argument");
  ExpectRaises<EMathError>([] { ld(-Inf); }, "logarithm: invalid argument");
}

TEST(Math1Scalar, HyperbolicFunctionsKeepTheirDigitsNearZeroAndAtTheEnds) {
  // References: Python math.sinh/cosh/tanh.
  EXPECT_DOUBLE_EQ(orv::sinh(1), 1.1752011936438014);
  EXPECT_DOUBLE_EQ(orv::cosh(1), 1.5430806348152437);
  EXPECT_DOUBLE_EQ(tgh(0.5), 0.46211715726000974);
  EXPECT_DOUBLE_EQ(orv::sinh(-1), -1.1752011936438014);
  // Near 0 the value is x itself to full precision; (e - 1/e) / 2 gives 0 here.
  EXPECT_EQ(orv::sinh(1e-17), 1e-17);
  EXPECT_EQ(tgh(1e-17), 1e-17);
  EXPECT_DOUBLE_EQ(orv::sinh(1e-8), 1e-8);
  EXPECT_EQ(orv::cosh(0), 1.0);
  EXPECT_EQ(tgh(400), 1.0);
  EXPECT_EQ(tgh(-400), -1.0);
  EXPECT_DOUBLE_EQ(orv::cosh(710), 1.1169973830808557e308);  // exp(710) alone overflows
}

TEST(Math1Scalar, TangentAndCotangentRaiseOnAZeroDenominator) {
  EXPECT_DOUBLE_EQ(tg(1), 1.5574077246549023);
  EXPECT_NEAR(tg(std::numbers::pi / 4), 1.0, 1e-15);
  EXPECT_DOUBLE_EQ(cot(1), 1 / 1.5574077246549023);
  EXPECT_EQ(tg(0), 0.0);
  ExpectRaises<EMathError>([] { cot(0); }, "cotangens overflow");
  ExpectRaises<EMathError>([] { cot(-0.0); }, "cotangens overflow");
}

TEST(Math1Scalar, SignumAndIntegerRoundingSaturate) {
  EXPECT_EQ(Signum(0), 1.0);
  EXPECT_EQ(Signum(-0.0), 1.0);
  EXPECT_EQ(Signum(-1e-300), -1.0);
  EXPECT_EQ(Signum(5), 1.0);
  EXPECT_EQ(IntNeg(-0.5), -1);
  EXPECT_EQ(IntNeg(2.0), 2);
  EXPECT_EQ(IntNeg(-3.0), -3);
  EXPECT_EQ(IntPos(2.0), 2);
  EXPECT_EQ(IntPos(2.1), 3);
  EXPECT_EQ(IntPos(-2.9), -2);
  EXPECT_EQ(IntPos(1e300), INT32_MAX);
  EXPECT_EQ(IntNeg(-1e300), INT32_MIN);
  EXPECT_EQ(IntPos(-Inf), INT32_MIN);
  EXPECT_EQ(IntPos(NaN), 0);
  EXPECT_EQ(IntNeg(NaN), 0);
  EXPECT_EQ(IntNeg(2147483647.5), INT32_MAX);
  EXPECT_EQ(IntPos(2147483647.5), INT32_MAX);
}

TEST(Math1Scalar, OneTwoFiveSeriesRounding) {
  EXPECT_EQ(Round125(0), 0.0);
  EXPECT_EQ(RoundPos125(0), 0.0);
  EXPECT_EQ(RoundNeg125(0), 0.0);
  EXPECT_EQ(Round125(0.0149), 0.01);
  EXPECT_EQ(Round125(0.016), 0.02);
  EXPECT_EQ(Round125(-7), -5.0);
  EXPECT_EQ(Round125(8), 10.0);
  EXPECT_EQ(Round125(2.9), 2.0);
  EXPECT_EQ(RoundPos125(2.2), 5.0);
  EXPECT_EQ(RoundPos125(-2.2), -2.0);
  EXPECT_EQ(RoundNeg125(2.2), 2.0);
  EXPECT_EQ(RoundNeg125(-2.2), -5.0);
  EXPECT_EQ(RoundPos125(6), 10.0);
  EXPECT_EQ(RoundNeg125(9.99), 5.0);
  for (double x : {1000.0, -1000.0}) {
    EXPECT_EQ(Round125(x), x);
    EXPECT_EQ(RoundPos125(x), x);
    EXPECT_EQ(RoundNeg125(x), x);
  }
  // Members of the series map onto themselves, also where 10^k is inexact.
  for (double x : {0.2, 5e-5, 2e-7, 0.5, 5e-300, 2e100, 1e-310, 5e-324}) {
    EXPECT_EQ(Round125(x), x) << x;
    EXPECT_EQ(RoundPos125(x), x) << x;
    EXPECT_EQ(RoundNeg125(-x), -x) << x;
  }
  EXPECT_EQ(RoundPos125(3e-6), 5e-6);
  EXPECT_EQ(RoundNeg125(3e-6), 2e-6);
  // Within 1e-14 in the logarithm a value counts as its power of ten.
  EXPECT_EQ(RoundNeg125(999.99999999999), 1000.0);
  EXPECT_TRUE(std::isnan(Round125(NaN)));
}

TEST(Math1Scalar, ModrIsTheExactRemainderAndRaisesOnBadArguments) {
  EXPECT_EQ(modr(7, 3), 1.0);
  EXPECT_EQ(modr(-7, 3), -1.0);
  EXPECT_EQ(modr(7, -3), 1.0);  // the sign of x
  EXPECT_EQ(modr(5.5, 2), 1.5);
  EXPECT_EQ(modr(0, 2), 0.0);
  EXPECT_EQ(modr(-7.5, -2), -1.5);
  EXPECT_EQ(modr(1e16, 3), 1.0);     // 10^16 = 3 x 3333333333333333 + 1
  EXPECT_LT(modr(1e308, 1e-10), 1e-10);  // the quotient would overflow
  EXPECT_EQ(modr(0.5, 1e300), 0.5);
  ExpectRaises<EZeroDivide>([] { modr(1, 0); }, "modr: division by zero");
  ExpectRaises<EZeroDivide>([] { modr(0, 0); }, "modr: division by zero");
  ExpectRaises<EInvalidOp>([] { modr(Inf, 2); }, "modr: invalid argument");
  ExpectRaises<EInvalidOp>([] { modr(1, Inf); }, "modr: invalid argument");
  ExpectRaises<EInvalidOp>([] { modr(NaN, 1); }, "modr: invalid argument");
}

TEST(Math1Scalar, SquashIsAScaledHyperbolicTangent) {
  // References: Python math.tanh.
  EXPECT_EQ(Squash(3, 3, 1, 1), 0.0);
  EXPECT_NEAR(Squash(1, 0, 1, 1), 0.7615941559557649, 1e-15);
  EXPECT_NEAR(Squash(1, 0, 1, 2), 0.9242343145200195, 1e-15);
  EXPECT_NEAR(Squash(-1, 0, 1, 1), -0.7615941559557649, 1e-15);
  EXPECT_NEAR(Squash(1, 0, 1, -1), 0.7615941559557649, 1e-15);  // a x tanh(-1)
  EXPECT_EQ(Squash(100, 0, 1, 1), 1.0);   // |e| = 200: the limit itself
  EXPECT_EQ(Squash(-100, 0, 1, 1), -1.0);
  EXPECT_EQ(Squash(1e300, 0, 1, 3), 3.0);
  EXPECT_EQ(Squash(0, 0, 1, 0), 0.0);  // zero limits: 0 everywhere, also at x0
  EXPECT_EQ(Squash(5, 0, 1, 0), 0.0);
}

TEST(Math1Scalar, HistoBinRefFindsTheLowerBinEdge) {
  double Off = 0;
  EXPECT_EQ(HistoBinRef(7.5, 0, 2, Off), 6.0);
  EXPECT_EQ(Off, 1.5);
  EXPECT_EQ(HistoBinRef(-0.5, 0, 1, Off), -1.0);
  EXPECT_EQ(Off, 0.5);
  EXPECT_EQ(HistoBinRef(3, 0.5, 1, Off), 2.5);
  EXPECT_EQ(Off, 0.5);
  EXPECT_EQ(HistoBinRef(4, 0, 2, Off), 4.0);  // an edge belongs to the bin above
  EXPECT_EQ(Off, 0.0);
  EXPECT_EQ(HistoBinRef(5, 0, -2, Off), 6.0);  // negative widths count downwards
  EXPECT_EQ(Off, -1.0);
  Off = 42;
  ExpectRaises<EZeroDivide>([&] { HistoBinRef(1, 0, 0, Off); }, "HistoBinRef: division by zero");
  ExpectRaises<EInvalidOp>([&] { HistoBinRef(NaN, 0, 1, Off); }, "HistoBinRef: invalid argument");
  ExpectRaises<EInvalidOp>([&] { HistoBinRef(1, 0, Inf, Off); }, "HistoBinRef: invalid argument");
  ExpectRaises<EOverflow>([&] { HistoBinRef(1e308, 0, 1e-300, Off); }, "HistoBinRef: overflow");
  EXPECT_EQ(Off, 42.0);
}

TEST(Math1Scalar, PolynomialsCheckTheirOrder) {
  const std::vector<double> c = {1, 2, 3};
  EXPECT_EQ(Polynomial(c, 2, 2), 17.0);
  EXPECT_EQ(Polynomial(c, 1, 2), 5.0);
  EXPECT_EQ(Polynomial(c, 0, 1e300), 1.0);
  EXPECT_EQ(Polynomial(c, 2, -1), 2.0);
  EXPECT_EQ(CenteredPolynomial(c, 2, 1, 3), 17.0);  // powers of b - a
  EXPECT_EQ(CenteredPolynomial(c, 2, 3, 1), 9.0);
  const std::string Msg = "Polynomial: invalid order of polynomial";
  ExpectRaises<EORVMath1Error>([&] { Polynomial(c, 3, 1); }, Msg);
  ExpectRaises<EORVMath1Error>([&] { Polynomial(c, -1, 1); }, Msg);
  ExpectRaises<EORVMath1Error>([] { Polynomial(std::span<const double>(), 0, 1); }, Msg);
  ExpectRaises<EORVMath1Error>([&] { CenteredPolynomial(c, 5, 0, 1); }, Msg);
}

TEST(Math1Scalar, InterpolTableInterpolatesAndExtendsTheEndSegments) {
  const std::vector<double> T = {0, 10, 40};
  EXPECT_EQ(InterpolTable(0.5, 0, 2, T), 5.0);
  EXPECT_EQ(InterpolTable(1.5, 0, 2, T), 25.0);
  EXPECT_EQ(InterpolTable(0, 0, 2, T), 0.0);
  EXPECT_EQ(InterpolTable(2, 0, 2, T), 40.0);
  EXPECT_EQ(InterpolTable(-1, 0, 2, T), -10.0);
  EXPECT_EQ(InterpolTable(3, 0, 2, T), 70.0);
  EXPECT_EQ(InterpolTable(0.5, 2, 0, T), 25.0);  // XFirst above XLast
  const std::vector<int32_t> I = {INT32_MIN, INT32_MAX};
  EXPECT_EQ(InterpolTable(0.5, 0, 1, I), -0.5);  // no integer overflow in the difference
  EXPECT_EQ(InterpolTable(1, 0, 1, I), 2147483647.0);
  EXPECT_TRUE(std::isnan(InterpolTable(NaN, 0, 1, T)));
  ExpectRaises<EORVMath1Error>([] { InterpolTable(0, 0, 1, std::vector<double>{1}); },
                               "InterpolTable: pivot array must contain at least 2 values");
  ExpectRaises<EORVMath1Error>([] { InterpolTable(0, 0, 1, std::vector<int32_t>{}); },
                               "InterpolTable: pivot array must contain at least 2 values");
  ExpectRaises<EORVMath1Error>([&] { InterpolTable(0, 1, 1, T); },
                               "InterpolTable: specified range of pivot array is zero");
}

TEST(Math1Scalar, InterpolXYTableInAscendingAndDescendingPivots) {
  const TDouble2DArray Up = {{1, 2, 4}, {10, 20, 40}};
  EXPECT_EQ(InterpolXYTable(1.5, Up, false), 15.0);
  EXPECT_EQ(InterpolXYTable(3, Up, false), 30.0);
  EXPECT_EQ(InterpolXYTable(2, Up, false), 20.0);
  EXPECT_EQ(InterpolXYTable(1, Up, false), 0.0);  // the end pivots count as outside
  EXPECT_EQ(InterpolXYTable(4, Up, false), 0.0);
  EXPECT_EQ(InterpolXYTable(1, Up, true), 10.0);
  EXPECT_EQ(InterpolXYTable(4, Up, true), 40.0);
  EXPECT_EQ(InterpolXYTable(5, Up, true), 50.0);
  EXPECT_EQ(InterpolXYTable(0, Up, true), 0.0);
  const TDouble2DArray Down = {{4, 2, 1}, {40, 20, 10}};
  EXPECT_EQ(InterpolXYTable(3, Down, false), 30.0);
  EXPECT_EQ(InterpolXYTable(1.5, Down, false), 15.0);
  EXPECT_EQ(InterpolXYTable(2, Down, false), 20.0);
  EXPECT_EQ(InterpolXYTable(4, Down, false), 0.0);
  EXPECT_EQ(InterpolXYTable(5, Down, true), 50.0);
  EXPECT_EQ(InterpolXYTable(0.5, Down, true), 5.0);
  // Many pivots: y = x^2 sampled at 0..999.
  TDouble2DArray Sq(2);
  for (int i = 0; i < 1000; ++i) {
    Sq[0].push_back(i);
    Sq[1].push_back(double(i) * i);
  }
  EXPECT_EQ(InterpolXYTable(500.5, Sq, false), 250500.5);
  EXPECT_EQ(InterpolXYTable(0.25, Sq, false), 0.25);
  EXPECT_EQ(InterpolXYTable(998.5, Sq, false), 997002.5);
}

TEST(Math1Scalar, InterpolXYTableChecksItsShapeBeforeReading) {
  const std::string Cols = "InterpolXYTable: pivot array must contain 2 columns";
  const std::string Rows = "InterpolXYTable: pivot array must contain at least 2 rows";
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{}, false); }, Cols);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{1, 2}}, false); }, Cols);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{1, 2}, {1, 2}, {1, 2}}, false); }, Cols);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{1}, {1}}, false); }, Rows);
  // Too few pivots is told before a wrong column count.
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{1}}, false); }, Rows);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{1}, {1}, {1}}, false); }, Rows);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1, TDouble2DArray{{}, {}}, true); }, Rows);
  ExpectRaises<EORVMath1Error>([] { InterpolXYTable(1.5, TDouble2DArray{{1, 2, 3}, {5, 6}}, true); }, Cols);
}

TEST(Math1Scalar, BilinearInterpolationInARectangleCell) {
  EXPECT_EQ(InterpolZofXYRect(1, 2, 3, 4, 0, 0), 1.0);
  EXPECT_EQ(InterpolZofXYRect(1, 2, 3, 4, 1, 0), 3.0);
  EXPECT_EQ(InterpolZofXYRect(1, 2, 3, 4, 0, 1), 2.0);
  EXPECT_EQ(InterpolZofXYRect(1, 2, 3, 4, 1, 1), 4.0);
  EXPECT_EQ(InterpolZofXYRect(1, 2, 3, 4, 0.5, 0.5), 2.5);
  EXPECT_EQ(InterpolZofXYRect(0, 0, 0, 8, 0.5, 0.25), 1.0);
}

TEST(Math1Scalar, BoundsTestsAndClampingAcceptBoundsInEitherOrder) {
  EXPECT_TRUE(WithinBounds(2, 3, 1));
  EXPECT_TRUE(WithinBounds(3, 3, 1));
  EXPECT_TRUE(WithinBounds(1, 1, 3));
  EXPECT_FALSE(WithinBounds(3.5, 1, 3));
  EXPECT_TRUE(WithinBounds(3.5, 3, 1, 0.5));
  EXPECT_TRUE(WithinBounds(0.5, 3, 1, 0.5));
  EXPECT_FALSE(WithinBounds(0.4, 1, 3, 0.5));
  EXPECT_FALSE(WithinBounds(NaN, 1, 3));
  EXPECT_EQ(ConfineValue(5.0, 3.0, 1.0), 3.0);
  EXPECT_EQ(ConfineValue(-5.0, 3.0, 1.0), 1.0);
  EXPECT_EQ(ConfineValue(2.5, 1.0, 3.0), 2.5);
  EXPECT_EQ(ConfineValue(5.0f, 1.0f, 3.0f), 3.0f);
  EXPECT_EQ(ConfineValue(INT32_MIN, 10, -10), -10);
  EXPECT_EQ(ConfineValue(7, 10, -10), 7);
}

TEST(Math1Scalar, RoundLimitSaturatesAndHighWins) {
  EXPECT_EQ(RoundLimit(2.5, 0, 10), 2);  // half to even
  EXPECT_EQ(RoundLimit(3.5, 0, 10), 4);
  EXPECT_EQ(RoundLimit(-3, 0, 10), 0);
  EXPECT_EQ(RoundLimit(1e300, 0, 10), 10);
  EXPECT_EQ(RoundLimit(1e300, 0, INT64_MAX), INT64_MAX);
  EXPECT_EQ(RoundLimit(-Inf, INT64_MIN, 0), INT64_MIN);
  EXPECT_EQ(RoundLimit(NaN, 5, 10), 5);
  EXPECT_EQ(RoundLimit(NaN, -5, 10), 0);
  EXPECT_EQ(RoundLimit(5, 10, 0), 0);
}

TEST(Math1Scalar, ProductOfConsecutiveIntegers) {
  EXPECT_EQ(ProductConsecInts(3, 5), 60);
  EXPECT_EQ(ProductConsecInts(5, 3), 60);
  EXPECT_EQ(ProductConsecInts(0, 7), 0);
  EXPECT_EQ(ProductConsecInts(-1, 3), -2);
  EXPECT_EQ(ProductConsecInts(INT32_MIN, INT32_MAX), -2);
  EXPECT_EQ(ProductConsecInts(1, 25), -1);
  EXPECT_EQ(ProductConsecInts(1, 20), 2432902008176640000);
  EXPECT_EQ(ProductConsecInts(1, 21), -1);
  EXPECT_EQ(ProductConsecInts(7, 7), 7);
  EXPECT_EQ(ProductConsecInts(INT32_MAX - 1, INT32_MAX), int64_t{2147483646} * 2147483647);
  EXPECT_EQ(ProductConsecInts(INT32_MAX - 2, INT32_MAX), -1);
  EXPECT_EQ(ProductConsecInts(1, INT32_MAX), -1);
  // 2097151 x 2097152 x 2097153 fits (9223372036852678656, Python); a test of
  // the running product against MAX div 2097153 before the last factor would refuse it.
  EXPECT_EQ(ProductConsecInts(2097151, 2097153), 9223372036852678656);
  EXPECT_EQ(ProductConsecInts(2097152, 2097154), -1);
}

TEST(Math1Scalar, FactorialFailsBeyondTheFloatingRange) {
  EXPECT_EQ(Factorial(0), 1);
  EXPECT_EQ(Factorial(1), 1);
  EXPECT_EQ(Factorial(5), 120);
  EXPECT_EQ(Factorial(20), 2432902008176640000.0L);
  EXPECT_NEAR(double(Factorial(170)) / 7.257415615307999e306, 1.0, 1e-13);  // Python float(math.factorial(170))
  ExpectRaises<EORVMath1Error>([] { Factorial(-1); }, "Factorial: negative argument");
  ExpectRaises<EORVMath1Error>([] { Factorial(1001); }, "Factorial: argument too big");
  ExpectRaises<EORVMath1Error>([] { Factorial(INT32_MAX); }, "Factorial: argument too big");
#if ORV_HAS_EXTENDED
  // 80-bit extended holds 1000! = 4.02387260077093774e2567 (Python, exact integer).
  EXPECT_NEAR(double(std::log10(Factorial(1000)) - 2567), std::log10(4.02387260077093774), 1e-12);
  EXPECT_NEAR(double(Factorial(171) / 1.24101807021766782e309L), 1.0, 1e-13);
#else
  ExpectRaises<EORVMath1Error>([] { Factorial(171); }, "Factorial: argument too big");
  ExpectRaises<EORVMath1Error>([] { Factorial(1000); }, "Factorial: argument too big");
#endif
}

TEST(Math1Scalar, IsPrimeByTrialDivisionUpToTheRoot) {
  for (int32_t n : {0, 1, -1, 2, 3, -7, 13, 1000003, 46337, 2147483647, 2147483629}) EXPECT_TRUE(IsPrime(n)) << n;
  for (int32_t n : {4, -4, 9, 1000001, 2147395600 /* 46340^2 */, 2147483646, INT32_MIN})
    EXPECT_FALSE(IsPrime(n)) << n;
  EXPECT_TRUE(IsPrime(-2147483647));
}

TEST(Math1Scalar, ListOfPrimesAndPrimeFactors) {
  EXPECT_EQ(ListOfPrimes(1), 2);
  EXPECT_EQ(ListOfPrimes(100), 541);
  EXPECT_EQ(ListOfPrimes(1000), 7919);
  EXPECT_EQ(ListOfPrimes(4792), 46337);
  EXPECT_EQ(ListOfPrimes(0), 0);
  EXPECT_EQ(ListOfPrimes(4793), 0);
  EXPECT_EQ(ListOfPrimes(INT32_MIN), 0);
  EXPECT_EQ(FindPrimeFactors(360), (TIntArray{2, 2, 2, 3, 3, 5}));
  EXPECT_EQ(FindPrimeFactors(2147483647), (TIntArray{2147483647}));
  EXPECT_EQ(FindPrimeFactors(2147483646), (TIntArray{2, 3, 3, 7, 11, 31, 151, 331}));
  EXPECT_EQ(FindPrimeFactors(1 << 30), TIntArray(30, 2));
  EXPECT_EQ(FindPrimeFactors(2 * 46337), (TIntArray{2, 46337}));
  EXPECT_EQ(FindPrimeFactors(46337 * 46337), (TIntArray{46337, 46337}));  // the last tabulated prime
  EXPECT_EQ(FindPrimeFactors(2), (TIntArray{2}));
  EXPECT_TRUE(FindPrimeFactors(1).empty());
  EXPECT_TRUE(FindPrimeFactors(0).empty());
  EXPECT_TRUE(FindPrimeFactors(-12).empty());
}

TEST(Math1Scalar, CancelFractionKeepsSignsAndSmallTerms) {
  auto Cancel = [](int32_t n, int32_t d) {
    CancelFraction(n, d);
    return std::pair{n, d};
  };
  EXPECT_EQ(Cancel(12, -18), std::pair(2, -3));
  EXPECT_EQ(Cancel(-6, -4), std::pair(-3, -2));
  EXPECT_EQ(Cancel(7, 0), std::pair(7, 0));
  EXPECT_EQ(Cancel(0, 5), std::pair(0, 5));
  EXPECT_EQ(Cancel(1, 5), std::pair(1, 5));
  EXPECT_EQ(Cancel(4, 2), std::pair(2, 1));
  EXPECT_EQ(Cancel(INT32_MIN, INT32_MIN), std::pair(-1, -1));
  EXPECT_EQ(Cancel(INT32_MIN, 6), std::pair(-1073741824, 3));
  EXPECT_EQ(Cancel(2147483647, 2147483646), std::pair(2147483647, 2147483646));
  EXPECT_EQ(Cancel(2147483646, 1073741823), std::pair(2, 1));
}

TEST(Math1Scalar, BitRoutines) {
  EXPECT_TRUE(CheckPowerOfTwo(0));
  EXPECT_TRUE(CheckPowerOfTwo(1));
  EXPECT_TRUE(CheckPowerOfTwo(0x80000000u));
  EXPECT_FALSE(CheckPowerOfTwo(6));
  EXPECT_FALSE(CheckPowerOfTwo(0xFFFFFFFFu));
  EXPECT_EQ(BitReversal(1), 128);
  EXPECT_EQ(BitReversal(0x0F), 0xF0);
  EXPECT_EQ(BitReversal(0xB0), 0x0D);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(BitReversal(BitReversal(uint8_t(i))), i);
    EXPECT_EQ(CountBits(BitReversal(uint8_t(i))), CountBits(uint8_t(i)));
  }
  EXPECT_EQ(CountBits(0), 0);
  EXPECT_EQ(CountBits(255), 8);
  EXPECT_EQ(CountBits(0xA5), 4);
  EXPECT_EQ(DecodeBit(0), 1);
  EXPECT_EQ(DecodeBit(7), 128);
  EXPECT_EQ(DecodeBit(8), 0);
  EXPECT_EQ(DecodeBit(-1), 0);
  EXPECT_EQ(DecodeLong(31), 0x80000000u);
  EXPECT_EQ(DecodeLong(32), 0u);
  EXPECT_EQ(DecodeLong(-1), 0u);
  EXPECT_EQ(EncodeLong(0), 31);
  EXPECT_EQ(EncodeLong(1), 0);
  EXPECT_EQ(EncodeLong(12), 2);
  EXPECT_EQ(EncodeLong(0x80000000u), 31);
  EXPECT_EQ(GrayCode(2), 3);
  EXPECT_EQ(GrayCode(0), 0);
  EXPECT_EQ(GrayCode(0xFFFF), 0x8000);
}

TEST(Math1Scalar, ConvertEndianReversesTheBytes) {
  EXPECT_EQ(ConvertEndian(uint16_t{0x1234}), 0x3412);
  EXPECT_EQ(ConvertEndian(int32_t{0x12345678}), 0x78563412);
  EXPECT_EQ(ConvertEndian(int32_t{-1}), -1);
  EXPECT_EQ(ConvertEndian(int32_t{0x80}), INT32_MIN);
  EXPECT_EQ(std::bit_cast<uint64_t>(ConvertEndian(1.0)), 0x000000000000F03Full);
  EXPECT_EQ(std::bit_cast<uint32_t>(ConvertEndian(1.0f)), 0x0000803Fu);
  EXPECT_EQ(ConvertEndian(ConvertEndian(-123.456)), -123.456);
  EXPECT_EQ(ConvertEndian(ConvertEndian(2.5f)), 2.5f);
}

}  // namespace
