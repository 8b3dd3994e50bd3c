// CountValues over a box of a 1000 x 1000 TDouble2DArray beside a plain loop;
// FindInSortedArray on 10^6 ascending cells beside std::lower_bound with the
// same neighbour check (nearer neighbour, a tie to the later index).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TDoubleArray;

const TDouble2DArray& Grid() {
  static const TDouble2DArray G = orv::bench::RandomGrid(1000, 1000, 0, 1);
  return G;
}

// The box 100..899 in both dimensions: 640000 cells, values in [0.25, 0.75].
void BM_CountValues2DBox(benchmark::State& S) {
  for (auto _ : S) benchmark::DoNotOptimize(orv::CountValues(Grid(), 100, 899, 100, 899, 0.25, 0.75));
  S.SetItemsProcessed(S.iterations() * 640000);
}

void BM_PlainLoopCount2DBox(benchmark::State& S) {
  for (auto _ : S) {
    const TDouble2DArray& A = Grid();
    int64_t N = 0;
    for (int C = 100; C <= 899; ++C)
      for (int R = 100; R <= 899; ++R) N += 0.25 <= A[C][R] && A[C][R] <= 0.75;
    benchmark::DoNotOptimize(N);
  }
  S.SetItemsProcessed(S.iterations() * 640000);
}

const TDoubleArray& Sorted() {
  static const TDoubleArray A = [] {
    TDoubleArray V = orv::bench::RandomCells(1000000, 0, 1e6);
    std::sort(V.begin(), V.end());
    return V;
  }();
  return A;
}
// 4096 queries spread over the range, so each is a fresh path through the bisection.
const TDoubleArray& Queries() {
  static const TDoubleArray Q = orv::bench::RandomCells(4096, 0, 1e6, 7);
  return Q;
}

void BM_FindInSortedArray(benchmark::State& S) {
  for (auto _ : S)
    for (const double X : Queries()) benchmark::DoNotOptimize(orv::FindInSortedArray(X, Sorted(), true));
  S.SetItemsProcessed(S.iterations() * 4096);
}

void BM_LowerBoundNearest(benchmark::State& S) {
  const TDoubleArray& A = Sorted();
  for (auto _ : S)
    for (const double X : Queries()) {
      int64_t I = -2;
      if (X >= A.front() && X <= A.back()) {
        const auto It = std::lower_bound(A.begin(), A.end(), X);
        I = It - A.begin();
        if (*It != X && std::fabs(It[-1] - X) < std::fabs(*It - X)) --I;
      }
      benchmark::DoNotOptimize(I);
    }
  S.SetItemsProcessed(S.iterations() * 4096);
}

BENCHMARK(BM_CountValues2DBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoopCount2DBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindInSortedArray)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LowerBoundNearest)->Unit(benchmark::kMicrosecond);

}  // namespace
