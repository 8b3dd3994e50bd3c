// TMatrix block statistics of a 2000 x 2000 matrix beside plain loops over
// the same columns: MeanVar (one pass of sums), SkewKurt (two passes) and
// MinMax; Percentile of 10^6 cells (fresh values in every iteration, also
// cells holding only 0..9) beside copying them and std::nth_element. Run
// the pairs interleaved on a loaded machine:
//   matrix_stats_bench --benchmark_enable_random_interleaving=true --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

using namespace orv;

constexpr int32_t Side = 2000;

const TMatrix& Big() {
  static TMatrix* M = [] {
    auto* P = new TMatrix(nullptr);
    P->Resize(Side, Side);
    bench::FillRandom(*P);
    return P;
  }();
  return *M;
}

// Calls F(column pointer) for every column of Big().
template <class F>
void ForColumns(F&& Fn) {
  for (const auto& Col : Big().Mat) Fn(Col.data());
}

void BM_MeanVar(benchmark::State& St) {
  double Mean, Var;
  for (auto _ : St) {
    Big().MeanVar(0, 0, 0, 0, Mean, Var);
    benchmark::DoNotOptimize(Var);
  }
}
void BM_MeanVarPlainLoop(benchmark::State& St) {
  for (auto _ : St) {
    double S = 0, Q = 0;
    ForColumns([&](const double* X) {
      for (int32_t R = 0; R < Side; ++R) {
        S += X[R];
        Q += X[R] * X[R];
      }
    });
    const double N = double(Side) * Side;
    benchmark::DoNotOptimize((Q - S * S / N) / (N - 1));
  }
}

void BM_SkewKurt(benchmark::State& St) {
  double Skew, Kurt;
  for (auto _ : St) {
    Big().SkewKurt(0, 0, 0, 0, Skew, Kurt);
    benchmark::DoNotOptimize(Kurt);
  }
}
void BM_SkewKurtPlainLoop(benchmark::State& St) {
  const double N = double(Side) * Side;
  for (auto _ : St) {
    double S = 0;
    ForColumns([&](const double* X) {
      for (int32_t R = 0; R < Side; ++R) S += X[R];
    });
    const double M = S / N;
    double Q = 0, S3 = 0, S4 = 0;
    ForColumns([&](const double* X) {
      for (int32_t R = 0; R < Side; ++R) {
        const double D = X[R] - M, D2 = D * D;
        Q += D2;
        S3 += D2 * D;
        S4 += D2 * D2;
      }
    });
    const double Sd = std::sqrt(Q / (N - 1));
    benchmark::DoNotOptimize(S3 / N / (Sd * Sd * Sd));
    benchmark::DoNotOptimize(S4 / N / (Sd * Sd * Sd * Sd) - 3);
  }
}

void BM_MinMax(benchmark::State& St) {
  double Min, Max;
  for (auto _ : St) {
    Big().MinMax(0, 0, 0, 0, Min, Max);
    benchmark::DoNotOptimize(Max);
  }
}
void BM_MinMaxPlainLoop(benchmark::State& St) {
  for (auto _ : St) {
    double Min = uc_MaxReal, Max = -uc_MaxReal;
    ForColumns([&](const double* X) {
      for (int32_t R = 0; R < Side; ++R) {
        Min = !(X[R] >= Min) ? X[R] : Min;
        Max = X[R] > Max ? X[R] : Max;
      }
    });
    benchmark::DoNotOptimize(Min);
    benchmark::DoNotOptimize(Max);
  }
}

// ---- percentile of 10^6 cells: range(0) the cells, range(1) 0 for uniform
// values, 1 for the values 0..9 only ----
constexpr int32_t PSide = 1000;

void Digits(std::vector<double>& W, int64_t Kind) {
  if (Kind == 1)
    for (double& X : W) X = std::floor(std::fabs(X)) - 10 * std::floor(std::fabs(X) / 10);
}

void BM_Percentile(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(PSide, PSide);
  bench::RunFresh(
      St,
      [&](std::vector<double>& W) {
        Digits(W, St.range(1));
        for (int32_t C = 0; C < PSide; ++C) std::copy_n(W.begin() + C * PSide, PSide, M.Mat[std::size_t(C)].begin());
      },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(M.Percentile(37.5, 0, 0, 0, 0)); });
}
void BM_CopyNthElement(benchmark::State& St) {
  bench::RunFresh(
      St, [&](std::vector<double>& W) { Digits(W, St.range(1)); },
      [](std::vector<double>& W) {
        std::vector<double> C(W);
        auto K = C.begin() + static_cast<std::ptrdiff_t>(C.size() * 3 / 8);
        std::nth_element(C.begin(), K, C.end());
        benchmark::DoNotOptimize(*K);
      });
}

#define ORV_ONE_SIZE Unit(benchmark::kMillisecond)
#define ORV_FRESH Args({PSide * PSide, 0})->Args({PSide * PSide, 1})->UseManualTime()->Unit(benchmark::kMillisecond)
BENCHMARK(BM_MeanVar)->ORV_ONE_SIZE;
BENCHMARK(BM_MeanVarPlainLoop)->ORV_ONE_SIZE;
BENCHMARK(BM_SkewKurt)->ORV_ONE_SIZE;
BENCHMARK(BM_SkewKurtPlainLoop)->ORV_ONE_SIZE;
BENCHMARK(BM_MinMax)->ORV_ONE_SIZE;
BENCHMARK(BM_MinMaxPlainLoop)->ORV_ONE_SIZE;
BENCHMARK(BM_Percentile)->ORV_FRESH;
BENCHMARK(BM_CopyNthElement)->ORV_FRESH;

}  // namespace
