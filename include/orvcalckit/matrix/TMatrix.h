// Unit ORV_matrix: the matrix component TMatrix. Included through ORV_matrix.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/matrix/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// ============================================================================
// TMatrix: dense matrix of doubles, cells addressed (column, row) from 1
// ============================================================================
//
// Cells live in Mat, an array of columns: cell (c, r) is Mat[c - 1][r - 1].
// Mat always holds max(NrOfColumns, 1) x max(NrOfRows, 1) cells, so a matrix
// with 0 columns or rows keeps one stored cell but has no valid one.
// Reading outside the valid cells gives 0.0, writing there is ignored.
//
// Events: OnChange fires after every change of cells or size (element writes
// fire it per cell); OnSortExchange reports each exchange of SortRows (kind 2)
// and SortCols (kind 1); OnCalcDistance supplies the distance of mode dmUser;
// OnPercentDone is never fired by the matrix itself.
class ORV_API TMatrix : public TComponent {
 public:
  explicit TMatrix(TComponent* AOwner = nullptr);
  ~TMatrix() override;
  std::string ClassName() const override;

  // Copies size, DataID, cells, Precision and the handlers OnChange,
  // OnSortExchange and OnCalcDistance of another TMatrix (not OnPercentDone,
  // not the name); fires nothing. Other sources: EConvertError.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  // Size and cells of MatSource through SetVal: OnChange per cell (and in
  // Resize when the size changes) and once at the end. nullptr: nothing.
  void Clone(const TMatrix* MatSource);

  // ---- size ----
  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  void SetNrOfColumns(int32_t Value);  // negative values count as 0
  void SetNrOfRows(int32_t Value);
  // New cells are 0.0, the overlap keeps its values; OnChange fires unless the
  // size stays. Always true; EORVMatrixError "not enough memory on heap" when
  // the storage cannot be obtained (the matrix is then unchanged).
  bool Resize(int32_t Nc, int32_t Nr);
  bool ResizeAndClear(int32_t Nc, int32_t Nr);  // Resize, then Fill(0.0)

  // ---- cells ----
  double GetVal(int32_t Nc, int32_t Nr) const {
    return ValidCell(Nc, Nr) ? Mat[detail::Ix1(Nc)][detail::Ix1(Nr)] : 0.0;
  }
  void SetVal(int32_t Nc, int32_t Nr, double Value) {
    if (!ValidCell(Nc, Nr)) return;
    Mat[detail::Ix1(Nc)][detail::Ix1(Nr)] = Value;
    if (OnChange) [[unlikely]]
      OnChange(this);
  }
  double Elem(int32_t Nc, int32_t Nr) const { return GetVal(Nc, Nr); }
  void SetElem(int32_t Nc, int32_t Nr, double Value) { SetVal(Nc, Nr, Value); }
  // Every valid cell := Value, then one OnChange (also without valid cells).
  void Fill(double Value);

  // ---- ranges ----
  // (0, 0) is the whole axis; other bounds are clamped to 1..count and
  // exchanged when reversed. On an axis of length 0 the result is (1, 0): no cell.
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;

  // ---- sorting ----
  // Comb sort of rows LowRow..HighRow by the cells of column SortColIx; the
  // cells of columns LowCol..HighCol move, and the key column's when it lies
  // outside them. Each exchange fires OnSortExchange(Self, 2, row i, row i +
  // gap, LowCol, HighCol) with the clamped bounds; OnChange fires once at the
  // end when the range holds at least two rows. NaN keys sort last in both
  // directions. A key column outside the matrix sorts nothing, and a handler
  // that changes the matrix's size ends the sort.
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  // The same for columns by the cells of row SortRowIx (OnSortExchange kind 1,
  // columns i and i + gap, LowRow, HighRow).
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);

  // ---- distances between rows ----
  // The measure between rows Obj1 and Obj2 over all columns (rows outside
  // the matrix read as 0): dmTanimoto sxy / (sxx + syy - sxy), dmCityBlock
  // sum |x - y|, dmEuclidean sqrt(sum (x - y)^2), dmSqrEuclidean sum (x - y)^2,
  // dmDice 2 sxy / (sxx + syy), dmUser what OnCalcDistance leaves in its
  // Distance (0.0 without a handler); other ordinals 0.0. Where the Tanimoto
  // or Dice denominator is 0 (both rows all zero) the similarity is 1.0 for
  // equal rows and 0.0 otherwise.
  double DistanceOfObjects(TDistMode Mode, int32_t Obj1, int32_t Obj2);
  // DMat (i, j) := DMat (j, i) := DistanceOfObjects(Mode, i, j) for every pair
  // i < j in increasing order, 0.0 on the diagonal, through DMat's SetVal.
  // 0 on success; -1 when DMat is not square; -2 when its column count
  // differs from NrOfRows or DMat is nullptr (nothing is written then).
  // DMat may be this matrix itself: every measure is taken before the first
  // cell is written.
  int32_t CalcDistMat(TDistMode Mode, TMatrix* DMat);

  // ---- properties ----
  const std::string& DataID() const { return FDataID; }
  void SetDataID(const std::string& Value) { FDataID = Value; }
  // Two stored numbers, kept and copied but read by no computation: index
  // <= 1 is the first, others the second; values are clamped to -1..25.
  int32_t Precision(int32_t Ix) const { return GetFPrecis(Ix); }
  void SetPrecision(int32_t Ix, int32_t Value) { SetFPrecis(Ix, Value); }
  int32_t GetFPrecis(int32_t Ix) const;
  void SetFPrecis(int32_t Ix, int32_t Value);

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;
  TOnCalcDistanceEvent OnCalcDistance;
  TOnPercentDoneEvent OnPercentDone;

  // The cells, [column - 1][row - 1]. Library routines read and write cells
  // here directly where that is observably the same as GetVal and SetVal; the
  // shape belongs to the component: change it only through Resize.
  TDouble2DArray Mat;
  // ---- XML ----
  // The step of an XML reader, called once per recognised tag after the
  // reader set FirstCell: 1 for xmlMatEnd, -1 for xmlInvalid, 0 for every
  // other tag. xmlMatNumCols and xmlMatNumRows announce the counts
  // (ParseIntegerAt of Content), which the first xmlMatCell applies through
  // Resize (an axis not announced keeps its count); until then the size stays,
  // and counts after the first cell, or with no cell before xmlMatEnd or
  // xmlInvalid, change nothing. A negative count, or more cells than
  // XmlCellLimit, is refused: that cell tag gives -1 and the matrix stays as it
  // was. An xmlMatCell stores ParseRealAt of Content (exponent, decimal point)
  // through SetVal at the integers of its attributes ix="c" and iy="r"; a cell
  // lacking one of them is ignored.
  int32_t ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content);
  // Set by an XML reader before the first cell element; cleared by the tag handler.
  bool FirstCell = false;
  // The most cells an XML text may size the matrix to; a reader may lower it.
  int64_t XmlCellLimit = DefaultXmlCellLimit;

  // Fire OnChange and OnSortExchange; for routines that write Mat directly.
  void Changed() {
    if (OnChange) OnChange(this);
  }
  void SortExchange(uint8_t Kind, int32_t I1, int32_t I2, int32_t I3, int32_t I4) {
    if (OnSortExchange) OnSortExchange(this, Kind, I1, I2, I3, I4);
  }

 protected:
  void PercDone(TObject* Sender, int32_t Percent);

 private:
  bool ValidCell(int32_t Nc, int32_t Nr) const {
    return detail::InAxis(Nc, FNCol) && detail::InAxis(Nr, FNRow);
  }
  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  int32_t FPrecis[2] = {15, -1};
  detail::TXmlAnnounced<2> FXmlAnnounced;
};

}  // namespace orv
