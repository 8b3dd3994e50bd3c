// TKohonen::ApplyIt over a 20 x 20 map of 10 variables, 2000 inputs, beside a
// plain loop over the same weights in a node-major array.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_kohonen.h"
#include "orvcorekit/Orv_univconst.h"

namespace {

using namespace orv;

constexpr int32_t Side = 20, Vars = 10, Objects = 2000;

// A trained map on standardised data, and the inputs as vectors.
struct TFixture {
  TKohonen K;
  std::vector<TVector*> In;
  TFixture() {
    const TMatrix& D = bench::SharedRandom(Vars, Objects);
    K.SetTrainData(&D);
    K.SetSizeX(Side);
    K.SetSizeY(Side);
    K.SetNrOfTrnSteps(3);
    K.StandardizeData();
    K.Trainit();
    for (int32_t R = 1; R <= Objects; ++R) {
      auto* V = new TVector(nullptr);
      V->Resize(Vars);
      for (int32_t C = 1; C <= Vars; ++C) V->SetVal(C, D.GetVal(C, R));
      In.push_back(V);
    }
  }
  ~TFixture() {
    for (TVector* V : In) delete V;
  }
};

void BM_ApplyIt(benchmark::State& St) {
  TFixture F;
  for (auto _ : St)
    for (const TVector* V : F.In) {
      int32_t X = 0, Y = 0;
      double D = 0;
      F.K.ApplyIt(V, X, Y, D);
      benchmark::DoNotOptimize(D);
    }
  St.SetItemsProcessed(St.iterations() * Objects);
}
BENCHMARK(BM_ApplyIt);

void BM_PlainApply(benchmark::State& St) {
  TFixture F;
  std::vector<double> W, Mean(Vars), Sd(Vars), Z(Vars);
  for (int32_t X = 1; X <= Side; ++X)
    for (int32_t Y = 1; Y <= Side; ++Y)
      for (int32_t V = 1; V <= Vars; ++V)
        W.push_back((F.K.GetWeight(X, Y, V) - F.K.MeanVec()->GetVal(V)) / F.K.StdDevVec()->GetVal(V));
  for (int32_t V = 0; V < Vars; ++V) {
    Mean[V] = F.K.MeanVec()->GetVal(V + 1);
    Sd[V] = F.K.StdDevVec()->GetVal(V + 1);
  }
  // The extents as the library has them, at run time.
  const int32_t NV = F.K.NrOfInSens(), NN = F.K.SizeX() * F.K.SizeY();
  for (auto _ : St)
    for (const TVector* In : F.In) {
      for (int32_t V = 0; V < NV; ++V) Z[V] = (In->GetVal(V + 1) - Mean[V]) / Sd[V];
      double Best = uc_MaxDouble;
      int32_t Node = -1;
      for (int32_t N = 0; N < NN; ++N) {
        double D = 0;
        for (int32_t V = 0; V < NV; ++V) D += (W[N * NV + V] - Z[V]) * (W[N * NV + V] - Z[V]);
        if (D < Best) Best = D, Node = N;
      }
      benchmark::DoNotOptimize(Best);
      benchmark::DoNotOptimize(Node);
    }
  St.SetItemsProcessed(St.iterations() * Objects);
}
BENCHMARK(BM_PlainApply);

}  // namespace
