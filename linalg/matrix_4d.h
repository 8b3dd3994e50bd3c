// What the sources of TMat4D share (internal): the clamped block, the walks
// over its cells in memory order and in the documented order (column, row,
// layer, time slot innermost), and the progress counts.
//
// How to use
// ----------
// A routine clamps its bounds with Block(M, ...), then reads the block
//
// - in memory order, where the result does not depend on the order
//   (extremes, counts, a selection): VisitRows(M, B, Fn) calls Fn(Run) for
//   each row of the block, Run the cells of its columns in one piece;
// - in the documented order, where it does (sums, the first nearest cell,
//   the checksum): VisitOrdered(M, B, Fn) calls Fn(Col, Row, K0, Run) with
//   consecutive cells of one (column, row) position, cell k of the position
//   (k = K0, K0 + 1, ...) lying in layer LowLayer + (k div slots) LayerStep
//   and time slot LowTSlot + k mod slots. A position comes in one Run (K0 =
//   0) unless its cells pass GatherCells, in RunsPerPosition(B) runs.
//
// RowRuns and OrderedRuns hand the same runs to the kernels of
// core/block_stats.h (the latter counting positions for progress).
//
// The documented order reads the storage against its layout (the time slot
// is the slowest axis in memory and the fastest in the order), so the block
// is gathered a tile of TileColumns columns at a time, each storage read
// taking a cache line's worth of neighbouring columns into a buffer in the
// documented order. The buffer holds at most GatherCells cells.
//
// Should Fn (or a hook it calls) change the array's size, VisitOrdered stops
// after that call and returns false; the runs handed out stay valid (they
// lie in the buffer). Storage that moved at the same size is read where it
// now is. A routine whose hooks call host code computes again when the
// walk ended part way (TOrderedRuns::Complete), so that its result belongs
// to one array.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/progress.h"
#include "linalg/component.h"
#include "linalg/storage_stamps.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv::detail {

// A block after the range rule: columns C0..C1, rows R0..R1, layers L0, L0 +
// LStep, ... up to L1, time slots T0..T1.
struct TBlock4D {
  int32_t C0 = 1, C1 = 1, R0 = 1, R1 = 1, L0 = 1, L1 = 1, T0 = 1, T1 = 1;
  int32_t LStep = 1;
  int64_t Cols() const { return int64_t{C1} - C0 + 1; }
  int64_t Rows() const { return int64_t{R1} - R0 + 1; }
  int64_t Layers() const { return (int64_t{L1} - L0) / LStep + 1; }
  int64_t Slots() const { return int64_t{T1} - T0 + 1; }
  int64_t Positions() const { return Cols() * Rows(); }
  int64_t PositionCells() const { return Layers() * Slots(); }
  int64_t Count() const { return Positions() * PositionCells(); }
};

// ProcStat grows by 1 (and MathFeedBackProc is called) each time a count
// reaches a multiple of Step: Enter() counts one, Entered(n) n at once.
class TStepProgress {
 public:
  explicit TStepProgress(int64_t Step) : FStep(Step) {}
  void Enter() {
    if (++FCount % FStep == 0) FPasses.Pass();
  }
  void Entered(int64_t N) {
    for (int64_t K = (FCount + N) / FStep - FCount / FStep; K > 0; --K) FPasses.Pass();
    FCount += N;
  }

 private:
  int64_t FStep, FCount = 0;
  TPassCounter FPasses;
};

// The step of the routines that count (column, row) positions.
inline TStepProgress PositionProgress(int64_t Positions) { return TStepProgress(Positions / 100 + 1); }

// OnPercentDone over Total steps: at each multiple m of max(Total div 100,
// 1), Fire(Round(m 100 / Total)).
template <class FireFn>
void PercentSteps(int64_t From, int64_t To, int64_t Total, FireFn&& Fire) {
  const int64_t Step = std::max<int64_t>(Total / 100, 1);
  for (int64_t M = (From / Step + 1) * Step; M <= To; M += Step)
    Fire(static_cast<int32_t>(Round(static_cast<double>(M) * 100.0 / static_cast<double>(Total))));
}

struct TMat4DAccess {
  static constexpr int64_t TileColumns = 8;           // a cache line of doubles
  static constexpr int64_t GatherCells = int64_t{1} << 18;  // 2 MiB

  static TBlock4D Block(const TMat4D& M, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                        int32_t LowLayer, int32_t HighLayer, int32_t LowTSlot, int32_t HighTSlot) {
    M.MakeValidColRange(LowCol, HighCol);
    M.MakeValidRowRange(LowRow, HighRow);
    M.MakeValidLayerRange(LowLayer, HighLayer);
    M.MakeValidTSlotRange(LowTSlot, HighTSlot);
    return {LowCol, HighCol, LowRow, HighRow, LowLayer, HighLayer, LowTSlot, HighTSlot};
  }
  static TBlock4D Whole(const TMat4D& M) { return {1, M.FNumX, 1, M.FNumY, 1, M.FNumZ, 1, M.FNumT}; }
  static std::array<int32_t, 4> Extents(const TMat4D& M) { return {M.FNumX, M.FNumY, M.FNumZ, M.FNumT}; }
  static std::vector<double>& Cells(TMat4D& M) { return M.FCells; }
  static const std::vector<double>& Cells(const TMat4D& M) { return M.FCells; }

  // Fn(Run) for every row of the block in memory order, Run its columns.
  template <class F>
  static void VisitRows(const TMat4D& M, const TBlock4D& B, F&& Fn) {
    const TStrides S(M);
    const double* P = M.FCells.data();
    for (int32_t T = B.T0; T <= B.T1; ++T)
      for (int32_t L = B.L0; L <= B.L1; L += B.LStep)
        for (int32_t R = B.R0; R <= B.R1; ++R)
          Fn(std::span<const double>(P + S.At(B.C0, R, L, T), Ix(B.Cols())));
  }

  // Fn(Col, Row, K0, Run) over the block in the documented order (see
  // above); false when a resize ended the walk.
  template <class F>
  static bool VisitOrdered(const TMat4D& M, const TBlock4D& B, F&& Fn) {
    const TStorageGuard Shape(ShapeOf(M));
    TOrderedWalk W(M, B);
    std::vector<double> Buf(Ix(W.BufferCells()));
    bool Complete = true;
    W.ForEachPiece([&](const TPiece& Pc) {
      Complete = Shape.Intact();
      if (!Complete) return false;
      W.Gather(M.FCells.data(), Pc, Buf.data());
      for (int64_t J = 0; J < Pc.Width; ++J)
        for (int64_t R = 0; R < Pc.NRows; ++R) {
          Fn(static_cast<int32_t>(Pc.C + J), static_cast<int32_t>(Pc.R + R), Pc.K0,
             std::span<const double>(Buf.data() + (J * Pc.NRows + R) * Pc.Len, Ix(Pc.Len)));
          Complete = Shape.Intact();
          if (!Complete) return false;
        }
      return true;
    });
    return Complete;
  }

  // The runs of VisitOrdered for each position.
  static int64_t RunsPerPosition(const TBlock4D& B) { return (B.PositionCells() - 1) / GatherCells + 1; }

  // Every cell of the array := Next(), called in the documented order.
  template <class F>
  static void FillOrdered(TMat4D& M, F&& Next) {
    TOrderedWalk W(M, Whole(M));
    std::vector<double> Buf(Ix(W.BufferCells()));
    W.ForEachPiece([&](const TPiece& Pc) {
      const int64_t N = Pc.Width * Pc.NRows * Pc.Len;
      for (int64_t I = 0; I < N; ++I) Buf[Ix(I)] = Next();
      W.Scatter(Buf.data(), Pc, M.FCells.data());
      return true;
    });
  }

 private:
  // Offsets of cells in the storage.
  struct TStrides {
    std::size_t Row, Layer, Slot;
    explicit TStrides(const TMat4D& M)
        : Row(Ix(M.FNumX)), Layer(Row * Ix(M.FNumY)), Slot(Layer * Ix(M.FNumZ)) {}
    std::size_t At(int32_t C, int32_t R, int32_t L, int32_t T) const {
      return Ix1(T) * Slot + Ix1(L) * Layer + Ix1(R) * Row + Ix1(C);
    }
  };

  // Columns C .. C + Width - 1, rows R .. R + NRows - 1, and of each
  // position the cells K0 .. K0 + Len - 1 in the documented order; in a
  // buffer the run of column C + j, row R + i starts at (j NRows + i) Len.
  struct TPiece {
    int64_t C, Width, R, NRows, K0, Len;
  };

  class TOrderedWalk {
   public:
    TOrderedWalk(const TMat4D& M, const TBlock4D& B)
        : FB(B), FS(M), FSlots(B.Slots()), FCells(B.PositionCells()), FColumnCells(B.Rows() * FCells) {
      // Whole columns of the block while a tile of them fits; else single
      // positions, in chunks when one position alone would not fit.
      FWidth = FColumnCells <= GatherCells ? std::min({TileColumns, B.Cols(), GatherCells / FColumnCells}) : 0;
    }
    int64_t BufferCells() const { return FWidth > 0 ? FWidth * FColumnCells : std::min(FCells, GatherCells); }

    // Piece(P) for each piece in order until it returns false.
    template <class F>
    void ForEachPiece(F&& Piece) const {
      if (FWidth > 0) {
        for (int64_t C = FB.C0; C <= FB.C1; C += FWidth)
          if (!Piece(TPiece{C, std::min(FWidth, FB.C1 - C + 1), FB.R0, FB.Rows(), 0, FCells})) return;
        return;
      }
      for (int64_t C = FB.C0; C <= FB.C1; ++C)
        for (int64_t R = FB.R0; R <= FB.R1; ++R)
          for (int64_t K = 0; K < FCells; K += GatherCells)
            if (!Piece(TPiece{C, 1, R, 1, K, std::min(GatherCells, FCells - K)})) return;
    }

    void Gather(const double* P, const TPiece& Pc, double* Buf) const {
      Walk(Pc, [&](std::size_t From, std::size_t To, int64_t Width, std::size_t Gap) {
        for (int64_t J = 0; J < Width; ++J) Buf[To + Ix(J) * Gap] = P[From + Ix(J)];
      });
    }
    void Scatter(const double* Buf, const TPiece& Pc, double* P) const {
      Walk(Pc, [&](std::size_t From, std::size_t To, int64_t Width, std::size_t Gap) {
        for (int64_t J = 0; J < Width; ++J) P[From + Ix(J)] = Buf[To + Ix(J) * Gap];
      });
    }

   private:
    // Move(storage offset, buffer offset, width, buffer gap between columns)
    // for each row of the piece and each of its cells, rows outer: the
    // reads of one row stay within one page per layer and time slot.
    template <class F>
    void Walk(const TPiece& Pc, F&& Move) const {
      const std::size_t Gap = Ix(Pc.NRows * Pc.Len);
      for (int64_t I = 0; I < Pc.NRows; ++I) {
        const auto R = static_cast<int32_t>(Pc.R + I);
        int64_t Li = Pc.K0 / FSlots, Ti = Pc.K0 % FSlots;
        std::size_t To = Ix(I * Pc.Len);
        for (int64_t K = 0; K < Pc.Len; ++K, ++To) {
          Move(FS.At(static_cast<int32_t>(Pc.C), R, static_cast<int32_t>(FB.L0 + Li * FB.LStep),
                     static_cast<int32_t>(FB.T0 + Ti)),
               To, Pc.Width, Gap);
          if (++Ti == FSlots) {
            Ti = 0;
            ++Li;
          }
        }
      }
    }

    TBlock4D FB;
    TStrides FS;
    int64_t FSlots, FCells, FColumnCells, FWidth = 0;
  };
};

// The rows of a block as runs of core/block_stats.h, in memory order.
inline auto RowRuns(const TMat4D& M, const TBlock4D& B) {
  return [&M, B](auto&& F) { TMat4DAccess::VisitRows(M, B, F); };
}

// The block's cells in the documented order as runs of core/block_stats.h;
// with Progress, its positions are counted as they are entered, in the
// first pass over the block only. Complete() is false when host code in
// the progress report resized the array, which ended a walk part way.
class TOrderedRuns {
 public:
  TOrderedRuns(const TMat4D& M, const TBlock4D& B, TStepProgress* Progress = nullptr)
      : FM(M), FB(B), FProgress(Progress) {}
  template <class F>
  void operator()(F&& Fn) const {
    FComplete = TMat4DAccess::VisitOrdered(FM, FB, [&](int32_t, int32_t, int64_t K0, std::span<const double> Run) {
                  if (FProgress != nullptr && K0 == 0 && FEntered++ < FB.Positions()) FProgress->Enter();
                  Fn(Run);
                }) && FComplete;
  }
  bool Complete() const { return FComplete; }

 private:
  const TMat4D& FM;
  TBlock4D FB;
  TStepProgress* FProgress;
  mutable int64_t FEntered = 0;
  mutable bool FComplete = true;
};

// Compute(Runs, B) over the block of the bounds (Block's eight) in the
// documented order, its positions reported; when host code resized the
// array meanwhile, once more on the block as the array now is, without
// reports, so that the result belongs to one array.
template <class F>
void ReportedOrdered(const TMat4D& M, const std::array<int32_t, 8>& Bounds, F&& Compute) {
  for (const bool Report : {true, false}) {
    const TBlock4D B = TMat4DAccess::Block(M, Bounds[0], Bounds[1], Bounds[2], Bounds[3], Bounds[4], Bounds[5],
                                           Bounds[6], Bounds[7]);
    TStepProgress Progress = PositionProgress(B.Positions());
    const TOrderedRuns Runs(M, B, Report ? &Progress : nullptr);
    Compute(std::cref(Runs), B);
    if (Runs.Complete()) return;
  }
}

}  // namespace orv::detail
