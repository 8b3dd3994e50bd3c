// TCurveFit: CalcPolyFit of 10^6 points, order 5 (also with a
// MathFeedBackProc assigned), beside GSL's
// gsl_multifit_linear on the same design (its SVD solver); EnterStatValue of
// 10^6 pairs beside a plain loop of the 33 running sums in long double.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "orvcalckit/ORV_math2.h"
#if ORV_HAVE_GSL
#include <gsl/gsl_multifit.h>
#endif

namespace {

constexpr int N = 1'000'000, Order = 5;

const std::vector<double>& Xs() {
  static const std::vector<double> X = [] {
    std::vector<double> V(N);
    for (int I = 0; I < N; ++I) V[I] = -1.0 + 2.0 * I / (N - 1);
    return V;
  }();
  return X;
}
double YOf(double X, int I) { return 1 - 2 * X + 0.5 * X * X * X - 0.25 * X * X * X * X * X + 1e-3 * std::sin(I * 1.7); }

// Feedback: with a MathFeedBackProc assigned, which makes the fit read a
// copy of the pairs.
void RunPolyFit(benchmark::State& State, bool Feedback) {
  orv::TCurveFit F;
  for (int I = 0; I < N; ++I) F.EnterStatValue(Xs()[I], YOf(Xs()[I], I));
  orv::TDoubleArray K, Alpha;
  double Q;
  bool Near;
  if (Feedback) orv::MathFeedBackProc = [](double) {};
  for (auto _ : State) {
    benchmark::DoNotOptimize(F.CalcPolyFit(Order, K, Alpha, Q, Near));
  }
  orv::MathFeedBackProc = nullptr;
}
void BM_CalcPolyFit(benchmark::State& State) { RunPolyFit(State, false); }
void BM_CalcPolyFitFeedback(benchmark::State& State) { RunPolyFit(State, true); }
BENCHMARK(BM_CalcPolyFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcPolyFitFeedback)->Unit(benchmark::kMillisecond);

#if ORV_HAVE_GSL
void BM_GslMultifitLinear(benchmark::State& State) {
  gsl_matrix* A = gsl_matrix_alloc(N, Order + 1);
  gsl_vector* Y = gsl_vector_alloc(N);
  gsl_vector* C = gsl_vector_alloc(Order + 1);
  gsl_matrix* Cov = gsl_matrix_alloc(Order + 1, Order + 1);
  gsl_multifit_linear_workspace* W = gsl_multifit_linear_alloc(N, Order + 1);
  for (auto _ : State) {
    // The design is built inside the loop, as CalcPolyFit builds its own.
    for (int I = 0; I < N; ++I) {
      double P = 1;
      for (int J = 0; J < Order; ++J) gsl_matrix_set(A, I, J, P *= Xs()[I]);
      gsl_matrix_set(A, I, Order, 1.0);
      gsl_vector_set(Y, I, YOf(Xs()[I], I));
    }
    double Chi2;
    benchmark::DoNotOptimize(gsl_multifit_linear(A, Y, C, Cov, &Chi2, W));
  }
  gsl_multifit_linear_free(W);
  gsl_matrix_free(Cov);
  gsl_vector_free(C);
  gsl_vector_free(Y);
  gsl_matrix_free(A);
}
BENCHMARK(BM_GslMultifitLinear)->Unit(benchmark::kMillisecond);
#endif

void BM_EnterStatValue(benchmark::State& State) {
  orv::TCurveFit F;
  for (auto _ : State) {
    F.Init();
    for (int I = 0; I < N; ++I) F.EnterStatValue(Xs()[I] + 2, YOf(Xs()[I], I) + 3);
    benchmark::DoNotOptimize(F.NumData());
  }
}
BENCHMARK(BM_EnterStatValue)->Unit(benchmark::kMillisecond);

// The same terms as the fitter adds for positive x and y, in a plain loop.
void BM_PlainSums(benchmark::State& State) {
  for (auto _ : State) {
    long double S[33] = {};
    for (int I = 0; I < N; ++I) {
      const long double x = Xs()[I] + 2, y = YOf(Xs()[I], I) + 3, d = x - y;
      const long double L = std::log(x), K = std::log(y);
      S[0] += x; S[1] += y; S[2] += x * x; S[3] += y * y; S[4] += d; S[5] += d * d; S[6] += x * y;
      S[7] += x * x * y; S[8] += x * y * y; S[9] += x * x * x; S[10] += y * y * y; S[11] += x * x * x * x;
      S[12] += y * y * y * y; S[13] += 1 / y; S[14] += 1 / x / y; S[15] += 1 / (y * y); S[16] += x / y;
      S[17] += y / x; S[18] += 1 / x; S[19] += 1 / (x * x); S[20] += L; S[21] += L * K; S[22] += L * L;
      S[23] += y * K; S[24] += y * L; S[25] += x * L; S[26] += L / y; S[27] += K / x; S[28] += K; S[29] += K * K;
      S[30] += x * K; S[31] += x * x * K; S[32] += y * y * L;
    }
    benchmark::DoNotOptimize(S);
  }
}
BENCHMARK(BM_PlainSums)->Unit(benchmark::kMillisecond);

}  // namespace
