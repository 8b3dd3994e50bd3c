// Unit ORV_matrix: the four-dimensional array TMat4D and the free routines
// that copy between 3-D arrays, matrices and 2-D arrays. Included through
// ORV_matrix.h.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/matrix/TMat3D.h"
#include "orvcalckit/matrix/TMatrix.h"
#include "orvcalckit/matrix/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

class TVector;

// A value read for the cell (ix, iy, il, it): column, row, layer, time slot.
using TOnReadMat4DElementEvent =
    std::function<void(TObject* Sender, int32_t ix, int32_t iy, int32_t il, int32_t it, double Value)>;

namespace detail {
struct TMat4DAccess;
}

// ============================================================================
// TMat4D: array of doubles over (column, row, layer, time slot), addressed from 1
// ============================================================================
//
// A (column, row) position is a pixel. The four counts are never below 1 and
// the storage holds exactly their product of cells in one piece, in the
// order time slot, layer, row, column (column fastest): the columns of one
// row of one layer and time slot lie side by side (ColumnRun). Reading
// outside the array gives 0.0, writing there is ignored.
//
// Blocks are given as (low, high) per axis and clamped by the range rule
// (MakeValid*Range: 0 and 0 is the whole axis, other bounds are clamped into
// 1..count and exchanged when reversed), so a block holds at least one cell.
// Where an order matters (the random fills' draws, Find's ties, the order of
// Sum, SquaredSum, MeanVar and the checksum) cells are taken column by
// column, within a column row by row, then layer by layer, the time slot
// innermost.
//
// Progress. The statistics MinMax, MeanVar, Sum and SquaredSum, Clone and
// CopyFrom count the (column, row) positions of their block; each time the
// count reaches a multiple of Trunc(positions / 100) + 1, ProcStat grows by
// 1 and MathFeedBackProc is called. Cut, Resample, Transpose and
// CRCofData fire OnPercentDone with a percentage rounded half to even (each
// documents its steps). No statistic tests AbortMathProc. Should that host
// code resize the array, MeanVar, Sum, SquaredSum and CRCofData take their
// result again, without reports, over the block as the array then is.
//
// Memory. Every routine that needs new storage builds it aside and commits
// it; when it cannot be had, EORVMatrixError "not enough memory on heap"
// leaves the array (and any output argument) as it was.
class ORV_API TMat4D : public TComponent {
 public:
  // 1 x 1 x 1 x 1 holding 0.0, DataID empty.
  explicit TMat4D(TComponent* AOwner = nullptr);
  ~TMat4D() override;
  std::string ClassName() const override;

  // Size, DataID, cells and the handlers OnChange, OnPercentDone and
  // OnReadElement of another TMat4D (not FirstCell, not the name); fires
  // nothing. Other sources: EConvertError.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  // Size and cells of MatSource (not DataID, not the handlers): Resize (with
  // its OnChange when the size changes), progress per (column, row) position
  // of MatSource, then OnChange. nullptr: nothing. Should that OnChange
  // resize either array, the cells go through GetVal and SetVal, so that
  // each array's size as it then is holds.
  void Clone(const TMat4D* MatSource);

  // ---- size ----
  int32_t NrOfColumns() const { return FNumX; }
  int32_t NrOfRows() const { return FNumY; }
  int32_t NrOfLayers() const { return FNumZ; }
  int32_t NrOfTimeSlots() const { return FNumT; }
  // A value below 1 becomes 1; then Resize with the other three counts.
  void SetNrOfColumns(int32_t Value);
  void SetNrOfRows(int32_t Value);
  void SetNrOfLayers(int32_t Value);
  void SetNrOfTimeSlots(int32_t Value);
  // When all four counts are > 0 and one differs from the current size, the
  // array takes them (the overlap keeps its values, new cells are 0.0) and
  // OnChange fires; otherwise nothing happens. Always true.
  bool Resize(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt);
  // Resize, then Fill(0.0): clears and fires also at the current size.
  bool ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt);
  // The size of the cells in megabytes (2^20 bytes).
  double MemoryConsumed() const;

  // ---- cells ----
  double GetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const {
    return ValidCell(Nx, Ny, Nz, Nt) ? FCells[Offset(Nx, Ny, Nz, Nt)] : 0.0;
  }
  // Fires nothing.
  void SetVal(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt, double Value) {
    if (ValidCell(Nx, Ny, Nz, Nt)) FCells[Offset(Nx, Ny, Nz, Nt)] = Value;
  }
  double Elem(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const { return GetVal(Nx, Ny, Nz, Nt); }
  void SetElem(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt, double Value) { SetVal(Nx, Ny, Nz, Nt, Value); }
  // The cells of all columns of row Ny in layer Nz of time slot Nt, element k
  // being column k + 1; empty when the row lies outside the array. Valid
  // until the array is resized.
  std::span<const double> ColumnRun(int32_t Ny, int32_t Nz, int32_t Nt) const {
    if (!ValidCell(1, Ny, Nz, Nt)) return {};
    return {FCells.data() + Offset(1, Ny, Nz, Nt), detail::Ix(FNumX)};
  }

  // ---- ranges and addresses ----
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;
  void MakeValidLayerRange(int32_t& LowLayer, int32_t& HighLayer) const;
  void MakeValidTSlotRange(int32_t& LowTSlot, int32_t& HighTSlot) const;
  // The 0-based address of (ix, iy, il) within one time slot, the layer
  // varying fastest, then the column, then the row: (il - 1) + ((iy - 1) x
  // NrOfColumns + (ix - 1)) x NrOfLayers. -2 when columns x rows x layers
  // exceed 2147483647, -1 for an index outside the array.
  int32_t Lin3DAddr(int32_t ix, int32_t iy, int32_t il) const;
  // The inverse of Lin3DAddr; false, with the outputs untouched, for an
  // address outside 0 .. columns x rows x layers - 1.
  bool ConvertLinTo3DAddr(int32_t LinAddr, int32_t& ix, int32_t& iy, int32_t& il) const;

  // ---- fills ----
  // Every cell := Value; OnChange.
  void Fill(double Value);
  // Cells (i, i, i, i), i = 1..the smallest count, := Value; OnChange.
  void FillDiag(double Value);
  // Every cell of layer Layer in every time slot := Value; nothing for a
  // layer outside the array. No event.
  void FillLayer(int32_t Layer, double Value);
  // The cells of one layer and time slot, column by column, within a column
  // row by row: Mode 0 Par1; 1 Par1 + Random() (Par2 - Par1); 2 Par1 + Par2
  // GRandom(). 0 and OnChange; else -1 (layer outside), -2 (time slot
  // outside), -3 (another mode), the later code winning, nothing changed.
  int32_t FillLayer(int32_t Layer, int32_t TimeSlot, int32_t Mode, double Par1, double Par2);
  // Cell := RangeLow + Random() (RangeHigh - RangeLow), one draw per cell in
  // the order column, row, layer, time slot; OnChange.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  // Cell := GRandom() StdDev + Mean, same order; OnChange.
  void FillRandomGauss(double Mean, double StdDev);
  // Cell (c, r, Layer, TimeSlot) += Src[c - 1][r - 1] for every column and
  // row. 0; else -1 (Src not NrOfColumns columns of NrOfRows rows each), -2
  // (layer outside), -3 (time slot outside), the later code winning, nothing
  // changed. No event.
  int32_t AccumulateLayer(int32_t Layer, int32_t TimeSlot, const TDouble2DArray& Src);

  // ---- searching and block statistics ----
  // The first cell of the block in the order column, row, layer, time slot
  // with the smallest |cell - Value| below uc_MaxDouble (a later cell must be
  // strictly nearer); 0, 0, 0, 0 when none is.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
            int32_t LowTimeSlot, int32_t HighTimeSlot, double Value, int32_t& ColIx, int32_t& RowIx,
            int32_t& LayerIx, int32_t& TimeSlotIx) const;
  // The cells of the block with RangeLow <= cell <= RangeHigh (NaN counts
  // nowhere); at most 2147483647.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                      int32_t HighLayer, int32_t LowTimeslot, int32_t HighTimeslot, double RangeLow,
                      double RangeHigh) const;
  // The smallest and largest cell of the block (NaN is never taken; infinite
  // cells are); uc_MaxReal and -uc_MaxReal when every cell is NaN.
  void MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
              int32_t LowTimeSlot, int32_t HighTimeSlot, double& Minimum, double& Maximum) const;
  // Mean := sum / n. Variance := 1.0 for fewer than 3 cells (a defined value,
  // not an estimate), else the sample variance taken in one pass on the
  // cells less the block's first cell (so data far from 0 keep their
  // digits), 0.0 where rounding makes it negative.
  void MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
               int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, double& Mean, double& Variance) const;
  // The sums of the cells and of their squares, added in a double from 0.
  double Sum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
             int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  double SquaredSum(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  // The value at sorted position min(Round(n Prob / 100), n - 1) (0-based,
  // NaN sorting last) of the block's n cells, Prob clamped into 0..100. 15
  // cells drawn at random first (column, row, layer, time slot each by
  // Random) name a candidate: the first of them that at least 7 of them
  // equal, else their smallest; when the wanted position falls among the
  // candidate's copies, the candidate is the result without a selection.
  double Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot) const;
  // The same over SampleSize cells drawn with replacement after reseeding
  // the generator from the clock; the whole block when SampleSize is 0 or
  // not below the block's count. A negative SampleSize raises
  // EORVMatrixError "not enough memory on heap".
  double Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                    int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot, int32_t SampleSize) const;
  // Eight CRC-32 registers over the bytes of the cells (byte k of a double
  // into register k), cells in the order column, row, layer, time slot,
  // only the layers that are multiples of Sample (Sample reduced to
  // NrOfLayers div 2 when greater, then at least 1): 64 hexadecimal digits.
  // OnPercentDone per (column, row) position: at each multiple of
  // max(positions div 100, 1), Round(count 100 / positions).
  std::string CRCofData();
  std::string CRCofData(int32_t Sample);

  // ---- reshaping (each fires OnChange at the end) ----
  // Keeps only the block. OnPercentDone over 2 x (its layers x time slots)
  // steps, at each multiple of max(steps div 100, 1).
  void Cut(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
           int32_t LowTimeslot, int32_t HighTimeslot);
  // Reduces each axis by its divisor from its offset (taken modulo the
  // divisor, non-negative): new count (count - offset - 1) div Div + 1; new
  // cell x takes source positions (x - 1) Div + offset + 1 .. + Div on each
  // axis. Average: the sum of the block's cells inside the array divided by
  // the product of the four divisors (also at the edges); else the block's
  // first cell (0.0 outside the array). OnPercentDone per (new time slot,
  // new layer). A divisor below 1 raises EZeroDivide with nothing changed.
  void Resample(int32_t XDiv, int32_t XOffset, int32_t YDiv, int32_t YOffset, int32_t ZDiv, int32_t ZOffset,
                int32_t TDiv, int32_t TOffset, bool Average);
  // Columns become rows in every layer and time slot: cell (r, c) := old
  // cell (c, r). AbortMathProc is tested before each old column of the
  // copy: set, the result is false with the array and its counts
  // unchanged. OnPercentDone over 2 x columns x rows steps; a handler that
  // resizes the array ends the work too (false, the array as it left it).
  bool Transpose();
  // Reverse one axis; OnChange also for an axis of one position. ProcStat
  // grows by one per multiple of Trunc(columns x rows x layers x 0.005) + 1
  // (time slots for MirrorTimeSlots) of the exchanged pairs times the two
  // outer other axes.
  void MirrorColumns();
  void MirrorRows();
  void MirrorLayers();
  void MirrorTimeSlots();

  // ---- layer statistics (worker threads) ----
  // DestMat := one cell per (column, row) of the clamped block, the mean,
  // maximum, minimum or population standard deviation of the block's N =
  // layers x time slots cells there, taken layer by layer and within a
  // layer time slot by time slot: the mean sums from 0.0; the maximum starts
  // at -uc_MaxReal and takes each greater cell (the minimum uc_MaxReal, each
  // smaller one), so NaN is never taken; the deviation sums s and q of the
  // cells less the position's first cell (LowLayer, LowTimeSlot), m := s /
  // N, v := q / N - m^2, 0 when negative, and gives sqrt(v). DestMat is
  // resized to the block (Resize, then Fill(0.0)) and each cell written
  // through SetVal: one OnChange per cell, on the thread that computed it,
  // the calls never overlapping. NThreads is clamped into 1..processor
  // count. With 1, ProcStat grows by 1 (and MathFeedBackProc is called)
  // each time the count of (column, row) positions reaches a multiple of
  // Trunc(positions / 100) + 1; with more, min(NThreads, columns) workers
  // take runs of adjacent columns in increasing order, adding 100 /
  // columns to ProcStat per finished column, and the calling thread calls
  // MathFeedBackProc per pass (after each finishing worker) and once at the
  // end. Both paths give the same bits. Not stopped by AbortMathProc. An
  // exception of a handler ends the call after every worker has ended and
  // is raised again here. nullptr: nothing. The default NThreads is the
  // processor count. A handler (DestMat's OnChange, MathFeedBackProc) that
  // resizes the array ends the work: DestMat keeps the cells written so far
  // (zeros elsewhere); DestMat itself may be resized, its cells going
  // through SetVal. On the workers' path host code waits for the workers
  // that read the array, and runs alone.
  void MeanOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                            int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                            int32_t NThreads);
  void MeanOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                            int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot);
  void MaximumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                               int32_t NThreads);
  void MaximumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot);
  void MinimumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                               int32_t NThreads);
  void MinimumOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                               int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot);
  void StdDevOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                              int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot,
                              int32_t NThreads);
  void StdDevOfLayersToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                              int32_t LowLayer, int32_t HighLayer, int32_t LowTimeSlot, int32_t HighTimeSlot);

  // ---- copying ----
  // Source cell (c, r, l, t) of the block (clamped against MatSource) to
  // (c + DestCol - SrcLowCol, ...) where that lies in this array; the
  // result is that of a copy from the unchanged source, also when
  // MatSource is this array. Progress per source (column, row) position;
  // OnChange. nullptr: nothing.
  void CopyFrom(const TMat4D* MatSource, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                int32_t SrcHighRow, int32_t SrcLowLayer, int32_t SrcHighLayer, int32_t SrcLowTSlot,
                int32_t SrcHighTSlot, int32_t DestCol, int32_t DestRow, int32_t DestLayer, int32_t DestTSlot);
  // The copies out of the array fire nothing of this array. Blocks are
  // clamped.
  // DestMat := [column][row][layer] of the block of one time slot; -1 for a
  // time slot outside (DestMat unchanged), else 0.
  int32_t CopyTimeSlotToArray(TDouble3DArray& DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                              int32_t HighRow, int32_t LowLay, int32_t HighLay, int32_t TimeSlot) const;
  // DestMat resized to the block, element (c - LowCol + 1, ...) := cell.
  // EORVMatrixError "specified time slot beyond data range". nullptr: nothing.
  void CopyTimeSlotToMat3D(TMat3D* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                           int32_t LowLay, int32_t HighLay, int32_t TimeSlot) const;
  // DestMat resized to the block of one layer and time slot, written through
  // its SetVal (its OnChange per cell). EORVMatrixError "specified layer
  // beyond data range", then "specified time slot beyond data range".
  // nullptr: nothing.
  void CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                         int32_t Layer, int32_t TimeSlot) const;
  // DestArray := [column][row] of the block of one layer and time slot; -1
  // (layer outside), -2 (time slot outside; wins), else 0.
  int32_t CopyLayerToArray(TDouble2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                           int32_t HighRow, int32_t Layer, int32_t TimeSlot) const;
  // The layers of one pixel and time slot, layer 1 first: Dest takes
  // NrOfLayers values (the vector through NrOfElem and SetVal). -1 (column
  // outside), -2 (row), -3 (time slot), the later code winning; else 0.
  int32_t CopyPixelTo1DArray(TDoubleArray& Dest, int32_t Col, int32_t Row, int32_t TimeSlot) const;
  int32_t CopyPixelToVector(TVector* Dest, int32_t Col, int32_t Row, int32_t TimeSlot) const;

  // The copies into the array fire nothing; cells whose targets lie outside
  // the array are dropped.
  // SrcArray[i][j], each column over its own length, to (Col + i, Row + j,
  // Layer, TimeSlot). -1 (layer outside), -2 (time slot; wins), else 0.
  int32_t CopyArrayToLayer(const TDouble2DArray& SrcArray, int32_t Col, int32_t Row, int32_t Layer,
                           int32_t TimeSlot);
  // The source's elements to layers FirstLayer, FirstLayer + 1, ... of the
  // pixel, as far as the layers reach. -1 (column outside), -2 (row), -3
  // (first layer), -4 (time slot), the later code winning; else 0. A nullptr
  // vector copies nothing.
  int32_t CopyVectorToPixel(const TVector* Src, int32_t Col, int32_t Row, int32_t FirstLayer, int32_t TimeSlot);
  int32_t Copy1DArrayToPixel(const TDoubleArray& Src, int32_t Col, int32_t Row, int32_t FirstLayer,
                             int32_t TimeSlot);
  // SrcMat's block (clamped against SrcMat) cell (c, r) to (c + LayLowCol -
  // SrcLowCol, r + LayLowRow - SrcLowRow, Layer, TimeSlot). EORVMatrixError
  // "specified layer beyond data range", then "specified time slot beyond
  // data range". nullptr: nothing.
  void CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                         int32_t SrcHighRow, int32_t Layer, int32_t TimeSlot, int32_t LayLowCol, int32_t LayLowRow);
  // SrcMat's block (clamped against SrcMat) cell (c, r, l) to (c + DestCol -
  // SrcLowCol, r + DestRow - SrcLowRow, l + DestLayer - SrcLowLay,
  // TimeSlot). EORVMatrixError "specified time slot beyond data range".
  // nullptr: nothing.
  void CopyMat3DToTimeSlot(const TMat3D* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                           int32_t SrcHighRow, int32_t SrcLowLay, int32_t SrcHighLay, int32_t TimeSlot,
                           int32_t DestCol, int32_t DestRow, int32_t DestLayer);
  // SrcMat[c][r][l] over 0-based bounds taken as given (0 and 0 is the whole
  // axis; a low bound above its high bound copies nothing) to (c + DestCol -
  // SrcLowCol, r + DestRow - SrcLowRow, l + DestLayer - SrcLowLay, TimeSlot).
  // Codes, each later one winning, nothing copied: -1 a column bound outside
  // the source or no column at all; -2 a row bound outside, or columns of
  // different lengths; -3 a layer bound outside, or rows of different
  // lengths; -4 time slot, -5 DestCol, -6 DestRow, -7 DestLayer outside the
  // array. Else 0.
  int32_t CopyArrayToTimeSlot(const TDouble3DArray& SrcMat, int32_t SrcLowCol, int32_t SrcHighCol,
                              int32_t SrcLowRow, int32_t SrcHighRow, int32_t SrcLowLay, int32_t SrcHighLay,
                              int32_t TimeSlot, int32_t DestCol, int32_t DestRow, int32_t DestLayer);

  // ---- block file ----
  // The header of a block file: its four counts, DataID (single-byte text
  // as UTF-8) and Format, handed back whenever the header record could be
  // read. True when it holds a 4-D array: layers > 0, time slots > 0, Format 1. A missing file or one shorter than the
  // header raises EInOutError. No reader checks Format.
  static bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, int32_t& NrLayers,
                               int32_t& NrTimeSlots, std::string& DataID, int32_t& Format);
  // Walks the values of time slots TSlotStart .. min(TSlotEnd, file's slots)
  // (all of them when either bound is below 1) in file order, firing
  // OnReadElement(ix, iy, il, it, value) with it counted from the first slot
  // read, and before the d-th value, when d is a multiple of max(Total div
  // 100, 1), OnPercentDone(Round(d 100 / Total)). The array is not changed.
  // -1 when TSlotStart is beyond the file's slots, else 0 (also when nothing
  // is walked). EInOutError when the file cannot be opened or does not hold
  // every record of the walk: then nothing has fired.
  int32_t ReadBinary(const std::string& FName, int32_t TSlotStart, int32_t TSlotEnd);
  // Layer Layer of time slot TSlot of the file into the same place of the
  // array, OnPercentDone about 100 times (as ReadBinary over the layer); no
  // OnChange. Codes, the later winning, nothing read: -1 time slot outside
  // the file's or the array's, -2 layer outside the file's or the array's,
  // -3 the file's columns or rows differ from the array's. -4 when the file
  // cannot be opened or does not hold the layer, the array unchanged. An
  // OnPercentDone handler that resizes the array or moves its cells: the
  // codes are taken again, the values read so far stay, and the rest goes
  // where the layer now is, or the code says why it cannot.
  int32_t ReadLayer(const std::string& FName, int32_t Layer, int32_t TSlot);

  // ---- XML ----
  // The step of an XML reader, as TMatrix's: xmlMatNumCols, xmlMatNumRows,
  // xmlMatNumLayers and xmlMatNumTimeSlots announce the counts (an announced
  // 0 becomes 1); cells carry the attributes ix, iy, il and it and are
  // stored as SetVal does. Counts whose cells this word size cannot address
  // raise EORVMatrixError "not enough memory on heap" before any allocation;
  // counts beyond XmlCellLimit are refused with -1.
  int32_t ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content);
  // Set by an XML reader before it feeds the tags of one matrix; cleared by
  // the tag handler at the first cell. Count tags are recorded whatever it is.
  bool FirstCell = false;
  // The most cells an XML text may size the array to; a reader may lower it.
  int64_t XmlCellLimit = DefaultXmlCellLimit;

  // ---- properties ----
  const std::string& DataID() const { return FDataID; }
  void SetDataID(const std::string& Value) { FDataID = Value; }

  TNotifyEvent OnChange;
  TOnPercentDoneEvent OnPercentDone;
  TOnReadMat4DElementEvent OnReadElement;

 private:
  friend struct detail::TMat4DAccess;
  template <class>
  friend struct detail::TStorageStamp;

  void Changed() {
    if (OnChange) OnChange(this);
  }
  void PercDone(TObject* Sender, int32_t Percent);
  void ReadElement(TObject* Sender, int32_t ix, int32_t iy, int32_t il, int32_t it, double Value);
  bool ValidCell(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const {
    return detail::InAxis(Nx, FNumX) && detail::InAxis(Ny, FNumY) && detail::InAxis(Nz, FNumZ) &&
           detail::InAxis(Nt, FNumT);
  }
  // The place of cell (Nx, Ny, Nz, Nt) in FCells: column fastest, then row,
  // then layer, then time slot.
  std::size_t Offset(int32_t Nx, int32_t Ny, int32_t Nz, int32_t Nt) const {
    return ((detail::Ix1(Nt) * detail::Ix(FNumZ) + detail::Ix1(Nz)) * detail::Ix(FNumY) + detail::Ix1(Ny)) *
               detail::Ix(FNumX) +
           detail::Ix1(Nx);
  }

  int32_t FNumX = 1;
  int32_t FNumY = 1;
  int32_t FNumZ = 1;
  int32_t FNumT = 1;
  std::string FDataID;
  std::vector<double> FCells;
  detail::TXmlAnnounced<4> FXmlAnnounced;
};

// ---- free routines ----
// Indices of the dynamic arrays from 0, bounds inclusive; cells outside the
// source (also of a ragged one) read as 0.0; a low bound above its high
// bound gives an empty result. Extents beyond the 32-bit range, or results
// that cannot be had, raise EORVMatrixError "<routine>: not enough memory on
// heap" with the destination unchanged.
// Dest resized to the block (TMatrix::Resize), element (c - LowCol + 1, r -
// LowRow + 1) := Source[c][r][Layer] through its SetVal. nullptr: nothing.
ORV_API void CopyArr3DLayerToMatrix(const TDouble3DArray& Source, TMatrix* Dest, int32_t LowCol, int32_t HighCol,
                                    int32_t LowRow, int32_t HighRow, int32_t Layer);
// Dest := [c - LowCol][r - LowRow] of the matrix elements (c, r), 1-based,
// 0.0 outside the matrix. nullptr: nothing.
ORV_API void CopyMatrixToArray(const TMatrix* Source, TDouble2DArray& Dest, int32_t LowCol, int32_t HighCol,
                               int32_t LowRow, int32_t HighRow);
// Dest := [c - LowCol][r - LowRow] of Source[c][r][Layer].
ORV_API void CopyArr3DLayerToArr2D(const TDouble3DArray& Source, TDouble2DArray& Dest, int32_t LowCol,
                                   int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t Layer);

// One layer of one time slot of a 4-D block file as [column][row]. Read4DLayer
// replaces Dest: -1 time slot outside the file's, -2 layer outside (the
// later code wins), -3 the file cannot be opened, has no columns or rows, or
// does not hold the layer. Read4DLayerAndAccumulate adds the values to Dest:
// -1 layer outside, -2 time slot outside, -3 Dest not the file's columns
// each of its rows (later codes win), -4 as -3 above. On any code Dest is
// unchanged.
ORV_API int32_t Read4DLayer(const std::string& FileName, int32_t Layer, int32_t TimeSlot, TDouble2DArray& Dest);
ORV_API int32_t Read4DLayerAndAccumulate(const std::string& FileName, int32_t Layer, int32_t TimeSlot,
                                         TDouble2DArray& Dest);

}  // namespace orv
