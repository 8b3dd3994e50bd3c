// TDataTable: copying contents, states and blocks between tables, and cell
// values to and from dynamic arrays.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/storage_guard.h"
#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::InAxis;
using detail::IsCategorical;
using detail::Ix;
using detail::Ix1;

// ---- between tables ----

void TDataTable::CopyContentsFrom(const TDataTable* ExtTab) {
  if (ExtTab == nullptr) return;
  const int32_t OldCols = FNrOfCols, OldRows = FNrOfRows;
  const int32_t NC = ExtTab->FNrOfCols, NR = ExtTab->FNrOfRows;
  // Everything new is built aside (ExtTab may be this table) and then moved
  // in, so that a failure leaves the table as it was.
  struct TContents {
    std::string Comment;
    std::vector<TDTNameStr> ColNames, RowNames;
    TIntArray ColAtt, RowAtt;
    std::vector<TVTypeSpec> VType;
    std::vector<std::vector<uint8_t>> States;
    TDouble2DArray Values;
  };
  TContents New = detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    detail::CheckExtent(int64_t{NC} * NR, sizeof(double) + 1);
    TContents N{ExtTab->FComment, ExtTab->FColName, ExtTab->FRowName, ExtTab->FColAtt,
                ExtTab->FRowAtt,  ExtTab->FVType,   ExtTab->FCState,  {}};
    // A non-empty identifier is stored only in a categorical column: in
    // another the slot keeps what it held (nothing, in a new column).
    for (int32_t C = 0; C < NC; ++C) {
      TVTypeSpec& V = N.VType[Ix(C)];
      if (IsCategorical(V.MScaleType)) continue;
      for (int32_t K = 0; K < MaxNominalIDs; ++K)
        if (!V.IDs[Ix(K)].empty()) V.IDs[Ix(K)] = C < OldCols ? FVType[Ix(C)].IDs[Ix(K)] : TNominalIDStr();
    }
    // The matrix's shape: at least one stored cell each way.
    N.Values.assign(Ix(std::max(NC, 1)), TDoubleArray(Ix(std::max(NR, 1)), 0.0));
    for (int32_t C = 1; C <= NC; ++C)
      for (int32_t R = 1; R <= NR; ++R) N.Values[Ix1(C)][Ix1(R)] = ExtTab->Elem(C, R);
    return N;
  });
  {
    detail::TSilence Quiet(OnChange, OnChangeSetup, OnChangeNames, OnChangeAttrib, OnChangeCellState);
    FComment.swap(New.Comment);
    FColName.swap(New.ColNames);
    FRowName.swap(New.RowNames);
    FColAtt.swap(New.ColAtt);
    FRowAtt.swap(New.RowAtt);
    FVType.swap(New.VType);
    FCState.swap(New.States);
    NumericData->Mat.swap(New.Values);
    {
      TBulkChange Bulk(*this);
      NumericData->Resize(NC, NR);  // the cells are in place: only the counts
    }
    FNrOfCols = NC;
    FNrOfRows = NR;
    if (NC != OldCols || NR != OldRows) detail::Fire(OnResize, this, OldCols, OldRows, NC, NR);
  }
  ChangedData();
  ChangedCellStates();
  ChangedSetup();
  ChangedNames();
  ChangedAttrib();
  detail::Fire(OnResize, this, OldCols, OldRows, NC, NR);
}

bool TDataTable::CopyCellStatesFrom(const TDataTable* ExtTab) {
  if (ExtTab == nullptr || ExtTab->FNrOfCols != FNrOfCols || ExtTab->FNrOfRows != FNrOfRows) return false;
  for (std::size_t C = 0; C < FCState.size(); ++C)
    std::copy(ExtTab->FCState[C].begin(), ExtTab->FCState[C].end(), FCState[C].begin());
  ChangedCellStates();
  return true;
}

void TDataTable::CopyFrom(const TDataTable* ExtTab, int32_t SourceColLo, int32_t SourceRowLo, int32_t SourceColHi,
                          int32_t SourceRowHi, int32_t DestCol, int32_t DestRow) {
  if (ExtTab == nullptr) return;
  const int32_t NC = ExtTab->FNrOfCols, NR = ExtTab->FNrOfRows;
  // Each bound clamped into the source; (0, 0) is no whole axis here.
  const auto Clamp = [](int32_t& Lo, int32_t& Hi, int32_t N) {
    Lo = std::clamp(Lo, 1, std::max(N, 1));
    Hi = std::clamp(Hi, 1, std::max(N, 1));
    if (Hi < Lo) std::swap(Lo, Hi);
  };
  Clamp(SourceColLo, SourceColHi, NC);
  Clamp(SourceRowLo, SourceRowHi, NR);
  const int64_t W = NC > 0 && NR > 0 ? SourceColHi - SourceColLo + 1 : 0;
  const int64_t H = SourceRowHi - SourceRowLo + 1;
  // The block as it is now: ExtTab may be this table.
  struct TBlock {
    std::vector<double> Values;
    std::vector<uint8_t> States;
  };
  const TBlock B = detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    detail::CheckExtent(W * H, sizeof(double) + 1);
    TBlock Out;
    Out.Values.reserve(Ix(W * H));
    Out.States.reserve(Ix(W * H));
    for (int64_t I = 0; I < W; ++I)
      for (int64_t J = 0; J < H; ++J) {
        const auto C = static_cast<int32_t>(SourceColLo + I), R = static_cast<int32_t>(SourceRowLo + J);
        Out.Values.push_back(ExtTab->Elem(C, R));
        Out.States.push_back(ExtTab->CellState(C, R));
      }
    return Out;
  });
  {
    detail::TSilence Quiet(OnChange, OnChangeSetup, OnChangeNames, OnChangeAttrib, OnChangeCellState);
    for (int64_t I = 0; I < W; ++I) {
      const int64_t C = int64_t{DestCol} + I;
      if (C < 1 || C > FNrOfCols) continue;
      for (int64_t J = 0; J < H; ++J) {
        const int64_t R = int64_t{DestRow} + J;
        if (R < 1 || R > FNrOfRows) continue;
        // Without handlers SetElem and SetCellState store and fire nothing.
        SetElem(static_cast<int32_t>(C), static_cast<int32_t>(R), B.Values[Ix(I * H + J)]);
        SetCellState(static_cast<int32_t>(C), static_cast<int32_t>(R), B.States[Ix(I * H + J)]);
      }
    }
  }
  ChangedData();
  ChangedCellStates();
}

// ---- with dynamic arrays ----

namespace {

// Value(1), ..., Value(N) as an array, built aside.
template <class ValueFn>
TDoubleArray LineValues(const TDataTable& T, int32_t N, ValueFn&& Value) {
  return detail::GuardAlloc<EORVDataTableError>(T, detail::NoHeap, [&] {
    TDoubleArray V(Ix(N));
    for (int32_t I = 1; I <= N; ++I) V[Ix1(I)] = Value(I);
    return V;
  });
}

}  // namespace

int32_t TDataTable::CopyDataColumnToArray(int32_t Col, TDoubleArray& DstArray) const {
  if (!InAxis(Col, FNrOfCols)) return -1;
  DstArray = LineValues(*this, FNrOfRows, [&](int32_t R) { return Stored(Col, R); });
  return 0;
}

int32_t TDataTable::CopyDataRowToArray(int32_t Row, TDoubleArray& DstArray) const {
  if (!InAxis(Row, FNrOfRows)) return -1;
  DstArray = LineValues(*this, FNrOfCols, [&](int32_t C) { return Stored(C, Row); });
  return 0;
}

void TDataTable::CopyDataToArray(TDouble2DArray& DstArray) const {
  TDouble2DArray A = detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    detail::CheckExtent(int64_t{FNrOfCols} * FNrOfRows, sizeof(double));
    TDouble2DArray V;
    V.reserve(Ix(FNrOfCols));
    return V;
  });
  for (int32_t C = 1; C <= FNrOfCols; ++C)
    A.push_back(LineValues(*this, FNrOfRows, [&](int32_t R) { return Stored(C, R); }));
  DstArray = std::move(A);
}

// The arrays' values go through NumericData->SetVal, so OnChange fires per
// cell (WriteCells lets the matrix write at once where nothing watches).
// With a handler they come from a copy taken first: it may change the
// caller's array between the writes. Put(i, value) writes cell i of the line.
template <class PutFn>
void TDataTable::LineFromArray(int32_t N, const TDoubleArray& SrcArray, PutFn&& Put) {
  const auto Write = [&](const TDoubleArray& Src) {
    const int64_t Last = std::min<int64_t>(N, std::ssize(Src));
    WriteCells([&] {
      for (int64_t I = 1; I <= Last; ++I) Put(static_cast<int32_t>(I), Src[Ix1(I)]);
    });
  };
  if (OnChange)
    Write(detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] { return SrcArray; }));
  else
    Write(SrcArray);
}

int32_t TDataTable::CopyDataColumnFromArray(int32_t Col, const TDoubleArray& SrcArray) {
  if (!InAxis(Col, FNrOfCols)) return -1;
  LineFromArray(FNrOfRows, SrcArray, [&](int32_t R, double V) { NumericData->SetVal(Col, R, V); });
  return 0;
}

int32_t TDataTable::CopyDataRowFromArray(int32_t Row, const TDoubleArray& SrcArray) {
  if (!InAxis(Row, FNrOfRows)) return -1;
  LineFromArray(FNrOfCols, SrcArray, [&](int32_t C, double V) { NumericData->SetVal(C, Row, V); });
  return 0;
}

namespace {

// 0 for exactly NC arrays of NR values each (at least one array), else -1.
template <class A>
int32_t FitResult(const A& Src, int32_t NC, int32_t NR) {
  const bool Fits = !Src.empty() && std::ssize(Src) == NC && std::all_of(Src.begin(), Src.end(), [NR](const auto& Col) {
                      return std::ssize(Col) == NR;
                    });
  return Fits ? 0 : -1;
}

}  // namespace

// The matrix's CopyFromArray takes each column as far as it and the first
// one reach, and skips what lies outside the table. The fit is judged by
// the array and the table as they were at the call; a handler that resized
// the table or had it adopt another matrix (the one written then is let
// go) makes it -1.
template <class A>
int32_t TDataTable::TableFromArray(const A& SrcArray) {
  const int32_t Result = FitResult(SrcArray, FNrOfCols, FNrOfRows);
  const detail::TStorageGuard Shape(detail::ShapeOf(*this));
  WriteCells([&] { NumericData->CopyFromArray(SrcArray, 1, 1); });
  return Shape.Intact() ? Result : -1;
}

int32_t TDataTable::CopyDataFromArray(const TDouble2DArray& SrcArray) { return TableFromArray(SrcArray); }
int32_t TDataTable::CopyDataFromArray(const TInt2DArray& SrcArray) { return TableFromArray(SrcArray); }

}  // namespace orv
