// TCFEvaluator on 10^6 fresh pairs beside a plain C++ version of the same
// work: std::sort by estimate, one ROC pass, and the threshold scan as 110
// counting passes or as a binary search per threshold on the sorted pairs.
// OptimizeThresholds should stay within 1.5x of sort plus ROC pass.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "bench/support/fresh_data.h"
#include "orvcalckit/ORV_statis.h"

namespace {

using orv::bench::RunFresh;

// Class 1 for most positive estimates, 0 for most negative ones.
double ClassOf(double Est, std::size_t i) { return (Est > 0) != (i % 5 == 0) ? 1 : 0; }

void LoadEvaluator(orv::TCFEvaluator& Ev, const std::vector<double>& W) {
  Ev.SetNData(static_cast<int32_t>(W.size()));
  for (std::size_t i = 0; i < W.size(); ++i) {
    Ev.SetTrueData(static_cast<int32_t>(i + 1), ClassOf(W[i], i));
    Ev.SetEstimData(static_cast<int32_t>(i + 1), W[i]);
  }
}

// OptimizeThresholds on fresh pairs: sort, ROC curve with its area, and the
// scan; or, PreSorted, the ROC curve and the scan alone.
void RunOptimize(benchmark::State& S, bool PreSorted) {
  orv::TCFEvaluator Ev;
  orv::TDouble2DArray Roc;
  RunFresh(
      S,
      [&](std::vector<double>& W) {
        LoadEvaluator(Ev, W);
        if (PreSorted) Ev.CalcConfusionMatrix(0);
      },
      [&](std::vector<double>&) {
        int32_t Best = 0;
        double Auc = 0, A = 0, B = 0, C = 0;
        Ev.OptimizeThresholds(Roc, Best, Auc, A, B, C);
        benchmark::DoNotOptimize(Auc);
      });
}

void BM_OptimizeThresholds(benchmark::State& S) { RunOptimize(S, false); }
BENCHMARK(BM_OptimizeThresholds)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OptimizeThresholdsSorted(benchmark::State& S) { RunOptimize(S, true); }
BENCHMARK(BM_OptimizeThresholdsSorted)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The sort by the library's comb sort (with one counting pass).
void BM_CalcConfusionMatrixUnsorted(benchmark::State& S) {
  orv::TCFEvaluator Ev;
  RunFresh(
      S, [&](std::vector<double>& W) { LoadEvaluator(Ev, W); },
      [&](std::vector<double>&) { benchmark::DoNotOptimize(Ev.CalcConfusionMatrix(0)); });
}
BENCHMARK(BM_CalcConfusionMatrixUnsorted)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- the plain version ----

struct TPair {
  double Est, Truth;
};

std::vector<TPair> Pairs(const std::vector<double>& W) {
  std::vector<TPair> P(W.size());
  for (std::size_t i = 0; i < W.size(); ++i) P[i] = {W[i], ClassOf(W[i], i)};
  return P;
}

void PlainSort(std::vector<TPair>& P) {
  std::sort(P.begin(), P.end(), [](const TPair& a, const TPair& b) { return a.Est > b.Est; });
}

// One pass over sorted pairs: the points and the trapezoids.
double PlainRoc(const std::vector<TPair>& P, std::vector<double>& X, std::vector<double>& Y) {
  int64_t Pos = 0;
  for (const auto& p : P) Pos += p.Truth > 0.5;
  const double Pd = static_cast<double>(Pos), Qd = static_cast<double>(P.size()) - Pd;
  X.clear();
  Y.clear();
  int64_t tp = 0, fp = 0;
  double Auc = 0;
  for (const auto& p : P) {
    const int64_t tp0 = tp, fp0 = fp;
    (p.Truth > 0.5 ? tp : fp) += 1;
    X.push_back(fp / Qd);
    Y.push_back(tp / Pd);
    Auc += (fp - fp0) * (tp + tp0) / 2.0 / Qd / Pd;
  }
  return Auc;
}

double Mcc(int64_t tp, int64_t fp, int64_t tn, int64_t fn) {
  const double r = std::sqrt(double(tp + fp) * double(tp + fn) * double(tn + fp) * double(tn + fn));
  return r > 0 ? (double(tp) * tn - double(fp) * fn) / r : 0;
}

// 110 thresholds from min - 5 step, each by a counting pass or a binary search.
template <bool Binary>
double PlainScan(const std::vector<TPair>& P) {
  const auto [Lo, Hi] = std::minmax_element(P.begin(), P.end(), [](auto& a, auto& b) { return a.Est < b.Est; });
  const double Min = Lo->Est, Max = Hi->Est, Step = (Max - Min) * 0.01;
  std::vector<int64_t> PosBefore;
  if constexpr (Binary) {
    PosBefore.assign(P.size() + 1, 0);
    for (std::size_t i = 0; i < P.size(); ++i) PosBefore[i + 1] = PosBefore[i] + (P[i].Truth > 0.5);
  }
  const int64_t N = static_cast<int64_t>(P.size());
  double Best = 0;
  for (double h = Min - 5 * Step; h < Max + 5 * Step; h += Step) {
    int64_t tp = 0, fp = 0, tn = 0, fn = 0;
    if constexpr (Binary) {
      const auto k = std::partition_point(P.begin(), P.end(), [h](const TPair& p) { return p.Est - h >= 0; }) - P.begin();
      tp = PosBefore[k];
      fp = k - tp;
      fn = PosBefore[N] - tp;
      tn = N - k - fn;
    } else {
      for (const auto& p : P) {
        const bool Pos = p.Truth > 0.5, Pred = p.Est - h >= 0;
        tp += Pos && Pred;
        fn += Pos && !Pred;
        fp += !Pos && Pred;
        tn += !Pos && !Pred;
      }
    }
    Best = std::max(Best, Mcc(tp, fp, tn, fn));
  }
  return Best;
}

void BM_PlainSort(benchmark::State& S) {
  RunFresh(S, [](std::vector<double>& W) {
    auto P = Pairs(W);
    PlainSort(P);
    benchmark::DoNotOptimize(P.data());
  });
}
BENCHMARK(BM_PlainSort)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

template <class Fn>
void OnSortedPairs(benchmark::State& S, Fn&& Kernel) {
  std::vector<TPair> P;
  RunFresh(
      S,
      [&](std::vector<double>& W) {
        P = Pairs(W);
        PlainSort(P);
      },
      [&](std::vector<double>&) { Kernel(P); });
}

void BM_PlainRocPass(benchmark::State& S) {
  std::vector<double> X, Y;
  OnSortedPairs(S, [&](const std::vector<TPair>& P) { benchmark::DoNotOptimize(PlainRoc(P, X, Y)); });
}
BENCHMARK(BM_PlainRocPass)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PlainScanCounting(benchmark::State& S) {
  OnSortedPairs(S, [](const std::vector<TPair>& P) { benchmark::DoNotOptimize(PlainScan<false>(P)); });
}
BENCHMARK(BM_PlainScanCounting)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PlainScanBinarySearch(benchmark::State& S) {
  OnSortedPairs(S, [](const std::vector<TPair>& P) { benchmark::DoNotOptimize(PlainScan<true>(P)); });
}
BENCHMARK(BM_PlainScanBinarySearch)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
