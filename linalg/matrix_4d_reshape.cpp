// TMat4D: cutting, resampling, transposing and mirroring.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "linalg/component.h"
#include "linalg/matrix_4d.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

using detail::Ix;
using detail::TMat4DAccess;

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
  const detail::TStorageGuard Shape(detail::ShapeOf(*this));
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
      if (!Shape.Intact()) return false;  // a handler resized the array
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

}  // namespace orv
