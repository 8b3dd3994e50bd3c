// CalcDistMat (2000 rows x 50 columns, every mode) beside the same pairs,
// measures and result writes over row-major contiguous data.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;
using bench::FillRandom;

constexpr int32_t DistRows = 2000, DistCols = 50;

void BM_CalcDistMat(benchmark::State& St) {
  const auto Mode = static_cast<TDistMode>(St.range(0));
  TMatrix M(nullptr), D(nullptr);
  M.Resize(DistCols, DistRows);
  FillRandom(M);
  M.OnCalcDistance = [](TObject*, int32_t A, int32_t B, double& Dist) { Dist = A - B; };
  D.Resize(DistRows, DistRows);
  for (auto _ : St) {
    benchmark::DoNotOptimize(M.CalcDistMat(Mode, &D));
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * int64_t{DistRows} * (DistRows - 1) / 2);
}

// The same pairs, measures and result writes over row-major contiguous data.
template <int Mode>
double PlainMeasure(const double* X, const double* Y, int32_t N) {
  if constexpr (Mode == 0 || Mode == 4) {
    double Sxy = 0, Sxx = 0, Syy = 0;
    for (int32_t C = 0; C < N; ++C) {
      Sxy += X[C] * Y[C];
      Sxx += X[C] * X[C];
      Syy += Y[C] * Y[C];
    }
    return Mode == 0 ? Sxy / (Sxx + Syy - Sxy) : 2 * Sxy / (Sxx + Syy);
  } else if constexpr (Mode == 1) {
    double S = 0;
    for (int32_t C = 0; C < N; ++C) S += std::fabs(X[C] - Y[C]);
    return S;
  } else {
    double S = 0;
    for (int32_t C = 0; C < N; ++C) {
      const double D = X[C] - Y[C];
      S += D * D;
    }
    return Mode == 2 ? std::sqrt(S) : S;
  }
}

template <int Mode>
void BM_PlainDistMat(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(DistCols, DistRows);
  FillRandom(M);
  std::vector<double> X(static_cast<size_t>(DistRows) * DistCols);
  for (int32_t R = 0; R < DistRows; ++R)
    for (int32_t C = 0; C < DistCols; ++C) X[static_cast<size_t>(R) * DistCols + C] = M.Elem(C + 1, R + 1);
  std::vector<double> D(static_cast<size_t>(DistRows) * DistRows);
  // The host's handler is called through a std::function it cannot see into, as in the library.
  TOnCalcDistanceEvent Host = [](TObject*, int32_t A, int32_t B, double& Dist) { Dist = A - B; };
  benchmark::DoNotOptimize(Host);
  for (auto _ : St) {
    for (int32_t I = 0; I < DistRows; ++I) {
      D[static_cast<size_t>(I) * DistRows + I] = 0;
      for (int32_t J = I + 1; J < DistRows; ++J) {
        double V;
        if constexpr (Mode == 5) {
          V = 0;
          Host(&M, I + 1, J + 1, V);
        } else {
          V = PlainMeasure<Mode>(&X[static_cast<size_t>(I) * DistCols], &X[static_cast<size_t>(J) * DistCols],
                                 DistCols);
        }
        D[static_cast<size_t>(I) * DistRows + J] = V;
        D[static_cast<size_t>(J) * DistRows + I] = V;
      }
    }
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * int64_t{DistRows} * (DistRows - 1) / 2);
}

}  // namespace

BENCHMARK(BM_CalcDistMat)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<0>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<1>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<2>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<3>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<4>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<5>)->Unit(benchmark::kMillisecond);
