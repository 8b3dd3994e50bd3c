// Unit ORV_openarrays: cloning, reversing and comparing arrays. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Dst becomes an independent copy of Src, sized to Src's extents, each cell
// converted to Dst's element type (common.h: exact, or clamped and rounded to
// an Integer, or rounded to a single). 0; -1 when Src is empty at any level
// or ragged, Dst then unchanged. Src may be Dst.
ORV_API int32_t CloneArray(const TBoolArray& Src, TBoolArray& Dst);
ORV_API int32_t CloneArray(const TBool2DArray& Src, TBool2DArray& Dst);
ORV_API int32_t CloneArray(const TSingleArray& Src, TDoubleArray& Dst);
ORV_API int32_t CloneArray(const TDoubleArray& Src, TSingleArray& Dst);
ORV_API int32_t CloneArray(const TDoubleArray& Src, TDoubleArray& Dst);
ORV_API int32_t CloneArray(const TDouble2DArray& Src, TDouble2DArray& Dst);
ORV_API int32_t CloneArray(const TDouble3DArray& Src, TDouble3DArray& Dst);
ORV_API int32_t CloneArray(const TDouble4DArray& Src, TDouble4DArray& Dst);
ORV_API int32_t CloneArray(const TIntArray& Src, TIntArray& Dst);
ORV_API int32_t CloneArray(const TInt2DArray& Src, TInt2DArray& Dst);
ORV_API int32_t CloneArray(const TInt3DArray& Src, TInt3DArray& Dst);
ORV_API int32_t CloneArray(const TInt4DArray& Src, TInt4DArray& Dst);
ORV_API int32_t CloneArray(const TDoubleArray& Src, TIntArray& Dst);
ORV_API int32_t CloneArray(const TDouble2DArray& Src, TInt2DArray& Dst);
ORV_API int32_t CloneArray(const TDouble3DArray& Src, TInt3DArray& Dst);
ORV_API int32_t CloneArray(const TDouble4DArray& Src, TInt4DArray& Dst);
ORV_API int32_t CloneArray(const TIntArray& Src, TDoubleArray& Dst);
ORV_API int32_t CloneArray(const TInt2DArray& Src, TDouble2DArray& Dst);
ORV_API int32_t CloneArray(const TInt3DArray& Src, TDouble3DArray& Dst);
ORV_API int32_t CloneArray(const TInt4DArray& Src, TDouble4DArray& Dst);

// Dst[i] := Src[n - 1 - i] converted as by CloneArray, Dst sized to n = the
// length of Src. 0; -1 when Src is empty, Dst then unchanged. Src may be Dst:
// CloneAndReverseArray(A, A) reverses A.
ORV_API int32_t CloneAndReverseArray(const TBoolArray& Src, TBoolArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TIntArray& Src, TIntArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TDoubleArray& Src, TDoubleArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TSingleArray& Src, TDoubleArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TDoubleArray& Src, TSingleArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TDoubleArray& Src, TIntArray& Dst);
ORV_API int32_t CloneAndReverseArray(const TIntArray& Src, TDoubleArray& Dst);

// True when A and B have the same shape and the same cells. They are compared
// sub-array by sub-array, lengths and then cells, so a ragged array equals
// only an array of the same shape and cells. Rectangular arrays whose extents
// agree down to a level of length 0 hold no cells and are equal (two empty
// 1-D arrays too).
ORV_API bool EqualArrays(const TIntArray& A, const TIntArray& B);
ORV_API bool EqualArrays(const TInt2DArray& A, const TInt2DArray& B);
ORV_API bool EqualArrays(const TInt3DArray& A, const TInt3DArray& B);
ORV_API bool EqualArrays(const TInt4DArray& A, const TInt4DArray& B);

}  // namespace orv
