// Unit ORV_matrix: the three-dimensional array TMat3D. Included through
// ORV_matrix.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/matrix/TMatrix.h"
#include "orvcalckit/matrix/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// ============================================================================
// TMat3D: array of doubles over (column, row, layer), addressed from 1
// ============================================================================
//
// A stack of equally sized layers. The three counts are never below 1, and
// the storage holds exactly NrOfColumns x NrOfRows x NrOfLayers cells in one
// piece, layer fastest: the layers of one (column, row) position lie side by
// side (LayerRun). Reading outside the array gives 0.0, writing there is
// ignored.
//
// Block bounds come as (low, high) per axis, unlike the (col, row, col, row)
// of TMatrix's statistics, and are clamped by the range rule of TMatrix
// (MakeValid*Range). Blocks are visited column by column, within a column row
// by row, and within a (column, row) position layer by layer (VisitBlock).
//
// Events: OnChange fires once after Resize (when the size changes), Clone,
// FillDiag and the random fills; SetVal, Fill and the layer copies fire
// nothing; OnPercentDone is never fired. There is no Assign of its own:
// Assign between two arrays raises EConvertError, and Clone is the copy.
class ORV_API TMat3D : public TComponent {
 public:
  // 1 x 1 x 1 holding 0.0, DataID empty. EORVMatrixError "not enough memory
  // on heap" when even that cannot be had.
  explicit TMat3D(TComponent* AOwner = nullptr);
  ~TMat3D() override;
  std::string ClassName() const override;

  // Size and cells of MatSource (not DataID, not the handlers), then one
  // OnChange (plus Resize's when the size changes). nullptr: nothing.
  void Clone(const TMat3D* MatSource);

  // ---- size ----
  int32_t NrOfColumns() const { return FNumX; }
  int32_t NrOfRows() const { return FNumY; }
  int32_t NrOfLayers() const { return FNumZ; }
  // A value <= 0 becomes 1; then Resize with the other two counts.
  void SetNCols(int32_t Nc);
  void SetNRows(int32_t Nr);
  void SetNLayers(int32_t Nl);
  void SetNrOfColumns(int32_t Nc) { SetNCols(Nc); }
  void SetNrOfRows(int32_t Nr) { SetNRows(Nr); }
  void SetNrOfLayers(int32_t Nl) { SetNLayers(Nl); }
  // When all three counts are > 0 and one differs from the current size, the
  // array takes them (the overlap keeps its values, new cells are 0.0) and
  // OnChange fires; otherwise nothing happens. Always true. EORVMatrixError
  // "not enough memory on heap" when the storage cannot be had (the array is
  // then unchanged).
  bool Resize(int32_t Nc, int32_t Nr, int32_t Nl);
  bool ResizeAndClear(int32_t Nc, int32_t Nr, int32_t Nl);  // Resize, then Fill(0.0)

  // ---- cells ----
  double GetVal(int32_t Nx, int32_t Ny, int32_t Nz) const {
    return ValidCell(Nx, Ny, Nz) ? FCells[Offset(Nx, Ny, Nz)] : 0.0;
  }
  // No event (unlike TMatrix::SetVal).
  void SetVal(int32_t Nx, int32_t Ny, int32_t Nz, double Value) {
    if (ValidCell(Nx, Ny, Nz)) FCells[Offset(Nx, Ny, Nz)] = Value;
  }
  double Elem(int32_t Nx, int32_t Ny, int32_t Nz) const { return GetVal(Nx, Ny, Nz); }
  void SetElem(int32_t Nx, int32_t Ny, int32_t Nz, double Value) { SetVal(Nx, Ny, Nz, Value); }
  // The cells of all layers at (Nx, Ny), element k being layer k + 1; empty
  // when (Nx, Ny) lies outside the array.
  std::span<const double> LayerRun(int32_t Nx, int32_t Ny) const {
    if (!detail::InAxis(Nx, FNumX) || !detail::InAxis(Ny, FNumY)) return {};
    return {FCells.data() + Offset(Nx, Ny, 1), detail::Ix(FNumZ)};
  }
  // Calls Visit(Col, Row, Run) for every (column, row) position of the block,
  // columns outer, rows inner, Run holding the cells of layers
  // LowLayer..HighLayer there: the block's cells in the order (column, row,
  // layer). The bounds are clamped first. Run is valid until the array is
  // resized; should Visit (or a hook it calls) change the size, the rest of
  // the block is not visited.
  template <class F>
  void VisitBlock(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
                  int32_t HighLayer, F&& Visit) const {
    MakeValidColRange(LowCol, HighCol);
    MakeValidRowRange(LowRow, HighRow);
    MakeValidLayerRange(LowLayer, HighLayer);
    const int32_t X = FNumX, Y = FNumY, Z = FNumZ;
    for (int32_t C = LowCol; C <= HighCol; ++C)
      for (int32_t R = LowRow; R <= HighRow; ++R) {
        if (FNumX != X || FNumY != Y || FNumZ != Z) return;
        Visit(C, R, LayerRun(C, R).subspan(detail::Ix1(LowLayer), detail::Ix(HighLayer - LowLayer + 1)));
      }
  }

  // ---- ranges ----
  // (0, 0) is the whole axis; other bounds are clamped into 1..count and
  // exchanged when reversed.
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;
  void MakeValidLayerRange(int32_t& LowLayer, int32_t& HighLayer) const;

  // ---- filling ----
  // Every cell := Value (0.0 for -0.0 too); no event.
  void Fill(double Value);
  // Cells (i, i, i), i = 1..min(counts), := Value; one OnChange.
  void FillDiag(double Value);
  // Cell := RangeLow + Random() * (RangeHigh - RangeLow), drawn in the order
  // (column, row, layer); one OnChange.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  // Cell := GRandom() * StdDev + Mean, same order; one OnChange.
  void FillRandomGauss(double Mean, double StdDev);

  // ---- searching ----
  // The first cell of the block in visiting order with the smallest
  // |cell - Value| below uc_MaxDouble (a later cell must be strictly nearer);
  // 0, 0, 0 when none is.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer, int32_t HighLayer,
            double Value, int32_t& ColIx, int32_t& RowIx, int32_t& LayerIx) const;

  // ---- statistics of a block ----
  // Bounds (low, high) per axis, clamped; cells in the order column, row,
  // layer. None of these changes the array or fires an event.
  // MinMax and MeanVar report progress: with n the block's (column, row)
  // positions, ProcStat grows by 1 (and MathFeedBackProc is called) each
  // time the count of positions entered reaches a multiple of Trunc(n / 100)
  // + 1; layers do not count. Should MathFeedBackProc resize the array or
  // move its cells, the result is taken again, without reports, over the
  // block as the array then is.
  // As TMatrix::MinMax: a cell replaces Minimum when it is not >= Minimum and
  // Maximum when it is > Maximum; the extremes are cells of the block (also
  // infinite ones), uc_MaxReal and -uc_MaxReal for an extreme no cell
  // reached (only NaN).
  void MinMax(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
              int32_t HighLayer, double& Minimum, double& Maximum) const;
  // As TMatrix::MeanVar: Variance 1.0 for one or two cells, else the sample
  // variance over the cells less the block's first cell, 0.0 where rounding
  // makes it negative.
  void MeanVar(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t LowLayer,
               int32_t HighLayer, double& Mean, double& Variance) const;
  // As TMatrix's plain Percentile: the value at sorted position Round(n Prob
  // / 100), at most n - 1, of the block's n cells (Prob clamped into 0..100,
  // NaN sorting behind every number; NaN for a NaN Prob). EORVMatrixError
  // "not enough memory on heap" when the work array cannot be had.
  double Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer) const;
  // The same over SampleSize cells drawn with replacement after reseeding the
  // platform's generator from the clock (every call): per sample the column,
  // then the row, then the layer, each Low + Random(extent). No shortcut for
  // zeros (unlike TMatrix). A SampleSize <= 0 or not below the block's cell
  // count gives the plain Percentile.
  double Percentile(double Prob, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                    int32_t LowLayer, int32_t HighLayer, int32_t SampleSize) const;

  // ---- layers and matrices ----
  // DestMat := the block LowCol..HighCol x LowRow..HighRow of layer Layer
  // (bounds clamped), cell (c, r) to (c - LowCol + 1, r - LowRow + 1) through
  // DestMat's SetVal, column by column; DestMat is resized to the block first.
  // EORVMatrixError "specified layer beyond data range" for a Layer outside
  // 1..NrOfLayers. nullptr: nothing.
  void CopyLayerToMatrix(TMatrix* DestMat, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow,
                         int32_t Layer) const;
  // Source cell (c, r) of SrcLowCol..SrcHighCol x SrcLowRow..SrcHighRow (as
  // given: not clamped, reversed bounds copy nothing, cells outside SrcMat read
  // 0.0) to (c + LayLowCol - SrcLowCol, r + LayLowRow - SrcLowRow, Layer) where
  // that lies in the array; no event. Errors as CopyLayerToMatrix.
  void CopyMatrixToLayer(const TMatrix* SrcMat, int32_t SrcLowCol, int32_t SrcHighCol, int32_t SrcLowRow,
                         int32_t SrcHighRow, int32_t Layer, int32_t LayLowCol, int32_t LayLowRow);

  // Eight CRC-32 registers over the bytes of every cell (byte k of a double
  // into register k), cells in storage order: 64 hexadecimal digits.
  std::string CRCofData() const;

  // ---- block file ----
  // The header of a block file: its four counts, DataID (single-byte text
  // as UTF-8) and Format, handed back whenever the header record could be
  // read. True when it holds a 3-D array: layers > 0, no time slots, Format 1. A missing file or one shorter than the
  // header raises EInOutError. No reader checks Format.
  static bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, int32_t& NrLayers,
                               int32_t& NrTimeSlots, std::string& DataID, int32_t& Format);

  // ---- XML ----
  // The step of an XML reader, as TMatrix's: xmlMatNumCols, xmlMatNumRows and
  // xmlMatNumLayers announce the counts (an announced 0 becomes 1), cells
  // carry the attributes ix, iy and iz and are stored through SetVal.
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

 protected:
  void PercDone(TObject* Sender, int32_t Percent);

 private:
  template <class>
  friend struct detail::TStorageStamp;

  void Changed() {
    if (OnChange) OnChange(this);
  }
  bool ValidCell(int32_t Nx, int32_t Ny, int32_t Nz) const {
    return detail::InAxis(Nx, FNumX) && detail::InAxis(Ny, FNumY) && detail::InAxis(Nz, FNumZ);
  }
  // The place of cell (Nx, Ny, Nz) in FCells: layer fastest, then row, then column.
  std::size_t Offset(int32_t Nx, int32_t Ny, int32_t Nz) const {
    return (detail::Ix1(Nx) * detail::Ix(FNumY) + detail::Ix1(Ny)) * detail::Ix(FNumZ) + detail::Ix1(Nz);
  }

  int32_t FNumX = 1;
  int32_t FNumY = 1;
  int32_t FNumZ = 1;
  std::string FDataID;
  std::vector<double> FCells;
  detail::TXmlAnnounced<3> FXmlAnnounced;
};

}  // namespace orv
