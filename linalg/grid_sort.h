// Sorting the rows or the columns of a block of a column-major matrix
// component (TMatrix, TIntMatrix, and TDataTable through its matrix) with the
// library's comb sort, reporting every exchange through the component's
// SortExchange. Internal.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "core/combsort.h"
#include "core/storage_guard.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"

namespace orv::detail {

// The comb sort of SortGridLines over raw pointers into the storage. With a
// handler (Watched) each exchange fires SortExchange, whose handler may change
// the matrix: two storage guards look after it. When the storage the
// pointers lead into moved (the array of columns, the key column), they are
// taken again; when the matrix's size or storage kind changed, the sort
// ends, since the bounds no longer hold (the rest of that pass compares
// equal keys, so it exchanges nothing).
template <bool ByRows, bool Watched, class M, class FollowFn>
void SortGridBlock(M& Self, std::size_t K, bool Ascending, int32_t Lo, int32_t Hi, int32_t CrossLo, int32_t CrossHi,
                   bool KeyOutside, FollowFn& Follow) {
  auto& G = Self.Mat;
  using TCell = std::remove_cvref_t<decltype(G[0][0])>;
  auto* Lines = G.data();  // the columns
  const TCell* KeyCol = ByRows ? G[K].data() : nullptr;  // rows: the key column
  bool Resized = false, Moved = false;
  // Built only when watched: the size and storage kind, and beside them the
  // storage the pointers lead into (ByRows' key column, the array of
  // columns); the shape alone tells a resize from a move.
  const auto Watch = [&] {
    if constexpr (!Watched)
      return 0;
    else if constexpr (ByRows)
      return std::pair(TStorageGuard(ShapeOf(Self), ItemOf(G, K)), TStorageGuard(ShapeOf(Self)));
    else
      return std::pair(TStorageGuard(ShapeOf(Self), TopLevel(G)), TStorageGuard(ShapeOf(Self)));
  };
  auto Guards = Watch();
  // The pointers are taken again only once a handler has moved the storage:
  // reloaded after every event, they would hold the next comparisons back
  // until the handler returned, and the sort would lose its overlapping
  // memory accesses (a no-op handler cost a third of the time).
  const auto Refresh = [&] {
    if (!Moved) [[likely]]
      return;
    Lines = G.data();
    if constexpr (ByRows) KeyCol = G[K].data();
    if constexpr (Watched) Guards.first.Record();
    Moved = false;
  };
  const auto Key = [&](int32_t I) -> TCell {
    if constexpr (Watched) {
      if (Resized) return TCell{};
      Refresh();
    }
    return ByRows ? KeyCol[I - 1] : Lines[Ix1(I)][K];
  };
  const auto Exchange = [&](int32_t I, int32_t J) {
    if constexpr (ByRows) {
      auto* First = Lines + Ix1(CrossLo);
      const std::size_t NCross = Ix(CrossHi - CrossLo + 1);
      for (std::size_t X = 0; X < NCross; ++X) std::swap(First[X][Ix1(I)], First[X][Ix1(J)]);
      if (KeyOutside) std::swap(Lines[K][Ix1(I)], Lines[K][Ix1(J)]);
    } else {
      TCell* A = Lines[Ix1(I)].data();
      TCell* B = Lines[Ix1(J)].data();
      std::swap_ranges(A + (CrossLo - 1), A + CrossHi, B + (CrossLo - 1));
      if (KeyOutside) std::swap(A[K], B[K]);
    }
    Follow(I, J);
    if constexpr (Watched) {
      Self.SortExchange(ByRows ? 2 : 1, I, J, CrossLo, CrossHi);
      if (!Guards.first.Intact()) [[unlikely]] {
        Resized = !Guards.second.Intact();
        Moved = !Resized;
      }
    }
  };
  CombSortByKey(Lo, Hi, int64_t{Hi} - Lo, Ascending, Key, Exchange, [&] { return !Resized; });
}

// ByRows: rows LowRow..HighRow are ordered by the cells of column KeyIx; an
// exchange swaps the cells of columns LowCol..HighCol, and of the key column
// when it lies outside them, then fires SortExchange(2, i, j, LowCol, HighCol).
// Otherwise columns are ordered by row KeyIx alike (kind 1, LowRow, HighRow).
// Bounds follow the range rule; a key outside the matrix sorts nothing. NaN
// keys go last in both directions (a descending "not >=" test would never end).
// OnChange fires once when at least two lines were in range. A handler that
// changes the matrix's size ends the sort, since the bounds no longer hold.
// Follow(i, j) is called at each exchange before SortExchange: a caller that
// keeps data of its own in step (the data table's order of states) does so
// inline, where an event per exchange would cost a call that holds back the
// sort's overlapping memory accesses.
template <bool ByRows, class M, class FollowFn>
void SortGridLines(M& Self, int32_t KeyIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                   int32_t HighRow, FollowFn&& Follow) {
  Self.MakeValidColRange(LowCol, HighCol);
  Self.MakeValidRowRange(LowRow, HighRow);
  const int32_t NCol = Self.NrOfColumns(), NRow = Self.NrOfRows();
  if (!InAxis(KeyIx, ByRows ? NCol : NRow)) return;
  const int32_t Lo = ByRows ? LowRow : LowCol, Hi = ByRows ? HighRow : HighCol;
  const int32_t CrossLo = ByRows ? LowCol : LowRow, CrossHi = ByRows ? HighCol : HighRow;
  if (Hi - Lo <= 0) return;
  const std::size_t K = Ix1(KeyIx);
  const bool KeyOutside = KeyIx < CrossLo || KeyIx > CrossHi;
  if (Self.OnSortExchange)
    SortGridBlock<ByRows, true>(Self, K, Ascending, Lo, Hi, CrossLo, CrossHi, KeyOutside, Follow);
  else
    SortGridBlock<ByRows, false>(Self, K, Ascending, Lo, Hi, CrossLo, CrossHi, KeyOutside, Follow);
  Self.Changed();
}

template <bool ByRows, class M>
void SortGridLines(M& Self, int32_t KeyIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                   int32_t HighRow) {
  SortGridLines<ByRows>(Self, KeyIx, Ascending, LowCol, LowRow, HighCol, HighRow, [](int32_t, int32_t) {});
}

}  // namespace orv::detail
