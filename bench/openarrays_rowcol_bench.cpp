// CalcHatMatrix beside Eigen's X (X'X)^-1 X' on the same cells (single
// thread), n = 2000 objects of p = 10 variables.
#include <benchmark/benchmark.h>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;

const TDouble2DArray& Design() {
  static const TDouble2DArray X = orv::bench::RandomGrid(10, 2000, -1, 1);
  return X;
}

void BM_CalcHatMatrix(benchmark::State& St) {
  TDouble2DArray H;
  for (auto _ : St) {
    benchmark::DoNotOptimize(orv::CalcHatMatrix(Design(), H));
    benchmark::DoNotOptimize(H.data());
  }
}
BENCHMARK(BM_CalcHatMatrix)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
void BM_EigenHatMatrix(benchmark::State& St) {
  const Eigen::MatrixXd X = orv::bench::EigenOf(Design());
  for (auto _ : St) {
    Eigen::MatrixXd H = X * (X.transpose() * X).inverse() * X.transpose();
    benchmark::DoNotOptimize(H.data());
  }
}
BENCHMARK(BM_EigenHatMatrix)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
