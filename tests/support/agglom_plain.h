// The plain search of the closest pair for the merge loop of
// AgglomClustering (detail::RunMergesWith of analysis/agglom.h): every live
// pair in each step, O(n^3) in all. The reference the fast search is held
// to bit for bit, and the benchmark's baseline (bench/math2_cluster_bench.cpp
// includes it by path).
#pragma once

#include <cstdint>
#include <utility>

#include "analysis/agglom.h"

namespace orv::test {

struct TPlainPairSearch {
  void Start(const detail::TMergeSlots&) {}
  // The first strict minimum in the order f up, g up.
  detail::TClosestPair Find(const detail::TMergeSlots& S) const {
    detail::TClosestPair P;
    for (int32_t I = 0; I < S.N; ++I) {
      if (!S.Alive[detail::Ix(I)]) continue;
      for (int32_t J = I + 1; J < S.N; ++J)
        if (S.Alive[detail::Ix(J)] && S.At(I, J) < P.Best) {
          P.Best = S.At(I, J);
          P.F = I;
          P.G = J;
        }
    }
    return P;
  }
  void Merged(const detail::TMergeSlots&, int32_t, int32_t) {}
};

// detail::RunMerges with the plain search.
template <class BeforeFn, class StepFn>
void RunPlainMerges(double* D, int32_t N, TClusterMethod Method, double Beta, BeforeFn&& Before, StepFn&& Step) {
  TPlainPairSearch Search;
  detail::RunMergesWith(Search, D, N, Method, Beta, std::forward<BeforeFn>(Before), std::forward<StepFn>(Step));
}

}  // namespace orv::test
