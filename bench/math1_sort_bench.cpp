// SortArray beside std::sort and a bare comb sort loop; QuickSelect (median)
// beside std::nth_element. Every kernel sees the same sequence of random
// arrays; only the kernel is timed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_math1.h"

namespace {

// Fresh random doubles for every iteration: repeating one array lets the branch
// predictor learn its comparisons at small sizes and flatters every kernel.
void FillRandom(std::vector<double>& W, uint64_t Seed) {
  uint64_t X = Seed * 0x9E3779B97F4A7C15ull + 1;
  for (auto& V : W) {
    X += 0x9E3779B97F4A7C15ull;  // splitmix64
    uint64_t Z = X;
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    Z ^= Z >> 31;
    V = static_cast<double>(Z >> 11) * 0x1p-53 * 2e6 - 1e6;
  }
}

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

template <class Kernel>
void Run(benchmark::State& State, Kernel&& K) {
  std::vector<double> W(State.range(0));
  uint64_t Seed = 0;
  for (auto _ : State) {
    FillRandom(W, ++Seed);
    const auto T0 = std::chrono::steady_clock::now();
    K(W);
    const auto T1 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(W.data());
    State.SetIterationTime(std::chrono::duration<double>(T1 - T0).count());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_SortArray(benchmark::State& S) {
  Run(S, [](std::vector<double>& W) { orv::SortArray(W, true); });
}
void BM_BareCombSort(benchmark::State& S) {
  Run(S, [](std::vector<double>& W) { BareCombSort(W.data(), static_cast<int64_t>(W.size())); });
}
void BM_StdSort(benchmark::State& S) {
  Run(S, [](std::vector<double>& W) { std::sort(W.begin(), W.end()); });
}
void BM_QuickSelect(benchmark::State& S) {
  Run(S, [](std::vector<double>& W) {
    const auto High = static_cast<int32_t>(W.size()) - 1;
    benchmark::DoNotOptimize(orv::QuickSelect(W, High / 2, 0, High));
  });
}
void BM_NthElement(benchmark::State& S) {
  Run(S, [](std::vector<double>& W) {
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
