// Signals of the transform and filter benchmarks: uniform values in [-1, 1).
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace orv::bench {

inline std::vector<double> UniformSignal(int64_t Count, uint64_t Seed) {
  std::mt19937_64 Gen(Seed);
  std::uniform_real_distribution<double> U(-1.0, 1.0);
  std::vector<double> X(static_cast<std::size_t>(Count));
  for (double& V : X) V = U(Gen);
  return X;
}

}  // namespace orv::bench
