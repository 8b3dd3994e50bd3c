// TMatrix core: life cycle, size, cells, ranges, copying.
#include <algorithm>

#include "linalg/component.h"
#include "linalg/matrix_ops.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;

TMatrix::TMatrix(TComponent* AOwner) : TComponent(AOwner) {
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { Mat.assign(1, TDoubleArray(1, 0.0)); });
}

TMatrix::~TMatrix() = default;

std::string TMatrix::ClassName() const { return "TMatrix"; }

void TMatrix::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMatrix*>(Source);
  if (Src == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Src == this) return;
  // Copy the cells aside first: a failed copy leaves this matrix as it was.
  TDouble2DArray Cells = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return Src->Mat; });
  Mat = std::move(Cells);
  FNCol = Src->FNCol;
  FNRow = Src->FNRow;
  FDataID = Src->FDataID;
  FPrecis[0] = Src->FPrecis[0];
  FPrecis[1] = Src->FPrecis[1];
  OnChange = Src->OnChange;
  OnSortExchange = Src->OnSortExchange;
  OnCalcDistance = Src->OnCalcDistance;
}

void TMatrix::AssignTo(TPersistent* Dest) {
  detail::AssignToSameClass(*this, Dest);
}

void TMatrix::Clone(const TMatrix* MatSource) {
  if (MatSource != nullptr) detail::TMatrixOps<TMatrix>::Clone(*this, *MatSource);
}

void TMatrix::SetNCols(int32_t Value) { Resize(std::max(Value, 0), FNRow); }

void TMatrix::SetNRows(int32_t Value) { Resize(FNCol, std::max(Value, 0)); }

void TMatrix::SetNrOfColumns(int32_t Value) { SetNCols(Value); }

void TMatrix::SetNrOfRows(int32_t Value) { SetNRows(Value); }

bool TMatrix::Resize(int32_t Nc, int32_t Nr) {
  if (Nc == FNCol && Nr == FNRow) return true;
  detail::TMatrixOps<TMatrix>::ResizeCells(*this, std::max(Nc, 0), std::max(Nr, 0));
  return true;
}

bool TMatrix::ResizeAndClear(int32_t Nc, int32_t Nr) {
  const bool Result = Resize(Nc, Nr);
  Fill(0.0);
  return Result;
}

void TMatrix::Fill(double Value) {
  for (int32_t C = 0; C < FNCol; ++C)
    std::fill_n(Mat[Ix(C)].begin(), FNRow, Value);
  Changed();
}

void TMatrix::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  detail::MakeValidRange(LowCol, HighCol, FNCol);
}

void TMatrix::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  detail::MakeValidRange(LowRow, HighRow, FNRow);
}

int32_t TMatrix::GetFPrecis(int32_t Ix) const { return FPrecis[Ix <= 1 ? 0 : 1]; }

void TMatrix::SetFPrecis(int32_t Ix, int32_t Value) { FPrecis[Ix <= 1 ? 0 : 1] = std::clamp(Value, -1, 25); }

void TMatrix::PercDone(TObject*, int32_t Percent) { detail::Fire(OnPercentDone, this, Percent); }

}  // namespace orv
