// The layer statistics of TMat4D on 512 x 512 x 16 x 8 cells (33.5 million,
// 256 MiB) with 1, 2, 4 and 8 workers, beside a plain sum over all cells in
// memory order: the time to read the array once; the mean also with host
// code that does nothing. Wall-clock time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"

namespace {

using namespace orv;

const TMat4D& Array() {
  static const TMat4D* A = [] {
    auto* P = new TMat4D(nullptr);
    P->Resize(512, 512, 16, 8);
    SetRandSeed(1);
    P->FillRandomUniform(-1, 1);
    return P;
  }();
  return *A;
}

// range(0): 0 mean, 1 standard deviation; range(1) workers.
void BM_LayerStatistic(benchmark::State& St) {
  TMat4D& A = const_cast<TMat4D&>(Array());
  TMatrix D(nullptr);
  const auto Threads = static_cast<int32_t>(St.range(1));
  for (auto _ : St) {
    if (St.range(0) == 0)
      A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, Threads);
    else
      A.StdDevOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, Threads);
    benchmark::DoNotOptimize(D.Mat[0][0]);
  }
}
BENCHMARK(BM_LayerStatistic)->ArgsProduct({{0, 1}, {1, 2, 4, 8}})->Unit(benchmark::kMillisecond)->UseRealTime();

// The mean with host code that does nothing: range(0) 0 a MathFeedBackProc,
// 1 an OnChange of DestMat (one call per cell); range(1) workers.
void BM_LayerMeanWatched(benchmark::State& St) {
  TMat4D& A = const_cast<TMat4D&>(Array());
  TMatrix D(nullptr);
  int64_t Calls = 0;
  if (St.range(0) == 0)
    MathFeedBackProc = [&Calls](double) { ++Calls; };
  else
    D.OnChange = [&Calls](TObject*) { ++Calls; };
  for (auto _ : St) {
    A.MeanOfLayersToMatrix(&D, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<int32_t>(St.range(1)));
    benchmark::DoNotOptimize(D.Mat[0][0]);
  }
  benchmark::DoNotOptimize(Calls);
  MathFeedBackProc = nullptr;
}
BENCHMARK(BM_LayerMeanWatched)->ArgsProduct({{0, 1}, {1, 4}})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainSum(benchmark::State& St) {
  const TMat4D& A = Array();
  for (auto _ : St) {
    double S = 0;
    for (int32_t T = 1; T <= 8; ++T)
      for (int32_t L = 1; L <= 16; ++L)
        for (int32_t R = 1; R <= 512; ++R)
          for (const double X : A.ColumnRun(R, L, T)) S += X;
    benchmark::DoNotOptimize(S);
  }
}
BENCHMARK(BM_PlainSum)->Unit(benchmark::kMillisecond);

}  // namespace
