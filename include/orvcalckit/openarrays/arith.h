// Unit ORV_openarrays: element-wise arithmetic of arrays. Included through
// ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Results of every routine here, the first failing check winning: -1 when an
// input is empty at any level or ragged (either input of a two-array
// routine, also when only one is), -2 when two inputs differ in any extent,
// else 0. Double cells are rounded per cell; Integer cells wrap around modulo
// 2^32 (2147483647 * 2 is -2). A result array (C, B) takes the extents of the
// first input and is built aside: on failure it keeps what it held, and it
// may be one of the inputs (MultiplyArrayByScalar(A, 3, A) triples A). An
// in-place form changes nothing on failure.

// C := A * B cell by cell (1-D and 2-D only).
ORV_API int32_t MultiplyArraysElemw(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C);
ORV_API int32_t MultiplyArraysElemw(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C);
ORV_API int32_t MultiplyArraysElemw(const TIntArray& A, const TIntArray& B, TIntArray& C);
ORV_API int32_t MultiplyArraysElemw(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C);

// B := Factor * A (0; -1); the two-argument forms A := Factor * A in place.
ORV_API int32_t MultiplyArrayByScalar(const TDoubleArray& A, double Factor, TDoubleArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TDouble2DArray& A, double Factor, TDouble2DArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TDouble3DArray& A, double Factor, TDouble3DArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TDouble4DArray& A, double Factor, TDouble4DArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TIntArray& A, int32_t Factor, TIntArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TInt2DArray& A, int32_t Factor, TInt2DArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TInt3DArray& A, int32_t Factor, TInt3DArray& B);
ORV_API int32_t MultiplyArrayByScalar(const TInt4DArray& A, int32_t Factor, TInt4DArray& B);
ORV_API int32_t MultiplyArrayByScalar(TDoubleArray& A, double Factor);
ORV_API int32_t MultiplyArrayByScalar(TDouble2DArray& A, double Factor);
ORV_API int32_t MultiplyArrayByScalar(TDouble3DArray& A, double Factor);
ORV_API int32_t MultiplyArrayByScalar(TDouble4DArray& A, double Factor);
ORV_API int32_t MultiplyArrayByScalar(TIntArray& A, int32_t Factor);
ORV_API int32_t MultiplyArrayByScalar(TInt2DArray& A, int32_t Factor);
ORV_API int32_t MultiplyArrayByScalar(TInt3DArray& A, int32_t Factor);
ORV_API int32_t MultiplyArrayByScalar(TInt4DArray& A, int32_t Factor);

// C := A + B.
ORV_API int32_t AddArrays(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C);
ORV_API int32_t AddArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C);
ORV_API int32_t AddArrays(const TDouble3DArray& A, const TDouble3DArray& B, TDouble3DArray& C);
ORV_API int32_t AddArrays(const TDouble4DArray& A, const TDouble4DArray& B, TDouble4DArray& C);
ORV_API int32_t AddArrays(const TIntArray& A, const TIntArray& B, TIntArray& C);
ORV_API int32_t AddArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C);
ORV_API int32_t AddArrays(const TInt3DArray& A, const TInt3DArray& B, TInt3DArray& C);
ORV_API int32_t AddArrays(const TInt4DArray& A, const TInt4DArray& B, TInt4DArray& C);

// B := A + Value (0; -1).
ORV_API int32_t AddScalarToArray(const TDoubleArray& A, double Value, TDoubleArray& B);
ORV_API int32_t AddScalarToArray(const TDouble2DArray& A, double Value, TDouble2DArray& B);
ORV_API int32_t AddScalarToArray(const TDouble3DArray& A, double Value, TDouble3DArray& B);
ORV_API int32_t AddScalarToArray(const TDouble4DArray& A, double Value, TDouble4DArray& B);
ORV_API int32_t AddScalarToArray(const TIntArray& A, int32_t Value, TIntArray& B);
ORV_API int32_t AddScalarToArray(const TInt2DArray& A, int32_t Value, TInt2DArray& B);
ORV_API int32_t AddScalarToArray(const TInt3DArray& A, int32_t Value, TInt3DArray& B);
ORV_API int32_t AddScalarToArray(const TInt4DArray& A, int32_t Value, TInt4DArray& B);

// A := A + Increment in place (0; -1).
ORV_API int32_t IncArray(TDoubleArray& A, double Increment);
ORV_API int32_t IncArray(TDouble2DArray& A, double Increment);
ORV_API int32_t IncArray(TDouble3DArray& A, double Increment);
ORV_API int32_t IncArray(TDouble4DArray& A, double Increment);
ORV_API int32_t IncArray(TIntArray& A, int32_t Increment);
ORV_API int32_t IncArray(TInt2DArray& A, int32_t Increment);
ORV_API int32_t IncArray(TInt3DArray& A, int32_t Increment);
ORV_API int32_t IncArray(TInt4DArray& A, int32_t Increment);

// C := A - B.
ORV_API int32_t SubtractArrays(const TDoubleArray& A, const TDoubleArray& B, TDoubleArray& C);
ORV_API int32_t SubtractArrays(const TDouble2DArray& A, const TDouble2DArray& B, TDouble2DArray& C);
ORV_API int32_t SubtractArrays(const TDouble3DArray& A, const TDouble3DArray& B, TDouble3DArray& C);
ORV_API int32_t SubtractArrays(const TDouble4DArray& A, const TDouble4DArray& B, TDouble4DArray& C);
ORV_API int32_t SubtractArrays(const TIntArray& A, const TIntArray& B, TIntArray& C);
ORV_API int32_t SubtractArrays(const TInt2DArray& A, const TInt2DArray& B, TInt2DArray& C);
ORV_API int32_t SubtractArrays(const TInt3DArray& A, const TInt3DArray& B, TInt3DArray& C);
ORV_API int32_t SubtractArrays(const TInt4DArray& A, const TInt4DArray& B, TInt4DArray& C);

// The sum over i of (A[i] - B[i])^2, or of (A[i] - B[Col][i])^2, added in
// increasing i from 0. Failures are negative, which no sum is, checked in
// this order: -1.0 A or B empty (B at any level, or ragged); -2.0 the
// length of A differs from that of B, or from B's number of rows; -3.0 Col
// negative or not below B's number of columns.
ORV_API double SumOfSquaredDiffs(const TDoubleArray& A, const TDoubleArray& B);
ORV_API double SumOfSquaredDiffs(const TDoubleArray& A, const TDouble2DArray& B, int32_t Col);

}  // namespace orv
