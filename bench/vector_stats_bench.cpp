// TVector statistics of 10^6 values beside plain loops and GSL: MeanVar and
// SkewKurt beside one pass in element order and gsl_stats; Percentile and
// Quartiles beside the copy and SortArray alone (the work they must do),
// std::sort and std::nth_element; Histogram into 100 bins beside a plain loop
// and gsl_histogram.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_vector.h"
#include "bench/support/fresh_data.h"
#include "bench/support/plain_stats.h"

#if ORV_HAVE_GSL
#include <gsl/gsl_histogram.h>
#include <gsl/gsl_statistics_double.h>
#endif

namespace {

using orv::bench::FillRandom;
using orv::bench::RunFresh;

constexpr int32_t N = 1000000;

// The same values for every moment and histogram kernel.
const std::vector<double>& Data() {
  static const std::vector<double> W = [] {
    std::vector<double> V(N);
    FillRandom(V, 1);
    return V;
  }();
  return W;
}

orv::TVector& Vec() {
  static orv::TVector* V = [] {
    auto* P = new orv::TVector(nullptr);
    P->Resize(N);
    P->CopyFromArray(Data(), 1);
    return P;
  }();
  return *V;
}

// ---- mean and variance ----
void BM_MeanVar(benchmark::State& S) {
  double Mean, Var;
  for (auto _ : S) {
    Vec().MeanVar(0, 0, Mean, Var);
    benchmark::DoNotOptimize(Var);
  }
}
void BM_MeanVarPlainLoop(benchmark::State& S) {
  const orv::bench::TRuns Runs{{Data().data(), N}};
  for (auto _ : S) orv::bench::PlainMeanVar(Runs);
}

// ---- skewness and kurtosis ----
void BM_SkewKurt(benchmark::State& S) {
  double Skew, Kurt;
  for (auto _ : S) {
    Vec().SkewKurt(0, 0, Skew, Kurt);
    benchmark::DoNotOptimize(Kurt);
  }
}
void BM_SkewKurtPlainLoop(benchmark::State& S) {
  const orv::bench::TRuns Runs{{Data().data(), N}};
  for (auto _ : S) orv::bench::PlainSkewKurt(Runs);
}

#if ORV_HAVE_GSL
void BM_MeanVarGsl(benchmark::State& S) {
  for (auto _ : S) {
    const double Mean = gsl_stats_mean(Data().data(), 1, N);
    benchmark::DoNotOptimize(gsl_stats_variance_m(Data().data(), 1, N, Mean));
  }
}
void BM_SkewKurtGsl(benchmark::State& S) {
  for (auto _ : S) {
    benchmark::DoNotOptimize(gsl_stats_skew(Data().data(), 1, N));
    benchmark::DoNotOptimize(gsl_stats_kurtosis(Data().data(), 1, N));
  }
}
#endif

// ---- order statistics (fresh values in every iteration) ----
void BM_Percentile(benchmark::State& S) {
  orv::TVector V;
  V.Resize(N);
  RunFresh(
      S, [&](std::vector<double>& W) { V.CopyFromArray(W, 1); },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(V.Percentile(37.5, 0, 0)); });
}
void BM_Quartiles(benchmark::State& S) {
  orv::TVector V;
  V.Resize(N);
  double Q1, Q2, Q3;
  RunFresh(
      S, [&](std::vector<double>& W) { V.CopyFromArray(W, 1); },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(V.Quartiles(0, 0, Q1, Q2, Q3)); });
}
void BM_CopySortArray(benchmark::State& S) {
  RunFresh(S, [](std::vector<double>& W) {
    std::vector<double> C(W);
    orv::SortArray(C, true);
    benchmark::DoNotOptimize(C.data());
  });
}
void BM_CopyStdSort(benchmark::State& S) {
  RunFresh(S, [](std::vector<double>& W) {
    std::vector<double> C(W);
    std::sort(C.begin(), C.end());
    benchmark::DoNotOptimize(C.data());
  });
}
void BM_CopyNthElement(benchmark::State& S) {
  RunFresh(S, [](std::vector<double>& W) {
    std::vector<double> C(W);
    auto K = C.begin() + static_cast<std::ptrdiff_t>(C.size() * 3 / 8);
    std::nth_element(C.begin(), K, C.end());
    benchmark::DoNotOptimize(*K);
  });
}

// ---- histogram: 100 bins over the values' range ----
constexpr double First = -1e6, Last = 1e6 - 2e4, Width = 2e4;

void BM_Histogram(benchmark::State& S) {
  orv::TIntVector H;
  int32_t U, O, M;
  for (auto _ : S) benchmark::DoNotOptimize(Vec().Histogram(1, N, First, Last, Width, &H, U, O, M));
}
void BM_HistogramPlainLoop(benchmark::State& S) {
  std::vector<int32_t> H(100);
  for (auto _ : S) {
    std::fill(H.begin(), H.end(), 0);
    for (double V : Data()) {
      const double B = (V - First) / Width;
      if (B >= 0 && B < 100) ++H[static_cast<std::size_t>(B)];
    }
    benchmark::DoNotOptimize(H.data());
  }
}
#if ORV_HAVE_GSL
void BM_HistogramGsl(benchmark::State& S) {
  gsl_histogram* H = gsl_histogram_alloc(100);
  gsl_histogram_set_ranges_uniform(H, First, Last + Width);
  for (auto _ : S) {
    gsl_histogram_reset(H);
    for (double V : Data()) gsl_histogram_increment(H, V);
    benchmark::DoNotOptimize(H->bin);
  }
  gsl_histogram_free(H);
}
#endif

#define ORV_ONE_SIZE Unit(benchmark::kMillisecond)
#define ORV_FRESH Arg(N)->UseManualTime()->Unit(benchmark::kMillisecond)
BENCHMARK(BM_MeanVar)->ORV_ONE_SIZE;
BENCHMARK(BM_MeanVarPlainLoop)->ORV_ONE_SIZE;
BENCHMARK(BM_SkewKurt)->ORV_ONE_SIZE;
BENCHMARK(BM_SkewKurtPlainLoop)->ORV_ONE_SIZE;
#if ORV_HAVE_GSL
BENCHMARK(BM_MeanVarGsl)->ORV_ONE_SIZE;
BENCHMARK(BM_SkewKurtGsl)->ORV_ONE_SIZE;
#endif
BENCHMARK(BM_Percentile)->ORV_FRESH;
BENCHMARK(BM_Quartiles)->ORV_FRESH;
BENCHMARK(BM_CopySortArray)->ORV_FRESH;
BENCHMARK(BM_CopyStdSort)->ORV_FRESH;
BENCHMARK(BM_CopyNthElement)->ORV_FRESH;
BENCHMARK(BM_Histogram)->ORV_ONE_SIZE;
BENCHMARK(BM_HistogramPlainLoop)->ORV_ONE_SIZE;
#if ORV_HAVE_GSL
BENCHMARK(BM_HistogramGsl)->ORV_ONE_SIZE;
#endif

}  // namespace
