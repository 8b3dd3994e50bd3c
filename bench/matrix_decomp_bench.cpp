// TMatrix LU decomposition, inverse and Cholesky factor beside Eigen on the
// same numbers (single thread): PartialPivLU, inverse() and LLT at n = 300
// and 1000. Run the pairs interleaved on a loaded machine:
//   matrix_decomp_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

void Square(TMatrix& M, int32_t N) {
  M.Resize(N, N);
  bench::FillRandom(M, 1);
}

// B'B / n + I: symmetric positive definite.
void Spd(TMatrix& M, int32_t N) {
  TMatrix B(nullptr);
  Square(B, N);
  B.TransposeAndMultiply(&B, &M);
  M.SMult(1.0 / N);
  for (int32_t I = 1; I <= N; ++I) M.SetVal(I, I, M.GetVal(I, I) + 1.0);
}

void BM_LUdecomposition(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TMatrix A(nullptr), L(nullptr), U(nullptr);
  Square(A, N);
  int32_t Sign = 0;
  for (auto _ : St) benchmark::DoNotOptimize(A.LUdecomposition(&L, &U, Sign));
}

void BM_Invert(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TMatrix A(nullptr), M(nullptr);
  Square(A, N);
  for (auto _ : St) {
    M.Clone(&A);
    benchmark::DoNotOptimize(M.Invert());
  }
}

void BM_CholeskyDecomp(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TMatrix A(nullptr), L(nullptr);
  Spd(A, N);  // the method reads the lower triangle only, so A can be used again
  for (auto _ : St) benchmark::DoNotOptimize(A.CholeskyDecomp(&L));
}

BENCHMARK(BM_LUdecomposition)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Invert)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CholeskyDecomp)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
// A decomposition of Eigen (PartialPivLU on the square, LLT on the positive
// definite matrix).
template <class Solver, bool Positive>
void BM_EigenDecomposition(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TMatrix A(nullptr);
  if (Positive)
    Spd(A, N);
  else
    Square(A, N);
  const Eigen::MatrixXd E = bench::EigenCopy(A);
  Solver S(N);
  for (auto _ : St) {
    S.compute(E);
    benchmark::DoNotOptimize(&S);
    benchmark::ClobberMemory();
  }
}

void BM_EigenInverse(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TMatrix A(nullptr);
  Square(A, N);
  const Eigen::MatrixXd E = bench::EigenCopy(A);
  Eigen::MatrixXd R(N, N);
  for (auto _ : St) {
    R = E.inverse();
    benchmark::DoNotOptimize(R.data());
  }
}

BENCHMARK(BM_EigenDecomposition<Eigen::PartialPivLU<Eigen::MatrixXd>, false>)
    ->Name("BM_EigenPartialPivLU")
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenInverse)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenDecomposition<Eigen::LLT<Eigen::MatrixXd>, true>)
    ->Name("BM_EigenLLT")
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
