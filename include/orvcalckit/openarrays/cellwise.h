// Unit ORV_openarrays: flipping, absolute values and Boolean-to-number maps,
// cell by cell without changing a shape. Included through ORV_openarrays.h;
// conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Reverses A along dimension Dim (1 .. its number of dimensions) in place:
// Dim 1 the order of the columns, Dim 2 the rows within every column, Dim 3
// and 4 the inner levels likewise. 0; -1 A empty at any level or ragged;
// -2 Dim out of range (-1 wins). A fails unchanged.
ORV_API int32_t FlipDimArray(TDoubleArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TDouble2DArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TDouble3DArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TDouble4DArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TIntArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TInt2DArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TInt3DArray& A, int32_t Dim);
ORV_API int32_t FlipDimArray(TInt4DArray& A, int32_t Dim);

// Every cell := its absolute value: -0.0 becomes +0.0, NaN stays NaN, and the
// Integer -2147483648, which has no positive counterpart, stays. 0; -1 A
// empty at any level or ragged, A then unchanged.
ORV_API int32_t AbsValArray(TDoubleArray& A);
ORV_API int32_t AbsValArray(TDouble2DArray& A);
ORV_API int32_t AbsValArray(TDouble3DArray& A);
ORV_API int32_t AbsValArray(TDouble4DArray& A);
ORV_API int32_t AbsValArray(TIntArray& A);
ORV_API int32_t AbsValArray(TInt2DArray& A);
ORV_API int32_t AbsValArray(TInt3DArray& A);
ORV_API int32_t AbsValArray(TInt4DArray& A);

// R := an array of B's shape holding TrueVal where B is true and FalseVal
// where it is false. 0; -1 B empty at any level or ragged, R then unchanged.
ORV_API int32_t BoolToNumArray(const TBoolArray& B, int32_t FalseVal, int32_t TrueVal, TIntArray& R);
ORV_API int32_t BoolToNumArray(const TBoolArray& B, double FalseVal, double TrueVal, TDoubleArray& R);
ORV_API int32_t BoolToNumArray(const TBool2DArray& B, int32_t FalseVal, int32_t TrueVal, TInt2DArray& R);
ORV_API int32_t BoolToNumArray(const TBool2DArray& B, double FalseVal, double TrueVal, TDouble2DArray& R);

}  // namespace orv
