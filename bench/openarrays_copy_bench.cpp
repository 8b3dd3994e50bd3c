// CopyArray of a 1000 x 1000 box of a TDouble2DArray into another beside a
// plain loop over the same cells.
#include <benchmark/benchmark.h>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;

const TDouble2DArray& Source() {
  static const TDouble2DArray G = orv::bench::RandomGrid(1200, 1200, 0, 1);
  return G;
}
TDouble2DArray& Target() {
  static TDouble2DArray G = orv::bench::RandomGrid(1100, 1100, 0, 1);
  return G;
}

// Source cells [100 .. 1099][150 .. 1149] to Target from (50, 20).
void BM_CopyArray2DBox(benchmark::State& S) {
  for (auto _ : S) {
    orv::CopyArray(Source(), 100, 150, 1099, 1149, 50, 20, Target());
    benchmark::DoNotOptimize(Target().data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_PlainLoopCopy2DBox(benchmark::State& S) {
  for (auto _ : S) {
    const TDouble2DArray& Src = Source();
    TDouble2DArray& Dst = Target();
    for (int C = 0; C < 1000; ++C)
      for (int R = 0; R < 1000; ++R) Dst[50 + C][20 + R] = Src[100 + C][150 + R];
    benchmark::DoNotOptimize(Dst.data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

BENCHMARK(BM_CopyArray2DBox)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoopCopy2DBox)->Unit(benchmark::kMicrosecond);

}  // namespace
