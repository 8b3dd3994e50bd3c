// Unit ORV_statis: Student's t, chi-square and F distributions (densities,
// distribution functions, upper tails and the t quantile), to full double
// precision. Included through ORV_statis.h.
//
// They rest on a regularized incomplete gamma and beta function of their own
// (continued fractions by Lentz's method run to double precision, the power
// factors formed around their peaks), not on IncompleteGamma and
// IncompleteBeta, which stop at 1e-8. The upper tails are computed as such,
// never as 1 - distribution function, so a p-value of 1e-54 keeps its
// digits; results down to the smallest normal double. Relative error about
// 1e-14 for df up to 100 and 1e-12 up to 10^4 (the number of continued
// fraction steps grows as sqrt(df)). A series or fraction that has not
// settled in 100000 steps gives NaN, never its truncated value (the
// chi-square distribution with df above about 4e8 near its centre).
//
// Degrees of freedom need not be integers; a df that is not positive and
// finite, or a NaN argument, gives NaN.
#pragma once

#include "orvcalckit/ORV_export.h"

namespace orv {

// Density of Student's t distribution with df degrees of freedom.
ORV_API double tDistriDensity(double t, double df);
// P(T <= t) and P(T > t).
ORV_API double tDistriIntegral(double t, double df);
ORV_API double tDistriUpperTail(double t, double df);
// The t with P(T <= t) = p: Halley steps on the nearer tail (in logarithms
// below 0.25), kept inside a bracket that bisection narrows where a step
// leaves it, at most 200 steps. -inf for p = 0, +inf for p = 1, NaN outside
// 0..1.
ORV_API double tDistriQuantile(double p, double df);

// Density of the chi-square distribution; at x = 0 +inf for df < 2, 0.5 for
// df = 2, 0 above; 0 for x < 0.
ORV_API double Chi2DistriDensity(double x, double df);
// P(X <= x) and P(X > x); 0 and 1 for x <= 0.
ORV_API double Chi2DistriIntegral(double x, double df);
ORV_API double Chi2DistriUpperTail(double x, double df);

// Density of the F distribution with df1 and df2 degrees of freedom; at
// x = 0 +inf for df1 < 2, 1 for df1 = 2, 0 above; 0 for x < 0.
ORV_API double FDistriDensity(double x, double df1, double df2);
// P(F <= x) and P(F > x); 0 and 1 for x <= 0.
ORV_API double FDistriIntegral(double x, double df1, double df2);
ORV_API double FDistriUpperTail(double x, double df1, double df2);

}  // namespace orv
