// Unit ORV_matrix: the integer matrix TIntMatrix, dense or sparse. Included
// through ORV_matrix.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/matrix/common.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

class TIntVector;
class TVector;

// A stored cell of a sparse TIntMatrix.
struct TSpMatElemInt {
  int32_t colidx;  // column, from 1
  int32_t rowidx;  // row, from 1
  int32_t value;
};

// ============================================================================
// TIntMatrix: matrix of 32-bit integers, cells addressed (column, row) from 1
// ============================================================================
//
// Two storages, chosen at creation and switched by ArrayToSparse and
// SparseToArray:
// - Dense (the default constructor): Mat, an array of columns like TMatrix's,
//   max(NrOfColumns, 1) x max(NrOfRows, 1) cells; SpMat is empty.
// - Sparse (the constructor with AllocBy): SpMat, the stored cells sorted by
//   column, then row, one entry per position (a stored 0 stays stored); Mat
//   is empty. A position that is not stored reads 0. The list keeps bounds
//   of its stored columns and rows (no cell lies outside them; an empty list
//   has the low bounds 2147483647 and the high bounds 1), and every insertion
//   sets NrOfColumns and NrOfRows to the high bounds, so a sparse matrix grows
//   with its cells, also after a Resize to a larger size.
//
// Reading outside the matrix gives 0, writing there is ignored (sparse: a
// column or row below 1). Operations that need the dense storage do nothing
// on a sparse matrix (or give their result for no cells); they never read
// the missing storage. There is no Assign of its own: Assign between two
// integer matrices raises EConvertError, and Clone is the copy.
//
// Events: OnChange fires after every accepted SetVal (sparse overwrites
// included), after Fill and Transpose, after a dense Resize that changed the
// size, and in Clone; sparse Resize, SparseToArray and ArrayToSparse fire
// nothing. OnSortExchange reports the exchanges of the sorts; OnPercentDone
// is never fired by the matrix itself.
class ORV_API TIntMatrix : public TComponent {
 public:
  // Dense 1 x 1 holding 0, DataID empty. EORVMatrixError "not enough memory
  // on heap" when even that cannot be had.
  explicit TIntMatrix(TComponent* AOwner = nullptr);
  // Sparse and empty, 0 x 0. AllocBy (below 1 taken as 1) is kept as a hint
  // of how many cells are coming: the list allocates in proportion to the
  // cells it holds, growing geometrically, whatever AllocBy says.
  TIntMatrix(TComponent* AOwner, int32_t AllocBy);
  ~TIntMatrix() override;
  std::string ClassName() const override;

  // Size and cells of a matrix of the same storage kind (not DataID, not the
  // handlers); nothing for nullptr or a matrix of the other kind. Dense: as
  // TMatrix::Clone, through SetVal (OnChange per cell, in Resize when the
  // size changes, and once more at the end). Sparse: the list, its bounds and
  // counts at once, then one OnChange. EORVMatrixError "not enough memory on
  // heap" leaves the matrix as it was.
  void Clone(const TIntMatrix* MatSource);

  // ---- storage ----
  bool IsSparse() const { return FIsSparse; }
  // The stored cells of a sparse matrix (SpMat's entries); 0 when dense.
  int32_t SparseNumElem() const { return static_cast<int32_t>(SpMat.size()); }
  // Sparse to dense: NrOfColumns and NrOfRows become the high bounds of the
  // stored cells (1 x 1 for an empty list), every stored cell goes to its
  // position, the rest is 0. No event; nothing for a dense matrix.
  // EORVMatrixError "not enough memory on heap" leaves the matrix sparse.
  void SparseToArray();
  // Dense to sparse: the non-zero cells, column by column, become the list;
  // the counts stay. AllocBy as in the sparse constructor. No event; nothing
  // for a sparse matrix. EORVMatrixError "not enough memory on heap" leaves
  // the matrix dense.
  void ArrayToSparse(int32_t AllocBy);

  // ---- size ----
  int32_t NrOfColumns() const { return FNCol; }
  int32_t NrOfRows() const { return FNRow; }
  void SetNrOfColumns(int32_t Value);  // negative values count as 0
  void SetNrOfRows(int32_t Value);
  // True only when a dense matrix changed its size: the overlap keeps its
  // values, new cells are 0, OnChange fires. The current size gives false
  // and changes nothing. Negative counts become 0. Sparse: the counts are
  // set, the stored cells beyond them dropped, the high bounds cut to the
  // counts; no event, false. EORVMatrixError "not enough memory on heap"
  // leaves a dense matrix as it was.
  bool Resize(int32_t Nc, int32_t Nr);
  // Resize, then Fill(0) when Resize gave true (so only a dense matrix whose
  // size changed is cleared).
  bool ResizeAndClear(int32_t Nc, int32_t Nr);

  // ---- cells ----
  int32_t GetVal(int32_t Nc, int32_t Nr) const {
    if (FIsSparse) [[unlikely]]
      return SparseGet(Nc, Nr);
    return ValidCell(Nc, Nr) ? Mat[detail::Ix1(Nc)][detail::Ix1(Nr)] : 0;
  }
  // Dense: inside the matrix only. Sparse: any Nc, Nr >= 1; a position not
  // stored is inserted (the counts become the high bounds), a stored one is
  // overwritten. OnChange after every accepted write. EORVMatrixError "not
  // enough memory on heap" when the list cannot grow (the matrix unchanged).
  void SetVal(int32_t Nc, int32_t Nr, int32_t Value) {
    if (FIsSparse) [[unlikely]] {
      SparseSet(Nc, Nr, Value);
      return;
    }
    if (!ValidCell(Nc, Nr)) return;
    Mat[detail::Ix1(Nc)][detail::Ix1(Nr)] = Value;
    if (OnChange) [[unlikely]]
      OnChange(this);
  }
  int32_t Elem(int32_t Nc, int32_t Nr) const { return GetVal(Nc, Nr); }
  void SetElem(int32_t Nc, int32_t Nr, int32_t Value) { SetVal(Nc, Nr, Value); }

  // Every cell := Value; one OnChange. Sparse: a value other than 0 goes to
  // the stored cells only (the others stay 0); 0 empties the list (the counts
  // stay).
  void Fill(int32_t Value);
  // Columns become rows: cell (r, c) := old cell (c, r), the counts
  // exchanged; one OnChange; true. EORVMatrixError "not enough memory on
  // heap" leaves a dense matrix as it was (a sparse one needs no memory).
  bool Transpose();
  // Dense only (nothing on a sparse matrix): the block's cells (range rule),
  // or cells (i, i) for i = 1..min(NrOfColumns, NrOfRows), := Value; one
  // OnChange.
  void Fill(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t Value);
  void FillDiag(int32_t Value);

  // ---- arithmetic and products ----
  // As TMatrix's (see there for the shapes, events and the rule that false
  // means nothing was resized, written or fired), in 32-bit integers that
  // wrap around on overflow. Self and MatB must be dense; a result that is
  // an operand gets the values the operands had at the call.
  // Add also takes a sparse MatB whose stored cells lie within Self: each is
  // added to Self's cell at its position. Self sparse: false.
  bool Add(const TIntMatrix* MatB);
  bool Subtract(const TIntMatrix* MatB);
  // Dense only: every cell times, or plus, Scalar; one OnChange.
  void SMult(int32_t Scalar);
  void SAdd(int32_t Scalar);
  // MatRes is sized with Resize and written through SetVal (OnChange per
  // cell; a sparse MatRes stores every result cell, zeros included), then
  // Self's OnChange fires, though Self is unchanged. EORVMatrixError "not
  // enough memory on heap" when the result cannot be had.
  bool EMult(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool Multiply(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool MultiplyTransposed(const TIntMatrix* MatB, TIntMatrix* MatRes);
  bool TransposeAndMultiply(const TIntMatrix* MatB, TIntMatrix* MatRes);
  // VecRes sized through NrOfElem and written element by element.
  bool Multiply(const TIntVector* VecB, TIntVector* VecRes);
  bool TransposeAndMultiply(const TIntVector* VecB, TIntVector* VecRes);

  // ---- reordering (dense only: nothing on a sparse matrix) ----
  // As TMatrix::SortRows and SortCols with integer keys (OnSortExchange kinds
  // 2 and 1, one OnChange); a key outside the matrix sorts nothing. Dense
  // only; a handler that makes the matrix sparse ends the sort, as one that
  // changes its size.
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow);
  // As TMatrix's: one OnChange; an index outside the matrix changes and
  // fires nothing; a removal (false for the only line, one outside the
  // matrix, or a sparse matrix) fires in its Resize.
  void MirrorColumns();
  void MirrorRows();
  void ExchangeColumns(int32_t C1, int32_t C2);
  void ExchangeRows(int32_t R1, int32_t R2);
  bool RemoveColumn(int32_t Col);
  bool RemoveRow(int32_t Row);

  // ---- copying ----
  // As TMatrix's, for either storage (reads through GetVal, writes through
  // SetVal, so a sparse matrix stores what it is given and grows with it).
  void CopyRowToVec(TIntVector* DestVec, int32_t Row, int32_t FirstCol, int32_t LastCol) const;
  void CopyColToVec(TIntVector* DestVec, int32_t Col, int32_t FirstRow, int32_t LastRow) const;
  void CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  void CopyFromArray(const TInt2DArray& SrcArray, int32_t Col, int32_t Row);
  // Dense only (DestArray untouched when sparse); as TMatrix's.
  void CopyToArray(TInt2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow) const;

  // ---- statistics (read only: no event) ----
  // Block bounds by the range rule, in the order (col, row, col, row) for the
  // moments, MinMax, Quartiles and Percentile, (col, col, row, row) for the
  // counting and search routines. The formulas, visiting orders and start
  // values are TMatrix's (see there) unless said here; a block without cells
  // gives the start values. Where a sparse matrix is read, a position that is
  // not stored counts as said: Sum and MinMax take the stored cells only, the
  // moments every position of the block, one not stored as 0. The routines
  // marked dense only read nothing of a sparse matrix and give the result
  // named (their start values where none is named).

  // The block's cells added in 32 bits, wrapping around on overflow.
  int32_t Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const;
  // Cells (i, i) of a square matrix with cells added in 32 bits (wrapping);
  // else 0. Square means NrOfColumns = NrOfRows for either storage.
  int32_t Trace() const;
  // Mean and sample variance as TMatrix::MeanVar: Variance 1.0 for one or two
  // cells, 0.0 and 0.0 for none. Sparse: sum / n with n the block's positions,
  // and the squared deviations from that mean / (n - 1).
  void MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
               double& Variance) const;
  // Dense only (0.0 when sparse), as TMatrix's, with its messages.
  double GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  double HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // Moment skewness and excess kurtosis as TMatrix::SkewKurt, and with the
  // bias correction of the sample statistics as TMatrix::SkewKurtSample.
  void SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                double& Kurtosis) const;
  void SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                      double& Kurtosis) const;
  // The smallest and largest cell. A block without cells (sparse: without a
  // stored cell) gives 2147483647 and -2147483647; otherwise both are cells
  // (so also -2147483648).
  void MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, int32_t& Minimum,
              int32_t& Maximum) const;
  // Dense only (false and zeros when sparse): as TMatrix::Quartiles, the
  // interpolation between two cells formed in double.
  bool Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1, double& Q2,
                 double& Q3) const;
  // Dense only (0.0 when sparse): the nearest-rank percentile, and the one of
  // SampleSize cells drawn with replacement (zero shortcut included), as
  // TMatrix's.
  double Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  double Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                    int32_t SampleSize) const;
  // Dense only (0 when sparse): the block cells v with RangeLow <= v <= RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t RangeLow,
                      int32_t RangeHigh) const;
  // Dense only (0 when sparse): the block cells v with (v and Bitmask) = 0,
  // v's bits as Cardinal (Bitmask 1 counts the even cells).
  int32_t CountMaskedZeros(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, uint32_t Bitmask) const;

  // ---- searching ----
  // Dense only (0, 0 when sparse): the first cell of the block with the
  // smallest |cell - Value|, the distance formed in double.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, int32_t Value, int32_t& ColIx,
            int32_t& RowIx) const;
  // Dense only: as TMatrix::FindInSortedColumn; 0 when sparse, for a Col
  // outside 1..NrOfColumns and for a matrix without rows.
  int32_t FindInSortedColumn(int32_t Col, bool ColIsAscending, int32_t Value) const;
  // Four CRC-32 registers over the bytes of every cell (byte k of a cell,
  // little-endian, into register k), cells column by column: 32 hexadecimal
  // digits. Dense only: an empty text when sparse.
  std::string CRCofData() const;

  // ---- row and column profiles ----
  // Dense only (nothing when sparse): as TMatrix's, into vectors of doubles.
  void MeanVec(TDims Dim, TVector* Means) const;
  void EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const;
  // ResultArray := NrOfColumns x NrOfRows entries [column - 1][row - 1], true
  // where the cell is > Threshold; the number of true entries. Sparse: empty,
  // 0. EORVMatrixError "not enough memory on heap" leaves ResultArray as it was.
  int32_t Dichotomize(int32_t Threshold, TBool2DArray& ResultArray) const;

  // ---- ranges ----
  // (0, 0) is the whole axis; other bounds are clamped to 1..count and
  // exchanged when reversed. On an axis of length 0 the result is (1, 0): no cell.
  void MakeValidColRange(int32_t& LowCol, int32_t& HighCol) const;
  void MakeValidRowRange(int32_t& LowRow, int32_t& HighRow) const;

  // ---- properties ----
  const std::string& DataID() const { return FDataID; }
  void SetDataID(const std::string& Value) { FDataID = Value; }

  TNotifyEvent OnChange;
  TSortExchgEvent OnSortExchange;
  TOnPercentDoneEvent OnPercentDone;

  // Dense: the cells, [column - 1][row - 1]; empty while sparse. Library
  // routines read and write cells here where that is observably the same as
  // GetVal and SetVal; the shape belongs to the component.
  TInt2DArray Mat;
  // Sparse: the stored cells in (column, row) order; empty while dense. For
  // reading; the list and its bounds belong to the component.
  std::vector<TSpMatElemInt> SpMat;

  // ---- block file ----
  // The header of a block file: its counts, DataID (single-byte text as
  // UTF-8) and Format, handed back whenever the header record could be
  // read. True when it holds an integer matrix: no layers, no time slots and Format 2.
  // A missing file or one shorter than the header raises EInOutError.
  static bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, std::string& DataID,
                               int32_t& Format);

  // ---- XML ----
  // The step of an XML reader, as TMatrix's: the counts announced by
  // xmlMatNumCols and xmlMatNumRows apply at the first cell (through Resize,
  // so a sparse matrix takes them as its counts), within XmlCellLimit cells
  // for either storage; a cell stores ParseIntegerAt of its content through
  // SetVal at its attributes ix and iy. 1 for xmlMatEnd, -1 for xmlInvalid
  // and a refused size, else 0.
  int32_t ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content);
  // Set by an XML reader before it feeds the tags of one matrix; cleared by
  // the tag handler at the first cell. Count tags are recorded whatever it is.
  bool FirstCell = false;
  // The most cells an XML text may size the matrix to; a reader may lower it.
  int64_t XmlCellLimit = DefaultXmlCellLimit;

  // Fire OnChange and OnSortExchange; for routines that write the storage directly.
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
  template <class>
  friend struct detail::TStorageStamp;

  bool ValidCell(int32_t Nc, int32_t Nr) const {
    return detail::InAxis(Nc, FNCol) && detail::InAxis(Nr, FNRow);
  }
  int32_t SparseGet(int32_t Nc, int32_t Nr) const;
  void SparseSet(int32_t Nc, int32_t Nr, int32_t Value);
  std::size_t SparseFind(int32_t Nc, int32_t Nr) const;
  void ResetSparseBounds();
  void BuildColumnStarts() noexcept;
  void ColumnStartsAfterInsert(int32_t Nc, int32_t OldLow, int32_t OldHigh) noexcept;

  int32_t FNCol = 1;
  int32_t FNRow = 1;
  std::string FDataID;
  bool FIsSparse = false;
  int32_t FAllocBy = 1;
  int32_t FSparseLowCol = INT32_MAX;
  int32_t FSparseHighCol = 1;
  int32_t FSparseLowRow = INT32_MAX;
  int32_t FSparseHighRow = 1;
  detail::TXmlAnnounced<2> FXmlAnnounced;
  // Sparse: where the cells of each column FSparseLowCol..FSparseHighCol + 1
  // begin in SpMat, so that a read searches one column, not the whole list.
  // Kept while the columns are not much more than the cells; empty otherwise.
  std::vector<int32_t> FColStart;
};

}  // namespace orv
