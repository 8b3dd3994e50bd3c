// TDataTable::SortRows of 10^5 rows of 10 columns beside TMatrix::SortRows
// on the same data. The table's exchanges reach it through the matrix's
// OnSortExchange; where they would move no state the matrix sorts alone,
// else the states follow the order once at the end (Marked: a tenth of the
// cells carry a marking). Fresh values in every iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_datatable.h"

namespace {

using namespace orv;

constexpr int32_t Cols = 10, Rows = 100000;

void Load(TMatrix& M, const std::vector<double>& W) {
  for (int32_t C = 0; C < Cols; ++C) std::copy_n(W.begin() + int64_t{C} * Rows, Rows, M.Mat[detail::Ix(C)].begin());
}

void BM_TableSortRows(benchmark::State& State) {
  TDataTable T(nullptr);
  T.Resize(Cols, Rows);
  if (State.range(1) != 0)
    for (int32_t C = 1; C <= Cols; ++C)
      for (int32_t R = C; R <= Rows; R += 10) T.SetCellState(C, R, 0x40);
  bench::RunFresh(
      State, [&](std::vector<double>& W) { Load(*T.NumericData, W); },
      [&](std::vector<double>&) { T.SortRows(1, true, 0, 0, 0, 0, false); });
}
BENCHMARK(BM_TableSortRows)
    ->ArgsProduct({{int64_t{Cols} * Rows}, {0, 1}})
    ->ArgNames({"", "Marked"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_MatrixSortRows(benchmark::State& State) {
  TMatrix M(nullptr);
  M.Resize(Cols, Rows);
  bench::RunFresh(
      State, [&](std::vector<double>& W) { Load(M, W); },
      [&](std::vector<double>&) { M.SortRows(1, true, 0, 0, 0, 0); });
}
BENCHMARK(BM_MatrixSortRows)->Arg(int64_t{Cols} * Rows)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
