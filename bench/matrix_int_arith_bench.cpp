// TIntMatrix.Multiply beside Eigen's Matrix<int32_t> product on the same
// cells (single thread, n = 500 and 1000), and beside the plain wrapping loop
// in the pinned order. Run the pairs interleaved on a loaded machine:
//   matrix_int_arith_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace {

using namespace orv;

// Cells over the whole 32-bit range, so that the products wrap.
void Square(TIntMatrix& M, int32_t N, uint64_t Seed) {
  SetRandSeed(Seed);
  M.Resize(N, N);
  for (int32_t C = 1; C <= N; ++C)
    for (int32_t R = 1; R <= N; ++R) {
      const auto High = static_cast<uint32_t>(Random(65536));
      M.SetVal(C, R, static_cast<int32_t>(High << 16 | static_cast<uint32_t>(Random(65536))));
    }
}

void BM_IntMultiply(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TIntMatrix A(nullptr), B(nullptr), R(nullptr);
  Square(A, N, 1);
  Square(B, N, 2);
  for (auto _ : St) {
    A.Multiply(&B, &R);
    benchmark::ClobberMemory();
  }
}

// Result column c += B(c, i) x column i of A, i increasing, in uint32_t.
void BM_IntPlainLoop(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TIntMatrix A(nullptr), B(nullptr);
  Square(A, N, 1);
  Square(B, N, 2);
  std::vector<uint32_t> R(static_cast<std::size_t>(N) * N);
  for (auto _ : St) {
    for (int32_t C = 0; C < N; ++C) {
      uint32_t* Out = R.data() + static_cast<std::size_t>(C) * N;
      std::fill_n(Out, N, 0u);
      for (int32_t I = 0; I < N; ++I) {
        const auto F = static_cast<uint32_t>(B.Mat[C][I]);
        const int32_t* Col = A.Mat[I].data();
        for (int32_t Rw = 0; Rw < N; ++Rw) Out[Rw] += F * static_cast<uint32_t>(Col[Rw]);
      }
    }
    benchmark::DoNotOptimize(R.data());
    benchmark::ClobberMemory();
  }
}

#ifdef ORV_HAVE_EIGEN
using TEigenInt = Eigen::Matrix<int32_t, Eigen::Dynamic, Eigen::Dynamic>;

TEigenInt EigenSquare(int32_t N, uint64_t Seed) {
  TIntMatrix M(nullptr);
  Square(M, N, Seed);
  TEigenInt E(N, N);
  for (int32_t C = 0; C < N; ++C)
    for (int32_t R = 0; R < N; ++R) E(R, C) = M.Mat[C][R];
  return E;
}

void BM_EigenIntMultiply(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const TEigenInt A = EigenSquare(N, 1), B = EigenSquare(N, 2);
  TEigenInt R(N, N);
  for (auto _ : St) {
    R.noalias() = A * B;
    benchmark::DoNotOptimize(R.data());
    benchmark::ClobberMemory();
  }
}
#endif

void Sizes(benchmark::internal::Benchmark* B) {
  B->Arg(500)->Arg(1000)->ArgName("n")->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_IntMultiply)->Apply(Sizes);
BENCHMARK(BM_IntPlainLoop)->Apply(Sizes);
#ifdef ORV_HAVE_EIGEN
BENCHMARK(BM_EigenIntMultiply)->Apply(Sizes);
#endif
