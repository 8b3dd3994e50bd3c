// FloodFillArray over a full 4000 x 4000 region and over a maze (open cells
// with probability 0.62, just above the percolation threshold, so its
// largest region winds through the whole array), Integer and double with a
// tolerance, beside a plain breadth-first fill with a map of the cells
// visited. Every iteration fills the region and the next fills it back, so
// no copy is timed. EdgeVector over 2000 x 2000 doubles per row and per
// column, beside the plain loops over one line at a time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/array_data.h"
#include "orvcalckit/ORV_openarrays.h"

namespace {

using orv::TDouble2DArray;
using orv::TInt2DArray;

constexpr int32_t N = 4000;

// Open cells 0 (or 1 + a little noise), walls 2 (5.0); the seed (N / 2, N / 2) is open.
template <class T>
std::vector<std::vector<T>> MakeMaze(T OpenBase, double Noise, T Wall) {
  orv::SetRandSeed(11);
  std::vector<std::vector<T>> A(N, std::vector<T>(N));
  for (auto& Col : A)
    for (T& X : Col) X = orv::Random() < 0.62 ? static_cast<T>(OpenBase + Noise * orv::Random()) : Wall;
  A[N / 2][N / 2] = OpenBase;
  return A;
}

TInt2DArray& IntArray(bool Maze) {
  static TInt2DArray Full(N, orv::TIntArray(N, 0)), Walls = MakeMaze<int32_t>(0, 0, 2);
  return Maze ? Walls : Full;
}
TDouble2DArray& DoubleArray(bool Maze) {
  static TDouble2DArray Full(N, orv::TDoubleArray(N, 1.0)), Walls = MakeMaze<double>(1.0, 0.01, 5.0);
  return Maze ? Walls : Full;
}

// The peer: breadth-first over the four edge neighbours, a visited map, a
// queue of cells.
template <class T, class F>
int64_t PlainFill(std::vector<std::vector<T>>& A, int32_t X, int32_t Y, T NewValue, F Match) {
  const int32_t NC = static_cast<int32_t>(A.size()), NR = static_cast<int32_t>(A[0].size());
  std::vector<uint8_t> Seen(static_cast<std::size_t>(NC) * NR);
  std::vector<std::pair<int32_t, int32_t>> Queue{{X, Y}};
  Seen[static_cast<std::size_t>(X) * NR + Y] = 1;
  for (std::size_t Head = 0; Head < Queue.size(); ++Head) {
    const auto [C, R] = Queue[Head];
    A[C][R] = NewValue;
    const auto Visit = [&](int32_t NC2, int32_t NR2) {
      uint8_t& S = Seen[static_cast<std::size_t>(NC2) * NR + NR2];
      if (!S && Match(A[NC2][NR2])) {
        S = 1;
        Queue.push_back({NC2, NR2});
      }
    };
    if (C > 0) Visit(C - 1, R);
    if (C + 1 < NC) Visit(C + 1, R);
    if (R > 0) Visit(C, R - 1);
    if (R + 1 < NR) Visit(C, R + 1);
  }
  return static_cast<int64_t>(Queue.size());
}

void BM_FloodFillInt(benchmark::State& S) {
  auto& A = IntArray(S.range(0) != 0);
  int32_t Box[4], Old = A[N / 2][N / 2];
  for (auto _ : S) {
    benchmark::DoNotOptimize(orv::FloodFillArray(N / 2, N / 2, 1 - Old, A, Box[0], Box[1], Box[2], Box[3]));
    Old = 1 - Old;
  }
}

void BM_PlainFillInt(benchmark::State& S) {
  auto& A = IntArray(S.range(0) != 0);
  int32_t Old = A[N / 2][N / 2];
  for (auto _ : S) {
    benchmark::DoNotOptimize(PlainFill(A, N / 2, N / 2, 1 - Old, [Old](int32_t X) { return X == Old; }));
    Old = 1 - Old;
  }
}

// Tol 0.5 around the seed, NewValue outside it (9 and back to 1) or, with
// range(1), the seed's own value, which matches and so takes the map.
void BM_FloodFillDouble(benchmark::State& S) {
  auto& A = DoubleArray(S.range(0) != 0);
  int32_t Box[4];
  const bool Same = S.range(1) != 0;
  for (auto _ : S) {
    const double New = Same ? A[N / 2][N / 2] : A[N / 2][N / 2] < 2 ? 9.0 : 1.0;
    benchmark::DoNotOptimize(orv::FloodFillArray(N / 2, N / 2, 0.5, New, A, Box[0], Box[1], Box[2], Box[3]));
  }
}

void BM_PlainFillDouble(benchmark::State& S) {
  auto& A = DoubleArray(S.range(0) != 0);
  for (auto _ : S) {
    const double Old = A[N / 2][N / 2], New = Old < 2 ? 9.0 : 1.0;
    const auto Match = [Old](double X) { return Old - 0.5 <= X && X <= Old + 0.5; };
    benchmark::DoNotOptimize(PlainFill(A, N / 2, N / 2, New, Match));
  }
}

// range(0): 0 the full region, 1 the maze.
BENCHMARK(BM_FloodFillInt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFillInt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillDouble)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFillDouble)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

const TDouble2DArray& Grid() {
  static const TDouble2DArray G = orv::bench::RandomGrid(2000, 2000, -1e6, 1e6);
  return G;
}

// range(0): orientation (0 per row, 1 per column); range(1): the TEdgeOp.
void BM_EdgeVector(benchmark::State& S) {
  orv::TDoubleArray V;
  const auto Orient = static_cast<orv::TOrientation>(S.range(0));
  const auto Op = static_cast<orv::TEdgeOp>(S.range(1));
  for (auto _ : S) {
    orv::EdgeVector(Grid(), Orient, Op, V);
    benchmark::DoNotOptimize(V.data());
  }
}

void BM_PlainEdgeVector(benchmark::State& S) {
  const bool PerRow = S.range(0) == 0, Sum = S.range(1) == orv::eoSum;
  const TDouble2DArray& A = Grid();
  for (auto _ : S) {
    orv::TDoubleArray V(PerRow ? A[0].size() : A.size());
    for (std::size_t L = 0; L < V.size(); ++L) {
      double Acc = Sum ? 0 : orv::uc_MaxDouble;
      const std::size_t Cells = PerRow ? A.size() : A[0].size();
      for (std::size_t K = 0; K < Cells; ++K) {
        const double X = PerRow ? A[K][L] : A[L][K];
        if (Sum)
          Acc += X;
        else if (X < Acc)
          Acc = X;
      }
      V[L] = Acc;
    }
    benchmark::DoNotOptimize(V.data());
  }
}

BENCHMARK(BM_EdgeVector)->Args({0, orv::eoSum})->Args({1, orv::eoSum})->Args({0, orv::eoMinimum})->Args({1, orv::eoMinimum})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainEdgeVector)->Args({0, orv::eoSum})->Args({1, orv::eoSum})->Args({0, orv::eoMinimum})->Args({1, orv::eoMinimum})->Unit(benchmark::kMicrosecond);

}  // namespace
