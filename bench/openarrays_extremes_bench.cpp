// MinMaxArray over a 1000 x 1000 TDouble2DArray and over a span of 10^6
// cells, beside a plain loop with the same strict comparisons and, for
// information, std::minmax_element (whose maximum is the last of equal ones).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <span>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TDoubleArray;

const TDouble2DArray& Grid() {
  static const TDouble2DArray G = orv::bench::RandomGrid(1000, 1000, -1e6, 1e6);
  return G;
}
const TDoubleArray& Cells() {
  static const TDoubleArray A = orv::bench::RandomCells(1000000, -1e6, 1e6);
  return A;
}

// The plain loop: strict comparisons, one cell after the other.
void PlainMinMax(const std::span<const double> Run, double& Min, double& Max) {
  for (const double X : Run) {
    if (X < Min) Min = X;
    if (X > Max) Max = X;
  }
}

void Report(benchmark::State& S, double Min, double Max) {
  benchmark::DoNotOptimize(Min);
  benchmark::DoNotOptimize(Max);
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_MinMaxArray2D(benchmark::State& S) {
  double Min = 0, Max = 0;
  for (auto _ : S) orv::MinMaxArray(Grid(), Min, Max);
  Report(S, Min, Max);
}

void BM_PlainLoop2D(benchmark::State& S) {
  double Min = 0, Max = 0;
  for (auto _ : S) {
    const TDouble2DArray& A = Grid();
    Min = Max = A[0][0];
    for (const auto& Col : A) PlainMinMax(Col, Min, Max);
  }
  Report(S, Min, Max);
}

void BM_StdMinMaxElement2D(benchmark::State& S) {
  double Min = 0, Max = 0;
  for (auto _ : S) {
    Min = Max = Grid()[0][0];
    for (const auto& Col : Grid()) {
      const auto [Lo, Hi] = std::minmax_element(Col.begin(), Col.end());
      Min = std::min(Min, *Lo);
      Max = std::max(Max, *Hi);
    }
  }
  Report(S, Min, Max);
}

void BM_MinMaxArraySpan(benchmark::State& S) {
  double Min = 0, Max = 0;
  const std::span<const double> A = Cells();
  for (auto _ : S) orv::MinMaxArray(A, Min, Max);
  Report(S, Min, Max);
}

void BM_PlainLoopSpan(benchmark::State& S) {
  double Min = 0, Max = 0;
  const std::span<const double> A = Cells();
  for (auto _ : S) {
    Min = Max = A[0];
    PlainMinMax(A, Min, Max);
  }
  Report(S, Min, Max);
}

void BM_StdMinMaxElementSpan(benchmark::State& S) {
  double Min = 0, Max = 0;
  const std::span<const double> A = Cells();
  for (auto _ : S) {
    const auto [Lo, Hi] = std::minmax_element(A.begin(), A.end());
    Min = *Lo;
    Max = *Hi;
  }
  Report(S, Min, Max);
}

BENCHMARK(BM_MinMaxArray2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoop2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StdMinMaxElement2D)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MinMaxArraySpan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoopSpan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StdMinMaxElementSpan)->Unit(benchmark::kMicrosecond);

}  // namespace
