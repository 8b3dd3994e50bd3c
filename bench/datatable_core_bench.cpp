// TDataTable element reads and writes (1000 x 1000, no handlers) beside the
// same loops on a bare TMatrix: the table adds a check of its own size and,
// on reads, the lookup of the column's scale.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_datatable.h"

namespace {

using namespace orv;

constexpr int32_t Side = 1000;

void BM_TableElemRead(benchmark::State& St) {
  TDataTable T(nullptr);
  T.Resize(Side, Side);
  bench::FillRandom(*T.NumericData);
  for (auto _ : St) {
    double S = 0;
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) S += T.Elem(C, R);
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_MatrixElemRead(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  bench::FillRandom(M);
  for (auto _ : St) {
    double S = 0;
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) S += M.Elem(C, R);
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_TableElemWrite(benchmark::State& St) {
  TDataTable T(nullptr);
  T.Resize(Side, Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) T.SetElem(C, R, R * 0.5 + C);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_MatrixElemWrite(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) M.SetElem(C, R, R * 0.5 + C);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

BENCHMARK(BM_TableElemRead);
BENCHMARK(BM_MatrixElemRead);
BENCHMARK(BM_TableElemWrite);
BENCHMARK(BM_MatrixElemWrite);

}  // namespace
