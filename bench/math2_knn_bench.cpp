// FindNearestNeighbors and EstimateByKNN (average, k = 10) on 100000 x 8
// rows beside a plain loop: the Euclidean distance of every row of a
// contiguous row-major copy into a 101-entry ranked list.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/ranked_list.h"
#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_math2.h"

namespace {

using namespace orv;

constexpr int32_t Rows = 100000, Cols = 8;

struct TKnnBench {
  const TMatrix& Data = bench::SharedRandom(Cols, Rows);
  TVector Sample{nullptr}, Targets{nullptr};
  TKnnBench() {
    Sample.Resize(Cols);
    for (int32_t V = 1; V <= Cols; ++V) Sample.SetVal(V, 0.1 * V);
    Targets.Resize(Rows);
    for (int32_t R = 1; R <= Rows; ++R) Targets.SetVal(R, R % 17);
  }
};

void BM_FindNearestNeighbors(benchmark::State& St) {
  TKnnBench B;
  TMatrix N(nullptr);
  N.Resize(2, 10);
  for (auto _ : St) {
    FindNearestNeighbors(10, &B.Data, 1, Rows, &B.Sample, &N, nullptr);
    benchmark::DoNotOptimize(N.Mat[0][0]);
  }
}
BENCHMARK(BM_FindNearestNeighbors)->Unit(benchmark::kMicrosecond);

void BM_EstimateByKNN(benchmark::State& St) {
  TKnnBench B;
  for (auto _ : St) {
    double Est = 0, Mean = 0;
    EstimateByKNN(&B.Data, &B.Targets, 10, kwmAverage, 1.0, &B.Sample, Est, Mean);
    benchmark::DoNotOptimize(Est);
  }
}
BENCHMARK(BM_EstimateByKNN)->Unit(benchmark::kMicrosecond);

void BM_PlainRankedLoop(benchmark::State& St) {
  TKnnBench B;
  std::vector<double> X(static_cast<std::size_t>(Rows) * Cols);
  for (int32_t R = 0; R < Rows; ++R)
    for (int32_t C = 0; C < Cols; ++C) X[static_cast<std::size_t>(R) * Cols + C] = B.Data.Mat[C][R];
  double S[Cols];
  for (int32_t C = 0; C < Cols; ++C) S[C] = B.Sample.GetVal(C + 1);
  for (auto _ : St) {
    detail::TRankedList List(101);
    for (int32_t R = 0; R < Rows; ++R) {
      const double* Row = X.data() + static_cast<std::size_t>(R) * Cols;
      double Sum = 0;
      for (int32_t C = 0; C < Cols; ++C) Sum += (S[C] - Row[C]) * (S[C] - Row[C]);
      List.Insert(std::sqrt(Sum), R + 1);
    }
    benchmark::DoNotOptimize(List.Dist(9));
  }
}
BENCHMARK(BM_PlainRankedLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
