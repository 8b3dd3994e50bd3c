// Unit ORV_datatable: the data table component TDataTable. Included through
// ORV_datatable.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/datatable/common.h"
#include "orvcalckit/detail/index.h"
#include "orvcalckit/detail/storage_stamp.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

class TVector;

// ============================================================================
// TDataTable: observations in columns (variables) and rows (objects)
// ============================================================================
//
// The values live in NumericData, a TMatrix of NrOfColumns x NrOfRows cells
// addressed (column, row) from 1. Beside them the table keeps per cell a
// state byte, per column and per row a name and an integer attribute, and per
// column a measurement scale with MaxNominalIDs identifier slots.
//
// State byte of a cell:
//   0x01 not a number   0x02 empty   0x04, 0x08, 0x10 free marks
//   0x20 imputed        0x40, 0x80 the two markings
// A cell is numeric when (state & 0x03) == 0; only numeric cells enter the
// statistics. A numeric cell is marked for a mask M when (state & M & 0xFC)
// != 0. The state routines below that take a mask test all eight bits.
//
// A categorical column (stNominal, stOrdinal) stores in each cell the slot k
// of an identifier; Elem reads the stored value rounded half to even (in
// double: NaN and values beyond any integer type read as they are), the codes
// of the counts and contingency tables are the slots 1..MaxNominalIDs, and a
// stored value that rounds to no slot counts as invalid there.
//
// Ranges: (0, 0) is the whole axis; other bounds are clamped into
// 1..count and exchanged when reversed; on an axis of length 0 nothing is
// visited. Reading outside the table gives 0, 0.0, stUnknown or an empty
// text; writing there is ignored.
//
// Events fire after the change, Sender = the table. OnChange: cell values;
// OnChangeSetup: scales, identifiers or comment; OnChangeNames,
// OnChangeAttrib, OnChangeCellState: names, attributes, states; OnResize:
// the size, with the old and the new counts; OnSortExchange: each exchange
// of a sort. OnPercentDone is fired by no routine of the table.
//
// NumericData's OnChange and OnSortExchange belong to the table: they forward
// the matrix's changes to OnChange and its exchanges to OnSortExchange. A
// host that replaces them loses those events; with no OnChange handler on the
// table, SetElem writes the cell without calling the matrix's OnChange.
// NumericData may be written directly; keep its size equal to the table's
// (through Resize). Should a host resize an adopted matrix by itself, cells
// outside it read 0.0 and take no writes, and SetElem writes the matrix's
// cells beyond the table's size.
//
// Host code during a routine (a handler, MathFeedBackProc) may resize the
// table, refill it or make it adopt another matrix. A routine of the table
// then never works through a size or storage kept from before: it reads
// what it needs at the call (the routines below say where), writes cell by
// cell through the checked setters (a write outside is skipped), or ends
// where the routine says so. A matrix of the table's own that an adoption
// lets go while a routine of the table runs on it is freed when that
// routine ends.
class ORV_API TDataTable : public TComponent {
 public:
  // 1 x 1, cell 0.0 with state 0, names C-1 and R-1, attributes 0, column
  // stInterval with free slots, all handlers empty; NumericData a new matrix
  // of its own. Fires nothing. EORVDataTableError "failed to initialize (out
  // of memory)" when the storage cannot be had (nothing is left behind).
  explicit TDataTable(TComponent* AOwner = nullptr);
  // Frees NumericData when it is the table's own; an adopted matrix stays
  // alive with its two handlers cleared.
  ~TDataTable() override;
  std::string ClassName() const override;

  // From another TDataTable: comment, size, cells (NumericData->Assign),
  // names, attributes, scales and identifiers, states and all eight handlers;
  // this table's matrix stays wired to this table and stays its own or
  // adopted as before. Fires nothing; a failure leaves the table as it was.
  // Other sources: EConvertError.
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;
  // Makes NewDMat the table's storage; the caller keeps ownership, and the
  // table never frees it (on destruction it only clears the two handlers).
  // The table takes NewDMat's size (names, attributes, states and scales as
  // in Resize, the states zero as far as they are new), every column becomes
  // stInterval (identifiers stay); the table's own matrix is freed, a matrix
  // adopted before keeps its size and loses both handlers. Events: OnResize
  // (old and new counts) as Resize fires it when the size changes, OnResize
  // again (also when the size stays), then OnChange, OnChangeSetup,
  // OnChangeNames, OnChangeAttrib, OnChangeCellState; OnChange and
  // OnChangeSetup are silent until then. A handler of the first OnResize
  // that resizes the table or has it adopt a matrix: the table is sized to
  // NewDMat once more (silently) and adopts it, letting go of the matrix it
  // holds then. nullptr or the table's own NumericData: nothing happens.
  void AssignAnotherDataMatrix(TMatrix* NewDMat);

  // ---- size ----
  int32_t NrOfColumns() const { return FNrOfCols; }
  int32_t NrOfRows() const { return FNrOfRows; }
  void SetNrOfColumns(int32_t N) { Resize(N, FNrOfRows); }
  void SetNrOfRows(int32_t N) { Resize(FNrOfCols, N); }
  void SetNrCols(int32_t N) { SetNrOfColumns(N); }
  void SetNrRows(int32_t N) { SetNrOfRows(N); }
  // Negative counts count as 0. The overlap keeps values, states, names,
  // attributes and scales; new cells are 0.0 with state 0, new columns are
  // named C-<n> and new rows R-<n> (n their number), new attributes are 0,
  // new columns stInterval with free slots. Fires only OnResize, and nothing
  // when the size stays. EORVDataTableError "not enough memory on heap" when
  // the storage cannot be had; the table is then unchanged.
  void Resize(int32_t NrCols, int32_t NrRows);
  // Keeps the size: default names, states and attributes 0, every column
  // stInterval with free slots, empty comment, every cell 0.0 (through
  // NumericData->Fill: OnChange); then OnChangeNames, OnChangeAttrib,
  // OnChangeCellState and OnChangeSetup in that order.
  void Clear();

  // ---- cells ----
  // The stored value; in a categorical column rounded half to even.
  double Elem(int32_t ACol, int32_t ARow) const {
    if (!ValidCell(ACol, ARow)) return 0.0;
    const double V = NumericData->GetVal(ACol, ARow);
    return detail::IsCategorical(FVType[detail::Ix1(ACol)].MScaleType) ? RoundHalfEven(V) : V;
  }
  double GetElem(int32_t ACol, int32_t ARow) const { return Elem(ACol, ARow); }
  // Stores through NumericData->SetVal, then OnChange once more: OnChange
  // fires twice per write. The cell is tested against NumericData's size,
  // which is the table's unless a host resized an adopted matrix itself.
  void SetElem(int32_t ACol, int32_t ARow, double Value) {
    TMatrix& M = *NumericData;
    if (!detail::InAxis(ACol, M.NrOfColumns()) || !detail::InAxis(ARow, M.NrOfRows())) return;
    if (OnChange) [[unlikely]] {
      SetElemWatched(ACol, ARow, Value);
      return;
    }
    // The matrix's handler would only forward to OnChange: nothing to fire.
    M.Mat[detail::Ix1(ACol)][detail::Ix1(ARow)] = Value;
  }

  uint8_t CellState(int32_t ACol, int32_t ARow) const {
    return ValidCell(ACol, ARow) ? FCState[detail::Ix1(ACol)][detail::Ix1(ARow)] : 0;
  }
  uint8_t GetCellState(int32_t ACol, int32_t ARow) const { return CellState(ACol, ARow); }
  // OnChangeCellState only when the byte changes.
  void SetCellState(int32_t ACol, int32_t ARow, uint8_t Value);
  bool IsNumber(int32_t ACol, int32_t ARow) const { return (CellState(ACol, ARow) & 0x03) == 0; }
  bool IsEmpty(int32_t ACol, int32_t ARow) const { return (CellState(ACol, ARow) & 0x02) != 0; }
  bool IsImputed(int32_t ACol, int32_t ARow) const { return (CellState(ACol, ARow) & 0x20) != 0; }
  bool GetIsNumber(int32_t ACol, int32_t ARow) const { return IsNumber(ACol, ARow); }
  bool GetIsEmpty(int32_t ACol, int32_t ARow) const { return IsEmpty(ACol, ARow); }
  bool GetIsImputed(int32_t ACol, int32_t ARow) const { return IsImputed(ACol, ARow); }
  // Set or clear bit 0x02 (0x20) through SetCellState, then OnChange, also
  // when the bit was already so.
  void SetIsEmpty(int32_t ACol, int32_t ARow, bool Value);
  void SetIsImputed(int32_t ACol, int32_t ARow, bool Value);

  // ---- names, attributes, scales, comment ----
  // Names are cut to DTNameLength bytes; OnChangeNames.
  TDTNameStr ColName(int32_t ColNr) const;
  TDTNameStr RowName(int32_t RowNr) const;
  TDTNameStr GetColName(int32_t ColNr) const { return ColName(ColNr); }
  TDTNameStr GetRowName(int32_t RowNr) const { return RowName(RowNr); }
  void SetColName(int32_t ColNr, const TDTNameStr& HLine);
  void SetRowName(int32_t RowNr, const TDTNameStr& HLine);
  // The length in bytes of the longest column (row) name; 0 without any.
  int32_t MaxColNameLength() const;
  int32_t MaxRowNameLength() const;

  int32_t ColAttrib(int32_t ColNr) const { return detail::InAxis(ColNr, FNrOfCols) ? FColAtt[detail::Ix1(ColNr)] : 0; }
  int32_t RowAttrib(int32_t RowNr) const { return detail::InAxis(RowNr, FNrOfRows) ? FRowAtt[detail::Ix1(RowNr)] : 0; }
  int32_t GetColAttrib(int32_t ColNr) const { return ColAttrib(ColNr); }
  int32_t GetRowAttrib(int32_t RowNr) const { return RowAttrib(RowNr); }
  void SetColAttrib(int32_t ColNr, int32_t Value);  // OnChangeAttrib
  void SetRowAttrib(int32_t RowNr, int32_t Value);
  // Every row (column) attribute := Attrib, or with a Mask := (attribute &
  // ~Mask) | (Attrib & Mask); OnChangeAttrib once.
  void SetRowAttributes(int32_t Attrib);
  void SetRowAttributes(int32_t Attrib, uint32_t Mask);
  void SetColAttributes(int32_t Attrib);
  void SetColAttributes(int32_t Attrib, uint32_t Mask);

  TMScaleType MScaleType(int32_t ColNr) const {
    return detail::InAxis(ColNr, FNrOfCols) ? FVType[detail::Ix1(ColNr)].MScaleType : stUnknown;
  }
  TMScaleType GetMScaleType(int32_t ColNr) const { return MScaleType(ColNr); }
  // Identifiers stay; OnChangeSetup. An ordinal outside stUnknown..stRatio
  // is no scale and is ignored like a column outside.
  void SetMScaleType(int32_t ColNr, TMScaleType Value);

  const std::string& Comment() const { return FComment; }
  // Stored without control characters (RemoveControlChars); OnChangeSetup.
  void SetComment(const std::string& Value);
  void SetFComment(const std::string& Value) { SetComment(Value); }

  // ---- ranges ----
  void MakeValidColRange(int32_t& Lo, int32_t& Hi) const;
  void MakeValidRowRange(int32_t& Lo, int32_t& Hi) const;

  // ---- events ----
  void ChangedData() {
    if (OnChange) OnChange(this);
  }
  void ChangedSetup() {
    if (OnChangeSetup) OnChangeSetup(this);
  }
  void ChangedNames() {
    if (OnChangeNames) OnChangeNames(this);
  }
  void ChangedAttrib() {
    if (OnChangeAttrib) OnChangeAttrib(this);
  }
  void ChangedCellStates() {
    if (OnChangeCellState) OnChangeCellState(this);
  }
  // NumericData's OnChange handler: ChangedData.
  void DataHasChanged(TObject* Sender);
  // OnPercentDone(this, Percent) when assigned.
  void PercDone(TObject* Sender, int32_t Percent);

  // ---- nominal identifiers and categorical columns ----
  // Identifiers are cut to NominalIDLength bytes; IgnoreCase folds A-Z and
  // a-z only (UTF-8 sequences compare byte for byte).
  // The first slot whose identifier equals ID; 0 when none does, when ID is
  // empty, or when the column is outside or not categorical.
  int32_t OrdinalOfNominalID(int32_t Col, const TNominalIDStr& ID, bool IgnoreCase) const;
  // The slot of ID (found ignoring case), else ID in the first free slot: the
  // column becomes stNominal, OnChangeSetup, and that slot is returned. 0
  // when the column is outside or no slot is free. An empty ID takes a free
  // slot's number and stores nothing.
  int32_t AddNominalID(int32_t Col, const TNominalIDStr& MScaleID);
  void ClearNominalIDs(int32_t Col);  // all slots free, scale kept; OnChangeSetup
  int32_t CountNominalIDs(int32_t Col) const;  // used slots, whatever the scale
  // Empty when outside or the column is not categorical.
  TNominalIDStr NominalID(int32_t ColIx, int32_t OrdVal) const;
  TNominalIDStr GetNominalID(int32_t ColIx, int32_t OrdVal) const { return NominalID(ColIx, OrdVal); }
  // An empty text frees the slot in any column; other texts are stored only
  // in a categorical column. OnChangeSetup in both cases (not outside).
  void SetNominalID(int32_t ColIx, int32_t OrdVal, const TNominalIDStr& MScaleID);
  // The identifier of the cell's slot (empty for a free slot); for a stored
  // value that rounds to no slot its text: the rounded integer when it has
  // at most NominalIDLength characters, else Str's short scientific form
  // ("1.0E+0300", "NAN", "+INF"). Empty outside or in a column that is not
  // categorical.
  TNominalIDStr ElemNominal(int32_t ACol, int32_t ARow) const;
  TNominalIDStr GetElemNominal(int32_t ACol, int32_t ARow) const { return ElemNominal(ACol, ARow); }
  // The cell := the slot of Value (found ignoring case), else of the first
  // free slot, which takes Value; written through NumericData->SetVal, then
  // OnChange once more. The scale stays (so a column that is not categorical
  // takes a new slot on every call). EORVDataTableError "number of available
  // nominal values exceeded" when no slot is free (nothing changes).
  void SetElemNominal(int32_t ACol, int32_t ARow, const TNominalIDStr& Value);

  // The numbers of the categorical columns, ascending.
  TIntArray ListOfCategorialVars() const;
  // OrdList[k - 1] := the rows of LowRow..HighRow whose stored value rounds to
  // slot k (states not looked at); the result is the number of other rows.
  // -1 when ACol is outside, 0 when it is not categorical (OrdList untouched).
  int32_t ScanForCatValues(int32_t ACol, int32_t LowRow, int32_t HighRow, TIntArray& OrdList) const;
  // Cross-counts the slots of Col1 and Col2 over LowRow..HighRow into a
  // table with margins, indexed [column][row]: column i holds category i + 1
  // of Col1, row j category j + 1 of Col2, so ContTab[i][j] counts the rows
  // with both. The last column (ContTab[A]) holds the row totals, the last
  // row (ContTab[i][B]) the column totals, ContTab[A][B] the grand total;
  // A and B are the largest categories counted (1 x 1 when none was).
  // Rows with a non-numeric cell in either column are skipped; rows whose
  // value rounds to no slot are invalid. Result 0; -3 when a row was invalid
  // (the table is filled all the same); -1 when a column is outside, -2 when
  // one is not categorical (ContTab untouched in both).
  int32_t CreateContingencyTable(int32_t Col1, int32_t Col2, int32_t LowRow, int32_t HighRow,
                                 TInt2DArray& ContTab) const;

  // True when the stored values of column col take exactly two distinct
  // values, returned ascending in V1 and V2; with a third value false and V1,
  // V2 the first two distinct values, ascending. Fewer than two rows: false
  // with V1 = V2 = 0. Values compare with == (NaN equals nothing); a column
  // outside reads 0.0.
  bool CheckDichotomousColumn(int32_t col, double& V1, double& V2) const;
  // Every stored value equals that of row 1 (true without rows); false outside.
  bool IsConstantColumn(int32_t ColIx) const;
  // The highest scale of the columns, at least stNominal; the lowest, at
  // most stRatio.
  TMScaleType FindHighestMLevel(int32_t FirstCol, int32_t LastCol) const;
  TMScaleType FindLowestMLevel(int32_t FirstCol, int32_t LastCol) const;

  // ---- cell states as a whole ----
  // Whether some cell of the row (column, range) has some bit of CellState;
  // false for an index outside.
  bool IfRowHasCellState(int32_t row, uint8_t CellState) const;
  bool IfColHasCellState(int32_t col, uint8_t CellState) const;
  bool IfAnyCellHasCellState(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                             uint8_t CellState) const;
  // Cells with (StateMask & state) != 0; 0 outside. Counts saturate at
  // INT32_MAX here and below.
  int32_t CountMarkedCellsInRow(int32_t Row, uint8_t StateMask) const;
  int32_t CountMarkedCellsInColumn(int32_t Col, uint8_t StateMask) const;
  // Cells of the range with bit 0x02; with bit 0x20; numeric cells.
  int32_t CountEmptyCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  int32_t CountImputedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  int32_t CountValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // Each fires OnChangeCellState once, also when nothing changed.
  void SetAllCellStates(uint8_t CellState);
  void UnmarkAllCells();                     // clears 0x40 and 0x80
  void InvertCellStates(uint8_t StateMask);  // state ^= StateMask
  void ExchangeMarkings();                   // 0x40 and 0x80 change places
  // Every cell with (StateMask & state) != 0 := Value through
  // NumericData->SetVal (OnChange per cell), then OnChange once more when a
  // cell was written; states stay. Returns the number of cells written.
  int32_t FillMarkedCells(double Value, uint8_t StateMask);

  // ---- attribute queries and lookup by name ----
  // The largest (smallest) attribute of the clamped range; Row (Col) := the
  // first row (column) holding it. An empty axis gives 0 and Row (Col) 0.
  int32_t MaxRowAttrib(int32_t FirstRow, int32_t LastRow, int32_t& Row) const;
  int32_t MinRowAttrib(int32_t FirstRow, int32_t LastRow, int32_t& Row) const;
  int32_t MaxColAttrib(int32_t FirstCol, int32_t LastCol, int32_t& Col) const;
  int32_t MinColAttrib(int32_t FirstCol, int32_t LastCol, int32_t& Col) const;
  // The number of distinct row (column) attributes, whatever their values.
  int32_t RowAttribLevels() const;
  int32_t ColAttribLevels() const;
  // The first column (row) whose name equals ColID when both are taken
  // without leading and trailing blanks (character 32) and A-Z and a-z are
  // taken as equal; 0 when none does.
  int32_t FindColIndex(const TDTNameStr& ColID) const;
  int32_t FindRowIndex(const TDTNameStr& RowID) const;

  // ---- checksums: 64 upper-case hexadecimal digits each ----
  // Eight CRC-32 registers side by side; a byte at position p goes to
  // register p mod 8. Names and attributes: the comment as UTF-16 code units
  // (the low byte of unit i at p = i; a byte that is no part of valid UTF-8
  // counts as U+FFFD), the bytes of each column name (p = byte position from
  // 1), the low byte of each column attribute (p = column), the row names and
  // attributes likewise, each column's scale byte (p = column), and the bytes
  // of every identifier of every column (p = byte position).
  std::string CRCofNamesAndAttributes() const;
  // Each column's state bytes in row order, the state of row r at p = r.
  std::string CRCofCellStates() const;

  // ---- cell statistics ----
  // Every routine below takes (LowCol, LowRow, HighCol, HighRow), clamped by
  // the range rule, and visits the range column by column, within a column
  // row by row. The routines named ...NumCells select the numeric cells of
  // the stInterval and stRatio columns; ...MarkedCells those of them marked
  // for CellState ((state & CellState & 0xFC) != 0); ...ValidCells the
  // numeric cells of every column. Values are the stored values. Counts
  // saturate at INT32_MAX.
  int32_t CountNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const;
  // The sum (of squares) of the selected values, from 0.0 in range order;
  // NumData := their number.
  double SumOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, int32_t& NumData) const;
  double SumOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, uint8_t CellState,
                          int32_t& NumData) const;
  double SumOfSquaredNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              int32_t& NumData) const;
  double SumOfSquaredMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 uint8_t CellState, int32_t& NumData) const;
  // Mean := sum / n (0.0 without values). Variance := 1.0 when n <= 2 (a
  // defined value, not an estimate), else (sum d^2 - (sum d)^2 / n) / (n - 1)
  // with d = x - the first selected value, 0.0 where rounding makes it
  // negative: the textbook one-pass formula, shifted so that data far from 0
  // keep their digits. Returns n.
  int32_t MeanVarOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Mean,
                            double& Variance) const;
  int32_t MeanVarOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                               uint8_t CellState, double& Mean, double& Variance) const;
  // Minimum starts at uc_MaxReal, Maximum at -uc_MaxReal; a value v not >=
  // Minimum replaces it, a value > Maximum replaces that (so a NaN becomes
  // the minimum until the next value). Returns the number of values; without
  // any the start values stay. MinMaxOfMarkedCells takes the marked numeric
  // cells of every column, whatever its scale; MinMaxOfValidCells reads the
  // cells of categorical columns rounded half to even.
  int32_t MinMaxOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Minimum,
                           double& Maximum) const;
  int32_t MinMaxOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, uint8_t CellState,
                              double& Minimum, double& Maximum) const;
  int32_t MinMaxOfValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Minimum,
                             double& Maximum) const;
  // Quartiles at the positions (n + 1) q, q = 1/4, 1/2, 3/4, of the values
  // in ascending order (NaN last), linear between neighbours and clamped to
  // the first and the last value (numpy.percentile method 'weibull'); one
  // value gives it three times, none gives zeros. NumData := n. Always true.
  // EORVDataTableError "not enough memory on heap" when the values cannot be
  // held.
  bool QuartilesOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                           double& Q2, double& Q3, int32_t& NumData) const;
  bool QuartilesOfMarkedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, double& Q1,
                              double& Q2, double& Q3, uint8_t CellState, int32_t& NumData) const;
  // The percentile prob (a percentage, clamped into 0..100; NaN gives NaN)
  // linear between the closest ranks, x(i + 1) + f (x(i + 2) - x(i + 1)) with
  // i + f = prob (n - 1) / 100 (numpy.percentile method 'linear'); 0.0
  // without values. NumData := n. EORVMatrixError "not enough memory on
  // heap" when the values cannot be held.
  double PercentileOfNumCells(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                              int32_t& NumData) const;
  double PercentileOfMarkedCells(double prob, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 uint8_t CellState, int32_t& NumData) const;
  // exp(mean of ln v) over the positive values (NumData := their number),
  // 0.0 when a value is 0 or none is positive. EORVMatrixError "negative
  // argument passed to GeometricMean" for a value below 0.
  double GeometricMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                 int32_t& NumData) const;
  // n / sum of 1 / v (NumData := n); 0.0 without values. EORVMatrixError
  // "negative or zero argument passed to HarmonicMean" for a value <= 0.
  double HarmonicMeanOfNumCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                int32_t& NumData) const;
  // The stored values of the numeric cells of every column whose state has a
  // bit of CellState (255: every numeric cell; 0: none), in range order, into
  // elements 1.. of DestVect, which is cut to their number (at least 1
  // element, the vectors' minimum). Returns the number. DestVect's events:
  // with an OnChange handler it is first sized to the range's area, then
  // written element by element, then cut (a handler that resizes it
  // meanwhile makes SetVal skip the elements beyond its size; the values
  // are read before). nullptr: 0, nothing happens.
  int32_t CopyCellsToVector(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow, uint8_t CellState,
                            TVector* DestVect) const;

  // ---- standardization and centering ----
  // Means and StdDevs may be nullptr; element i (column or row i) is written
  // through SetVal, and they are never resized (size them first). Their
  // handlers (and OnChange per cell) may resize the table or make it adopt
  // another matrix: the columns, rows and cells are read afresh after each.
  // Each stInterval or stRatio column: (mean, variance) as MeanVarOfNumCells;
  // when the variance is > 0 every numeric cell := (value - mean) /
  // sqrt(variance) through NumericData->SetVal (OnChange per cell); Means[c],
  // StdDevs[c] := mean and sqrt(variance) also when it is 0. OnChange once
  // more when a column was rewritten.
  void StandardizeNumCellColumns(TVector* Means, TVector* StdDevs);
  // Each row: (mean, variance) of its interval and ratio cells; when the
  // variance is > 0 every numeric cell of the row, whatever its column's
  // scale, := (value - mean) / sqrt(variance). OnChange once at the end.
  // EORVDataTableError "standardization of rows is not possible with
  // nominal or ordinal variables" when a column is categorical (nothing
  // changes).
  void StandardizeNumCellRows(TVector* Means, TVector* StdDevs);
  // value - mean for the numeric cells of each interval and ratio column;
  // OnChange once at the end.
  void MeanCenterNumCellColumns(TVector* Means);
  // value - the mean of the row's interval and ratio cells, for every numeric
  // cell of the row; OnChange once. EORVDataTableError "mean centering of
  // rows is not possible with nominal or ordinal variables" as above.
  void MeanCenterNumCellRows(TVector* Means);

  // ---- covariance ----
  // The covariance-type matrix of columns LoC..HiC over rows LoR..HiR into
  // the first n x n cells of CovarMat (n = HiC - LoC + 1); bounds are used as
  // given, a cell outside the table reads as a numeric 0.0 (rows outside are
  // counted at once, not one by one). Each entry (i, k) takes the rows whose
  // cells in both columns are numeric (m of them), values as Elem reads them:
  //   Mode 0: sum x y / (m - 1);
  //   Mode 1: sum (x - mean(i)) (y - mean(k)) / (m - 1), the means those of
  //     MeanVarOfNumCells over the column (0.0 for a column that is not
  //     interval or ratio, or lies outside the table);
  //   Mode 2: the correlation coefficient, 0.0 unless m > 2, no x or y is
  //     NaN and both sums of squared deviations are nonzero; the sums run
  //     over the values less the first usable pair, so data far from 0
  //     keep their digits; clamped into [-1, 1], NaN where a sum overflows
  //     the double range; the diagonal 1.0;
  //   Mode 3: the square of Mode 2 (diagonal 1.0);
  //   Mode 4: sum (x - y)^2 / (m - 1);
  //   other Modes: 0.0.
  // Modes 0, 1 and 4 give 0.0 where m < 2. Cell (k, i) then (i, k) is written
  // through SetVal for i = 1..n, k = 1..i. All entries are computed from the
  // cells as they were after the last column mean. Clears AbortMathProc;
  // ProcStat grows by 1 per column mean (Mode > 0) and by 1 before each i
  // (MathFeedBackProc called), and AbortMathProc, tested before each i, stops
  // it: false, the entries not reached keep their values. A MathFeedBackProc
  // that resizes the table or makes it adopt another matrix during the
  // means has them taken again, without reports, from the table as it then
  // is; one that resizes CovarMat (or CovarMat's OnChange doing so) makes
  // the result false, the entries written as far as they fitted. False,
  // with nothing written, when CovarMat is nullptr or smaller than n x n.
  bool CalcCovar(TMatrix* CovarMat, int32_t LoC, int32_t HiC, int32_t LoR, int32_t HiR, int32_t Mode) const;

  // ---- rows and columns ----
  // Rows and columns move with their name, attribute, values and states (a
  // column also with its scale and identifiers). Values move as Elem reads
  // them, so cells of categorical columns arrive rounded. With handlers
  // every moved value, state, name and attribute goes through its setter
  // and fires as that does (NumericData's OnChange detached, so a value
  // fires OnChange once); without any, the storage moves at once. A handler
  // that resizes the table or makes it adopt another matrix meanwhile ends
  // the moving after the row or column in hand: the table keeps the size
  // the handler gave it (no resize of the routine's follows), the lines
  // moved so far stay moved, and the closing events fire.
  // InsertRow: nothing unless 1 <= ix <= NrOfRows + 1. The table grows by a
  // row (OnResize), rows ix.. move down by one (from the bottom), and row ix
  // gets attribute 0, an empty name, 0.0 and state 0. Then OnChangeSetup.
  void InsertRow(int32_t ix);
  // Nothing unless ix is a row and the table has at least 2 rows. The rows
  // below move up, the table loses its last row (OnResize), OnChangeSetup.
  void RemoveRow(int32_t ix);
  // As InsertRow for columns (moved from the right; all identifiers move);
  // the new column is stInterval with free slots.
  void InsertColumn(int32_t ix);
  // As RemoveRow for columns. A moved column takes its identifiers along
  // only when categorical; otherwise it keeps those that stood at its new
  // place.
  void RemoveColumn(int32_t ix);
  // The two columns (rows) change places: values (NumericData's exchange),
  // attributes, names, states, and for columns scales and identifiers. Then
  // OnChange, OnChangeCellState, OnChangeAttrib, OnChangeNames and
  // OnChangeSetup, also when c1 = c2. An index outside the table: nothing.
  void ExchangeColumns(int32_t c1, int32_t c2);
  void ExchangeRows(int32_t r1, int32_t r2);
  // Reverse the order of the columns (rows) by ExchangeColumns (ExchangeRows)
  // of the outer pairs first, each firing its five events; then the five
  // events once more (also for a single column or row). A handler that
  // resizes the table or makes it adopt another matrix ends the exchanges.
  void MirrorColumns();
  void MirrorRows();
  // Removes the rows of FirstRow..LastRow ((0, 0): all) in which some cell
  // has a bit of CState; the rows after move up in their order. Returns the
  // number removed (the table may be left without rows), or -1, with
  // nothing changed, when a bound lies outside 1..NrOfRows. OnChange does
  // not fire; OnResize when rows went, then OnChangeSetup. Also -1 when a
  // handler ended the moving as said above: no row was removed.
  int32_t RemoveMarkedRows(int32_t FirstRow, int32_t LastRow, uint8_t CState);
  // Turns the C x R table into one data column of C x R rows, old cell (s, r)
  // into row (s - 1) R + r, column by column. Columns: "(column)" with s
  // (stNominal, identifier s "<s>:<old column name>", cut; only the first
  // 150 columns get one) when ColHeadsAsVar; "(col. index)" with s and
  // "(row index)" with r when IncludeColRowNumbers; last "(data)" with the
  // old value (as Elem reads it) and state, its scale the highest of the old
  // columns (FindHighestMLevel). Each row takes the name and attribute of
  // its old row. The index columns have state 0 and keep the scales and
  // identifiers of the old columns at their places (but "(column)").
  // Events: OnResize, OnChangeSetup, OnChangeNames and OnChangeAttrib per
  // change, OnChangeCellState, then OnChange once. EORVDataTableError with
  // nothing changed when C x R exceeds INT32_MAX rows, or "not enough memory
  // on heap". A handler that resizes the table or makes it adopt another
  // matrix ends the filling after the row in hand (OnChange still fires).
  void Serialize(bool ColHeadsAsVar, bool IncludeColRowNumbers);

  // ---- copying between tables ----
  // This table becomes a copy of ExtTab's contents: size (OnResize when it
  // changes), comment, names, attributes, scales, identifiers (a non-empty
  // identifier arrives only in a categorical column; in another the slot
  // keeps what it held), values as ExtTab's Elem reads them, and states.
  // Then OnChange, OnChangeCellState, OnChangeSetup, OnChangeNames,
  // OnChangeAttrib and OnResize (old and new counts, also at equal size).
  // Handlers, Name and NumericData's ownership stay. nullptr: nothing.
  // EORVDataTableError "not enough memory on heap" leaves the table as it was.
  void CopyContentsFrom(const TDataTable* ExtTab);
  // Every state := ExtTab's, OnChangeCellState once; false, with nothing
  // changed or fired, when the sizes differ or ExtTab is nullptr.
  bool CopyCellStatesFrom(const TDataTable* ExtTab);
  // ExtTab's cells (c, r) of the source block, each bound clamped into
  // ExtTab ((0, 0) has no special meaning) and exchanged when reversed, with
  // their values (as ExtTab's Elem reads them) and states to (c + DestCol -
  // SourceColLo, r + DestRow - SourceRowLo); cells outside this table are
  // skipped. ExtTab may be this table, also with overlapping blocks: the
  // block is copied as it was at the call. Then OnChange and
  // OnChangeCellState once each. nullptr: nothing.
  void CopyFrom(const TDataTable* ExtTab, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                int32_t SourceRowHi, int32_t DestCol, int32_t DestRow);

  // ---- copying to and from dynamic arrays (0 done, -1 refused) ----
  // The stored values of a column (row), element r - 1 (c - 1); -1 when it
  // is outside (DstArray untouched).
  int32_t CopyDataColumnToArray(int32_t Col, TDoubleArray& DstArray) const;
  int32_t CopyDataRowToArray(int32_t Row, TDoubleArray& DstArray) const;
  // The first min(NrOfRows, length) cells of the column (columns of the row)
  // := the array's values through NumericData->SetVal (OnChange per cell);
  // -1 when the column (row) is outside. With an OnChange handler, which
  // may change the array, the values come from a copy taken first.
  int32_t CopyDataColumnFromArray(int32_t Col, const TDoubleArray& SrcArray);
  int32_t CopyDataRowFromArray(int32_t Row, const TDoubleArray& SrcArray);
  // DstArray := NrOfColumns arrays of NrOfRows stored values, [c - 1][r - 1].
  void CopyDataToArray(TDouble2DArray& DstArray) const;
  // Cell (i + 1, j + 1) := SrcArray[i][j] through NumericData->SetVal
  // (OnChange per cell) for the columns the table has and the rows column i
  // and the first inner array both have; states, names and scales stay. 0
  // when SrcArray has exactly NrOfColumns arrays of NrOfRows values, else
  // -1 (an empty outer array writes nothing), judged at the call; the values
  // come from a copy of SrcArray when a handler could change it. Also -1
  // when a handler resized the table or made it adopt another matrix
  // meanwhile (the values written as far as they fitted, into the matrix
  // the table held at the call).
  int32_t CopyDataFromArray(const TDouble2DArray& SrcArray);
  int32_t CopyDataFromArray(const TInt2DArray& SrcArray);

  // ---- sorting ----
  // Every sort reports each exchange through OnSortExchange(this, kind, i,
  // i + gap, low, high): kind 2 for rows with the clamped column bounds, 1
  // for columns with the clamped row bounds. Comb sort (not stable), start
  // gap High - Low.
  // By the values of column SortColIx: NumericData->SortRows (NaN last in
  // both directions; a key column outside the table sorts nothing). An
  // exchange moves the values of LowCol..HighCol and of the key column, the
  // states of LowCol..HighCol (not the key column's when it lies outside),
  // and with IncludeHeaders the rows' names and attributes. Events: OnChange
  // (through the matrix), then with IncludeHeaders OnChangeNames and
  // OnChangeAttrib. A handler that resizes the table ends the sort (the
  // bounds no longer hold); one that makes it adopt another matrix ends it
  // too: the table holds that matrix, the states as the exchanges reported
  // so far left them.
  void SortRows(int32_t SortColIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow, bool IncludeHeaders);
  // The same for columns by the values of row SortRowIx; headers are names,
  // attributes, scales and identifiers.
  void SortCols(int32_t SortRowIx, bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                int32_t HighRow, bool IncludeHeaders);
  // Rows LowRow..HighRow by their names, compared byte by byte (a proper
  // prefix first; IgnoreCase folds A-Z to a-z only). An exchange moves the
  // names, attributes, and the values (through NumericData's GetVal and
  // SetVal: OnChange per write) and states of LowCol..HighCol. Then
  // OnChange and OnChangeNames; a range of one row fires nothing.
  void SortRowNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow);
  void SortRowNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    SortRowNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
  }
  // Columns LowCol..HighCol by their names; an exchange also moves scales
  // and identifiers, values and states of LowRow..HighRow.
  void SortColNames(bool Ascending, bool IgnoreCase, int32_t LowCol, int32_t LowRow, int32_t HighCol,
                    int32_t HighRow);
  void SortColNames(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) {
    SortColNames(Ascending, false, LowCol, LowRow, HighCol, HighRow);
  }
  // As the name sorts, by the attributes as signed integers; the events at
  // the end are OnChange and OnChangeAttrib. In these four sorts a handler
  // (OnSortExchange, OnChange per value moved) that resizes the table or
  // makes it adopt another matrix ends the sort after the exchange in hand.
  void SortRowAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow);
  void SortColAttributes(bool Ascending, int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow);

  // ---- handlers and storage ----
  TNotifyEvent OnChange;
  TNotifyEvent OnChangeSetup;
  TNotifyEvent OnChangeNames;
  TNotifyEvent OnChangeCellState;
  TNotifyEvent OnChangeAttrib;
  TOnPercentDoneEvent OnPercentDone;
  TDataTableResizeEvent OnResize;
  TSortExchgEvent OnSortExchange;

  // The cell values; the table's own unless adopted (AssignAnotherDataMatrix).
  TMatrix* NumericData = nullptr;

 private:
  template <class>
  friend struct detail::TStorageStamp;
  struct TDataLink;
  struct TSortLink;
  struct TCells;    // the range visitor of the statistics (datatable_stats.cpp)
  struct TLayout;   // moving rows and columns (datatable_edit.cpp)
  struct TSorting;  // the name and attribute sorts (datatable_sort.cpp)

  // Routines that change many cells detach NumericData's OnChange under one
  // of these and fire OnChange themselves; it wires the handler to
  // DataHasChanged again when it goes out of scope, also when an exception
  // passes:  { TBulkChange Bulk(*this); ...write cells...; }  ChangedData();
  // Guards nest (a bulk routine may resize the table): the outermost wires.
  class TBulkChange {
   public:
    explicit TBulkChange(TDataTable& T) : FT(T) {
      if (FT.FBulkDepth++ == 0) FT.NumericData->OnChange = nullptr;
    }
    ~TBulkChange() {
      if (--FT.FBulkDepth == 0) FT.WireData();
    }
    TBulkChange(const TBulkChange&) = delete;
    TBulkChange& operator=(const TBulkChange&) = delete;

   private:
    TDataTable& FT;
  };

  // A routine that calls a method of NumericData through which a handler
  // may run (SetVal, Fill, a sort: the table's links) holds one of these:
  // should the handler make the table adopt another matrix, the matrix of
  // the table's own is not freed under the running method but kept until
  // the outermost guard goes (also when an exception passes).
  class TMatrixInUse {
   public:
    explicit TMatrixInUse(const TDataTable& T) : FT(T) { ++FT.FInUse; }
    ~TMatrixInUse() {
      if (--FT.FInUse == 0) FT.FreeRetired();
    }
    TMatrixInUse(const TMatrixInUse&) = delete;
    TMatrixInUse& operator=(const TMatrixInUse&) = delete;

   private:
    const TDataTable& FT;
  };

  // Runs Write, which writes cells through NumericData->SetVal, with the
  // matrix's OnChange detached when the table has no OnChange handler:
  // nothing could see the per-cell events, so the matrix writes at once.
  template <class F>
  void WriteCells(F&& Write) {
    if (OnChange) {
      TMatrixInUse InUse(*this);
      Write();
      return;
    }
    TBulkChange Bulk(*this);
    Write();
  }

  bool ValidCell(int32_t ACol, int32_t ARow) const {
    return detail::InAxis(ACol, FNrOfCols) && detail::InAxis(ARow, FNrOfRows);
  }
  // The stored value of a cell; 0.0 outside the table (or outside an adopted
  // matrix that its host resized).
  double Stored(int32_t ACol, int32_t ARow) const { return ValidCell(ACol, ARow) ? NumericData->GetVal(ACol, ARow) : 0.0; }
  void SetElemWatched(int32_t ACol, int32_t ARow, double Value);  // SetElem with a handler
  template <class PutFn>
  void LineFromArray(int32_t N, const TDoubleArray& SrcArray, PutFn&& Put);  // datatable_copy.cpp
  template <class A>
  int32_t TableFromArray(const A& SrcArray);  // datatable_copy.cpp
  void WireData();    // NumericData's OnChange -> DataHasChanged
  void WireMatrix();  // both handlers of NumericData (OnChange not under a TBulkChange)
  void FreeRetired() const;
  // NumericData's OnSortExchange handler: forwards to OnSortExchange.
  void ExchangeDuringSort(TObject* Sender, uint8_t Kind, int32_t I1, int32_t I2, int32_t Lo, int32_t Hi);
  // Every array at the new size, NumericData too when WithData; all or
  // nothing. Raises std::bad_alloc; the callers say what failed.
  void ResizeStorage(int32_t NC, int32_t NR, bool WithData);
  void SetAttributes(TIntArray& Att, int32_t Attrib, uint32_t Mask);

  std::string FComment;
  TIntArray FRowAtt;
  TIntArray FColAtt;
  std::vector<TVTypeSpec> FVType;
  std::vector<std::vector<uint8_t>> FCState;  // [column - 1][row - 1]
  std::vector<TDTNameStr> FColName;
  std::vector<TDTNameStr> FRowName;
  int32_t FNrOfCols = 0;
  int32_t FNrOfRows = 0;
  bool FSortIncludeHd = false;   // whether a sort's exchanges move the headers too
  bool FExtMatAssigned = false;  // NumericData adopted, not the table's own
  int32_t FBulkDepth = 0;        // TBulkChange guards alive
  // The matrix of the table's own that an adoption let go while a
  // TMatrixInUse lived: freed when the last one goes.
  mutable TMatrix* FRetired = nullptr;
  mutable int32_t FInUse = 0;  // TMatrixInUse guards alive
};

}  // namespace orv
