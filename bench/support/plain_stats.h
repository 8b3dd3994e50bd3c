// The plain loops the statistics kernels are measured against: one pass of
// sums for the mean and variance, two passes for skewness and kurtosis, over
// runs of contiguous values (a vector is one run, a matrix one per column).
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace orv::bench {

using TRuns = std::vector<std::pair<const double*, int64_t>>;

inline void PlainMeanVar(const TRuns& Runs) {
  double Sum = 0, Sq = 0, N = 0;
  for (const auto& [X, Len] : Runs) {
    for (int64_t I = 0; I < Len; ++I) {
      Sum += X[I];
      Sq += X[I] * X[I];
    }
    N += static_cast<double>(Len);
  }
  benchmark::DoNotOptimize(Sum / N);
  benchmark::DoNotOptimize((Sq - Sum * Sum / N) / (N - 1));
}

inline void PlainSkewKurt(const TRuns& Runs) {
  double Sum = 0, N = 0;
  for (const auto& [X, Len] : Runs) {
    for (int64_t I = 0; I < Len; ++I) Sum += X[I];
    N += static_cast<double>(Len);
  }
  const double M = Sum / N;
  double Q = 0, S3 = 0, S4 = 0;
  for (const auto& [X, Len] : Runs)
    for (int64_t I = 0; I < Len; ++I) {
      const double D = X[I] - M, D2 = D * D;
      Q += D2;
      S3 += D2 * D;
      S4 += D2 * D2;
    }
  const double Sd = std::sqrt(Q / (N - 1));
  benchmark::DoNotOptimize(S3 / N / (Sd * Sd * Sd));
  benchmark::DoNotOptimize(S4 / N / (Sd * Sd * Sd * Sd) - 3);
}

}  // namespace orv::bench
