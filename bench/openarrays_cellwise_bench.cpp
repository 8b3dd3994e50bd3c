// FlipDimArray of a 40 x 40 x 40 x 40 TDouble4DArray along each dimension,
// beside plain loops that exchange the cells one by one; AbsValArray of the
// same array beside a plain loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <utility>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble4DArray;

constexpr int32_t N = 40;

TDouble4DArray& Array() {
  static TDouble4DArray A = [] {
    TDouble4DArray X(N, orv::TDouble3DArray(N, orv::TDouble2DArray(N)));
    int32_t Seed = 0;
    for (auto& P : X)
      for (auto& Q : P)
        for (auto& R : Q) R = orv::bench::RandomCells(N, -1, 1, ++Seed);
    return X;
  }();
  return A;
}

void BM_FlipDimArray(benchmark::State& S) {
  const auto Dim = static_cast<int32_t>(S.range(0));
  for (auto _ : S) benchmark::DoNotOptimize(orv::FlipDimArray(Array(), Dim));
  S.SetItemsProcessed(S.iterations() * N * N * N * N);
}

// Exchanges the cells of index i and N - 1 - i in dimension Dim.
void BM_PlainFlip(benchmark::State& S) {
  const auto Dim = S.range(0);
  for (auto _ : S) {
    TDouble4DArray& A = Array();
    for (int32_t I = 0; I < N; ++I)
      for (int32_t J = 0; J < N; ++J)
        for (int32_t K = 0; K < N; ++K)
          for (int32_t L = 0; L < N; ++L) {
            int32_t At[4] = {I, J, K, L};
            if (At[Dim - 1] >= N - 1 - At[Dim - 1]) continue;
            double& X = A[I][J][K][L];
            At[Dim - 1] = N - 1 - At[Dim - 1];
            std::swap(X, A[At[0]][At[1]][At[2]][At[3]]);
          }
    benchmark::ClobberMemory();
  }
  S.SetItemsProcessed(S.iterations() * N * N * N * N);
}

void BM_AbsValArray(benchmark::State& S) {
  for (auto _ : S) benchmark::DoNotOptimize(orv::AbsValArray(Array()));
  S.SetItemsProcessed(S.iterations() * N * N * N * N);
}

void BM_PlainAbs(benchmark::State& S) {
  for (auto _ : S) {
    for (auto& P : Array())
      for (auto& Q : P)
        for (auto& R : Q)
          for (double& X : R) X = std::fabs(X);
    benchmark::ClobberMemory();
  }
  S.SetItemsProcessed(S.iterations() * N * N * N * N);
}

BENCHMARK(BM_FlipDimArray)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainFlip)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AbsValArray)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainAbs)->Unit(benchmark::kMicrosecond);

}  // namespace
