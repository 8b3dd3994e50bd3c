// Unit ORV_openarrays: searching and counting values. Included through
// ORV_openarrays.h; conventions in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// The index of the first cell equal to Key, scanning from 0 up; -1 A empty;
// -2 not found.
ORV_API int32_t FindInArray(int32_t Key, const TIntArray& A);
// The index of the first cell that matches S; -1 A empty; -2 not found.
// IgnoreCase compares with the letters A to Z lowered (no other character
// changes). Partial false: the cell equals S; Partial true: S occurs in the
// cell, and an empty S matches nothing. The search for S takes time linear
// in the lengths of S and of the cells.
ORV_API int32_t FindInArray(std::string_view S, const TStrArray& A, bool IgnoreCase, bool Partial);

// In A sorted ascending (Ascending) or descending, the index of the cell equal
// to X or, without one, the nearer of the two neighbours of X, a tie of
// distances going to the later index. -1 A empty; -2 X outside A[0] .. A[n-1]
// or NaN. Bisection; the order is not checked (an unsorted A gives some index,
// safely). Of several cells equal to X, any one may be returned.
ORV_API int32_t FindInSortedArray(double X, const TDoubleArray& A, bool Ascending);

// The number of cells of a box in pair form whose value v has
// LowVal <= v <= HighVal (a NaN bound or cell counts nothing). -1 when A is
// empty at one of its first three levels (1-D and 2-D: all levels) or ragged;
// -2 when a bound is negative or not below its extent (so a 4-D array with an
// empty innermost level gives -2), when a high bound is below its low bound,
// or when LowVal > HighVal. A count beyond 2147483647 gives 2147483647.
ORV_API int32_t CountValues(const TDoubleArray& A, int32_t Lo, int32_t Hi, double LowVal, double HighVal);
ORV_API int32_t CountValues(const TDouble2DArray& A, int32_t ColLo, int32_t ColHi, int32_t RowLo, int32_t RowHi,
                            double LowVal, double HighVal);
ORV_API int32_t CountValues(const TDouble3DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2,
                            int32_t Lo3, int32_t Hi3, double LowVal, double HighVal);
ORV_API int32_t CountValues(const TDouble4DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2,
                            int32_t Lo3, int32_t Hi3, int32_t Lo4, int32_t Hi4, double LowVal, double HighVal);
ORV_API int32_t CountValues(const TIntArray& A, int32_t Lo, int32_t Hi, int32_t LowVal, int32_t HighVal);
ORV_API int32_t CountValues(const TInt2DArray& A, int32_t ColLo, int32_t ColHi, int32_t RowLo, int32_t RowHi,
                            int32_t LowVal, int32_t HighVal);
ORV_API int32_t CountValues(const TInt3DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                            int32_t Hi3, int32_t LowVal, int32_t HighVal);
ORV_API int32_t CountValues(const TInt4DArray& A, int32_t Lo1, int32_t Hi1, int32_t Lo2, int32_t Hi2, int32_t Lo3,
                            int32_t Hi3, int32_t Lo4, int32_t Hi4, int32_t LowVal, int32_t HighVal);

}  // namespace orv
