// Euclidean lengths without spurious overflow or underflow (internal).
#pragma once

#include <algorithm>
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

// The Euclidean length of the values that Each(Visit) hands to Visit, in
// its order: the plain square root of the sum of squares where that sum is
// positive and finite, else the sum again with every value divided by the
// largest magnitude, so that only true infinities and NaNs remain.
template <class EachValue>
double EuclideanNorm(EachValue&& Each) {
  double Sum = 0.0;
  Each([&Sum](double X) { Sum += X * X; });
  if (Sum > 0.0 && Sum <= std::numeric_limits<double>::max()) return std::sqrt(Sum);
  double Scale = 0.0;
  bool NaN = false;
  double FirstNaN = 0.0;
  Each([&](double X) {
    if (std::isnan(X) && !NaN) {
      NaN = true;
      FirstNaN = X;
    }
    Scale = std::max(Scale, std::fabs(X));
  });
  if (NaN) return FirstNaN;
  if (Scale == 0.0 || std::isinf(Scale)) return Scale;
  double Scaled = 0.0;
  Each([&](double X) { Scaled += (X / Scale) * (X / Scale); });
  return Scale * std::sqrt(Scaled);
}

}  // namespace orv::detail
