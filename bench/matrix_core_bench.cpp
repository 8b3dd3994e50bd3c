// TMatrix element reads and writes and Clone (1000 x 1000, no handlers)
// beside plain loops over the same numbers in one contiguous vector.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;
using bench::ColumnMajor;
using bench::FillRandom;

constexpr int32_t Side = 1000;

// ---- element reads and writes ----

void BM_ElemRead(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  for (auto _ : St) benchmark::DoNotOptimize(bench::SumByElem(M, Side));
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_PlainRead(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  const std::vector<double> A = ColumnMajor(M);
  for (auto _ : St) {
    double S = 0;
    for (int32_t C = 0; C < Side; ++C)
      for (int32_t R = 0; R < Side; ++R) S += A[static_cast<size_t>(C) * Side + R];
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_ElemWrite(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  for (auto _ : St) {
    bench::WriteByElem(M, Side);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_PlainWrite(benchmark::State& St) {
  std::vector<double> A(static_cast<size_t>(Side) * Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) A[static_cast<size_t>(C - 1) * Side + (R - 1)] = R * 0.5 + C;
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

// The same loop kept scalar: what a loop that must look at every cell costs.
#ifdef __clang__
#define ORV_SCALAR_FUNCTION
#define ORV_SCALAR_LOOP _Pragma("clang loop vectorize(disable) interleave(disable)")
#else
#define ORV_SCALAR_FUNCTION __attribute__((optimize("no-tree-vectorize")))
#define ORV_SCALAR_LOOP
#endif
ORV_SCALAR_FUNCTION void BM_PlainWriteScalar(benchmark::State& St) {
  std::vector<double> A(static_cast<size_t>(Side) * Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      ORV_SCALAR_LOOP
      for (int32_t R = 1; R <= Side; ++R) A[static_cast<size_t>(C - 1) * Side + (R - 1)] = R * 0.5 + C;
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

// ---- Clone ----

void BM_Clone(benchmark::State& St) {
  TMatrix Src(nullptr), Dst(nullptr);
  Src.Resize(Side, Side);
  FillRandom(Src);
  Dst.Resize(Side, Side);
  for (auto _ : St) {
    Dst.Clone(&Src);
    benchmark::ClobberMemory();
  }
  St.SetBytesProcessed(St.iterations() * Side * Side * 8);
}

void BM_PlainCopy(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  const std::vector<double> Src = ColumnMajor(M);
  std::vector<double> Dst(Src.size());
  for (auto _ : St) {
    for (size_t I = 0; I < Src.size(); ++I) Dst[I] = Src[I];
    benchmark::ClobberMemory();
  }
  St.SetBytesProcessed(St.iterations() * Side * Side * 8);
}

}  // namespace

BENCHMARK(BM_ElemRead);
BENCHMARK(BM_PlainRead);
BENCHMARK(BM_ElemWrite);
BENCHMARK(BM_PlainWrite);
BENCHMARK(BM_PlainWriteScalar);
BENCHMARK(BM_Clone);
BENCHMARK(BM_PlainCopy);
