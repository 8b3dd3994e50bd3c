// TMat4D reshaping over 256 x 256 x 16 x 8 cells (8.4 million) beside plain
// copy loops over one contiguous std::vector<double> of the same cells:
// Transpose beside a copy of every cell, Cut of columns and rows 2..255 beside
// a copy of those rows into a vector of their size. Interleave the pairs on a
// loaded machine:
//   matrix_4d_reshape_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

constexpr int32_t CutLo = 2, CutHi = 255;

void BM_Transpose(benchmark::State& St) {
  TMat4D M(nullptr);
  M.Clone(&bench::SharedRandom4D());
  for (auto _ : St) {
    M.Transpose();
    benchmark::ClobberMemory();
  }
}

void BM_Cut(benchmark::State& St) {
  TMat4D M(nullptr);
  for (auto _ : St) {
    St.PauseTiming();
    M.Clone(&bench::SharedRandom4D());
    St.ResumeTiming();
    M.Cut(CutLo, CutHi, CutLo, CutHi, 0, 0, 0, 0);
    benchmark::ClobberMemory();
  }
}

// range(0): 0 every cell into a vector of their number; 1 the rows of the
// cut block into a vector of its size; 2 every cell into a new vector (as
// a routine must that cannot work in place, its pages fresh from the
// system).
void BM_PlainCopy(benchmark::State& St) {
  constexpr std::size_t NX = bench::Mat4DCols, NY = bench::Mat4DRows;
  const std::vector<double> From = bench::StorageOrder(bench::SharedRandom4D());
  std::vector<double> To(From.size());
  for (auto _ : St) {
    if (St.range(0) == 0) {
      std::copy(From.begin(), From.end(), To.begin());
    } else if (St.range(0) == 2) {
      std::vector<double> New(From.begin(), From.end());
      benchmark::DoNotOptimize(New.data());
    } else {
      const std::size_t W = CutHi - CutLo + 1;
      double* Out = To.data();
      for (std::size_t S = 0; S < std::size_t{bench::Mat4DLayers} * bench::Mat4DSlots; ++S)
        for (std::size_t R = CutLo - 1; R < CutHi; ++R, Out += W)
          std::copy_n(From.data() + (S * NY + R) * NX + (CutLo - 1), W, Out);
    }
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_Transpose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
