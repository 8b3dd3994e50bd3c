// Unit ORV_openarrays: filling arrays in place. Included through
// ORV_openarrays.h; conventions in openarrays/common.h.
//
// No routine changes an array's extents. Each returns 0, or -1 when A is
// empty at any level or ragged, or the further codes it names; after -1 or
// -2 A is unchanged.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Every cell := Value.
ORV_API int32_t FillArray(TBoolArray& A, bool Value);
ORV_API int32_t FillArray(TBool2DArray& A, bool Value);
ORV_API int32_t FillArray(TIntArray& A, int32_t Value);
ORV_API int32_t FillArray(TInt2DArray& A, int32_t Value);
ORV_API int32_t FillArray(TInt3DArray& A, int32_t Value);
ORV_API int32_t FillArray(TInt4DArray& A, int32_t Value);
ORV_API int32_t FillArray(TDoubleArray& A, double Value);
ORV_API int32_t FillArray(TDouble2DArray& A, double Value);
ORV_API int32_t FillArray(TDouble3DArray& A, double Value);
ORV_API int32_t FillArray(TDouble4DArray& A, double Value);

// Every cell of a box in corner form := Value, the bounds included. -2 when a
// bound is negative or not below its extent, or a high bound is below its low
// bound (-1 wins).
ORV_API int32_t FillArray(TIntArray& A, int32_t Value, int32_t Lo, int32_t Hi);
ORV_API int32_t FillArray(TInt2DArray& A, int32_t Value, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                          int32_t RowHi);
ORV_API int32_t FillArray(TInt3DArray& A, int32_t Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3);
ORV_API int32_t FillArray(TInt4DArray& A, int32_t Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4,
                          int32_t Hi1, int32_t Hi2, int32_t Hi3, int32_t Hi4);
ORV_API int32_t FillArray(TDoubleArray& A, double Value, int32_t Lo, int32_t Hi);
ORV_API int32_t FillArray(TDouble2DArray& A, double Value, int32_t ColLo, int32_t RowLo, int32_t ColHi,
                          int32_t RowHi);
ORV_API int32_t FillArray(TDouble3DArray& A, double Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3);
ORV_API int32_t FillArray(TDouble4DArray& A, double Value, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4,
                          int32_t Hi1, int32_t Hi2, int32_t Hi3, int32_t Hi4);

// Every cell := its running index. 1-D: A[i] = i. 2-D, the row fastest:
// A[i][j] = j + i * N2. 3-D, the first index fastest: A[i][j][k] =
// i + (j + k * N2) * N1. (N1, N2: the extents of dimensions 1 and 2.) An
// Integer array of more than 2147483648 cells, whose last index an Integer
// cannot hold, gives -2.
ORV_API int32_t FillArrayRix(TIntArray& A);
ORV_API int32_t FillArrayRix(TInt2DArray& A);
ORV_API int32_t FillArrayRix(TInt3DArray& A);
ORV_API int32_t FillArrayRix(TDoubleArray& A);
ORV_API int32_t FillArrayRix(TDouble2DArray& A);
ORV_API int32_t FillArrayRix(TDouble3DArray& A);

// Every cell := Value where all its indices are equal, 0 elsewhere. -2 when
// the extents are not all equal.
ORV_API int32_t FillDiagArray(TInt2DArray& A, int32_t Value);
ORV_API int32_t FillDiagArray(TInt3DArray& A, int32_t Value);
ORV_API int32_t FillDiagArray(TInt4DArray& A, int32_t Value);
ORV_API int32_t FillDiagArray(TDouble2DArray& A, double Value);
ORV_API int32_t FillDiagArray(TDouble3DArray& A, double Value);
ORV_API int32_t FillDiagArray(TDouble4DArray& A, double Value);

// Random fills. Each first reseeds the global generator from the clock
// (Randomize), before any check, so even a failing call reseeds it: a seed set
// with SetRandSeed is replaced, unlike TVector.FillRandomUniform, and these
// fills cannot be repeated from a seed. The cells take the numbers in draw
// order: 1-D and 2-D column by column, the row fastest; 3-D for each third
// index, for each first index, the second index fastest; 4-D for each fourth
// index, for each third, for each first, the second fastest.

// Each cell := RandomGauss(Mean, StdDev). -2 when StdDev is negative, or
// Mean or StdDev is NaN or infinite (-1 wins); StdDev 0 fills Mean.
ORV_API int32_t FillRandomNormal(TDoubleArray& A, double Mean, double StdDev);
ORV_API int32_t FillRandomNormal(TDouble2DArray& A, double Mean, double StdDev);
ORV_API int32_t FillRandomNormal(TDouble3DArray& A, double Mean, double StdDev);
ORV_API int32_t FillRandomNormal(TDouble4DArray& A, double Mean, double StdDev);

// Doubles: each cell := RangeLow + (RangeHigh - RangeLow) * u, u = Random()
// in [0, 1); bounds whose difference overflows take the same value computed
// at half scale. Integers: Floor of the same, computed in double, so the
// cells take RangeLow .. RangeHigh - 1 whatever the span (RangeHigh itself
// only when the bounds are equal). -2 when RangeLow > RangeHigh, or a double
// bound is NaN or infinite (-1 wins); equal bounds fill RangeLow.
ORV_API int32_t FillRandomUniform(TDoubleArray& A, double RangeLow, double RangeHigh);
ORV_API int32_t FillRandomUniform(TDouble2DArray& A, double RangeLow, double RangeHigh);
ORV_API int32_t FillRandomUniform(TDouble3DArray& A, double RangeLow, double RangeHigh);
ORV_API int32_t FillRandomUniform(TDouble4DArray& A, double RangeLow, double RangeHigh);
ORV_API int32_t FillRandomUniform(TIntArray& A, int32_t RangeLow, int32_t RangeHigh);
ORV_API int32_t FillRandomUniform(TInt2DArray& A, int32_t RangeLow, int32_t RangeHigh);
ORV_API int32_t FillRandomUniform(TInt3DArray& A, int32_t RangeLow, int32_t RangeHigh);
ORV_API int32_t FillRandomUniform(TInt4DArray& A, int32_t RangeLow, int32_t RangeHigh);

}  // namespace orv
