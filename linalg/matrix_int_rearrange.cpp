// Reordering a dense TIntMatrix: sorting rows and columns, mirroring,
// exchanging and removing lines (nothing of it reads a sparse list).
#include "linalg/grid_sort.h"
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using Ops = detail::TMatrixOps<TIntMatrix>;

void TIntMatrix::SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                          int32_t HighRow) {
  if (!FIsSparse) detail::SortGridLines<true>(*this, SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                          int32_t HighRow) {
  if (!FIsSparse) detail::SortGridLines<false>(*this, SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow);
}

void TIntMatrix::MirrorColumns() { Ops::MirrorColumns(*this); }
void TIntMatrix::MirrorRows() { Ops::MirrorRows(*this); }
void TIntMatrix::ExchangeColumns(int32_t C1, int32_t C2) { Ops::ExchangeColumns(*this, C1, C2); }
void TIntMatrix::ExchangeRows(int32_t R1, int32_t R2) { Ops::ExchangeRows(*this, R1, R2); }
bool TIntMatrix::RemoveColumn(int32_t Col) { return Ops::RemoveColumn(*this, Col); }
bool TIntMatrix::RemoveRow(int32_t Row) { return Ops::RemoveRow(*this, Row); }

}  // namespace orv
