// Scalar routines: primality by tabulated primes, fraction reduction by gcd
// against repeated trial division, and pivot search in large (x, y) tables.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "orvcalckit/ORV_math1.h"

namespace {

void BM_IsPrime(benchmark::State& S) {
  int32_t n = 2147483647 - 2 * 4096;
  for (auto _ : S) {
    int Count = 0;
    for (int32_t i = 0; i < 4096; ++i) Count += orv::IsPrime(n + 2 * i);
    benchmark::DoNotOptimize(Count);
  }
  S.SetItemsProcessed(S.iterations() * 4096);
}
BENCHMARK(BM_IsPrime);

void BM_CancelFraction(benchmark::State& S) {
  const int32_t N0 = static_cast<int32_t>(S.range(0));
  for (auto _ : S) {
    int32_t N = N0, D = N0 - 1;  // coprime: nothing to cancel, the worst case
    orv::CancelFraction(N, D);
    benchmark::DoNotOptimize(N);
  }
}
BENCHMARK(BM_CancelFraction)->Arg(1 << 20)->Arg(2147483647);

// Every common divisor from 2 to the smaller magnitude, round after round.
void TrialCancel(int32_t& N, int32_t& D) {
  for (bool Changed = true; Changed;) {
    Changed = false;
    const int32_t i = std::min(std::abs(N), std::abs(D));
    if (i < 2) return;
    for (int32_t c = 2; c <= i; ++c)
      while (N % c == 0 && D % c == 0) {
        N /= c;
        D /= c;
        Changed = true;
      }
  }
}

void BM_CancelFractionByTrialDivision(benchmark::State& S) {
  const int32_t N0 = static_cast<int32_t>(S.range(0));
  for (auto _ : S) {
    int32_t N = N0, D = N0 - 1;
    TrialCancel(N, D);
    benchmark::DoNotOptimize(N);
  }
}
BENCHMARK(BM_CancelFractionByTrialDivision)->Arg(1 << 20);

void BM_InterpolXYTable(benchmark::State& S) {
  const int32_t n = static_cast<int32_t>(S.range(0));
  orv::TDouble2DArray T(2);
  for (int32_t i = 0; i < n; ++i) {
    T[0].push_back(i);
    T[1].push_back(0.5 * i);
  }
  double x = 0.25;
  for (auto _ : S) {
    benchmark::DoNotOptimize(orv::InterpolXYTable(x, T, false));
    x += 0.9;
    if (x >= n - 1) x = 0.25;
  }
}
BENCHMARK(BM_InterpolXYTable)->Arg(16)->Arg(1 << 20);

}  // namespace
