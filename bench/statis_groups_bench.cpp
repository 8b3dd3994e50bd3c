// One-way analysis of variance of 10^6 values in 100 groups beside a plain
// loop that knows the groups are 0..99 (sums, squares and group sums, then
// F); Levene's test on the same data, and on 10 groups of 10^5 values that
// come group after group (as a sample usually comes, and as
// scipy.stats.levene takes it: bench/compare_numpy.py times it on the same
// values).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "bench/support/fresh_data.h"

namespace {

constexpr int32_t N = 1000000, Groups = 100;

struct TData {
  std::vector<double> X;
  std::vector<int32_t> G;
  orv::TVector V{nullptr};
  orv::TIntVector L{nullptr};
  TData(std::vector<double> Values, std::vector<int32_t> Labels) : X(std::move(Values)), G(std::move(Labels)) {
    V.Resize(N);
    L.Resize(N);
    for (int32_t i = 0; i < N; ++i) {
      V.SetVal(i + 1, X[i]);
      L.SetVal(i + 1, G[i]);
    }
  }
};

// Normal values, labels 0..99 drawn at random.
const TData& Data() {
  static const TData D = [] {
    std::mt19937_64 Gen(20261209);
    std::normal_distribution<double> Norm(50, 10);
    std::uniform_int_distribution<int32_t> U(0, Groups - 1);
    std::vector<double> X(N);
    std::vector<int32_t> G(N);
    for (int32_t i = 0; i < N; ++i) {
      G[i] = U(Gen);
      X[i] = Norm(Gen) + 0.01 * G[i];
    }
    return TData(std::move(X), std::move(G));
  }();
  return D;
}

// Labels 0..9, each on 10^5 values one after the other; the values of group
// g are FillRandom's of seed 46 times 1 + g / 10 (spreads that differ).
const TData& TenGroups() {
  static const TData D = [] {
    std::vector<double> X(N);
    std::vector<int32_t> G(N);
    orv::bench::FillRandom(X, 46);
    for (int32_t i = 0; i < N; ++i) {
      G[i] = i / (N / 10);
      X[i] *= 1 + G[i] / 10.0;
    }
    return TData(std::move(X), std::move(G));
  }();
  return D;
}

void BM_Anova1F(benchmark::State& State) {
  const TData& D = Data();
  for (auto _ : State) {
    double SSB, SSW, SST, F;
    int32_t dfB, dfW, dfT;
    benchmark::DoNotOptimize(orv::Anova1F(&D.V, &D.L, SSB, SSW, SST, dfB, dfW, dfT, F));
  }
  State.SetItemsProcessed(State.iterations() * N);
}

void BM_AnovaPlain(benchmark::State& State) {
  const TData& D = Data();
  for (auto _ : State) {
    std::vector<double> Sum(Groups, 0.0);
    std::vector<int64_t> Count(Groups, 0);
    double S = 0, Q2 = 0;
    for (int32_t i = 0; i < N; ++i) {
      const double x = D.X[i];
      S += x;
      Q2 += x * x;
      Sum[D.G[i]] += x;
      ++Count[D.G[i]];
    }
    double G = 0;
    for (int32_t g = 0; g < Groups; ++g) G += Sum[g] * Sum[g] / Count[g];
    const double SSB = G - S * S / N, SSW = Q2 - G;
    benchmark::DoNotOptimize(orv::FDistriUpperTail((SSB / (Groups - 1)) / (SSW / (N - Groups)), Groups - 1, N - Groups));
  }
  State.SetItemsProcessed(State.iterations() * N);
}

// LeveneTest on the data of Of(): the groups of Data() or of TenGroups().
template <const TData& (*Of)()>
void BM_Levene(benchmark::State& State) {
  const TData& D = Of();
  for (auto _ : State) {
    double F;
    benchmark::DoNotOptimize(orv::LeveneTest(&D.V, &D.L, F));
  }
  State.SetItemsProcessed(State.iterations() * N);
}

BENCHMARK(BM_Anova1F)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnovaPlain)->Unit(benchmark::kMillisecond);

// The two passes written plainly for groups known to be 0..9.
void BM_LevenePlainTenGroups(benchmark::State& State) {
  const TData& D = TenGroups();
  constexpr int32_t K = 10;
  for (auto _ : State) {
    double Sum[K] = {}, Count[K] = {}, Z[K] = {}, S = 0, Q2 = 0;
    for (int32_t i = 0; i < N; ++i) {
      Sum[D.G[i]] += D.X[i];
      Count[D.G[i]] += 1;
    }
    for (int32_t g = 0; g < K; ++g) Sum[g] /= Count[g];
    for (int32_t i = 0; i < N; ++i) {
      const double z = std::fabs(D.X[i] - Sum[D.G[i]]);
      S += z;
      Q2 += z * z;
      Z[D.G[i]] += z;
    }
    double G = 0;
    for (int32_t g = 0; g < K; ++g) G += Z[g] * Z[g] / Count[g];
    const double SSB = G - S * S / N, SSW = Q2 - G;
    benchmark::DoNotOptimize(orv::FDistriUpperTail((SSB / (K - 1)) / (SSW / (N - K)), K - 1, N - K));
  }
  State.SetItemsProcessed(State.iterations() * N);
}

BENCHMARK(BM_Levene<Data>)->Name("BM_LeveneTest")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Levene<TenGroups>)->Name("BM_LeveneTestTenGroups")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevenePlainTenGroups)->Unit(benchmark::kMillisecond);

}  // namespace
