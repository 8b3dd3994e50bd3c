// TDataTable core: defaults, sizing, cells and their rounding, names,
// attributes, copying, adopting a matrix, and the events each fires.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "orvcalckit/ORV_datatable.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using namespace orv;
using orv::test::TableText;
using orv::test::TTableEventLog;

TEST(DataTableCore, NewTableAndResizeKeepTheOverlapAndFireOnlyOnResize) {
  TDataTable T(nullptr);
  EXPECT_EQ(TableText(T), "C-1/0/3 | R-1/0 | 0");
  T.Resize(2, 2);
  T.SetElem(2, 2, 4.0);
  T.SetCellState(2, 2, 0x40);
  T.SetColName(2, "b");
  T.SetRowAttrib(2, 9);
  T.SetMScaleType(2, stRatio);
  TTableEventLog Log;
  Log.Attach(T);
  T.Resize(4, 3);
  EXPECT_EQ(Log.Take(), "Resize(2,2>4,3)");
  EXPECT_EQ(TableText(T), "C-1/0/3 b/0/4 C-3/0/3 C-4/0/3 | R-1/0 R-2/9 R-3/0 | 0 0 0 ; 0 4@40 0 ; 0 0 0 ; 0 0 0");
  T.Resize(4, 3);
  T.SetNrOfColumns(4);
  EXPECT_EQ(Log.Take(), "");  // the size stays: nothing fires
  T.SetNrCols(1);
  T.SetNrRows(2);
  T.Resize(2, 2);  // a cut column comes back with defaults
  EXPECT_EQ(Log.Take(), "Resize(4,3>1,3) Resize(1,3>1,2) Resize(1,2>2,2)");
  EXPECT_EQ(TableText(T), "C-1/0/3 C-2/0/3 | R-1/0 R-2/9 | 0 0 ; 0 0");
  T.Resize(-3, -1);  // negative counts count as 0
  EXPECT_EQ(TableText(T), "| |");
  EXPECT_EQ(T.NumericData->NrOfColumns(), 0);
  T.Resize(0, 3);  // rows without columns, and their count changed again
  T.Resize(0, 5);
  EXPECT_EQ(TableText(T), "| R-1/0 R-2/0 R-3/0 R-4/0 R-5/0 |");
  const char* Texts[] = {"Unknown", "Nominal", "Ordinal", "Interval", "Ratio", ""};
  for (int K = 0; K <= 5; ++K) EXPECT_EQ(MScaleTypeText(static_cast<TMScaleType>(K)), Texts[K]);
}

TEST(DataTableCore, FailedResizeRaisesAndLeavesTheTableAsItWas) {
  TDataTable T(nullptr);
  T.SetName("Table1");
  T.Resize(2, 3);
  T.SetElem(2, 3, 6.0);
  T.SetCellState(2, 3, 0x20);
  const std::string Before = TableText(T);
  TTableEventLog Log;
  Log.Attach(T);
  for (const auto& Size : {std::pair{INT32_MAX, INT32_MAX}, std::pair{2, INT32_MAX}, std::pair{INT32_MAX, 3}}) {
    if (sizeof(void*) == 8 && (Size.first == 2 || Size.second == 3)) continue;  // addressable in 64 bits
    orv::test::ExpectRaises<EORVDataTableError>([&] { T.Resize(Size.first, Size.second); },
                                                "Component \"Table1\": not enough memory on heap");
    EXPECT_EQ(TableText(T), Before);
    EXPECT_EQ(T.NumericData->NrOfRows(), 3);
  }
  EXPECT_EQ(Log.Take(), "");
  T.SetElem(2, 3, 7.0);  // the matrix is wired to the table again
  EXPECT_EQ(Log.Take(), "Change Change");
}

TEST(DataTableCore, ElemRoundsCategoricalCellsHalfToEvenInDouble) {
  constexpr double Inf = std::numeric_limits<double>::infinity();
  // stored, scale, Elem: halves to even (Round's rule); values beyond every
  // integer type read as they are
  const struct { double Stored; TMScaleType Scale; double Want; } Rows[] = {
      {2.5, stOrdinal, 2.0},     {3.5, stOrdinal, 4.0},     {-2.5, stNominal, -2.0}, {2.4, stNominal, 2.0},
      {1e300, stNominal, 1e300}, {-Inf, stNominal, -Inf},   {2.5, stInterval, 2.5},  {2.5, stUnknown, 2.5},
      {2.5, stRatio, 2.5},       {4503599627370497.0, stNominal, 4503599627370497.0}};
  TDataTable T(nullptr);
  for (const auto& R : Rows) {
    T.SetMScaleType(1, R.Scale);
    T.SetElem(1, 1, R.Stored);
    EXPECT_EQ(T.Elem(1, 1), R.Want) << R.Stored << " scale " << int(R.Scale);
    EXPECT_EQ(T.NumericData->GetVal(1, 1), R.Stored);
  }
  T.SetElem(1, 1, std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(T.GetElem(1, 1)));
}

TEST(DataTableCore, AccessorsOutsideReadNeutralAndIgnoreWrites) {
  TDataTable T(nullptr);
  T.Resize(2, 2);
  const std::string Before = TableText(T);
  TTableEventLog Log;
  Log.Attach(T);
  for (auto [C, R] : {std::pair{0, 1}, {1, 0}, {3, 1}, {1, 3}, {-1, -1}, {INT32_MIN, 1}, {1, INT32_MAX}}) {
    T.SetElem(C, R, 5.0);
    T.SetCellState(C, R, 0x40);
    T.SetIsEmpty(C, R, true);
    T.SetIsImputed(C, R, true);
    T.SetElemNominal(C, R, "a");
    EXPECT_EQ(T.Elem(C, R) + T.CellState(C, R), 0.0);
  }
  for (int32_t I : {0, 3, -1, INT32_MIN, INT32_MAX}) {
    T.SetColName(I, "x");
    T.SetRowName(I, "x");
    T.SetColAttrib(I, 3);
    T.SetRowAttrib(I, 3);
    T.SetMScaleType(I, stNominal);
    T.SetNominalID(I, 1, "x");
    T.ClearNominalIDs(I);
    EXPECT_EQ(T.ColName(I) + T.RowName(I) + T.NominalID(I, 1) + MScaleTypeText(T.MScaleType(I)).data(), "Unknown");
  }
  T.SetMScaleType(1, static_cast<TMScaleType>(7));  // no scale: ignored like an index outside
  EXPECT_EQ(Log.Take(), "");
  EXPECT_EQ(TableText(T), Before);
}

TEST(DataTableCore, CellAndHeaderWritesFireTheirEvents) {
  TDataTable T(nullptr);
  T.Resize(2, 2);
  TTableEventLog Log;
  Log.Attach(T);
  T.SetElem(1, 2, 3.0);
  EXPECT_EQ(Log.Take(), "Change Change");  // through the matrix, then once more
  T.SetCellState(1, 1, 0);
  EXPECT_EQ(Log.Take(), "");  // the byte stays
  T.SetCellState(1, 1, 0x04);
  T.SetIsEmpty(1, 1, false);  // nothing changes, OnChange all the same
  T.SetIsImputed(1, 1, true);
  EXPECT_EQ(Log.Take(), "CellState Change CellState Change");
  EXPECT_TRUE(T.IsNumber(1, 1) && T.IsImputed(1, 1) && !T.IsEmpty(1, 1));
  T.SetColName(1, "n");
  T.SetRowAttrib(1, 2);
  T.SetRowAttributes(0x0F);
  T.SetColAttributes(0x0A, 0x06);  // 0 with bits 0x06 of 0x0A
  T.SetMScaleType(1, stRatio);
  T.SetComment("a\tb\r\nc\x7f");
  EXPECT_EQ(Log.Take(), "Names Attrib Attrib Attrib Setup Setup");
  EXPECT_EQ(T.Comment(), "abc");
  EXPECT_EQ(TableText(T), "n/2/4 C-2/2/3 | R-1/15 R-2/15 | 0@24 3 ; 0 0");
}

TEST(DataTableCore, NamesAreCutToFiftyBytesAtACharacterBoundary) {
  // text, stored name: a 2-byte and a 4-byte character that would straddle
  // byte 50 are dropped whole; bytes that are no UTF-8 are cut at 50
  const std::string A49(49, 'a'), A48(48, 'a'), A47(47, 'a');
  const struct { std::string In, Want; } Rows[] = {
      {std::string(51, 'x'), std::string(50, 'x')},        {A49 + "\xC3\xA9", A49},
      {A48 + "\xC3\xA9z", A48 + "\xC3\xA9"},               {A47 + "\xF0\x9F\x98\x80", A47},
      {A48 + std::string(4, '\x80'), A48 + "\x80\x80"}};
  TDataTable T(nullptr);
  for (const auto& R : Rows) {
    T.SetRowName(1, R.In);
    EXPECT_EQ(T.RowName(1), R.Want) << R.In.size();
  }
  T.SetColName(1, "\xC3\xA9" + std::string(60, 'b'));
  EXPECT_EQ(T.MaxColNameLength(), 50);
  EXPECT_EQ(T.MaxRowNameLength(), 50);
}

TEST(DataTableCore, ClearKeepsTheSizeAndFiresInOrder) {
  TDataTable T(nullptr), Fresh(nullptr);
  T.Resize(2, 2);
  Fresh.Resize(2, 2);
  T.SetElem(2, 2, 5.0);
  T.SetCellState(2, 1, 0xFF);
  T.SetColName(2, "x");
  T.SetRowAttrib(2, 3);
  T.AddNominalID(1, "a");
  T.SetComment("c");
  TTableEventLog Log;
  Log.Attach(T);
  T.Clear();
  EXPECT_EQ(Log.Take(), "Change Names Attrib CellState Setup");
  EXPECT_EQ(TableText(T), TableText(Fresh));
  EXPECT_EQ(T.CRCofNamesAndAttributes(), Fresh.CRCofNamesAndAttributes());  // comment and identifiers too
}

TEST(DataTableCore, AssignCopiesEverythingButKeepsTheTargetsWiring) {
  TDataTable Src(nullptr), Dst(nullptr);
  Src.Resize(3, 2);
  Src.SetElem(3, 2, 8.0);
  Src.SetCellState(3, 2, 0x80);
  Src.SetColName(3, "z");
  Src.SetRowAttrib(2, -4);
  Src.AddNominalID(2, "m");
  Src.SetComment("src");
  TObject* Seen = nullptr;
  Src.OnChange = [&](TObject* S) { Seen = S; };
  Dst.Assign(&Src);
  EXPECT_EQ(TableText(Dst), TableText(Src));
  EXPECT_EQ(Dst.CRCofNamesAndAttributes(), Src.CRCofNamesAndAttributes());
  Dst.NumericData->SetVal(1, 1, 2.0);  // the handler came along; the matrix reports to Dst
  EXPECT_EQ(Seen, &Dst);
  EXPECT_EQ(Src.Elem(1, 1), 0.0);
  Src.NumericData->SetVal(1, 1, 1.0);
  EXPECT_EQ(Seen, &Src);
  TMatrix M(nullptr);
  EXPECT_THROW(Dst.Assign(&M), EConvertError);
  EXPECT_THROW(Dst.AssignTo(&M), EConvertError);
}

TEST(DataTableCore, AdoptedMatricesFireInOrderAndOutliveTheTable) {
  TMatrix M(nullptr), M2(nullptr);
  M.Resize(2, 3);
  M.SetVal(2, 3, 7.0);
  auto T = std::make_unique<TDataTable>(nullptr);
  T->AddNominalID(1, "a");
  T->SetCellState(1, 1, 0x40);
  TTableEventLog Log;
  Log.Attach(*T);
  T->AssignAnotherDataMatrix(&M);
  EXPECT_EQ(Log.Take(), "Resize(1,1>2,3) Resize(1,1>2,3) Change Setup Names Attrib CellState");
  EXPECT_EQ(TableText(*T), "C-1/0/3 C-2/0/3 | R-1/0 R-2/0 R-3/0 | 0@40 0 0 ; 0 0 7");
  EXPECT_EQ(T->CountNominalIDs(1), 1);  // identifiers stay, the scale is interval
  M.SetVal(1, 1, 2.0);
  EXPECT_EQ(Log.Take(), "Change");
  T->AssignAnotherDataMatrix(nullptr);
  T->AssignAnotherDataMatrix(&M);
  EXPECT_EQ(Log.Take(), "");
  // A second matrix: the first keeps its size and loses both handlers.
  T->AssignAnotherDataMatrix(&M2);
  EXPECT_EQ(Log.Take(), "Resize(2,3>1,1) Resize(2,3>1,1) Change Setup Names Attrib CellState");
  EXPECT_EQ(M.NrOfRows(), 3);
  EXPECT_FALSE(M.OnChange || M.OnSortExchange);
  // Sorts of the adopted matrix reach the table's OnSortExchange.
  T->Resize(1, 3);
  for (int R = 1; R <= 3; ++R) T->SetElem(1, R, 4 - R);
  Log.Take();
  M2.SortRows(1, true, 0, 0, 0, 0);
  EXPECT_EQ(Log.Take(), "Exchange(2,1,2,1,1) Exchange(2,2,3,1,1) Exchange(2,1,2,1,1) Change");
  T.reset();
  EXPECT_FALSE(M2.OnChange || M2.OnSortExchange);
  EXPECT_EQ(M2.GetVal(1, 1), 1.0);
  // A host that resizes an adopted matrix behind the table's back costs no safety.
  TMatrix M3(nullptr), M4(nullptr);  // outlive the table that adopts them
  TDataTable U(nullptr);
  M3.Resize(2, 2);
  U.AssignAnotherDataMatrix(&M3);
  U.SetCellState(2, 2, 0x40);
  U.SetMScaleType(1, stNominal);
  U.SetMScaleType(2, stNominal);
  M3.Resize(1, 1);
  U.SetElem(2, 2, 3.0);
  EXPECT_EQ(U.Elem(2, 2), 0.0);
  EXPECT_EQ(U.FillMarkedCells(1.0, 0x40), 0);
  TInt2DArray Tab;
  EXPECT_EQ(U.CreateContingencyTable(1, 2, 0, 0, Tab), -3);  // column 2 and row 2 read 0.0
  EXPECT_EQ(Tab, TInt2DArray{{0}});
  // A matrix of the table's size: OnResize once, for the adoption.
  M4.Resize(2, 2);
  Log.Attach(U);
  U.AssignAnotherDataMatrix(&M4);
  EXPECT_EQ(Log.Take(), "Resize(2,2>2,2) Change Setup Names Attrib CellState");
}

}  // namespace
