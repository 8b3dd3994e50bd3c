// CalcCovar, CalcEigVec and CalcPrincComp beside Eigen on the same numbers:
// the centred X'X / (n - 1) and SelfAdjointEigenSolver.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench/support/covar_data.h"
#include "orvcalckit/ORV_math2.h"

namespace {

using orv::bench::DataColumns;
using orv::bench::Load;

// The covariance matrix of 4n objects of n variables.
void CovarianceOf(orv::TMatrix& Covar, int32_t N) {
  orv::TMatrix Data(nullptr);
  Load(Data, DataColumns(4 * N, N), 4 * N, N);
  Covar.Resize(N, N);
  orv::CalcCovar(&Data, &Covar, 0, 0, 0, 0, 1);
}

void BM_CalcCovar(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  orv::TMatrix Data(nullptr), Covar(nullptr);
  Load(Data, DataColumns(Rows, Cols), Rows, Cols);
  Covar.Resize(Cols, Cols);
  const auto Scaling = static_cast<int32_t>(State.range(2));
  for (auto _ : State) benchmark::DoNotOptimize(orv::CalcCovar(&Data, &Covar, 0, 0, 0, 0, Scaling));
}
// Raw cross products, covariance, correlation.
BENCHMARK(BM_CalcCovar)->Args({10000, 100, 0})->Args({10000, 100, 1})->Args({10000, 100, 2})->Args({100, 2000, 2})
    ->Unit(benchmark::kMillisecond);

void BM_CalcEigVec(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  orv::TMatrix Covar(nullptr), Work(nullptr);
  CovarianceOf(Covar, N);
  for (auto _ : State) {
    Work.Clone(&Covar);  // CalcEigVec rotates the upper triangle to zero
    benchmark::DoNotOptimize(orv::CalcEigVec(&Work));
  }
}
BENCHMARK(BM_CalcEigVec)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

// The same with an OnChange handler: every cell goes through the component.
void BM_CalcEigVecWatched(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  orv::TMatrix Covar(nullptr), Work(nullptr);
  CovarianceOf(Covar, N);
  int64_t Writes = 0;
  for (auto _ : State) {
    Work.OnChange = nullptr;
    Work.Clone(&Covar);
    Work.OnChange = [&](orv::TObject*) { ++Writes; };
    benchmark::DoNotOptimize(orv::CalcEigVec(&Work));
  }
  benchmark::DoNotOptimize(Writes);
}
BENCHMARK(BM_CalcEigVecWatched)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_CalcPrincComp(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  orv::TMatrix Data(nullptr);
  Load(Data, DataColumns(Rows, Cols), Rows, Cols);
  for (auto _ : State) benchmark::DoNotOptimize(orv::CalcPrincComp(&Data, 0, 0, 0, 0, 1));
}
BENCHMARK(BM_CalcPrincComp)->Args({10000, 100})->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN

using orv::bench::EigenCovariance;

void BM_EigenCovar(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  const std::vector<double> X = DataColumns(Rows, Cols);
  const Eigen::MatrixXd Data = Eigen::Map<const Eigen::MatrixXd>(X.data(), Rows, Cols);
  for (auto _ : State) {
    Eigen::MatrixXd C = EigenCovariance(Data);
    benchmark::DoNotOptimize(C.data());
  }
}
BENCHMARK(BM_EigenCovar)->Args({10000, 100})->Unit(benchmark::kMillisecond);

void BM_EigenSelfAdjoint(benchmark::State& State) {
  const auto N = static_cast<int32_t>(State.range(0));
  orv::TMatrix Covar(nullptr);
  CovarianceOf(Covar, N);
  Eigen::MatrixXd A(N, N);
  for (int32_t C = 0; C < N; ++C)
    for (int32_t R = 0; R < N; ++R) A(R, C) = Covar.GetVal(C + 1, R + 1);
  for (auto _ : State) {
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> Solver(A);
    benchmark::DoNotOptimize(Solver.eigenvectors().data());
  }
}
BENCHMARK(BM_EigenSelfAdjoint)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_EigenPrincComp(benchmark::State& State) {
  const auto Rows = static_cast<int32_t>(State.range(0)), Cols = static_cast<int32_t>(State.range(1));
  const std::vector<double> X = DataColumns(Rows, Cols);
  const Eigen::MatrixXd Data = Eigen::Map<const Eigen::MatrixXd>(X.data(), Rows, Cols);
  for (auto _ : State) {
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> Solver(EigenCovariance(Data));
    benchmark::DoNotOptimize(Solver.eigenvectors().data());
  }
}
BENCHMARK(BM_EigenPrincComp)->Args({10000, 100})->Unit(benchmark::kMillisecond);

#endif

}  // namespace
