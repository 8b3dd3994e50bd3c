// TKohonen::Trainit (20 x 20 map, 10 variables, 2000 objects, 20 steps)
// beside the plain step of the same algorithm over a node-major array.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "analysis/kohonen_step.h"
#include "bench/support/matrix_data.h"
#include "orvcalckit/ORV_kohonen.h"
#include "tests/support/kohonen_plain.h"

namespace {

using namespace orv;

constexpr int32_t Side = 20, Vars = 10, Objects = 2000, Steps = 21;  // steps 1..20 of 21

void BM_Trainit(benchmark::State& St) {
  TKohonen K;
  K.SetTrainData(&bench::SharedRandom(Vars, Objects));
  K.SetSizeX(Side);
  K.SetSizeY(Side);
  K.SetNrOfTrnSteps(Steps);
  for (auto _ : St) {
    K.Trainit();
    benchmark::DoNotOptimize(K.GetWeight(1, 1, 1));
  }
  St.SetItemsProcessed(St.iterations() * int64_t{Steps - 1} * Objects * Side * Side);
}
BENCHMARK(BM_Trainit)->Unit(benchmark::kMillisecond);

void BM_PlainTrain(benchmark::State& St) {
  const TMatrix& D = bench::SharedRandom(Vars, Objects);
  test::TKohonenPlainMap M{Side, Side, Vars, false, {}};
  for (auto _ : St) {
    M.W.assign(Side * Side * Vars, 0.0);
    for (double& W : M.W) W = (Random() - 0.5) * 0.2;
    for (int32_t S = 1; S < Steps; ++S)
      test::KohonenPlainStep(M, detail::KohonenSchedule(S, Steps, 2, 1.0), D.Mat, Objects);
    benchmark::DoNotOptimize(M.W.data());
  }
  St.SetItemsProcessed(St.iterations() * int64_t{Steps - 1} * Objects * Side * Side);
}
BENCHMARK(BM_PlainTrain)->Unit(benchmark::kMillisecond);

}  // namespace
