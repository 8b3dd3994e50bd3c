// EstimateProbDensity of 10^4 normal values at 10^4 steps beside the plain
// double loop of the same method (every value's kernel at every step), and
// PercentileOfArray of 10^6 fresh values beside std::nth_element.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

constexpr int32_t Values = 10000, Steps = 10000;
constexpr double Low = -5, High = 5, Factor = 1, Window = 0.2;

std::vector<double> NormalValues() {
  std::mt19937_64 Gen(7);
  std::normal_distribution<double> Normal;
  std::vector<double> X(Values);
  for (double& x : X) x = Normal(Gen);
  std::sort(X.begin(), X.end());
  return X;
}

void BM_EstimateProbDensity(benchmark::State& S) {
  const std::vector<double> X = NormalValues();
  orv::TVector Data, Density;
  Data.Resize(Values);
  Data.CopyFromArray(X, 1);
  int32_t MinIx = 0, MaxIx = 0;
  for (auto _ : S) {
    orv::EstimateProbDensity(&Data, &Density, Low, High, Factor, Window, Steps, MinIx, MaxIx, nullptr);
    benchmark::DoNotOptimize(MaxIx);
  }
}
BENCHMARK(BM_EstimateProbDensity)->Unit(benchmark::kMillisecond);

// The method as written: the bandwidths by the two walks over sorted values
// (spacings to the ends' neighbours only), then the full double loop.
void BM_EstimateProbDensityPlain(benchmark::State& S) {
  const std::vector<double> X = NormalValues();
  const int32_t n = Values;
  std::vector<double> H(n), D(Steps + 1);
  for (auto _ : S) {
    for (int32_t i = 0; i < n; ++i) {
      double g = 0;
      int32_t c = 0;
      for (int32_t j = i + 1; j >= 1 && j <= n - 1 && std::fabs(X[j] - X[i]) < Window; --j, ++c) g += X[j] - X[j - 1];
      for (int32_t j = i - 1; j >= 0 && j <= n - 2 && std::fabs(X[j] - X[i]) < Window; ++j, ++c) g += X[j + 1] - X[j];
      const double b = c == 0 ? Window : g == 0 ? Window / c : g / c;
      H[i] = Factor * b == 0 ? Factor : Factor * b;
    }
    for (int32_t s = 0; s <= Steps; ++s) {
      const double x = Low + s * (High - Low) / Steps;
      double Sum = 0;
      for (int32_t i = 0; i < n; ++i) {
        const double u = (x - X[i]) / H[i];
        Sum += 1 / H[i] * std::exp(-0.5 * (u * u));
      }
      D[s] = Sum * orv::uc_sqrt2pitom1 / n;
    }
    benchmark::DoNotOptimize(D.data());
  }
}
BENCHMARK(BM_EstimateProbDensityPlain)->Unit(benchmark::kMillisecond);

void BM_PercentileOfArray(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) {
    double Value = 0;
    orv::PercentileOfArray(W, 37.5, 0, static_cast<int32_t>(W.size()) - 1, Value);
    benchmark::DoNotOptimize(Value);
  });
}
BENCHMARK(BM_PercentileOfArray)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NthElement(benchmark::State& S) {
  orv::bench::RunFresh(S, [](std::vector<double>& W) {
    const auto k = static_cast<std::ptrdiff_t>(std::round(37.5 * static_cast<double>(W.size()) / 100));
    std::nth_element(W.begin(), W.begin() + k, W.end());
    benchmark::DoNotOptimize(W[static_cast<std::size_t>(k)]);
  });
}
BENCHMARK(BM_NthElement)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
