// TMemBasedLearner: StoreModelBin and LoadModelBin of a 100000 x 10 model
// beside writing and reading the same bytes with TFileStream.
#include <benchmark/benchmark.h>

#include <cmath>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orvcalckit/ORV_membl.h"
#include "orvcorekit/Orv_streams.h"

namespace {

using namespace orv;

constexpr int32_t Rows = 100000, Cols = 10;

std::string FileName() { return "/tmp/orv_membl_bench_" + std::to_string(::getpid()) + ".bin"; }

void BM_StoreLoadBin(benchmark::State& State) {
  TMemBasedLearner L;
  TDataTable& T = *L.ModelData;
  T.Resize(Cols, Rows);
  for (int32_t R = 1; R <= Rows; ++R)
    for (int32_t C = 1; C <= Cols; ++C) T.SetElem(C, R, std::sin(R * 0.7 + C));
  const std::string Name = FileName();
  TMemBasedLearner Back;
  std::string Id;
  for (auto _ : State) {
    L.StoreModelBin(Name, "bench");
    benchmark::DoNotOptimize(Back.LoadModelBin(Name, Id));
  }
  std::remove(Name.c_str());
}
BENCHMARK(BM_StoreLoadBin)->Unit(benchmark::kMillisecond);

void BM_FileStreamSameBytes(benchmark::State& State) {
  TMemBasedLearner L;
  L.ModelData->Resize(Cols, Rows);
  const std::string Name = FileName();
  L.StoreModelBin(Name, "bench");
  std::vector<uint8_t> Bytes;
  {
    TFileStream F(Name, fmOpenRead);
    Bytes.resize(static_cast<size_t>(F.Size()));
    F.ReadBuffer(Bytes.data(), F.Size());
  }
  std::vector<uint8_t> In(Bytes.size());
  for (auto _ : State) {
    {
      TFileStream F(Name, fmCreate);
      F.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
      F.Flush();
    }
    TFileStream F(Name, fmOpenRead);
    F.ReadBuffer(In.data(), static_cast<int64_t>(In.size()));
    benchmark::DoNotOptimize(In.data());
  }
  std::remove(Name.c_str());
}
BENCHMARK(BM_FileStreamSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace
