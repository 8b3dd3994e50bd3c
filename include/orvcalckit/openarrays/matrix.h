// Unit ORV_openarrays: inverse, transpose and trace of 2-D arrays read as
// matrices, a(r, c) = A[c][r]. Included through ORV_openarrays.h; conventions
// in openarrays/common.h.
#pragma once

#include "orvcalckit/openarrays/common.h"

namespace orv {

// Replaces the square matrix A by its inverse: Crout's LU decomposition with
// implicit row scaling and partial pivoting (the later row wins a tie), then
// one forward and back substitution per column of the identity, each cell's
// products subtracted one by one in increasing inner index. The routine of
// TMatrix::Invert, with the same bits.
//   0   A holds the inverse;
//   -1  A empty, ragged or not square (A unchanged);
//   -2  the working storage cannot be obtained (A unchanged), or the
//       arithmetic fails: a cell of A that is infinite or NaN (A unchanged),
//       an overflow in the decomposition or the solution (A holds the
//       row-exchanged factors);
//   -3  singular: a row of zeros (A unchanged), or a pivot below 1e-100 in
//       magnitude (A holds the row-exchanged factors: the multipliers below
//       the diagonal, the upper factor on and above it, each tiny pivot
//       replaced by 1e-100); or stopped through AbortMathProc: at once when
//       it is set at the start, else A holds the factors as far as they got
//       (the complete factors when the stop came during the solution).
// Progress: before each column of the decomposition and of the solution, 1
// is added to ProcStat, MathFeedBackProc is called with it when assigned, and
// AbortMathProc is tested, so a complete inversion adds 2n. AbortMathProc is
// also tested before each row of the scaling. A MathFeedBackProc that
// resizes or moves A (or a column of A) stops the inversion (-3) without
// writing into A again.
ORV_API int32_t InvertArray(TDouble2DArray& A);

// A := its transpose, m columns of n rows for n columns of m rows. 0; -1 A
// empty or ragged (unchanged).
ORV_API int32_t TransposeArray(TDouble2DArray& A);
ORV_API int32_t TransposeArray(TInt2DArray& A);
ORV_API int32_t TransposeArray(TBool2DArray& A);

// Trace := A[0][0] + A[1][1] + ... in column order, Integers wrapping around.
// Trace is 0 before any check. 0; -1 A empty or ragged; -2 not square.
ORV_API int32_t TraceOfArray(const TDouble2DArray& A, double& Trace);
ORV_API int32_t TraceOfArray(const TInt2DArray& A, int32_t& Trace);

}  // namespace orv
