// Unit ORV_statis: the distribution of the one-sample Kolmogorov-Smirnov
// statistic and the Lilliefors approximation. Included through ORV_statis.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/statis/common.h"

namespace orv {

// P(D_n > d) for the one-sample statistic D_n of n values: the matrix power
// of Marsaglia, Tsang and Wang; for n d^2 > 7.24, or > 3.76 with n > 99, their
// one-term asymptotic formula. Above n = 100000, or where the matrix would
// pass order 401 (n d > 200, so n > 10000), the Pelz-Good series takes the
// matrix's place; it agrees with the exact value to 1e-10 there. Absolute
// error below 2e-6 (the asymptotic formula's). 1 for d <= 0, 0 for d >= 1,
// -1 for n <= 0, NaN for NaN.
ORV_API double KSPValue(int32_t n, double d);

// The tabulated critical value of the one-sample statistic: the table for
// n = 1..20, c / sqrt(n) above (c = 1.073, 1.138, 1.224, 1.358, 1.628 for
// Dot20 .. Dot01). -1 for n <= 0 or another level.
ORV_API double KolmogSmir1SampleTestStat(int32_t n, TSignifLevel level);

// The critical value solved from KSPValue: starting from the tabulated one,
// d := (1 + KSPValue(n, d) - alpha) d until |KSPValue(n, d) - alpha| <= 1e-4,
// at most 1000 times (the last d then). -1 where KolmogSmir1SampleTestStat is.
ORV_API double KSQuantile(int32_t n, TSignifLevel level);

// Approximate p-value of the Lilliefors statistic d (Dallal and Wilkinson's
// formula; above n = 100 d is scaled by (n / 100)^0.49); -1 for n < 6.
ORV_API double LillieforsPValue(int32_t n, double d);
// Approximate critical value 1 / sqrt(n P1(1 - alpha) + P2(1 - alpha)) with
// two polynomials of degree 6.
ORV_API double LillieforsQuantile(int32_t n, double alpha);

}  // namespace orv
