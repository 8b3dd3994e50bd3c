// KernelConvolve on 2000 x 2000 cells with 3 x 3 and 9 x 9 kernels beside a
// plain loop over the same TDouble2DArray: each cell summed on its own,
// indices clamped only in the border bands.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

#include "bench/support/signal_data.h"
#include "orvcalckit/ORV_math2.h"

namespace {

constexpr int64_t N = 2000;

orv::TDouble2DArray Uniform(int64_t Cols, int64_t Rows, uint64_t Seed) {
  const auto X = orv::bench::UniformSignal(Cols * Rows, Seed);
  orv::TDouble2DArray A(static_cast<std::size_t>(Cols));
  for (int64_t C = 0; C < Cols; ++C) A[C].assign(X.begin() + C * Rows, X.begin() + (C + 1) * Rows);
  return A;
}

const orv::TDouble2DArray& Data() {
  static const orv::TDouble2DArray D = Uniform(N, N, 7);
  return D;
}

void BM_KernelConvolve(benchmark::State& S) {
  const auto K = Uniform(S.range(0), S.range(0), 11);
  orv::TDouble2DArray R;
  for (auto _ : S) {
    orv::KernelConvolve(K, Data(), R);
    benchmark::DoNotOptimize(R.data());
  }
}

void BM_KernelConvolvePlainLoop(benchmark::State& S) {
  const auto K = Uniform(S.range(0), S.range(0), 11);
  const orv::TDouble2DArray& D = Data();
  const int64_t M = S.range(0), H = M / 2;
  for (auto _ : S) {
    orv::TDouble2DArray R(N, orv::TDoubleArray(N));
    for (int64_t I = H; I < N - H; ++I)
      for (int64_t J = H; J < N - H; ++J) {
        double Sum = 0.0;
        for (int64_t P = 0; P < M; ++P)
          for (int64_t Q = 0; Q < M; ++Q) Sum += D[I + P - H][J + Q - H] * K[P][Q];
        R[I][J] = Sum;
      }
    const auto Clamped = [&](int64_t I, int64_t J) {
      double Sum = 0.0;
      for (int64_t P = 0; P < M; ++P)
        for (int64_t Q = 0; Q < M; ++Q)
          Sum += D[std::clamp<int64_t>(I + P - H, 0, N - 1)][std::clamp<int64_t>(J + Q - H, 0, N - 1)] * K[P][Q];
      R[I][J] = Sum;
    };
    for (int64_t I = 0; I < N; ++I)
      for (int64_t J = 0; J < N; ++J)
        if (I < H || I >= N - H || J < H || J >= N - H) Clamped(I, J);
    benchmark::DoNotOptimize(R.data());
  }
}

BENCHMARK(BM_KernelConvolve)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelConvolvePlainLoop)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
