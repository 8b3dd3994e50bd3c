// SortRows (10^6 rows), also with an exchange handler that does nothing,
// beside the same comb sort over contiguous columns.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "bench/support/matrix_data.h"
#include "core/combsort.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;
using bench::ColumnMajor;
using bench::FillRandom;

constexpr int32_t SortN = 1000000, SortCols = 3;

void BM_SortRows(benchmark::State& St) {
  TMatrix Src(nullptr), M(nullptr);
  Src.Resize(SortCols, SortN);
  FillRandom(Src);
  for (auto _ : St) {
    St.PauseTiming();
    M.Assign(&Src);
    St.ResumeTiming();
    M.SortRows(1, true, 0, 0, 0, 0);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * SortN);
}

// With a handler that does nothing: an event per exchange, and the check of
// the storage after it.
void BM_SortRowsWatched(benchmark::State& St) {
  TMatrix Src(nullptr), M(nullptr);
  Src.Resize(SortCols, SortN);
  FillRandom(Src);
  int64_t Events = 0;
  for (auto _ : St) {
    St.PauseTiming();
    M.Assign(&Src);
    M.OnSortExchange = [&Events](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) { ++Events; };
    St.ResumeTiming();
    M.SortRows(1, true, 0, 0, 0, 0);
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(Events);
  St.SetItemsProcessed(St.iterations() * SortN);
}

// The same comb sort (gaps, comparisons and exchanges) over three contiguous
// columns in one vector.
void BM_PlainSortRows(benchmark::State& St) {
  TMatrix Src(nullptr);
  Src.Resize(SortCols, SortN);
  FillRandom(Src);
  const std::vector<double> Orig = ColumnMajor(Src);
  std::vector<double> A;
  for (auto _ : St) {
    St.PauseTiming();
    A = Orig;
    St.ResumeTiming();
    double* P = A.data();
    int64_t Gap = SortN - 1;
    bool Swapped;
    do {
      Gap = detail::CombNextGap(Gap);
      Swapped = false;
      for (int64_t I = 0; I + Gap < SortN; ++I)
        if (P[I] > P[I + Gap]) {
          for (int C = 0; C < SortCols; ++C) std::swap(P[C * int64_t{SortN} + I], P[C * int64_t{SortN} + I + Gap]);
          Swapped = true;
        }
    } while (Gap > 1 || Swapped);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * SortN);
}

}  // namespace

BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRowsWatched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSortRows)->Unit(benchmark::kMillisecond);
