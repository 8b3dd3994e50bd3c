// Fresh random data for data-dependent kernels (sorting, selection): every
// iteration gets new values, since repeating one array lets the branch
// predictor learn its comparisons and flatters every kernel. Only the kernel
// is timed (register the benchmark with UseManualTime()).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace orv::bench {

// Uniform doubles in [-1e6, 1e6) from splitmix64, a sequence of its own per Seed.
inline void FillRandom(std::vector<double>& W, uint64_t Seed) {
  uint64_t X = Seed * 0x9E3779B97F4A7C15ull + 1;
  for (auto& V : W) {
    X += 0x9E3779B97F4A7C15ull;
    uint64_t Z = X;
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
    Z ^= Z >> 31;
    V = static_cast<double>(Z >> 11) * 0x1p-53 * 2e6 - 1e6;
  }
}

// Per iteration: State.range(0) fresh values into W, Load(W) untimed (to
// put them into a component), then Kernel(W) timed.
template <class LoadFn, class KernelFn>
void RunFresh(benchmark::State& State, LoadFn&& Load, KernelFn&& Kernel) {
  std::vector<double> W(static_cast<std::size_t>(State.range(0)));
  uint64_t Seed = 0;
  for (auto _ : State) {
    FillRandom(W, ++Seed);
    Load(W);
    const auto T0 = std::chrono::steady_clock::now();
    Kernel(W);
    const auto T1 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(W.data());
    State.SetIterationTime(std::chrono::duration<double>(T1 - T0).count());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

template <class KernelFn>
void RunFresh(benchmark::State& State, KernelFn&& Kernel) {
  RunFresh(State, [](std::vector<double>&) {}, Kernel);
}

}  // namespace orv::bench
