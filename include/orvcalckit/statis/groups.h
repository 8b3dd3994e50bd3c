// Unit ORV_statis: tests of two samples and of groups: the median test, the
// chi-square comparison of two binned distributions, Friedman's rank test,
// Levene's test and the one-way analysis of variance. Included through
// ORV_statis.h.
//
// p-values are upper tails of the chi-square or F distribution
// (Chi2DistriUpperTail, FDistriUpperTail). None of the routines raises.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// The median test of two samples: the values of both above their common
// median (numpy.percentile method 'weibull', NaN sorting last) and not
// above it, counted per sample into a 2 x 2 table with margins.
// Chi2OfContTab gives Chi2 and p, Chi2OfContTabYates Chi2Yates and pYates,
// and FisherExactTest (while the samples hold at most 1000 values)
// pFisher := the smaller one-sided tail. Chi2 := p := 0 and pFisher := -1
// first; -1 when a sample is empty (nothing else set); -2 when the Yates
// correction cannot be formed (no value above the median), Chi2Yates :=
// pYates := 0; else 0.
ORV_API int32_t MedianTest(const TDoubleArray& Data1, const TDoubleArray& Data2, double& Chi2, double& p,
                           double& Chi2Yates, double& pYates, double& pFisher);

// Compares two binned distributions by chi-square. Codes, a later check
// overriding an earlier: -1 for arrays of different lengths, -2 when one is
// empty, then N1, N2 := the sums of the counts over the common length
// (saturated to Integer) and -3 when either is 0; Chi2, p and df stay then.
// Bins are merged from the left until the second array's sum passes 5 and
// its next count is not 0; each bin adds (A f1 - B f2)^2 / B, f1 =
// sqrt(N2 / N1), f2 = sqrt(N1 / N2), A and B its sums of counts1 and
// counts2. A last bin with B = 0 (only negative counts leave one) joins the
// bin before. df := bins - 1, p := P(chi2_df > Chi2), 1 for df = 0. Result 0.
ORV_API int32_t PerformChi2DistComp(const TIntArray& Counts1, const TIntArray& Counts2, double& Chi2, double& p,
                                    int32_t& df, int32_t& N1, int32_t& N2);

// Friedman's test of k treatments (columns) in n blocks (rows): every row
// ranked with mid-ranks (CalcRanks), R_j the rank sums,
// Q := 12 sum R_j^2 / (n k (k + 1)) - 3 n (k + 1), with ties divided by
// 1 - T / (n (k^2 - 1) k), T the sum of the rows' tie terms. Returns
// p = P(chi2_(k-1) > Q). -1 (Q untouched) for fewer than 3 columns, no
// rows or Data = nullptr. Every row a tie throughout: Q := 0, p = 1.
ORV_API double FriedmanTest(const TMatrix* Data, double& Q);

// Groups for the two routines below: the element of Groups at the same
// position names the group of an element of Data (equal labels, one group;
// any Integer may be a label, found without a search through the groups).
// The sums are formed of the values less the first one, so a large common
// offset costs no digits.
//
// Levene's test of equal variances (deviations from the group means):
// F := MSB / MSW of the absolute deviations. Returns p = P(F_(g-1, N-g) > F),
// or -4 when the lengths differ or a vector is nullptr (F untouched), -1 for
// fewer than 2 groups, -2 for as many groups as values, and with MSW = 0:
// F := uc_MaxReal and 0 when MSB > 0, F := 0 and -3 when MSB = 0 too.
ORV_API double LeveneTest(const TVector* Data, const TIntVector* Groups, double& F);

// One-way analysis of variance: SSB, SSW, SST, dfB = g - 1, dfW = N - g,
// dfT = N - 1, F := (SSB / dfB) / (SSW / dfW); the result and the codes as
// for LeveneTest (the sums and counts are set from -3 on).
ORV_API double Anova1F(const TVector* Data, const TIntVector* Groups, double& SSB, double& SSW, double& SST,
                       int32_t& dfB, int32_t& dfW, int32_t& dfT, double& F);

}  // namespace orv
