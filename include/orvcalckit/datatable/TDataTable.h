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
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"
#include "orvcorekit/Orv_system.h"

namespace orv {

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
  // (old and new counts, also when the size stays), then OnChange,
  // OnChangeSetup, OnChangeNames, OnChangeAttrib, OnChangeCellState. nullptr
  // or the table's own NumericData: nothing happens.
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
  struct TDataLink;
  struct TSortLink;

  // Routines that change many cells detach NumericData's OnChange under one
  // of these and fire OnChange themselves; it wires the handler to
  // DataHasChanged again when it goes out of scope, also when an exception
  // passes:  { TBulkChange Bulk(*this); ...write cells...; }  ChangedData();
  class TBulkChange {
   public:
    explicit TBulkChange(TDataTable& T) : FT(T) { FT.NumericData->OnChange = nullptr; }
    ~TBulkChange() { FT.WireData(); }
    TBulkChange(const TBulkChange&) = delete;
    TBulkChange& operator=(const TBulkChange&) = delete;

   private:
    TDataTable& FT;
  };

  bool ValidCell(int32_t ACol, int32_t ARow) const {
    return detail::InAxis(ACol, FNrOfCols) && detail::InAxis(ARow, FNrOfRows);
  }
  // The stored value of a cell; 0.0 outside the table (or outside an adopted
  // matrix that its host resized).
  double Stored(int32_t ACol, int32_t ARow) const { return ValidCell(ACol, ARow) ? NumericData->GetVal(ACol, ARow) : 0.0; }
  void SetElemWatched(int32_t ACol, int32_t ARow, double Value);  // SetElem with a handler
  void WireData();    // NumericData's OnChange -> DataHasChanged
  void WireMatrix();  // both handlers of NumericData
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
};

}  // namespace orv
