// The block-file readers on a 512 x 512 x 16 x 8 file (256 MiB, in the page
// cache after the first pass) beside a plain pread of the same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"

namespace {

constexpr int32_t C = 512, R = 512, L = 16, T = 8;
constexpr int64_t Values = int64_t{C} * R * L * T;

// Written once per run, removed at exit.
struct TBigFile {
  std::string Name = "/tmp/orv-bench-" + std::to_string(::getpid()) + "-block.bin";
  TBigFile() {
    std::FILE* F = std::fopen(Name.c_str(), "wb");
    std::vector<char> Head(4096, 0);
    const int32_t Counts[4] = {C, R, L, T};
    std::copy_n(reinterpret_cast<const char*>(Counts), 16, Head.data());
    Head[272] = 1;
    std::fwrite(Head.data(), 1, Head.size(), F);
    std::vector<double> Chunk(1 << 16);
    for (int64_t K = 0; K < Values; K += static_cast<int64_t>(Chunk.size())) {
      for (size_t I = 0; I < Chunk.size(); ++I) Chunk[I] = static_cast<double>(K + static_cast<int64_t>(I));
      std::fwrite(Chunk.data(), 8, Chunk.size(), F);
    }
    std::fclose(F);
  }
  ~TBigFile() { std::remove(Name.c_str()); }
};
const std::string& BigFile() {
  static TBigFile F;
  return F.Name;
}

void BM_PreadAll(benchmark::State& State) {
  const std::string& Name = BigFile();
  std::vector<double> Out(static_cast<size_t>(Values));
  for (auto _ : State) {
    const int Fd = ::open(Name.c_str(), O_RDONLY);
    auto* P = reinterpret_cast<char*>(Out.data());
    for (int64_t Done = 0; Done < Values * 8;) {
      const ssize_t N = ::pread(Fd, P + Done, static_cast<size_t>(Values * 8 - Done), 4096 + Done);
      if (N <= 0) break;
      Done += N;
    }
    ::close(Fd);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * Values * 8);
}
BENCHMARK(BM_PreadAll)->Unit(benchmark::kMillisecond);

void BM_ReadBinaryAll(benchmark::State& State) {
  const std::string& Name = BigFile();
  orv::TMat4D A(nullptr);
  double Sum = 0;
  A.OnReadElement = [&Sum](orv::TObject*, int32_t, int32_t, int32_t, int32_t, double V) { Sum += V; };
  for (auto _ : State) {
    A.ReadBinary(Name, 0, 0);
    benchmark::DoNotOptimize(Sum);
  }
  State.SetBytesProcessed(State.iterations() * Values * 8);
}
BENCHMARK(BM_ReadBinaryAll)->Unit(benchmark::kMillisecond);

void BM_ReadLayerEvery(benchmark::State& State) {
  const std::string& Name = BigFile();
  orv::TMat4D A(nullptr);
  A.Resize(C, R, L, T);
  for (auto _ : State) {
    for (int32_t t = 1; t <= T; ++t)
      for (int32_t l = 1; l <= L; ++l) benchmark::DoNotOptimize(A.ReadLayer(Name, l, t));
  }
  State.SetBytesProcessed(State.iterations() * Values * 8);
}
BENCHMARK(BM_ReadLayerEvery)->Unit(benchmark::kMillisecond);

}  // namespace
