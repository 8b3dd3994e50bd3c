// Complex arithmetic, comparisons with the tolerance, polar form.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "support/raises.h"
#include "orvcalckit/ORV_complex.h"

namespace {

using orv::Cpx;
using orv::Extended;
using orv::TComplex;
using L = std::numeric_limits<Extended>;

constexpr Extended Pi = std::numbers::pi_v<Extended>;

void ExpectEq(const TComplex& Got, Extended Re, Extended Im) {
  EXPECT_EQ(Got.re, Re);
  EXPECT_EQ(Got.im, Im);
}

// Tests that change the tolerance put it back.
class ComplexTolerance : public testing::Test {
 protected:
  void TearDown() override { orv::CpxNearZero = Saved; }
  Extended Saved = orv::CpxNearZero;
};

TEST(Complex, ArithmeticOfParts) {
  const TComplex A = Cpx(1, 2), B = Cpx(3, -4);
  ExpectEq(orv::CpxAdd(A, B), 4, -2);
  ExpectEq(orv::CpxSub(A, B), -2, 6);
  ExpectEq(orv::CpxNeg(A), -1, -2);
  ExpectEq(orv::CpxConj(A), 1, -2);
  ExpectEq(orv::CpxMult(A, B), 11, 2);  // (1 + 2i)(3 - 4i)
  ExpectEq(orv::CpxMult(Cpx(0, 1), Cpx(0, 1)), -1, 0);
  ExpectEq(orv::COMPLEX_1, 1, 0);
  ExpectEq(orv::COMPLEX_0, 0, 0);
}

TEST(Complex, AbsDoesNotOverflowOrUnderflow) {
  EXPECT_EQ(orv::CpxAbs(Cpx(3, -4)), 5);
  EXPECT_EQ(orv::CpxAbsSqr(Cpx(3, -4)), 25);
  EXPECT_EQ(orv::CpxAbs(orv::COMPLEX_0), 0);
  // Parts whose squares leave the range of the type.
  const Extended Big = L::max() / 2;
  EXPECT_NEAR(orv::CpxAbs(Cpx(Big, Big)) / (Big * std::sqrt(Extended(2))), 1, 1e-15);
  const Extended Small = L::min() * 8;
  EXPECT_NEAR(orv::CpxAbs(Cpx(3 * Small, 4 * Small)) / (5 * Small), 1, 1e-15);
}

TEST(Complex, DivisionIsScaledAndRaisesOnlyForZero) {
  const TComplex Q = orv::CpxDiv(Cpx(1, 2), Cpx(3, 4));  // (11 + 2i) / 25
  EXPECT_NEAR(Q.re, 0.44, 1e-16);
  EXPECT_NEAR(Q.im, 0.08, 1e-16);
  ExpectEq(orv::CpxDiv(Cpx(-6, 8), Cpx(0, 2)), 4, 3);
  ExpectEq(orv::CpxDiv(Cpx(6, 8), Cpx(2, 0)), 3, 4);
  // A divisor whose squared modulus underflows to 0 is still valid; powers of
  // two keep the quotient exact.
  const Extended Tiny = std::ldexp(L::min(), 40);
  ExpectEq(orv::CpxDiv(Cpx(1, 1), Cpx(Tiny, Tiny)), 1 / Tiny, 0);
  ExpectEq(orv::CpxDiv(Cpx(Tiny, 0), Cpx(0, Tiny)), 0, -1);
  const Extended Sub = L::denorm_min() * 8;
  ExpectEq(orv::CpxDiv(Cpx(Sub, Sub), Cpx(Sub, 0)), 1, 1);
  // Operands whose squares or sums overflow.
  const Extended Big = L::max() * Extended(0.75);
  ExpectEq(orv::CpxDiv(Cpx(Big, Big), Cpx(Big, Big)), 1, 0);
  ExpectEq(orv::CpxDiv(Cpx(Big, Big), Cpx(1, 1)), Big, 0);
  ExpectEq(orv::CpxDiv(Cpx(1, 0), Cpx(L::max(), 0)), 1 / L::max(), 0);
  // With d/c underflowing to 0, d still carries the real part:
  // i 2^1000 / (2^100 + 2^-1000 i) = 2^-200 + 2^900 i.
  const TComplex R = orv::CpxDiv(Cpx(0, std::ldexp(1.0, 1000)), Cpx(std::ldexp(1.0, 100), std::ldexp(1.0, -1000)));
  ExpectEq(R, std::ldexp(1.0, -200), std::ldexp(1.0, 900));

  for (const TComplex& D : {orv::COMPLEX_0, Cpx(-0.0, -0.0)})
    for (const TComplex& Z : {orv::COMPLEX_1, orv::COMPLEX_0})
      orv::test::ExpectRaises<orv::EORVComplexError>([&] { orv::CpxDiv(Z, D); }, "CpxDiv: division by zero");
}

TEST(Complex, ExactEquality) {
  EXPECT_TRUE(orv::CpxIsEqual(Cpx(1, -2), Cpx(1, -2)));
  EXPECT_FALSE(orv::CpxIsEqual(Cpx(1, -2), Cpx(1, -2 + 1e-15)));
  EXPECT_TRUE(orv::CpxIsEqual(Cpx(0.0, 0.0), Cpx(-0.0, -0.0)));
}

TEST_F(ComplexTolerance, NearZeroIsTheDefaultAndComparesStrictly) {
  EXPECT_EQ(orv::CpxNearZero, Extended(1e-15L));
  EXPECT_TRUE(orv::CpxIsZero(Cpx(1e-16, -1e-16)));
  EXPECT_FALSE(orv::CpxIsZero(Cpx(1e-16, 1e-14)));
  EXPECT_TRUE(orv::CpxIsNearEqual(Cpx(1, 1), Cpx(1 + 1e-16, 1 - 1e-16)));
  EXPECT_FALSE(orv::CpxIsNearEqual(Cpx(1, 1), Cpx(1, 1 + 1e-14)));
  EXPECT_FALSE(orv::CpxIsNearEqual(Cpx(0, 0), Cpx(0, orv::CpxNearZero)));  // strict

  orv::CpxNearZero = 0;
  EXPECT_FALSE(orv::CpxIsZero(Cpx(1e-16, -1e-16)));
  EXPECT_TRUE(orv::CpxIsZero(orv::COMPLEX_0));  // an exact zero still counts
  EXPECT_FALSE(orv::CpxIsNearEqual(Cpx(2, 3), Cpx(2, 3)));

  orv::CpxNearZero = 0.5;
  EXPECT_TRUE(orv::CpxIsZero(Cpx(0.4, -0.4)));
  EXPECT_TRUE(orv::CpxIsNearEqual(Cpx(2, 3), Cpx(2.4, 2.6)));
}

TEST(Complex, PolarFormAngleInMinusPiToPi) {
  orv::TComplexPolar P = orv::ConvertRectToPolar(Cpx(0, 1));
  EXPECT_EQ(P.r, 1);
  EXPECT_EQ(P.phi, Pi / 2);
  P = orv::ConvertRectToPolar(Cpx(-1, 0));
  EXPECT_EQ(P.r, 1);
  EXPECT_EQ(P.phi, Pi);
  P = orv::ConvertRectToPolar(Cpx(-1, -0.0));  // a negative zero does not give -pi
  EXPECT_EQ(P.phi, Pi);
  P = orv::ConvertRectToPolar(Cpx(-0.0, 0));
  EXPECT_EQ(P.r, 0);
  EXPECT_EQ(P.phi, 0);
  P = orv::ConvertRectToPolar(Cpx(1, -1));
  EXPECT_NEAR(P.r, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(P.phi, -Pi / 4, 1e-15);

  const TComplex Z = orv::ConvertPolarToRect({2, Pi / 3});
  EXPECT_NEAR(Z.re, 1, 1e-15);
  EXPECT_NEAR(Z.im, std::sqrt(3.0), 1e-15);
  const TComplex Back = orv::ConvertPolarToRect(orv::ConvertRectToPolar(Cpx(-3, 4)));
  EXPECT_NEAR(Back.re, -3, 1e-14);
  EXPECT_NEAR(Back.im, 4, 1e-14);
}

}  // namespace
