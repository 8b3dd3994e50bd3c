// ChebychevFilter (4 poles, zero phase) over 10^6 points beside a plain
// forward-backward loop on std::vector<double> with the same recursion and
// zero padding.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/signal_data.h"
#include "orvcalckit/ORV_math2.h"

namespace {

constexpr int32_t N = 1000000;
constexpr int32_t NPoles = 4, G = NPoles + 1;

struct TSetup {
  orv::TVector Src, Dst;
  orv::TMatrix Coeffs;
  double A0 = 0;
  std::vector<double> X;
  TSetup() : X(orv::bench::UniformSignal(N, 5)) {
    Src.Resize(N);
    Src.CopyFromArray(X, 1);
    Dst.Resize(N);
    orv::CalcChebFilterCoeffs(NPoles, false, 0.1, 0.5, A0, &Coeffs);
  }
};
TSetup& Setup() {
  static TSetup* S = new TSetup;
  return *S;
}

void BM_ChebychevFilter(benchmark::State& S) {
  TSetup& T = Setup();
  for (auto _ : S) {
    orv::ChebychevFilter(&T.Src, 1, N, &T.Dst, T.A0, &T.Coeffs);
    benchmark::ClobberMemory();
  }
}

void BM_ChebychevFilterPlainLoop(benchmark::State& S) {
  TSetup& T = Setup();
  double A[NPoles + 1], B[NPoles + 1];
  for (int32_t R = 1; R <= NPoles; ++R) {
    A[R] = T.Coeffs.GetVal(1, R);
    B[R] = T.Coeffs.GetVal(2, R);
  }
  const int32_t Len = N + 2 * G;
  for (auto _ : S) {
    // x(j - g) at U[NPoles + j - 1]; y and z with NPoles zeros on each side.
    std::vector<double> U(Len + NPoles), Y(Len + 2 * NPoles), Z(Len + NPoles);
    std::copy(T.X.begin(), T.X.end(), U.begin() + NPoles + G);
    for (int32_t J = 0; J < Len; ++J) {
      double Sum = T.A0 * U[NPoles + J];
      for (int32_t R = 1; R <= NPoles; ++R) Sum += A[R] * U[NPoles + J - R] + B[R] * Y[NPoles + J - R];
      Y[NPoles + J] = Sum;
    }
    for (int32_t J = Len - 1; J >= 0; --J) {
      double Sum = T.A0 * Y[NPoles + J];
      for (int32_t R = 1; R <= NPoles; ++R) Sum += A[R] * Y[NPoles + J + R] + B[R] * Z[J + R];
      Z[J] = Sum;
    }
    benchmark::DoNotOptimize(Z.data());
  }
}

BENCHMARK(BM_ChebychevFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChebychevFilterPlainLoop)->Unit(benchmark::kMillisecond);

}  // namespace
