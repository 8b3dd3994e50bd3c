// The monotone chain written plainly: over points already sorted by x, then
// y, the lower chain left to right and the upper chain right to left, a
// point that makes no left turn (Cross <= 0) dropped. The tests' reference
// hull builds on it, and the benchmark sets it beside Convex2DHull
// (bench/math2_polygons_bench.cpp includes it by path). Test support.
#pragma once

#include <cstddef>

#include "orvcorekit/Orv_orvbase.h"

namespace orv::test {

// Sorted must hold at least 3 points; Cross(O, A, B) is the orientation of
// the turn O -> A -> B (positive counter-clockwise).
template <class CrossFn>
TPDblArray MonotoneChain(const TPDblArray& Sorted, CrossFn&& Cross) {
  TPDblArray H(2 * Sorted.size());
  std::size_t K = 0;
  for (std::size_t I = 0; I < Sorted.size(); ++I) {
    while (K >= 2 && Cross(H[K - 2], H[K - 1], Sorted[I]) <= 0) --K;
    H[K++] = Sorted[I];
  }
  for (std::size_t I = Sorted.size() - 1, Lower = K + 1; I-- > 0;) {
    while (K >= Lower && Cross(H[K - 2], H[K - 1], Sorted[I]) <= 0) --K;
    H[K++] = Sorted[I];
  }
  H.resize(K - 1);
  return H;
}

}  // namespace orv::test
