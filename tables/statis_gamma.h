// ln Gamma and the regularized incomplete gamma function with both of its
// tails by the documented iterations of IncompleteGamma, for the routines
// that need the upper one without the cancellation of 1 - P, and whether
// they reach the documented accuracy. Inline and internal: the library's own
// calls go neither through the exported symbols nor the procedure linkage
// table, and the callers with a = 0.5 (the error function, the normal
// distribution) get it folded in.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace orv::detail {

// Lanczos' series with the six coefficients of Numerical Recipes (W. H. Press
// et al., Cambridge University Press, 1986, section 6.1); for x > 0.
inline double LanczosLnGamma(double x) {
  constexpr double c[6] = {76.18009173, -86.50532033, 24.01409822, -1.231739516, 0.00120858003, -5.36382e-6};
  double ser = 1;
  for (int i = 0; i < 6; ++i) ser += c[i] / (x + i);
  return (x - 0.5) * std::log(x + 4.5) - x - 4.5 + std::log(2.5066282746310007 * ser);
}

// The bound of a series or continued fraction that needs O(sqrt(Scale))
// steps: room to converge where double arithmetic can still deliver digits,
// and no more than 10^7 steps beyond that (Scale above about 1e12, where
// a ln x alone has lost the result's digits).
inline int64_t StepBound(double Base, double Scale) {
  return static_cast<int64_t>(std::min(Base + 10 * std::sqrt(Scale), 1e7));
}

// The relative error the documented iterations of IncompleteGamma and
// IncompleteBeta must be able to promise for their result to stand: beyond
// it (with the error of ln Gamma, 2e-10, 1e-7 in all) the callers take
// the full-precision functions of statis_tails.h instead.
inline constexpr double PinnedTolerance = 9e-8;

// What a converging fraction still lacks after a step that changed it by
// Change, the one before by Before: the rest of the geometric series their
// ratio starts (where it is not below 1, no estimate: infinity).
inline double FractionLeft(double Change, double Before) {
  const double Rate = Change / Before;
  return Rate < 1 ? Change * Rate / (1 - Rate) : std::numeric_limits<double>::infinity();
}

// The relative error of exp(Sum of Terms) from the rounding of a sum of
// these magnitudes: the absolute error of the exponent.
inline double ExponentError(std::initializer_list<double> Terms) {
  double Size = 0;
  for (const double T : Terms) Size += std::fabs(T);
  return Size * 0x1p-52;
}

struct TGammaTails {
  double P;  // lower: P(a, x)
  double Q;  // upper: 1 - P(a, x), formed without the subtraction where the
             // continued fraction gives it directly
  // Whether the iterations vouch for P to PinnedTolerance: the series
  // stopped with its remainder and the power factor's rounding below it,
  // or the fraction settled within its 99 steps with P's share of what it
  // still lacks and of the rounding below it.
  bool Reached = true;
};

// Both tails of IncompleteGamma(x, a), with its edge rules: the series and
// continued fraction of Numerical Recipes (section 6.2).
inline TGammaTails PinnedGammaTails(double x, double a) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double Inf = std::numeric_limits<double>::infinity();
  if (std::isnan(x) || std::isnan(a)) return {NaN, NaN};
  if (x <= 0 || a <= 0) return {0, 1};
  if (std::isinf(a)) return std::isinf(x) ? TGammaTails{NaN, NaN} : TGammaTails{0, 1};
  if (std::isinf(x)) return {1, 0};
  const double LnX = std::log(x), LnGammaA = LanczosLnGamma(a);
  const double g = std::exp(a * LnX - x - LnGammaA);
  const double Rounding = ExponentError({a * LnX, x, LnGammaA});
  if (x < a + 1) {
    double ap = a, term = 1 / a, sum = term;
    const int64_t MaxTerms = StepBound(100, a);
    bool Stopped = false;
    for (int64_t n = 0; n < MaxTerms && !Stopped; ++n) {
      ap += 1;
      term = term * x / ap;
      sum += term;
      Stopped = std::fabs(term) < std::fabs(sum) * 1e-8;
    }
    const double P = g * sum;
    // The terms left fall faster than the geometric series of the next ratio.
    const double r = x / (ap + 1);
    const double Left = r < 1 ? term * r / (1 - r) : Inf;
    return {P, 1 - P, P == 0 || (Stopped && Left / sum + Rounding <= PinnedTolerance)};
  }
  double gold = 0, a0 = 1, a1 = x, b0 = 0, b1 = 1, fac = 1, value = 0, Change = Inf, Before = Inf;
  for (int i = 1; i <= 99; ++i) {
    const double an = i;
    a0 = (a1 + a0 * (an - a)) * fac;
    b0 = (b1 + b0 * (an - a)) * fac;
    a1 = x * a0 + an * fac * a1;
    b1 = x * b0 + an * fac * b1;
    if (a1 != 0) {
      fac = 1 / a1;
      value = b1 * fac;
      Before = Change;
      Change = std::fabs((value - gold) / value);
      if (Change < 1e-8) break;
      gold = value;
    }
  }
  const double Q = g * value, P = 1 - Q;
  // Q's error, from what the fraction still lacks and the power factor, in P.
  const double Left = FractionLeft(Change, Before);
  return {P, Q, Q == 0 || (Change < 1e-8 && (Left + Rounding) * Q <= PinnedTolerance * P)};
}

}  // namespace orv::detail
