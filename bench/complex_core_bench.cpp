// Complex division: the scaled method against the plain formula it replaces.
#include <benchmark/benchmark.h>

#include <vector>

#include "orvcalckit/ORV_complex.h"
#include "orvcorekit/Orv_system.h"

namespace {

std::vector<orv::TComplex> Numbers(int N) {
  orv::SetRandSeed(2);
  std::vector<orv::TComplex> Z(N);
  for (auto& C : Z) C = orv::Cpx(orv::Random() * 2 - 1, orv::Random() * 2 - 1);
  return Z;
}

void BM_CpxDiv(benchmark::State& S) {
  const auto Z = Numbers(1024);
  for (auto _ : S) {
    orv::TComplex Sum = orv::COMPLEX_0;
    for (size_t I = 1; I < Z.size(); ++I) Sum = orv::CpxAdd(Sum, orv::CpxDiv(Z[I - 1], Z[I]));
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1023);
}
BENCHMARK(BM_CpxDiv);

void BM_PlainDivision(benchmark::State& S) {
  const auto Z = Numbers(1024);
  for (auto _ : S) {
    orv::TComplex Sum = orv::COMPLEX_0;
    for (size_t I = 1; I < Z.size(); ++I) {
      const auto &A = Z[I - 1], &B = Z[I];
      const orv::Extended D = B.re * B.re + B.im * B.im;
      Sum = orv::CpxAdd(Sum, orv::Cpx((A.re * B.re + A.im * B.im) / D, (A.im * B.re - A.re * B.im) / D));
    }
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1023);
}
BENCHMARK(BM_PlainDivision);

void BM_CpxAbs(benchmark::State& S) {
  const auto Z = Numbers(1024);
  for (auto _ : S) {
    orv::Extended Sum = 0;
    for (const auto& C : Z) Sum += orv::CpxAbs(C);
    benchmark::DoNotOptimize(Sum);
  }
  S.SetItemsProcessed(S.iterations() * 1024);
}
BENCHMARK(BM_CpxAbs);

}  // namespace
