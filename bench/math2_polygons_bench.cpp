// Convex hull of random points beside a plain monotone chain on std::sort,
// both on fresh points every iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_math2.h"
#include "tests/support/hull_plain.h"

namespace {

using orv::TPDblArray;
using orv::TPointDouble;

// The peer: the textbook chain, no NaN filter and no start rotation.
TPDblArray PlainMonotoneChain(TPDblArray P) {
  std::sort(P.begin(), P.end(), [](const TPointDouble& A, const TPointDouble& B) {
    return A.X < B.X || (A.X == B.X && A.Y < B.Y);
  });
  return orv::test::MonotoneChain(P, [](const TPointDouble& O, const TPointDouble& A, const TPointDouble& B) {
    return (A.X - O.X) * (B.Y - O.Y) - (A.Y - O.Y) * (B.X - O.X);
  });
}

template <class HullFn>
void RunHull(benchmark::State& State, HullFn&& Hull) {
  TPDblArray P;
  orv::bench::RunFresh(
      State,
      [&](std::vector<double>& W) {
        P.resize(W.size() / 2);
        for (std::size_t I = 0; I < P.size(); ++I) P[I] = {W[2 * I], W[2 * I + 1]};
      },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(Hull(P).size()); });
}

void BM_Convex2DHull(benchmark::State& State) { RunHull(State, orv::Convex2DHull); }
void BM_PlainMonotoneChain(benchmark::State& State) {
  RunHull(State, [](const TPDblArray& P) { return PlainMonotoneChain(P); });
}
// Range: doubles drawn, two per point.
BENCHMARK(BM_Convex2DHull)->Arg(2000000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMonotoneChain)->Arg(2000000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// A traced contour of N vertices: a circle of radius 2e6 with radii
// jittered by up to 1 % (a simple polygon).
TPDblArray Contour(int N) {
  std::vector<double> W(static_cast<std::size_t>(N));
  orv::bench::FillRandom(W, 7);
  TPDblArray P(W.size());
  for (std::size_t I = 0; I < P.size(); ++I) {
    const double A = 2 * 3.141592653589793 * static_cast<double>(I) / N, R = 2e6 + W[I] * 0.02;
    P[I] = {R * std::cos(A), R * std::sin(A)};
  }
  return P;
}

void RunIntersections(benchmark::State& State, const TPDblArray& P) {
  int32_t Count = 0;
  for (auto _ : State) benchmark::DoNotOptimize(orv::PolygonArea(P, Count));
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_PolygonAreaIntersections(benchmark::State& State) {
  RunIntersections(State, Contour(static_cast<int>(State.range(0))));
}
// The same contour with a NaN vertex, which takes the plain pairwise loop.
void BM_PolygonAreaIntersectionsPairwise(benchmark::State& State) {
  TPDblArray P = Contour(static_cast<int>(State.range(0)));
  P.push_back({std::nan(""), 0});
  RunIntersections(State, P);
}
BENCHMARK(BM_PolygonAreaIntersections)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonAreaIntersectionsPairwise)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
