// TDataTable: cell states as a whole (tests, counts, changes, the two
// markings) and filling marked cells.
#include <algorithm>
#include <cstdint>

#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::InAxis;
using detail::Ix1;

namespace {

using TStateGrid = std::vector<std::vector<uint8_t>>;

// The states of columns C0..C1 and rows R0..R1 (valid, possibly empty
// ranges) folded with Op into Acc.
template <class T, class Op>
T FoldStates(const TStateGrid& S, int32_t C0, int32_t C1, int32_t R0, int32_t R1, T Acc, Op F) {
  for (int32_t C = C0; C <= C1; ++C) {
    const auto& Col = S[Ix1(C)];
    for (int32_t R = R0; R <= R1; ++R) Acc = F(Acc, Col[Ix1(R)]);
  }
  return Acc;
}

template <class Pred>
int32_t CountStates(const TStateGrid& S, int32_t C0, int32_t C1, int32_t R0, int32_t R1, Pred P) {
  return SatInt32(FoldStates(S, C0, C1, R0, R1, int64_t{0}, [&](int64_t N, uint8_t St) { return N + (P(St) ? 1 : 0); }));
}

uint8_t UnionOf(const TStateGrid& S, int32_t C0, int32_t C1, int32_t R0, int32_t R1) {
  return FoldStates(S, C0, C1, R0, R1, uint8_t{0}, [](uint8_t U, uint8_t St) { return static_cast<uint8_t>(U | St); });
}

template <class F>
void MapStates(TStateGrid& S, F Map) {
  for (auto& Col : S)
    for (uint8_t& St : Col) St = Map(St);
}

}  // namespace

// ---- tests and counts ----

bool TDataTable::IfRowHasCellState(int32_t row, uint8_t CellState) const {
  if (!InAxis(row, FNrOfRows)) return false;
  return (UnionOf(FCState, 1, FNrOfCols, row, row) & CellState) != 0;
}

bool TDataTable::IfColHasCellState(int32_t col, uint8_t CellState) const {
  if (!InAxis(col, FNrOfCols)) return false;
  return (UnionOf(FCState, col, col, 1, FNrOfRows) & CellState) != 0;
}

bool TDataTable::IfAnyCellHasCellState(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow,
                                       uint8_t CellState) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  return (UnionOf(FCState, LowCol, HighCol, LowRow, HighRow) & CellState) != 0;
}

int32_t TDataTable::CountMarkedCellsInRow(int32_t Row, uint8_t StateMask) const {
  if (!InAxis(Row, FNrOfRows)) return 0;
  return CountStates(FCState, 1, FNrOfCols, Row, Row, [=](uint8_t S) { return (S & StateMask) != 0; });
}

int32_t TDataTable::CountMarkedCellsInColumn(int32_t Col, uint8_t StateMask) const {
  if (!InAxis(Col, FNrOfCols)) return 0;
  return CountStates(FCState, Col, Col, 1, FNrOfRows, [=](uint8_t S) { return (S & StateMask) != 0; });
}

int32_t TDataTable::CountEmptyCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  return CountStates(FCState, LowCol, HighCol, LowRow, HighRow, [](uint8_t S) { return (S & detail::csEmpty) != 0; });
}

int32_t TDataTable::CountImputedCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  return CountStates(FCState, LowCol, HighCol, LowRow, HighRow, [](uint8_t S) { return (S & detail::csImputed) != 0; });
}

int32_t TDataTable::CountValidCells(int32_t LowCol, int32_t LowRow, int32_t HighCol, int32_t HighRow) const {
  MakeValidColRange(LowCol, HighCol);
  MakeValidRowRange(LowRow, HighRow);
  return CountStates(FCState, LowCol, HighCol, LowRow, HighRow, detail::IsNumericState);
}

// ---- changes ----

void TDataTable::SetAllCellStates(uint8_t CellState) {
  MapStates(FCState, [=](uint8_t) { return CellState; });
  ChangedCellStates();
}

void TDataTable::UnmarkAllCells() {
  MapStates(FCState, [](uint8_t S) { return static_cast<uint8_t>(S & ~(detail::csMarking1 | detail::csMarking2)); });
  ChangedCellStates();
}

void TDataTable::InvertCellStates(uint8_t StateMask) {
  MapStates(FCState, [=](uint8_t S) { return static_cast<uint8_t>(S ^ StateMask); });
  ChangedCellStates();
}

void TDataTable::ExchangeMarkings() {
  MapStates(FCState, [](uint8_t S) { return static_cast<uint8_t>((S & 0x3F) | ((S & 0x40) << 1) | ((S & 0x80) >> 1)); });
  ChangedCellStates();
}

int32_t TDataTable::FillMarkedCells(double Value, uint8_t StateMask) {
  int64_t Written = 0;
  // Every write may reach a handler that resizes the table or replaces its
  // matrix: the bounds and NumericData are read afresh for every cell.
  const TMatrixInUse InUse(*this);
  for (int32_t C = 1; C <= FNrOfCols; ++C)
    for (int32_t R = 1; C <= FNrOfCols && R <= FNrOfRows; ++R) {
      if ((FCState[Ix1(C)][Ix1(R)] & StateMask) == 0) continue;
      if (!InAxis(C, NumericData->NrOfColumns()) || !InAxis(R, NumericData->NrOfRows())) continue;
      NumericData->SetVal(C, R, Value);
      ++Written;
    }
  if (Written > 0) ChangedData();
  return SatInt32(Written);
}

}  // namespace orv
