// One training step of TKohonen (internal): its schedule and its
// neighbourhood.
//
// The library's training (kohonen_train.cpp) takes them from here and runs
// its own vectorised winner search and update; the same step written
// plainly, cell by cell, is the reference that the tests compare it with bit
// for bit and that the benchmark measures it beside
// (tests/support/kohonen_plain.h).
#pragma once

#include <algorithm>
#include <cstdint>

#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// Radius and learning rate of step Step of MaxSteps (>= 1). f is held at 0
// once the steps are used up, so continuing a finished training moves
// nothing (the rate would otherwise grow back with f^2).
struct TKohonenSchedule {
  int32_t Radius;
  double Alpha;
};
inline TKohonenSchedule KohonenSchedule(int32_t Step, int32_t MaxSteps, int32_t MaxNeighb, double MaxAlpha) {
  const double F =
      std::max(static_cast<double>(int64_t{MaxSteps} - Step) / static_cast<double>(MaxSteps), 0.0);
  const double F2 = F * F;
  return {RoundInt(F2 * static_cast<double>(int64_t{MaxNeighb} - 1) + 1), F2 * MaxAlpha};
}

// The feedback of a finished step: Round(Step * 100 / MaxSteps), half to even.
inline int32_t KohonenPercent(int32_t Step, int32_t MaxSteps) {
  return RoundInt(static_cast<double>(Step) * 100.0 / static_cast<double>(MaxSteps));
}

// The neighbourhood along one axis of N nodes around the winner B (0-based):
// Count positions from First, each taken modulo N. A cyclic axis limits the
// radius to N div 2 - 1 (at least 0), so no node comes twice; a flat one
// clips the square to the grid.
struct TKohonenSpan {
  int64_t First, Count;
  int64_t At(int64_t K, int64_t N) const {
    const int64_t P = First + K;
    return P < 0 ? P + N : P >= N ? P - N : P;
  }
};
inline TKohonenSpan KohonenSpan(int64_t B, int32_t Radius, int32_t N, bool Cyclic) {
  if (Cyclic) {
    const int64_t R = std::max<int64_t>(std::min<int64_t>(Radius, N / 2 - 1), 0);
    return {B - R, 2 * R + 1};
  }
  const int64_t Lo = std::max<int64_t>(B - Radius, 0), Hi = std::min<int64_t>(B + Radius, int64_t{N} - 1);
  return {Lo, std::max<int64_t>(Hi - Lo + 1, 0)};
}

}  // namespace orv::detail
