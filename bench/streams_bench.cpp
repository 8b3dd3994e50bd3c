// Throughput of the base library's file services against plain loops:
// CRC-32 per byte, the mixed binary file, and numbers read from a text file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orvcorekit/Orv_dstruct.h"
#include "orvcorekit/Orv_streams.h"

namespace {

constexpr int N = 1000000;

std::string TempName(const char* Tag) { return "/tmp/orv-bench-" + std::to_string(::getpid()) + "-" + Tag; }

void BM_CRC32PerByte(benchmark::State& State) {
  std::vector<uint8_t> Data(N);
  for (int i = 0; i < N; ++i) Data[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7);
  for (auto _ : State) {
    uint32_t R = 0xFFFFFFFFu;
    for (uint8_t B : Data) R = orv::CalcNextCRC32(B, R);
    benchmark::DoNotOptimize(R);
  }
  State.SetBytesProcessed(State.iterations() * N);
}
BENCHMARK(BM_CRC32PerByte);

void BM_MixedFStreamWriteDoubles(benchmark::State& State) {
  const std::string Name = TempName("mixed");
  for (auto _ : State) {
    orv::TMixedFStream W(Name, orv::fmCreate);
    for (int i = 0; i < N; ++i) W.WriteDouble(i * 0.5);
    W.Flush();
  }
  State.SetItemsProcessed(State.iterations() * N);
  std::remove(Name.c_str());
}
BENCHMARK(BM_MixedFStreamWriteDoubles)->Unit(benchmark::kMillisecond);

void BM_MixedFStreamReadDoubles(benchmark::State& State) {
  const std::string Name = TempName("mixedr");
  {
    orv::TMixedFStream W(Name, orv::fmCreate);
    for (int i = 0; i < N; ++i) W.WriteDouble(i * 0.5);
  }
  for (auto _ : State) {
    orv::TMixedFStream R(Name, orv::fmOpenRead);
    double S = 0;
    for (int i = 0; i < N; ++i) S += R.ReadDouble();
    benchmark::DoNotOptimize(S);
  }
  State.SetItemsProcessed(State.iterations() * N);
  std::remove(Name.c_str());
}
BENCHMARK(BM_MixedFStreamReadDoubles)->Unit(benchmark::kMillisecond);

// The same bytes through stdio, for comparison.
void BM_PlainFreadDoubles(benchmark::State& State) {
  const std::string Name = TempName("plain");
  {
    std::vector<double> V(N);
    for (int i = 0; i < N; ++i) V[static_cast<size_t>(i)] = i * 0.5;
    FILE* F = std::fopen(Name.c_str(), "wb");
    std::fwrite(V.data(), sizeof(double), V.size(), F);
    std::fclose(F);
  }
  for (auto _ : State) {
    FILE* F = std::fopen(Name.c_str(), "rb");
    double S = 0, X = 0;
    for (int i = 0; i < N; ++i)
      if (std::fread(&X, sizeof X, 1, F) == 1) S += X;
    std::fclose(F);
    benchmark::DoNotOptimize(S);
  }
  State.SetItemsProcessed(State.iterations() * N);
  std::remove(Name.c_str());
}
BENCHMARK(BM_PlainFreadDoubles)->Unit(benchmark::kMillisecond);

void BM_TextFileReadReal(benchmark::State& State) {
  const std::string Name = TempName("text");
  {
    orv::TTextFile F;
    F.Rewrite(Name);
    for (int i = 0; i < N; ++i) F.WriteLn(std::to_string(i * 0.25));
    F.Close();
  }
  for (auto _ : State) {
    orv::TTextFile F;
    F.Reset(Name);
    double S = 0, X = 0;
    while (F.ReadReal(X)) S += X;
    benchmark::DoNotOptimize(S);
  }
  State.SetItemsProcessed(State.iterations() * N);
  std::remove(Name.c_str());
}
BENCHMARK(BM_TextFileReadReal)->Unit(benchmark::kMillisecond);

void BM_PlainFscanfReal(benchmark::State& State) {
  const std::string Name = TempName("scanf");
  {
    FILE* F = std::fopen(Name.c_str(), "wb");
    for (int i = 0; i < N; ++i) std::fprintf(F, "%f\r\n", i * 0.25);
    std::fclose(F);
  }
  for (auto _ : State) {
    FILE* F = std::fopen(Name.c_str(), "rb");
    double S = 0, X = 0;
    while (std::fscanf(F, "%lf", &X) == 1) S += X;
    std::fclose(F);
    benchmark::DoNotOptimize(S);
  }
  State.SetItemsProcessed(State.iterations() * N);
  std::remove(Name.c_str());
}
BENCHMARK(BM_PlainFscanfReal)->Unit(benchmark::kMillisecond);

}  // namespace
