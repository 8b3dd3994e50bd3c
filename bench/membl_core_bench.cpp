// TMemBasedLearner: ApplyModel over a large model beside a plain loop over a
// contiguous row-major copy with the same ranked list, and filling a model
// cell by cell beside the same fill of a table without handlers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "analysis/ranked_list.h"
#include "orvcalckit/ORV_membl.h"

namespace {

using namespace orv;

constexpr int32_t Rows = 100000, Cols = 10;

double Cell(int32_t C, int32_t R) { return std::sin(R * 0.7 + C * 1.3) * 10.0 + C; }

// Scaled: standardised distances with two categorical columns (read rounded).
void RunApplyModel(benchmark::State& State, bool Scaled) {
  TMemBasedLearner L;
  TDataTable& T = *L.ModelData;
  T.Resize(Cols, Rows);
  for (int32_t R = 1; R <= Rows; ++R)
    for (int32_t C = 1; C <= Cols; ++C) T.SetElem(C, R, Cell(C, R));
  L.SetAllVars(mblVarIndep);
  L.SetVarType(Cols, mblVarTarget);
  L.SetNumNearestNb(10);
  if (Scaled) {
    L.SetScalingMode(mblStandardized);
    T.SetMScaleType(1, stNominal);
    T.SetMScaleType(2, stOrdinal);
  }
  TDoubleArray S(Cols);
  int32_t Q = 0;
  for (auto _ : State) {
    for (int32_t C = 1; C <= Cols; ++C) S[static_cast<size_t>(C - 1)] = Cell(C, Q % 977) + 0.01;
    benchmark::DoNotOptimize(L.ApplyModel(S, 0, 0));
    ++Q;
  }
}
void BM_ApplyModel(benchmark::State& State) { RunApplyModel(State, false); }
void BM_ApplyModelScaled(benchmark::State& State) { RunApplyModel(State, true); }
BENCHMARK(BM_ApplyModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyModelScaled)->Unit(benchmark::kMillisecond);

// The peer: Euclidean distances over the 9 independent values of a
// row-major copy, the nearest 100 kept, the mean of the 10 nearest targets.
void BM_PlainKNN(benchmark::State& State) {
  std::vector<double> M(static_cast<size_t>(Rows) * Cols);
  for (int32_t R = 1; R <= Rows; ++R)
    for (int32_t C = 1; C <= Cols; ++C) M[static_cast<size_t>(R - 1) * Cols + static_cast<size_t>(C - 1)] = Cell(C, R);
  std::vector<double> S(Cols);
  detail::TRankedList List(100);
  int32_t Q = 0;
  for (auto _ : State) {
    for (int32_t C = 1; C <= Cols; ++C) S[static_cast<size_t>(C - 1)] = Cell(C, Q % 977) + 0.01;
    List.Reset();
    for (int32_t R = 0; R < Rows; ++R) {
      const double* Row = &M[static_cast<size_t>(R) * Cols];
      double Sum = 0.0;
      for (int32_t C = 0; C < Cols - 1; ++C) Sum += (S[static_cast<size_t>(C)] - Row[C]) * (S[static_cast<size_t>(C)] - Row[C]);
      List.Insert(std::sqrt(Sum), R + 1);
    }
    double Mean = 0.0;
    for (int32_t J = 0; J < 10; ++J) Mean += M[static_cast<size_t>(List.Obj(J) - 1) * Cols + Cols - 1];
    benchmark::DoNotOptimize(Mean / 10);
    ++Q;
  }
}
BENCHMARK(BM_PlainKNN)->Unit(benchmark::kMillisecond);

constexpr int32_t FillRows = 10000, FillCols = 20;

void BM_FillModel(benchmark::State& State) {
  for (auto _ : State) {
    TMemBasedLearner L;
    TDataTable& T = *L.ModelData;
    T.Resize(FillCols, FillRows);
    for (int32_t R = 1; R <= FillRows; ++R)
      for (int32_t C = 1; C <= FillCols; ++C) T.SetElem(C, R, R + C);
    L.SetScalingMode(mblStandardized);
    benchmark::DoNotOptimize(L.CalcDist(TDoubleArray(FillCols, 1.0), 1));  // the statistics once
  }
}
BENCHMARK(BM_FillModel)->Unit(benchmark::kMillisecond);

void BM_FillTable(benchmark::State& State) {
  for (auto _ : State) {
    TDataTable T(nullptr);
    T.Resize(FillCols, FillRows);
    for (int32_t R = 1; R <= FillRows; ++R)
      for (int32_t C = 1; C <= FillCols; ++C) T.SetElem(C, R, R + C);
    benchmark::DoNotOptimize(T.Elem(1, 1));
  }
}
BENCHMARK(BM_FillTable)->Unit(benchmark::kMillisecond);

}  // namespace
