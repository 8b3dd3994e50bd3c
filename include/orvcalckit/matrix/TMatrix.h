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
class TIntVector;
class TIntMatrix;
class TMat3D;

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
  // Negative values count as 0; the longer names do the same.
  void SetNCols(int32_t Value);
  void SetNRows(int32_t Value);
  void SetNrOfColumns(int32_t Value);
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
  // The same from an integer matrix of either storage (cells as doubles),
  // and from layer SourceLayer of a 3-D array (clamped into its layers).
  void CopyFrom(const TIntMatrix* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);
  void CopyFrom(const TMat3D* MatSource, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                int32_t SourceRowHi, int32_t SourceLayer, int32_t DestCol, int32_t DestRow);
  // DestArray := the block (range rule), DestArray[c - LowCol][r - LowRow].
  // Into integers each cell is rounded half to even, saturated to the 32-bit
  // range, NaN giving 0. No event; EORVMatrixError "not enough memory on
  // heap" leaves DestArray as it was.
  void CopyToArray(TDouble2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow,
                   int32_t HighRow) const;
  void CopyToArray(TInt2DArray& DestArray, int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow) const;
  // Cell (Col + i, Row + j) := SrcArray[i][j] through SetVal (positions
  // outside skipped, OnChange per written cell, none at the end); column i
  // gives its own length, at most the first column's. Not resized. With an
  // OnChange handler the cells come from a copy of SrcArray taken first, so
  // a handler that changes SrcArray changes nothing written.
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
  // The cross-product matrix of the columns over Norm: MatRes is resized to
  // n x n (n = NrOfColumns, its OnChange when the size changes), then cell
  // (i, j) := cell (j, i) := (sum over rows r, increasing from 0.0, of
  // A(i, r) * A(j, r)) / Norm, written directly (no OnChange per cell).
  // Column i computes the cells j >= i. NThreads 1 (or below) computes on
  // the calling thread: before column i AbortMathProc is tested, then
  // ProcStat grows by 1 and MathFeedBackProc is called. Otherwise up to
  // NThreads workers (TMatSq1ColThread, not limited to the processor count)
  // take one column each, in increasing order, each adding 1 to ProcStat
  // when done; the calling thread calls MathFeedBackProc once per pass
  // (after each finishing worker) and once at the end, and tests
  // AbortMathProc per pass. Both paths give the same bits. False after an
  // abort, MatRes holding the finished columns and zeros or old values
  // elsewhere; every worker has ended when the call returns. An exception
  // in a worker ends the call after all workers have ended and is raised
  // again here. MatRes may be Self: the result is stored when complete (or
  // aborted). nullptr: false, nothing done. The default NThreads is the
  // processor count. Host code that changes the size of Self or MatRes
  // (MatRes's OnChange; MathFeedBackProc on the calling thread) stops the
  // work as an abort does. On the workers' path a MathFeedBackProc runs
  // beside them: they then compute from a copy of Self (as it was at the
  // call) into a copy of MatRes, whose cells replace MatRes's at the end
  // (with a Resize to n x n, and its OnChange, should host code have
  // resized MatRes meanwhile).
  bool Square(TMatrix* MatRes, double Norm, int32_t NThreads);
  bool Square(TMatrix* MatRes, double Norm);

  // ---- decompositions, inverse and norms ----
  // Below, a(i, j) is the cell in row i, column j: cell (j, i).
  //
  // Crout's LU decomposition of Self (unchanged) with implicit row scaling
  // and partial pivoting: MatL := n x n zeros (Resize, Fill), MatU := a copy
  // of Self (Clone), decomposed in place; NumPerm := the permutation's sign.
  // On success the factors are split through SetVal (for c = 1..n-1: L(c, c)
  // := 1, then for each r > c: L(c, r) := U(c, r), U(c, r) := 0; finally
  // L(n, n) := 1), so that MatL (unit lower) times MatU (upper) is Self with
  // its rows exchanged. False with MatL all zeros and MatU the unsplit
  // factors after a zero row or a pivot below 1e-100 (set to 1e-100), or a
  // pivot that is not finite. False with nothing changed when Self is not
  // square, a factor is nullptr, or MatL and MatU are one matrix or Self.
  bool LUdecomposition(TMatrix* MatL, TMatrix* MatU, int32_t& NumPerm);
  // NumPerm times the product of U's diagonal, 1..n in order; 0.0 when the
  // decomposition fails (also when Self is not square). A 0 x 0 matrix: 1.
  double Determinant();
  // Replaces Self by its inverse (the same Crout decomposition, then one
  // substitution per identity column). False, without an event, when Self
  // is not square or has no column. Otherwise OnChange fires whatever the
  // outcome, and the result is false after a zero row (Self unchanged), a
  // pivot below 1e-100 or not finite (Self holds the row-exchanged factors,
  // the tiny pivot 1e-100), or a stop. Progress: ProcStat += 1 with the
  // feedback call before each column of the elimination and of the solution
  // (2n in all); AbortMathProc is tested there and before each row of the
  // scaling, and a stop leaves what was reached (unchanged during the
  // scaling, the factors so far, the complete factors during the solution).
  // A MathFeedBackProc that resizes Self or moves its cells stops it too.
  // EORVMatrixError "not enough memory on heap" when the work arrays cannot
  // be obtained.
  bool Invert();
  // Cholesky factor of the symmetric Self, read from its diagonal and lower
  // triangle: s = a(j, i) minus a(k, i) * a(k, j) for k = i-1 down to 1; the
  // factor goes, transposed, into Self's cells above the diagonal (one
  // OnChange of Self), then into MatL through SetVal: per column c, the rows
  // above the diagonal := 0, rows c..n := a(c, r), then (c, c) := the
  // diagonal factor. False when Self is not square or MatL is nullptr
  // (nothing changed), or when a diagonal sum is not positive: that row of
  // the factor is then 0 and the work goes on. MatL may be Self; the writes
  // into MatL (and its reads of Self's diagonal) go through the checked
  // accessors, so a handler that resizes either matrix cuts them short.
  // EORVMatrixError "not enough memory on heap" when the work copy cannot be
  // obtained.
  bool CholeskyDecomp(TMatrix* MatL);
  // Diagonal similarity scaling: sweeps over i = 1..n divide the
  // off-diagonal cells of row i by f = sqrt(r / k) and multiply those of
  // column i by f (r, k: the off-diagonal absolute sums of row and column
  // i), until a sweep's largest f is below 1.05. A row or column whose sum
  // is 0 or not finite is skipped, and so is an f that is not finite or 0;
  // at most 1000 sweeps. The diagonal never changes; no event. False only
  // when Self is not square.
  bool Balance();
  // ntColwise: the largest column sum of |cell|; ntRowwise: the largest row
  // sum (0.0 without rows or columns); ntSpectral: the largest singular value
  // (EORVMatrixError "near singular covariance matrix" when the
  // decomposition is stopped or does not converge); ntFrobenius: the square
  // root of the sum of squares, summed row by row (rescaled where that sum
  // overflows or underflows); other values 0.0.
  double Norm(TNormType nt);
  // HatMat := X (X' X)^-1 X' for X = Self, through Transpose, Multiply and
  // Invert on temporaries; the result is the inversion's. False, HatMat
  // untouched, when X' X cannot be inverted, when MathFeedBackProc resized
  // Self or moved its cells during the inversion, or HatMat is nullptr.
  bool CalcHatMatrix(TMatrix* HatMat);

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
  // that changes the matrix's size ends the sort (one that moves its cells
  // to new storage of the same size does not).
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

  // ---- statistics of a block ----
  // Bounds by the range rule; the block is read column by column, within a
  // column row by row, unless said otherwise. None of these changes the
  // matrix or fires an event. Bound orders differ: (col, row, col, row) for
  // the moments, MinMax, Quartiles, Percentile and Histogram, (col, col, row,
  // row) for CountValues and Find. A block without cells (an axis of length
  // 0) gives the start values.
  // The cells added in order from 0.0.
  double Sum(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR) const;
  // Sum of cells (i, i) of a square matrix with cells; else 0.0.
  double Trace() const;
  // Mean := sum / n; Variance := 1.0 for one or two cells (the defined value,
  // not an estimate), else the sample variance (sum d^2 - (sum d)^2 / n) / (n
  // - 1) over d = cell - the block's first cell, 0.0 where rounding makes it
  // negative. One pass. Both 0.0 for no cell.
  void MeanVar(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
               double& Variance) const;
  // exp(sum ln x / rows / columns); 0.0 when a cell is 0 or there is none.
  // EORVMatrixError "negative argument passed to GeometricMean" when a cell is
  // negative (every cell is scanned, so also behind a zero).
  double GeometricMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // rows x columns / sum (1 / x); 0.0 for no cell. EORVMatrixError "negative
  // or zero argument passed to HarmonicMean" when a cell is <= 0.
  double HarmonicMean(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // With m the mean, d = cell - m and s = sqrt((sum d^2 - (sum d)^2 / n) / (n -
  // 1)): Skewness := sum d^3 / n / s^3, Kurtosis := sum d^4 / n / s^4 - 3. One
  // cell gives the sums of d^3 and d^4 themselves (0, or NaN for an infinite
  // cell); s = 0 and no cell give 0.0 and 0.0.
  void SkewKurt(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                double& Kurtosis) const;
  // SkewKurt with the bias correction of the sample statistics (scipy.stats
  // skew and kurtosis with bias=False), formed as
  // Kurtosis := n ((K + 3) n) (n + 1) / (n - 1) / (n - 2) / (n - 3) - 3 (n - 1)^2 / (n - 2) / (n - 3),
  // Skewness := n (S n) / (n - 1) / (n - 2). Both 0.0 for fewer than 4 cells
  // or s = 0.
  void SkewKurtSample(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Skewness,
                      double& Kurtosis) const;
  // A cell replaces Minimum when it is not >= Minimum (so a NaN does, and the
  // next number takes its place back) and Maximum when it is > Maximum. The
  // extremes are cells of the block (also infinite ones); uc_MaxReal and
  // -uc_MaxReal for no cell, and for an extreme that no cell reached (only
  // NaN).
  void MinMax(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Minimum,
              double& Maximum) const;
  // The cells, copied row by row (each row of the block left to right) and
  // sorted ascending with SortArray (ProcStat grows by its passes); with x(k)
  // the k-th smallest and t = (n + 1) q for q = 1/4, 1/2, 3/4: x(d) + (x(d +
  // 1) - x(d)) Frac(t), d = Trunc(t), x(1) where d = 0 and x(n) where d >= n
  // (numpy.percentile method 'weibull'); one cell gives itself three times.
  // False and zeros for no cell. EORVMatrixError "not enough memory on heap"
  // when the copy cannot be had.
  bool Quartiles(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1, double& Q2,
                 double& Q3) const;
  // The nearest rank: the value at sorted position k = Round(n Prob / 100)
  // (half to even), at most n - 1, of the block's n cells (Prob clamped into
  // 0..100; NaN sorts behind every number); 0.0 for no cell, NaN for a NaN
  // Prob. EORVMatrixError "not enough memory on heap" when the work array
  // cannot be had. No progress report.
  double Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // The same over SampleSize cells drawn with replacement, after reseeding the
  // platform's generator from the clock (every call): per sample the column
  // LowCol + Random(block columns), then the row LowRow + Random(block rows).
  // When Prob / 100 lies strictly between the fractions of negative and of
  // negative-or-zero cells drawn, 0.0 without a selection. A SampleSize <= 0
  // or not below the block's cell count gives the plain Percentile.
  double Percentile(double Prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                    int32_t SampleSize) const;
  // The number of cells v with v >= RangeLow and v not > RangeHigh.
  int32_t CountValues(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double RangeLow,
                      double RangeHigh) const;
  // Counts the block's cells into Histo, which gets Round(|LastBin -
  // FirstBin| / BinWidth) + 1 bins (resized when its size differs, cleared):
  // a cell that is not >= FirstBin (NaN too) is Underflow; else, below
  // LastBin + BinWidth, it raises the count of bin Floor((v - FirstBin) /
  // BinWidth) + 1 through Histo's SetVal and MaxCnt follows the largest
  // count; a cell whose bin lies past the last one, and a larger cell, is
  // Overflow. Underflow + Overflow + the counts = the cells read. False, with
  // nothing changed, when Histo is nullptr, BinWidth is not above 0, a bin
  // parameter is not finite, more than 500 bins would be needed, or the block
  // holds more cells than an Integer counts.
  bool Histogram(int32_t LoX, int32_t LoY, int32_t HiX, int32_t HiY, double FirstBin, double LastBin,
                 double BinWidth, TIntVector* Histo, int32_t& Underflow, int32_t& Overflow, int32_t& MaxCnt) const;

  // ---- searching ----
  // ColIx, RowIx := the first cell of the block with the smallest |cell -
  // Value| below uc_MaxDouble (a later cell must be strictly nearer); 0, 0
  // when there is none.
  void Find(int32_t LowCol, int32_t HighCol, int32_t LowRow, int32_t HighRow, double Value, int32_t& ColIx,
            int32_t& RowIx) const;
  // Binary search in column Col, sorted in the given direction, between rows
  // 1 and NrOfRows: an exact hit at a middle row returns it; else the nearer
  // of the last two bracketing rows, the higher one on a tie. 0 for a Col
  // outside 1..NrOfColumns or a matrix without rows.
  int32_t FindInSortedColumn(int32_t Col, bool ColIsAscending, double Value) const;

  // ---- comparing ----
  // Pearson's r of all cells against OtherMat's, pair by pair column by
  // column, from sums over the cells less the first cell of each matrix (the
  // textbook sums in exact arithmetic, without their cancellation far from
  // 0), bounded to [-1, 1], NaN where a sum overflows the double range; 0.0
  // for fewer than 3 cells, constant cells or a nil OtherMat.
  // EORVMatrixError "matrices do not match" for another size.
  double Correlate(const TMatrix* OtherMat) const;
  // Eight CRC-32 registers over the bytes of every cell (byte k of a double,
  // little-endian, into register k), cells column by column: 64 hexadecimal
  // digits. The size is not part of it.
  std::string CRCofData() const;

  // ---- row and column profiles ----
  // Means is sized through NrOfElem (so a matrix without columns, or rows,
  // leaves its size) and written as SetVal does: dimColumns one mean per
  // column (its rows summed in order, / NrOfRows), dimRows one per row (its
  // columns summed in order, / NrOfColumns); 0.0 for a line without cells.
  // Other Dim values and a nil Means: nothing.
  void MeanVec(TDims Dim, TVector* Means) const;
  // DestVec sized through NrOfElem and written as SetVal does: Orient orRows
  // (0) one value per row over its columns, any other value one per column
  // over its rows. eoMinimum from uc_MaxDouble, a cell replacing it when the
  // running value <= cell does not hold (NaN does); eoMaximum from
  // -uc_MaxDouble, replaced when running value < cell; eoSum from 0.0 in
  // order; eoMean the sum / the cells reduced (0.0 without cells). Other
  // EdgeOp values and a nil DestVec: nothing.
  void EdgeVector(TOrientation Orient, TEdgeOp EdgeOp, TVector* DestVec) const;
  // Every cell less its column's (row's) mean, the mean as MeanVar takes it;
  // Means, when given, is sized to the columns (rows) through NrOfElem and
  // receives them. One OnChange.
  void MeanCenterColumns(TVector* Means);
  void MeanCenterRows(TVector* Means);
  // Per column (row): Mean and Variance by MeanVar (Variance 1.0 for one or
  // two cells); where Variance > 0 and mean and deviation are finite, every
  // cell := (cell - Mean) / sqrt(Variance), else the line stays. Element c of
  // Means and of StdDevs := Mean and sqrt(Variance), each vector when given
  // and not resized (elements beyond its size are not written). One OnChange,
  // also for a matrix without cells.
  void StandardizeColumns(TVector* Means, TVector* StdDevs);
  void StandardizeRows(TVector* Means, TVector* StdDevs);
  // Per column (row): q := Percentile(RefQuant) and m := Percentile(50) of
  // the line (the nearest rank), d := |m - q|; where d > 0 and m and d are
  // finite, every cell := (cell - m) / d, else the line stays. Element c of
  // Medians and QuantDiffs := m and d, each when given (not resized). One
  // OnChange.
  void QNormalizeColumns(double RefQuant, TVector* Medians, TVector* QuantDiffs);
  void QNormalizeRows(double RefQuant, TVector* Medians, TVector* QuantDiffs);
  // ResultArray := NrOfColumns x NrOfRows entries [column - 1][row - 1], true
  // where the cell is > Threshold; the number of true entries. No event;
  // EORVMatrixError "not enough memory on heap" leaves ResultArray as it was.
  int32_t Dichotomize(double Threshold, TBool2DArray& ResultArray) const;

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
  // ---- block file ----
  // The header of a block file: its counts, DataID (single-byte text as
  // UTF-8) and Format, handed back whenever the header record could be
  // read. True when it holds a matrix: no layers, no time slots and Format 1.
  // A missing file or one shorter than the header raises EInOutError.
  static bool ReadBinaryHeader(const std::string& FName, int32_t& NrColumns, int32_t& NrRows, std::string& DataID,
                               int32_t& Format);

  // ---- XML ----
  // The step of an XML reader, called once per recognised tag: 1 for
  // xmlMatEnd, -1 for xmlInvalid, 0 for every other tag. xmlMatNumCols and
  // xmlMatNumRows announce the counts (ParseIntegerAt of Content, recorded
  // whatever FirstCell is), which the first xmlMatCell that finds FirstCell
  // set applies through Resize (an axis not announced keeps its count);
  // until then the size stays, and counts with no such cell before
  // xmlMatEnd or xmlInvalid change nothing. A negative count, or more cells than
  // XmlCellLimit, is refused: that cell tag gives -1 and the matrix stays as it
  // was. An xmlMatCell stores ParseRealAt of Content (exponent, decimal point)
  // through SetVal at the integers of its attributes ix="c" and iy="r"; a cell
  // lacking one of them is ignored.
  int32_t ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content);
  // Set by an XML reader before it feeds the tags of one matrix; cleared by
  // the tag handler at the first cell. Count tags are recorded whatever it is.
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
  template <class>
  friend struct detail::TStorageStamp;

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
