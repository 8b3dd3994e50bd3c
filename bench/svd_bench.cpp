// The singular value decomposition CalcSVD (linalg/svd.h, compiled into this
// program) beside Eigen's BDCSVD and JacobiSVD with thin U and V on the same
// numbers, single thread: 300 x 300, 1000 x 50 and 2000 x 200 (rows x
// columns). Run the pairs interleaved on a loaded machine:
//   svd_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/support/matrix_data.h"
#include "linalg/svd.h"

namespace {

using namespace orv;

void Load(TMatrix& M, int32_t Rows, int32_t Cols) {
  M.Resize(Cols, Rows);
  bench::FillRandom(M, 1);
}

void BM_CalcSVD(benchmark::State& St) {
  const auto Rows = static_cast<int32_t>(St.range(0)), Cols = static_cast<int32_t>(St.range(1));
  TMatrix A(nullptr), U(nullptr), V(nullptr);
  TVector W(nullptr);
  Load(A, Rows, Cols);
  for (auto _ : St) {
    U.Clone(&A);  // CalcSVD overwrites A with U
    benchmark::DoNotOptimize(detail::CalcSVD(&U, &V, &W));
  }
}
BENCHMARK(BM_CalcSVD)->Args({300, 300})->Args({1000, 50})->Args({2000, 200})->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
template <class Solver>
void BM_Eigen(benchmark::State& St) {
  const auto Rows = static_cast<int32_t>(St.range(0)), Cols = static_cast<int32_t>(St.range(1));
  TMatrix A(nullptr);
  Load(A, Rows, Cols);
  const Eigen::MatrixXd E = bench::EigenCopy(A);
  Solver S(Rows, Cols, Eigen::ComputeThinU | Eigen::ComputeThinV);
  for (auto _ : St) {
    S.compute(E, Eigen::ComputeThinU | Eigen::ComputeThinV);
    benchmark::DoNotOptimize(S.singularValues().data());
  }
}
BENCHMARK(BM_Eigen<Eigen::BDCSVD<Eigen::MatrixXd>>)
    ->Name("BM_EigenBDCSVD")
    ->Args({300, 300})
    ->Args({1000, 50})
    ->Args({2000, 200})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eigen<Eigen::JacobiSVD<Eigen::MatrixXd>>)
    ->Name("BM_EigenJacobiSVD")
    ->Args({300, 300})
    ->Args({1000, 50})
    ->Args({2000, 200})
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
