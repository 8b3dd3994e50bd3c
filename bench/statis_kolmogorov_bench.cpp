// KSPValue at n = 20000, d = 0.0095 (a matrix of order 381 raised to the
// power n) beside the same matrix power with Eigen's products (single
// thread); run the pair interleaved on a loaded machine:
//   statis_kolmogorov_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "orvcalckit/ORV_statis.h"

#ifdef ORV_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace {

constexpr int32_t N = 20000;
constexpr double D = 0.0095;

void BM_KSPValue(benchmark::State& S) {
  for (auto _ : S) benchmark::DoNotOptimize(orv::KSPValue(N, D));
}
BENCHMARK(BM_KSPValue)->Unit(benchmark::kMillisecond);

#ifdef ORV_HAVE_EIGEN
// Marsaglia, Tsang and Wang's method step by step with Eigen matrices.
void EigenPower(const Eigen::MatrixXd& H, int32_t p, Eigen::MatrixXd& V, int32_t& e) {
  if (p == 1) {
    V = H;
    e = 0;
    return;
  }
  EigenPower(H, p / 2, V, e);
  Eigen::MatrixXd B;
  B.noalias() = V * V;
  e *= 2;
  if (p % 2 == 1)
    V.noalias() = H * B;
  else
    V.swap(B);
  const Eigen::Index c = H.rows() / 2;
  if (c >= 1 && V(c - 1, c - 1) > 1e140) {
    V *= 1e-140;
    e += 140;
  }
}

double EigenKSPValue(int32_t n, double d) {
  const int32_t k = static_cast<int32_t>(n * d) + 1, m = 2 * k - 1;
  const double h = k - n * d;
  Eigen::MatrixXd H(m, m);
  for (int32_t i = 0; i < m; ++i)
    for (int32_t j = 0; j < m; ++j) H(i, j) = i - j + 1 >= 0 ? 1 : 0;
  for (int32_t i = 0; i < m; ++i) {
    H(i, 0) -= std::pow(h, i + 1);
    H(m - 1, i) -= std::pow(h, m - i);
  }
  if (2 * h - 1 > 0) H(m - 1, 0) += std::pow(2 * h - 1, m);
  // The divisions by 1, 2, .., i - j + 1 as the library makes them: the
  // cells that held 1 share one chain.
  Eigen::VectorXd Chain(m + 1);
  Chain(0) = 1;
  for (int32_t g = 1; g <= m; ++g) Chain(g) = Chain(g - 1) / g;
  for (int32_t j = 0; j < m; ++j)
    for (int32_t i = j; i < m; ++i) {
      if (j == 0 || i == m - 1)
        for (int32_t g = 1; g <= i - j + 1; ++g) H(i, j) /= g;
      else
        H(i, j) = Chain(i - j + 1);
    }
  Eigen::MatrixXd V;
  int32_t e = 0;
  EigenPower(H, n, V, e);
  double v = V(k - 1, k - 1);
  for (int32_t i = 1; i <= n; ++i) {
    v = v * i / n;
    if (v < 1e-140) {
      v *= 1e140;
      e -= 140;
    }
  }
  return 1 - v * std::pow(10.0, e);
}

void BM_KSPValueEigen(benchmark::State& S) {
  for (auto _ : S) benchmark::DoNotOptimize(EigenKSPValue(N, D));
  S.counters["diff"] = EigenKSPValue(N, D) - orv::KSPValue(N, D);
}
BENCHMARK(BM_KSPValueEigen)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
