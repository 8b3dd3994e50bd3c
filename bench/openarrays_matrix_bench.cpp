// InvertArray beside Eigen's PartialPivLU inverse on the same cells (single
// thread) at n = 100, 300 and 1000. Run the pairs interleaved on a loaded
// machine:
//   openarrays_matrix_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;

const TDouble2DArray& Square(int32_t N) {
  static std::map<int32_t, TDouble2DArray> Cache;
  auto [It, New] = Cache.try_emplace(N);
  if (New) It->second = orv::bench::RandomGrid(N, N, -1, 1);
  return It->second;
}

void BM_InvertArray(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  TDouble2DArray A;
  for (auto _ : St) {
    St.PauseTiming();
    A = Square(N);
    St.ResumeTiming();
    benchmark::DoNotOptimize(orv::InvertArray(A));
  }
}
BENCHMARK(BM_InvertArray)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TransposeArray(benchmark::State& St) {
  TDouble2DArray A = Square(1000);
  for (auto _ : St) benchmark::DoNotOptimize(orv::TransposeArray(A));
}
BENCHMARK(BM_TransposeArray)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
void BM_EigenInverse(benchmark::State& St) {
  const auto N = static_cast<int32_t>(St.range(0));
  const Eigen::MatrixXd E = orv::bench::EigenOf(Square(N));
  Eigen::MatrixXd R(N, N);
  for (auto _ : St) {
    R = E.partialPivLu().inverse();
    benchmark::DoNotOptimize(R.data());
  }
}
BENCHMARK(BM_EigenInverse)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
