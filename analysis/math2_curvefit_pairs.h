// Concordant, discordant and tied pairs of pairs for Kendall's tau and
// Goodman and Kruskal's gamma (internal, header-only so that the tests
// compare the two counts directly).
//
//   detail::TPairCounts P = detail::CountPairs(X, Y);   // X, Y of equal length
//
// Over every two pairs i < j with dx = x_i - x_j and dy = y_i - y_j: dx and
// dy of one sign are concordant, of opposite signs discordant; dy = 0 with
// dx != 0 is a tie in y (TiesY), dx = 0 with dy != 0 a tie in x (TiesX);
// both 0 counts nowhere, and neither does a pair with a NaN difference. The
// signs are compared, not the product dx dy, which underflows to 0 (a tie in
// y) or overflows for pairs far apart.
//
// CountPairsPlain visits every two pairs. CountPairs gives the same counts
// in O(n log n) when every value is finite (W. R. Knight, "A computer method
// for calculating Kendall's tau with ungrouped data", JASA 61, 1966: sort by
// (x, y), count the exchanges of a merge sort by y as the discordant pairs,
// the rest from the runs of equal x, of equal y and of equal (x, y));
// pairs holding NaN are left out first; with infinities (whose differences
// may be NaN) the plain visit.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace orv::detail {

struct TPairCounts {
  int64_t Concord = 0, Discord = 0, TiesY = 0, TiesX = 0;
};

inline int Sign(double D) { return (D > 0) - (D < 0); }

inline TPairCounts CountPairsPlain(std::span<const double> X, std::span<const double> Y) {
  TPairCounts P;
  const std::size_t N = X.size();
  for (std::size_t I = 0; I < N; ++I)
    for (std::size_t J = I + 1; J < N; ++J) {
      const double Dx = X[I] - X[J], Dy = Y[I] - Y[J];
      if (std::isnan(Dx) || std::isnan(Dy)) continue;
      const int H = Sign(Dx) * Sign(Dy);
      if (H > 0)
        ++P.Concord;
      else if (H < 0)
        ++P.Discord;
      else if (Dx != 0)
        ++P.TiesY;
      else if (Dy != 0)
        ++P.TiesX;
    }
  return P;
}

// Pairs within the runs of equal keys of a sorted sequence: sum of t (t - 1) / 2.
template <class Eq>
int64_t TiedPairs(std::size_t N, Eq&& Equal) {
  int64_t Sum = 0, Run = 1;
  for (std::size_t I = 1; I <= N; ++I) {
    if (I < N && Equal(I - 1, I)) {
      ++Run;
      continue;
    }
    Sum += Run * (Run - 1) / 2;
    Run = 1;
  }
  return Sum;
}

inline TPairCounts CountPairs(std::span<const double> X, std::span<const double> Y) {
  const std::size_t N = X.size();
  for (std::size_t I = 0; I < N; ++I)
    if (!std::isfinite(X[I]) || !std::isfinite(Y[I])) {
      // A pair holding NaN has NaN differences with every other: it counts
      // nowhere and is left out. Infinities (inf - inf is NaN) take the plain visit.
      std::vector<double> Xs, Ys;
      bool Infinite = false;
      for (std::size_t J = 0; J < N; ++J) {
        if (std::isnan(X[J]) || std::isnan(Y[J])) continue;
        Infinite = Infinite || std::isinf(X[J]) || std::isinf(Y[J]);
        Xs.push_back(X[J]);
        Ys.push_back(Y[J]);
      }
      return Infinite ? CountPairsPlain(Xs, Ys) : CountPairs(Xs, Ys);
    }
  std::vector<std::size_t> Ord(N);
  for (std::size_t I = 0; I < N; ++I) Ord[I] = I;
  std::sort(Ord.begin(), Ord.end(), [&](std::size_t A, std::size_t B) {
    return X[A] < X[B] || (X[A] == X[B] && Y[A] < Y[B]);
  });
  const int64_t TieX = TiedPairs(N, [&](std::size_t A, std::size_t B) { return X[Ord[A]] == X[Ord[B]]; });
  const int64_t TieXY = TiedPairs(N, [&](std::size_t A, std::size_t B) {
    return X[Ord[A]] == X[Ord[B]] && Y[Ord[A]] == Y[Ord[B]];
  });
  // Bottom-up merge sort by y: each element of the right run that passes
  // elements of the left run forms that many discordant pairs.
  std::vector<double> V(N), W(N);
  for (std::size_t I = 0; I < N; ++I) V[I] = Y[Ord[I]];
  int64_t Swaps = 0;
  for (std::size_t Width = 1; Width < N; Width *= 2) {
    for (std::size_t Lo = 0; Lo < N; Lo += 2 * Width) {
      const std::size_t Mid = std::min(Lo + Width, N), Hi = std::min(Lo + 2 * Width, N);
      std::size_t L = Lo, R = Mid, K = Lo;
      while (L < Mid && R < Hi) {
        if (V[R] < V[L]) {
          Swaps += static_cast<int64_t>(Mid - L);
          W[K++] = V[R++];
        } else {
          W[K++] = V[L++];
        }
      }
      while (L < Mid) W[K++] = V[L++];
      while (R < Hi) W[K++] = V[R++];
    }
    V.swap(W);
  }
  const int64_t TieY = TiedPairs(N, [&](std::size_t A, std::size_t B) { return V[A] == V[B]; });
  const int64_t All = static_cast<int64_t>(N) * static_cast<int64_t>(N - 1) / 2;
  TPairCounts P;
  P.Discord = Swaps;
  P.TiesY = TieY - TieXY;
  P.TiesX = TieX - TieXY;
  P.Concord = All - TieX - TieY + TieXY - Swaps;
  return P;
}

}  // namespace orv::detail
