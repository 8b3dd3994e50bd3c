// Length of a plane vector without spurious overflow or underflow (internal).
#pragma once

#include <cmath>
#include <limits>

namespace orv::detail {

// Sqrt(x² + y²) where the squares stay in range, which is the plain formula
// bit for bit; hypot only where a square would overflow or lose bits to
// underflow, so the common case keeps the speed of one square root.
// Mid range unscaled as in Blue, "A portable Fortran program to find the
// Euclidean norm of a vector", ACM TOMS 4(1), 1978.
template <class F>
inline F Norm2(F X, F Y) {
  const F S = X * X + Y * Y;
  if (S >= std::numeric_limits<F>::min() && S <= std::numeric_limits<F>::max()) return std::sqrt(S);
  return std::hypot(X, Y);
}

}  // namespace orv::detail
