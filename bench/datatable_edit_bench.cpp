// TDataTable::InsertRow(1) on a fresh table of 10^4 rows by 100 columns
// without handlers, beside a plain loop that moves the same cells (a new
// first row in every column of a vector of columns). The table also moves
// the states, names and attributes of its rows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "orvcalckit/ORV_datatable.h"

namespace {

using namespace orv;

constexpr int32_t Cols = 100, Rows = 10000;

template <class MakeFn, class InsertFn>
void Timed(benchmark::State& State, MakeFn&& Make, InsertFn&& Insert) {
  for (auto _ : State) {
    auto Subject = Make();
    const auto T0 = std::chrono::steady_clock::now();
    Insert(*Subject);
    const auto T1 = std::chrono::steady_clock::now();
    benchmark::ClobberMemory();
    State.SetIterationTime(std::chrono::duration<double>(T1 - T0).count());
  }
  State.SetItemsProcessed(State.iterations() * int64_t{Cols} * Rows);
}

void BM_InsertRow(benchmark::State& State) {
  Timed(
      State,
      [] {
        auto T = std::make_unique<TDataTable>(nullptr);
        T->Resize(Cols, Rows);
        return T;
      },
      [](TDataTable& T) { T.InsertRow(1); });
}
BENCHMARK(BM_InsertRow)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PlainInsertRow(benchmark::State& State) {
  Timed(
      State, [] { return std::make_unique<TDouble2DArray>(Cols, TDoubleArray(Rows, 1.0)); },
      [](TDouble2DArray& A) {
        for (TDoubleArray& Col : A) Col.insert(Col.begin(), 0.0);
      });
}
BENCHMARK(BM_PlainInsertRow)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
