// SortArray with origin index beside std::sort of (value, index) pairs that
// hands back the same two arrays; ShuffleArray beside std::shuffle with
// std::mt19937_64. The sorts see fresh random data in every iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

void BM_SortArrayWithIndex(benchmark::State& S) {
  orv::TIntArray Idx;
  orv::bench::RunFresh(S, [&Idx](std::vector<double>& W) { orv::SortArray(true, W, Idx); });
}

void BM_StdSortPairs(benchmark::State& S) {
  orv::TIntArray Idx;
  orv::bench::RunFresh(S, [&Idx](std::vector<double>& W) {
    std::vector<std::pair<double, int32_t>> P(W.size());
    for (std::size_t I = 0; I < W.size(); ++I) P[I] = {W[I], static_cast<int32_t>(I + 1)};
    std::sort(P.begin(), P.end(), [](const auto& A, const auto& B) { return A.first < B.first; });
    orv::TIntArray R(W.size());
    for (std::size_t I = 0; I < W.size(); ++I) {
      W[I] = P[I].first;
      R[I] = P[I].second;
    }
    Idx = std::move(R);
  });
}

orv::TIntArray& Cells() {
  static orv::TIntArray A = [] {
    orv::TIntArray V(1000000);
    std::iota(V.begin(), V.end(), 0);
    return V;
  }();
  return A;
}

void BM_ShuffleArray(benchmark::State& S) {
  for (auto _ : S) {
    orv::ShuffleArray(Cells());
    benchmark::DoNotOptimize(Cells().data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_StdShuffle(benchmark::State& S) {
  std::mt19937_64 Gen(1);
  for (auto _ : S) {
    std::shuffle(Cells().begin(), Cells().end(), Gen);
    benchmark::DoNotOptimize(Cells().data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

BENCHMARK(BM_SortArrayWithIndex)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSortPairs)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShuffleArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdShuffle)->Unit(benchmark::kMillisecond);

}  // namespace
