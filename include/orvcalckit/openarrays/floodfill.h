// Unit ORV_openarrays: flood fill and edge vectors of 2-D arrays. Included
// through ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Flood fill, as a paint program fills an area: every cell of the
// four-connected region (edge neighbours, no diagonals) of matching cells
// around the seed A[X][Y] (X the column, Y the row) takes NewValue, each
// exactly once, and the result is the number of cells filled (1 or more;
// beyond 2147483647 it gives 2147483647). MinCol .. MaxCol and MinRow ..
// MaxRow take the region's bounding box. The fill keeps its own list of
// pending runs, so a region of any size fills without deep recursion.
// A failing call (-1, -2, or 0 of the double form) changes neither A nor
// the bounds.
//
// Integer: a cell matches when it equals the seed's old value. -1 when the
// seed lies outside A (so for an empty or ragged A, or one with more than
// 2147483647 columns or rows); -2 when the seed already holds NewValue.
ORV_API int32_t FloodFillArray(int32_t X, int32_t Y, int32_t NewValue, TInt2DArray& A, int32_t& MaxRow,
                               int32_t& MinRow, int32_t& MinCol, int32_t& MaxCol);
// Double: with Old the seed's value, a cell matches when
// Old - |Tol| <= cell <= Old + |Tol|. NewValue may match as well (NewValue =
// Old among others); the region is then filled once all the same. -1 as for
// Integers; 0 when the seed does not match itself (a NaN seed or Tol, an
// infinite seed with an infinite Tol).
ORV_API int32_t FloodFillArray(int32_t X, int32_t Y, double Tol, double NewValue, TDouble2DArray& A,
                               int32_t& MaxRow, int32_t& MinRow, int32_t& MinCol, int32_t& MaxCol);

// V := one value per row (Orient orRows, ordinal 0) or per column (any other
// ordinal) of A, each reduced in double over its cells in index order:
// eoMinimum from uc_MaxDouble taking strictly smaller cells, eoMaximum from
// -uc_MaxDouble taking strictly larger ones (so NaN cells are passed over,
// and a line of +infinity gives uc_MaxDouble as its minimum), eoSum from 0,
// eoMean the sum divided by the number of cells of the line. 0; -1 when A or
// A[0] is empty or A is ragged; -2 when Op is no TEdgeOp (-1 wins). V fails
// unchanged.
ORV_API int32_t EdgeVector(const TInt2DArray& A, TOrientation Orient, TEdgeOp Op, TDoubleArray& V);
ORV_API int32_t EdgeVector(const TDouble2DArray& A, TOrientation Orient, TEdgeOp Op, TDoubleArray& V);

}  // namespace orv
