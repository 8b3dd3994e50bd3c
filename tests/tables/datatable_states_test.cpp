// TDataTable cell states as a whole, filling marked cells, attribute
// queries, lookup by name and the two checksum texts.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "orvcalckit/ORV_datatable.h"
#include "support/components.h"

namespace {

using namespace orv;
using orv::test::TTableEventLog;

TEST(DataTableStates, WholeTableChangesFireOnceAlsoWhenNothingChanges) {
  // state before, routine, state after (the documented examples and one per routine)
  const struct { uint8_t Before; void (*Change)(TDataTable&); uint8_t After; } Rows[] = {
      {0x42, [](TDataTable& T) { T.ExchangeMarkings(); }, 0x82},
      {0xC2, [](TDataTable& T) { T.ExchangeMarkings(); }, 0xC2},
      {0x02, [](TDataTable& T) { T.ExchangeMarkings(); }, 0x02},
      {0x81, [](TDataTable& T) { T.ExchangeMarkings(); }, 0x41},
      {0xE3, [](TDataTable& T) { T.UnmarkAllCells(); }, 0x23},
      {0x0F, [](TDataTable& T) { T.InvertCellStates(0x41); }, 0x4E},
      {0x0F, [](TDataTable& T) { T.SetAllCellStates(0x90); }, 0x90},
      {0x00, [](TDataTable& T) { T.UnmarkAllCells(); }, 0x00},
  };
  for (const auto& R : Rows) {
    TDataTable T(nullptr);
    T.Resize(2, 2);
    T.SetCellState(2, 1, R.Before);
    T.SetCellState(1, 2, R.Before);
    TTableEventLog Log;
    Log.Attach(T);
    R.Change(T);
    EXPECT_EQ(Log.Take(), "CellState");
    EXPECT_EQ(T.CellState(2, 1), R.After) << int(R.Before);
    EXPECT_EQ(T.CellState(1, 2), R.After);
  }
}

TEST(DataTableStates, TestsAndCountsUseAllEightBits) {
  TDataTable T(nullptr);
  T.Resize(3, 4);
  T.SetCellState(1, 1, 0x02);  // empty
  T.SetCellState(2, 1, 0x03);
  T.SetCellState(3, 1, 0x20);  // imputed, numeric
  T.SetCellState(2, 3, 0x40);
  T.SetCellState(3, 4, 0x01);
  EXPECT_TRUE(T.IfRowHasCellState(1, 0x01) && T.IfColHasCellState(2, 0x40));
  EXPECT_TRUE(T.IfAnyCellHasCellState(3, 4, 2, 2, 0x40));  // reversed bounds
  EXPECT_FALSE(T.IfRowHasCellState(2, 0xFF) || T.IfColHasCellState(1, 0x40) || T.IfAnyCellHasCellState(1, 2, 3, 2, 0xFF));
  EXPECT_FALSE(T.IfRowHasCellState(5, 0xFF) || T.IfColHasCellState(0, 0xFF));  // outside
  // count, expected: the masks take all eight bits, so 0x02 counts empty cells
  const struct { int32_t Count, Want; } Counts[] = {
      {T.CountMarkedCellsInRow(1, 0x02), 2},  {T.CountMarkedCellsInRow(1, 0x21), 2},
      {T.CountMarkedCellsInRow(0, 0xFF), 0},  {T.CountMarkedCellsInColumn(3, 0xFF), 2},
      {T.CountMarkedCellsInColumn(4, 0xFF), 0}, {T.CountEmptyCells(0, 0, 0, 0), 2},
      {T.CountEmptyCells(2, 1, 3, 4), 1},     {T.CountImputedCells(0, 0, 0, 0), 1},
      {T.CountValidCells(0, 0, 0, 0), 9},     {T.CountValidCells(-5, 1, 99, 1), 1}};
  for (std::size_t I = 0; I < std::size(Counts); ++I) EXPECT_EQ(Counts[I].Count, Counts[I].Want) << "row " << I;
}

TEST(DataTableStates, FillMarkedCellsWritesThroughTheMatrix) {
  TDataTable T(nullptr);
  T.Resize(2, 3);
  T.SetCellState(1, 2, 0x80);
  T.SetCellState(2, 3, 0x03);
  TTableEventLog Log;
  Log.Attach(T);
  EXPECT_EQ(T.FillMarkedCells(9.0, 0x81), 2);
  EXPECT_EQ(Log.Take(), "Change Change Change");  // per cell, then once more
  EXPECT_EQ(T.Elem(1, 2), 9.0);
  EXPECT_EQ(T.Elem(2, 3), 9.0);
  EXPECT_EQ(T.Elem(1, 1), 0.0);
  EXPECT_EQ(T.CellState(2, 3), 0x03);
  EXPECT_EQ(T.FillMarkedCells(1.0, 0x04), 0);
  EXPECT_EQ(Log.Take(), "");
  // A handler that shrinks the table between two writes ends the fill there.
  T.SetAllCellStates(0x10);
  T.OnChange = [&](TObject*) { T.Resize(1, 1); };
  EXPECT_EQ(T.FillMarkedCells(5.0, 0x10), 1);
  EXPECT_EQ(T.Elem(1, 1), 5.0);
}

TEST(DataTableStates, AttributeQueries) {
  TDataTable T(nullptr);
  T.Resize(5, 4);
  const int32_t RowAtt[] = {3, 7, 7, 1}, ColAtt[] = {-1, 256, 1000, 256, 0};
  for (int R = 1; R <= 4; ++R) T.SetRowAttrib(R, RowAtt[R - 1]);
  for (int C = 1; C <= 5; ++C) T.SetColAttrib(C, ColAtt[C - 1]);
  using TQuery = int32_t (TDataTable::*)(int32_t, int32_t, int32_t&) const;
  // query, range, extreme, the first row (column) holding it
  const struct { TQuery Query; int32_t Lo, Hi, Want, Pos; } Rows[] = {
      {&TDataTable::MaxRowAttrib, 0, 0, 7, 2},     {&TDataTable::MinRowAttrib, 0, 0, 1, 4},
      {&TDataTable::MaxRowAttrib, 9, 3, 7, 3},     {&TDataTable::MinColAttrib, 0, 0, -1, 1},
      {&TDataTable::MaxColAttrib, 2, 5, 1000, 3},  {&TDataTable::MinColAttrib, 4, 4, 256, 4}};
  for (const auto& R : Rows) {
    int32_t Pos = -1;
    EXPECT_EQ((T.*R.Query)(R.Lo, R.Hi, Pos), R.Want) << R.Lo << ".." << R.Hi;
    EXPECT_EQ(Pos, R.Pos);
  }
  // Levels of any attribute: -1, 256 and 1000 count like the rest.
  EXPECT_EQ(T.RowAttribLevels(), 3);
  EXPECT_EQ(T.ColAttribLevels(), 4);
  T.Resize(5, 0);
  int32_t Pos = -1;
  EXPECT_EQ(T.MaxRowAttrib(0, 0, Pos), 0);
  EXPECT_EQ(Pos + T.RowAttribLevels(), 0);
}

TEST(DataTableStates, FindByNameTrimsBlanksAndFoldsAsciiCase) {
  TDataTable T(nullptr);
  T.Resize(3, 2);
  T.SetColName(2, "  Weight ");
  T.SetColName(3, "weight");
  T.SetRowName(2, "\xC3\x89t\xC3\xA9");  // "Été"
  // key, column found ("\t" is no blank)
  const struct { const char* Key; int32_t Want; } Cols[] = {
      {"weight", 2}, {" WEIGHT  ", 2}, {"c-1", 1}, {"Weigh", 0}, {"\tweight", 0}};
  for (const auto& C : Cols) EXPECT_EQ(T.FindColIndex(C.Key), C.Want) << C.Key;
  EXPECT_EQ(T.FindRowIndex("\xC3\x89t\xC3\xA9"), 2);
  EXPECT_EQ(T.FindRowIndex("\xC3\xA9t\xC3\xA9"), 0);  // no folding beyond ASCII
  T.SetRowName(1, "   ");
  EXPECT_EQ(T.FindRowIndex(""), 1);
}

TEST(DataTableStates, ChecksumTexts) {
  TDataTable T(nullptr);
  EXPECT_EQ(T.CRCofCellStates(), "00000000D202EF8D" + std::string(48, '0'));
  T.Resize(2, 3);
  T.SetComment("Ab\xE2\x82\xAC\xF0\x9F\x98\x80\xFF");  // A b U+20AC U+1F600, and a stray byte
  T.SetColName(2, "Weight in kg");
  T.SetColAttrib(1, 258);
  T.SetColAttrib(2, -1);
  T.SetRowAttrib(2, 7);
  T.SetRowAttrib(3, 300);
  T.AddNominalID(1, "male");
  T.SetNominalID(1, 3, "x");
  T.SetMScaleType(2, stRatio);
  T.SetCellState(1, 1, 0x40);
  T.SetCellState(1, 3, 0x02);
  T.SetCellState(2, 2, 0x21);
  // Python: zlib.crc32 over the bytes routed to each register (position p
  // to register p % 8), printed "%08X", registers 0..7. Names: the comment's
  // UTF-16 units' low bytes 41 62 AC 3D 00 FD; names C-1, "Weight in kg";
  // attributes 02 FF; R-1..R-3; 00 07 2C; scales 01 04; identifiers male, x.
  EXPECT_EQ(T.CRCofNamesAndAttributes(), "E66C36712A65C97E2F85F2094C987C1279F94A7202B0FB95B7A3382AE96CCF45");
  // States: column 1 rows 1-3 40 00 02, column 2 00 21 00.
  EXPECT_EQ(T.CRCofCellStates(), "00000000B1A05DFA0DB002A173EF707D" + std::string(32, '0'));
  // Cells do not enter the names' checksum; one character of a name does.
  const std::string Names = T.CRCofNamesAndAttributes();
  T.SetElem(1, 1, 5.0);
  EXPECT_EQ(T.CRCofNamesAndAttributes(), Names);
  T.SetRowName(2, "R-X");
  EXPECT_NE(T.CRCofNamesAndAttributes(), Names);
  // Equal states, different row counts.
  TDataTable A(nullptr), B(nullptr);
  B.Resize(1, 2);
  EXPECT_NE(A.CRCofCellStates(), B.CRCofCellStates());
}

}  // namespace
