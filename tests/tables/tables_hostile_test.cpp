// Host code that resizes, empties or moves what a routine of ORV_datatable or
// ORV_statis works on, from the routine's own events, MathFeedBackProc and
// the host's callbacks, on its first, second and a middle call
// (support/hostile.h). A table reallocates by adopting a copy of its matrix,
// which frees the matrix of its own while the routine may still work on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "orvcalckit/ORV_statis.h"
#include "support/components.h"
#include "support/hostile.h"
#include "tables/datatable_rules.h"

namespace orv {
namespace {

using namespace test::hostile_names;
using test::Values;

// NC x NR, cell (c, r) a value naming it (in column 2, an ordinal one, a
// slot), every third cell marked 0x40, rows and columns named and numbered.
void Sample(TDataTable& T, int32_t NC = 4, int32_t NR = 6) {
  T.Resize(NC, NR);
  for (int32_t C = 1; C <= NC; ++C) {
    T.SetColName(C, {'c', char('0' + (NC + 1 - C) % 10)});
    T.SetColAttrib(C, 10 - C);
    for (int32_t R = 1; R <= NR; ++R) {
      T.SetElem(C, R, C == 2 ? (R * 5 % 7) + 1 : 10.0 * C + (R * 7 % NR) + 0.5 * (C % 2));
      if ((C + R) % 3 == 0) T.SetCellState(C, R, 0x40);
    }
  }
  for (int32_t R = 1; R <= NR; ++R) {
    T.SetRowName(R, {'r', char('0' + R * 5 % NR % 10)});
    T.SetRowAttrib(R, R * 3 % NR);
  }
  T.SetMScaleType(2, stOrdinal);
}

// The extents, whether the table adopted another matrix, then every value,
// state, attribute and name (its length and first byte) in order.
std::vector<double> Table(const TDataTable& T, const TMatrix* Own) {
  std::vector<double> V{double(T.NrOfColumns()), double(T.NrOfRows()), double(T.NumericData != Own)};
  const auto Name = [&](const std::string& S) { return S.size() * 256.0 + (S.empty() ? 0 : S[0]); };
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C) {
    V.insert(V.end(), {double(T.ColAttrib(C)), Name(T.ColName(C)), double(T.MScaleType(C))});
    for (int32_t R = 1; R <= T.NrOfRows(); ++R) V.insert(V.end(), {T.Elem(C, R), double(T.CellState(C, R))});
  }
  for (int32_t R = 1; R <= T.NrOfRows(); ++R) V.insert(V.end(), {double(T.RowAttrib(R)), Name(T.RowName(R))});
  return V;
}

// Run(T, V) on a sample table T and a vector V of 8 elements, Wire(H, T, V)
// having set the attack; the routine's result first in the outcome.
template <class Wire, class Op>
THostileOutcome OnTable(THostile& H, Wire&& Attach, Op&& Run) {
  TDataTable T(nullptr);
  TVector V(nullptr);
  Sample(T);
  V.Resize(8);
  const TMatrix* Own = T.NumericData;
  Attach(H, T, V);
  const double Result = Run(T, V);
  return {Outcome(Result, Table(T, Own), Values(V))};
}
// The table's event Event attacks the table; V's OnChange the table, or V.
template <auto Event>
void TableBy(THostile& H, TDataTable& T, TVector&) {
  T.*Event = H.On(T);
}
void TableByV(THostile& H, TDataTable& T, TVector& V) { V.OnChange = H.On(T); }
void VByV(THostile& H, TDataTable&, TVector& V) { V.OnChange = H.On(V); }

// A row: Run on the sample table, Attach wiring the attack (OnTable).
template <auto Attach>
THostileCase OnTableRow(const char* Name, std::function<double(TDataTable&, TVector&)> Run,
                        decltype(THostileCase::Failed) Failed) {
  return {Name, [Run](THostile& H) { return OnTable(H, Attach, Run); }, std::move(Failed)};
}

// A routine that ends when a handler resized the table or made it adopt
// another matrix leaves another result (first), or other extents, or
// another matrix (then) than undisturbed.
bool Ended(const std::vector<double>& Got, const std::vector<double>& Undisturbed) {
  return Got[0] != Undisturbed[0] || !std::equal(Got.begin() + 1, Got.begin() + 4, Undisturbed.begin() + 1);
}

// The array's storage cut to its size, so that a read through a size kept
// from before leaves it (a shrunk vector keeps its storage otherwise).
void CutToSize(TDoubleArray& A) { A.shrink_to_fit(); }
template <class T>
void CutToSize(std::vector<std::vector<T>>& A) {
  for (auto& Col : A) Col.shrink_to_fit();
  A.shrink_to_fit();
}

// A copy from an array into the table, whose OnChange attacks the array.
template <class A>
THostileOutcome FromArray(THostile& H, A& Src, int32_t (*Copy)(TDataTable&, const A&)) {
  TDataTable T(nullptr);
  Sample(T);
  const TMatrix* Own = T.NumericData;
  T.OnChange = H.On(Src, [&] { CutToSize(Src); });
  const int32_t Result = Copy(T, Src);
  return {Outcome(Result, Table(T, Own))};
}

// CalcCovar of Mode into a 4 x 4 matrix, MathFeedBackProc or the matrix's
// OnChange attacking the table or the matrix; Now the same call,
// undisturbed, on the table and into a matrix as they are now.
enum class TCovarAttack { TableByFeedback, MatrixByFeedback, MatrixByEvent };
THostileOutcome Covar(THostile& H, int32_t Mode, TCovarAttack Attack) {
  TDataTable T(nullptr);
  TMatrix M(nullptr);
  Sample(T);
  M.Resize(4, 4);
  if (Attack == TCovarAttack::MatrixByEvent)
    M.OnChange = H.On(M);
  else if (Attack == TCovarAttack::MatrixByFeedback)
    MathFeedBackProc = H.On(M);
  else
    MathFeedBackProc = H.On(T);
  const bool Ok = T.CalcCovar(&M, 1, 4, 1, 6, Mode);
  MathFeedBackProc = nullptr;
  M.OnChange = nullptr;
  TMatrix Again(nullptr);
  Again.Resize(M.NrOfColumns(), M.NrOfRows());
  const bool OkAgain = T.CalcCovar(&Again, 1, 4, 1, 6, Mode);
  return {Outcome(Ok, Cells(M)), Outcome(OkAgain, Cells(Again))};
}

// TCrossValidator on 8 rows, a model predicting the mean of the training
// responses; Attack(H, CV, X, Y, Response) wires the attack.
template <class Wire>
THostileOutcome CrossValidate(THostile& H, Wire&& Attack) {
  TCrossValidator CV(nullptr);
  TMatrix X(nullptr), Y(nullptr);
  test::FillRows(X, {{1, 2}, {2, 1}, {3, 5}, {4, 3}, {5, 8}, {6, 2}, {7, 9}, {8, 4}});
  test::FillRows(Y, {{1}, {0}, {1}, {1}, {0}, {1}, {0}, {1}});
  CV.SetXMat(&X);
  CV.SetYMat(&Y);
  double Mean = 0;
  CV.OnModelCreateRequest = [&](TObject*, int32_t, const TIntArray& Rows, bool& Ok) {
    Mean = 0;
    for (const int32_t R : Rows) Mean += Y.GetVal(1, R) / double(Rows.size());
    Ok = true;
  };
  CV.OnModelApplyRequest = [&](TObject*, int32_t, const TDoubleArray&, TDoubleArray& Out) { Out[0] = Mean; };
  Attack(H, CV, X, Y);
  SetRandSeed(17);
  bool Ok;
  try {
    Ok = CV.Execute();
  } catch (const EORVStatisError&) {
    return {Outcome(-1)};
  }
  return {Outcome(Ok, CV.RMSEP(1), CV.TPRate(1), CV.FPRate(1))};
}

// S := V's elements as a handler left them, sorted.
void SortedNow(const TVector& V, TVector& S) {
  test::FillValues(S, Values(V));
  S.SortElems(true, 0, 0);
}

const THostileCase TableCases[] = {
    {"TDataTable::CopyDataColumnFromArray, OnChange changes the source array",
     [](THostile& H) {
       TDoubleArray Src{1, 2, 3, 4, 5, 6};
       return FromArray<TDoubleArray>(
           H, Src, [](TDataTable& T, const TDoubleArray& S) { return T.CopyDataColumnFromArray(3, S); });
     }},
    {"TDataTable::CopyDataRowFromArray, OnChange changes the source array",
     [](THostile& H) {
       TDoubleArray Src{1, 2, 3, 4};
       return FromArray<TDoubleArray>(
           H, Src, [](TDataTable& T, const TDoubleArray& S) { return T.CopyDataRowFromArray(2, S); });
     }},
    {"TDataTable::CopyDataFromArray of doubles, OnChange changes the source array",
     [](THostile& H) {
       TDouble2DArray Src(4, TDoubleArray{1, 2, 3, 4, 5, 6});
       return FromArray<TDouble2DArray>(H, Src,
                                        [](TDataTable& T, const TDouble2DArray& S) { return T.CopyDataFromArray(S); });
     }},
    {"TDataTable::CopyDataFromArray of integers, OnChange changes the source array",
     [](THostile& H) {
       TInt2DArray Src(4, TIntArray{1, 2, 3, 4, 5, 6});
       return FromArray<TInt2DArray>(H, Src,
                                     [](TDataTable& T, const TInt2DArray& S) { return T.CopyDataFromArray(S); });
     }},
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::CopyDataColumnFromArray, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) {
          return T.CopyDataColumnFromArray(1, {1, 2, 3, 4, 5, 6});
        },
        CheckedAccessorsOnly),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::CopyDataFromArray, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.CopyDataFromArray(TDouble2DArray(4, TDoubleArray(6, 1.5))); },
        ResultIs(-1)),
    OnTableRow<TableBy<&TDataTable::OnChangeCellState>>(
        "TDataTable::RemoveRow, OnChangeCellState resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.RemoveRow(2), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChangeNames>>(
        "TDataTable::RemoveMarkedRows, OnChangeNames resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.RemoveMarkedRows(0, 0, 0x40); }, ResultIs(-1)),
    OnTableRow<TableBy<&TDataTable::OnChangeNames>>(
        "TDataTable::InsertRow, OnChangeNames resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.InsertRow(2), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChangeAttrib>>(
        "TDataTable::InsertColumn, OnChangeAttrib resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.InsertColumn(1), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::RemoveColumn, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.RemoveColumn(1), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChangeNames>>(
        "TDataTable::MirrorRows, OnChangeNames resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.MirrorRows(), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChangeSetup>>(
        "TDataTable::MirrorColumns, OnChangeSetup resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.MirrorColumns(), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChangeNames>>(
        "TDataTable::Serialize, OnChangeNames resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.Serialize(true, true), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnSortExchange>>(
        "TDataTable::SortRows, OnSortExchange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.SortRows(1, true, 0, 0, 0, 0, true), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnSortExchange>>(
        "TDataTable::SortCols, OnSortExchange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.SortCols(3, false, 0, 0, 0, 0, true), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnSortExchange>>(
        "TDataTable::SortRowNames, OnSortExchange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.SortRowNames(true, 0, 0, 0, 0), 0; }, Ended),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::SortColAttributes, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.SortColAttributes(true, 0, 0, 0, 0), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::FillMarkedCells, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.FillMarkedCells(-1, 0x40); }, CheckedAccessorsOnly),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::SetElemNominal, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.SetElemNominal(2, 3, "new"), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::Clear, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector&) { return T.Clear(), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableBy<&TDataTable::OnChange>>(
        "TDataTable::StandardizeNumCellColumns, OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector& V) { return T.StandardizeNumCellColumns(&V, nullptr), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableByV>(
        "TDataTable::StandardizeNumCellColumns, the means' OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector& V) { return T.StandardizeNumCellColumns(&V, &V), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableByV>(
        "TDataTable::MeanCenterNumCellColumns, the means' OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector& V) { return T.MeanCenterNumCellColumns(&V), 0; }, CheckedAccessorsOnly),
    OnTableRow<TableByV>(
        "TDataTable::StandardizeNumCellRows, the means' OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector& V) {
          T.SetMScaleType(2, stInterval);
          return T.StandardizeNumCellRows(&V, &V), 0;
        },
        CheckedAccessorsOnly),
    OnTableRow<TableByV>(
        "TDataTable::MeanCenterNumCellRows, the means' OnChange resizes the table or adopts a matrix",
        [](TDataTable& T, TVector& V) {
          T.SetMScaleType(2, stInterval);
          return T.MeanCenterNumCellRows(&V), 0;
        },
        CheckedAccessorsOnly),
    {"TDataTable::CopyCellsToVector, DestVect's OnChange resizes the table or adopts a matrix",
     [](THostile& H) {
       TDataTable T(nullptr);
       TVector V(nullptr);
       Sample(T);
       V.OnChange = H.On(T);
       const int32_t N = T.CopyCellsToVector(0, 0, 0, 0, 0x40, &V);
       return THostileOutcome{Outcome(N, Values(V))};
     }},
    OnTableRow<VByV>(
        "TDataTable::CopyCellsToVector, DestVect's OnChange resizes DestVect",
        [](TDataTable& T, TVector& V) { return T.CopyCellsToVector(0, 0, 0, 0, 255, &V); }, CheckedAccessorsOnly),
    {"TDataTable::CalcCovar, MathFeedBackProc resizes the table or adopts a matrix",
     [](THostile& H) { return Covar(H, 1, TCovarAttack::TableByFeedback); }},
    {"TDataTable::CalcCovar, MathFeedBackProc resizes the result",
     [](THostile& H) { return Covar(H, 1, TCovarAttack::MatrixByFeedback); }, ResultIs(0)},
    {"TDataTable::CalcCovar, the result's OnChange resizes the result",
     [](THostile& H) { return Covar(H, 0, TCovarAttack::MatrixByEvent); }, ResultIs(0)},
    {"TDataTable::AssignAnotherDataMatrix, OnResize resizes the table or adopts a matrix",
     [](THostile& H) {
       TMatrix M(nullptr), M2(nullptr);  // adopted: they outlive the tables
       TDataTable T(nullptr);
       Sample(T);
       test::FillRows(M, {{1, 2, 3}, {4, 5, 6}});
       M2.Assign(&M);
       std::vector<double> Left, Now;  // the table as the handler left it; that adopting
       T.OnResize = H.On(T, [&] {
         Left = Table(T, &M);
         TDataTable Copy(nullptr);
         Copy.Assign(&T);
         Copy.OnResize = nullptr;
         Copy.AssignAnotherDataMatrix(&M2);
         Now = Table(Copy, &M2);
       });
       T.AssignAnotherDataMatrix(&M);
       return THostileOutcome{Table(T, &M), Now, Left};
     }},
};

const THostileCase StatisCases[] = {
    {"TCrossValidator::Execute, OnModelCreateRequest resizes XMat",
     [](THostile& H) {
       return CrossValidate(H, [](THostile& H, TCrossValidator& CV, TMatrix& X, TMatrix&) {
         auto Create = CV.OnModelCreateRequest;
         auto Attack = H.On(X);
         CV.OnModelCreateRequest = [=](TObject* S, int32_t P, const TIntArray& Rows, bool& Ok) mutable {
           Create(S, P, Rows, Ok);
           Attack();
         };
       });
     },
     ResultIs(0)},
    {"TCrossValidator::Execute, OnModelApplyRequest resizes YMat",
     [](THostile& H) {
       return CrossValidate(H, [](THostile& H, TCrossValidator& CV, TMatrix&, TMatrix& Y) {
         auto Apply = CV.OnModelApplyRequest;
         auto Attack = H.On(Y);
         CV.OnModelApplyRequest = [=](TObject* S, int32_t P, const TDoubleArray& X, TDoubleArray& Out) mutable {
           Apply(S, P, X, Out);
           Attack();
         };
       });
     },
     ResultIs(0)},
    {"TCrossValidator::Execute, OnModelApplyRequest changes the response array",
     [](THostile& H) {
       return CrossValidate(H, [](THostile& H, TCrossValidator& CV, TMatrix&, TMatrix&) {
         auto Apply = CV.OnModelApplyRequest;
         auto Held = std::make_shared<TDoubleArray>();
         auto Attack = H.On(*Held);
         CV.OnModelApplyRequest = [=](TObject* S, int32_t P, const TDoubleArray& X, TDoubleArray& Out) mutable {
           Apply(S, P, X, Out);
           Held->swap(Out);  // the attack on the array the validator handed over
           Attack();
           Held->swap(Out);
         };
       });
     },
     ResultIs(-1)},
    {"TCrossValidator::Execute, OnCheckAbort resizes XMat",
     [](THostile& H) {
       return CrossValidate(H, [](THostile& H, TCrossValidator& CV, TMatrix& X, TMatrix&) {
         auto Attack = H.On(X);
         CV.OnCheckAbort = [=](TObject*, bool&) mutable { Attack(); };
       });
     },
     ResultIs(0)},
    {"EstimateProbDensity, the feedback resizes Data and Density",
     [](THostile& H) {
       TVector Data(nullptr), Density(nullptr);
       test::FillValues(Data, {3, 1, 4, 1, 5, 9, 2, 6});
       Density.Resize(3);
       auto AttackData = H.On(Data), AttackDensity = H.On(Density);
       int32_t MinIx = 0, MaxIx = 0, Calls = 0;
       EstimateProbDensity(&Data, &Density, 0, 10, 1, 2, 10, MinIx, MaxIx,
                           [&](void*, double, double) { (++Calls % 2 ? AttackData : AttackDensity)(); });
       return THostileOutcome{Outcome(MinIx, MaxIx, Values(Density))};
     }},
    {"EstimateProbDensity, Data's OnSortExchange resizes Data",
     [](THostile& H) {
       TVector Data(nullptr), Density(nullptr);
       test::FillValues(Data, {3, 1, 4, 1, 5, 9, 2, 6});
       Data.OnSortExchange = H.On(Data);
       int32_t MinIx = 0, MaxIx = 0;
       EstimateProbDensity(&Data, &Density, 0, 10, 1, 2, 10, MinIx, MaxIx, nullptr);
       TVector Now(nullptr), Again(nullptr);
       SortedNow(Data, Now);
       int32_t MinNow = 0, MaxNow = 0;
       EstimateProbDensity(&Now, &Again, 0, 10, 1, 2, 10, MinNow, MaxNow, nullptr);
       return THostileOutcome{Outcome(MinIx, MaxIx, Values(Density)), Outcome(MinNow, MaxNow, Values(Again))};
     }},
    {"EstimateProbDensity, Density's OnChange resizes Density",
     [](THostile& H) {
       TVector Data(nullptr), Density(nullptr);
       test::FillValues(Data, {3, 1, 4, 1, 5, 9, 2, 6});
       Density.OnChange = H.On(Density);
       int32_t MinIx = 0, MaxIx = 0;
       EstimateProbDensity(&Data, &Density, 0, 10, 1, 2, 10, MinIx, MaxIx, nullptr);
       return THostileOutcome{Outcome(MinIx, MaxIx, Values(Density))};
     },
     CheckedAccessorsOnly},
    {"PerformKSNormalityTest, Data's OnSortExchange resizes Data",
     [](THostile& H) {
       TVector Data(nullptr);
       test::FillValues(Data, {0.3, -1.2, 0.8, 2.1, -0.4, 0.1, -2.0, 1.1, 0.5});
       Data.OnSortExchange = H.On(Data);
       const double D = PerformKSNormalityTest(&Data, false);
       TVector Now(nullptr);
       SortedNow(Data, Now);
       return THostileOutcome{Outcome(D), Outcome(PerformKSNormalityTest(&Now, true))};
     }},
    {"PerformLillieforsTest, Data's OnSortExchange resizes Data",
     [](THostile& H) {
       TVector Data(nullptr);
       test::FillValues(Data, {0.3, -1.2, 0.8, 2.1, -0.4, 0.1, -2.0, 1.1, 0.5});
       Data.OnSortExchange = H.On(Data);
       const double D = PerformLillieforsTest(&Data, false);
       TVector Now(nullptr);  // standardized already
       SortedNow(Data, Now);
       return THostileOutcome{Outcome(D), Outcome(PerformKSNormalityTest(&Now, true))};
     }},
    {"RunsTestSerial, MathFeedBackProc resizes Data",
     [](THostile& H) {
       TVector Data(nullptr);
       test::FillValues(Data, {5, 1, 4, 2, 8, 3, 9, 7, 6, 0, 11, 10});
       MathFeedBackProc = H.On(Data);
       double P;
       const bool Ok = RunsTestSerial(&Data, P);
       return THostileOutcome{Outcome(Ok, P)};
     }},
};

// What a storage guard of the table notices: (change, full stamp intact,
// shape intact). The shape is the extents and which matrix the table holds.
TEST(TablesHostile, TheTablesStampNoticesExtentsMatrixAndStorage) {
  TMatrix Other(nullptr), Again(nullptr);  // adopted: they outlive the table
  TDataTable T(nullptr);
  Sample(T);
  Other.Resize(4, 6);
  Again.Resize(4, 6);
  const struct {
    const char* What;
    std::function<void()> Change;
    bool Intact, ShapeIntact;
  } Rows[] = {
      {"a value and a state", [&] { T.SetElem(2, 2, 9), T.SetCellState(1, 1, 0x80); }, true, true},
      {"names and scales", [&] { T.SetColName(1, "x"), T.SetMScaleType(3, stRatio); }, true, true},
      {"the matrix's storage", [&] { T.NumericData->Mat = TDouble2DArray(T.NumericData->Mat); }, false, true},
      {"two columns exchanged", [&] { T.ExchangeColumns(1, 3); }, false, true},
      {"a row inserted", [&] { T.InsertRow(2); }, false, false},
      {"resized back", [&] { T.Resize(4, 6); }, false, false},
      {"another matrix", [&] { T.AssignAnotherDataMatrix(&Other); }, false, false},
      {"the adopted matrix resized by its host", [&] { Other.Resize(2, 6); }, false, true},
      {"one more of the same size", [&] { T.AssignAnotherDataMatrix(&Again); }, false, false},
  };
  for (const auto& R : Rows) {
    detail::TStorageGuard Full(T);
    const detail::TStorageGuard Shape(detail::ShapeOf(T));
    R.Change();
    EXPECT_EQ(Full.Intact(), R.Intact) << R.What;
    EXPECT_EQ(Shape.Intact(), R.ShapeIntact) << R.What;
    Full.Record();
    EXPECT_TRUE(Full.Intact()) << R.What;
  }
}

TEST(TablesHostile, DataTableRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(TableCases); }
TEST(TablesHostile, StatisRoutinesSurviveHostCodeThatChangesTheirData) { test::RunHostile(StatisCases); }

}  // namespace
}  // namespace orv
