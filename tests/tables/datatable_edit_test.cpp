// TDataTable row and column editing and copying: what moves with a row or a
// column, the same result with and without handlers, the events, and the
// copies between tables and arrays at their edges.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "support/components.h"

namespace {

using namespace orv;
using orv::test::TableText;
using orv::test::TTableEventLog;

// Columns a (interval), b (ordinal, identifiers in slots 2 and 4), c (ratio);
// rows x, y, z; a marked cell and an empty one.
void LoadSample(TDataTable& T) {
  T.Resize(3, 3);
  test::FillRows(*T.NumericData, {{1, 2.5, 10}, {2, 3.5, 20}, {3, 4.5, 30}});
  const char* Cols[] = {"a", "b", "c"};
  const char* Rows[] = {"x", "y", "z"};
  for (int32_t I = 1; I <= 3; ++I) {
    T.SetColName(I, Cols[I - 1]);
    T.SetColAttrib(I, I);
    T.SetRowName(I, Rows[I - 1]);
    T.SetRowAttrib(I, 6 + I);
  }
  T.SetMScaleType(2, stOrdinal);
  T.SetNominalID(2, 2, "two");
  T.SetNominalID(2, 4, "four");
  T.SetMScaleType(3, stRatio);
  T.SetCellState(1, 2, 0x40);
  T.SetCellState(3, 3, 0x02);
}

TEST(DataTableEdit, RowsAndColumnsMoveWithEverythingTheyCarry) {
  // operation, the table after it (moved ordinal cells arrive rounded: 3.5
  // and 4.5 read 4); each run with and without handlers
  const struct { const char* Name; std::function<void(TDataTable&)> Op; const char* Want; } Rows[] = {
      {"InsertRow(2)", [](TDataTable& T) { T.InsertRow(2); },
       "a/1/3 b/2/2 c/3/4 | x/7 /0 y/8 z/9 | 1 0 2@40 3 ; 2.5 0 4 4 ; 10 0 20 30@2"},
      {"InsertRow(4)", [](TDataTable& T) { T.InsertRow(4); },
       "a/1/3 b/2/2 c/3/4 | x/7 y/8 z/9 /0 | 1 2@40 3 0 ; 2.5 3.5 4.5 0 ; 10 20 30@2 0"},
      {"RemoveRow(1)", [](TDataTable& T) { T.RemoveRow(1); },
       "a/1/3 b/2/2 c/3/4 | y/8 z/9 | 2@40 3 ; 4 4 ; 20 30@2"},
      {"RemoveMarkedRows", [](TDataTable& T) { EXPECT_EQ(T.RemoveMarkedRows(0, 0, 0x40), 1); },
       "a/1/3 b/2/2 c/3/4 | x/7 z/9 | 1 3 ; 2.5 4 ; 10 30@2"},
      {"RemoveMarkedRows, all", [](TDataTable& T) {
         T.InvertCellStates(0x04);
         EXPECT_EQ(T.RemoveMarkedRows(0, 0, 0x04), 3);
       },
       "a/1/3 b/2/2 c/3/4 | | ; ;"},
      {"InsertColumn(1)", [](TDataTable& T) { T.InsertColumn(1); },
       "/0/3 a/1/3 b/2/2 c/3/4 | x/7 y/8 z/9 | 0 0 0 ; 1 2@40 3 ; 2 4 4 ; 10 20 30@2"},
      {"InsertColumn(4)", [](TDataTable& T) { T.InsertColumn(4); },
       "a/1/3 b/2/2 c/3/4 /0/3 | x/7 y/8 z/9 | 1 2@40 3 ; 2.5 3.5 4.5 ; 10 20 30@2 ; 0 0 0"},
      {"RemoveColumn(1)", [](TDataTable& T) { T.RemoveColumn(1); },
       "b/2/2 c/3/4 | x/7 y/8 z/9 | 2 4 4 ; 10 20 30@2"},
      {"RemoveColumn(2)", [](TDataTable& T) { T.RemoveColumn(2); },
       "a/1/3 c/3/4 | x/7 y/8 z/9 | 1 2@40 3 ; 10 20 30@2"},
      // refused: nothing happens
      {"InsertRow(0)", [](TDataTable& T) { T.InsertRow(0); }, nullptr},
      {"InsertColumn(5)", [](TDataTable& T) { T.InsertColumn(5); }, nullptr},
      {"RemoveRow(4)", [](TDataTable& T) { T.RemoveRow(4); }, nullptr},
      {"RemoveMarkedRows(2, 9)", [](TDataTable& T) { EXPECT_EQ(T.RemoveMarkedRows(2, 9, 0x40), -1); }, nullptr},
  };
  for (const auto& R : Rows) {
    TDataTable Quiet(nullptr), Watched(nullptr);
    LoadSample(Quiet);
    LoadSample(Watched);
    const std::string Before = TableText(Quiet);
    TTableEventLog Log;
    Log.Attach(Watched);
    R.Op(Quiet);
    R.Op(Watched);
    EXPECT_EQ(TableText(Quiet), R.Want ? R.Want : Before) << R.Name;
    EXPECT_EQ(TableText(Watched), TableText(Quiet)) << R.Name;
    EXPECT_EQ(Quiet.NumericData->NrOfRows(), Quiet.NrOfRows()) << R.Name;
    EXPECT_EQ(Log.Text.empty(), R.Want == nullptr) << R.Name << ": " << Log.Text;
  }
  // The identifiers move with an inserted column; a removed column's right
  // neighbour takes its own only when categorical.
  TDataTable T(nullptr);
  LoadSample(T);
  T.InsertColumn(1);
  EXPECT_EQ(T.NominalID(3, 4), "four");
  T.SetMScaleType(3, stInterval);
  T.RemoveColumn(2);  // c (ratio) keeps the identifiers that stood at its place
  T.SetMScaleType(3, stNominal);
  EXPECT_EQ(T.NominalID(3, 2), "two");
  // Single rows and columns stay.
  TDataTable One(nullptr);
  One.RemoveRow(1);
  One.RemoveColumn(1);
  EXPECT_EQ(TableText(One), "C-1/0/3 | R-1/0 | 0");
}

TEST(DataTableEdit, HandlersSeeEachMoveInItsOrder) {
  TDataTable T(nullptr);
  T.Resize(2, 1);
  TTableEventLog Log;
  Log.Attach(T);
  // The new row: attribute, name, then per column its value (OnChange
  // once: the matrix is detached) and its state (unchanged: nothing).
  T.InsertRow(2);
  EXPECT_EQ(Log.Take(), "Resize(2,1>2,2) Attrib Names Change Change Setup");
  T.SetCellState(1, 1, 0x40);
  Log.Take();
  T.RemoveRow(1);
  EXPECT_EQ(Log.Take(), "Attrib Names Change CellState Change Resize(2,2>2,1) Setup");
  T.InsertRow(1);
  EXPECT_EQ(T.RemoveMarkedRows(0, 0, 0xFF), 0);  // nothing marked: nothing moves
  Log.Take();
  T.SetCellState(2, 1, 0x80);
  Log.Take();
  // OnChange stays silent while marked rows go.
  EXPECT_EQ(T.RemoveMarkedRows(0, 0, 0x80), 1);
  EXPECT_EQ(Log.Take(), "Attrib Names CellState Attrib Names Resize(2,2>2,1) Setup");
  EXPECT_EQ(T.RemoveMarkedRows(0, 0, 0), 0);
  EXPECT_EQ(Log.Take(), "Setup");
}

TEST(DataTableEdit, ExchangesAndMirrorsFireFiveEvents) {
  TDataTable T(nullptr);
  LoadSample(T);
  TTableEventLog Log;
  Log.Attach(T);
  const std::string Before = TableText(T);
  for (auto [A, B] : {std::pair{0, 1}, {1, 4}, {-1, 2}, {INT32_MAX, 1}}) {
    T.ExchangeColumns(A, B);  // outside: no exchange, no event, no access beyond the arrays
    T.ExchangeRows(A, B);
  }
  EXPECT_EQ(Log.Take(), "");
  EXPECT_EQ(TableText(T), Before);
  T.ExchangeColumns(1, 2);
  EXPECT_EQ(Log.Take(), "Change CellState Attrib Names Setup");
  EXPECT_EQ(T.NominalID(1, 4), "four");  // the variable type went along
  EXPECT_EQ(TableText(T), "b/2/2 a/1/3 c/3/4 | x/7 y/8 z/9 | 2.5 3.5 4.5 ; 1 2@40 3 ; 10 20 30@2");
  T.ExchangeRows(2, 2);
  EXPECT_EQ(Log.Take(), "Change CellState Attrib Names Setup");
  T.MirrorRows();
  EXPECT_EQ(TableText(T), "b/2/2 a/1/3 c/3/4 | z/9 y/8 x/7 | 4.5 3.5 2.5 ; 3 2@40 1 ; 30@2 20 10");
  T.MirrorColumns();
  EXPECT_EQ(TableText(T), "c/3/4 a/1/3 b/2/2 | z/9 y/8 x/7 | 30@2 20 10 ; 3 2@40 1 ; 4.5 3.5 2.5");
  Log.Take();
  TDataTable One(nullptr);
  Log.Attach(One);
  One.MirrorRows();
  EXPECT_EQ(Log.Take(), "Change CellState Attrib Names Setup");
}

TEST(DataTableEdit, SerializeTurnsTheTableIntoOneDataColumn) {
  TDataTable T(nullptr);
  T.Resize(2, 3);
  test::FillRows(*T.NumericData, {{1, 2.5}, {2, 4}, {3, 6}});
  T.SetColName(1, "first");
  T.SetColName(2, "second-and-long");
  T.SetMScaleType(2, stOrdinal);
  T.SetRowName(2, "r2");
  T.SetRowAttrib(3, 5);
  T.SetCellState(1, 2, 0x02);  // empty: its index cells are numbers all the same
  T.SetCellState(2, 1, 0x40);
  T.Serialize(true, true);
  // row n = old (s, r) column by column; the ordinal 2.5 arrives as 2
  EXPECT_EQ(TableText(T),
            "(column)/0/1 (col. index)/0/2 (row index)/0/3 (data)/0/3 | R-1/0 r2/0 R-3/5 R-1/0 r2/0 R-3/5 | "
            "1 1 1 2 2 2 ; 1 1 1 2 2 2 ; 1 2 3 1 2 3 ; 1 2@2 3 2@40 4 6");
  EXPECT_EQ(T.NominalID(1, 1), "1:first");
  EXPECT_EQ(T.NominalID(1, 2), "2:second-a");
  EXPECT_EQ(T.NominalID(1, 3), "");
  // Alone, the data column takes the highest scale of the old columns.
  TDataTable U(nullptr);
  U.Resize(2, 1);
  U.SetMScaleType(2, stRatio);
  TTableEventLog Log;
  Log.Attach(U);
  U.Serialize(false, false);
  EXPECT_EQ(TableText(U), "(data)/0/4 | R-1/0 R-1/0 | 0 0");
  EXPECT_EQ(Log.Take(), "Resize(2,1>1,2) Names Setup Names Attrib Names Attrib Change");
}

TEST(DataTableCopy, ContentsStatesAndBlocksBetweenTables) {
  TDataTable Src(nullptr), T(nullptr);
  LoadSample(Src);
  Src.SetComment("sample");
  Src.SetNominalID(2, 150, "last");
  // Column 1 of the target held identifiers in a column that stays
  // interval: they survive where the source has one, as SetNominalID keeps
  // them; the source's own arrive only in categorical columns.
  T.SetMScaleType(1, stNominal);
  T.SetNominalID(1, 1, "mine");
  T.SetNominalID(1, 2, "gone");
  T.SetMScaleType(1, stInterval);
  Src.SetMScaleType(1, stNominal);
  Src.SetNominalID(1, 1, "theirs");
  Src.SetMScaleType(1, stInterval);
  TTableEventLog Log;
  Log.Attach(T);
  T.CopyContentsFrom(&Src);
  EXPECT_EQ(Log.Take(), "Resize(1,1>3,3) Change CellState Setup Names Attrib Resize(1,1>3,3)");
  EXPECT_EQ(TableText(T), "a/1/3 b/2/2 c/3/4 | x/7 y/8 z/9 | 1 2@40 3 ; 2 4 4 ; 10 20 30@2");
  EXPECT_EQ(T.Comment(), "sample");
  EXPECT_EQ(T.NominalID(2, 150), "last");
  T.SetMScaleType(1, stNominal);
  EXPECT_EQ(T.NominalID(1, 1), "mine");
  EXPECT_EQ(T.NominalID(1, 2), "");
  Log.Take();
  T.CopyContentsFrom(&T);  // at equal size OnResize fires all the same
  EXPECT_EQ(Log.Take(), "Change CellState Setup Names Attrib Resize(3,3>3,3)");
  T.CopyContentsFrom(nullptr);
  // States: only between tables of one size.
  TDataTable Small(nullptr);
  EXPECT_FALSE(T.CopyCellStatesFrom(&Small));
  EXPECT_FALSE(T.CopyCellStatesFrom(nullptr));
  EXPECT_EQ(Log.Take(), "");
  Small.Resize(3, 3);
  EXPECT_TRUE(T.CopyCellStatesFrom(&Small));
  EXPECT_EQ(Log.Take(), "CellState");
  EXPECT_EQ(T.CountValidCells(0, 0, 0, 0), 9);
  // A block: only what falls inside the target; within one table as it was.
  TDataTable Big(nullptr);
  Big.Resize(6, 6);
  Big.CopyFrom(&Src, 1, 1, 3, 3, 5, 5);
  EXPECT_EQ(Big.CountValidCells(0, 0, 0, 0), 36);
  int32_t N = 0;
  EXPECT_EQ(Big.SumOfNumCells(0, 0, 0, 0, N), 1 + 2 + 2 + 4);  // a, b (as Elem reads them) of rows x, y
  EXPECT_EQ(Big.CellState(5, 6), 0x40);
  Log.Attach(Src);
  Src.CopyFrom(&Src, 0, 0, 1, 2, 1, 2);  // rows 1..2 of column a one row down
  EXPECT_EQ(TableText(Src), "a/1/3 b/2/2 c/3/4 | x/7 y/8 z/9 | 1 1 2@40 ; 2.5 3.5 4.5 ; 10 20 30@2");
  EXPECT_EQ(Log.Take(), "Change CellState");
}

TEST(DataTableCopy, ArraysInAndOut) {
  TDataTable T(nullptr);
  T.Resize(2, 5);
  int Changes = 0;
  T.OnChange = [&](TObject*) { ++Changes; };
  // 3 columns of 4 into 2 x 5: refused as a whole, the overlap copied
  EXPECT_EQ(T.CopyDataFromArray(TDouble2DArray{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}}), -1);
  EXPECT_EQ(test::Column(*T.NumericData, 2), std::vector<double>({5, 6, 7, 8, 0}));
  EXPECT_EQ(Changes, 8);
  // Empty and ragged arrays: nothing read beyond an inner array.
  EXPECT_EQ(T.CopyDataFromArray(TDouble2DArray{}), -1);
  EXPECT_EQ(T.CopyDataFromArray(TInt2DArray{{1, 1, 1, 1, 1}, {2}}), -1);
  EXPECT_EQ(test::Column(*T.NumericData, 2), std::vector<double>({2, 6, 7, 8, 0}));
  EXPECT_EQ(T.CopyDataFromArray(TInt2DArray{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}), 0);
  TDouble2DArray All;
  T.CopyDataToArray(All);
  EXPECT_EQ(All, (TDouble2DArray{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
  TDoubleArray Line{-1};
  EXPECT_EQ(T.CopyDataColumnToArray(3, Line), -1);
  EXPECT_EQ(Line, TDoubleArray{-1});
  EXPECT_EQ(T.CopyDataRowToArray(5, Line), 0);
  EXPECT_EQ(Line, (TDoubleArray{5, 10}));
  EXPECT_EQ(T.CopyDataColumnFromArray(2, {0.5, 0.25, 0.125, 0, 0, 0, 0}), 0);
  EXPECT_EQ(T.CopyDataRowFromArray(1, {-1}), 0);
  EXPECT_EQ(T.CopyDataRowFromArray(0, {-1}), -1);
  EXPECT_EQ(T.CopyDataColumnToArray(2, Line), 0);
  EXPECT_EQ(Line, (TDoubleArray{0.5, 0.25, 0.125, 0, 0}));
  EXPECT_EQ(T.NumericData->GetVal(1, 1), -1.0);
}

}  // namespace
