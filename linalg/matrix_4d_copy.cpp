// TMat4D: cutting, resampling, transposing and mirroring, the copies between
// the array and other arrays, matrices and vectors, and the free routines
// between 3-D arrays, matrices and 2-D arrays.
#include <algorithm>
#include <string>

#include "linalg/component.h"
#include "linalg/matrix_4d.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"
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

// ---- reshaping ----

void TMat4D::Cut(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                 int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot) {
  const auto Bounds = [&] {
    return TMat4DAccess::Block(*this, LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTimeslot,
                               HighTimeslot);
  };
  detail::TBlock4D B = Bounds();
  // The copy out and the copy back count one step per (time slot, layer)
  // each. The block's rows move down in place (a row never lands beyond
  // where it was), so the first pass is reported before anything moves, and
  // a handler sees the array as it was; should it resize the array, the
  // block is clamped again.
  const int64_t Steps = B.Layers() * B.Slots();
  const auto Percent = [this](int32_t P) { PercDone(this, P); };
  detail::PercentSteps(0, Steps, 2 * Steps, Percent);
  B = Bounds();
  double* P = FCells.data();
  const std::size_t Width = Ix(B.Cols());
  std::size_t To = 0;
  for (int32_t T = B.T0; T <= B.T1; ++T)
    for (int32_t L = B.L0; L <= B.L1; ++L)
      for (int32_t R = B.R0; R <= B.R1; ++R, To += Width)
        if (const std::size_t From = Offset(B.C0, R, L, T); From != To) std::copy_n(P + From, Width, P + To);
  FCells.resize(To);
  if (FCells.capacity() / 2 > FCells.size()) FCells.shrink_to_fit();
  FNumX = static_cast<int32_t>(B.Cols());
  FNumY = static_cast<int32_t>(B.Rows());
  FNumZ = static_cast<int32_t>(B.Layers());
  FNumT = static_cast<int32_t>(B.Slots());
  detail::PercentSteps(Steps, 2 * Steps, 2 * Steps, Percent);
  Changed();
}

void TMat4D::Resample(int32_t XDiv, int32_t XOffset, int32_t YDiv, int32_t YOffset, int32_t ZDiv, int32_t ZOffset,
                      int32_t TDiv, int32_t TOffset, bool Average) {
  if (XDiv < 1 || YDiv < 1 || ZDiv < 1 || TDiv < 1)
    detail::RaiseComponentError<EZeroDivide>(*this, "divisor of Resample below 1");
  // An axis: divisor, offset (mod the divisor, non-negative), old and new count.
  struct TAxis {
    int64_t Div, Off, Count, New;
    TAxis(int32_t D, int32_t O, int32_t N) : Div(D), Off((int64_t{O} % D + D) % D), Count(N), New((N - Off - 1) / Div + 1) {}
    // The source positions of new position X that lie in the array.
    int64_t First(int64_t X) const { return (X - 1) * Div + Off + 1; }
    int64_t Last(int64_t X) const { return std::min(First(X) + Div - 1, Count); }
  };
  const TAxis AX(XDiv, XOffset, FNumX), AY(YDiv, YOffset, FNumY), AZ(ZDiv, ZOffset, FNumZ), AT(TDiv, TOffset, FNumT);
  const double Cells = static_cast<double>(XDiv) * YDiv * ZDiv * TDiv;
  std::vector<double> New = detail::GuardAlloc<EORVMatrixError>(
      *this, detail::NoHeap, [&] { return std::vector<double>(Ix(AX.New * AY.New * AZ.New * AT.New)); });
  const auto Inside = [](const TAxis& A, int64_t P) { return P <= A.Count; };
  std::size_t To = 0;
  for (int64_t T = 1; T <= AT.New; ++T)
    for (int64_t L = 1; L <= AZ.New; ++L)
      for (int64_t R = 1; R <= AY.New; ++R)
        for (int64_t C = 1; C <= AX.New; ++C, ++To) {
          if (!Average) {
            if (Inside(AX, AX.First(C)) && Inside(AY, AY.First(R)) && Inside(AZ, AZ.First(L)) && Inside(AT, AT.First(T)))
              New[To] = FCells[Offset(static_cast<int32_t>(AX.First(C)), static_cast<int32_t>(AY.First(R)),
                                      static_cast<int32_t>(AZ.First(L)), static_cast<int32_t>(AT.First(T)))];
            continue;
          }
          // The block's cells in the order column, row, layer, time slot.
          double S = 0.0;
          for (int64_t X = AX.First(C); X <= AX.Last(C); ++X)
            for (int64_t Y = AY.First(R); Y <= AY.Last(R); ++Y)
              for (int64_t Z = AZ.First(L); Z <= AZ.Last(L); ++Z)
                for (int64_t U = AT.First(T); U <= AT.Last(T); ++U)
                  S += FCells[Offset(static_cast<int32_t>(X), static_cast<int32_t>(Y), static_cast<int32_t>(Z),
                                     static_cast<int32_t>(U))];
          New[To] = S / Cells;
        }
  const int64_t Steps = AT.New * AZ.New;
  detail::PercentSteps(0, Steps, Steps, [this](int32_t P) { PercDone(this, P); });
  FCells.swap(New);
  FNumX = static_cast<int32_t>(AX.New);
  FNumY = static_cast<int32_t>(AY.New);
  FNumZ = static_cast<int32_t>(AZ.New);
  FNumT = static_cast<int32_t>(AT.New);
  Changed();
}

namespace {

// Old columns C0 .. C0 + Width - 1 of an X x Y slice (column fastest) into
// the rows of its transposed Y x X slice, a tile of them at once: each read
// of a row takes a cache line's worth of neighbouring columns.
void TransposeColumns(const double* From, double* To, int64_t X, int64_t Y, int64_t C0, int64_t Width) {
  for (int64_t R = 0; R < Y; ++R)
    for (int64_t J = 0; J < Width; ++J) To[(C0 + J) * Y + R] = From[R * X + C0 + J];
}

// Transposes the X x Y slice at P in its own place through Buf (X Y cells).
void TransposeSlice(double* P, int64_t X, int64_t Y, double* Buf) {
  std::copy_n(P, X * Y, Buf);
  for (int64_t C0 = 0; C0 < X; C0 += TMat4DAccess::TileColumns)
    TransposeColumns(Buf, P, X, Y, C0, std::min(TMat4DAccess::TileColumns, X - C0));
}

}  // namespace

bool TMat4D::Transpose() {
  const auto Ext = TMat4DAccess::Extents(*this);
  const int64_t X = FNumX, Y = FNumY, Slices = int64_t{FNumZ} * FNumT;
  constexpr int64_t Tile = TMat4DAccess::TileColumns;
  if (!OnPercentDone) {
    // Nothing watches the passes: each (layer, time slot) slice keeps its
    // place and is transposed there through a buffer of one slice, each old
    // column taking its share of the slices. A stop transposes the slices
    // done back.
    std::vector<double> Buf =
        detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return std::vector<double>(Ix(X * Y)); });
    int64_t Done = 0;
    for (int64_t C = 0; C < X; ++C) {
      if (AbortMathProc) {
        for (int64_t S = 0; S < Done; ++S) TransposeSlice(FCells.data() + S * X * Y, Y, X, Buf.data());
        return false;
      }
      for (const int64_t Share = (C + 1) * Slices / X; Done < Share; ++Done)
        TransposeSlice(FCells.data() + Done * X * Y, X, Y, Buf.data());
    }
    std::swap(FNumX, FNumY);
    Changed();
    return true;
  }
  // The handler may read or resize the array between columns: the copy goes
  // into a work array, which replaces the cells only when it is complete.
  const int64_t Total = 2 * X * Y;
  std::vector<double> Work =
      detail::GuardAlloc<EORVMatrixError>(*this, detail::NoHeap, [&] { return std::vector<double>(FCells.size()); });
  const auto Percent = [this](int32_t P) { PercDone(this, P); };
  int64_t Count = 0;
  for (int64_t C0 = 0; C0 < X; C0 += Tile) {
    if (AbortMathProc) return false;
    const int64_t W = std::min(Tile, X - C0);
    for (int64_t S = 0; S < Slices; ++S)
      TransposeColumns(FCells.data() + S * X * Y, Work.data() + S * X * Y, X, Y, C0, W);
    for (int64_t J = 0; J < W; ++J) {
      if (J > 0 && AbortMathProc) return false;
      detail::PercentSteps(Count, Count + Y, Total, Percent);
      Count += Y;
      if (TMat4DAccess::Extents(*this) != Ext) return false;  // a handler resized the array
    }
  }
  FCells.swap(Work);
  std::swap(FNumX, FNumY);
  detail::PercentSteps(Count, Total, Total, Percent);
  Changed();
  return true;
}

namespace {

// Exchanges the Count blocks of Size cells starting at P, P + Stride, ...
// end for end, over Outer repetitions Repeat apart.
void MirrorBlocks(double* P, int64_t Outer, std::size_t Repeat, int64_t Count, std::size_t Stride, std::size_t Size) {
  for (int64_t O = 0; O < Outer; ++O, P += Repeat)
    for (int64_t J = 0, K = Count - 1; J < K; ++J, --K)
      std::swap_ranges(P + Ix(J) * Stride, P + Ix(J) * Stride + Size, P + Ix(K) * Stride);
}

// ProcStat for the mirrors: Counted passes, a step of Trunc(Volume 0.005) + 1.
void MirrorProgress(int64_t Counted, double Volume) {
  detail::TStepProgress(Trunc(Volume * 0.005) + 1).Entered(Counted);
}

}  // namespace

void TMat4D::MirrorColumns() {
  for (std::size_t I = 0; I < FCells.size(); I += Ix(FNumX))
    std::reverse(FCells.begin() + static_cast<std::ptrdiff_t>(I), FCells.begin() + static_cast<std::ptrdiff_t>(I) + FNumX);
  MirrorProgress(FNumX / 2 * int64_t{FNumY} * FNumZ, static_cast<double>(FNumX) * FNumY * FNumZ);
  Changed();
}

void TMat4D::MirrorRows() {
  const std::size_t Row = Ix(FNumX);
  MirrorBlocks(FCells.data(), int64_t{FNumZ} * FNumT, Row * Ix(FNumY), FNumY, Row, Row);
  MirrorProgress(FNumY / 2 * int64_t{FNumX} * FNumZ, static_cast<double>(FNumX) * FNumY * FNumZ);
  Changed();
}

void TMat4D::MirrorLayers() {
  const std::size_t Layer = Ix(FNumX) * Ix(FNumY);
  MirrorBlocks(FCells.data(), FNumT, Layer * Ix(FNumZ), FNumZ, Layer, Layer);
  MirrorProgress(FNumZ / 2 * int64_t{FNumX} * FNumY, static_cast<double>(FNumX) * FNumY * FNumZ);
  Changed();
}

void TMat4D::MirrorTimeSlots() {
  const std::size_t Slot = Ix(FNumX) * Ix(FNumY) * Ix(FNumZ);
  MirrorBlocks(FCells.data(), 1, 0, FNumT, Slot, Slot);
  MirrorProgress(FNumT / 2 * int64_t{FNumX} * FNumY, static_cast<double>(FNumX) * FNumY * FNumT);
  Changed();
}

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
