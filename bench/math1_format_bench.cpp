// Number texts: Hex prints every component checksum; EEngStr labels displays.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_math1.h"

namespace {

void BM_Hex8(benchmark::State& S) {
  uint32_t v = 0x9E3779B9u;
  for (auto _ : S) {
    std::string T = orv::Hex(static_cast<int32_t>(v), 8);
    benchmark::DoNotOptimize(T);
    v = v * 1664525u + 1013904223u;
  }
}
BENCHMARK(BM_Hex8);

void BM_EEngStr(benchmark::State& S) {
  double x = 1.234567e-13;
  for (auto _ : S) {
    std::string T = orv::EEngStr(x, 4);
    benchmark::DoNotOptimize(T);
    x *= 7.3;
    if (x > 1e14) x = 1.234567e-13;
  }
}
BENCHMARK(BM_EEngStr);

}  // namespace
