// Unit ORV_math2: pseudo-inverse and Mahalanobis distance. Included through
// ORV_math2.h.
#pragma once

#include <cstdint>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcalckit/math2/common.h"

namespace orv {

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

}  // namespace orv
