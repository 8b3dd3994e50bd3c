// Unit ORV_statis: the table-driven tests: Dean-Dixon and Grubbs outlier
// tests, the Durbin-Watson statistic with its 5 % bounds, the
// Kolmogorov-Smirnov and Lilliefors statistics of normality and the critical
// value of the Wilcoxon signed-rank statistic. Included through ORV_statis.h.
//
// The tables hold the exact points of their distributions (see
// tools/make-statis-tables), except where the classic printed tables differ
// in the last digit: there the printed value is kept.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/statis/common.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// The upper (1 - level) point of Dixon's ratio for n normal values: r10 for
// n = 3..7, r11 for 8..10, r21 for 11..13, r22 for 14..100 (see
// DeanDixonTest). -1 for n outside 3..100 or a level beyond Dot500.
ORV_API double DeanDixonCriticalValues(int32_t n, TSignifLevelEx level);

// Dixon's outlier test of all elements of Data. Q := 0; then, on a sorted
// copy x1 <= ... <= xn, the ratio of the lowest and of the highest value
// (each 0 when its denominator is 0):
//   n 3-7:    (x2 - x1) / (xn - x1),       (xn - xn-1) / (xn - x1)
//   n 8-10:   (x2 - x1) / (xn-1 - x1),     (xn - xn-1) / (xn - x2)
//   n 11-13:  (x3 - x1) / (xn-1 - x1),     (xn - xn-2) / (xn - x2)
//   n 14-100: (x3 - x1) / (xn-2 - x1),     (xn - xn-2) / (xn - x3)
// Q := the high ratio when strictly greater (suspect xn), else the low one
// (suspect x1). Returns the index of the first element equal to the suspect
// when Q exceeds DeanDixonCriticalValues(n, level), else 0. An element that
// is not finite makes the ratios meaningless: Q := NaN, result 0. Data =
// nullptr: Q := 0, result 0. EORVStatisError, in this order:
// "DeanDixonTest: number of data points is too low" (n <= 2),
// "DeanDixonTest: number of data points is too high" (n >= 101),
// "DeanDixonTest: invalid level of significance" (beyond Dot500).
ORV_API int32_t DeanDixonTest(const TVector* Data, TSignifLevelEx level, double& Q);

// The 5 % bounds dL and dU of the Durbin-Watson statistic for n
// observations and k regressors besides the constant. n <= 100: the table;
// above, 2 + z sqrt(4 / n) (z the normal 5 % point) plus a polynomial of
// degree 6 in n - 150 (n <= 200) or n - 350 (n <= 500), or 1 / (n a + b)
// beyond 500; these follow the exact bounds to within 3.3e-5. False, dL
// and dU unchanged, when k < 1, k > 20,
// n < 5, n > 2000 or n - k < 5.
ORV_API bool DurbinWatsonCrit5pct(int32_t n, int32_t k, double& dL, double& dU);

// sum (e(i) - e(i-1))^2 / sum e(i)^2 of the residuals. 2.0 for fewer than
// three residuals, 0 when all are 0; residuals whose squares leave the
// double range are scaled by a power of two first (the ratio does not
// change). NaN in, NaN out.
ORV_API double DurbinWatson(const TDoubleArray& Residuals);

// Grubbs's critical value ((n - 1) / sqrt(n)) sqrt(t^2 / (n - 2 + t^2)),
// t the Student t point with n - 2 degrees of freedom and upper tail
// alpha / (d n), d = 2 two-sided, else 1. -1 unless 0 < alpha < 1 and n > 2.
ORV_API double GrubbsCriticalValues(int32_t n, double alpha, bool TwoSided);

// Grubbs's outlier test of all elements of Data: G := max |x - mean| / s
// (MeanVar; the first largest element). Returns its index when G exceeds
// the two-sided GrubbsCriticalValues(n, alpha), else 0. G := 0 and result 0
// when s is not above 0 or not finite (a constant vector, a NaN or infinite
// element) or Data is nullptr. EORVStatisError:
// "GrubbsTest: invalid level of significance" (alpha not in 0..1, NaN too),
// "GrubbsTest: number of data points is too low" (n <= 3).
ORV_API int32_t GrubbsTest(const TVector* Data, double alpha, double& G);

// The Kolmogorov-Smirnov statistic D of Data against the standard normal
// distribution (nDistriIntegral): the values are taken as standardized.
// Unless Sorted, Data itself is sorted ascending first (SortElems, with its
// events); with Sorted the caller vouches for the order. An OnSortExchange
// handler that resizes Data ends that sort: D is then taken over the values
// the handler left, sorted aside. NaN when an element is NaN; -1 for Data =
// nullptr.
ORV_API double PerformKSNormalityTest(TVector* Data, bool Sorted);

// PerformKSNormalityTest after standardizing Data itself with its mean and
// standard deviation (Standardize, no OnChange); Sorted as there. NaN, with
// Data unchanged, when the standard deviation is not above 0 or not finite;
// -1 for Data = nullptr. p-values and critical values: LillieforsPValue and
// LillieforsQuantile.
ORV_API double PerformLillieforsTest(TVector* Data, bool Sorted);

// The critical value of the Wilcoxon signed-rank statistic for n pairs at
// alpha (two-sided, or one-sided as 2 alpha two-sided). n <= 100: the
// least-squares parabola in ln alpha (TCurveFit.CalcParabolFit) through the
// table's levels for n
// (0.1, 0.05, 0.02 for n = 8; and 0.01 for 9 and 10; and 0.001 above),
// rounded half to even, 0 when negative. Above 100 the normal
// approximation n(n + 1)/4 - z sqrt(n(n + 1)(2n + 1)/24) rounded. -1 when n
// <= 7 or n > 1000000, alpha is not within 4.99999e-4..0.20000001 (NaN too),
// or the value does not fit an Integer (n above about 92,800).
ORV_API int32_t WilcoxonSRQuantile(int32_t n, double alpha, bool TwoSided);

}  // namespace orv
