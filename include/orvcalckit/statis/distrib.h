// Unit ORV_statis: the normal, Weibull and hypergeometric distributions, the
// Fisher transform and the confidence interval of a mean. Included through
// ORV_statis.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"

namespace orv {

// The standard normal density.
ORV_API double nDistriDensity(double x);
// The standard normal distribution function: 0.5 (1 +- P(0.5, x^2 / 2));
// below 0 the upper gamma tail is taken without forming 1 - P, so the lower
// tail keeps its relative accuracy (1e-7) down to about -37.
ORV_API double nDistriIntegral(double x);
// The standard normal quantile: bisection from a rational start value until
// nDistriIntegral agrees with p to 1e-8 relative (or the bracket cannot be
// split further); the upper half by symmetry, -quantile(1 - p). 0 for p <= 0
// or p >= 1, NaN for NaN.
ORV_API double nDistriQuantile(double p);

// The Weibull density with shape beta and scale eta, the powers formed as
// exponentials of logarithms (and the whole in logarithms where a power alone
// would leave the double range). 0 when x <= 0, eta <= 0 or beta <= 0.
ORV_API double WeibullDensity(double x, double beta, double eta);

// The probability of k successes in a sample of nsample drawn without
// replacement from npop items of which Round(p npop) are successes. 0 for
// impossible k. EORVStatisError, checked in this order:
// "HyperGeoDistriDensity: probability p must be between 0.0 and 1.0" (NaN too),
// "HyperGeoDistriDensity: npop must be greater than 0",
// "HyperGeoDistriDensity: nsample must not be greater than npop",
// "HyperGeoDistriDensity: nsample must not be less than 1".
ORV_API double HyperGeoDistriDensity(double p, int32_t npop, int32_t nsample, int32_t k);

// Fisher's class-separation ratio (Mean1 - Mean2)^2 / (StdDev1^2 + StdDev2^2),
// the denominator at least 1e-6.
ORV_API double CalcFishQ(double Mean1, double Mean2, double StdDev1, double StdDev2);

// Fisher's z = 0.5 ln((1 + r) / (1 - r)); EORVStatisError
// "FisherTransform: argument out of range" unless -1 < r < 1.
ORV_API double FisherTransform(double r);
// Its inverse (e^2z - 1) / (e^2z + 1): 1 where e^2z overflows (z above about
// 354), so it stays within -1..1.
ORV_API double FisherTransformInv(double z);

// Half-width nDistriQuantile(1 - alpha / 2) s / sqrt(n) of the confidence
// interval of a mean of n values with standard deviation s; -1 for n <= 0.
ORV_API double ConfidenceInterval(double alpha, double s, int32_t n);

}  // namespace orv
