// Rearranging a 2000 x 2000 TMatrix: Transpose beside Eigen's transposed
// copy, ExchangeRows and MirrorRows beside plain loops over one contiguous
// column-major array. Interleave the pairs on a loaded machine:
//   matrix_rearrange_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;
using bench::ColumnMajor;
using bench::FillRandom;

constexpr int32_t Side = 2000;

TMatrix& Data() {
  static TMatrix M(nullptr);
  if (M.NrOfColumns() != Side) {
    M.Resize(Side, Side);
    FillRandom(M);
  }
  return M;
}

void BM_Transpose(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Clone(&Data());
  for (auto _ : St) {
    M.Transpose();
    benchmark::ClobberMemory();
  }
}

void BM_ExchangeRows(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Clone(&Data());
  int32_t R = 1;
  for (auto _ : St) {
    M.ExchangeRows(R, Side + 1 - R);
    R = R % (Side / 2) + 1;
    benchmark::ClobberMemory();
  }
}

void BM_MirrorRows(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Clone(&Data());
  for (auto _ : St) {
    M.MirrorRows();
    benchmark::ClobberMemory();
  }
}

void BM_PlainExchangeRows(benchmark::State& St) {
  std::vector<double> A = ColumnMajor(Data());
  int32_t R = 0;
  for (auto _ : St) {
    for (int32_t C = 0; C < Side; ++C)
      std::swap(A[static_cast<size_t>(C) * Side + R], A[static_cast<size_t>(C) * Side + (Side - 1 - R)]);
    R = (R + 1) % (Side / 2);
    benchmark::ClobberMemory();
  }
}

void BM_PlainMirrorRows(benchmark::State& St) {
  std::vector<double> A = ColumnMajor(Data());
  for (auto _ : St) {
    for (int32_t C = 0; C < Side; ++C) {
      double* Col = A.data() + static_cast<size_t>(C) * Side;
      for (int32_t R = 0; R < Side / 2; ++R) std::swap(Col[R], Col[Side - 1 - R]);
    }
    benchmark::ClobberMemory();
  }
}

#ifdef ORV_HAVE_EIGEN
void BM_EigenTransposedCopy(benchmark::State& St) {
  const Eigen::MatrixXd A = bench::EigenCopy(Data());
  for (auto _ : St) {
    Eigen::MatrixXd B = A.transpose();
    benchmark::DoNotOptimize(B.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EigenTransposedCopy)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK(BM_Transpose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExchangeRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainExchangeRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MirrorRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMirrorRows)->Unit(benchmark::kMillisecond);
