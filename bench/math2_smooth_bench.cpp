// Vector filters over 10^6 points beside plain loops on a std::vector<double>
// doing the same arithmetic: PolynomialSmooth (w = 25) beside the symmetric
// Savitzky-Golay loop; MovingMedianSmooth (w = 25) beside std::nth_element
// and a full sort per window (fresh data per iteration, see fresh_data.h);
// MovingKernelFilter (K = 101) beside the correlation loop with clamped edges.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "bench/support/signal_data.h"
#include "orvcalckit/ORV_math2.h"

namespace {

using orv::bench::RunFresh;

constexpr int32_t N = 1000000;
constexpr int32_t W = 25, H = W / 2;
constexpr int32_t K = 101;

const std::vector<double>& Data() {
  static const std::vector<double> X = orv::bench::UniformSignal(N, 3);
  return X;
}

// A vector of the data and a destination already of its size.
struct TVectors {
  orv::TVector Src, Dst, Kernel;
  TVectors() {
    Src.Resize(N);
    Src.CopyFromArray(Data(), 1);
    Dst.Resize(N);
    Kernel.Resize(K);
    for (int32_t E = 1; E <= K; ++E) Kernel.SetVal(E, 1.0 / (1 + (E - 51) * (E - 51)));
  }
};
TVectors& Vectors() {
  static TVectors* V = new TVectors;
  return *V;
}

// ---- Savitzky-Golay smoothing ----
void BM_PolynomialSmooth(benchmark::State& S) {
  for (auto _ : S) {
    orv::PolynomialSmooth(&Vectors().Src, 1, N, &Vectors().Dst, W);
    benchmark::ClobberMemory();
  }
}
void BM_PolynomialSmoothPlainLoop(benchmark::State& S) {
  const double* X = Data().data();
  const auto& Row = orv::GolayPoly[H - 2];
  std::vector<double> Y(N);
  for (auto _ : S) {
    for (int32_t I = H; I < N - H; ++I) {
      double Sum = Row[1] * X[I];
      for (int32_t J = 1; J <= H; ++J) Sum += Row[J + 1] * (X[I + J] + X[I - J]);
      Y[I] = Sum / Row[0];
    }
    std::fill_n(Y.begin(), H, Y[H]);
    std::fill_n(Y.end() - H, H, Y[N - H - 1]);
    benchmark::DoNotOptimize(Y.data());
  }
}

// ---- moving median ----
void BM_MovingMedianSmooth(benchmark::State& S) {
  RunFresh(
      S, [](std::vector<double>& X) { Vectors().Src.CopyFromArray(X, 1); },
      [](std::vector<double>&) { orv::MovingMedianSmooth(&Vectors().Src, 1, N, &Vectors().Dst, W); });
}
template <bool FullSort>
void BM_MedianPerWindow(benchmark::State& S) {
  std::vector<double> Y(N), Window(W);
  RunFresh(S, [&](std::vector<double>& X) {
    for (int32_t I = H; I < N - H; ++I) {
      std::copy_n(X.begin() + (I - H), W, Window.begin());
      if (FullSort)
        std::sort(Window.begin(), Window.end());
      else
        std::nth_element(Window.begin(), Window.begin() + H, Window.end());
      Y[I] = Window[H];
    }
    benchmark::DoNotOptimize(Y.data());
  });
}
void BM_MedianNthElementLoop(benchmark::State& S) { BM_MedianPerWindow<false>(S); }
void BM_MedianSortLoop(benchmark::State& S) { BM_MedianPerWindow<true>(S); }

// ---- kernel correlation ----
void BM_MovingKernelFilter(benchmark::State& S) {
  for (auto _ : S) {
    orv::MovingKernelFilter(&Vectors().Src, 1, N, &Vectors().Dst, &Vectors().Kernel);
    benchmark::ClobberMemory();
  }
}
void BM_MovingKernelFilterPlainLoop(benchmark::State& S) {
  const double* X = Data().data();
  std::vector<double> C(K), Y(N);
  for (int32_t E = 0; E < K; ++E) C[E] = Vectors().Kernel.GetVal(E + 1);
  const auto Clamped = [&](int32_t I) {
    double Sum = 0;
    for (int32_t E = 0; E < K; ++E) Sum += X[std::clamp(I + E - K / 2, 0, N - 1)] * C[E];
    return Sum;
  };
  for (auto _ : S) {
    for (int32_t I = 0; I < K / 2; ++I) Y[I] = Clamped(I);
    for (int32_t I = K / 2; I < N - K / 2; ++I) {
      const double* P = X + (I - K / 2);
      double Sum = 0;
      for (int32_t E = 0; E < K; ++E) Sum += P[E] * C[E];
      Y[I] = Sum;
    }
    for (int32_t I = N - K / 2; I < N; ++I) Y[I] = Clamped(I);
    benchmark::DoNotOptimize(Y.data());
  }
}

#define ORV_ONE_SIZE Unit(benchmark::kMillisecond)
#define ORV_FRESH Arg(N)->UseManualTime()->Unit(benchmark::kMillisecond)
BENCHMARK(BM_PolynomialSmooth)->ORV_ONE_SIZE;
BENCHMARK(BM_PolynomialSmoothPlainLoop)->ORV_ONE_SIZE;
BENCHMARK(BM_MovingMedianSmooth)->ORV_FRESH;
BENCHMARK(BM_MedianNthElementLoop)->ORV_FRESH;
BENCHMARK(BM_MedianSortLoop)->ORV_FRESH;
BENCHMARK(BM_MovingKernelFilter)->ORV_ONE_SIZE;
BENCHMARK(BM_MovingKernelFilterPlainLoop)->ORV_ONE_SIZE;

}  // namespace
