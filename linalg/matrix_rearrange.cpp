// Rearranging a TMatrix: removing, exchanging and mirroring columns and rows,
// transposing, differences along the rows.
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using Ops = detail::TMatrixOps<TMatrix>;

bool TMatrix::RemoveColumn(int32_t Col) { return Ops::RemoveColumn(*this, Col); }

bool TMatrix::RemoveRow(int32_t Row) { return Ops::RemoveRow(*this, Row); }

void TMatrix::ExchangeColumns(int32_t C1, int32_t C2) { Ops::ExchangeColumns(*this, C1, C2); }

void TMatrix::ExchangeRows(int32_t R1, int32_t R2) { Ops::ExchangeRows(*this, R1, R2); }

void TMatrix::MirrorColumns() { Ops::MirrorColumns(*this); }

void TMatrix::MirrorRows() { Ops::MirrorRows(*this); }

bool TMatrix::Transpose() {
  Ops::TransposeDense(*this);
  return true;
}

void TMatrix::Diff(int32_t Order) {
  if (Order < 1 || Order > 10 || Order >= FNRow) return;
  // Every pass runs over all rows, so the last Order rows, dropped below,
  // hold no valid difference.
  for (int32_t C = 0; C < FNCol; ++C) {
    double* X = Mat[detail::Ix(C)].data();
    for (int32_t Pass = 0; Pass < Order; ++Pass)
      for (int32_t J = 0; J + 1 < FNRow; ++J) X[J] = X[J + 1] - X[J];
  }
  Resize(FNCol, FNRow - Order);
}

}  // namespace orv
