// Sorting the rows or the columns of a block of a column-major matrix
// component (TMatrix, TIntMatrix, and TDataTable through its matrix) with the
// library's comb sort, reporting every exchange through the component's
// SortExchange. Internal.
#pragma once

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
  const std::size_t K = static_cast<std::size_t>(KeyIx - 1);
  const bool KeyOutside = KeyIx < CrossLo || KeyIx > CrossHi;
  // Cell of line L at cross position X (0-based).
  const auto Cell = [&G](std::size_t L, std::size_t X) -> auto& { return ByRows ? G[X][L] : G[L][X]; };
  bool Resized = false;
  const auto Exchange = [&](int32_t I, int32_t J) {
    if (Resized) return false;
    const std::size_t A = static_cast<std::size_t>(I - 1), B = static_cast<std::size_t>(J - 1);
    for (int32_t X = CrossLo; X <= CrossHi; ++X) std::swap(Cell(A, static_cast<std::size_t>(X - 1)), Cell(B, static_cast<std::size_t>(X - 1)));
    if (KeyOutside) std::swap(Cell(A, K), Cell(B, K));
    if (Self.OnSortExchange) [[unlikely]] {
      Self.SortExchange(ByRows ? 2 : 1, I, J, CrossLo, CrossHi);
      Resized = Self.NrOfColumns() != NCol || Self.NrOfRows() != NRow;
    }
    return true;
  };
  const auto Key = [&](int32_t I) { return Cell(static_cast<std::size_t>(I - 1), K); };
  if (Ascending)
    CombSort(Lo, Hi, int64_t{Hi} - Lo, [&](int32_t I, int32_t J) { return !Resized && SortsAfterAscending(Key(I), Key(J)); },
             Exchange, CombNoReport);
  else
    CombSort(Lo, Hi, int64_t{Hi} - Lo, [&](int32_t I, int32_t J) { return !Resized && SortsAfterDescending(Key(I), Key(J)); },
             Exchange, CombNoReport);
  Self.Changed();
}

}  // namespace orv::detail
