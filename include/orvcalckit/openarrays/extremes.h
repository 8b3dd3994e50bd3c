// Unit ORV_openarrays: extremes of arrays. Included through ORV_openarrays.h;
// conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// The largest (MaxArray) or smallest (MinArray) cell. The search starts at the
// first cell and takes a cell only when it is strictly beyond, so the first of
// equal extremes in scan order wins and a NaN first cell stays. An array
// empty at any level, or ragged, gives the empty value (MaxArray -2147483648
// or -uc_MaxDouble, MinArray 2147483647 or uc_MaxDouble), which looks like
// data: test the array first where it may be empty.
ORV_API int32_t MaxArray(const TIntArray& A);
ORV_API int32_t MaxArray(const TInt2DArray& A);
ORV_API int32_t MaxArray(const TInt3DArray& A);
ORV_API int32_t MaxArray(const TInt4DArray& A);
ORV_API double MaxArray(const TDoubleArray& A);
ORV_API double MaxArray(const TDouble2DArray& A);
ORV_API double MaxArray(const TDouble3DArray& A);
ORV_API double MaxArray(const TDouble4DArray& A);
ORV_API int32_t MinArray(const TIntArray& A);
ORV_API int32_t MinArray(const TInt2DArray& A);
ORV_API int32_t MinArray(const TInt3DArray& A);
ORV_API int32_t MinArray(const TInt4DArray& A);
ORV_API double MinArray(const TDoubleArray& A);
ORV_API double MinArray(const TDouble2DArray& A);
ORV_API double MinArray(const TDouble3DArray& A);
ORV_API double MinArray(const TDouble4DArray& A);
// The same with the position of the extreme: Pos, or Col and Row. An empty
// array leaves them as they were.
ORV_API int32_t MaxArray(const TIntArray& A, int32_t& Pos);
ORV_API int32_t MaxArray(const TInt2DArray& A, int32_t& Col, int32_t& Row);
ORV_API int32_t MinArray(const TIntArray& A, int32_t& Pos);
ORV_API int32_t MinArray(const TInt2DArray& A, int32_t& Col, int32_t& Row);

// Both extremes of a whole array. Min and Max first take the start values
// (uc_MaxDouble and -uc_MaxDouble, uc_MaxSingle and -uc_MaxSingle for
// singles, 2147483647 and -2147483648 for Integers), which stay when the array
// is empty at any level or ragged: -1. Otherwise both start at the first cell
// (so a NaN first cell stays) and every cell strictly beyond replaces them: 0.
ORV_API int32_t MinMaxArray(const TSingleArray& A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(const TDoubleArray& A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(const TDouble2DArray& A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(const TDouble3DArray& A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(const TDouble4DArray& A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(std::span<const double> A, double& Min, double& Max);
ORV_API int32_t MinMaxArray(const TIntArray& A, int32_t& Min, int32_t& Max);
ORV_API int32_t MinMaxArray(const TInt2DArray& A, int32_t& Min, int32_t& Max);
ORV_API int32_t MinMaxArray(const TInt3DArray& A, int32_t& Min, int32_t& Max);
ORV_API int32_t MinMaxArray(const TInt4DArray& A, int32_t& Min, int32_t& Max);
ORV_API int32_t MinMaxArray(std::span<const int32_t> A, int32_t& Min, int32_t& Max);

// Both extremes of the cells Lo..Hi, or of a box in corner form, with their
// positions. Min and Max take the start values as above and the positions 0,
// before any check. -1 when A is empty (at any level) or ragged; -2 when a
// bound is negative or beyond the last index of its axis (rows: of column 0).
// A reversed range or box is no error: nothing is visited, 0. Otherwise the
// search starts from the start values, not from a cell, and takes the cells
// strictly beyond, in scan order: a range whose cells all equal a start value
// keeps that value and position 0. 0.
ORV_API int32_t MinMaxArray(const TDoubleArray& A, int32_t Lo, int32_t Hi, double& Min, double& Max,
                            int32_t& MinPos, int32_t& MaxPos);
ORV_API int32_t MinMaxArray(const TIntArray& A, int32_t Lo, int32_t Hi, int32_t& Min, int32_t& Max,
                            int32_t& MinPos, int32_t& MaxPos);
ORV_API int32_t MinMaxArray(const TDouble2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                            double& Min, double& Max, int32_t& MinCol, int32_t& MinRow, int32_t& MaxCol,
                            int32_t& MaxRow);
ORV_API int32_t MinMaxArray(const TInt2DArray& A, int32_t ColLo, int32_t RowLo, int32_t ColHi, int32_t RowHi,
                            int32_t& Min, int32_t& Max, int32_t& MinCol, int32_t& MinRow, int32_t& MaxCol,
                            int32_t& MaxRow);

}  // namespace orv
