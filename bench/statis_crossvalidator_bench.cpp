// TCrossValidator.Execute over 10^4 rows in test sets of 10 with an empty
// model, beside a plain loop that makes the same draws, lists the same rows
// and calls the same handlers. Execute should stay within 1.5x of it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "orvcorekit/Orv_system.h"

namespace {

constexpr int32_t Rows = 10000, SetSize = 10;

void Fill(orv::TMatrix& M, int32_t Cols) {
  M.Resize(Cols, Rows);
  for (int32_t r = 1; r <= Rows; ++r)
    for (int32_t c = 1; c <= Cols; ++c) M.SetVal(c, r, (r * 7 + c) % 3 == 0 ? 1 : 0);
}

void BM_Execute(benchmark::State& S) {
  orv::TCrossValidator Cv;
  Fill(*Cv.XMat(), 3);
  Fill(*Cv.YMat(), 1);
  Cv.OnModelCreateRequest = [](orv::TObject*, int32_t, const orv::TIntArray& L, bool& Ok) {
    benchmark::DoNotOptimize(L.data());
    Ok = true;
  };
  Cv.OnModelApplyRequest = [](orv::TObject*, int32_t, const orv::TDoubleArray& X, orv::TDoubleArray& R) {
    R[0] = X[0];
  };
  for (auto _ : S) {
    Cv.SetSizeTestSet(SetSize);
    benchmark::DoNotOptimize(Cv.Execute());
  }
}
BENCHMARK(BM_Execute)->Unit(benchmark::kMillisecond);

// The same draws (linear probing from Random), the same lists, the same
// handler calls and sums, with plain containers.
void BM_PlainLoop(benchmark::State& S) {
  orv::TMatrix X, Y;
  Fill(X, 3);
  Fill(Y, 1);
  const std::function<void(orv::TObject*, int32_t, const orv::TIntArray&, bool&)> Create =
      [](orv::TObject*, int32_t, const orv::TIntArray& L, bool& Ok) {
        benchmark::DoNotOptimize(L.data());
        Ok = true;
      };
  const std::function<void(orv::TObject*, int32_t, const orv::TDoubleArray&, orv::TDoubleArray&)> Apply =
      [](orv::TObject*, int32_t, const orv::TDoubleArray& P, orv::TDoubleArray& R) { R[0] = P[0]; };
  const int32_t N = Rows;
  for (auto _ : S) {
    std::vector<char> Used(N + 1, 0);
    orv::TIntArray Test, Train;
    orv::TDoubleArray P(3), R(1);
    double Press = 0, Tp = 0, Fp = 0, Tn = 0, Fn = 0;
    int32_t UsedCount = 0, Counter = 0;
    while (UsedCount < N) {
      Test.clear();
      if (SetSize >= N - UsedCount) {
        for (int32_t r = 1; r <= N; ++r)
          if (!Used[r]) Used[r] = 1, Test.push_back(r);
        UsedCount = N;
      } else {
        for (int32_t k = 0; k < SetSize; ++k) {
          int32_t r = orv::Random(N) + 1;
          while (Used[r]) r = r == N ? 1 : r + 1;
          Used[r] = 1;
          Test.push_back(r);
        }
        UsedCount += SetSize;
        std::sort(Test.begin(), Test.end());
      }
      Train.clear();
      for (int32_t r = 1, t = 0; r <= N; ++r)
        if (t < static_cast<int32_t>(Test.size()) && Test[t] == r)
          ++t;
        else
          Train.push_back(r);
      bool Ok = false;
      Create(nullptr, 0, Train, Ok);
      for (int32_t Row : Test) {
        ++Counter;
        for (int32_t c = 0; c < 3; ++c) P[c] = X.Mat[c][Row - 1];
        Apply(nullptr, static_cast<int32_t>(std::lround(100.0 * Counter / N)), P, R);
        const double y = Y.Mat[0][Row - 1], p = R[0];
        Press += (p - y) * (p - y);
        const bool Wrong = std::fabs(p - y) >= 0.5;
        (y != 1 ? (Wrong ? Fp : Tn) : (Wrong ? Fn : Tp)) += 1;
      }
    }
    benchmark::DoNotOptimize(Press + Tp + Fp + Tn + Fn);
  }
}
BENCHMARK(BM_PlainLoop)->Unit(benchmark::kMillisecond);

}  // namespace
