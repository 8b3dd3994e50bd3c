// Unit ORV_statis: frequency tables: the probability of a 2 x 2 table,
// Fisher's exact test, the chi-square tests of a contingency table, the
// adjusted Rand index and Goodman-Kruskal's lambda. Included through
// ORV_statis.h.
//
// A 2 x 2 table is a TInt2DArray of 2 columns of 2 cells, [column][row]:
// a = [0][0], b = [0][1], c = [1][0], d = [1][1]; rows a + c and b + d,
// columns a + b and c + d, N = a + b + c + d. A table with margins (as
// TDataTable::CreateContingencyTable makes it) has one more column holding
// the row totals and one more row holding the column totals, the grand
// total in its last cell. Sums are formed in 64 bits.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// p := the probability of the 2 x 2 table under its margins,
// R1! R2! C1! C2! / (a! b! c! d! N!) from uc_LnFactorial. p := 0 first;
// -1 when Table is not 2 x 2, else -3 for a negative cell, else -2 for
// N > 1000; 0 on success.
ORV_API int32_t Prob2x2Contingency(const TInt2DArray& Table, double& p);

// Fisher's exact test of a 2 x 2 table: over all tables with its margins,
// pLow := P(a' <= a) and pHigh := P(a' >= a) for the observed cell a, and
// pTwoSided := the sum of the probabilities not above that of the observed
// table (compared exactly, each from Prob2x2Contingency). All three := 0
// first; -1 when not 2 x 2, else -3 for a negative cell, else -2 for
// N > 1000. The caller's table is only read.
ORV_API int32_t FisherExactTest(const TInt2DArray& Table, double& pLow, double& pHigh, double& pTwoSided);

// Pearson's chi-square of a table with margins: over the inner cells
// (O - E)^2 / E with E = column total / grand total x row total, cells with
// E <= 0 (or a grand total of 0) skipped; df = (columns - 1)(rows - 1) of
// the inner table, p := P(chi2_df > Chi2). Chi2 := p := 0 first; -1 for
// fewer than 2 inner columns or rows (or a ragged table); 0 on success.
ORV_API int32_t Chi2OfContTab(const TInt2DArray& Table, double& Chi2, double& p);

// Yates-corrected chi-square of a 2 x 2 table with margins (3 x 3 cells):
// Chi2 := max(|ad - bc| - N/2, 0)^2 N / D, D the product of the four
// margins, p := P(chi2_1 > Chi2). Chi2 := p := 0 first; -1 for any other
// shape; -2 when D = 0 (Chi2 then holds the numerator, p 0); 0 on success.
ORV_API int32_t Chi2OfContTabYates(const TInt2DArray& Table, double& Chi2, double& p);

// The adjusted Rand index (Hubert and Arabie) of the two partitions that a
// table with margins cross-counts: (S - E) / ((A + B)/2 - E) with S, A, B
// the sums of n(n - 1)/2 over the inner cells, the row totals and the column
// totals, E = A B / (N(N - 1)/2). 1 where the denominator is 0 (both
// partitions trivial, so they agree); NaN for a table without inner cells
// or a ragged one.
ORV_API double AdjustedRandIx(const TInt2DArray& Table);

// Goodman and Kruskal's lambda of a table with margins:
// LambdaRows := (sum over columns of the largest cell - largest row total)
// / (N - largest row total), LambdaCols likewise with rows and columns; 0
// where N equals that largest total. Both := 0 first; -1 unless every inner
// column and row sums to its total and the totals to N (or when the table
// has no inner cells or is ragged); 0 on success.
ORV_API int32_t Lambda(const TInt2DArray& Table, double& LambdaRows, double& LambdaCols);

}  // namespace orv
