// AgglomClustering of 2000 and 5000 random points in 4 variables (single,
// complete, Ward, UPGMA) and of 3 to 600 points (single), beside the plain
// search, which scans every live pair in each step, at 2000 points (the same
// distances and updates).
// SciPy's linkage from the points is the outside peer (figures in the
// closing note of the work, not run here).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "tests/support/agglom_plain.h"
#include "orvcalckit/ORV_math2.h"

namespace {

using namespace orv;

constexpr TClusterMethod Methods[] = {cmSingleLink, cmCompleteLink, cmWard, cmUpgma};

TDistMode ModeOf(TClusterMethod M) { return M == cmWard ? dmSqrEuclidean : dmEuclidean; }

void BM_AgglomClustering(benchmark::State& St) {
  const int32_t N = static_cast<int32_t>(St.range(0));
  const TClusterMethod Method = Methods[St.range(1)];
  const TMatrix& Src = bench::SharedRandom(4, N);
  TMatrix Data(nullptr);
  Data.Assign(const_cast<TMatrix*>(&Src));
  TIntMatrix Dendro(nullptr);
  TVector Dist(nullptr), Pos(nullptr);
  for (auto _ : St)
    benchmark::DoNotOptimize(AgglomClustering(nullptr, &Data, ModeOf(Method), Method, 0.5, &Dendro, &Dist, &Pos,
                                              nullptr, nullptr));
  St.SetLabel(ClusterMethodID[Method]);
}
BENCHMARK(BM_AgglomClustering)
    ->ArgsProduct({{2000, 5000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// Small problems, where the work array is a few cells, not a block of huge
// pages.
BENCHMARK(BM_AgglomClustering)->ArgsProduct({{3, 50, 400, 600}, {0}});

// The plain search: distances from the row-major points, then every step
// scans all live pairs.
void BM_AgglomPlainScan(benchmark::State& St) {
  const int32_t N = static_cast<int32_t>(St.range(0));
  const TClusterMethod Method = Methods[St.range(1)];
  const TMatrix& Src = bench::SharedRandom(4, N);
  for (auto _ : St) {
    std::vector<double> D(static_cast<std::size_t>(N) * N);
    for (int32_t I = 0; I < N; ++I)
      for (int32_t J = I + 1; J < N; ++J) {
        double S = 0;
        for (int32_t C = 1; C <= 4; ++C) {
          const double Diff = Src.Mat[C - 1][I] - Src.Mat[C - 1][J];
          S += Diff * Diff;
        }
        D[static_cast<std::size_t>(I) * N + J] = D[static_cast<std::size_t>(J) * N + I] =
            ModeOf(Method) == dmEuclidean ? std::sqrt(S) : S;
      }
    double Last = 0;
    test::RunPlainMerges(
        D.data(), N, Method, 0.5, [](int32_t) { return true; },
        [&](int32_t, int32_t, int32_t, double Dist) { Last = Dist; });
    benchmark::DoNotOptimize(Last);
  }
  St.SetLabel(ClusterMethodID[Method]);
}
BENCHMARK(BM_AgglomPlainScan)->ArgsProduct({{2000}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
