// TMat4D block statistics over 256 x 256 x 16 x 8 cells (8.4 million) beside
// plain loops over the same cells in one contiguous std::vector<double>, laid
// out as the array stores them ([time slot][layer][row][column]). Sum and
// MeanVar add in the order column, row, layer, time slot: the plain sum is
// given in that order and in memory order. Run the pairs interleaved on a
// loaded machine:
//   matrix_4d_stats_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "bench/support/plain_stats.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

constexpr int32_t NX = bench::Mat4DCols, NY = bench::Mat4DRows, NZ = bench::Mat4DLayers, NT = bench::Mat4DSlots;

const std::vector<double>& Cells() {
  static const std::vector<double> V = bench::StorageOrder(bench::SharedRandom4D());
  return V;
}

// range(0): 0 Sum, 1 MeanVar, 2 MinMax, 3 CountValues, 4 Percentile(50),
// 5 SquaredSum, 6 Find.
void BM_Mat4D(benchmark::State& St) {
  const TMat4D& A = bench::SharedRandom4D();
  double X = 0, Y = 0;
  int32_t C, R, L, T;
  for (auto _ : St) {
    switch (St.range(0)) {
      case 0: X = A.Sum(0, 0, 0, 0, 0, 0, 0, 0); break;
      case 1: A.MeanVar(0, 0, 0, 0, 0, 0, 0, 0, X, Y); break;
      case 2: A.MinMax(0, 0, 0, 0, 0, 0, 0, 0, X, Y); break;
      case 3: X = A.CountValues(0, 0, 0, 0, 0, 0, 0, 0, -0.5, 0.5); break;
      case 4: X = A.Percentile(50, 0, 0, 0, 0, 0, 0, 0, 0); break;
      case 5: X = A.SquaredSum(0, 0, 0, 0, 0, 0, 0, 0); break;
      default: A.Find(0, 0, 0, 0, 0, 0, 0, 0, 2.0, C, R, L, T); break;
    }
    benchmark::DoNotOptimize(X);
    benchmark::DoNotOptimize(Y);
  }
}

// range(0): 0 sum in the order column, row, layer, time slot; 1 sum in
// memory order; 2 std::minmax_element; 3 copy plus std::nth_element;
// 4 one pass of the sums of a mean and variance in memory order.
void BM_PlainLoop(benchmark::State& St) {
  const std::vector<double>& V = Cells();
  const std::size_t SR = NX, SL = SR * NY, ST = SL * NZ;
  std::vector<double> W(V.size());
  for (auto _ : St) {
    switch (St.range(0)) {
      case 0: {
        double S = 0;
        for (std::size_t C = 0; C < NX; ++C)
          for (std::size_t R = 0; R < NY; ++R)
            for (std::size_t L = 0; L < NZ; ++L)
              for (std::size_t T = 0; T < NT; ++T) S += V[T * ST + L * SL + R * SR + C];
        benchmark::DoNotOptimize(S);
        break;
      }
      case 1: {
        double S = 0;
        for (const double X : V) S += X;
        benchmark::DoNotOptimize(S);
        break;
      }
      case 2: benchmark::DoNotOptimize(std::minmax_element(V.begin(), V.end())); break;
      case 3:
        std::copy(V.begin(), V.end(), W.begin());
        std::nth_element(W.begin(), W.begin() + static_cast<std::ptrdiff_t>(W.size() / 2), W.end());
        benchmark::DoNotOptimize(W[W.size() / 2]);
        break;
      default: bench::PlainMeanVar({{V.data(), static_cast<int64_t>(V.size())}}); break;
    }
  }
}

BENCHMARK(BM_Mat4D)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
