// TVector::SortElems of 10^6 fresh random values beside the bare comb sort
// (detail::CombSort from the same start gap) on a std::vector.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "core/combsort.h"
#include "orvcalckit/ORV_vector.h"
#include "bench/support/fresh_data.h"

namespace {

using orv::bench::RunFresh;

void BM_SortElems(benchmark::State& S) {
  orv::TVector V;
  V.Resize(static_cast<int32_t>(S.range(0)));
  RunFresh(
      S, [&](std::vector<double>& W) { V.CopyFromArray(W, 1); },
      [&](std::vector<double>&) { V.SortElems(true, 0, 0); });
}

void BM_BareCombSort(benchmark::State& S) {
  RunFresh(S, [](std::vector<double>& W) {
    const int64_t High = static_cast<int64_t>(W.size()) - 1;
    double* A = W.data();
    orv::detail::CombSort(
        int64_t{0}, High, High, [A](int64_t I, int64_t J) { return A[I] > A[J]; },
        [A](int64_t I, int64_t J) { std::swap(A[I], A[J]); }, orv::detail::CombNoReport);
  });
}

BENCHMARK(BM_SortElems)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareCombSort)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
