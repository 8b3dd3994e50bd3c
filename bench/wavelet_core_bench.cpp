// TWavelet1D::Transform of order 3 over all levels, wrapped, beside a plain
// loop of the same stages on doubles, written as the stage reads: every tap
// through the extension rule.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "bench/support/signal_data.h"
#include "orvcalckit/ORV_wavelet.h"

namespace {

constexpr double Daub3[6] = {0.33267055295008263,  0.8068915093110925,   0.45987750211849154,
                             -0.13501102001025458, -0.08544127388202666, 0.03522629188570953};

std::vector<double> Signal(int64_t N) { return orv::bench::UniformSignal(N, 20240613); }

void BM_WaveletTransform(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  const std::vector<double> X = Signal(N);
  orv::TWavelet1D W;
  W.SetOrder(3);
  W.SetSize(N);
  for (int32_t I = 1; I <= N; ++I) W.SetData(I, X[static_cast<std::size_t>(I - 1)]);
  const int32_t Levels = std::countr_zero(static_cast<uint32_t>(N));
  for (auto _ : State) W.Transform(Levels);  // orthogonal: the values stay in range
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_WaveletTransform)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

void BM_PlainStages(benchmark::State& State) {
  const int64_t N = State.range(0);
  std::vector<double> X = Signal(N), W(static_cast<std::size_t>(N));
  constexpr int64_t K = 3;
  double G[2 * K];
  for (int64_t J = 0; J < 2 * K; ++J) G[J] = (J % 2 == 0 ? 1 : -1) * Daub3[2 * K - 1 - J];
  for (auto _ : State) {
    for (int64_t L = N; L > 1; L /= 2) {
      const int64_t H = L / 2;
      std::fill_n(W.begin(), L, 0.0);
      for (int64_t Li = 0; Li < H; ++Li)
        for (int64_t J = 0; J < 2 * K; ++J) {
          int64_t T = 2 * Li + 2 - 2 * K + J;
          if (T < 0) T = (T % L + L) % L;
          W[static_cast<std::size_t>(Li)] += Daub3[J] * X[static_cast<std::size_t>(T)];
          W[static_cast<std::size_t>(H + Li)] += G[J] * X[static_cast<std::size_t>(T)];
        }
      std::copy_n(W.begin(), L, X.begin());
    }
    benchmark::DoNotOptimize(X.data());
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_PlainStages)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
