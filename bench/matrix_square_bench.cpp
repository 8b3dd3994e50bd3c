// TMatrix::Square on 10000 x 400 and 2000 x 1000 (rows x columns) with 1, 2,
// 4 and 8 workers, beside Eigen's X.transpose() * X on one thread (Eigen
// computes both triangles, Square one and its mirror); with a
// MathFeedBackProc that does nothing on 1 and 4 workers. Wall-clock time:
// the workers run beside the timed thread.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

// range(0) rows, range(1) columns, range(2) workers.
void BM_Square(benchmark::State& St) {
  const TMatrix& A = bench::SharedRandom(static_cast<int32_t>(St.range(1)), static_cast<int32_t>(St.range(0)));
  TMatrix Res(nullptr);
  for (auto _ : St) {
    const bool Ok = const_cast<TMatrix&>(A).Square(&Res, 1.0, static_cast<int32_t>(St.range(2)));
    benchmark::DoNotOptimize(Ok);
    benchmark::DoNotOptimize(Res.Mat[0][0]);
  }
}
BENCHMARK(BM_Square)
    ->ArgsProduct({{10000}, {400}, {1, 2, 4, 8}})
    ->ArgsProduct({{2000}, {1000}, {1, 2, 4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// With a MathFeedBackProc that does nothing: the calls of host code, and
// what keeps the workers apart from them.
void BM_SquareWatched(benchmark::State& St) {
  MathFeedBackProc = [](double) {};
  BM_Square(St);
  MathFeedBackProc = nullptr;
}
BENCHMARK(BM_SquareWatched)
    ->ArgsProduct({{2000}, {1000}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef ORV_HAVE_EIGEN
void BM_EigenCrossProduct(benchmark::State& St) {
  const Eigen::MatrixXd X = bench::EigenCopy(
      bench::SharedRandom(static_cast<int32_t>(St.range(1)), static_cast<int32_t>(St.range(0))));
  Eigen::setNbThreads(1);
  for (auto _ : St) {
    Eigen::MatrixXd P = X.transpose() * X;
    benchmark::DoNotOptimize(P.data());
  }
}
BENCHMARK(BM_EigenCrossProduct)->Args({10000, 400})->Args({2000, 1000})->Unit(benchmark::kMillisecond);
#endif

}  // namespace
