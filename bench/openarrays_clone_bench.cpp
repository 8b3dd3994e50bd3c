// CloneArray from a 1000 x 1000 TDouble2DArray into a TInt2DArray, beside a
// plain loop that sizes the result and converts each cell the same way.
#include <benchmark/benchmark.h>

#include "arrays/convert.h"
#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TInt2DArray;

// Beyond the Integer range on both sides, so the clamp is taken too.
const TDouble2DArray& Grid() {
  static const TDouble2DArray G = orv::bench::RandomGrid(1000, 1000, -3e9, 3e9);
  return G;
}

void BM_CloneArrayDoubleToInt(benchmark::State& S) {
  for (auto _ : S) {
    TInt2DArray Dst;
    orv::CloneArray(Grid(), Dst);
    benchmark::DoNotOptimize(Dst.data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

void BM_PlainLoopDoubleToInt(benchmark::State& S) {
  for (auto _ : S) {
    const TDouble2DArray& Src = Grid();
    TInt2DArray Dst(Src.size(), orv::TIntArray(Src[0].size()));
    for (std::size_t C = 0; C < Src.size(); ++C)
      for (std::size_t R = 0; R < Src[C].size(); ++R) Dst[C][R] = orv::detail::DoubleToInt(Src[C][R]);
    benchmark::DoNotOptimize(Dst.data());
  }
  S.SetItemsProcessed(S.iterations() * 1000000);
}

BENCHMARK(BM_CloneArrayDoubleToInt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainLoopDoubleToInt)->Unit(benchmark::kMicrosecond);

}  // namespace
