// Reproducible uniform values for data that a reference computed elsewhere
// must see too: SplitMix64 (G. L. Steele, D. Lea, C. H. Flood, "Fast
// splittable pseudorandom number generators", OOPSLA 2014), each output's
// top 53 bits times 2^-53, exact in any language. The Python twin:
//   s = (s + 0x9E3779B97F4A7C15) & M; z = s
//   z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & M
//   z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & M
//   value = ((z ^ (z >> 31)) >> 11) * 2.0**-53        (M = 2**64 - 1)
// Test support.
#pragma once

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"

namespace orv::test {

// Count values in [0, 1) from Seed.
inline std::vector<double> SplitMixValues(uint64_t Seed, int32_t Count) {
  std::vector<double> V;
  for (int32_t I = 0; I < Count; ++I) {
    uint64_t Z = (Seed += 0x9E3779B97F4A7C15ULL);
    Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBULL;
    V.push_back(static_cast<double>((Z ^ (Z >> 31)) >> 11) * 0x1p-53);
  }
  return V;
}

// A Rows x Cols matrix filled row by row from SplitMixValues(Seed, ...), as
// numpy's reshape(Rows, Cols) lays them out.
inline void FillSplitMix(TMatrix& M, uint64_t Seed, int32_t Rows, int32_t Cols) {
  const std::vector<double> V = SplitMixValues(Seed, Rows * Cols);
  M.Resize(Cols, Rows);
  for (int32_t R = 0; R < Rows; ++R)
    for (int32_t C = 0; C < Cols; ++C) M.SetVal(C + 1, R + 1, V[static_cast<std::size_t>(R * Cols + C)]);
}

}  // namespace orv::test
