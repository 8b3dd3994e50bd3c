// Plane geometry: distances in the loops of the polygon and nearest-point code.
#include <benchmark/benchmark.h>

#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "orvcorekit/Orv_system.h"

namespace {

std::vector<orv::TPointDouble> Points(int N) {
  orv::SetRandSeed(1);
  std::vector<orv::TPointDouble> P(N);
  for (auto& Q : P) Q = {orv::Random() * 20 - 10, orv::Random() * 20 - 10};
  return P;
}

void BM_EuclideanDistance(benchmark::State& S) {
  const auto P = Points(1024);
  for (auto _ : S) {
    double Sum = 0;
    for (size_t I = 1; I < P.size(); ++I) Sum += orv::EuclideanDistance(P[I - 1], P[I]);
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1023);
}
BENCHMARK(BM_EuclideanDistance);

void BM_DistanceToSegment(benchmark::State& S) {
  const auto P = Points(1024);
  for (auto _ : S) {
    double Sum = 0;
    for (size_t I = 2; I < P.size(); ++I) Sum += orv::DistanceToSegment(P[I], P[I - 2], P[I - 1]);
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1022);
}
BENCHMARK(BM_DistanceToSegment);

void BM_DistFromEllipse(benchmark::State& S) {
  const auto P = Points(1024);
  orv::TPointDouble N;
  for (auto _ : S) {
    double Sum = 0;
    for (const auto& Q : P) Sum += orv::DistFromEllipse(Q, 0.5, -0.25, 4, 2, N);
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1024);
}
BENCHMARK(BM_DistFromEllipse);

}  // namespace
