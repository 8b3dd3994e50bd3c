// Unit ORV_openarrays: row and column operations on 2-D arrays whose columns
// (A[c]) are variables and whose rows (A[c][r]) are objects. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Every cell A[c][r] whose Mask[c][r] is false becomes Value. Codes, the
// reverse of the unit's usual order: the double form gives -2 when A is
// empty or ragged, -1 when the mask is ragged or not empty and of other
// extents than A, and fills every cell for an empty mask; the Integer form
// gives -2 when A or the mask is empty (a ragged mask is not empty) and -1
// for a ragged mask or other extents. 0 on success; nothing written on
// failure.
ORV_API int32_t FillArrayMasked(TDouble2DArray& A, double Value, const TBool2DArray& Mask);
ORV_API int32_t FillArrayMasked(TInt2DArray& A, int32_t Value, const TBool2DArray& Mask);

// Deletes row Row (from every column) or column Col. False, A unchanged,
// when the index is not one of A's or A is ragged or has no columns.
// Removing the last row leaves the columns without cells; removing the last
// column leaves an array without columns.
ORV_API bool RemoveRow(TDouble2DArray& A, int32_t Row);
ORV_API bool RemoveRow(TInt2DArray& A, int32_t Row);
ORV_API bool RemoveColumn(TDouble2DArray& A, int32_t Col);
ORV_API bool RemoveColumn(TInt2DArray& A, int32_t Col);

// The measure Mode between rows Obj1 and Obj2 over the columns LoVar..HiVar,
// as TMatrix::DistanceOfObjects measures it (sums in increasing column from
// 0.0; Tanimoto and Dice of two rows whose sums of squares are 0: 1.0 when
// the rows are equal over the range, else 0.0). Dist := 0 first. Every
// check is made and the last that fails gives the result: -1 Mode is not a
// built-in measure (dmUser); -2 Obj1 or Obj2 not a row index; -3 LoVar or
// HiVar not a column index; -4 HiVar < LoVar. A ragged array or one
// without columns has no rows and no columns. 0 with the measure in Dist.
ORV_API int32_t DistanceOfObjects(const TDouble2DArray& A, TDistMode Mode, int32_t Obj1, int32_t Obj2, int32_t LoVar,
                                  int32_t HiVar, double& Dist);

// H := X (X'X)^-1 X' (n x n for n rows), the hat matrix of regression on the
// columns of X, with the products and the inversion of TMatrix's
// CalcHatMatrix and the same bits: each product cell sums over the inner
// index in increasing order from 0.0; X'X is inverted by InvertArray, with
// its progress and abort. -1 X empty or ragged; otherwise InvertArray's
// codes (-2, -3), and -3 too when its MathFeedBackProc resized or moved X
// (or a column of X). H changes only on success (0), and may be X.
ORV_API int32_t CalcHatMatrix(const TDouble2DArray& X, TDouble2DArray& H);

}  // namespace orv
