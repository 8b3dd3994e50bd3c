// Per-call benchmarks of scalar functions: each iteration takes the next of a
// set of arguments, so that no single argument is measured (or folded).
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

namespace orv::bench {

// Fn(Args[i]) for i = 0, 1, .. around the set.
template <class A, class F>
void RunCycling(benchmark::State& State, const std::vector<A>& Args, F Fn) {
  std::size_t i = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(Fn(Args[i]));
    if (++i == Args.size()) i = 0;
  }
}

}  // namespace orv::bench
