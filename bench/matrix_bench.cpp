// TMatrix kernels beside plain loops over the same numbers in one contiguous
// std::vector<double>: element reads and writes and Clone (1000 x 1000, no
// handlers), CalcDistMat (2000 rows x 50 columns, every mode), SortRows
// (10^6 rows).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/combsort.h"
#include "orvcalckit/ORV_matrix.h"

namespace {

using namespace orv;

constexpr int32_t Side = 1000;

void FillRandom(TMatrix& M) {
  SetRandSeed(1);
  for (int32_t C = 1; C <= M.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) M.SetVal(C, R, Random());
}

std::vector<double> ColumnMajor(const TMatrix& M) {
  std::vector<double> A;
  for (int32_t C = 1; C <= M.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= M.NrOfRows(); ++R) A.push_back(M.Elem(C, R));
  return A;
}

// ---- element reads and writes ----

void BM_ElemRead(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  for (auto _ : St) {
    double S = 0;
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) S += M.Elem(C, R);
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_PlainRead(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  const std::vector<double> A = ColumnMajor(M);
  for (auto _ : St) {
    double S = 0;
    for (int32_t C = 0; C < Side; ++C)
      for (int32_t R = 0; R < Side; ++R) S += A[static_cast<size_t>(C) * Side + R];
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_ElemWrite(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) M.SetElem(C, R, R * 0.5 + C);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

void BM_PlainWrite(benchmark::State& St) {
  std::vector<double> A(static_cast<size_t>(Side) * Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      for (int32_t R = 1; R <= Side; ++R) A[static_cast<size_t>(C - 1) * Side + (R - 1)] = R * 0.5 + C;
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

// The same loop kept scalar: what a loop that must look at every cell costs.
#ifdef __clang__
#define ORV_SCALAR_FUNCTION
#define ORV_SCALAR_LOOP _Pragma("clang loop vectorize(disable) interleave(disable)")
#else
#define ORV_SCALAR_FUNCTION __attribute__((optimize("no-tree-vectorize")))
#define ORV_SCALAR_LOOP
#endif
ORV_SCALAR_FUNCTION void BM_PlainWriteScalar(benchmark::State& St) {
  std::vector<double> A(static_cast<size_t>(Side) * Side);
  for (auto _ : St) {
    for (int32_t C = 1; C <= Side; ++C)
      ORV_SCALAR_LOOP
      for (int32_t R = 1; R <= Side; ++R) A[static_cast<size_t>(C - 1) * Side + (R - 1)] = R * 0.5 + C;
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * Side * Side);
}

// ---- Clone ----

void BM_Clone(benchmark::State& St) {
  TMatrix Src(nullptr), Dst(nullptr);
  Src.Resize(Side, Side);
  FillRandom(Src);
  Dst.Resize(Side, Side);
  for (auto _ : St) {
    Dst.Clone(&Src);
    benchmark::ClobberMemory();
  }
  St.SetBytesProcessed(St.iterations() * Side * Side * 8);
}

void BM_PlainCopy(benchmark::State& St) {
  TMatrix M(nullptr);
  M.Resize(Side, Side);
  FillRandom(M);
  const std::vector<double> Src = ColumnMajor(M);
  std::vector<double> Dst(Src.size());
  for (auto _ : St) {
    for (size_t I = 0; I < Src.size(); ++I) Dst[I] = Src[I];
    benchmark::ClobberMemory();
  }
  St.SetBytesProcessed(St.iterations() * Side * Side * 8);
}

// ---- CalcDistMat ----

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

// ---- SortRows ----

constexpr int32_t SortN = 1000000, SortCols = 3;

void BM_SortRows(benchmark::State& St) {
  TMatrix Src(nullptr), M(nullptr);
  Src.Resize(SortCols, SortN);
  FillRandom(Src);
  for (auto _ : St) {
    St.PauseTiming();
    M.Assign(&Src);
    St.ResumeTiming();
    M.SortRows(1, true, 0, 0, 0, 0);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * SortN);
}

// The same comb sort (gaps, comparisons and exchanges) over three contiguous
// columns in one vector.
void BM_PlainSortRows(benchmark::State& St) {
  TMatrix Src(nullptr);
  Src.Resize(SortCols, SortN);
  FillRandom(Src);
  const std::vector<double> Orig = ColumnMajor(Src);
  std::vector<double> A;
  for (auto _ : St) {
    St.PauseTiming();
    A = Orig;
    St.ResumeTiming();
    double* P = A.data();
    int64_t Gap = SortN - 1;
    bool Swapped;
    do {
      Gap = detail::CombNextGap(Gap);
      Swapped = false;
      for (int64_t I = 0; I + Gap < SortN; ++I)
        if (P[I] > P[I + Gap]) {
          for (int C = 0; C < SortCols; ++C) std::swap(P[C * int64_t{SortN} + I], P[C * int64_t{SortN} + I + Gap]);
          Swapped = true;
        }
    } while (Gap > 1 || Swapped);
    benchmark::ClobberMemory();
  }
  St.SetItemsProcessed(St.iterations() * SortN);
}

}  // namespace

BENCHMARK(BM_ElemRead);
BENCHMARK(BM_PlainRead);
BENCHMARK(BM_ElemWrite);
BENCHMARK(BM_PlainWrite);
BENCHMARK(BM_PlainWriteScalar);
BENCHMARK(BM_Clone);
BENCHMARK(BM_PlainCopy);
BENCHMARK(BM_CalcDistMat)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<0>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<1>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<2>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<3>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<4>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDistMat<5>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSortRows)->Unit(benchmark::kMillisecond);
