// The singular value decomposition and the least-squares solver built on it
// (internal). One copy serves the whole library: TMatrix.Norm(ntSpectral)
// here, PseudoInverse in ORV_math2, and every later caller of SVDSolve (the
// polynomial fits of TCurveFit, the local linear model of EstimateByKNN, the
// memory-based learner): include "linalg/svd.h" and call
//     TMatrix A(nullptr);          // m rows x n columns, overwritten with U
//     TVector B(nullptr), X(nullptr);
//     X.Resize(n);                 // X (and StdErr) must hold n elements
//     bool Zeroed = false;
//     if (!detail::SVDSolve(&A, &B, &X, nullptr, Zeroed)) ...   // stopped or not converged
// The routines are not exported; the unit tests include this header and
// compile linalg/svd.cpp into their program.
//
// CalcSVD is the Golub-Reinsch method: G. H. Golub, C. Reinsch, "Singular
// value decomposition and least squares solutions", Numer. Math. 14, 1970,
// in the form that needs m >= n. A matrix with fewer rows is decomposed as
// if padded with zero rows up to n (no cell outside it is touched): U is
// then the first m rows of the padded U, and U diag(W) V' is A all the same.
// Pinned: the four phases (Householder bidiagonalisation; the right-hand
// transformations into V; the left-hand ones into A, from column n down;
// diagonalisation by implicitly shifted QR steps with the shift from the
// bottom 2 x 2 minor), the negligibility test |x| + anorm == anorm, at most
// 30 iterations per singular value (the 30th is still carried out, the
// result then false, the decomposition complete), singular values unsorted
// and made >= 0 by negating V's column. Each sum runs in increasing index
// from 0, as the plain loops give it; the kernels of core/matmul.h compute
// many such sums side by side.
#pragma once

#include <cmath>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv::detail {

// |A| with the sign of B, where B = 0 and B = -0.0 count as positive.
inline double SignTransfer(double A, double B) { return B >= 0.0 ? std::fabs(A) : -std::fabs(A); }
// The larger of two values; the first when they compare equal or either is NaN.
inline double LargerOf(double A, double B) { return B > A ? B : A; }

// A = U diag(W) V' for A of m rows and n columns: U into A, V (resized to
// n x n when it is not) and W (resized to n when it holds another number of
// elements; a TVector holds at least one). Progress: ProcStat += 1 with the
// feedback call at the start of each step of each phase (4n in all); false
// when AbortMathProc is set there (A, V, W then hold what was reached), when
// a MathFeedBackProc resized A or V, or when a singular value did not
// converge in 30 iterations. A's and V's OnChange fire once at the end, W's
// elements are written as SetVal writes them. nullptr, or A, V the same
// matrix: false, nothing changed.
bool CalcSVD(TMatrix* A, TMatrix* V, TVector* W);

// X := the solution of A X = B from U (m x n), V and W: t_j := (sum over the
// rows r of U(j, r) B_r) / W_j, or 0 where W_j is exactly 0; X_r := sum over
// j of V(j, r) t_j. StdErr (when not nullptr) := the square roots of the
// diagonal of V diag(1 / W_j^2) V', the parameters' standard errors for unit
// data variance. X and StdErr are written element by element (as SetVal) and
// must already hold n elements; B's missing elements read as 0. True, but
// false with nothing written for a nullptr among U, V, W, X, B or a V
// smaller than n x n.
bool SVDBackSubst(const TMatrix* U, const TMatrix* V, const TVector* W, TVector* StdErr, TVector* X,
                  const TVector* B);

// Least squares A X = B with an edited spectrum: CalcSVD (A then holds U),
// every W_j not at least 1e-14 times the largest set to 0 (Zeroed := true),
// then SVDBackSubst. False when CalcSVD is (Zeroed then false). A is read
// again after its OnChange fired: callers pass matrices and vectors of their
// own, which no handler watches (the fits of TCurveFit, EstimateByKNN and
// the memory-based learner do).
bool SVDSolve(TMatrix* A, const TVector* B, TVector* X, TVector* StdErr, bool& Zeroed);

}  // namespace orv::detail
