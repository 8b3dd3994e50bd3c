// The special functions per call beside plain versions of the same methods
// (bench/support/statis_plain.h) and GSL: LnGamma on 0.01..200,
// IncompleteGamma for a in 0.1..1000 around x = a, IncompleteBeta for a, b in
// 0.3..1000 around the mean, Erf on -4..4.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/support/cycle_args.h"
#include "bench/support/statis_plain.h"
#include "orvcalckit/ORV_statis.h"

#if ORV_HAVE_GSL
#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_erf.h>
#include <gsl/gsl_sf_gamma.h>
#endif

namespace {

using namespace orv::bench;

// 1024 argument triples (x, a, b) per family, the same for every peer.
struct TArgs {
  double X, A, B;
};
constexpr int Count = 1024;

std::vector<TArgs> MakeArgs(int Family) {
  std::mt19937_64 Gen(20240611 + Family);
  std::uniform_real_distribution<double> U(0, 1);
  std::vector<TArgs> V(Count);
  for (auto& R : V) {
    switch (Family) {
      case 0:  // ln Gamma
        R.X = 0.01 * std::pow(2e4, U(Gen));
        break;
      case 1:  // P(a, x)
        R.A = 0.1 * std::pow(1e4, U(Gen));
        R.X = R.A * (0.3 + 1.7 * U(Gen));
        break;
      case 2: {  // I_x(a, b)
        R.A = 0.3 * std::pow(1e3 / 0.3, U(Gen));
        R.B = 0.3 * std::pow(1e3 / 0.3, U(Gen));
        const double s = R.A + R.B, Mean = R.A / s, Sd = std::sqrt(R.A * R.B / (s * s * (s + 1)));
        R.X = std::fmin(std::fmax(Mean + Sd * (4 * U(Gen) - 2), 1e-3), 1 - 1e-3);
        break;
      }
      default:  // erf
        R.X = 8 * U(Gen) - 4;
    }
  }
  return V;
}

template <class F>
void Run(benchmark::State& State, int Family, F Fn) {
  RunCycling(State, MakeArgs(Family), Fn);
}

void BM_LnGamma(benchmark::State& S) { Run(S, 0, [](const TArgs& R) { return orv::LnGamma(R.X); }); }
void BM_LnGammaPlain(benchmark::State& S) { Run(S, 0, [](const TArgs& R) { return PlainLnGamma(R.X); }); }
void BM_IncompleteGamma(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return orv::IncompleteGamma(R.X, R.A); });
}
void BM_IncompleteGammaPlain(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return PlainIncompleteGamma(R.X, R.A); });
}
void BM_IncompleteBeta(benchmark::State& S) {
  Run(S, 2, [](const TArgs& R) { return orv::IncompleteBeta(R.X, R.A, R.B); });
}
void BM_IncompleteBetaPlain(benchmark::State& S) {
  Run(S, 2, [](const TArgs& R) { return PlainIncompleteBeta(R.X, R.A, R.B); });
}
void BM_Erf(benchmark::State& S) { Run(S, 3, [](const TArgs& R) { return orv::Erf(R.X); }); }
void BM_ErfPlain(benchmark::State& S) { Run(S, 3, [](const TArgs& R) { return PlainErf(R.X); }); }
BENCHMARK(BM_LnGamma);
BENCHMARK(BM_LnGammaPlain);
BENCHMARK(BM_IncompleteGamma);
BENCHMARK(BM_IncompleteGammaPlain);
BENCHMARK(BM_IncompleteBeta);
BENCHMARK(BM_IncompleteBetaPlain);
BENCHMARK(BM_Erf);
BENCHMARK(BM_ErfPlain);

#if ORV_HAVE_GSL
const bool GslQuiet = (gsl_set_error_handler_off(), true);
void BM_LnGammaGsl(benchmark::State& S) { Run(S, 0, [](const TArgs& R) { return gsl_sf_lngamma(R.X); }); }
void BM_IncompleteGammaGsl(benchmark::State& S) {
  Run(S, 1, [](const TArgs& R) { return gsl_sf_gamma_inc_P(R.A, R.X); });
}
void BM_IncompleteBetaGsl(benchmark::State& S) {
  Run(S, 2, [](const TArgs& R) { return gsl_sf_beta_inc(R.A, R.B, R.X); });
}
void BM_ErfGsl(benchmark::State& S) { Run(S, 3, [](const TArgs& R) { return gsl_sf_erf(R.X); }); }
BENCHMARK(BM_LnGammaGsl);
BENCHMARK(BM_IncompleteGammaGsl);
BENCHMARK(BM_IncompleteBetaGsl);
BENCHMARK(BM_ErfGsl);
#endif

}  // namespace
