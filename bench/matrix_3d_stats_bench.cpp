// TMat3D MinMax and MeanVar of a 200 x 200 x 50 array (with their progress
// reports) beside plain loops over the same cells in one contiguous
// std::vector<double>. Run the pairs interleaved on a loaded machine:
//   matrix_3d_stats_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/plain_stats.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

using namespace orv;

constexpr int32_t NX = 200, NY = 200, NZ = 50;

const TMat3D& Cube() {
  static TMat3D* A = [] {
    auto* P = new TMat3D(nullptr);
    P->Resize(NX, NY, NZ);
    SetRandSeed(1);
    P->FillRandomUniform(0, 1);
    return P;
  }();
  return *A;
}

// The same cells in visiting order (column, row, layer).
const std::vector<double>& Cells() {
  static const std::vector<double> V = [] {
    std::vector<double> W;
    for (int32_t C = 1; C <= NX; ++C)
      for (int32_t R = 1; R <= NY; ++R)
        for (double X : Cube().LayerRun(C, R)) W.push_back(X);
    return W;
  }();
  return V;
}

// range(0): 0 MinMax, 1 MeanVar.
void BM_Mat3D(benchmark::State& St) {
  double A, B;
  for (auto _ : St) {
    if (St.range(0) == 0)
      Cube().MinMax(0, 0, 0, 0, 0, 0, A, B);
    else
      Cube().MeanVar(0, 0, 0, 0, 0, 0, A, B);
    benchmark::DoNotOptimize(A);
    benchmark::DoNotOptimize(B);
  }
}
void BM_PlainLoop(benchmark::State& St) {
  const bench::TRuns Runs{{Cells().data(), int64_t(Cells().size())}};
  for (auto _ : St) {
    if (St.range(0) == 1) {
      bench::PlainMeanVar(Runs);
      continue;
    }
    double Min = uc_MaxReal, Max = -uc_MaxReal;
    for (const double X : Cells()) {
      Min = !(X >= Min) ? X : Min;
      Max = X > Max ? X : Max;
    }
    benchmark::DoNotOptimize(Min);
    benchmark::DoNotOptimize(Max);
  }
}

BENCHMARK(BM_Mat3D)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
