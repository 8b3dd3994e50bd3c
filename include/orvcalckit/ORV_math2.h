// Unit ORV_math2: analysis routines (covariance, eigenvectors, principal components, ...).
#pragma once

#include <cstdint>

#include "ORV_export.h"
#include "ORV_matrix.h"
#include "ORV_statis.h"
#include "ORV_vector.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Errors of the unit's routines; messages begin with the routine's name.
class ORV_API EORVMath2Error : public EORVError {
 public:
  using EORVError::EORVError;
};

// ============================================================================
// Covariance, eigenvectors and principal components
// ============================================================================
//
// The eigen results (the eigenvalues and eigenvectors of the last CalcEigVec,
// sorted and scaled by CalcPrincComp) are state of the unit, shared by every
// caller and not thread-safe: calls that compute or read them must not
// overlap. ProcStat, MathFeedBackProc and AbortMathProc work as everywhere.

// The Scaling codes of CalcCovar and CalcPrincComp; a Scaling parameter is a
// plain integer, so any other value may be passed as well.
enum TCovarScaling : int32_t {
  csCrossProducts = 0,       // sum of x*y / (n - 1)
  csCovariance = 1,          // columns centred on their means
  csCorrelation = 2,         // diagonal exactly 1.0; a column of zero variance: 0
  csSquaredCorrelation = 3,  // its square; the diagonal within rounding of 1 (0 for a constant column)
  csSquaredDistance = 4      // sum of (x - y)^2 / (n - 1)
};

// The largest symmetric matrix CalcEigVec takes, so the most columns that
// CalcPrincComp analyses.
inline constexpr int32_t MaxEigenSize = 10000;

// The covariance-type matrix of columns LoCol..HiCol over rows LoRow..HiRow of
// Data into the first m x m cells of Covar (m = HiCol - LoCol + 1), written
// cell (b, a) then (a, b) for a = 1..m, b = 1..a (OnChange of Covar per write).
// Bounds (0, 0) mean the whole axis; other bounds are used as given, and cells
// outside Data read as 0. Scaling is one of TCovarScaling (n rows); any other
// value gives 0 in every cell.
// The means and the variances of the centred scalings come from one pass over
// the values shifted by the column's first value, variance (sum of squares -
// sum * mean) / (n - 1), taken as 0 when rounding makes it negative; the
// deviations x - mean are taken from the same shifted values, so a column
// that varies little beside its size keeps its digits. Correlations lie in
// [-1, 1], squared ones in [0, 1]; where a sum overflows the double range the
// correlation is NaN (the forced diagonal of csCorrelation excepted).
// Clears AbortMathProc first; false, with nothing written, when Data or Covar
// is nullptr, Covar has fewer than m columns or rows, the column range is
// reversed (m < 1) or it has fewer than two rows; false too when AbortMathProc
// stopped it (the rows of Covar done so far are written). Covar may be Data.
// Progress: n passes for the column sums (scalings above 0), then n per cell
// pair; AbortMathProc is tested before each row a of Covar.
ORV_API bool CalcCovar(const TMatrix* Data, TMatrix* Covar, int32_t LoCol, int32_t HiCol, int32_t LoRow,
                       int32_t HiRow, int32_t Scaling);

// Eigenvalues and eigenvectors of the symmetric matrix in the first N columns
// and rows of SymMat (N = its number of columns) by the cyclic Jacobi method,
// into the unit's eigen results. Reads the diagonal and the cells (c, r) with
// r < c only, and rotates those to zero in place: the caller's matrix is
// changed (OnChange per cell write), its lower triangle is never touched.
// False when N > MaxEigenSize (results untouched), when AbortMathProc stopped it or
// when 100 sweeps did not reach an exactly zero off-diagonal sum (the results
// then hold what was reached). nullptr: false. EORVMath2Error
// "CalcEigVec: not enough memory" when the results cannot be allocated.
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

// ============================================================================
// Pseudo-inverse and Mahalanobis distance
// ============================================================================

// The Moore-Penrose pseudo-inverse of A (m rows, n columns; A unchanged)
// from the singular value decomposition of a copy, A = U diag(W) V':
// PInv := V diag(1 / W_j) U', n rows by m columns, where the W_j not above
// Thresh count as 0. Thresh 0 means max(n, m) * (the largest W_j) * 1.2e-16.
// A with fewer rows than columns is decomposed as if padded with zero rows.
// PInv is resized to m columns and n rows first and then written by
// TMatrix.Multiply; when the decomposition is stopped by AbortMathProc or
// does not converge the product is still taken (PInv then holds no
// meaningful values) and the result is false. PInv may be A. nullptr: false,
// nothing changed.
ORV_API bool PseudoInverse(const TMatrix* A, TMatrix* PInv, double Thresh);

// sqrt(d' InvCov d) for d = Vec1 - Vec2: sum over i of d_i times the sum
// over j of InvCov(j, i) d_j. EORVVectorError, in this order:
// "MahalanobisDistance: dimensions of vectors do not match",
// "MahalanobisDistance: inverse covariance matrix is not quadratric",
// "MahalanobisDistance: dimension of vectors and inverse covariance matrix
// do not match" (all on one line), and after the sum, when it is negative,
// "MahalanobisDistance: the inverse covariance matrix must be symmetric and
// positive definite". nullptr: 0.0.
ORV_API double MahalanobisDistance(const TVector* Vec1, const TVector* Vec2, const TMatrix* InvCov);

// Mid-ranks of the elements of Src into Dst (resized to Src's size; OnChange
// per element): equal values share the mean of their ranks, NaN values rank
// last, each on its own. Returns the tie term, the sum of t^3 - t over the
// groups of t >= 2 equal values (0 without ties). Src may be Dst. nullptr: 0,
// nothing changed.
ORV_API double CalcRanks(const TVector* Src, TVector* Dst);

// CalcFishQ, which this unit shares with ORV_statis, is declared there
// (statis/distrib.h).

}  // namespace orv
