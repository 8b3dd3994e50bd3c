// Unit ORV_openarrays: sorting with the origin of each cell, duplicate
// removal and shuffling of 1-D arrays. Included through ORV_openarrays.h;
// conventions in openarrays/common.h.
//
// SortArray here takes (Ascending, A, Idx) and reports where each value came
// from; it reports no progress. SortArray(Data, Ascending) of ORV_math1 sorts
// a plain array without an index and adds one to ProcStat per pass. The
// argument lists keep the two apart.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Sorts A in place, ascending or descending, by the comb sort of ORV_math1
// (shrink factor 1.3) but from the gap Trunc((n - 1) / 1.3). Idx takes n
// cells: Idx[k] is the 1-based position in the input of the value now at
// index k, so A_in[Idx[k] - 1] = A_out[k]. Equal values are never exchanged
// (the sort is not stable, and the steps fix the order of equal values and of
// their Idx entries). NaN goes last in both directions. 0; -1 when A has
// fewer than 2 cells (A untouched, Idx still set: [1] or empty) or more than
// 2147483647 (Idx then empty). Idx takes its value after A is sorted, so one
// TIntArray passed as both ends up holding the index.
ORV_API int32_t SortArray(bool Ascending, TDoubleArray& A, TIntArray& Idx);
ORV_API int32_t SortArray(bool Ascending, TIntArray& A, TIntArray& Idx);

// A becomes its distinct values in ascending or descending order; the number
// of cells removed (0 or more, at most 2147483647), or -1 when A has fewer
// than 2 cells (A unchanged). A copy of A is sorted with SortArray of
// ORV_math1, so ProcStat grows by that sort's passes and MathFeedBackProc is
// called; should it change A, the result is still that of A as it was, and
// A is then replaced by it.
ORV_API int32_t SortAndRemoveDuplicates(TIntArray& A, bool Ascending);

// Permutes A at random by Sattolo's algorithm: for k = n - 1 down to 1, A[k]
// is exchanged with A[j], j drawn uniformly from 0 .. k - 1 by Random(k) of
// the global generator (not reseeded). The result is a cyclic permutation,
// every cell leaves its place, uniform over the (n - 1)! cyclic permutations,
// not over all n! orderings: two cells are always exchanged, three always
// rotated. 0; -1 when A has fewer than 2 cells or more than 2147483647 (A
// unchanged).
ORV_API int32_t ShuffleArray(TIntArray& A);
ORV_API int32_t ShuffleArray(TDoubleArray& A);

}  // namespace orv
