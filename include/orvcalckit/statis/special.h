// Unit ORV_statis: the gamma, beta and error functions and binomial
// coefficients. Included through ORV_statis.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"

namespace orv {

// ln Gamma(x) by Lanczos' six-term series (absolute error below 3e-10 on
// 0.01..200); 0 for x <= 0, +inf for +inf.
ORV_API double LnGamma(double x);

// The regularized lower incomplete gamma function P(a, x): a series for
// x < a + 1 (until a term falls below 1e-8 of the sum, at most
// 100 + 10 sqrt(a) terms), else a continued fraction of at most 99 steps
// (until two values agree to 1e-8 relative). Relative error below 1e-7
// (5.5e-8 at most for a in 1e-6..1000). Where these iterations cannot promise
// that (the series' remainder, estimated from its last term, a fraction not
// settled in 99 steps, or the power factor x^a e^-x / Gamma(a) losing digits
// to its exponent: a above about 1000 with x near a), the result is the
// full-precision one of Chi2DistriIntegral, and NaN where that cannot settle
// either (a above about 2e8 with x near a). 0 when x <= 0 or a <= 0; 1 for
// x = +inf; NaN for NaN.
ORV_API double IncompleteGamma(double x, double a);

// The regularized incomplete beta function I_x(a, b) by its continued
// fraction (the even-odd recurrence, until two values agree to 1e-8 relative;
// at most max(100, 10 sqrt(max(a, b))) steps). Relative error below 1e-7
// (1.7e-8 at most for a and b in 0.1..1000). Where the fraction cannot
// promise that (not settled, or its power factor losing digits to its
// exponent: a + b above about 1e7), the result is the full-precision one of
// FDistriIntegral while a + b <= 1e8, else NaN. 0 for x <= 0, 1 for x >= 1;
// NaN when a or b is not positive and finite, or x is NaN.
ORV_API double IncompleteBeta(double x, double a, double b);

// ln Gamma(a) + ln Gamma(b) - ln Gamma(a + b); 0 when a < 0 or b < 0.
ORV_API double LnBeta(double a, double b);

// The error function as +-P(0.5, x^2), the sign of x.
ORV_API double Erf(double x);
// The error function by a rational approximation of erfc (absolute error
// below 1.2e-7); 1 - (2 - erfc(|x|)) for x < 0.
ORV_API double ErfApprox(double x);

// n over k, exact (formed from its factors in integers, not rounded from
// exp(LnBinomCoeff(n, k)), which is off by one already at C(55302, 2));
// INT32_MAX where it exceeds the Integer range; 0 when n < 0, k < 0 or n < k.
ORV_API int32_t BinomCoeff(int32_t n, int32_t k);
// ln Gamma(n + 1) - ln Gamma(k + 1) - ln Gamma(n - k + 1); -1 when n < 0,
// k < 0 or n < k.
ORV_API double LnBinomCoeff(int32_t n, int32_t k);

}  // namespace orv
