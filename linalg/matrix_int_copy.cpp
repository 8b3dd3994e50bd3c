// Copying blocks of a TIntMatrix to and from vectors, matrices and dynamic
// arrays, for either storage where cells are read and written one by one.
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TMatrixOps<TIntMatrix>;

void TIntMatrix::CopyRowToVec(TIntVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const {
  Ops::CopyLineToVec<true>(*this, DestVec, Row, FirstCol, LastCol);
}

void TIntMatrix::CopyColToVec(TIntVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const {
  Ops::CopyLineToVec<false>(*this, DestVec, Col, FirstRow, LastRow);
}

void TIntMatrix::CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo,
                          int32_t SourceColHi, int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  Ops::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

void TIntMatrix::CopyToArray(TInt2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                             int32_t HighRow) const {
  Ops::CopyToArray(*this, DestArray, LowCol, HighCol, LowRow, HighRow);
}

void TIntMatrix::CopyFromArray(const TInt2DArray& SrcArray, int32_t Col, int32_t Row) {
  Ops::CopyFromArray(*this, SrcArray, Col, Row);
}

}  // namespace orv
