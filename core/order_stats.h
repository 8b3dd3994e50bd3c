// Order statistics (internal, header-only): by interpolation between sorted
// values (the vectors' Percentile and Quartiles, the matrices' Quartiles, the
// data table's), the mode, the nearest-rank percentile selected from a work
// array (the matrices' and the 3-D and 4-D arrays' Percentile), and the
// binary search in sorted values.
//
// How to use
// ----------
// Copy the values into a work array of their own type with SortedCopy, which
// sorts it ascending with SortArray of ORV_math1: ProcStat grows by
// the sort's passes and MathFeedBackProc is called, as these routines
// document. Allocation failures come out as std::bad_alloc; wrap the call in
// the component's allocation guard (GuardAlloc) to raise its own error. Then
// read the statistic from the sorted array:
//
//   const std::vector<int32_t> A = SortedCopy<int32_t>(N, SpanSequence(P, N));
//   const double Median = InterpolatedPercentile<int32_t>(A, 50.0);
//
// Same names, other definitions: the vectors' Percentile interpolates
// (InterpolatedPercentile), the matrices' takes the nearest rank
// (TSelection). Keep such routines apart by name.
//
// A nearest-rank percentile collects the values in a TSelection, then selects:
//
//   TSelection W(N);
//   Visit([&](auto X) { W.Add(static_cast<double>(X)); });
//   const double P = W.Select(Prob);
//
// A routine that gives out interpolated order statistics only, and documents
// no sort, selects them instead: PercentileByRank and QuartilesByRank take
// the K-th smallest value from a TRankSelector over the unsorted values.
//
//   TRankSelector<double> Sel(Values);          // Values reordered in place
//   const double Median = PercentileByRank(std::ssize(Values), 50.0, Sel);
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

#include "core/extent.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// The Count values of Visit (see core/moments.h) in an array of T, sorted
// ascending by SortArray (NaN last). T is one of SortArray's element types:
// double, float or int32_t; cells of other types are copied as double.
template <class T, class VisitFn>
std::vector<T> SortedCopy(int64_t Count, VisitFn&& Visit) {
  std::vector<T> A;
  A.reserve(Ix(Count));
  Visit([&](auto X) { A.push_back(static_cast<T>(X)); });
  SortArray(std::span<T>(A), true);
  return A;
}

// Lo + (Hi - Lo) * R in double (so two integers' difference cannot wrap).
// R = 0 and Lo = Hi give Lo itself, also where Lo is infinite and the
// product would be NaN.
template <class T>
double LinearBetween(T Lo, T Hi, double R) {
  const double L = static_cast<double>(Lo), H = static_cast<double>(Hi);
  if (R == 0.0 || L == H) return L;
  return L + (H - L) * R;
}

// The percentile Prob (clamped into 0..100) of N values whose K-th smallest
// (1-based, NaN last) At(K) gives, linear between the closest ranks:
// t = Prob (n - 1) / 100, x(k + 1) + (x(k + 2) - x(k + 1)) Frac(t), k = Trunc(t);
// x(n) for Prob = 100 and where rounding puts t at n - 1. The same as
// numpy.percentile(method='linear'). One value gives itself; no value, and
// a NaN Prob, give 0.0 and NaN. At is called with increasing ranks.
template <class AtFn>
double PercentileByRank(int64_t N, double Prob, AtFn&& At) {
  if (N == 0) return 0.0;
  if (std::isnan(Prob)) return std::numeric_limits<double>::quiet_NaN();
  if (Prob < 0.0) Prob = 0.0;
  if (Prob > 100.0) Prob = 100.0;
  if (N == 1 || Prob == 100.0) return static_cast<double>(At(N));
  const double T1 = Prob * static_cast<double>(N - 1) / 100.0;
  const int64_t K = Trunc(T1);
  if (K >= N - 1) return static_cast<double>(At(N));
  const auto Lo = At(K + 1);
  const auto Hi = At(K + 2);
  return LinearBetween(Lo, Hi, Frac(T1));
}

// The quartiles of N values given by rank as above, at the positions
// t = (n + 1) p for p = 1/4, 1/2, 3/4 (1-based): x(k) + (x(k+1) - x(k)) Frac(t),
// k = Trunc(t), x(1) where k = 0 and x(n) where k >= n. The same as
// numpy.percentile(method='weibull'). One value gives it three times; no
// value gives false and zeros. At is called with increasing ranks.
template <class AtFn>
bool QuartilesByRank(int64_t N, AtFn&& At, double& Q1, double& Q2, double& Q3) {
  Q1 = Q2 = Q3 = 0.0;
  if (N == 0) return false;
  const auto Quartile = [&](double P) {
    const double T1 = static_cast<double>(N + 1) * P;
    const int64_t K = Trunc(T1);
    if (K <= 0) return static_cast<double>(At(1));
    if (K >= N) return static_cast<double>(At(N));
    const auto Lo = At(K);
    const auto Hi = At(K + 1);
    return LinearBetween(Lo, Hi, Frac(T1));
  };
  if (N == 1) {
    Q1 = Q2 = Q3 = static_cast<double>(At(1));
    return true;
  }
  Q1 = Quartile(0.25);
  Q2 = Quartile(0.5);
  Q3 = Quartile(0.75);
  return true;
}

// Both over values sorted ascending (NaN last).
template <class T>
double InterpolatedPercentile(std::span<const T> A, double Prob) {
  return PercentileByRank(std::ssize(A), Prob, [&](int64_t K) { return A[Ix1(K)]; });
}

template <class T>
bool InterpolatedQuartiles(std::span<const T> A, double& Q1, double& Q2, double& Q3) {
  return QuartilesByRank(std::ssize(A), [&](int64_t K) { return A[Ix1(K)]; }, Q1, Q2, Q3);
}

// The K-th smallest of unsorted values by selection (Hoare's FIND, as
// std::nth_element runs it), for routines that give out order statistics
// only: a few selections cost less than a sort. NaN ranks last, as in
// SortArray. The values are reordered in place. Ranks asked in increasing
// order reuse what the earlier selections partitioned (the next rank is the
// minimum of the rest); a smaller rank selects among the values below.
template <class T>
class TRankSelector {
 public:
  explicit TRankSelector(std::vector<T>& A) : FA(A) {
    if constexpr (std::is_floating_point_v<T>)
      FNumbers = std::partition(A.begin(), A.end(), [](T X) { return X == X; }) - A.begin();
    else
      FNumbers = std::ssize(A);
  }

  T operator()(int64_t K) {
    const int64_t P = K - 1;  // 0-based
    const auto At = [&](int64_t I) { return FA.begin() + I; };
    if (P >= FNumbers || P == FKnown) return FA[Ix(P)];
    if (P < FBelow) {
      // The FBelow smallest values lie in front, in some order.
      std::nth_element(At(0), At(P), At(FBelow));
    } else if (P == FBelow) {
      std::iter_swap(At(P), std::min_element(At(P), At(FNumbers)));
      FBelow = P + 1;
    } else {
      std::nth_element(At(FBelow), At(P), At(FNumbers));
      FBelow = P + 1;
    }
    FKnown = P;
    return FA[Ix(P)];
  }

 private:
  std::vector<T>& FA;
  int64_t FNumbers = 0;  // values before the NaNs
  int64_t FBelow = 0;    // A[0, FBelow) holds the FBelow smallest values
  int64_t FKnown = -1;   // a position whose value is in its sorted place
};

// The value of the first longest run of equal values in the sorted A (the
// smallest value when all differ; each NaN is a run of its own). T{} for no
// value.
template <class T>
T ModeOfSorted(std::span<const T> A) {
  if (A.empty()) return T{};
  T Best = A[0];
  std::size_t BestLen = 0, Len = 0;
  for (std::size_t I = 0; I < A.size(); ++I) {
    Len = I > 0 && A[I] == A[I - 1] ? Len + 1 : 1;
    if (Len > BestLen) {
      BestLen = Len;
      Best = A[I];
    }
  }
  return Best;
}

// ---- nearest rank ------------------------------------------------------------------
// The 0-based sorted position of the nearest-rank percentile Prob (in 0..100)
// of N > 0 values: Round(N Prob / 100), half to even, at most N - 1.
inline int64_t NearestRank(int64_t N, double Prob) {
  return std::min(Round(static_cast<double>(N) * Prob / 100.0), N - 1);
}

// A work array for one selection. Add takes the values in any order: numbers
// fill it from the front, NaN from the back, so NaN sorts behind every number
// as in SortArray. Select finds the value at the nearest rank with
// std::nth_element over the numbers: the value QuickSelect of ORV_math1 finds
// at that position (whose partition degrades to quadratic time on many
// equal values), without its cost. Neither reports progress.
class TSelection {
 public:
  // Room for Capacity values; std::bad_alloc when it cannot be had.
  explicit TSelection(int64_t Capacity) : FCapacity(Capacity), FBack(Capacity) {
    CheckExtent(Capacity, sizeof(double));
    FW = std::make_unique_for_overwrite<double[]>(Ix(Capacity));
  }

  void Add(double X) {
    const bool Number = X == X;
    FW[Ix(Number ? FFront : FBack - 1)] = X;
    FFront += Number;
    FBack -= !Number;
  }
  int64_t Count() const { return FFront + FCapacity - FBack; }
  void Reset() {  // empty again, for the next selection of at most Capacity values
    FFront = 0;
    FBack = FCapacity;
  }

  // The value at sorted position NearestRank(Count, Prob), Prob clamped into
  // 0..100; NaN for a NaN Prob or where that position holds NaN; 0.0 without
  // values. Reorders the work array.
  double Select(double Prob) {
    const int64_t N = Count();
    if (N == 0) return 0.0;
    if (std::isnan(Prob)) return std::numeric_limits<double>::quiet_NaN();
    const int64_t K = NearestRank(N, std::clamp(Prob, 0.0, 100.0));
    if (K >= FFront) return std::numeric_limits<double>::quiet_NaN();
    double* First = FW.get();
    std::nth_element(First, First + K, First + FFront);
    return First[K];
  }

 private:
  std::unique_ptr<double[]> FW;  // not zeroed: Add writes every slot read
  int64_t FCapacity, FFront = 0, FBack;
};

// ---- searching ---------------------------------------------------------------------
// Binary search in the N > 0 values X(1..N), read through X(i), sorted in the
// given direction: Lo := 1, Hi := N; while Hi - Lo > 1, an exact hit at the
// middle M = (Lo + Hi) div 2 returns M, a Value beyond X(M) in the sort
// direction moves Lo to M, else Hi to M. Without a hit the result is the
// nearer of X(Lo) and X(Hi) to Value, Hi on a tie (1-based).
template <class T, class ValueAt>
int32_t FindInSortedOf(int32_t N, bool Ascending, T Value, ValueAt&& X) {
  const auto Distance = [Value](T A) { return std::fabs(static_cast<double>(A) - static_cast<double>(Value)); };
  int32_t Lo = 1, Hi = N;
  while (Hi - Lo > 1) {
    const int32_t M = Lo + (Hi - Lo) / 2;
    const T Xm = X(M);
    if (Xm == Value) return M;
    if (Ascending ? Value > Xm : Value < Xm)
      Lo = M;
    else
      Hi = M;
  }
  return Distance(X(Hi)) <= Distance(X(Lo)) ? Hi : Lo;
}

}  // namespace orv::detail
