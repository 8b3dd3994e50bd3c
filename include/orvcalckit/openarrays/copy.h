// Unit ORV_openarrays: copies of arrays and boxes into other arrays, and of
// columns and rows between 1-D and 2-D arrays. Included through
// ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Writes the whole of Src, or a box of it in corner form, into the existing
// Dst from the offsets on (one per dimension, dimension 1 first): source cell
// i goes to Off + i - Lo per dimension (Lo = 0 for the whole source). Dst
// keeps its extents and all cells outside the copy.
// Codes: -1 Src or Dst empty at any level, or ragged; -2 an offset negative or
// not below Dst's extent, a box bound negative or not below Src's extent or a
// high bound below its low one, or a copy that does not fit: n + Off > D in a
// dimension, n the copied extent and D Dst's. The whole-source forms of 1-D
// arrays need n + Off < D (a source reaching exactly Dst's last cell is
// refused), the other forms accept the exact fit. Else 0. A failing call
// changes nothing.
// Cells are copied one by one in scan order (dimension 1 slowest, the
// innermost fastest, each run in increasing index), each source cell read
// just before its target is written. Src may be Dst, and overlapping regions
// then give what that order gives: the box 0 .. 2 of [1, 2, 3, 4, 5] copied
// to Off 1 makes it [1, 1, 1, 1, 5].
ORV_API int32_t CopyArray(const TBoolArray& Src, int32_t Off, TBoolArray& Dst);
ORV_API int32_t CopyArray(const TBool2DArray& Src, int32_t OffCol, int32_t OffRow, TBool2DArray& Dst);
ORV_API int32_t CopyArray(const TDoubleArray& Src, int32_t Off, TDoubleArray& Dst);
ORV_API int32_t CopyArray(const TDoubleArray& Src, int32_t Lo, int32_t Hi, int32_t Off, TDoubleArray& Dst);
ORV_API int32_t CopyArray(const TIntArray& Src, int32_t Off, TIntArray& Dst);
ORV_API int32_t CopyArray(const TIntArray& Src, int32_t Lo, int32_t Hi, int32_t Off, TIntArray& Dst);
ORV_API int32_t CopyArray(const TDouble2DArray& Src, int32_t OffCol, int32_t OffRow, TDouble2DArray& Dst);
ORV_API int32_t CopyArray(const TDouble2DArray& Src, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                          int32_t OffCol, int32_t OffRow, TDouble2DArray& Dst);
ORV_API int32_t CopyArray(const TInt2DArray& Src, int32_t OffCol, int32_t OffRow, TInt2DArray& Dst);
ORV_API int32_t CopyArray(const TInt2DArray& Src, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                          int32_t OffCol, int32_t OffRow, TInt2DArray& Dst);
ORV_API int32_t CopyArray(const TDouble3DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, TDouble3DArray& Dst);
ORV_API int32_t CopyArray(const TDouble3DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                          int32_t Hi3, int32_t Off1, int32_t Off2, int32_t Off3, TDouble3DArray& Dst);
ORV_API int32_t CopyArray(const TInt3DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, TInt3DArray& Dst);
ORV_API int32_t CopyArray(const TInt3DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Hi1, int32_t Hi2,
                          int32_t Hi3, int32_t Off1, int32_t Off2, int32_t Off3, TInt3DArray& Dst);
ORV_API int32_t CopyArray(const TDouble4DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                          TDouble4DArray& Dst);
ORV_API int32_t CopyArray(const TDouble4DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3, int32_t Hi4, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                          TDouble4DArray& Dst);
ORV_API int32_t CopyArray(const TInt4DArray& Src, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                          TInt4DArray& Dst);
ORV_API int32_t CopyArray(const TInt4DArray& Src, int32_t Lo1, int32_t Lo2, int32_t Lo3, int32_t Lo4, int32_t Hi1,
                          int32_t Hi2, int32_t Hi3, int32_t Hi4, int32_t Off1, int32_t Off2, int32_t Off3, int32_t Off4,
                          TInt4DArray& Dst);

// V becomes a new array of the cells FirstRow .. LastRow of column Col
// (CopyArrayColumn), or of the cells FirstCol .. LastCol of row Row
// (CopyArrayRow). Codes in this order: -1 A empty, without rows, or ragged;
// CopyArrayColumn: -2 a bad row range (reversed, negative, not below the
// number of rows), -3 Col negative or not below the number of columns;
// CopyArrayRow: -2 a bad column range, -3 a bad Row. Else 0; V is left as it
// was on failure.
ORV_API int32_t CopyArrayColumn(const TDouble2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow,
                                TDoubleArray& V);
ORV_API int32_t CopyArrayColumn(const TInt2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow, TIntArray& V);
ORV_API int32_t CopyArrayColumn(const TBool2DArray& A, int32_t Col, int32_t FirstRow, int32_t LastRow, TBoolArray& V);
ORV_API int32_t CopyArrayRow(const TDouble2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TDoubleArray& V);
ORV_API int32_t CopyArrayRow(const TInt2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TIntArray& V);
ORV_API int32_t CopyArrayRow(const TBool2DArray& A, int32_t Row, int32_t FirstCol, int32_t LastCol, TBoolArray& V);

// Writes V[FirstElem], V[FirstElem + 1], ... into A[Col][FirstRow],
// A[Col][FirstRow + 1], ... (CopyVectorToArrayColumn) or into A[FirstCol][Row],
// A[FirstCol + 1][Row], ... (CopyVectorToArrayRow), and stops at LastElem or
// at the end of the column (row): a longer stretch is cut without error.
// FirstElem = LastElem = 0 means the whole of V (an empty V copies nothing);
// FirstElem > LastElem copies nothing and gives 0. Codes: -1 FirstElem or
// LastElem negative or not below the length of V; -2 a bad place in A
// (negative, not below its extent; an empty or ragged A), which wins over
// -1. Else 0; A changes only then. V may be a column of A: cells are copied
// in increasing order, each read just before its target is written.
ORV_API int32_t CopyVectorToArrayColumn(const TDoubleArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col,
                                        int32_t FirstRow, TDouble2DArray& A);
ORV_API int32_t CopyVectorToArrayColumn(const TIntArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col,
                                        int32_t FirstRow, TInt2DArray& A);
ORV_API int32_t CopyVectorToArrayColumn(const TBoolArray& V, int32_t FirstElem, int32_t LastElem, int32_t Col,
                                        int32_t FirstRow, TBool2DArray& A);
ORV_API int32_t CopyVectorToArrayRow(const TDoubleArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol,
                                     int32_t Row, TDouble2DArray& A);
ORV_API int32_t CopyVectorToArrayRow(const TIntArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol,
                                     int32_t Row, TInt2DArray& A);
ORV_API int32_t CopyVectorToArrayRow(const TBoolArray& V, int32_t FirstElem, int32_t LastElem, int32_t FirstCol,
                                     int32_t Row, TBool2DArray& A);

}  // namespace orv
