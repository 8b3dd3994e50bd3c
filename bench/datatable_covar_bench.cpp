// TDataTable::CalcCovar on 10000 objects of 100 variables with no missing
// cell, beside Eigen's centred X'X / (n - 1) and the free CalcCovar of the
// library on the same numbers: the table adds the cell states.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/covar_data.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_math2.h"

namespace {

using namespace orv;

// Mode 1 covariance, Mode 2 correlation.
void BM_TableCalcCovar(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  TDataTable T(nullptr);
  T.Resize(Cols, Rows);
  bench::Load(*T.NumericData, bench::DataColumns(Rows, Cols), Rows, Cols);
  TMatrix Covar(nullptr);
  Covar.Resize(Cols, Cols);
  const auto Mode = static_cast<int32_t>(State.range(2));
  for (auto _ : State) benchmark::DoNotOptimize(T.CalcCovar(&Covar, 1, Cols, 1, Rows, Mode));
}
BENCHMARK(BM_TableCalcCovar)->Args({10000, 100, 1})->Args({10000, 100, 2})->Unit(benchmark::kMillisecond);

void BM_MatrixCalcCovar(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  TMatrix Data(nullptr), Covar(nullptr);
  bench::Load(Data, bench::DataColumns(Rows, Cols), Rows, Cols);
  Covar.Resize(Cols, Cols);
  const auto Mode = static_cast<int32_t>(State.range(2));
  for (auto _ : State) benchmark::DoNotOptimize(CalcCovar(&Data, &Covar, 0, 0, 0, 0, Mode));
}
BENCHMARK(BM_MatrixCalcCovar)->Args({10000, 100, 1})->Args({10000, 100, 2})->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
void BM_EigenCovar(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  const std::vector<double> X = bench::DataColumns(Rows, Cols);
  const Eigen::MatrixXd Data = Eigen::Map<const Eigen::MatrixXd>(X.data(), Rows, Cols);
  for (auto _ : State) {
    Eigen::MatrixXd C = bench::EigenCovariance(Data);
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_EigenCovar)->Args({10000, 100})->Unit(benchmark::kMillisecond);
#endif

}  // namespace
