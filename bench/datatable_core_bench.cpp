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

TMatrix& Cells(TMatrix& M) { return M; }
TMatrix& Cells(TDataTable& T) { return *T.NumericData; }

template <class C>
void BM_ElemRead(benchmark::State& St) {
  C M(nullptr);
  M.Resize(Side, Side);
  bench::FillRandom(Cells(M));
  for (auto _ : St) benchmark::DoNotOptimize(bench::SumByElem(M, Side));
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

template <class C>
void BM_ElemWrite(benchmark::State& St) {
  C M(nullptr);
  M.Resize(Side, Side);
  for (auto _ : St) {
    bench::WriteByElem(M, Side);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

BENCHMARK_TEMPLATE(BM_ElemRead, TDataTable);
BENCHMARK_TEMPLATE(BM_ElemRead, TMatrix);
BENCHMARK_TEMPLATE(BM_ElemWrite, TDataTable);
BENCHMARK_TEMPLATE(BM_ElemWrite, TMatrix);

}  // namespace
