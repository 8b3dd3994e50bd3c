// Data of the array benchmarks: every program measures the same cells.
#pragma once

#include <cstdint>
#include <vector>

#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv::bench {

// Uniform cells in [Low, High) from the platform's generator, seeded afresh.
inline TDoubleArray RandomCells(int64_t N, double Low, double High, uint64_t Seed = 1) {
  SetRandSeed(Seed);
  TDoubleArray A(static_cast<std::size_t>(N));
  for (double& X : A) X = Low + (High - Low) * Random();
  return A;
}

// Cols columns of Rows such cells.
inline TDouble2DArray RandomGrid(int32_t Cols, int32_t Rows, double Low, double High) {
  TDouble2DArray G;
  for (int32_t C = 0; C < Cols; ++C) G.push_back(RandomCells(Rows, Low, High, 1 + static_cast<uint64_t>(C)));
  return G;
}

}  // namespace orv::bench
