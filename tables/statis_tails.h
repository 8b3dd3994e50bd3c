// The regularized incomplete gamma and beta functions to full double
// precision, with both tails formed directly, for the chi-square, F and
// Student's t distributions. Separate from the 1e-8 routines of
// statis_gamma.h and IncompleteBeta, whose iterations are part of their
// documented results. Internal.
//
// The power factors x^a e^-x / Gamma(a) and x^a y^b / B(a, b) are formed
// around their peaks, from log1p(z) - z and the remainder of Stirling's
// series, so that no large logarithms cancel where the result has most of
// its digits (the way of N. M. Temme, "Special Functions", Wiley, 1996,
// section 11.3, and of Boost.Math's prefix terms). The continued fractions
// run by the modified Lentz method (W. J. Lentz, Applied Optics 15, 1976;
// I. J. Thompson and A. R. Barnett, J. Comput. Phys. 64, 1986).
#pragma once

#include <cmath>
#include <limits>
#include <numbers>

namespace orv::detail {

// log(1 + z) - z; Ratio is 1 + z formed without rounding where z is close
// to -1 (x / a rather than (x - a) / a + 1).
inline double Log1pmx(double z, double Ratio) {
  const double r = z / (2 + z);
  if (r >= -1.0 / 3 && r <= 1.0 / 3) {
    // log(1 + z) = 2 atanh(r): the series of r^(2k+1) / (2k+1), with
    // 2r - z = -z r taken out so that nothing cancels.
    const double r2 = r * r;
    double Power = r * r2, Sum = 0;
    for (int k = 3; k < 80; k += 2) {
      const double Term = Power / k;
      Sum += Term;
      if (std::fabs(Term) <= 1e-17 * std::fabs(Sum)) break;
      Power *= r2;
    }
    return -z * r + 2 * Sum;
  }
  return std::log(Ratio) - z;
}

// ln Gamma(a) - ((a - 1/2) ln a - a + ln sqrt(2 pi)), the remainder of
// Stirling's series; a > 0.
inline double StirlingRemainder(double a) {
  if (a >= 10) {
    const double r = 1 / a, r2 = r * r;
    return r * (1.0 / 12 - r2 * (1.0 / 360 - r2 * (1.0 / 1260 - r2 * (1.0 / 1680 - r2 * (1.0 / 1188 -
                                                                          r2 * (691.0 / 360360 - r2 / 156))))));
  }
  return std::lgamma(a) - ((a - 0.5) * std::log(a) - a + 0.5 * std::log(2 * std::numbers::pi));
}

// x^a e^-x / Gamma(a) for a > 0, x >= 0.
inline double GammaPower(double a, double x) {
  if (x == 0 || std::isinf(x)) return 0;
  const double Outer = std::sqrt(a / (2 * std::numbers::pi)) * std::exp(-StirlingRemainder(a));
  const double r = x / a;
  // Far below the peak a ln(x / a) is large, and exp would amplify its
  // rounding; pow is exact to an ulp there, and a - x is exact.
  if (r < 0.5 && a < 600) {
    const double P = std::pow(r, a);
    if (P > 1e-290) return Outer * P * std::exp(a - x);
  }
  return Outer * std::exp(a * Log1pmx((x - a) / a, r));
}

// The parts of x^a y^b / B(a, b) that depend on a and b only.
struct TBetaShape {
  double a, b;
  double Scale;  // sqrt(ab / (2 pi (a + b))) Gamma* ratio
  TBetaShape(double A, double B) : a(A), b(B) {
    const double c = a + b;
    Scale = std::sqrt(a * b / (2 * std::numbers::pi * c)) *
            std::exp(StirlingRemainder(c) - StirlingRemainder(a) - StirlingRemainder(b));
  }
  // x^a y^b / B(a, b), y = 1 - x given apart so that neither loses digits.
  double Power(double x, double y) const {
    if (x <= 0 || y <= 0) return 0;
    const double c = a + b;
    // (xc / a)^a (yc / b)^b: their linear terms cancel exactly.
    const double d = x * b - y * a;
    return Scale * std::exp(a * Log1pmx(d / a, x * c / a) + b * Log1pmx(-d / b, y * c / b));
  }
};

struct TTails {
  double Lower, Upper;
  double Power;  // the power factor the tails were formed with
};

// Far beyond what df <= 1e8 needs. A series or fraction that has not
// settled by then (shapes above about 2e8 near the peak) gives NaN, never
// its truncated value: it may stop at the cap only with its last factor or
// term at the rounding level.
constexpr int MaxFractionSteps = 100000;
constexpr double NaNValue = std::numeric_limits<double>::quiet_NaN();
inline double Settled(double Value, double LastDelta) {
  return std::fabs(LastDelta - 1) <= 1e-15 ? Value : NaNValue;
}

// Q(a, x) / (x^a e^-x / Gamma(a)) by Legendre's continued fraction, for
// x >= a + 1 (Numerical Recipes, W. H. Press et al., 2nd ed., 1992, 6.2.7).
inline double GammaFraction(double a, double x) {
  constexpr double Tiny = 1e-300;
  double b = x + 1 - a, c = 1 / Tiny, d = 1 / b, h = d, Delta = 0;
  for (int i = 1; i <= MaxFractionSteps; ++i) {
    const double an = -i * (i - a);
    b += 2;
    d = an * d + b;
    if (std::fabs(d) < Tiny) d = Tiny;
    c = b + an / c;
    if (std::fabs(c) < Tiny) c = Tiny;
    d = 1 / d;
    Delta = d * c;
    h *= Delta;
    if (std::fabs(Delta - 1) <= 1e-16) break;
  }
  return Settled(h, Delta);
}

// P(a, x) and Q(a, x), a > 0 finite, x >= 0 (NaN handled by the callers).
inline TTails FullGammaTails(double a, double x) {
  if (x <= 0) return {0, 1, 0};
  if (std::isinf(x)) return {1, 0, 0};
  const double Power = GammaPower(a, x);
  if (x < a + 1) {
    // P = Power / a (1 + x / (a + 1) + x^2 / ((a + 1)(a + 2)) + ...)
    double ap = a, Term = 1 / a, Sum = Term;
    for (int i = 0; i < MaxFractionSteps; ++i) {
      ap += 1;
      Term *= x / ap;
      Sum += Term;
      if (Term <= Sum * 1e-17) break;
    }
    const double P = Term <= Sum * 1e-15 ? Power * Sum : NaNValue;
    return {P, 1 - P, Power};
  }
  const double Q = Power * GammaFraction(a, x);
  return {1 - Q, Q, Power};
}

// I_x(a, b) / (x^a y^b / (a B(a, b))) by the continued fraction of
// Numerical Recipes (6.4.5), for x < (a + 1) / (a + b + 2).
inline double BetaFraction(double a, double b, double x) {
  constexpr double Tiny = 1e-300;
  const double qab = a + b, qap = a + 1, qam = a - 1;
  double c = 1, d = 1 - qab * x / qap;
  if (std::fabs(d) < Tiny) d = Tiny;
  d = 1 / d;
  double h = d;
  // One step of Lentz's recurrence with the partial numerator aa; the
  // factor it multiplies h with.
  const auto Step = [&](double aa) {
    d = 1 + aa * d;
    if (std::fabs(d) < Tiny) d = Tiny;
    c = 1 + aa / c;
    if (std::fabs(c) < Tiny) c = Tiny;
    d = 1 / d;
    const double Delta = d * c;
    h *= Delta;
    return Delta;
  };
  double Delta = 0;
  for (int m = 1; m <= MaxFractionSteps; ++m) {
    const double m2 = 2.0 * m;
    Step(m * (b - m) * x / ((qam + m2) * (a + m2)));
    Delta = Step(-(a + m) * (qab + m) * x / ((a + m2) * (qap + m2)));
    if (std::fabs(Delta - 1) <= 1e-16) break;
  }
  return Settled(h, Delta);
}

// I_x(a, b) and 1 - I_x(a, b), y = 1 - x given apart; 0 <= x <= 1.
inline TTails FullBetaTails(const TBetaShape& S, double x, double y) {
  if (x <= 0) return {0, 1, 0};
  if (y <= 0) return {1, 0, 0};
  const double Power = S.Power(x, y);
  if (x < (S.a + 1) / (S.a + S.b + 2)) {
    const double I = Power * BetaFraction(S.a, S.b, x) / S.a;
    return {I, 1 - I, Power};
  }
  const double J = Power * BetaFraction(S.b, S.a, y) / S.b;
  return {1 - J, J, Power};
}

}  // namespace orv::detail
