// SortArray beside std::sort and a bare comb sort loop; QuickSelect (median)
// beside std::nth_element. Every kernel sees the same sequence of random
// arrays; only the kernel is timed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "bench/support/fresh_data.h"

namespace {

// The comb sort as one would write it by hand, without callbacks or progress.
void BareCombSort(double* A, int64_t N) {
  int64_t Gap = N;
  bool Swapped;
  do {
    Gap = static_cast<int64_t>(Gap / 1.3);
    if (Gap < 1) Gap = 1;
    Swapped = false;
    for (int64_t i = 0; i + Gap < N; ++i)
      if (A[i] > A[i + Gap]) {
        std::swap(A[i], A[i + Gap]);
        Swapped = true;
      }
  } while (Gap > 1 || Swapped);
}

void BM_SortArray(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) { orv::SortArray(W, true); });
}
void BM_BareCombSort(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) { BareCombSort(W.data(), static_cast<int64_t>(W.size())); });
}
void BM_StdSort(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) { std::sort(W.begin(), W.end()); });
}
void BM_QuickSelect(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) {
    const auto High = static_cast<int32_t>(W.size()) - 1;
    benchmark::DoNotOptimize(orv::QuickSelect(W, High / 2, 0, High));
  });
}
void BM_NthElement(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) {
    auto Mid = W.begin() + (W.size() - 1) / 2;
    std::nth_element(W.begin(), Mid, W.end());
    benchmark::DoNotOptimize(*Mid);
  });
}

#define ORV_SIZES RangeMultiplier(10)->Range(1000, 10000000)->UseManualTime()->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_SortArray)->ORV_SIZES;
BENCHMARK(BM_BareCombSort)->ORV_SIZES;
BENCHMARK(BM_StdSort)->ORV_SIZES;
BENCHMARK(BM_QuickSelect)->ORV_SIZES;
BENCHMARK(BM_NthElement)->ORV_SIZES;

}  // namespace
