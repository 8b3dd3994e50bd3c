// PercentileArray on 10^6 cells, 1-D in place and a 1000 x 1000 box with its
// copy, beside std::nth_element on the same cells (the box's after the same
// copy), fresh random data in every iteration; FrequDistOfArray on 10^6 cells
// beside a plain loop with the same bin rule.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/array_data.h"
#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TDoubleArray;

constexpr double P = 75;
constexpr int64_t K = 750000;  // Round(10^6 * 75 / 100)

void BM_PercentileArray1D(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) { benchmark::DoNotOptimize(orv::PercentileArray(P, W)); });
}

void BM_NthElement1D(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) {
    std::nth_element(W.begin(), W.begin() + K, W.end());
    benchmark::DoNotOptimize(W[K]);
  });
}

// The fresh cells laid out as 1000 columns of 1000 rows, untimed.
auto ToGrid(TDouble2DArray& G) {
  return [&G](const std::vector<double>& W) {
    G.assign(1000, TDoubleArray(1000));
    for (std::size_t C = 0; C < 1000; ++C) std::copy_n(W.begin() + C * 1000, 1000, G[C].begin());
  };
}

void BM_PercentileArray2DBox(benchmark::State& S) {
  TDouble2DArray G;
  orv::bench::RunFresh(S, ToGrid(G), [&G](std::vector<double>&) {
    benchmark::DoNotOptimize(orv::PercentileArray(P, G, 0, 0, 999, 999));
  });
}

void BM_NthElement2DBoxCopy(benchmark::State& S) {
  TDouble2DArray G;
  orv::bench::RunFresh(S, ToGrid(G), [&G](std::vector<double>&) {
    TDoubleArray C;
    C.reserve(1000000);
    for (const auto& Col : G) C.insert(C.end(), Col.begin(), Col.end());
    std::nth_element(C.begin(), C.begin() + K, C.end());
    benchmark::DoNotOptimize(C[K]);
  });
}

// 101 bins over 0 .. 100 for cells in [-10, 110): a sixth of them outside.
const TDoubleArray& Cells() {
  static const TDoubleArray A = orv::bench::RandomCells(1000000, -10, 110);
  return A;
}

void BM_FrequDistOfArray(benchmark::State& S) {
  orv::TIntArray Dist;
  int32_t Below, Above, Max;
  for (auto _ : S) {
    orv::FrequDistOfArray(Cells(), 0, 0, 0.0, 100.0, 1.0, Dist, Below, Above, Max);
    benchmark::DoNotOptimize(Dist.data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_PlainLoopFrequDist(benchmark::State& S) {
  for (auto _ : S) {
    std::vector<int32_t> Dist(101);
    int32_t Below = 0, Above = 0;
    for (const double X : Cells()) {
      if (X < 0.0) {
        ++Below;
      } else if (X < 101.0) {
        const double B = std::floor(X / 1.0);
        if (B < 101)
          ++Dist[static_cast<std::size_t>(B)];
        else
          ++Above;
      } else {
        ++Above;
      }
    }
    benchmark::DoNotOptimize(Dist.data());
    benchmark::DoNotOptimize(Below + Above + *std::max_element(Dist.begin(), Dist.end()));
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

BENCHMARK(BM_PercentileArray1D)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NthElement1D)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PercentileArray2DBox)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NthElement2DBoxCopy)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrequDistOfArray)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoopFrequDist)->Unit(benchmark::kMicrosecond);

}  // namespace
