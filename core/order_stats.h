// Order statistics by interpolation between sorted values, and the mode
// (internal, header-only): the vectors' Percentile, Quartiles and Mode, and
// the routines of other components defined the same way (the data table's
// quartiles and percentiles).
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
// Same names, other definitions: the matrices' and the array routines'
// Percentile is a nearest rank selected with QuickSelect, not this
// interpolation; and the matrices' quartiles clamp the top position to n - 1
// where InterpolatedQuartiles takes x(n). Keep such routines apart by name.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

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

// The percentile Prob (clamped into 0..100) of the sorted values A, linear
// between the closest ranks: t = Prob (n - 1) / 100, a(k) + (a(k+1) - a(k))
// Frac(t), k = Trunc(t), 0-based; a(n-1) for Prob = 100 and where rounding
// puts t at n - 1. The same as numpy.percentile(method='linear'). One value
// gives itself; no value, and a NaN Prob, give 0.0 and NaN.
template <class T>
double InterpolatedPercentile(std::span<const T> A, double Prob) {
  const int64_t N = std::ssize(A);
  if (N == 0) return 0.0;
  if (std::isnan(Prob)) return std::numeric_limits<double>::quiet_NaN();
  if (Prob < 0.0) Prob = 0.0;
  if (Prob > 100.0) Prob = 100.0;
  if (N == 1 || Prob == 100.0) return static_cast<double>(A[A.size() - 1]);
  const double T1 = Prob * static_cast<double>(N - 1) / 100.0;
  const int64_t K = Trunc(T1);
  if (K >= N - 1) return static_cast<double>(A[A.size() - 1]);
  return LinearBetween(A[Ix(K)], A[Ix(K + 1)], Frac(T1));
}

// The quartiles of the sorted values A at the positions t = (n + 1) p for
// p = 1/4, 1/2, 3/4 (1-based): a(k) + (a(k+1) - a(k)) Frac(t), k = Trunc(t),
// a(1) where k = 0 and a(n) where k >= n. The same as
// numpy.percentile(method='weibull'). One value gives it three times; no
// value gives false and zeros.
template <class T>
bool InterpolatedQuartiles(std::span<const T> A, double& Q1, double& Q2, double& Q3) {
  Q1 = Q2 = Q3 = 0.0;
  const int64_t N = std::ssize(A);
  if (N == 0) return false;
  const auto At = [&](int64_t K) { return A[Ix1(K)]; };
  const auto Quartile = [&](double P) {
    const double T1 = static_cast<double>(N + 1) * P;
    const int64_t K = Trunc(T1);
    if (K <= 0) return static_cast<double>(At(1));
    if (K >= N) return static_cast<double>(At(N));
    return LinearBetween(At(K), At(K + 1), Frac(T1));
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

}  // namespace orv::detail
