// Sorting the rows or the columns of a block of a column-major matrix
// component (TMatrix, TIntMatrix, and TDataTable through its matrix) with the
// library's comb sort, reporting every exchange through the component's
// SortExchange. Internal.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/combsort.h"
#include "linalg/component.h"

namespace orv::detail {

// ByRows: rows LowRow..HighRow are ordered by the cells of column KeyIx; an
// exchange swaps the cells of columns LowCol..HighCol, and of the key column
// when it lies outside them, then fires SortExchange(2, i, j, LowCol, HighCol).
// Otherwise columns are ordered by row KeyIx alike (kind 1, LowRow, HighRow).
// Bounds follow the range rule; a key outside the matrix sorts nothing. NaN
// keys go last in both directions (a descending "not >=" test would never end).
// OnChange fires once when at least two lines were in range. A handler that
// changes the matrix's size ends the sort, since the bounds no longer hold.
template <bool ByRows, class M>
void SortGridLines(M& Self, int32_t KeyIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                   int32_t HighRow) {
  Self.MakeValidColRange(LowCol, HighCol);
  Self.MakeValidRowRange(LowRow, HighRow);
  const int32_t NCol = Self.NrOfColumns(), NRow = Self.NrOfRows();
  if (!InAxis(KeyIx, ByRows ? NCol : NRow)) return;
  const int32_t Lo = ByRows ? LowRow : LowCol, Hi = ByRows ? HighRow : HighCol;
  const int32_t CrossLo = ByRows ? LowCol : LowRow, CrossHi = ByRows ? HighCol : HighRow;
  if (Hi - Lo <= 0) return;
  auto& G = Self.Mat;
  const std::size_t K = Ix1(KeyIx);
  const bool KeyOutside = KeyIx < CrossLo || KeyIx > CrossHi;
  const auto Sort = [&](auto&& Key, auto&& Exchange, auto&& Pass) {
    CombSortByKey(Lo, Hi, int64_t{Hi} - Lo, Ascending, Key, Exchange, Pass);
  };
  if (!Self.OnSortExchange) {
    // Nothing runs between the exchanges: work on the storage directly.
    if constexpr (ByRows) {
      const auto* KeyCol = G[K].data();
      auto* First = &G[Ix1(CrossLo)];
      const std::size_t NCross = Ix(CrossHi - CrossLo + 1);
      Sort([&](int32_t I) { return KeyCol[I - 1]; },
           [&](int32_t I, int32_t J) {
             for (std::size_t X = 0; X < NCross; ++X) std::swap(First[X][Ix1(I)], First[X][Ix1(J)]);
             if (KeyOutside) std::swap(G[K][Ix1(I)], G[K][Ix1(J)]);
           },
           CombNoReport);
    } else {
      Sort([&](int32_t I) { return G[Ix1(I)][K]; },
           [&](int32_t I, int32_t J) {
             auto* A = G[Ix1(I)].data();
             auto* B = G[Ix1(J)].data();
             std::swap_ranges(A + (CrossLo - 1), A + CrossHi, B + (CrossLo - 1));
             if (KeyOutside) std::swap(A[K], B[K]);
           },
           CombNoReport);
    }
    Self.Changed();
    return;
  }
  // The handler may change the matrix: index afresh, and stop when its size
  // changed. The rest of that pass compares equal keys, so it exchanges nothing.
  const auto Cell = [&G](std::size_t L, std::size_t X) -> auto& { return ByRows ? G[X][L] : G[L][X]; };
  bool Resized = false;
  Sort([&](int32_t I) { return Resized ? 0 : Cell(Ix1(I), K); },
       [&](int32_t I, int32_t J) {
         for (int32_t X = CrossLo; X <= CrossHi; ++X) std::swap(Cell(Ix1(I), Ix1(X)), Cell(Ix1(J), Ix1(X)));
         if (KeyOutside) std::swap(Cell(Ix1(I), K), Cell(Ix1(J), K));
         Self.SortExchange(ByRows ? 2 : 1, I, J, CrossLo, CrossHi);
         Resized = Self.NrOfColumns() != NCol || Self.NrOfRows() != NRow;
       },
       [&] { return !Resized; });
  Self.Changed();
}

}  // namespace orv::detail
