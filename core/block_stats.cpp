// The line extremes of core/block_stats.h, built per vector width. The clone
// stays in this file: the dispatch symbol of a clone with external linkage
// would leave the library whatever its visibility.
#include "core/block_stats.h"

#include <cstring>

#include "core/simd.h"

namespace orv::detail {

namespace {

using TLanes = double __attribute__((vector_size(16)));
using TMask = int64_t __attribute__((vector_size(16)));

// Out := the extreme of Start and P[0..N-1], taken lane by lane with the
// comparison of the running rule (x < a for the minimum, x > a for the
// maximum; equal values keep the running one). Without NaN every step of a
// lane is the running rule's, and lanes can only disagree with the order of
// a single pass about the sign of a zero extreme; so false, with Out
// undefined, when a value is NaN or the extreme is zero.
ORV_SIMD_KERNEL bool LaneExtreme(const double* P, int64_t N, double Start, bool Max, double& Out) {
  TLanes A = {Start, Start}, B = A;
  TMask Nan = {0, 0};
  int64_t I = 0;
  for (; I + 4 <= N; I += 4) {
    TLanes X, Y;
    std::memcpy(&X, P + I, sizeof X);
    std::memcpy(&Y, P + I + 2, sizeof Y);
    if (Max) {
      A = X > A ? X : A;
      B = Y > B ? Y : B;
    } else {
      A = X < A ? X : A;
      B = Y < B ? Y : B;
    }
    Nan |= (TMask)(X != X) | (TMask)(Y != Y);
  }
  if (Nan[0] != 0 || Nan[1] != 0) return false;
  double R = Start;
  const double Lanes[4] = {A[0], A[1], B[0], B[1]};
  for (const double X : Lanes) R = Max ? (X > R ? X : R) : (X < R ? X : R);
  for (; I < N; ++I) {
    const double X = P[I];
    if (X != X) return false;
    R = Max ? (X > R ? X : R) : (X < R ? X : R);
  }
  Out = R;
  return R != 0.0;
}

}  // namespace

double LineExtreme(const double* P, int64_t N, double Start, bool Max) {
  double R;
  if (LaneExtreme(P, N, Start, Max, R)) return R;
  R = Start;
  if (Max)
    for (int64_t I = 0; I < N; ++I) R = R < P[I] ? P[I] : R;
  else
    for (int64_t I = 0; I < N; ++I) R = !(R <= P[I]) ? P[I] : R;
  return R;
}

}  // namespace orv::detail
