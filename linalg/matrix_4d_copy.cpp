// TMat4D: the copies between the array and other arrays, matrices and
// vectors, and the free routines between 3-D arrays, matrices and 2-D arrays.
#include <algorithm>
#include <string>

#include "linalg/component.h"
#include "linalg/matrix_4d.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

using detail::Ix;
using detail::Ix1;
using detail::TMat4DAccess;

namespace {

constexpr std::string_view LayerBeyondRange = "specified layer beyond data range";
constexpr std::string_view TimeSlotBeyondRange = "specified time slot beyond data range";

// The positions Lo..Hi of a source axis whose targets (position + Shift)
// lie in 1..Count, in 64 bits: bounds far outside cost nothing.
struct TSpan {
  int64_t Lo, Hi;
  TSpan(int64_t SrcLo, int64_t SrcHi, int64_t Shift, int64_t Count)
      : Lo(std::max(SrcLo, 1 - Shift)), Hi(std::min(SrcHi, Count - Shift)) {}
  bool Empty() const { return Hi < Lo; }
  int64_t Size() const { return Hi - Lo + 1; }
};

}  // namespace

// ---- copying between two arrays ----

void TMat4D::CopyFrom(const TMat4D* MatSource, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                      int32_t SrcHighRow, int32_t SrcLowLayer, int32_t SrcHighLayer, int32_t SrcLowTSlot,
                      int32_t SrcHighTSlot, int32_t DestCol, int32_t DestRow, int32_t DestLayer, int32_t DestTSlot) {
  if (MatSource == nullptr) return;
  const detail::TBlock4D B = TMat4DAccess::Block(*MatSource, SrcLowCol, SrcHighCol, SrcLowRow, SrcHighRow, SrcLowLayer,
                                                 SrcHighLayer, SrcLowTSlot, SrcHighTSlot);
  const int64_t DC = int64_t{DestCol} - B.C0, DR = int64_t{DestRow} - B.R0, DL = int64_t{DestLayer} - B.L0,
                DT = int64_t{DestTSlot} - B.T0;
  // Only the source cells whose targets lie in this array.
  detail::TBlock4D Part = B;
  const TSpan SC(B.C0, B.C1, DC, FNumX), SR(B.R0, B.R1, DR, FNumY), SL(B.L0, B.L1, DL, FNumZ), ST(B.T0, B.T1, DT, FNumT);
  if (!SC.Empty() && !SR.Empty() && !SL.Empty() && !ST.Empty()) {
    Part = {static_cast<int32_t>(SC.Lo), static_cast<int32_t>(SC.Hi), static_cast<int32_t>(SR.Lo),
            static_cast<int32_t>(SR.Hi), static_cast<int32_t>(SL.Lo), static_cast<int32_t>(SL.Hi),
            static_cast<int32_t>(ST.Lo), static_cast<int32_t>(ST.Hi)};
    // From itself the block is read aside first: the copy is one from the
    // unchanged array, however the blocks overlap.
    std::vector<double> Aside;
    if (MatSource == this)
      Aside = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
        std::vector<double> V;
        V.reserve(Ix(Part.Count()));
        TMat4DAccess::VisitRows(*this, Part, [&V](std::span<const double> Run) { V.insert(V.end(), Run.begin(), Run.end()); });
        return V;
      });
    std::size_t Next = 0;
    for (int32_t T = Part.T0; T <= Part.T1; ++T)
      for (int32_t L = Part.L0; L <= Part.L1; ++L)
        for (int32_t R = Part.R0; R <= Part.R1; ++R) {
          const double* From =
              MatSource == this ? Aside.data() + Next : MatSource->FCells.data() + MatSource->Offset(Part.C0, R, L, T);
          double* To = FCells.data() + Offset(static_cast<int32_t>(Part.C0 + DC), static_cast<int32_t>(R + DR),
                                              static_cast<int32_t>(L + DL), static_cast<int32_t>(T + DT));
          std::copy_n(From, SC.Size(), To);
          Next += Ix(SC.Size());
        }
  }
  detail::PositionProgress(B.Positions()).Entered(B.Positions());
  Changed();
}

// ---- copies out of the array ----

int32_t TMat4D::CopyTimeSlotToArray(TDouble3DArray& DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                                    int32_t HighRow, int32_t LowLay, int32_t HighLay, int32_t TimeSlot) const {
  if (!detail::InAxis(TimeSlot, FNumT)) return -1;
  const detail::TBlock4D B = TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLay, HighLay, TimeSlot,
                                                 TimeSlot);
  TDouble3DArray A = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    TDouble3DArray V(Ix(B.Cols()), TDouble2DArray(Ix(B.Rows()), TDoubleArray(Ix(B.Layers()))));
    for (int32_t C = B.C0; C <= B.C1; ++C)
      for (int32_t R = B.R0; R <= B.R1; ++R)
        for (int32_t L = B.L0; L <= B.L1; ++L) V[Ix(C - B.C0)][Ix(R - B.R0)][Ix(L - B.L0)] = GetVal(C, R, L, TimeSlot);
    return V;
  });
  DestMat = std::move(A);
  return 0;
}

void TMat4D::CopyTimeSlotToMat3D(TMat3D* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                                 int32_t LowLay, int32_t HighLay, int32_t TimeSlot) const {
  if (DestMat == nullptr) return;
  if (!detail::InAxis(TimeSlot, FNumT)) detail::RaiseComponentError<EORVMatrixError>(*this, TimeSlotBeyondRange);
  const detail::TBlock4D B = TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLay, HighLay, TimeSlot,
                                                 TimeSlot);
  DestMat->Resize(static_cast<int32_t>(B.Cols()), static_cast<int32_t>(B.Rows()), static_cast<int32_t>(B.Layers()));
  for (int32_t C = B.C0; C <= B.C1; ++C)
    for (int32_t R = B.R0; R <= B.R1; ++R)
      for (int32_t L = B.L0; L <= B.L1; ++L)
        DestMat->SetVal(C - B.C0 + 1, R - B.R0 + 1, L - B.L0 + 1, GetVal(C, R, L, TimeSlot));
}

void TMat4D::CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t Layer, int32_t TimeSlot) const {
  if (DestMat == nullptr) return;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  if (!detail::InAxis(Layer, FNumZ)) detail::RaiseComponentError<EORVMatrixError>(*this, LayerBeyondRange);
  if (!detail::InAxis(TimeSlot, FNumT)) detail::RaiseComponentError<EORVMatrixError>(*this, TimeSlotBeyondRange);
  const int32_t NC = HighCol - LowCol + 1, NR = HighRow - LowRow + 1;
  DestMat->Resize(NC, NR);
  if (!DestMat->OnChange && DestMat->NrOfColumns() == NC && DestMat->NrOfRows() == NR) {
    for (int32_t C = 0; C < NC; ++C)
      for (int32_t R = 0; R < NR; ++R) DestMat->Mat[Ix(C)][Ix(R)] = FCells[Offset(LowCol + C, LowRow + R, Layer, TimeSlot)];
    return;
  }
  // A handler may watch every write and change either size: cell by cell, checked.
  for (int32_t C = LowCol; C <= HighCol; ++C)
    for (int32_t R = LowRow; R <= HighRow; ++R)
      DestMat->SetVal(C - LowCol + 1, R - LowRow + 1, GetVal(C, R, Layer, TimeSlot));
}

int32_t TMat4D::CopyLayerToArray(TDouble2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                                 int32_t HighRow, int32_t Layer, int32_t TimeSlot) const {
  int32_t Code = 0;
  if (!detail::InAxis(Layer, FNumZ)) Code = -1;
  if (!detail::InAxis(TimeSlot, FNumT)) Code = -2;
  if (Code != 0) return Code;
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  TDouble2DArray A = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] {
    TDouble2DArray V(Ix(HighCol - LowCol + 1), TDoubleArray(Ix(HighRow - LowRow + 1)));
    for (int32_t C = LowCol; C <= HighCol; ++C)
      for (int32_t R = LowRow; R <= HighRow; ++R) V[Ix(C - LowCol)][Ix(R - LowRow)] = FCells[Offset(C, R, Layer, TimeSlot)];
    return V;
  });
  DestArray = std::move(A);
  return 0;
}

namespace {

// The codes of the pixel copies: -1 column, -2 row, -3 layer (when checked),
// -4 time slot (-3 without a layer), the later code winning.
int32_t PixelCode(const TMat4D& M, int32_t Col, int32_t Row, const int32_t* Layer, int32_t TimeSlot) {
  int32_t Code = 0;
  if (!detail::InAxis(Col, M.NrOfColumns())) Code = -1;
  if (!detail::InAxis(Row, M.NrOfRows())) Code = -2;
  if (Layer != nullptr && !detail::InAxis(*Layer, M.NrOfLayers())) Code = -3;
  if (!detail::InAxis(TimeSlot, M.NrOfTimeSlots())) Code = Layer != nullptr ? -4 : -3;
  return Code;
}

}  // namespace

int32_t TMat4D::CopyPixelTo1DArray(TDoubleArray& Dest, int32_t Col, int32_t Row, int32_t TimeSlot) const {
  if (const int32_t Code = PixelCode(*this, Col, Row, nullptr, TimeSlot); Code != 0) return Code;
  TDoubleArray A = detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return TDoubleArray(Ix(FNumZ)); });
  for (int32_t L = 1; L <= FNumZ; ++L) A[Ix1(L)] = FCells[Offset(Col, Row, L, TimeSlot)];
  Dest = std::move(A);
  return 0;
}

int32_t TMat4D::CopyPixelToVector(TVector* Dest, int32_t Col, int32_t Row, int32_t TimeSlot) const {
  if (const int32_t Code = PixelCode(*this, Col, Row, nullptr, TimeSlot); Code != 0) return Code;
  if (Dest == nullptr) return 0;
  Dest->SetNrOfElem(FNumZ);
  for (int32_t L = 1; L <= FNumZ; ++L) Dest->SetVal(L, GetVal(Col, Row, L, TimeSlot));
  return 0;
}

// ---- copies into the array ----

int32_t TMat4D::CopyArrayToLayer(const TDouble2DArray& SrcArray, int32_t Col, int32_t Row, int32_t Layer,
                                 int32_t TimeSlot) {
  int32_t Code = 0;
  if (!detail::InAxis(Layer, FNumZ)) Code = -1;
  if (!detail::InAxis(TimeSlot, FNumT)) Code = -2;
  if (Code != 0) return Code;
  const TSpan SC(0, std::ssize(SrcArray) - 1, Col, FNumX);
  for (int64_t I = SC.Lo; I <= SC.Hi; ++I) {
    const TDoubleArray& Column = SrcArray[Ix(I)];
    const TSpan SR(0, std::ssize(Column) - 1, Row, FNumY);
    for (int64_t J = SR.Lo; J <= SR.Hi; ++J)
      FCells[Offset(static_cast<int32_t>(Col + I), static_cast<int32_t>(Row + J), Layer, TimeSlot)] = Column[Ix(J)];
  }
  return 0;
}

namespace {

// Elements 0..N-1 of a source, At(k), to layers FirstLayer.. of a pixel.
template <class ValueAt>
int32_t CopyToPixel(TMat4D& M, int64_t N, ValueAt&& At, int32_t Col, int32_t Row, int32_t FirstLayer,
                    int32_t TimeSlot) {
  if (const int32_t Code = PixelCode(M, Col, Row, &FirstLayer, TimeSlot); Code != 0) return Code;
  const int64_t Last = std::min<int64_t>(M.NrOfLayers(), FirstLayer + N - 1);
  for (int64_t L = FirstLayer; L <= Last; ++L) M.SetVal(Col, Row, static_cast<int32_t>(L), TimeSlot, At(L - FirstLayer));
  return 0;
}

}  // namespace

int32_t TMat4D::CopyVectorToPixel(const TVector* Src, int32_t Col, int32_t Row, int32_t FirstLayer,
                                  int32_t TimeSlot) {
  const int64_t N = Src == nullptr ? 0 : Src->NrOfElem();
  return CopyToPixel(
      *this, N, [Src](int64_t K) { return Src->GetVal(static_cast<int32_t>(K + 1)); }, Col, Row, FirstLayer,
      TimeSlot);
}

int32_t TMat4D::Copy1DArrayToPixel(const TDoubleArray& Src, int32_t Col, int32_t Row, int32_t FirstLayer,
                                   int32_t TimeSlot) {
  return CopyToPixel(
      *this, std::ssize(Src), [&Src](int64_t K) { return Src[Ix(K)]; }, Col, Row, FirstLayer, TimeSlot);
}

void TMat4D::CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                               int32_t SrcHighRow, int32_t Layer, int32_t TimeSlot, int32_t LayLowCol,
                               int32_t LayLowRow) {
  if (SrcMat == nullptr) return;
  if (!detail::InAxis(Layer, FNumZ)) detail::RaiseComponentError<EORVMatrixError>(*this, LayerBeyondRange);
  if (!detail::InAxis(TimeSlot, FNumT)) detail::RaiseComponentError<EORVMatrixError>(*this, TimeSlotBeyondRange);
  // The source block lies in the source, whatever this array's size.
  SrcMat->MakeValidColRange(SrcLowCol, SrcHighCol);
  SrcMat->MakeValidRowRange(SrcLowRow, SrcHighRow);
  const int64_t DC = int64_t{LayLowCol} - SrcLowCol, DR = int64_t{LayLowRow} - SrcLowRow;
  const TSpan SC(SrcLowCol, SrcHighCol, DC, FNumX), SR(SrcLowRow, SrcHighRow, DR, FNumY);
  for (int64_t C = SC.Lo; C <= SC.Hi; ++C)
    for (int64_t R = SR.Lo; R <= SR.Hi; ++R)
      FCells[Offset(static_cast<int32_t>(C + DC), static_cast<int32_t>(R + DR), Layer, TimeSlot)] =
          SrcMat->GetVal(static_cast<int32_t>(C), static_cast<int32_t>(R));
}

void TMat4D::CopyMat3DToTimeSlot(const TMat3D* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                                 int32_t SrcHighRow, int32_t SrcLowLay, int32_t SrcHighLay, int32_t TimeSlot,
                                 int32_t DestCol, int32_t DestRow, int32_t DestLayer) {
  if (SrcMat == nullptr) return;
  if (!detail::InAxis(TimeSlot, FNumT)) detail::RaiseComponentError<EORVMatrixError>(*this, TimeSlotBeyondRange);
  SrcMat->MakeValidColRange(SrcLowCol, SrcHighCol);
  SrcMat->MakeValidRowRange(SrcLowRow, SrcHighRow);
  SrcMat->MakeValidLayerRange(SrcLowLay, SrcHighLay);
  const int64_t DC = int64_t{DestCol} - SrcLowCol, DR = int64_t{DestRow} - SrcLowRow,
                DL = int64_t{DestLayer} - SrcLowLay;
  const TSpan SC(SrcLowCol, SrcHighCol, DC, FNumX), SR(SrcLowRow, SrcHighRow, DR, FNumY),
      SL(SrcLowLay, SrcHighLay, DL, FNumZ);
  for (int64_t C = SC.Lo; C <= SC.Hi; ++C)
    for (int64_t R = SR.Lo; R <= SR.Hi; ++R)
      for (int64_t L = SL.Lo; L <= SL.Hi; ++L)
        FCells[Offset(static_cast<int32_t>(C + DC), static_cast<int32_t>(R + DR), static_cast<int32_t>(L + DL),
                      TimeSlot)] = SrcMat->GetVal(static_cast<int32_t>(C), static_cast<int32_t>(R), static_cast<int32_t>(L));
}

int32_t TMat4D::CopyArrayToTimeSlot(const TDouble3DArray& SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                                    int32_t SrcLowRow, int32_t SrcHighRow, int32_t SrcLowLay, int32_t SrcHighLay,
                                    int32_t TimeSlot, int32_t DestCol, int32_t DestRow, int32_t DestLayer) {
  // The source's extents, each -1 when the level is ragged (or, below an
  // empty level, unknown): such a level fails its bounds.
  const int64_t NC = std::ssize(SrcMat);
  int64_t NR = NC > 0 ? std::ssize(SrcMat[0]) : -1;
  int64_t NL = NR > 0 ? std::ssize(SrcMat[0][0]) : -1;
  for (const TDouble2DArray& Column : SrcMat) {
    if (std::ssize(Column) != NR) NR = NL = -1;
    if (NR < 0) break;
    for (const TDoubleArray& Run : Column)
      if (std::ssize(Run) != NL) NL = -1;
  }
  // A pair 0, 0 is the whole axis; the bounds must lie in 0..extent - 1.
  const auto Whole = [](int32_t& Lo, int32_t& Hi, int64_t N) {
    if (Lo == 0 && Hi == 0 && N > 0) Hi = static_cast<int32_t>(N - 1);
  };
  const auto Outside = [](int32_t Lo, int32_t Hi, int64_t N) { return Lo < 0 || Lo >= N || Hi < 0 || Hi >= N; };
  Whole(SrcLowCol, SrcHighCol, NC);
  Whole(SrcLowRow, SrcHighRow, NR);
  Whole(SrcLowLay, SrcHighLay, NL);
  int32_t Code = 0;
  if (Outside(SrcLowCol, SrcHighCol, NC)) Code = -1;
  if (NC > 0 && Outside(SrcLowRow, SrcHighRow, NR)) Code = -2;
  if (NR > 0 && Outside(SrcLowLay, SrcHighLay, NL)) Code = -3;
  if (!detail::InAxis(TimeSlot, FNumT)) Code = -4;
  if (!detail::InAxis(DestCol, FNumX)) Code = -5;
  if (!detail::InAxis(DestRow, FNumY)) Code = -6;
  if (!detail::InAxis(DestLayer, FNumZ)) Code = -7;
  if (Code != 0) return Code;
  // 0-based source positions p go to p + Shift (1-based).
  const TSpan SC(SrcLowCol, SrcHighCol, int64_t{DestCol} - SrcLowCol, FNumX),
      SR(SrcLowRow, SrcHighRow, int64_t{DestRow} - SrcLowRow, FNumY),
      SL(SrcLowLay, SrcHighLay, int64_t{DestLayer} - SrcLowLay, FNumZ);
  for (int64_t C = SC.Lo; C <= SC.Hi; ++C)
    for (int64_t R = SR.Lo; R <= SR.Hi; ++R)
      for (int64_t L = SL.Lo; L <= SL.Hi; ++L)
        FCells[Offset(static_cast<int32_t>(C + DestCol - SrcLowCol), static_cast<int32_t>(R + DestRow - SrcLowRow),
                      static_cast<int32_t>(L + DestLayer - SrcLowLay), TimeSlot)] = SrcMat[Ix(C)][Ix(R)][Ix(L)];
  return 0;
}

// ---- free routines ----

namespace {

// The extent of the bounds Lo..Hi, 0 when reversed; more than the 32-bit
// range is the routine's memory error.
int32_t BoundsExtent(const char* Routine, int32_t Lo, int32_t Hi) {
  const int64_t N = int64_t{Hi} - Lo + 1;
  if (N > INT32_MAX) throw EORVMatrixError(std::string(Routine) + ": " + std::string(detail::NoHeap));
  return static_cast<int32_t>(std::max<int64_t>(N, 0));
}

// Source[C][R][L], 0.0 outside (also of a ragged array).
double CellOf(const TDouble3DArray& Source, int64_t C, int64_t R, int64_t L) {
  if (C < 0 || C >= std::ssize(Source)) return 0.0;
  const TDouble2DArray& Column = Source[Ix(C)];
  if (R < 0 || R >= std::ssize(Column)) return 0.0;
  const TDoubleArray& Run = Column[Ix(R)];
  return L < 0 || L >= std::ssize(Run) ? 0.0 : Run[Ix(L)];
}

// Dest := NC columns of NR cells, cell (c, r) := At(c, r) (0-based); no
// column when either extent is 0.
template <class ValueAt>
void FillArray2D(const char* Routine, TDouble2DArray& Dest, int32_t NC, int32_t NR, ValueAt&& At) {
  if (NC == 0 || NR == 0) NC = NR = 0;
  TDouble2DArray A = GuardAllocation(
      [&] {
        detail::CheckExtent(int64_t{NC} * NR, sizeof(double));
        TDouble2DArray V(Ix(NC), TDoubleArray(Ix(NR)));
        for (int32_t C = 0; C < NC; ++C)
          for (int32_t R = 0; R < NR; ++R) V[Ix(C)][Ix(R)] = At(C, R);
        return V;
      },
      [Routine] { return EORVMatrixError(std::string(Routine) + ": " + std::string(detail::NoHeap)); });
  Dest = std::move(A);
}

}  // namespace

void CopyArr3DLayerToMatrix(const TDouble3DArray& Source, TMatrix* Dest, int32_t LowCol, int32_t HighCol,
                            int32_t LowRow, int32_t HighRow, int32_t Layer) {
  if (Dest == nullptr) return;
  int32_t NC = BoundsExtent("CopyArr3DLayerToMatrix", LowCol, HighCol);
  int32_t NR = BoundsExtent("CopyArr3DLayerToMatrix", LowRow, HighRow);
  if (NC == 0 || NR == 0) NC = NR = 0;
  Dest->Resize(NC, NR);
  for (int32_t C = 0; C < NC; ++C)
    for (int32_t R = 0; R < NR; ++R)
      Dest->SetVal(C + 1, R + 1, CellOf(Source, int64_t{LowCol} + C, int64_t{LowRow} + R, Layer));
}

void CopyMatrixToArray(const TMatrix* Source, TDouble2DArray& Dest, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                       int32_t HighRow) {
  if (Source == nullptr) return;
  constexpr const char* Routine = "CopyMatrixToArray";
  FillArray2D(Routine, Dest, BoundsExtent(Routine, LowCol, HighCol), BoundsExtent(Routine, LowRow, HighRow),
              [&](int32_t C, int32_t R) { return Source->GetVal(LowCol + C, LowRow + R); });
}

void CopyArr3DLayerToArr2D(const TDouble3DArray& Source, TDouble2DArray& Dest, int32_t LowCol, int32_t HighCol,
                           int32_t LowRow, int32_t HighRow, int32_t Layer) {
  constexpr const char* Routine = "CopyArr3DLayerToArr2D";
  FillArray2D(Routine, Dest, BoundsExtent(Routine, LowCol, HighCol), BoundsExtent(Routine, LowRow, HighRow),
              [&](int32_t C, int32_t R) { return CellOf(Source, int64_t{LowCol} + C, int64_t{LowRow} + R, Layer); });
}

}  // namespace orv
