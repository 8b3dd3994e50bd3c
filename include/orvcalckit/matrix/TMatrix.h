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

class TVector;

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

  // ---- filling (each writes its cells, then fires OnChange once) ----
  // Every valid cell := Value (one OnChange also without valid cells).
  void Fill(double Value);
  // The block's cells := Value; bounds by the range rule.
  void Fill(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value);
  // Cells (i, i), i = 1..min(NrOfColumns, NrOfRows), := Value; others stay.
  void FillDiag(double Value);
  // RangeLow + Random() * (RangeHigh - RangeLow) per cell, drawn column by
  // column, row by row from the platform's generator.
  void FillRandomUniform(double RangeLow, double RangeHigh);
  void FillRandomUniform(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double RangeLow,
                         double RangeHigh);
  // Mean + StdDev * GRandom() per cell, in the same order.
  void FillRandomGauss(double Mean, double StdDev);
  void FillRandomGauss(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Mean,
                       double StdDev);

  // ---- copying to and from vectors, matrices and arrays ----
  // Elements 1.. of DestVec := the cells FirstCol..LastCol (range rule) of row
  // Row (clamped into 1..NrOfRows), cut to DestVec's length; DestVec is
  // filled with 0 first (one OnChange), then written element by element as
  // SetVal does; it is never resized. Without rows only the zeros remain.
  // The matrix fires nothing. nullptr: nothing.
  void CopyRowToVec(TVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  // The same for column Col, rows FirstRow..LastRow.
  void CopyColToVec(TVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  // Elements Source1stElem..SourceLastElem (the vector's range rule) into a
  // row (Dim dimColumns: columns DestCol.. of row DestRow) or a column
  // (dimRows: rows DestRow.. of column DestCol) through SetVal, cells
  // outside skipped; any other Dim copies nothing. OnChange per written cell
  // and once more at the end. The first form is Dim dimRows. nullptr: nothing.
  void CopyFromVec(const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem, int32_t DestCol,
                   int32_t DestRow);
  void CopyFromVec(TDims Dim, const TVector* VecSource, int32_t Source1stElem, int32_t SourceLastElem,
                   int32_t DestCol, int32_t DestRow);
  // Source cells (c, r) of the block to (c + DestCol - SourceColLo, r +
  // DestRow - SourceRowLo) through SetVal, column by column, row by row;
  // this matrix is not resized; OnChange per written cell and once more at
  // the end. The bounds are clamped into the source without the whole-axis
  // rule (0 and 0 select the first column or row) and exchanged when
  // reversed; a source without cells copies nothing. MatSource may be this
  // matrix, also with overlapping blocks: the block is copied as it was at
  // the call. nullptr: nothing.
  void CopyFrom(const TMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  // DestArray := the block (range rule), DestArray[c - LowCol][r - LowRow].
  // Into integers each cell is rounded half to even, saturated to the 32-bit
  // range, NaN giving 0. No event; EORVMatrixError "not enough memory on
  // heap" leaves DestArray as it was.
  void CopyToArray(TDouble2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                   int32_t HighRow) const;
  void CopyToArray(TInt2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow) const;
  // Cell (Col + i, Row + j) := SrcArray[i][j] through SetVal (positions
  // outside skipped, OnChange per written cell, none at the end); column i
  // gives its own length, at most the first column's. Not resized.
  void CopyFromArray(const TDouble2DArray& SrcArray, int32_t Col, int32_t Row);
  void CopyFromArray(const TInt2DArray& SrcArray, int32_t Col, int32_t Row);

  // ---- rearranging (each fires OnChange once when it changes anything) ----
  // Deletes the column (row); false, with nothing changed, when it lies
  // outside the matrix or is the only one.
  bool RemoveColumn(int32_t Col);
  bool RemoveRow(int32_t Row);
  // Swap two whole columns (rows); an index outside the matrix changes and
  // fires nothing.
  void ExchangeColumns(int32_t C1, int32_t C2);
  void ExchangeRows(int32_t R1, int32_t R2);
  // Reverse the order of the columns (rows).
  void MirrorColumns();
  void MirrorRows();
  // Columns become rows: cell (r, c) := old cell (c, r). True; EORVMatrixError
  // "not enough memory on heap" leaves the matrix as it was.
  bool Transpose();
  // Each column := its Order-th forward difference, cell (c, j) := cell (c, j
  // + 1) - cell (c, j) per pass; NrOfRows shrinks by Order (one OnChange).
  // Nothing unless 1 <= Order <= 10 and Order < NrOfRows.
  void Diff(int32_t Order);

  // ---- arithmetic (one OnChange at the end) ----
  void SMult(double Scalar);  // every cell * Scalar
  void SAdd(double Scalar);   // every cell + Scalar
  // Self := Self + MatB (Self - MatB); false, with nothing changed or fired,
  // unless MatB is given and of Self's size. MatB may be Self.
  bool Add(const TMatrix* MatB);
  bool Subtract(const TMatrix* MatB);

  // ---- element-wise product and products ----
  // MatRes is sized with Resize and written as SetVal does (OnChange per cell
  // when it has a handler), then Self's OnChange fires although Self is
  // unchanged. Each cell's sum runs over the inner index in increasing order
  // from 0.0, so the result has the bits of the plain triple loop. MatRes
  // may be Self or MatB: the result is computed before the first write.
  // False, with nothing resized, written or fired, when an argument is
  // nullptr or the sizes do not fit; EORVMatrixError "not enough memory on
  // heap" when the result cannot be held.
  // MatRes(c, r) := A(c, r) * B(c, r); MatB of Self's size.
  bool EMult(const TMatrix* MatB, TMatrix* MatRes);
  // Self x MatB: MatB's columns x Self's rows, MatRes(c, r) = sum over i of
  // A(i, r) * B(c, i); Self's column count = MatB's row count.
  bool Multiply(const TMatrix* MatB, TMatrix* MatRes);
  // Self x MatB transposed: MatB's rows x Self's rows, MatRes(c, r) = sum over
  // i of A(i, r) * B(i, c); equal column counts.
  bool MultiplyTransposed(const TMatrix* MatB, TMatrix* MatRes);
  // Self transposed x MatB: MatB's columns x Self's columns, MatRes(c, r) =
  // sum over i of A(r, i) * B(c, i); equal row counts.
  bool TransposeAndMultiply(const TMatrix* MatB, TMatrix* MatRes);
  // VecRes (sized to NrOfRows through NrOfElem, so a matrix without rows
  // leaves it as it is) element r := sum over c of VecB(c) * A(c, r);
  // VecB's length = NrOfColumns. VecRes may be VecB.
  bool Multiply(const TVector* VecB, TVector* VecRes);
  // VecRes (sized to NrOfColumns) element c := sum over r of VecB(r) * A(c, r);
  // VecB's length = NrOfRows.
  bool TransposeAndMultiply(const TVector* VecB, TVector* VecRes);

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
  template <class>
  friend struct detail::TMatrixOps;

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
