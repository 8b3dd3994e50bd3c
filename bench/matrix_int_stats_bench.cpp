// TIntMatrix Sum and MeanVar over a dense 2000 x 2000 matrix beside plain
// loops over the same columns.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

constexpr int32_t Side = 2000;

const TIntMatrix& Data() {
  static const TIntMatrix* M = [] {
    auto* A = new TIntMatrix(nullptr);
    A->Resize(Side, Side);
    std::mt19937 G(151);
    std::uniform_int_distribution<int32_t> V(-100000, 100000);
    for (auto& Col : A->Mat)
      for (int32_t& X : Col) X = V(G);
    return A;
  }();
  return *M;
}

void BM_Sum(benchmark::State& St) {
  const TIntMatrix& M = Data();
  for (auto _ : St) benchmark::DoNotOptimize(M.Sum(0, 0, 0, 0));
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_PlainSum(benchmark::State& St) {
  const TIntMatrix& M = Data();
  for (auto _ : St) {
    uint32_t S = 0;
    for (const auto& Col : M.Mat)
      for (int32_t X : Col) S += static_cast<uint32_t>(X);
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_MeanVar(benchmark::State& St) {
  const TIntMatrix& M = Data();
  for (auto _ : St) {
    double Mean, Var;
    M.MeanVar(0, 0, 0, 0, Mean, Var);
    benchmark::DoNotOptimize(Mean);
    benchmark::DoNotOptimize(Var);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

// The textbook one-pass loop, sums of x and x^2 in double.
void BM_PlainMeanVar(benchmark::State& St) {
  const TIntMatrix& M = Data();
  for (auto _ : St) {
    double S = 0, Q = 0;
    for (const auto& Col : M.Mat)
      for (int32_t X : Col) {
        const double V = X;
        S += V;
        Q += V * V;
      }
    const double N = double(Side) * Side;
    double Mean = S / N, Var = (Q - S * S / N) / (N - 1);
    benchmark::DoNotOptimize(Mean);
    benchmark::DoNotOptimize(Var);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

BENCHMARK(BM_Sum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeanVar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMeanVar)->Unit(benchmark::kMillisecond);

}  // namespace
