// The table-driven tests on samples of their typical sizes: DeanDixonTest
// (copy and sort of 100 values), GrubbsTest and the normality statistics of
// 1000 values, DurbinWatson of 10^5 residuals, the Wilcoxon quantile's
// parabola.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_system.h"

namespace {

void Fill(orv::TVector& V, int32_t n) {
  orv::SetRandSeed(1);
  V.Resize(n);
  for (int32_t i = 1; i <= n; ++i) V.SetVal(i, orv::RandomGauss(0, 1));
}

void BM_DeanDixonTest(benchmark::State& S) {
  orv::TVector V;
  Fill(V, 100);
  double Q;
  for (auto _ : S) benchmark::DoNotOptimize(orv::DeanDixonTest(&V, orv::Dot050, Q));
}
BENCHMARK(BM_DeanDixonTest);

void BM_GrubbsTest(benchmark::State& S) {
  orv::TVector V;
  Fill(V, 1000);
  double G;
  for (auto _ : S) benchmark::DoNotOptimize(orv::GrubbsTest(&V, 0.05, G));
}
BENCHMARK(BM_GrubbsTest);

void BM_KSNormality(benchmark::State& S) {
  orv::TVector V;
  Fill(V, 1000);
  for (auto _ : S) benchmark::DoNotOptimize(orv::PerformKSNormalityTest(&V, true));
}
BENCHMARK(BM_KSNormality);

void BM_DurbinWatson(benchmark::State& S) {
  orv::TDoubleArray E(100000);
  orv::SetRandSeed(2);
  for (double& e : E) e = orv::RandomGauss(0, 1);
  for (auto _ : S) benchmark::DoNotOptimize(orv::DurbinWatson(E));
}
BENCHMARK(BM_DurbinWatson);

void BM_WilcoxonSRQuantile(benchmark::State& S) {
  int32_t n = 8;
  for (auto _ : S) {
    benchmark::DoNotOptimize(orv::WilcoxonSRQuantile(n, 0.03, true));
    n = n == 100 ? 8 : n + 1;
  }
}
BENCHMARK(BM_WilcoxonSRQuantile);

}  // namespace

BENCHMARK_MAIN();
