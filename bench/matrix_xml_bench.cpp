// ParseRealAt over 10^6 number texts (cell contents as an XML writer prints
// them: shortest round-trip form, magnitudes 1e-6 to 1e9, with and without
// exponent) beside std::from_chars on the same texts.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"

namespace {

using namespace orv;

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> T = [] {
    SetRandSeed(3);
    std::vector<std::string> R;
    R.reserve(1000000);
    for (int32_t I = 0; I < 1000000; ++I) {
      const double V = (Random() - 0.3) * std::pow(10.0, Random(16) - 6);
      char Buf[32];
      const auto Fmt = I % 2 == 0 ? std::chars_format::general : std::chars_format::scientific;
      R.emplace_back(Buf, std::to_chars(Buf, Buf + sizeof Buf, V, Fmt).ptr);
    }
    return R;
  }();
  return T;
}

void BM_ParseRealAt(benchmark::State& St) {
  const auto& T = Texts();
  for (auto _ : St) {
    double S = 0;
    for (const std::string& X : T) {
      int32_t Pos = 1;
      S += ParseRealAt(X, true, 1, Pos);
    }
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * static_cast<int64_t>(T.size()));
}

void BM_FromChars(benchmark::State& St) {
  const auto& T = Texts();
  for (auto _ : St) {
    double S = 0;
    for (const std::string& X : T) {
      double V = 0;
      std::from_chars(X.data(), X.data() + X.size(), V);
      S += V;
    }
    benchmark::DoNotOptimize(S);
  }
  St.SetItemsProcessed(St.iterations() * static_cast<int64_t>(T.size()));
}

BENCHMARK(BM_ParseRealAt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars)->Unit(benchmark::kMillisecond);

}  // namespace
