// TMat3D: life cycle, size, cells, fills, search, layer copies, checksum and
// the XML step.
#include <algorithm>
#include <cmath>

#include "linalg/component.h"
#include "linalg/matrix_xml.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;

namespace {
constexpr std::string_view LayerBeyondRange = "specified layer beyond data range";
}

TMat3D::TMat3D(TComponent* AOwner) : TComponent(AOwner) {
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { FCells.assign(1, 0.0); });
}

TMat3D::~TMat3D() = default;

std::string TMat3D::ClassName() const { return "TMat3D"; }

void TMat3D::Clone(const TMat3D* MatSource) {
  if (MatSource == nullptr) return;
  Resize(MatSource->FNumX, MatSource->FNumY, MatSource->FNumZ);
  if (FNumX == MatSource->FNumX && FNumY == MatSource->FNumY && FNumZ == MatSource->FNumZ) {
    if (MatSource != this) std::copy(MatSource->FCells.begin(), MatSource->FCells.end(), FCells.begin());
  } else {
    // Resize's handler changed a size: copy what both arrays hold.
    for (int32_t X = 1; X <= MatSource->FNumX; ++X)
      for (int32_t Y = 1; Y <= MatSource->FNumY; ++Y)
        for (int32_t Z = 1; Z <= MatSource->FNumZ; ++Z) SetVal(X, Y, Z, MatSource->GetVal(X, Y, Z));
  }
  Changed();
}

void TMat3D::SetNCols(int32_t Nc) { Resize(std::max(Nc, 1), FNumY, FNumZ); }

void TMat3D::SetNRows(int32_t Nr) { Resize(FNumX, std::max(Nr, 1), FNumZ); }

void TMat3D::SetNLayers(int32_t Nl) { Resize(FNumX, FNumY, std::max(Nl, 1)); }

bool TMat3D::Resize(int32_t Nc, int32_t Nr, int32_t Nl) {
  if (Nc <= 0 || Nr <= 0 || Nl <= 0 || (Nc == FNumX && Nr == FNumY && Nl == FNumZ)) return true;
  detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    detail::ResizeDense(FCells, std::array{FNumX, FNumY, FNumZ}, std::array{Nc, Nr, Nl});
  });
  FNumX = Nc;
  FNumY = Nr;
  FNumZ = Nl;
  Changed();
  return true;
}

bool TMat3D::ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl) {
  const bool Result = Resize(Nc, Nr, Nl);
  Fill(0.0);
  return Result;
}

void TMat3D::MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const {
  detail::MakeValidRange(LowCol, HighCol, FNumX);
}

void TMat3D::MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const {
  detail::MakeValidRange(LowRow, HighRow, FNumY);
}

void TMat3D::MakeValidLayerRange(int32_t& LowLayer, int32_t& HighLayer) const {
  detail::MakeValidRange(LowLayer, HighLayer, FNumZ);
}

void TMat3D::Fill(double Value) {
  // A new storage of zeros holds +0.0, also where -0.0 was asked for.
  std::fill(FCells.begin(), FCells.end(), Value == 0.0 ? 0.0 : Value);
}

void TMat3D::FillDiag(double Value) {
  const int32_t N = std::min({FNumX, FNumY, FNumZ});
  for (int32_t I = 1; I <= N; ++I) FCells[Offset(I, I, I)] = Value;
  Changed();
}

void TMat3D::FillRandomUniform(double RangeLow, double RangeHigh) {
  for (double& Cell : FCells) Cell = RangeLow + Random() * (RangeHigh - RangeLow);
  Changed();
}

void TMat3D::FillRandomGauss(double Mean, double StdDev) {
  for (double& Cell : FCells) Cell = GRandom() * StdDev + Mean;
  Changed();
}

void TMat3D::Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                  int32_t HighLayer, double Value, int32_t& ColIx, int32_t& RowIx, int32_t& LayerIx) const {
  ColIx = RowIx = LayerIx = 0;
  MakeValidLayerRange(LowLayer, HighLayer);
  double Nearest = uc_MaxDouble;
  VisitBlock(LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer,
             [&](int32_t C, int32_t R, std::span<const double> Run) {
               for (std::size_t K = 0; K < Run.size(); ++K)
                 if (const double D = std::fabs(Run[K] - Value); D < Nearest) {
                   Nearest = D;
                   ColIx = C;
                   RowIx = R;
                   LayerIx = LowLayer + static_cast<int32_t>(K);
                 }
             });
}

void TMat3D::CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t Layer) const {
  if (DestMat == nullptr) return;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  if (!detail::InAxis(Layer, FNumZ)) detail::RaiseComponentError<EORVMatrixError>(*this, LayerBeyondRange);
  const int32_t NC = HighCol - LowCol + 1, NR = HighRow - LowRow + 1;
  DestMat->Resize(NC, NR);
  if (!DestMat->OnChange && DestMat->NrOfColumns() == NC && DestMat->NrOfRows() == NR) {
    for (int32_t C = 0; C < NC; ++C)
      for (int32_t R = 0; R < NR; ++R) DestMat->Mat[Ix(C)][Ix(R)] = FCells[Offset(LowCol + C, LowRow + R, Layer)];
    return;
  }
  // A handler may watch every write and change either size: cell by cell, checked.
  for (int32_t C = LowCol; C <= HighCol; ++C)
    for (int32_t R = LowRow; R <= HighRow; ++R)
      DestMat->SetVal(C - LowCol + 1, R - LowRow + 1, GetVal(C, R, Layer));
}

void TMat3D::CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                               int32_t SrcHighRow, int32_t Layer, int32_t LayLowCol, int32_t LayLowRow) {
  if (SrcMat == nullptr) return;
  if (!detail::InAxis(Layer, FNumZ)) detail::RaiseComponentError<EORVMatrixError>(*this, LayerBeyondRange);
  // Only the source cells whose targets lie in the layer: the others would be
  // dropped, and bounds far outside must not cost a visit each.
  const int64_t DC = int64_t{LayLowCol} - SrcLowCol, DR = int64_t{LayLowRow} - SrcLowRow;
  const int64_t C1 = std::max<int64_t>(SrcLowCol, 1 - DC), C2 = std::min<int64_t>(SrcHighCol, FNumX - DC);
  const int64_t R1 = std::max<int64_t>(SrcLowRow, 1 - DR), R2 = std::min<int64_t>(SrcHighRow, FNumY - DR);
  for (int64_t C = C1; C <= C2; ++C)
    for (int64_t R = R1; R <= R2; ++R)
      FCells[Offset(static_cast<int32_t>(C + DC), static_cast<int32_t>(R + DR), Layer)] =
          SrcMat->GetVal(static_cast<int32_t>(C), static_cast<int32_t>(R));
}

std::string TMat3D::CRCofData() const {
  detail::TLaneCRC<8> Crc;
  for (double Cell : FCells) Crc.AddValue(Cell);
  return Crc.Text();
}

int32_t TMat3D::ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content) {
  static constexpr detail::TXmlAxes<3> Axes{{xmlMatNumCols, xmlMatNumRows, xmlMatNumLayers}, {"ix", "iy", "iz"}, 1};
  return detail::XmlStep(
      Axes, FXmlAnnounced, FirstCell, XmlCellLimit, {FNumX, FNumY, FNumZ}, Tag, Attributes, Content,
      [this](const std::array<int32_t, 3>& N) { Resize(N[0], N[1], N[2]); },
      [this](const std::array<int32_t, 3>& I, std::string_view Text) {
        SetVal(I[0], I[1], I[2], detail::XmlRealValue(Text));
      });
}

void TMat3D::PercDone(TObject*, int32_t Percent) { detail::Fire(OnPercentDone, this, Percent); }

}  // namespace orv
