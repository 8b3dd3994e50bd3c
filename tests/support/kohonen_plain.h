// One training step of TKohonen written plainly, cell by cell over a
// node-major array: the reference that the library's vectorised step
// (analysis/kohonen_train.cpp) is held to bit for bit, and the benchmark's
// baseline (bench/kohonen_train_bench.cpp includes it by path). Node (x, y)
// of an NX x NY grid is node n = x NY + y (0-based, x outer), and its
// weight v sits at W[n NV + v], the order of TMat3D's cells.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/kohonen_step.h"

namespace orv::test {

// The plain step: for each object r (its variable v at Data[v][r], Rows
// objects), the winner by a full scan, then the square around it, each node
// with its distance computed again.
struct TKohonenPlainMap {
  int32_t NX, NY, NV;
  bool Cyclic;
  std::vector<double> W;
};
inline void KohonenPlainStep(TKohonenPlainMap& M, detail::TKohonenSchedule S,
                             const std::vector<std::vector<double>>& Data, int32_t Rows) {
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
    const detail::TKohonenSpan SX = detail::KohonenSpan(BX, S.Radius, M.NX, M.Cyclic);
    const detail::TKohonenSpan SY = detail::KohonenSpan(BY, S.Radius, M.NY, M.Cyclic);
    for (int64_t I = 0; I < SX.Count; ++I)
      for (int64_t J = 0; J < SY.Count; ++J) {
        const int64_t X = SX.At(I, M.NX), Y = SY.At(J, M.NY);
        const std::span<double> W = Node(X, Y);
        const double H = X == BX && Y == BY ? S.Alpha : S.Alpha / (1.0 + std::sqrt(Dist(W, R) - Best));
        for (int32_t V = 0; V < M.NV; ++V) W[V] = W[V] + (Data[V][R] - W[V]) * H;
      }
  }
}

}  // namespace orv::test
