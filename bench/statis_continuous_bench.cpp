// The t, chi-square and F distributions per call beside GSL: chi-square and
// F upper tails for df 1..100 over the bulk of the distribution, the t
// quantile for p from 1e-12 to 1 - 1e-12, the F density.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/support/cycle_args.h"
#include "orvcalckit/ORV_statis.h"

#if ORV_HAVE_GSL
#include <gsl/gsl_cdf.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_randist.h>
#endif

namespace {

using namespace orv::bench;

struct TArgs {
  double X, D1, D2;
};
constexpr int Count = 1024;

std::vector<TArgs> MakeArgs(int Family) {
  std::mt19937_64 Gen(20261209 + Family);
  std::uniform_real_distribution<double> U(0, 1);
  std::uniform_int_distribution<int> Df(1, 100);
  std::vector<TArgs> V(Count);
  for (auto& R : V) {
    R.D1 = Df(Gen);
    R.D2 = Df(Gen);
    switch (Family) {
      case 0:  // chi-square: x around df, from a tenth to four times
        R.X = R.D1 * 0.1 * std::pow(40.0, U(Gen));
        break;
      case 1:  // F: x from 0.05 to 20
        R.X = 0.05 * std::pow(400.0, U(Gen));
        break;
      default: {  // t quantile: p log-uniform in either tail
        const double p = std::pow(1e-12, U(Gen)) / 2;
        R.X = U(Gen) < 0.5 ? p : 1 - p;
      }
    }
  }
  return V;
}

template <class F>
void Run(benchmark::State& State, int Family, F Fn) {
  RunCycling(State, MakeArgs(Family), Fn);
}

void BM_Chi2UpperTail(benchmark::State& S) {
  Run(S, 0, [](const TArgs& R) { return orv::Chi2DistriUpperTail(R.X, R.D1); });
}
void BM_FUpperTail(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return orv::FDistriUpperTail(R.X, R.D1, R.D2); });
}
void BM_tQuantile(benchmark::State& S) { Run(S, 2, [](const TArgs& R) { return orv::tDistriQuantile(R.X, R.D1); }); }
void BM_FDensity(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return orv::FDistriDensity(R.X, R.D1, R.D2); });
}
BENCHMARK(BM_Chi2UpperTail);
BENCHMARK(BM_FUpperTail);
BENCHMARK(BM_tQuantile);
BENCHMARK(BM_FDensity);

#if ORV_HAVE_GSL
const bool GslQuiet = (gsl_set_error_handler_off(), true);
void BM_Chi2UpperTailGsl(benchmark::State& S) {
  Run(S, 0, [](const TArgs& R) { return gsl_cdf_chisq_Q(R.X, R.D1); });
}
void BM_FUpperTailGsl(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return gsl_cdf_fdist_Q(R.X, R.D1, R.D2); });
}
void BM_tQuantileGsl(benchmark::State& S) { Run(S, 2, [](const TArgs& R) { return gsl_cdf_tdist_Pinv(R.X, R.D1); }); }
void BM_FDensityGsl(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return gsl_ran_fdist_pdf(R.X, R.D1, R.D2); });
}
BENCHMARK(BM_Chi2UpperTailGsl);
BENCHMARK(BM_FUpperTailGsl);
BENCHMARK(BM_tQuantileGsl);
BENCHMARK(BM_FDensityGsl);
#endif

}  // namespace
