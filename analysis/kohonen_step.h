// One training step of TKohonen (internal): its schedule, its neighbourhood,
// and the whole step written plainly, cell by cell over a node-major array.
//
// The library's training (kohonen_train.cpp) takes the schedule and the
// neighbourhood from here and runs its own vectorised winner search and
// update; KohonenPlainStep is the reference that the tests compare it with
// bit for bit and that the benchmark measures it beside. Node (x, y) of an
// NX x NY grid is node n = x NY + y (0-based, x outer), and its weight v sits
// at W[n NV + v], the order of TMat3D's cells.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

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

// The plain step: for each object r (its variable v at Data[v][r], Rows
// objects), the winner by a full scan, then the square around it, each node
// with its distance computed again.
struct TKohonenPlainMap {
  int32_t NX, NY, NV;
  bool Cyclic;
  std::vector<double> W;
};
inline void KohonenPlainStep(TKohonenPlainMap& M, TKohonenSchedule S, const std::vector<std::vector<double>>& Data,
                             int32_t Rows) {
  const auto Node = [&](int64_t X, int64_t Y) { return std::span<double>(M.W).subspan((X * M.NY + Y) * M.NV, M.NV); };
  const auto Dist = [&](std::span<const double> W, int32_t R) {
    double D = 0.0;
    for (int32_t V = 0; V < M.NV; ++V) D += (W[V] - Data[V][R]) * (W[V] - Data[V][R]);
    return D;
  };
  for (int32_t R = 0; R < Rows; ++R) {
    int64_t BX = 0, BY = 0;
    double Best = Dist(Node(0, 0), R);
    for (int64_t X = 0; X < M.NX; ++X)
      for (int64_t Y = 0; Y < M.NY; ++Y) {
        const double D = Dist(Node(X, Y), R);
        if (D < Best) Best = D, BX = X, BY = Y;
      }
    const TKohonenSpan SX = KohonenSpan(BX, S.Radius, M.NX, M.Cyclic);
    const TKohonenSpan SY = KohonenSpan(BY, S.Radius, M.NY, M.Cyclic);
    for (int64_t I = 0; I < SX.Count; ++I)
      for (int64_t J = 0; J < SY.Count; ++J) {
        const int64_t X = SX.At(I, M.NX), Y = SY.At(J, M.NY);
        const std::span<double> W = Node(X, Y);
        const double H = X == BX && Y == BY ? S.Alpha : S.Alpha / (1.0 + std::sqrt(Dist(W, R) - Best));
        for (int32_t V = 0; V < M.NV; ++V) W[V] = W[V] + (Data[V][R] - W[V]) * H;
      }
  }
}

}  // namespace orv::detail
