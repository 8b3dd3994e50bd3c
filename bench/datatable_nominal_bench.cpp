// CreateContingencyTable over 10^6 rows of two categorical columns beside a
// plain loop that counts the same codes into a 151 x 151 array.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace {

using namespace orv;

constexpr int32_t Rows = 1000000;

// Codes 1..150 in both columns, the same in every program run.
void FillCodes(TDataTable& T) {
  T.Resize(2, Rows);
  T.SetMScaleType(1, stNominal);
  T.SetMScaleType(2, stNominal);
  SetRandSeed(1);
  for (int32_t R = 1; R <= Rows; ++R) {
    T.NumericData->SetVal(1, R, 1 + Random(150));
    T.NumericData->SetVal(2, R, 1 + Random(150));
  }
}

void BM_CreateContingencyTable(benchmark::State& St) {
  TDataTable T(nullptr);
  FillCodes(T);
  TInt2DArray Tab;
  for (auto _ : St) {
    benchmark::DoNotOptimize(T.CreateContingencyTable(1, 2, 0, 0, Tab));
    benchmark::DoNotOptimize(Tab.data());
  }
  St.SetItemsProcessed(St.iterations() * Rows);
}

void BM_PlainCrossCount(benchmark::State& St) {
  TDataTable T(nullptr);
  FillCodes(T);
  const std::vector<double> X = T.NumericData->Mat[0], Y = T.NumericData->Mat[1];
  for (auto _ : St) {
    TInt2DArray Tab(151, TIntArray(151, 0));
    for (int32_t R = 0; R < Rows; ++R) {
      const int64_t A = Round(X[detail::Ix(R)]), B = Round(Y[detail::Ix(R)]);
      if (A >= 1 && A <= 150 && B >= 1 && B <= 150) ++Tab[detail::Ix1(A)][detail::Ix1(B)];
    }
    benchmark::DoNotOptimize(Tab.data());
  }
  St.SetItemsProcessed(St.iterations() * Rows);
}

BENCHMARK(BM_CreateContingencyTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCrossCount)->Unit(benchmark::kMillisecond);

}  // namespace
