// TMat4D: life cycle, size, cells, ranges and addresses, copying between two
// arrays, and the XML step.
#include <algorithm>

#include "linalg/component.h"
#include "linalg/matrix_4d.h"
#include "linalg/storage_stamps.h"
#include "linalg/matrix_xml.h"
#include "orvcalckit/ORV_matrix.h"

namespace orv {

using detail::Ix;

TMat4D::TMat4D(TComponent* AOwner) : TComponent(AOwner) {
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { FCells.assign(1, 0.0); });
}

TMat4D::~TMat4D() = default;

std::string TMat4D::ClassName() const { return "TMat4D"; }

void TMat4D::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMat4D*>(Source);
  if (Src == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Src == this) return;
  std::vector<double> Cells = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return Src->FCells; });
  FCells = std::move(Cells);
  FNumX = Src->FNumX;
  FNumY = Src->FNumY;
  FNumZ = Src->FNumZ;
  FNumT = Src->FNumT;
  FDataID = Src->FDataID;
  OnChange = Src->OnChange;
  OnPercentDone = Src->OnPercentDone;
  OnReadElement = Src->OnReadElement;
}

void TMat4D::AssignTo(TPersistent* Dest) { detail::AssignToSameClass(*this, Dest); }

void TMat4D::Clone(const TMat4D* MatSource) {
  if (MatSource == nullptr) return;
  const auto Ext = detail::TMat4DAccess::Extents(*MatSource);
  const detail::TStorageGuard Source(detail::ShapeOf(*MatSource));
  Resize(Ext[0], Ext[1], Ext[2], Ext[3]);
  if (detail::TMat4DAccess::Extents(*this) == Ext && Source.Intact()) {
    if (MatSource != this) std::copy(MatSource->FCells.begin(), MatSource->FCells.end(), FCells.begin());
  } else {
    // Resize's handler changed a size (of either array): copy what both hold.
    for (int32_t T = 1; T <= Ext[3]; ++T)
      for (int32_t L = 1; L <= Ext[2]; ++L)
        for (int32_t R = 1; R <= Ext[1]; ++R)
          for (int32_t C = 1; C <= Ext[0]; ++C) SetVal(C, R, L, T, MatSource->GetVal(C, R, L, T));
  }
  const int64_t Positions = int64_t{Ext[0]} * Ext[1];
  detail::PositionProgress(Positions).Entered(Positions);
  Changed();
}

void TMat4D::SetNrOfColumns(int32_t Value) { Resize(std::max(Value, 1), FNumY, FNumZ, FNumT); }

void TMat4D::SetNrOfRows(int32_t Value) { Resize(FNumX, std::max(Value, 1), FNumZ, FNumT); }

void TMat4D::SetNrOfLayers(int32_t Value) { Resize(FNumX, FNumY, std::max(Value, 1), FNumT); }

void TMat4D::SetNrOfTimeSlots(int32_t Value) { Resize(FNumX, FNumY, FNumZ, std::max(Value, 1)); }

bool TMat4D::Resize(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  if (Nc <= 0 || Nr <= 0 || Nl <= 0 || Nt <= 0 || (Nc == FNumX && Nr == FNumY && Nl == FNumZ && Nt == FNumT))
    return true;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    detail::ResizeDense(FCells, std::array{FNumT, FNumZ, FNumY, FNumX}, std::array{Nt, Nl, Nr, Nc});
  });
  FNumX = Nc;
  FNumY = Nr;
  FNumZ = Nl;
  FNumT = Nt;
  Changed();
  return true;
}

bool TMat4D::ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  const bool Result = Resize(Nc, Nr, Nl, Nt);
  Fill(0.0);
  return Result;
}

double TMat4D::MemoryConsumed() const {
  return static_cast<double>(FNumX) / 1048576.0 * FNumY * FNumZ * FNumT * 8.0;
}

void TMat4D::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  detail::MakeValidRange(LowCol, HighCol, FNumX);
}

void TMat4D::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  detail::MakeValidRange(LowRow, HighRow, FNumY);
}

void TMat4D::MakeValidLayerRange(int32_t& LowLayer, int32_t& HighLayer) const {
  detail::MakeValidRange(LowLayer, HighLayer, FNumZ);
}

void TMat4D::MakeValidTSlotRange(int32_t& LowTSlot, int32_t& HighTSlot) const {
  detail::MakeValidRange(LowTSlot, HighTSlot, FNumT);
}

int32_t TMat4D::Lin3DAddr(int32_t ix, int32_t iy, int32_t il) const {
  if (static_cast<double>(FNumX) * FNumY * FNumZ > 2147483647.0) return -2;
  if (!detail::InAxis(ix, FNumX) || !detail::InAxis(iy, FNumY) || !detail::InAxis(il, FNumZ)) return -1;
  return static_cast<int32_t>((il - 1) + (int64_t{iy - 1} * FNumX + (ix - 1)) * FNumZ);
}

bool TMat4D::ConvertLinTo3DAddr(int32_t LinAddr, int32_t& ix, int32_t& iy, int32_t& il) const {
  if (LinAddr < 0 || LinAddr >= int64_t{FNumX} * FNumY * FNumZ) return false;
  il = LinAddr % FNumZ + 1;
  ix = LinAddr / FNumZ % FNumX + 1;
  iy = LinAddr / FNumZ / FNumX + 1;
  return true;
}

int32_t TMat4D::ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content) {
  static constexpr detail::TXmlAxes<4> Axes{{xmlMatNumCols, xmlMatNumRows, xmlMatNumLayers, xmlMatNumTimeSlots},
                                            {"ix", "iy", "il", "it"},
                                            1,
                                            sizeof(double)};
  return detail::XmlStep(
      Axes, FXmlAnnounced, FirstCell, XmlCellLimit, {FNumX, FNumY, FNumZ, FNumT}, Tag, Attributes, Content,
      [this](const std::array<int32_t, 4>& N) { Resize(N[0], N[1], N[2], N[3]); },
      [this](const std::array<int32_t, 4>& I, std::string_view Text) {
        SetVal(I[0], I[1], I[2], I[3], detail::XmlRealValue(Text));
      });
}

void TMat4D::PercDone(TObject*, int32_t Percent) { detail::Fire(OnPercentDone, this, Percent); }

void TMat4D::ReadElement(TObject*, int32_t ix, int32_t iy, int32_t il, int32_t it, double Value) {
  detail::Fire(OnReadElement, this, ix, iy, il, it, Value);
}

}  // namespace orv
