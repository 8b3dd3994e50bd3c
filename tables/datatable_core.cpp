// TDataTable core: life cycle, copying, adopting a matrix, size, cells,
// names, attributes, scales and the events.
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <utility>

#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcorekit/Orv_stringl.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::Ix1;

// The handlers the table installs on NumericData; named types, not lambdas,
// so that a debugger shows whose they are.
struct TDataTable::TDataLink {
  TDataTable* Table;
  void operator()(TObject* Sender) const { Table->DataHasChanged(Sender); }
};

struct TDataTable::TSortLink {
  TDataTable* Table;
  void operator()(TObject* Sender, uint8_t Kind, int32_t I1, int32_t I2, int32_t Lo, int32_t Hi) const {
    Table->ExchangeDuringSort(Sender, Kind, I1, I2, Lo, Hi);
  }
};

namespace {

constexpr std::string_view InitProblem = "failed to initialize (out of memory)";

// C-<n> and R-<n>, n counted from 1.
TDTNameStr DefaultName(char Axis, std::size_t Index0) {
  return std::string(1, Axis) + '-' + std::to_string(Index0 + 1);
}

// The matrix reports its memory problems in its own name; the table's
// callers expect them in the table's.
template <class F>
void AsAllocFailure(F&& Body) {
  try {
    Body();
  } catch (const EORVMatrixError&) {
    throw std::bad_alloc();
  }
}

}  // namespace

TDataTable::TDataTable(TComponent* AOwner) : TComponent(AOwner) {
  auto Fail = [&] { return EORVDataTableError(detail::ComponentMessage(Name(), InitProblem)); };
  std::unique_ptr<TMatrix> Data;
  GuardAllocation(
      [&] {
        AsAllocFailure([&] { Data = std::make_unique<TMatrix>(nullptr); });
        ResizeStorage(1, 1, false);
      },
      Fail);
  NumericData = Data.release();
  WireMatrix();
}

TDataTable::~TDataTable() {
  if (!FExtMatAssigned) {
    delete NumericData;
  } else {
    NumericData->OnChange = nullptr;
    NumericData->OnSortExchange = nullptr;
  }
  delete FRetired;
}

std::string TDataTable::ClassName() const { return "TDataTable"; }

void TDataTable::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TDataTable*>(Source);
  if (Src == nullptr) {
    TComponent::Assign(Source);
    return;
  }
  if (Src == this) return;
  // What Assign copies: everything but the matrix pointer and its ownership.
  auto Copied = [](TDataTable& T) {
    return std::tie(T.FComment, T.FRowAtt, T.FColAtt, T.FVType, T.FCState, T.FColName, T.FRowName, T.FNrOfCols,
                    T.FNrOfRows, T.FSortIncludeHd, T.OnChange, T.OnChangeSetup, T.OnChangeNames,
                    T.OnChangeCellState, T.OnChangeAttrib, T.OnPercentDone, T.OnResize, T.OnSortExchange);
  };
  detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    // Everything is copied aside before the first field changes.
    auto Copy = std::apply([](const auto&... F) { return std::make_tuple(F...); }, Copied(*Src));
    AsAllocFailure([&] { NumericData->Assign(Src->NumericData); });
    WireMatrix();  // the matrix took the source table's handlers
    Copied(*this) = std::move(Copy);
  });
}

void TDataTable::AssignTo(TPersistent* Dest) { detail::AssignToSameClass(*this, Dest); }

void TDataTable::AssignAnotherDataMatrix(TMatrix* NewDMat) {
  if (NewDMat == nullptr || NewDMat == NumericData) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  const int32_t NC = NewDMat->NrOfColumns(), NR = NewDMat->NrOfRows();
  // OnChange and OnChangeSetup stay silent until the storage is in place,
  // both OnResize events included; they come back also when something fails.
  {
    detail::TSilence Quiet(OnChange, OnChangeSetup);
    // The old matrix is not resized: it is freed, or it goes back to its
    // owner as it was. The table still reports the resize of its items as
    // Resize does, and the adoption below once more.
    const auto SizeItems = [&] {
      detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] { ResizeStorage(NC, NR, false); });
    };
    SizeItems();
    if (NC != OldCols || NR != OldRows) {
      const detail::TStorageGuard Shape(detail::ShapeOf(*this));
      detail::Fire(OnResize, this, OldCols, OldRows, NC, NR);
      if (!Shape.Intact()) SizeItems();  // the handler resized the table or had it adopt a matrix
    }
    // The matrix let go is the one the table holds now, whatever a handler did.
    NumericData->OnChange = nullptr;
    NumericData->OnSortExchange = nullptr;
    if (!FExtMatAssigned) {
      // A routine of the table may be running on it (this is a handler's
      // call): then it is freed when that routine ends.
      if (FInUse > 0)
        FRetired = NumericData;  // the one matrix of its own: nothing retired before
      else
        delete NumericData;
    }
    NumericData = NewDMat;
    FExtMatAssigned = true;
    WireMatrix();
    for (TVTypeSpec& V : FVType) V.MScaleType = stInterval;
    detail::Fire(OnResize, this, OldCols, OldRows, NC, NR);
  }
  ChangedData();
  ChangedSetup();
  ChangedNames();
  ChangedAttrib();
  ChangedCellStates();
}

// ---- size ----

void TDataTable::ResizeStorage(int32_t NC, int32_t NR, bool WithData) {
  detail::CheckExtent(int64_t{NC} * NR, sizeof(double) + 1);  // cell and state together
  auto Zero = [](std::size_t) { return int32_t{0}; };
  detail::TPendingItems<TDTNameStr> ColNames(FColName, NC, [](std::size_t I) { return DefaultName('C', I); });
  detail::TPendingItems<int32_t> ColAtt(FColAtt, NC, Zero);
  detail::TPendingItems<TVTypeSpec> VType(FVType, NC, [](std::size_t) { return TVTypeSpec(); });
  detail::TPendingItems<TDTNameStr> RowNames(FRowName, NR, [](std::size_t I) { return DefaultName('R', I); });
  detail::TPendingItems<int32_t> RowAtt(FRowAtt, NR, Zero);
  detail::TPendingGrid<uint8_t> States(FCState, NC, NR);
  if (WithData) {
    // Last of the steps that may fail: the matrix keeps its cells when it does.
    TBulkChange Bulk(*this);
    AsAllocFailure([&] { NumericData->Resize(NC, NR); });
  }
  ColNames.Commit();
  ColAtt.Commit();
  VType.Commit();
  RowNames.Commit();
  RowAtt.Commit();
  States.Commit();
  FNrOfCols = NC;
  FNrOfRows = NR;
}

void TDataTable::Resize(int32_t NrCols, int32_t NrRows) {
  NrCols = std::max(NrCols, 0);
  NrRows = std::max(NrRows, 0);
  if (NrCols == FNrOfCols && NrRows == FNrOfRows) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] { ResizeStorage(NrCols, NrRows, true); });
  detail::Fire(OnResize, this, OldCols, OldRows, NrCols, NrRows);
}

void TDataTable::Clear() {
  for (std::size_t C = 0; C < FColName.size(); ++C) FColName[C] = DefaultName('C', C);
  for (std::size_t R = 0; R < FRowName.size(); ++R) FRowName[R] = DefaultName('R', R);
  for (auto& Col : FCState) std::fill(Col.begin(), Col.end(), uint8_t{0});
  std::fill(FColAtt.begin(), FColAtt.end(), 0);
  std::fill(FRowAtt.begin(), FRowAtt.end(), 0);
  for (TVTypeSpec& V : FVType) {
    V.MScaleType = stInterval;
    for (TNominalIDStr& ID : V.IDs) ID.clear();
  }
  FComment.clear();
  {
    TMatrixInUse InUse(*this);
    NumericData->Fill(0.0);
  }
  ChangedNames();
  ChangedAttrib();
  ChangedCellStates();
  ChangedSetup();
}

// ---- cells ----

void TDataTable::SetElemWatched(int32_t ACol, int32_t ARow, double Value) {
  {
    TMatrixInUse InUse(*this);
    NumericData->SetVal(ACol, ARow, Value);
  }
  ChangedData();
}

void TDataTable::SetCellState(int32_t ACol, int32_t ARow, uint8_t Value) {
  if (!ValidCell(ACol, ARow)) return;
  uint8_t& S = FCState[Ix1(ACol)][Ix1(ARow)];
  if (S == Value) return;
  S = Value;
  ChangedCellStates();
}

namespace {
constexpr uint8_t WithBit(uint8_t S, uint8_t Bit, bool On) {
  return On ? static_cast<uint8_t>(S | Bit) : static_cast<uint8_t>(S & ~Bit);
}
}  // namespace

void TDataTable::SetIsEmpty(int32_t ACol, int32_t ARow, bool Value) {
  if (!ValidCell(ACol, ARow)) return;
  SetCellState(ACol, ARow, WithBit(CellState(ACol, ARow), detail::csEmpty, Value));
  ChangedData();
}

void TDataTable::SetIsImputed(int32_t ACol, int32_t ARow, bool Value) {
  if (!ValidCell(ACol, ARow)) return;
  SetCellState(ACol, ARow, WithBit(CellState(ACol, ARow), detail::csImputed, Value));
  ChangedData();
}

// ---- names, attributes, scales, comment ----

TDTNameStr TDataTable::ColName(int32_t ColNr) const {
  return detail::InAxis(ColNr, FNrOfCols) ? FColName[Ix1(ColNr)] : TDTNameStr();
}

TDTNameStr TDataTable::RowName(int32_t RowNr) const {
  return detail::InAxis(RowNr, FNrOfRows) ? FRowName[Ix1(RowNr)] : TDTNameStr();
}

void TDataTable::SetColName(int32_t ColNr, const TDTNameStr& HLine) {
  if (!detail::InAxis(ColNr, FNrOfCols)) return;
  FColName[Ix1(ColNr)] = detail::CutText(HLine, DTNameLength);
  ChangedNames();
}

void TDataTable::SetRowName(int32_t RowNr, const TDTNameStr& HLine) {
  if (!detail::InAxis(RowNr, FNrOfRows)) return;
  FRowName[Ix1(RowNr)] = detail::CutText(HLine, DTNameLength);
  ChangedNames();
}

namespace {
int32_t LongestName(const std::vector<TDTNameStr>& Names) {
  std::size_t N = 0;
  for (const TDTNameStr& S : Names) N = std::max(N, S.size());
  return static_cast<int32_t>(N);  // at most DTNameLength
}
}  // namespace

int32_t TDataTable::MaxColNameLength() const { return LongestName(FColName); }
int32_t TDataTable::MaxRowNameLength() const { return LongestName(FRowName); }

void TDataTable::SetColAttrib(int32_t ColNr, int32_t Value) {
  if (!detail::InAxis(ColNr, FNrOfCols)) return;
  FColAtt[Ix1(ColNr)] = Value;
  ChangedAttrib();
}

void TDataTable::SetRowAttrib(int32_t RowNr, int32_t Value) {
  if (!detail::InAxis(RowNr, FNrOfRows)) return;
  FRowAtt[Ix1(RowNr)] = Value;
  ChangedAttrib();
}

void TDataTable::SetAttributes(TIntArray& Att, int32_t Attrib, uint32_t Mask) {
  const auto Bits = static_cast<uint32_t>(Attrib) & Mask;
  for (int32_t& A : Att) A = static_cast<int32_t>((static_cast<uint32_t>(A) & ~Mask) | Bits);
  ChangedAttrib();
}

void TDataTable::SetRowAttributes(int32_t Attrib) { SetAttributes(FRowAtt, Attrib, 0xFFFFFFFFu); }
void TDataTable::SetRowAttributes(int32_t Attrib, uint32_t Mask) { SetAttributes(FRowAtt, Attrib, Mask); }
void TDataTable::SetColAttributes(int32_t Attrib) { SetAttributes(FColAtt, Attrib, 0xFFFFFFFFu); }
void TDataTable::SetColAttributes(int32_t Attrib, uint32_t Mask) { SetAttributes(FColAtt, Attrib, Mask); }

void TDataTable::SetMScaleType(int32_t ColNr, TMScaleType Value) {
  if (!detail::InAxis(ColNr, FNrOfCols) || Value > stRatio) return;
  FVType[Ix1(ColNr)].MScaleType = Value;
  ChangedSetup();
}

void TDataTable::SetComment(const std::string& Value) {
  FComment = RemoveControlChars(Value);
  ChangedSetup();
}

// ---- ranges and events ----

void TDataTable::MakeValidColRange(int32_t& Lo, int32_t& Hi) const { detail::MakeValidRange(Lo, Hi, FNrOfCols); }
void TDataTable::MakeValidRowRange(int32_t& Lo, int32_t& Hi) const { detail::MakeValidRange(Lo, Hi, FNrOfRows); }

void TDataTable::DataHasChanged(TObject*) { ChangedData(); }

void TDataTable::PercDone(TObject*, int32_t Percent) { detail::Fire(OnPercentDone, this, Percent); }

void TDataTable::WireData() { NumericData->OnChange = TDataLink{this}; }

void TDataTable::WireMatrix() {
  if (FBulkDepth == 0)
    WireData();
  else
    NumericData->OnChange = nullptr;  // the outermost TBulkChange wires it
  NumericData->OnSortExchange = TSortLink{this};
}

void TDataTable::FreeRetired() const {
  delete FRetired;
  FRetired = nullptr;
}

}  // namespace orv
