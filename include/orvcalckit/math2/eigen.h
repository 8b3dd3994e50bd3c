// Unit ORV_math2: eigenvectors and principal components. Included through
// ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/math2/common.h"

namespace orv {

// The eigen results (the eigenvalues and eigenvectors of the last CalcEigVec,
// sorted and scaled by CalcPrincComp) are state of the unit, shared by every
// caller and not thread-safe: calls that compute or read them must not
// overlap. ProcStat, MathFeedBackProc and AbortMathProc work as everywhere.

// The largest symmetric matrix CalcEigVec takes, so the most columns that
// CalcPrincComp analyses.
inline constexpr int32_t MaxEigenSize = 10000;

// Eigenvalues and eigenvectors of the symmetric matrix in the first N columns
// and rows of SymMat (N = its number of columns) by the cyclic Jacobi method,
// into the unit's eigen results. Reads the diagonal and the cells (c, r) with
// r < c only, and rotates those to zero in place: the caller's matrix is
// changed (OnChange per cell write), its lower triangle is never touched.
// False when N > MaxEigenSize (results untouched), when AbortMathProc stopped it or
// when 100 sweeps did not reach an exactly zero off-diagonal sum (the results
// then hold what was reached). nullptr: false. EORVMath2Error
// "CalcEigVec: not enough memory" when the results cannot be allocated.
// Without an OnChange handler the method runs on a copy of the matrix, and
// the rotated cells are written back at the end into those that SymMat
// still has, should MathFeedBackProc have resized it; with one, every cell
// is read and written through GetVal and SetVal, so a handler that resizes
// the matrix leaves results of no meaning but touches no cell beyond it.
ORV_API bool CalcEigVec(TMatrix* SymMat);

// j = 0: eigenvalue i; j = 1..N: component j of eigenvector i. 0 when there
// are no results or i is outside 1..N or j outside 0..N.
ORV_API double GetEigenResult(int32_t i, int32_t j);
// N of the last CalcEigVec, also after RemoveEigenMatrix.
ORV_API int32_t GetEigenSize();
// Releases the eigen results; GetEigenSize is kept.
ORV_API void RemoveEigenMatrix();

// Principal components of columns LoCol..HiCol over rows LoRow..HiRow of
// Data: CalcCovar with Scaling into a temporary matrix, then CalcEigVec;
// Normalize scales the eigenvalues to a sum of absolute values of 1 (signs
// kept); then the positive eigenvalues are sorted in descending order to the
// front, each eigenvector moving with its value (values <= 0 follow in the
// order the exchanges leave them). Read the results with GetEigenResult.
// False when either step fails (the eigen results are then those of the last
// CalcEigVec, if it ran) or when more than MaxEigenSize columns are asked for.
ORV_API bool CalcPrincComp(const TMatrix* Data, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                           int32_t Scaling, bool Normalize);
ORV_API bool CalcPrincComp(const TMatrix* Data, int32_t LoCol, int32_t HiCol, int32_t LoRow, int32_t HiRow,
                           int32_t Scaling);  // Normalize true

}  // namespace orv
