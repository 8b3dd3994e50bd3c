// TDataTable nominal values: identifier slots, cells by identifier, category
// counts, contingency tables and the tests on a column's values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "support/components.h"
#include "support/raises.h"

namespace {

using namespace orv;
using orv::test::TableText;
using orv::test::TTableEventLog;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(DataTableNominal, IdentifierSlotsIgnoreAsciiCaseAndMakeTheColumnNominal) {
  TDataTable T(nullptr);
  T.Resize(3, 1);
  T.SetMScaleType(1, stOrdinal);
  TTableEventLog Log;
  Log.Attach(T);
  EXPECT_EQ(T.AddNominalID(1, "male"), 1);
  EXPECT_EQ(T.MScaleType(1), stNominal);  // a new identifier: ordinal becomes nominal
  T.SetMScaleType(1, stOrdinal);
  EXPECT_EQ(T.AddNominalID(1, "MALE"), 1);  // found: nothing changes
  EXPECT_EQ(T.MScaleType(1), stOrdinal);
  EXPECT_EQ(Log.Take(), "Setup Setup");
  EXPECT_EQ(T.OrdinalOfNominalID(1, "Male", true), 1);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "Male", false), 0);
  EXPECT_EQ(T.AddNominalID(1, "\xC3\x89t\xC3\xA9"), 2);  // "Été"
  EXPECT_EQ(T.OrdinalOfNominalID(1, "\xC3\xA9t\xC3\xA9", true), 0);  // only A-Z fold
  EXPECT_EQ(T.AddNominalID(1, "abcdefghijXYZ"), 3);
  EXPECT_EQ(T.OrdinalOfNominalID(1, "ABCDEFGHIJklm", true), 3);  // both cut to 10 bytes
  // An empty identifier: the first free slot, the column nominal, nothing stored.
  EXPECT_EQ(T.AddNominalID(2, ""), 1);
  EXPECT_EQ(T.MScaleType(2), stNominal);
  EXPECT_EQ(T.CountNominalIDs(2), 0);
  EXPECT_EQ(T.AddNominalID(4, "x") + T.OrdinalOfNominalID(3, "male", true), 0);  // outside; not categorical
  // SetNominalID: text only in a categorical column, empty anywhere; Setup in both cases.
  Log.Take();
  T.SetNominalID(3, 3, "x");
  EXPECT_EQ(T.CountNominalIDs(3), 0);
  T.SetMScaleType(3, stNominal);
  T.SetNominalID(3, 3, "x");
  T.SetMScaleType(3, stRatio);
  EXPECT_EQ(T.CountNominalIDs(3), 1);
  EXPECT_EQ(T.NominalID(3, 3), "");  // kept, but not shown in a ratio column
  T.SetNominalID(3, 3, "");
  T.SetNominalID(3, 0, "");
  EXPECT_EQ(Log.Take(), "Setup Setup Setup Setup Setup");
  EXPECT_EQ(T.CountNominalIDs(3), 0);
  // Full column: AddNominalID gives 0 and changes nothing.
  for (int K = 1; K <= 150; ++K) T.SetNominalID(1, K, std::to_string(K) + "v");
  EXPECT_EQ(T.AddNominalID(1, "new"), 0);
  EXPECT_EQ(T.CountNominalIDs(1), 150);
}

TEST(DataTableNominal, CellsReadAndWriteByIdentifier) {
  TDataTable T(nullptr);
  T.SetName("T");
  T.Resize(2, 2);
  T.AddNominalID(1, "a");
  T.AddNominalID(1, "b");
  // stored value, text of the cell: slot k's identifier; any other value its
  // rounded integer, or Str's scientific form where that has more than 10
  // characters (Str(x, 10, -1) without the leading blank).
  const struct { double Stored; const char* Want; } Rows[] = {
      {2.4, "b"},  {1.5, "b"},          {2.5, "b"},           {3, ""},
      {0, "0"},    {151, "151"},        {-7.5, "-8"},         {9999999999.0, "9999999999"},
      {1e300, "1.0E+0300"},             {-1e12, "-1.0E+0012"}, {12345678901.0, "1.2E+0010"},
      {NaN, "NAN"}, {Inf, "+INF"}};
  for (const auto& R : Rows) {
    T.NumericData->SetVal(1, 1, R.Stored);
    EXPECT_EQ(T.ElemNominal(1, 1), R.Want) << R.Stored;
  }
  EXPECT_EQ(T.ElemNominal(2, 1), "");  // not categorical
  TTableEventLog Log;
  Log.Attach(T);
  T.SetElemNominal(1, 1, "B");
  T.SetElemNominal(1, 2, "c");
  EXPECT_EQ(T.NominalID(1, 3), "c");
  EXPECT_EQ(Log.Take(), "Change Change Change Change");  // no Setup
  // A column that is not categorical finds nothing and takes a slot each time.
  T.SetElemNominal(2, 1, "x");
  T.SetElemNominal(2, 2, "x");
  EXPECT_EQ(TableText(T), "C-1/0/1 C-2/0/3 | R-1/0 R-2/0 | 2 3 ; 1 2");
  // No free slot: the error, and nothing changes.
  for (int K = 3; K <= 150; ++K) T.SetNominalID(1, K, std::to_string(K) + "v");
  Log.Take();
  orv::test::ExpectRaises<EORVDataTableError>([&] { T.SetElemNominal(1, 1, "new"); },
                                              "Component \"T\": number of available nominal values exceeded");
  EXPECT_EQ(Log.Take(), "");
  T.SetElemNominal(1, 1, "150V");
  EXPECT_EQ(T.NumericData->GetVal(1, 1), 150.0);
}

TEST(DataTableNominal, CategoryCountsSkipValuesOfNoSlot) {
  TDataTable T(nullptr);
  T.Resize(4, 9);
  T.SetMScaleType(2, stOrdinal);
  T.SetMScaleType(4, stNominal);
  EXPECT_EQ(T.ListOfCategorialVars(), (TIntArray{2, 4}));
  // 150.5 rounds to the last slot, 0.5 to 0; NaN, infinities, 1e300 and
  // 151 refer to no slot.
  const double Values[] = {1, 1.5, 2.5, 150.5, 0.5, NaN, -Inf, 1e300, 151};
  for (int R = 1; R <= 9; ++R) T.SetElem(2, R, Values[R - 1]);
  T.SetCellState(2, 1, 0x03);  // states are not looked at
  TIntArray Counts{99};
  EXPECT_EQ(T.ScanForCatValues(2, 0, 0, Counts), 5);
  ASSERT_EQ(Counts.size(), 150u);
  EXPECT_EQ((std::vector{Counts[0], Counts[1], Counts[149]}), (std::vector{1, 2, 1}));
  EXPECT_EQ(T.ScanForCatValues(2, 4, 2, Counts), 0);  // rows 2..4
  EXPECT_EQ((std::vector{Counts[0], Counts[1], Counts[149]}), (std::vector{0, 2, 1}));
  TIntArray Untouched{7};
  EXPECT_EQ(T.ScanForCatValues(1, 0, 0, Untouched), 0);
  EXPECT_EQ(T.ScanForCatValues(5, 0, 0, Untouched), -1);
  EXPECT_EQ(Untouched, TIntArray{7});
}

TEST(DataTableNominal, ContingencyTableWithMarginsIsColumnByRow) {
  // Column 1 categories 1..3, column 2 categories 1..2. Rows 8 (empty cell)
  // is skipped; rows 10-13 refer to no slot (invalid); row 9 rounds to (2, 2).
  const double Data[][2] = {{1, 1}, {2, 1}, {3, 2}, {1, 2}, {2, 2}, {2, 1}, {3, 2},
                            {1, 1}, {2.5, 1.5}, {0, 1}, {NaN, 1}, {1e300, 2}, {151, 1}};
  TDataTable T(nullptr);
  T.Resize(3, 13);
  T.SetMScaleType(1, stNominal);
  T.SetMScaleType(2, stOrdinal);
  for (int R = 1; R <= 13; ++R) {
    T.SetElem(1, R, Data[R - 1][0]);
    T.SetElem(2, R, Data[R - 1][1]);
  }
  T.SetIsEmpty(2, 8, true);
  // Hand count: [category of column 1 - 1][category of column 2 - 1]; the
  // last column the row totals, the last row the column totals.
  const TInt2DArray Want = {{1, 1, 2}, {2, 2, 4}, {0, 2, 2}, {3, 5, 8}};
  TInt2DArray Tab;
  EXPECT_EQ(T.CreateContingencyTable(1, 2, 0, 0, Tab), -3);
  EXPECT_EQ(Tab, Want);
  EXPECT_EQ(T.CreateContingencyTable(1, 2, 1, 9, Tab), 0);
  EXPECT_EQ(Tab, Want);
  EXPECT_EQ(T.CreateContingencyTable(1, 2, 8, 8, Tab), 0);  // nothing counted
  EXPECT_EQ(Tab, TInt2DArray{{0}});
  TInt2DArray Untouched{{5}};
  EXPECT_EQ(T.CreateContingencyTable(1, 4, 0, 0, Untouched), -1);
  EXPECT_EQ(T.CreateContingencyTable(0, 1, 0, 0, Untouched), -1);
  EXPECT_EQ(T.CreateContingencyTable(1, 3, 0, 0, Untouched), -2);
  EXPECT_EQ(Untouched, TInt2DArray{{5}});
}

TEST(DataTableNominal, ColumnTests) {
  // values, dichotomous, V1, V2 (the first two distinct values, ascending)
  const struct { std::vector<double> X; bool Want; double V1, V2; } Rows[] = {
      {{5, 3, 5, 3}, true, 3, 5},  {{5, 5, 5}, false, 5, 5},  {{1, 2, 3}, false, 1, 2},
      {{2, 2, 1}, true, 1, 2},     {{7}, false, 0, 0},        {{1, 2, 2, 1, 4}, false, 1, 2},
      {{-0.0, 0.0}, false, 0, 0}};
  for (const auto& R : Rows) {
    TDataTable T(nullptr);
    T.Resize(1, static_cast<int32_t>(R.X.size()));
    for (int32_t I = 1; I <= T.NrOfRows(); ++I) T.SetElem(1, I, R.X[I - 1]);
    double V1 = -1, V2 = -1;
    EXPECT_EQ(T.CheckDichotomousColumn(1, V1, V2), R.Want) << R.X.size();
    EXPECT_EQ(V1, R.V1);
    EXPECT_EQ(V2, R.V2);
    EXPECT_EQ(T.IsConstantColumn(1), R.X.size() == 1 || R.V1 == R.V2);
  }
  TDataTable T(nullptr);
  T.Resize(4, 3);
  double V1 = -1, V2 = -1;
  EXPECT_FALSE(T.CheckDichotomousColumn(9, V1, V2) || T.IsConstantColumn(9));  // outside reads 0.0
  EXPECT_EQ(V1, 0.0);
  T.SetElem(1, 1, NaN);
  EXPECT_FALSE(T.IsConstantColumn(1));  // NaN equals nothing
  T.Resize(4, 0);
  EXPECT_TRUE(T.IsConstantColumn(1));
  // Scales (interval, unknown, ordinal, ratio): the highest is at least
  // stNominal, the lowest at most stRatio.
  T.SetMScaleType(2, stUnknown);
  T.SetMScaleType(3, stOrdinal);
  T.SetMScaleType(4, stRatio);
  EXPECT_EQ(T.FindHighestMLevel(2, 2), stNominal);
  EXPECT_EQ(T.FindHighestMLevel(0, 0), stRatio);
  EXPECT_EQ(T.FindLowestMLevel(0, 0), stUnknown);
  EXPECT_EQ(T.FindLowestMLevel(9, 3), stOrdinal);
  EXPECT_EQ(T.FindLowestMLevel(4, 4), stRatio);
}

}  // namespace
