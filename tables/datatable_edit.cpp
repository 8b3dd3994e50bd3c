// TDataTable: inserting, removing, exchanging and mirroring rows and
// columns with their names, attributes, states and variable types, removing
// the rows that carry a state, and serializing the table into one column.
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

// Moving rows and columns. Two ways, one result: with handlers every moved
// item goes through its setter in the documented order (the *Watched
// routines, which read every index afresh, since a handler may resize the
// table); without any, the storage moves at once. Values of categorical
// columns are rounded where they move, as Elem reads them in the other way.
struct TDataTable::TLayout {
  // Nothing can see single writes: the storage may move at once. Also the
  // matrix must have the table's size (a host may resize an adopted one).
  static bool Direct(const TDataTable& T) {
    return !T.OnChange && !T.OnChangeNames && !T.OnChangeAttrib && !T.OnChangeCellState &&
           !T.OnResize && T.NumericData->NrOfColumns() == T.FNrOfCols && T.NumericData->NrOfRows() == T.FNrOfRows;
  }

  // The five events of an exchange, in their order.
  static void FireExchanged(TDataTable& T) {
    T.ChangedData();
    T.ChangedCellStates();
    T.ChangedAttrib();
    T.ChangedNames();
    T.ChangedSetup();
  }

  // The watched ways go line by line through the setters, whose handlers
  // may resize the table or make it adopt another matrix: the indices of
  // the lines still to move would no longer hold. A guard on the table's
  // shape (its extents and matrix) ends the move of lines there; what the
  // setters meet outside the table they skip.
  using TShapeGuard = detail::TStorageGuard<detail::TShapeOf<TDataTable>>;
  static TShapeGuard Shape(const TDataTable& T) { return TShapeGuard(detail::ShapeOf(T)); }

  // Resize as the table does it (OnResize after the change), the guard
  // recording the new shape before the event, so that it tells whether the
  // handler changed the table in turn.
  static void ResizeWatched(TDataTable& T, int32_t NC, int32_t NR, TShapeGuard& Shape) {
    const int32_t OldCols = T.FNrOfCols, OldRows = T.FNrOfRows;
    detail::GuardAlloc<EORVDataTableError>(T, detail::NoHeap, [&] { T.ResizeStorage(NC, NR, true); });
    Shape.Record();
    detail::Fire(T.OnResize, &T, OldCols, OldRows, NC, NR);
  }

  // ---- through the setters ----
  static void MoveRowWatched(TDataTable& T, int32_t To, int32_t From) {
    T.SetRowAttrib(To, T.RowAttrib(From));
    T.SetRowName(To, T.RowName(From));
    for (int32_t C = 1; C <= T.FNrOfCols; ++C) {
      T.SetElem(C, To, T.Elem(C, From));
      T.SetCellState(C, To, T.CellState(C, From));
    }
  }

  static void ClearRowWatched(TDataTable& T, int32_t R) {
    T.SetRowAttrib(R, 0);
    T.SetRowName(R, TDTNameStr());
    for (int32_t C = 1; C <= T.FNrOfCols; ++C) {
      T.SetElem(C, R, 0.0);
      T.SetCellState(C, R, 0);
    }
  }

  static void MoveColumnWatched(TDataTable& T, int32_t To, int32_t From, bool AllIDs) {
    T.SetColAttrib(To, T.ColAttrib(From));
    T.SetColName(To, T.ColName(From));
    if (InAxis(To, T.FNrOfCols) && InAxis(From, T.FNrOfCols)) MoveVType(T, To, From, AllIDs);
    for (int32_t R = 1; R <= T.FNrOfRows; ++R) {
      T.SetElem(To, R, T.Elem(From, R));
      T.SetCellState(To, R, T.CellState(From, R));
    }
  }

  static void ClearColumnWatched(TDataTable& T, int32_t C) {
    T.SetColAttrib(C, 0);
    T.SetColName(C, TDTNameStr());
    if (InAxis(C, T.FNrOfCols)) T.FVType[Ix1(C)] = TVTypeSpec();
    for (int32_t R = 1; R <= T.FNrOfRows; ++R) {
      T.SetElem(C, R, 0.0);
      T.SetCellState(C, R, 0);
    }
  }

  // Scale and identifiers: the scale moves; the identifiers move too when
  // AllIDs or when the moved column is categorical, else the column keeps
  // those that stood at its new place. Identifiers are short: no allocation.
  static void MoveVType(TDataTable& T, int32_t To, int32_t From, bool AllIDs) {
    TVTypeSpec& Dst = T.FVType[Ix1(To)];
    const TVTypeSpec& Src = T.FVType[Ix1(From)];
    Dst.MScaleType = Src.MScaleType;
    if (AllIDs || IsCategorical(Src.MScaleType)) Dst.IDs = Src.IDs;
  }

  // ---- the storage at once ----
  // Rows where Keep(r) stay, in their order; the others go. Nothing is
  // allocated, so nothing can fail half-way.
  template <class KeepFn>
  static void KeepRowsDirect(TDataTable& T, KeepFn&& Keep) {
    const int32_t NR = T.FNrOfRows;
    int32_t Kept = 0;
    for (int32_t R = 1; R <= NR; ++R) Kept += Keep(R) ? 1 : 0;
    const auto Compact = [&](auto& V, auto&& Moved) {
      int32_t W = 0;
      for (int32_t R = 1; R <= NR; ++R)
        if (Keep(R)) {
          if (W != R - 1) V[Ix(W)] = Moved(std::move(V[Ix1(R)]));
          ++W;
        }
    };
    const auto Same = [](auto&& X) { return std::move(X); };
    TMatrix& M = *T.NumericData;
    for (std::size_t C = 0; C < M.Mat.size(); ++C) {
      auto& Col = M.Mat[C];
      if (C < T.FVType.size() && IsCategorical(T.FVType[C].MScaleType))
        Compact(Col, [](double X) { return RoundHalfEven(X); });
      else
        Compact(Col, Same);
      Col.resize(Ix(std::max(Kept, 1)));  // shrinking: the matrix keeps at least one cell
    }
    for (auto& S : T.FCState) {
      Compact(S, Same);
      S.resize(Ix(Kept));
    }
    Compact(T.FRowName, Same);
    T.FRowName.resize(Ix(Kept));
    Compact(T.FRowAtt, Same);
    T.FRowAtt.resize(Ix(Kept));
    SetRows(T, Kept);
  }

  // The counts after the storage took its new shape; the matrix finds its
  // cells in place and allocates nothing.
  static void SetRows(TDataTable& T, int32_t NR) {
    TBulkChange Bulk(T);
    T.NumericData->Resize(T.FNrOfCols, NR);
    T.FNrOfRows = NR;
  }

  static void SetColumns(TDataTable& T, int32_t NC) {
    TBulkChange Bulk(T);
    T.NumericData->Resize(NC, T.FNrOfRows);
    T.FNrOfCols = NC;
  }

  // A value of a moved categorical column arrives as Elem reads it.
  static void RoundMoved(std::vector<double>& Col, const TVTypeSpec& V, int32_t From, int32_t To) {
    if (!IsCategorical(V.MScaleType)) return;
    for (int32_t R = From; R <= To; ++R) Col[Ix1(R)] = RoundHalfEven(Col[Ix1(R)]);
  }
};

// ---- rows ----

void TDataTable::InsertRow(int32_t ix) {
  const int32_t NR = FNrOfRows, NC = FNrOfCols;
  if (ix < 1 || int64_t{ix} > int64_t{NR} + 1) return;
  if (NR == INT32_MAX) detail::RaiseComponentError<EORVDataTableError>(*this, detail::NoHeap);  // no count for one more
  if (TLayout::Direct(*this)) {
    TMatrix& M = *NumericData;
    // Room first: the inserts that follow cannot fail.
    detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
      detail::CheckExtent(int64_t{NC} * (NR + 1), sizeof(double) + 1);
      for (auto& Col : M.Mat) Col.reserve(Ix(NR + 1));
      for (auto& S : FCState) S.reserve(Ix(NR + 1));
      FRowName.reserve(Ix(NR + 1));
      FRowAtt.reserve(Ix(NR + 1));
    });
    for (std::size_t C = 0; C < M.Mat.size(); ++C) {
      auto& Col = M.Mat[C];
      if (NR == 0) {  // the matrix's one stored cell becomes the new row
        Col.assign(1, 0.0);
        continue;
      }
      Col.insert(Col.begin() + (ix - 1), 0.0);
      if (C < FVType.size()) TLayout::RoundMoved(Col, FVType[C], ix + 1, NR + 1);
    }
    for (auto& S : FCState) S.insert(S.begin() + (ix - 1), uint8_t{0});
    FRowName.insert(FRowName.begin() + (ix - 1), TDTNameStr());
    FRowAtt.insert(FRowAtt.begin() + (ix - 1), 0);
    TLayout::SetRows(*this, NR + 1);
  } else {
    TBulkChange Bulk(*this);
    auto Shape = TLayout::Shape(*this);
    TLayout::ResizeWatched(*this, NC, NR + 1, Shape);
    for (int32_t R = NR; R >= ix && Shape.Intact(); --R) TLayout::MoveRowWatched(*this, R + 1, R);
    if (Shape.Intact()) TLayout::ClearRowWatched(*this, ix);
  }
  ChangedSetup();
}

void TDataTable::RemoveRow(int32_t ix) {
  const int32_t NR = FNrOfRows;
  if (!InAxis(ix, NR) || NR < 2) return;
  if (TLayout::Direct(*this)) {
    TLayout::KeepRowsDirect(*this, [ix](int32_t R) { return R != ix; });
  } else {
    TBulkChange Bulk(*this);
    const auto Shape = TLayout::Shape(*this);
    for (int32_t R = ix; R < NR && Shape.Intact(); ++R) TLayout::MoveRowWatched(*this, R, R + 1);
    if (Shape.Intact()) Resize(FNrOfCols, NR - 1);
  }
  ChangedSetup();
}

int32_t TDataTable::RemoveMarkedRows(int32_t FirstRow, int32_t LastRow, uint8_t CState) {
  const int32_t NR = FNrOfRows;
  if (FirstRow == 0 && LastRow == 0) {
    FirstRow = 1;
    LastRow = NR;
  }
  if (!InAxis(FirstRow, NR) || !InAxis(LastRow, NR)) return -1;
  std::vector<uint8_t> Marked(Ix(NR) + 1, 0);  // [row]
  int32_t N = 0;
  for (int32_t R = FirstRow; R <= LastRow; ++R)
    if (IfRowHasCellState(R, CState)) {
      Marked[Ix(R)] = 1;
      ++N;
    }
  {
    detail::TSilence Quiet(OnChange);
    TBulkChange Bulk(*this);
    if (N == 0) {
      // nothing moves
    } else if (TLayout::Direct(*this)) {
      TLayout::KeepRowsDirect(*this, [&](int32_t R) { return Marked[Ix(R)] == 0; });
    } else {
      const auto Shape = TLayout::Shape(*this);
      int32_t W = FirstRow;
      while (Marked[Ix(W)] == 0) ++W;  // the first marked row
      for (int32_t R = W + 1; R <= NR && Shape.Intact(); ++R)
        if (Marked[Ix(R)] == 0) TLayout::MoveRowWatched(*this, W++, R);
      for (int32_t R = W; R <= NR && Shape.Intact(); ++R) TLayout::ClearRowWatched(*this, R);
      if (Shape.Intact())
        Resize(FNrOfCols, NR - N);
      else
        N = -1;  // no row removed
    }
  }
  ChangedSetup();
  return N;
}

// ---- columns ----

void TDataTable::InsertColumn(int32_t ix) {
  const int32_t NC = FNrOfCols, NR = FNrOfRows;
  if (ix < 1 || int64_t{ix} > int64_t{NC} + 1) return;
  if (NC == INT32_MAX) detail::RaiseComponentError<EORVDataTableError>(*this, detail::NoHeap);
  if (NC > 0 && TLayout::Direct(*this)) {
    TMatrix& M = *NumericData;
    detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
      detail::CheckExtent(int64_t{NC + 1} * NR, sizeof(double) + 1);
      std::vector<double> Values(Ix(std::max(NR, 1)), 0.0);
      std::vector<uint8_t> States(Ix(NR), 0);
      TVTypeSpec VType;
      M.Mat.reserve(Ix(NC) + 1);
      FCState.reserve(Ix(NC) + 1);
      FVType.reserve(Ix(NC) + 1);
      FColName.reserve(Ix(NC) + 1);
      FColAtt.reserve(Ix(NC) + 1);
      // With the room reserved nothing below allocates.
      M.Mat.insert(M.Mat.begin() + (ix - 1), std::move(Values));
      FCState.insert(FCState.begin() + (ix - 1), std::move(States));
      FVType.insert(FVType.begin() + (ix - 1), std::move(VType));
      FColName.insert(FColName.begin() + (ix - 1), TDTNameStr());
      FColAtt.insert(FColAtt.begin() + (ix - 1), 0);
    });
    for (int32_t C = ix + 1; C <= NC + 1; ++C) TLayout::RoundMoved(M.Mat[Ix1(C)], FVType[Ix1(C)], 1, NR);
    TLayout::SetColumns(*this, NC + 1);
  } else {
    TBulkChange Bulk(*this);
    auto Shape = TLayout::Shape(*this);
    TLayout::ResizeWatched(*this, NC + 1, NR, Shape);
    for (int32_t C = NC; C >= ix && Shape.Intact(); --C) TLayout::MoveColumnWatched(*this, C + 1, C, true);
    if (Shape.Intact()) TLayout::ClearColumnWatched(*this, ix);
  }
  ChangedSetup();
}

void TDataTable::RemoveColumn(int32_t ix) {
  const int32_t NC = FNrOfCols;
  if (!InAxis(ix, NC) || NC < 2) return;
  if (TLayout::Direct(*this)) {
    // The variable types move one by one (a column that is not categorical
    // keeps the identifiers that stood at its new place); the rest at once.
    for (int32_t C = ix; C < NC; ++C) TLayout::MoveVType(*this, C, C + 1, false);
    TMatrix& M = *NumericData;
    for (int32_t C = ix + 1; C <= NC; ++C) TLayout::RoundMoved(M.Mat[Ix1(C)], FVType[Ix1(C - 1)], 1, FNrOfRows);
    M.Mat.erase(M.Mat.begin() + (ix - 1));
    FCState.erase(FCState.begin() + (ix - 1));
    FColName.erase(FColName.begin() + (ix - 1));
    FColAtt.erase(FColAtt.begin() + (ix - 1));
    FVType.pop_back();
    TLayout::SetColumns(*this, NC - 1);
  } else {
    TBulkChange Bulk(*this);
    const auto Shape = TLayout::Shape(*this);
    for (int32_t C = ix; C < NC && Shape.Intact(); ++C) TLayout::MoveColumnWatched(*this, C, C + 1, false);
    if (Shape.Intact()) Resize(NC - 1, FNrOfRows);
  }
  ChangedSetup();
}

// ---- exchanging and mirroring ----

void TDataTable::ExchangeColumns(int32_t c1, int32_t c2) {
  if (!InAxis(c1, FNrOfCols) || !InAxis(c2, FNrOfCols)) return;
  {
    TBulkChange Bulk(*this);
    NumericData->ExchangeColumns(c1, c2);
  }
  std::swap(FColAtt[Ix1(c1)], FColAtt[Ix1(c2)]);
  std::swap(FColName[Ix1(c1)], FColName[Ix1(c2)]);
  std::swap(FVType[Ix1(c1)], FVType[Ix1(c2)]);
  FCState[Ix1(c1)].swap(FCState[Ix1(c2)]);
  TLayout::FireExchanged(*this);
}

void TDataTable::ExchangeRows(int32_t r1, int32_t r2) {
  if (!InAxis(r1, FNrOfRows) || !InAxis(r2, FNrOfRows)) return;
  {
    TBulkChange Bulk(*this);
    NumericData->ExchangeRows(r1, r2);
  }
  std::swap(FRowAtt[Ix1(r1)], FRowAtt[Ix1(r2)]);
  std::swap(FRowName[Ix1(r1)], FRowName[Ix1(r2)]);
  for (auto& S : FCState) std::swap(S[Ix1(r1)], S[Ix1(r2)]);
  TLayout::FireExchanged(*this);
}

void TDataTable::MirrorColumns() {
  const auto Shape = TLayout::Shape(*this);
  for (int32_t I = FNrOfCols, J = 1; I > J && Shape.Intact(); --I, ++J) ExchangeColumns(I, J);
  TLayout::FireExchanged(*this);
}

void TDataTable::MirrorRows() {
  const auto Shape = TLayout::Shape(*this);
  for (int32_t I = 1, J = FNrOfRows; I < J && Shape.Intact(); ++I, --J) ExchangeRows(I, J);
  TLayout::FireExchanged(*this);
}

// ---- one data column ----

void TDataTable::Serialize(bool ColHeadsAsVar, bool IncludeColRowNumbers) {
  const int32_t C = FNrOfCols, R = FNrOfRows;
  if (int64_t{C} * R > INT32_MAX)
    detail::RaiseComponentError<EORVDataTableError>(*this, "too many cells to serialize into one column");
  const int32_t Rows = C * R;
  const int32_t K = 1 + (ColHeadsAsVar ? 1 : 0) + (IncludeColRowNumbers ? 2 : 0);
  const TMScaleType Scale = FindHighestMLevel(0, 0);
  // What the new rows take from the old table, aside before it changes.
  struct TOld {
    std::vector<double> Values;  // as Elem reads them, column by column
    std::vector<uint8_t> States;
    std::vector<TDTNameStr> ColNames, RowNames;
    TIntArray RowAtt;
  };
  const TOld Old = detail::GuardAlloc<EORVDataTableError>(*this, detail::NoHeap, [&] {
    TOld O{{}, {}, FColName, FRowName, FRowAtt};
    O.Values.reserve(Ix(Rows));
    O.States.reserve(Ix(Rows));
    for (int32_t S = 1; S <= C; ++S)
      for (int32_t Row = 1; Row <= R; ++Row) {
        O.Values.push_back(Elem(S, Row));
        O.States.push_back(CellState(S, Row));
      }
    return O;
  });
  {
    detail::TSilence Quiet(OnChange);
    auto Shape = TLayout::Shape(*this);
    if (K != FNrOfCols || Rows != FNrOfRows) TLayout::ResizeWatched(*this, K, Rows, Shape);
    if (ColHeadsAsVar) {
      ClearNominalIDs(1);
      for (int32_t S = 1; S <= C; ++S) AddNominalID(1, std::to_string(S) + ":" + Old.ColNames[Ix1(S)]);
      SetColName(1, "(column)");
    }
    if (IncludeColRowNumbers) {
      SetColName(K - 2, "(col. index)");
      SetColName(K - 1, "(row index)");
    }
    SetColName(K, "(data)");
    SetMScaleType(K, Scale);
    int32_t N = 1;
    for (int32_t S = 1; S <= C; ++S)
      for (int32_t Row = 1; Row <= R && Shape.Intact(); ++Row, ++N) {
        TMatrix& M = *NumericData;
        if (ColHeadsAsVar) M.SetVal(1, N, S);
        if (IncludeColRowNumbers) {
          M.SetVal(K - 1, N, Row);
          M.SetVal(K - 2, N, S);
        }
        M.SetVal(K, N, Old.Values[Ix1(N)]);
        SetRowName(N, Old.RowNames[Ix1(Row)]);
        SetRowAttrib(N, Old.RowAtt[Ix1(Row)]);
        // The index columns hold numbers of their own, whatever the old
        // cells at their places held.
        for (int32_t Col = 1; Col < K; ++Col) SetCellState(Col, N, 0);
        SetCellState(K, N, Old.States[Ix1(N)]);
      }
  }
  ChangedData();
}

}  // namespace orv
