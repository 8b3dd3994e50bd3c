// FindNearestNeighbors and EstimateByKNN (average, k = 10) on 100000 x 8
// rows, MeanDistanceKNN on 2000 of them, beside a plain loop: the Euclidean distance of every row of a
// contiguous row-major copy into a 101-entry ranked list. The batch of 1000
// samples is the one bench/compare_numpy.py gives SciPy's cKDTree.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/ranked_list.h"
#include "bench/support/fresh_data.h"
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

// 1000 samples against 100000 x 10 rows, k = 10: rows and samples drawn by
// bench::FillRandom (seeds 1 and 2), laid out as numpy's reshape(-1, 10).
void BM_FindNearestNeighborsBatch(benchmark::State& St) {
  constexpr int32_t N = 100000, P = 10, Samples = 1000, K = 10;
  std::vector<double> W(static_cast<std::size_t>(N) * P), Q(static_cast<std::size_t>(Samples) * P);
  bench::FillRandom(W, 1);
  bench::FillRandom(Q, 2);
  TMatrix Data(nullptr), Nb(nullptr);
  Data.Resize(P, N);
  for (int32_t R = 0; R < N; ++R)
    for (int32_t C = 0; C < P; ++C) Data.Mat[C][R] = W[static_cast<std::size_t>(R) * P + C];
  Nb.Resize(2, K);
  TVector S(nullptr);
  S.Resize(P);
  for (auto _ : St)
    for (int32_t I = 0; I < Samples; ++I) {
      for (int32_t C = 0; C < P; ++C) S.SetVal(C + 1, Q[static_cast<std::size_t>(I) * P + C]);
      FindNearestNeighbors(K, &Data, 1, N, &S, &Nb, nullptr);
      benchmark::DoNotOptimize(Nb.Mat[0][0]);
    }
}
BENCHMARK(BM_FindNearestNeighborsBatch)->Unit(benchmark::kMillisecond);

void BM_EstimateByKNN(benchmark::State& St) {
  TKnnBench B;
  for (auto _ : St) {
    double Est = 0, Mean = 0;
    EstimateByKNN(&B.Data, &B.Targets, 10, kwmAverage, 1.0, &B.Sample, Est, Mean);
    benchmark::DoNotOptimize(Est);
  }
}
BENCHMARK(BM_EstimateByKNN)->Unit(benchmark::kMicrosecond);

// Every object of 2000 rows against every other, the 10 nearest.
void BM_MeanDistanceKNN(benchmark::State& St) {
  const TMatrix& Data = bench::SharedRandom(Cols, 2000);
  TVector M(nullptr);
  M.Resize(2000);
  for (auto _ : St) {
    MeanDistanceKNN(&Data, 10, 1, 2000, &M);
    benchmark::DoNotOptimize(M.GetVal(1));
  }
}
BENCHMARK(BM_MeanDistanceKNN)->Unit(benchmark::kMillisecond);

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
