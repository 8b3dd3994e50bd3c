// StdDevArray and MeanArray over a 200^3 box of a TDouble3DArray, beside a
// plain two-pass loop in the same draw order (third index slowest, then the
// first, the second fastest).
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble3DArray;

constexpr int N = 200;

const TDouble3DArray& Cube() {
  static const TDouble3DArray A = [] {
    TDouble3DArray X(N);
    for (int I = 0; I < N; ++I)
      for (int J = 0; J < N; ++J) X[I].push_back(orv::bench::RandomCells(N, -1, 1, 1 + I * N + J));
    return X;
  }();
  return A;
}

void Report(benchmark::State& St, double V) {
  benchmark::DoNotOptimize(V);
  St.SetItemsProcessed(St.iterations() * N * N * N);
}

void BM_StdDevArray(benchmark::State& St) {
  double S = 0;
  for (auto _ : St) orv::StdDevArray(Cube(), 0, 0, 0, N - 1, N - 1, N - 1, S);
  Report(St, S);
}
BENCHMARK(BM_StdDevArray)->Unit(benchmark::kMillisecond);

void BM_PlainTwoPass(benchmark::State& St) {
  double S = 0;
  for (auto _ : St) {
    const TDouble3DArray& A = Cube();
    double Sum = 0;
    for (int K = 0; K < N; ++K)
      for (int I = 0; I < N; ++I)
        for (int J = 0; J < N; ++J) Sum += A[I][J][K];
    const double M = Sum / (double(N) * N * N);
    double Q = 0;
    for (int K = 0; K < N; ++K)
      for (int I = 0; I < N; ++I)
        for (int J = 0; J < N; ++J) Q += (A[I][J][K] - M) * (A[I][J][K] - M);
    S = std::sqrt(Q / (double(N) * N * N - 1));
  }
  Report(St, S);
}
BENCHMARK(BM_PlainTwoPass)->Unit(benchmark::kMillisecond);

void BM_MeanArray(benchmark::State& St) {
  double M = 0;
  for (auto _ : St) orv::MeanArray(Cube(), 0, 0, 0, N - 1, N - 1, N - 1, M);
  Report(St, M);
}
BENCHMARK(BM_MeanArray)->Unit(benchmark::kMillisecond);

}  // namespace
