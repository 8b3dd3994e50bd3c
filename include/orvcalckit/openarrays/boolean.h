// Unit ORV_openarrays: Boolean arrays, dichotomizing and discretizing.
// Included through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// The number of true cells; -1 when A is empty (2-D: A or A[0]) or ragged.
// A count beyond 2147483647 gives 2147483647.
ORV_API int32_t CountTrueCellsOfArray(const TBoolArray& A);
ORV_API int32_t CountTrueCellsOfArray(const TBool2DArray& A);

// Negates every cell of a Boolean array. 0; -1 when A is empty (2-D: A or
// A[0]) or ragged, A then unchanged. (InvertArray of a TDouble2DArray is
// the matrix inverse, declared with the transpose and the trace of 2-D
// arrays; only these two overloads negate.)
ORV_API int32_t InvertArray(TBoolArray& A);
ORV_API int32_t InvertArray(TBool2DArray& A);

// True when A holds exactly two distinct values (doubles) or at most two
// distinct values in at least two cells (Integers: all equal is true). V1
// and V2 take A[0] and the first cell that differs from it, in ascending
// order, whatever the answer; with fewer than two cells the answer is false
// and both are 0; all equal leaves V1 = V2 = A[0]. Doubles compare exactly,
// so NaN equals nothing, itself included.
ORV_API bool IsDichotomous(const TDoubleArray& A, double& V1, double& V2);
ORV_API bool IsDichotomous(const TIntArray& A, int32_t& V1, int32_t& V2);

// B := an array of A's shape, true where A[c][r] > Threshold (strictly)
// or, with two bounds (in either order), where Low <= A[c][r] <= High. A NaN
// threshold, bound or cell gives false. 0; -1 when A or A[0] is empty or A
// is ragged, B then unchanged.
ORV_API int32_t DichotomizeArray(const TDouble2DArray& A, double Threshold, TBool2DArray& B);
ORV_API int32_t DichotomizeArray(const TDouble2DArray& A, double Bound1, double Bound2, TBool2DArray& B);
ORV_API int32_t DichotomizeArray(const TInt2DArray& A, int32_t Threshold, TBool2DArray& B);
ORV_API int32_t DichotomizeArray(const TInt2DArray& A, int32_t Bound1, int32_t Bound2, TBool2DArray& B);

// Maps every cell x of A in place onto NrLevels equally spaced values from
// YLow (level 0) to YHigh (level NrLevels - 1): x <= XLow gives YLow,
// x >= XHigh gives YHigh, and a cell between falls into one of NrLevels - 2
// equal bins, x := YLow + (Floor((x - XLow) / w) + 1) * s with
// w = (XHigh - XLow) / (NrLevels - 2), s = (YHigh - YLow) / (NrLevels - 1).
// Bounds whose difference overflows take the same values computed at half
// scale. A NaN cell stays NaN. 0, also for an empty A (unchanged); -2 when
// XLow >= XHigh, or any of the four bounds is NaN or infinite; -1 when
// NrLevels < 3 (-2 wins).
// A ragged A is mapped as it is, every column over its own length.
ORV_API int32_t DiscretizeArray(TDouble2DArray& A, int32_t NrLevels, double XLow, double XHigh, double YLow,
                                double YHigh);

}  // namespace orv
