// Copying blocks of a TMatrix to and from vectors, matrices and dynamic arrays.
#include <algorithm>
#include <vector>

#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"

namespace orv {

using Ops = detail::TMatrixOps<TMatrix>;

void TMatrix::CopyRowToVec(TVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const {
  Ops::CopyLineToVec<true>(*this, DestVec, Row, FirstCol, LastCol);
}

void TMatrix::CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const {
  Ops::CopyLineToVec<false>(*this, DestVec, Col, FirstRow, LastRow);
}

void TMatrix::CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem, int32_t DestCol,
                          int32_t DestRow) {
  CopyFromVec(dimRows, VecSource, Source1stElem, SourceLastElem, DestCol, DestRow);
}

void TMatrix::CopyFromVec(TDims Dim, const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                          int32_t DestCol, int32_t DestRow) {
  if (VecSource == nullptr) return;
  VecSource->MakeValidElemRange(Source1stElem, SourceLastElem);
  if (Dim == dimColumns || Dim == dimRows) {
    // Read before the first write: a handler of this matrix may change the vector.
    const std::vector<double> Values = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
      std::vector<double> V;
      for (int32_t E = Source1stElem; E <= SourceLastElem; ++E) V.push_back(VecSource->GetVal(E));
      return V;
    });
    const auto N = static_cast<int64_t>(Values.size());
    const auto At = [&](int64_t I, int64_t J) { return Values[detail::Ix(I + J)]; };
    if (Dim == dimColumns)
      Ops::PutCells(*this, DestCol, DestRow, N, [](int64_t) { return int64_t{1}; }, At);
    else
      Ops::PutCells(*this, DestCol, DestRow, 1, [N](int64_t) { return N; }, At);
  }
  Changed();
}

void TMatrix::CopyFrom(const TMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                       int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  Ops::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

void TMatrix::CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                       int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  Ops::CopyFrom(*this, MatSource, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

namespace {

// One layer of a 3-D array as CopyFrom reads a matrix (a TMat3D has at least one).
struct TLayerOf {
  const TMat3D& Src;
  int32_t Layer;
  int32_t NrOfColumns() const { return Src.NrOfColumns(); }
  int32_t NrOfRows() const { return Src.NrOfRows(); }
  double GetVal(int32_t C, int32_t R) const { return Src.GetVal(C, R, Layer); }
};

}  // namespace

void TMatrix::CopyFrom(const TMat3D* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                       int32_t SourceRowHi, int32_t SourceLayer, int32_t DestCol, int32_t DestRow) {
  if (MatSource == nullptr) return;
  const TLayerOf Layer{*MatSource, std::clamp(SourceLayer, 1, std::max(MatSource->NrOfLayers(), 1))};
  Ops::CopyFrom(*this, &Layer, SourceColLo, SourceRowLo, SourceColHi, SourceRowHi, DestCol, DestRow);
}

void TMatrix::CopyToArray(TDouble2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow) const {
  Ops::CopyToArray(*this, DestArray, LowCol, HighCol, LowRow, HighRow);
}

void TMatrix::CopyToArray(TInt2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                          int32_t HighRow) const {
  Ops::CopyToArray(*this, DestArray, LowCol, HighCol, LowRow, HighRow);
}

void TMatrix::CopyFromArray(const TDouble2DArray& SrcArray, int32_t Col, int32_t Row) {
  Ops::CopyFromArray(*this, SrcArray, Col, Row);
}

void TMatrix::CopyFromArray(const TInt2DArray& SrcArray, int32_t Col, int32_t Row) {
  Ops::CopyFromArray(*this, SrcArray, Col, Row);
}

}  // namespace orv
