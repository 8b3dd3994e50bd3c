// TMatrix products beside Eigen on the same numbers (single thread): the
// three matrix products at n = 200, 500, 1000 and the two matrix-vector
// products at n = 1000. Run the pairs interleaved on a loaded machine:
//   matrix_arith_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace {

using namespace orv;
using bench::FillRandom;

enum TForm { fmMultiply, fmMultiplyTransposed, fmTransposeAndMultiply };

void Square(TMatrix& M, int32_t N, uint64_t Seed) {
  M.Resize(N, N);
  FillRandom(M, Seed);
}

void BM_Product(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const auto Form = static_cast<TForm>(St.range(1));
  TMatrix A(nullptr), B(nullptr), R(nullptr);
  Square(A, N, 1);
  Square(B, N, 2);
  for (auto _ : St) {
    switch (Form) {
      case fmMultiply: A.Multiply(&B, &R); break;
      case fmMultiplyTransposed: A.MultiplyTransposed(&B, &R); break;
      case fmTransposeAndMultiply: A.TransposeAndMultiply(&B, &R); break;
    }
    benchmark::ClobberMemory();
  }
}

void BM_VecProduct(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const bool Transposed = St.range(1) != 0;
  TMatrix A(nullptr);
  Square(A, N, 1);
  TVector X(nullptr), Y(nullptr);
  X.Resize(N);
  for (int32_t I = 1; I <= N; ++I) X.SetVal(I, A.GetVal(I, 1));
  for (auto _ : St) {
    if (Transposed)
      A.TransposeAndMultiply(&X, &Y);
    else
      A.Multiply(&X, &Y);
    benchmark::ClobberMemory();
  }
}

#ifdef ORV_HAVE_EIGEN
Eigen::MatrixXd EigenSquare(int32_t N, uint64_t Seed) {
  TMatrix M(nullptr);
  Square(M, N, Seed);
  return bench::EigenCopy(M);
}

void BM_EigenProduct(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const auto Form = static_cast<TForm>(St.range(1));
  const Eigen::MatrixXd A = EigenSquare(N, 1), B = EigenSquare(N, 2);
  Eigen::MatrixXd R(N, N);
  for (auto _ : St) {
    switch (Form) {
      case fmMultiply: R.noalias() = A * B; break;
      case fmMultiplyTransposed: R.noalias() = A * B.transpose(); break;
      case fmTransposeAndMultiply: R.noalias() = A.transpose() * B; break;
    }
    benchmark::DoNotOptimize(R.data());
    benchmark::ClobberMemory();
  }
}

void BM_EigenVecProduct(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const bool Transposed = St.range(1) != 0;
  const Eigen::MatrixXd A = EigenSquare(N, 1);
  const Eigen::VectorXd X = A.row(0).transpose();
  Eigen::VectorXd Y(N);
  for (auto _ : St) {
    if (Transposed)
      Y.noalias() = A.transpose() * X;
    else
      Y.noalias() = A * X;
    benchmark::DoNotOptimize(Y.data());
    benchmark::ClobberMemory();
  }
}
#endif

void ProductArgs(benchmark::internal::Benchmark* B) {
  for (int64_t Form = 0; Form < 3; ++Form)
    for (int64_t N : {200, 500, 1000}) B->Args({N, Form});
  B->ArgNames({"n", "form"})->Unit(benchmark::kMillisecond);
}

void VecArgs(benchmark::internal::Benchmark* B) {
  B->Args({1000, 0})->Args({1000, 1})->ArgNames({"n", "transposed"})->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_Product)->Apply(ProductArgs);
BENCHMARK(BM_VecProduct)->Apply(VecArgs);
#ifdef ORV_HAVE_EIGEN
BENCHMARK(BM_EigenProduct)->Apply(ProductArgs);
BENCHMARK(BM_EigenVecProduct)->Apply(VecArgs);
#endif
