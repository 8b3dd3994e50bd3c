// The comb sort of plain arrays with its passes taken in vector lanes
// (internal): SortArray of ORV_math1 (and through it every member that sorts
// a copy: Percentile, Quartiles, Mode, ...), SortArray with origin index of
// the array routines and SortElems of the vectors without a handler run this
// one kernel.
//
// Use:
//   CombSortValues(V, Origins, N, StartGap, Ascending, Pass);
// sorts V[0..N-1] (double, float or int32_t) as CombSortByKey of
// core/combsort.h does from StartGap, NaN last, calling Pass after every pass
// (CombReportPass or CombNoReport); Origins, when not null, is an int32_t
// array of N entries that follows every exchange. Each pass goes through
// CombLanePass first: the pairs (i, i + gap) several at a time, each
// exchanged or kept by a bit select on SortsAfterAscending /
// SortsAfterDescending written lane-wise; gaps from 8 in vectors of the
// register width (ORV_SIMD_BY_WIDTH: 16, 32 or 64 bytes), smaller ones in
// as many lanes as divide the gap, at gap 1 groups of pairs all in order
// passed over (see core/combsort_lanes.cpp). The gap keeps a step's cells apart, so the
// exchanges are those of the plain loop, bit for bit (NaN payloads and the
// sign of zero kept), pass for pass; the loop does what the lanes leave.
#pragma once

#include <cstdint>
#include <utility>

#include "core/combsort.h"

namespace orv::detail {

// The Bulk step of CombSort (see core/combsort.h) for these arrays, built per
// vector width in core/combsort_lanes.cpp. Origins may be null.
int64_t CombLanePass(double* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped);
int64_t CombLanePass(float* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped);
int64_t CombLanePass(int32_t* V, int32_t* Origins, bool Ascending, int64_t Gap, int64_t From, int64_t Last,
                     bool& Swapped);

template <class T, class PassFn>
bool CombSortValues(T* V, int32_t* Origins, int64_t N, int64_t StartGap, bool Ascending, PassFn&& Pass) {
  const auto Key = [V](int64_t I) { return V[I]; };
  const auto Lanes = [=](int64_t Gap, int64_t From, int64_t Last, bool& Swapped) {
    return CombLanePass(V, Origins, Ascending, Gap, From, Last, Swapped);
  };
  if (Origins == nullptr)
    return CombSortByKey(
        int64_t{0}, N - 1, StartGap, Ascending, Key, [V](int64_t I, int64_t J) { std::swap(V[I], V[J]); }, Pass,
        Lanes);
  return CombSortByKey(
      int64_t{0}, N - 1, StartGap, Ascending, Key,
      [V, Origins](int64_t I, int64_t J) {
        std::swap(V[I], V[J]);
        std::swap(Origins[I], Origins[J]);
      },
      Pass, Lanes);
}

}  // namespace orv::detail
