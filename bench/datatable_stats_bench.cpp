// TDataTable::QuartilesOfNumCells over 10^6 cells (100 columns of 10^4
// rows) beside std::sort of the same values: the quartiles select instead of
// sorting. Fresh values in every iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_datatable.h"

namespace {

using namespace orv;

constexpr int32_t Cols = 100, Rows = 10000;

void BM_QuartilesOfNumCells(benchmark::State& State) {
  TDataTable T(nullptr);
  T.Resize(Cols, Rows);
  double Q1, Q2, Q3;
  int32_t N;
  bench::RunFresh(
      State,
      [&](std::vector<double>& W) {
        for (int32_t C = 0; C < Cols; ++C)
          std::copy_n(W.begin() + int64_t{C} * Rows, Rows, T.NumericData->Mat[detail::Ix(C)].begin());
      },
      [&](std::vector<double>&) { T.QuartilesOfNumCells(0, 0, 0, 0, Q1, Q2, Q3, N); });
  benchmark::DoNotOptimize(Q2);
}
BENCHMARK(BM_QuartilesOfNumCells)->Arg(int64_t{Cols} * Rows)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StdSort(benchmark::State& State) {
  bench::RunFresh(State, [](std::vector<double>& W) { std::sort(W.begin(), W.end()); });
}
BENCHMARK(BM_StdSort)->Arg(int64_t{Cols} * Rows)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
