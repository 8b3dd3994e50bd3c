// The text readers of TVector on 10^6 values beside std::from_chars over the
// same text in memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "orvcalckit/ORV_vector.h"

namespace {

constexpr int32_t N = 1000000;

struct TFiles {
  std::string Asc = "/tmp/orv-bench-" + std::to_string(::getpid()) + "-v.asc";
  std::string Txt = "/tmp/orv-bench-" + std::to_string(::getpid()) + "-v.txt";
  std::string Text;  // the value lines of both
  TFiles() {
    orv::TVector V(nullptr);
    V.Resize(N);
    for (int32_t I = 1; I <= N; ++I) V.SetVal(I, (I % 1000) * 1.25 - 400.5);
    V.ExportAsASC(Asc, 4, "");
    V.StoreOnFile(0, 0, 4, Txt);
    std::ifstream In(Txt, std::ios::binary);
    Text.assign(std::istreambuf_iterator<char>(In), {});
  }
  ~TFiles() {
    std::remove(Asc.c_str());
    std::remove(Txt.c_str());
  }
};
TFiles& Files() {
  static TFiles F;
  return F;
}

void BM_FromCharsInMemory(benchmark::State& State) {
  const std::string& S = Files().Text;
  std::vector<double> Out(N);
  for (auto _ : State) {
    const char* P = S.data();
    const char* const E = P + S.size();
    while (P < E && *P != '\n') ++P;  // the range line
    for (int32_t I = 0; I < N; ++I) {
      while (P < E && (*P == '\r' || *P == '\n' || *P == ' ')) ++P;
      P = std::from_chars(P, E, Out[static_cast<size_t>(I)]).ptr;
    }
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_FromCharsInMemory)->Unit(benchmark::kMillisecond);

void BM_ImportASC(benchmark::State& State) {
  orv::TVector V(nullptr);
  std::string Comment;
  for (auto _ : State) benchmark::DoNotOptimize(V.ImportASC(Files().Asc, Comment));
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_ImportASC)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& State) {
  orv::TVector V(nullptr);
  for (auto _ : State) benchmark::DoNotOptimize(V.LoadFromFile(Files().Txt, true));
  State.SetItemsProcessed(State.iterations() * N);
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

}  // namespace
