// AddArrays of two 1000 x 1000 TDouble2DArray into a new one, beside a
// plain loop over contiguous cells into a fresh vector (the cost of the
// nested layout and of the checks), and the in-place IncArray.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TDoubleArray;

const TDouble2DArray& Grid(int Which) {
  static const TDouble2DArray G[2] = {orv::bench::RandomGrid(1000, 1000, -1, 1),
                                      orv::bench::RandomGrid(1000, 1000, 2, 3)};
  return G[Which];
}

const TDoubleArray& Flat(int Which) {
  static const TDoubleArray F[2] = {orv::bench::RandomCells(1000000, -1, 1, 1),
                                    orv::bench::RandomCells(1000000, 2, 3, 2)};
  return F[Which];
}

void BM_AddArrays(benchmark::State& St) {
  for (auto _ : St) {
    TDouble2DArray C;
    benchmark::DoNotOptimize(orv::AddArrays(Grid(0), Grid(1), C));
    benchmark::DoNotOptimize(C.data());
  }
  St.SetItemsProcessed(St.iterations() * 1000000);
}
BENCHMARK(BM_AddArrays)->Unit(benchmark::kMillisecond);

void BM_PlainContiguousAdd(benchmark::State& St) {
  for (auto _ : St) {
    const TDoubleArray &A = Flat(0), &B = Flat(1);
    TDoubleArray C(A.size());
    for (std::size_t I = 0; I < A.size(); ++I) C[I] = A[I] + B[I];
    benchmark::DoNotOptimize(C.data());
  }
  St.SetItemsProcessed(St.iterations() * 1000000);
}
BENCHMARK(BM_PlainContiguousAdd)->Unit(benchmark::kMillisecond);

void BM_IncArray(benchmark::State& St) {
  TDouble2DArray A = Grid(0);
  for (auto _ : St) benchmark::DoNotOptimize(orv::IncArray(A, 0.5));
  St.SetItemsProcessed(St.iterations() * 1000000);
}
BENCHMARK(BM_IncArray)->Unit(benchmark::kMillisecond);

}  // namespace
