// The normal distribution per call beside plain versions of the same methods
// (bench/support/statis_plain.h) and GSL: nDistriIntegral on -8..8,
// nDistriQuantile on 1e-10..1 - 1e-10 (log-uniform tails).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench/support/cycle_args.h"
#include "bench/support/statis_plain.h"
#include "orvcalckit/ORV_statis.h"

#if ORV_HAVE_GSL
#include <gsl/gsl_cdf.h>
#endif

namespace {

using namespace orv::bench;

constexpr int Count = 1024;

// Arguments of nDistriIntegral (Quantile false) or nDistriQuantile.
std::vector<double> MakeArgs(bool Quantile) {
  std::mt19937_64 Gen(20240612);
  std::uniform_real_distribution<double> U(0, 1);
  std::vector<double> V(Count);
  for (double& x : V) {
    if (!Quantile) {
      x = 16 * U(Gen) - 8;
    } else {
      const double Tail = std::pow(1e-10, U(Gen)) / 2;
      x = U(Gen) < 0.5 ? Tail : 1 - Tail;
    }
  }
  return V;
}

template <class F>
void Run(benchmark::State& State, bool Quantile, F Fn) {
  RunCycling(State, MakeArgs(Quantile), Fn);
}

void BM_nDistriIntegral(benchmark::State& S) { Run(S, false, [](double x) { return orv::nDistriIntegral(x); }); }
void BM_nDistriIntegralPlain(benchmark::State& S) { Run(S, false, PlainNormalIntegral); }
void BM_nDistriQuantile(benchmark::State& S) { Run(S, true, [](double p) { return orv::nDistriQuantile(p); }); }
void BM_nDistriQuantilePlain(benchmark::State& S) { Run(S, true, PlainNormalQuantile); }
BENCHMARK(BM_nDistriIntegral);
BENCHMARK(BM_nDistriIntegralPlain);
BENCHMARK(BM_nDistriQuantile);
BENCHMARK(BM_nDistriQuantilePlain);

#if ORV_HAVE_GSL
void BM_nDistriIntegralGsl(benchmark::State& S) { Run(S, false, gsl_cdf_ugaussian_P); }
void BM_nDistriQuantileGsl(benchmark::State& S) { Run(S, true, gsl_cdf_ugaussian_Pinv); }
BENCHMARK(BM_nDistriIntegralGsl);
BENCHMARK(BM_nDistriQuantileGsl);
#endif

}  // namespace
