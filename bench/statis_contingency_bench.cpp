// Fisher's exact test of 2 x 2 tables of N = 1000 beside a plain loop over
// the same tables (the probabilities from uc_LnFactorial, summed once).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

// 64 tables of N = 1000 with margins from balanced to lopsided.
std::vector<orv::TInt2DArray> Tables() {
  std::mt19937_64 Gen(20261209);
  std::uniform_int_distribution<int32_t> U(0, 1000);
  std::vector<orv::TInt2DArray> V;
  while (V.size() < 64) {
    int32_t c[3] = {U(Gen), U(Gen), U(Gen)};
    std::sort(c, c + 3);
    V.push_back({{c[0], c[1] - c[0]}, {c[2] - c[1], 1000 - c[2]}});
  }
  return V;
}

void BM_FisherExactTest(benchmark::State& State) {
  const auto V = Tables();
  size_t i = 0;
  for (auto _ : State) {
    double Low, High, Two;
    benchmark::DoNotOptimize(orv::FisherExactTest(V[i], Low, High, Two));
    benchmark::DoNotOptimize(Low + High + Two);
    i = (i + 1) % V.size();
  }
}

void BM_FisherPlain(benchmark::State& State) {
  const auto V = Tables();
  const double* F = orv::uc_LnFactorial;
  size_t i = 0;
  for (auto _ : State) {
    const auto& T = V[i];
    const int32_t a = T[0][0], b = T[0][1], c = T[1][0], d = T[1][1];
    const int32_t R1 = a + c, R2 = b + d, C1 = a + b, C2 = c + d, N = R1 + R2;
    const double K = F[R1] + F[R2] + F[C1] + F[C2] - F[N];
    const double p0 = std::exp(K - F[a] - F[b] - F[c] - F[d]);
    double Low = 0, High = 0, Two = 0;
    for (int32_t x = std::max(0, R1 + C1 - N); x <= std::min(R1, C1); ++x) {
      const double p = std::exp(K - F[x] - F[C1 - x] - F[R1 - x] - F[N - R1 - C1 + x]);
      if (x <= a) Low += p;
      if (x >= a) High += p;
      if (p <= p0) Two += p;
    }
    benchmark::DoNotOptimize(Low + High + Two);
    i = (i + 1) % V.size();
  }
}

BENCHMARK(BM_FisherExactTest);
BENCHMARK(BM_FisherPlain);

}  // namespace
