// TDataTable: nominal identifiers, cells by identifier, categorical columns,
// category counts and contingency tables, and the tests on a column's values.
#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "linalg/component.h"
#include "orvcalckit/ORV_datatable.h"
#include "orvcorekit/Orv_stringl.h"
#include "tables/conttab.h"
#include "tables/datatable_rules.h"

namespace orv {

using detail::InAxis;
using detail::IsCategorical;
using detail::Ix;
using detail::Ix1;

namespace {

int32_t FirstFreeSlot(const TVTypeSpec& V) {
  const auto It = std::find_if(V.IDs.begin(), V.IDs.end(), [](const TNominalIDStr& S) { return S.empty(); });
  return It == V.IDs.end() ? 0 : static_cast<int32_t>(It - V.IDs.begin()) + 1;
}

// The text of a stored value that refers to no slot: the rounded integer
// where it fits an identifier, else a short scientific form that cannot be
// taken for another integer.
TNominalIDStr NoSlotText(double V) {
  const double K = RoundHalfEven(V);
  if (K >= -999999999.0 && K <= 9999999999.0) return std::to_string(Round(K));
  return StripLTBlanks(Str(K, NominalIDLength, -1));
}

}  // namespace

// ---- identifier table ----

int32_t TDataTable::OrdinalOfNominalID(int32_t Col, const TNominalIDStr& ID, bool IgnoreCase) const {
  if (!InAxis(Col, FNrOfCols)) return 0;
  const TVTypeSpec& V = FVType[Ix1(Col)];
  if (!IsCategorical(V.MScaleType)) return 0;
  const std::string Cut = detail::CutText(ID, NominalIDLength);
  if (Cut.empty()) return 0;
  return StringIx(Cut, IgnoreCase, std::span<const std::string>(V.IDs));
}

int32_t TDataTable::AddNominalID(int32_t Col, const TNominalIDStr& MScaleID) {
  if (!InAxis(Col, FNrOfCols)) return 0;
  if (const int32_t K = OrdinalOfNominalID(Col, MScaleID, true); K > 0) return K;
  TVTypeSpec& V = FVType[Ix1(Col)];
  const int32_t Slot = FirstFreeSlot(V);
  if (Slot == 0) return 0;
  V.IDs[Ix1(Slot)] = detail::CutText(MScaleID, NominalIDLength);
  V.MScaleType = stNominal;
  ChangedSetup();
  return Slot;
}

void TDataTable::ClearNominalIDs(int32_t Col) {
  if (!InAxis(Col, FNrOfCols)) return;
  for (TNominalIDStr& ID : FVType[Ix1(Col)].IDs) ID.clear();
  ChangedSetup();
}

int32_t TDataTable::CountNominalIDs(int32_t Col) const {
  if (!InAxis(Col, FNrOfCols)) return 0;
  const auto& IDs = FVType[Ix1(Col)].IDs;
  return static_cast<int32_t>(std::count_if(IDs.begin(), IDs.end(), [](const TNominalIDStr& S) { return !S.empty(); }));
}

TNominalIDStr TDataTable::NominalID(int32_t ColIx, int32_t OrdVal) const {
  if (!InAxis(ColIx, FNrOfCols) || !InAxis(OrdVal, MaxNominalIDs)) return {};
  const TVTypeSpec& V = FVType[Ix1(ColIx)];
  return IsCategorical(V.MScaleType) ? V.IDs[Ix1(OrdVal)] : TNominalIDStr();
}

void TDataTable::SetNominalID(int32_t ColIx, int32_t OrdVal, const TNominalIDStr& MScaleID) {
  if (!InAxis(ColIx, FNrOfCols) || !InAxis(OrdVal, MaxNominalIDs)) return;
  TVTypeSpec& V = FVType[Ix1(ColIx)];
  if (MScaleID.empty())
    V.IDs[Ix1(OrdVal)].clear();
  else if (IsCategorical(V.MScaleType))
    V.IDs[Ix1(OrdVal)] = detail::CutText(MScaleID, NominalIDLength);
  ChangedSetup();
}

// ---- cells by identifier ----

TNominalIDStr TDataTable::ElemNominal(int32_t ACol, int32_t ARow) const {
  if (!ValidCell(ACol, ARow)) return {};
  const TVTypeSpec& V = FVType[Ix1(ACol)];
  if (!IsCategorical(V.MScaleType)) return {};
  const double X = Stored(ACol, ARow);
  const int32_t K = detail::SlotOf(X);
  return K > 0 ? V.IDs[Ix1(K)] : NoSlotText(X);
}

void TDataTable::SetElemNominal(int32_t ACol, int32_t ARow, const TNominalIDStr& Value) {
  if (!ValidCell(ACol, ARow)) return;
  int32_t K = OrdinalOfNominalID(ACol, Value, true);
  if (K < 1) {
    TVTypeSpec& V = FVType[Ix1(ACol)];
    K = FirstFreeSlot(V);
    if (K == 0) detail::RaiseComponentError<EORVDataTableError>(*this, "number of available nominal values exceeded");
    V.IDs[Ix1(K)] = detail::CutText(Value, NominalIDLength);
  }
  {
    const TMatrixInUse InUse(*this);
    NumericData->SetVal(ACol, ARow, K);
  }
  ChangedData();
}

// ---- categorical columns and counts ----

TIntArray TDataTable::ListOfCategorialVars() const {
  TIntArray R;
  for (int32_t C = 1; C <= FNrOfCols; ++C)
    if (IsCategorical(FVType[Ix1(C)].MScaleType)) R.push_back(C);
  return R;
}

int32_t TDataTable::ScanForCatValues(int32_t ACol, int32_t LowRow, int32_t HighRow, TIntArray& OrdList) const {
  if (!InAxis(ACol, FNrOfCols)) return -1;
  if (!IsCategorical(FVType[Ix1(ACol)].MScaleType)) return 0;
  MakeValidRowRange(LowRow, HighRow);
  TIntArray Counts(MaxNominalIDs, 0);
  int32_t Invalid = 0;
  for (int32_t R = LowRow; R <= HighRow; ++R) {
    const int32_t K = detail::SlotOf(Stored(ACol, R));
    if (K > 0)
      ++Counts[Ix1(K)];
    else
      ++Invalid;
  }
  OrdList = std::move(Counts);
  return Invalid;
}

int32_t TDataTable::CreateContingencyTable(int32_t Col1, int32_t Col2, int32_t LowRow, int32_t HighRow,
                                           TInt2DArray& ContTab) const {
  if (!InAxis(Col1, FNrOfCols) || !InAxis(Col2, FNrOfCols)) return -1;
  if (!IsCategorical(FVType[Ix1(Col1)].MScaleType) || !IsCategorical(FVType[Ix1(Col2)].MScaleType)) return -2;
  MakeValidRowRange(LowRow, HighRow);
  constexpr int32_t N = MaxNominalIDs;
  std::vector<int32_t> Counts(Ix(N * N), 0);  // [slot 1 - 1][slot 2 - 1], one block
  // Rows beyond an adopted matrix that its host made smaller read 0.0,
  // which refers to no slot.
  const TMatrix& M = *NumericData;
  const bool InData = InAxis(Col1, M.NrOfColumns()) && InAxis(Col2, M.NrOfColumns());
  const int32_t DataRows = InData ? std::min(HighRow, M.NrOfRows()) : LowRow - 1;
  bool Invalid = DataRows < HighRow;
  const double* X = InData ? M.Mat[Ix1(Col1)].data() : nullptr;
  const double* Y = InData ? M.Mat[Ix1(Col2)].data() : nullptr;
  const auto& S1 = FCState[Ix1(Col1)];
  const auto& S2 = FCState[Ix1(Col2)];
  for (int32_t R = LowRow; R <= DataRows; ++R) {
    const int32_t A = detail::SlotOf(X[Ix1(R)]);
    const int32_t B = detail::SlotOf(Y[Ix1(R)]);
    if (A == 0 || B == 0) {
      Invalid = true;
      continue;
    }
    if (detail::IsNumericState(S1[Ix1(R)]) && detail::IsNumericState(S2[Ix1(R)])) ++Counts[Ix((A - 1) * N + B - 1)];
  }
  // The largest categories counted give the size.
  int32_t NA = 0, NB = 0;
  for (int32_t I = 0; I < N; ++I)
    for (int32_t J = 0; J < N; ++J)
      if (Counts[Ix(I * N + J)] != 0) {
        NA = std::max(NA, I + 1);
        NB = std::max(NB, J + 1);
      }
  TInt2DArray T(Ix(NA + 1), TIntArray(Ix(NB + 1), 0));
  const detail::TContTabRef Tab(T);
  for (int32_t I = 0; I < NA; ++I)
    for (int32_t J = 0; J < NB; ++J) {
      const int32_t C = Counts[Ix(I * N + J)];
      Tab.Cell(I, J) = C;
      Tab.RowTotal(J) += C;
      Tab.ColTotal(I) += C;
      Tab.GrandTotal() += C;
    }
  ContTab = std::move(T);
  return Invalid ? -3 : 0;
}

// ---- column tests ----

bool TDataTable::CheckDichotomousColumn(int32_t col, double& V1, double& V2) const {
  V1 = 0.0;
  V2 = 0.0;
  const int32_t N = FNrOfRows;
  if (N <= 1) return false;
  V1 = Stored(col, 1);
  V2 = V1;
  int32_t R = 1;
  while (R < N && Stored(col, R) == V1) ++R;
  if (Stored(col, R) != V1) V2 = Stored(col, R);
  bool Result = true;
  while (R < N && Result) {
    ++R;
    const double X = Stored(col, R);
    if (X != V1) Result = X == V2;
  }
  if (V1 == V2) return false;
  if (V1 > V2) std::swap(V1, V2);
  return Result;
}

bool TDataTable::IsConstantColumn(int32_t ColIx) const {
  if (!InAxis(ColIx, FNrOfCols)) return false;
  const double First = Stored(ColIx, 1);
  for (int32_t R = 2; R <= FNrOfRows; ++R)
    if (Stored(ColIx, R) != First) return false;
  return true;
}

TMScaleType TDataTable::FindHighestMLevel(int32_t FirstCol, int32_t LastCol) const {
  MakeValidColRange(FirstCol, LastCol);
  TMScaleType Result = stNominal;
  for (int32_t C = FirstCol; C <= LastCol; ++C) Result = std::max(Result, FVType[Ix1(C)].MScaleType);
  return Result;
}

TMScaleType TDataTable::FindLowestMLevel(int32_t FirstCol, int32_t LastCol) const {
  MakeValidColRange(FirstCol, LastCol);
  TMScaleType Result = stRatio;
  for (int32_t C = FirstCol; C <= LastCol; ++C) Result = std::min(Result, FVType[Ix1(C)].MScaleType);
  return Result;
}

}  // namespace orv
