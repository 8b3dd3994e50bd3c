// The library's comb sort (internal, header-only). Every in-place sort of the
// library runs this one loop: SortArray over plain arrays, and the components
// that sort their own storage (vector elements, matrix rows and columns, the
// data table, sparse entries, the array routines, classifier estimates).
//
// How a component uses it
// -----------------------
// A sort by key in either direction, what almost every sort is:
//   CombSortByKey(Low, High, StartGap, Ascending, Key, Exchange, Pass);
// Key(i) gives the key of element i (a number, or anything with < and >);
// pairs are compared with SortsAfterAscending or SortsAfterDescending below,
// as Ascending says. Any other order calls the loop itself:
//   CombSort(Low, High, StartGap, After, Exchange, Pass);
//
// - Low..High: the inclusive index range to sort, in the component's own
//   numbering (0- or 1-based); nothing happens when High <= Low.
// - StartGap: the gap before the first shrink. Each pass first sets
//   gap := Trunc(gap / 1.3) (in double; 0 becomes 1), then compares the pairs
//   (i, i + gap) for i = Low, Low + 1, ... while i + gap <= High, in that order.
//   SortArray starts from the element count, most components from High - Low,
//   some from n - 1: pass the value the component documents.
// - After(i, j) (i < j): true when element i must stand behind element j, i.e.
//   the pair is out of order and gets exchanged. Give a strict comparison:
//   equal keys must give false, and After(i, j) and After(j, i) must never both
//   be true. Then every exchange removes an inversion and the loop ends. A test
//   such as !(x >= y) breaks that for NaN (true both ways) and never ends; use
//   SortsAfterAscending / SortsAfterDescending below, which put NaN last in
//   both directions and are the plain > and < for NaN-free data.
// - Exchange(i, j): swaps the pair and fires the component's exchange event
//   (OnSortExchange) if it has one. It may return bool: false means nothing was
//   actually swapped and the pass does not count as having exchanged.
// - Pass(): runs after every pass. Pass CombNoReport for sorts that report no
//   progress, CombReportPass for those that add 1 to ProcStat per pass (and
//   call MathFeedBackProc). It may return bool: false stops the sort (abort).
// - Bulk(Gap, From, Last, Swapped), optional: a fast path of each pass. It
//   treats the pairs (i, i + gap) for i = From, From + 1, ... up to some J - 1
//   <= Last exactly as the loop would (the same comparisons and exchanges:
//   pairs whose elements the gap keeps apart may go several at a time), sets
//   Swapped when it exchanged, and returns J; the loop does the rest. The
//   default, CombNoBulk, returns From. A sort with a Bulk has a test that
//   compares its order with the plain loop's, ties and NaN included.
//
// The loop ends after a pass with gap 1 that made no exchange. The sort is not
// stable. CombSort returns false when Pass stopped it, else true.
//
// Trunc(gap / 1.3) is the same in double and in extended precision for every
// gap below 2^50: an exact multiple of 13 divides to the exact integer even
// with the rounded constant 1.3, and any other quotient lies at least 1/13
// away from an integer.
#pragma once

#include <cstdint>
#include <type_traits>

#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// The gap of the next pass.
inline int64_t CombNextGap(int64_t Gap) {
  const int64_t G = Trunc(static_cast<double>(Gap) / 1.3);
  return G < 1 ? 1 : G;
}

// A stands behind B in an ascending (descending) order: the plain comparison,
// with NaN after every number in both directions and NaNs equal to each other.
template <class T>
constexpr bool SortsAfterAscending(T A, T B) {
  if constexpr (std::is_floating_point_v<T>)
    return !(A <= B) & (B == B);  // both tests: no branch on the first
  else
    return A > B;
}

template <class T>
constexpr bool SortsAfterDescending(T A, T B) {
  if constexpr (std::is_floating_point_v<T>)
    return !(A >= B) & (B == B);
  else
    return A < B;
}

inline constexpr auto CombNoReport = [] {};
inline constexpr auto CombReportPass = [] { IncProcStat(); };
inline constexpr auto CombNoBulk = [](int64_t, int64_t From, int64_t, bool&) { return From; };
using TCombNoBulk = std::remove_const_t<decltype(CombNoBulk)>;

// Dobosiewicz, "An efficient variation of bubble sort", Inf. Process. Lett. 11(1),
// 1980; shrink factor 1.3: Lacey and Box, "A fast, easy sort", Byte 16(4), 1991.
template <class Index, class AfterFn, class ExchangeFn, class PassFn, class BulkFn = TCombNoBulk>
bool CombSort(Index Low, Index High, int64_t StartGap, AfterFn&& After, ExchangeFn&& Exchange, PassFn&& Pass,
              const BulkFn& Bulk = CombNoBulk) {
  static_assert(std::is_integral_v<Index>);
  const int64_t Span = static_cast<int64_t>(High) - static_cast<int64_t>(Low);
  if (Span <= 0) return true;
  int64_t Gap = StartGap;
  bool Swapped;
  do {
    Gap = CombNextGap(Gap);
    Swapped = false;
    if (Gap <= Span) {
      const Index Last = static_cast<Index>(static_cast<int64_t>(High) - Gap);
      const Index G = static_cast<Index>(Gap);
      for (auto i = static_cast<Index>(Bulk(Gap, static_cast<int64_t>(Low), static_cast<int64_t>(Last), Swapped));
           i <= Last; ++i) {
        if (!After(i, static_cast<Index>(i + G))) continue;
        if constexpr (std::is_same_v<decltype(Exchange(i, i)), bool>) {
          if (Exchange(i, static_cast<Index>(i + G))) Swapped = true;
        } else {
          Exchange(i, static_cast<Index>(i + G));
          Swapped = true;
        }
      }
    }
    if constexpr (std::is_same_v<decltype(Pass()), bool>) {
      if (!Pass()) return false;
    } else {
      Pass();
    }
  } while (Gap > 1 || Swapped);
  return true;
}

// CombSort ordered by Key(i), NaN last in both directions. Each direction is
// its own instance of the loop, so the comparison stays inline.
template <class Index, class KeyFn, class ExchangeFn, class PassFn, class BulkFn = TCombNoBulk>
bool CombSortByKey(Index Low, Index High, int64_t StartGap, bool Ascending, KeyFn&& Key, ExchangeFn&& Exchange,
                   PassFn&& Pass, const BulkFn& Bulk = CombNoBulk) {
  if (Ascending)
    return CombSort(
        Low, High, StartGap, [&](Index I, Index J) { return SortsAfterAscending(Key(I), Key(J)); }, Exchange,
        Pass, Bulk);
  return CombSort(
      Low, High, StartGap, [&](Index I, Index J) { return SortsAfterDescending(Key(I), Key(J)); }, Exchange, Pass,
      Bulk);
}

}  // namespace orv::detail
