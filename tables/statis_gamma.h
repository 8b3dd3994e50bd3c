// ln Gamma and the regularized incomplete gamma function with both of its
// tails, for the routines that need the upper one without the cancellation of
// 1 - P. Inline and internal: the library's own calls go neither through the
// exported symbols nor the procedure linkage table, and the callers with
// a = 0.5 (the error function, the normal distribution) get it folded in.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
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

struct TGammaTails {
  double P;  // lower: P(a, x)
  double Q;  // upper: 1 - P(a, x), formed without the subtraction where the
             // continued fraction gives it directly
};

// Both tails of IncompleteGamma(x, a), with its edge rules: the series and
// continued fraction of Numerical Recipes (section 6.2).
inline TGammaTails GammaTails(double x, double a) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  if (std::isnan(x) || std::isnan(a)) return {NaN, NaN};
  if (x <= 0 || a <= 0) return {0, 1};
  if (std::isinf(a)) return std::isinf(x) ? TGammaTails{NaN, NaN} : TGammaTails{0, 1};
  if (std::isinf(x)) return {1, 0};
  const double g = std::exp(a * std::log(x) - x - LanczosLnGamma(a));
  if (x < a + 1) {
    double ap = a, term = 1 / a, sum = term;
    const int64_t MaxTerms = StepBound(100, a);
    for (int64_t n = 0; n < MaxTerms; ++n) {
      ap += 1;
      term = term * x / ap;
      sum += term;
      if (std::fabs(term) < std::fabs(sum) * 1e-8) break;
    }
    const double P = g * sum;
    return {P, 1 - P};
  }
  double gold = 0, a0 = 1, a1 = x, b0 = 0, b1 = 1, fac = 1, value = 0;
  for (int i = 1; i <= 99; ++i) {
    const double an = i;
    a0 = (a1 + a0 * (an - a)) * fac;
    b0 = (b1 + b0 * (an - a)) * fac;
    a1 = x * a0 + an * fac * a1;
    b1 = x * b0 + an * fac * b1;
    if (a1 != 0) {
      fac = 1 / a1;
      value = b1 * fac;
      if (std::fabs((value - gold) / value) < 1e-8) break;
      gold = value;
    }
  }
  const double Q = g * value;
  return {1 - Q, Q};
}

}  // namespace orv::detail
