// TFastFourier::Transform (rectangle window) beside FFTW on the same points:
// an FFTW_ESTIMATE plan of FFTW_BACKWARD, the same sign +1. Both copy the
// signal into place before each transform, so the values never run away.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/support/signal_data.h"
#include "orvcalckit/ORV_fourier.h"

#ifdef ORV_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

std::vector<double> Signal(int64_t N) { return orv::bench::UniformSignal(2 * N, 20240612); }

void BM_Transform(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  const std::vector<double> X = Signal(N);
  orv::TFastFourier F;
  F.SetSpectrumSize(N);
  for (auto _ : State) {
    std::memcpy(F.FData.data(), X.data(), X.size() * sizeof(double));
    F.Transform();
    benchmark::DoNotOptimize(F.FData.data());
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_Transform)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Unit(benchmark::kMicrosecond);

#ifdef ORV_HAVE_FFTW
void BM_Fftw(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  const std::vector<double> X = Signal(N);
  auto* Buf = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * static_cast<std::size_t>(N)));
  fftw_plan Plan = fftw_plan_dft_1d(N, Buf, Buf, FFTW_BACKWARD, FFTW_ESTIMATE);
  for (auto _ : State) {
    std::memcpy(Buf, X.data(), X.size() * sizeof(double));
    fftw_execute(Plan);
    benchmark::DoNotOptimize(Buf);
  }
  fftw_destroy_plan(Plan);
  fftw_free(Buf);
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_Fftw)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
