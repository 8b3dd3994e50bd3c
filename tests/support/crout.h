// Crout's method cell by cell in its pinned order, the reference of the
// blocked kernel that TMatrix and the array routines run. Test support.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace orv::test {

using TGrid = std::vector<std::vector<double>>;  // [column][row]

// The factors of a[column][row] (rows exchanged, multipliers below the
// diagonal), then, when Inverse, the inverse; Columns stops the elimination
// before that column, leaving the later columns with the rows exchanged so
// far. Every row must have a nonzero cell.
inline void CroutTextbook(TGrid& a, bool Inverse, int64_t Columns = INT64_MAX) {
  const auto N = static_cast<int64_t>(a.size());
  std::vector<double> Scale(N);
  std::vector<int64_t> Perm(N);
  for (int64_t I = 0; I < N; ++I) {
    for (int64_t J = 0; J < N; ++J) Scale[I] = std::max(Scale[I], std::fabs(a[J][I]));
    Scale[I] = 1 / Scale[I];
  }
  for (int64_t J = 0; J < std::min(N, Columns); ++J) {
    double Big = 0;
    for (int64_t I = 0; I < N; ++I) {
      double S = a[J][I];
      for (int64_t K = 0; K < std::min(I, J); ++K) S -= a[K][I] * a[J][K];
      a[J][I] = S;
      if (I >= J && Scale[I] * std::fabs(S) >= Big) Big = Scale[I] * std::fabs(S), Perm[J] = I;
    }
    for (int64_t K = 0; K < N; ++K) std::swap(a[K][Perm[J]], a[K][J]);
    Scale[Perm[J]] = Scale[J];
    for (int64_t I = J + 1; I < N; ++I) a[J][I] /= a[J][J];
  }
  if (!Inverse) return;
  TGrid Y(N, std::vector<double>(N));
  for (int64_t J = 0; J < N; ++J) {
    std::vector<double>& B = Y[J];
    B[J] = 1;
    for (int64_t I = 0, I0 = -1; I < N; ++I) {
      double S = B[Perm[I]];
      B[Perm[I]] = B[I];
      for (int64_t K = I0 < 0 ? I : I0; K < I; ++K) S -= a[K][I] * B[K];
      if (I0 < 0 && S != 0) I0 = I;
      B[I] = S;
    }
    for (int64_t I = N - 1; I >= 0; --I) {
      for (int64_t K = I + 1; K < N; ++K) B[I] -= a[K][I] * B[K];
      B[I] /= a[I][I];
    }
  }
  a = Y;
}

}  // namespace orv::test
