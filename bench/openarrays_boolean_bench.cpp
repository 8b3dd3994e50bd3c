// DichotomizeArray and DiscretizeArray of 2000 x 2000 doubles, beside plain
// loops over the same cells. DiscretizeArray works in place, so each
// iteration maps a fresh copy; the plain loop copies the same way.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TBool2DArray;
using orv::TDouble2DArray;

constexpr int32_t N = 2000;

const TDouble2DArray& Grid() {
  static const TDouble2DArray G = orv::bench::RandomGrid(N, N, -1, 4);
  return G;
}

void BM_DichotomizeArray(benchmark::State& S) {
  TBool2DArray B;
  for (auto _ : S) {
    orv::DichotomizeArray(Grid(), 0.0, 2.0, B);
    benchmark::DoNotOptimize(B.data());
  }
  S.SetItemsProcessed(S.iterations() * N * N);
}

void BM_PlainDichotomize(benchmark::State& S) {
  for (auto _ : S) {
    TBool2DArray B(Grid().size());
    for (std::size_t C = 0; C < B.size(); ++C) {
      B[C].resize(Grid()[C].size());
      for (std::size_t R = 0; R < B[C].size(); ++R) B[C][R] = 0.0 <= Grid()[C][R] && Grid()[C][R] <= 2.0;
    }
    benchmark::DoNotOptimize(B.data());
  }
  S.SetItemsProcessed(S.iterations() * N * N);
}

void BM_DiscretizeArray(benchmark::State& S) {
  for (auto _ : S) {
    TDouble2DArray A = Grid();
    orv::DiscretizeArray(A, 7, 0, 3, 0, 6);
    benchmark::DoNotOptimize(A.data());
  }
  S.SetItemsProcessed(S.iterations() * N * N);
}

void BM_PlainDiscretize(benchmark::State& S) {
  const double W = 3.0 / 5, Step = 6.0 / 6;
  for (auto _ : S) {
    TDouble2DArray A = Grid();
    for (auto& Col : A)
      for (double& X : Col) X = X <= 0 ? 0 : X >= 3 ? 6 : (std::floor(X / W) + 1) * Step;
    benchmark::DoNotOptimize(A.data());
  }
  S.SetItemsProcessed(S.iterations() * N * N);
}

BENCHMARK(BM_DichotomizeArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDichotomize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscretizeArray)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDiscretize)->Unit(benchmark::kMillisecond);

}  // namespace
