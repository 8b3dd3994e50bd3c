// TMatrix block statistics of a 2000 x 2000 matrix beside plain loops over
// the same columns: MeanVar (one pass of sums), SkewKurt (two passes) and
// MinMax; Percentile of 10^6 cells (fresh values in every iteration, also
// cells holding only 0..9) beside copying them and std::nth_element. Run
// the pairs interleaved on a loaded machine:
//   matrix_stats_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "bench/support/matrix_data.h"
#include "bench/support/plain_stats.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

using namespace orv;

constexpr int32_t Side = 2000;

const TMatrix& Big() { return bench::SharedRandom(Side, Side); }

bench::TRuns Columns() {
  bench::TRuns R;
  for (const auto& Col : Big().Mat) R.emplace_back(Col.data(), Side);
  return R;
}

enum TStat { stMeanVar, stSkewKurt, stMinMax };

// range(0): the statistic of the whole matrix.
void BM_Statistic(benchmark::State& St) {
  double A, B;
  for (auto _ : St) {
    switch (TStat(St.range(0))) {
      case stMeanVar: Big().MeanVar(0, 0, 0, 0, A, B); break;
      case stSkewKurt: Big().SkewKurt(0, 0, 0, 0, A, B); break;
      case stMinMax: Big().MinMax(0, 0, 0, 0, A, B); break;
    }
    benchmark::DoNotOptimize(A);
    benchmark::DoNotOptimize(B);
  }
}
void BM_PlainLoop(benchmark::State& St) {
  const bench::TRuns Runs = Columns();
  for (auto _ : St) {
    switch (TStat(St.range(0))) {
      case stMeanVar: bench::PlainMeanVar(Runs); break;
      case stSkewKurt: bench::PlainSkewKurt(Runs); break;
      case stMinMax: {
        double Min = uc_MaxReal, Max = -uc_MaxReal;
        for (const auto& [X, Len] : Runs)
          for (int64_t R = 0; R < Len; ++R) {
            Min = !(X[R] >= Min) ? X[R] : Min;
            Max = X[R] > Max ? X[R] : Max;
          }
        benchmark::DoNotOptimize(Min);
        benchmark::DoNotOptimize(Max);
      }
    }
  }
}

// ---- percentile of 10^6 cells: range(1) 0 for uniform values, 1 for the
// values 0..9 only ----
constexpr int32_t PSide = 1000;

void Digits(std::vector<double>& W, int64_t Kind) {
  if (Kind == 1)
    for (double& X : W) X = std::floor(std::fabs(X)) - 10 * std::floor(std::fabs(X) / 10);
}

void BM_Percentile(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(PSide, PSide);
  bench::RunFresh(
      St,
      [&](std::vector<double>& W) {
        Digits(W, St.range(1));
        for (int32_t C = 0; C < PSide; ++C) std::copy_n(W.begin() + C * PSide, PSide, M.Mat[std::size_t(C)].begin());
      },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(M.Percentile(37.5, 0, 0, 0, 0)); });
}
void BM_CopyNthElement(benchmark::State& St) {
  bench::RunFresh(
      St, [&](std::vector<double>& W) { Digits(W, St.range(1)); },
      [](std::vector<double>& W) {
        std::vector<double> C(W);
        auto K = C.begin() + static_cast<std::ptrdiff_t>(C.size() * 3 / 8);
        std::nth_element(C.begin(), K, C.end());
        benchmark::DoNotOptimize(*K);
      });
}

#define ORV_STATS DenseRange(stMeanVar, stMinMax)->ArgName("stat")->Unit(benchmark::kMillisecond)
#define ORV_FRESH Args({PSide * PSide, 0})->Args({PSide * PSide, 1})->UseManualTime()->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Statistic)->ORV_STATS;
BENCHMARK(BM_PlainLoop)->ORV_STATS;
BENCHMARK(BM_Percentile)->ORV_FRESH;
BENCHMARK(BM_CopyNthElement)->ORV_FRESH;

}  // namespace
