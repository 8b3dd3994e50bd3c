// TDataTable sorting: orders against Python's sorted(), what travels with an
// exchanged row or column, and the events of each sort.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "orvcalckit/ORV_datatable.h"
#include "support/components.h"

namespace {

using namespace orv;
using orv::test::TableText;
using orv::test::TTableEventLog;

std::vector<std::string> RowNames(const TDataTable& T) {
  std::vector<std::string> V;
  for (int32_t R = 1; R <= T.NrOfRows(); ++R) V.push_back(T.RowName(R));
  return V;
}

std::vector<std::string> ColNames(const TDataTable& T) {
  std::vector<std::string> V;
  for (int32_t C = 1; C <= T.NrOfColumns(); ++C) V.push_back(T.ColName(C));
  return V;
}

TEST(DataTableSort, NamesInByteOrderAsPythonSortsThem) {
  const std::vector<std::string> Names = {"delta", "Alpha", "charlie", "Bravo", "echo",  "alpha2",
                                          "\xC3\x81" "bc", "zulu", "Zed", "b", "Echo5", "_x"};
  // Python 3: sorted(n); sorted(n, key=lambda s: s.encode().lower()) (ASCII
  // folding only); sorted(n, reverse=True). UTF-8 keeps code point order.
  const std::vector<std::string> Ascending = {"Alpha", "Bravo", "Echo5", "Zed",  "_x",   "alpha2",
                                              "b",     "charlie", "delta", "echo", "zulu", "\xC3\x81" "bc"};
  const std::vector<std::string> Folded = {"_x",    "Alpha", "alpha2", "b",   "Bravo", "charlie",
                                           "delta", "echo",  "Echo5",  "Zed", "zulu",  "\xC3\x81" "bc"};
  const std::vector<std::string> Descending(Ascending.rbegin(), Ascending.rend());
  const auto N = static_cast<int32_t>(Names.size());
  TDataTable T(nullptr);
  const struct { bool Ascending, IgnoreCase; const std::vector<std::string>& Want; } Rows[] = {
      {true, false, Ascending}, {true, true, Folded}, {false, false, Descending}};
  for (const auto& R : Rows) {
    T.Resize(2, N);
    for (int32_t I = 1; I <= N; ++I) {
      T.SetRowName(I, Names[detail::Ix1(I)]);
      T.SetElem(1, I, I);  // the row's values follow its name
    }
    T.SortRowNames(R.Ascending, R.IgnoreCase, 0, 0, 0, 0);
    EXPECT_EQ(RowNames(T), R.Want) << R.Ascending << R.IgnoreCase;
    for (int32_t I = 1; I <= N; ++I) EXPECT_EQ(Names[detail::Ix1(int32_t(T.Elem(1, I)))], T.RowName(I));
    // columns alike
    T.Resize(N, 1);
    for (int32_t I = 1; I <= N; ++I) T.SetColName(I, Names[detail::Ix1(I)]);
    T.SortColNames(R.Ascending, R.IgnoreCase, 0, 0, 0, 0);
    EXPECT_EQ(ColNames(T), R.Want);
  }
  // The documented examples: b, A, c gives A, b, c both ways; Ab, a gives
  // a, Ab ignoring case and Ab, a otherwise (the five-argument form).
  T.Resize(1, 3);
  T.SetRowName(1, "b");
  T.SetRowName(2, "A");
  T.SetRowName(3, "c");
  T.SortRowNames(true, 0, 0, 0, 0);
  EXPECT_EQ(RowNames(T), std::vector<std::string>({"A", "b", "c"}));
  T.Resize(1, 2);
  T.SetRowName(1, "Ab");
  T.SetRowName(2, "a");
  T.SortRowNames(true, true, 0, 0, 0, 0);
  EXPECT_EQ(RowNames(T), std::vector<std::string>({"a", "Ab"}));
  T.SortRowNames(true, 0, 0, 0, 0);
  EXPECT_EQ(RowNames(T), std::vector<std::string>({"Ab", "a"}));
}

TEST(DataTableSort, AttributeSortsCarryTheWholeLine) {
  TDataTable T(nullptr);
  T.Resize(3, 2);
  test::FillRows(*T.NumericData, {{1, 2, 3}, {4, 5, 6}});
  const int32_t Att[] = {1, 3, 2};
  for (int32_t C = 1; C <= 3; ++C) T.SetColAttrib(C, Att[C - 1]);
  T.SetMScaleType(2, stNominal);
  T.SetNominalID(2, 1, "one");
  T.SetCellState(2, 2, 0x40);
  TTableEventLog Log;
  Log.Attach(T);
  T.SortColAttributes(false, 0, 0, 0, 0);
  EXPECT_EQ(TableText(T), "C-2/3/1 C-3/2/3 C-1/1/3 | R-1/0 R-2/0 | 2 5@40 ; 3 6 ; 1 4");
  EXPECT_EQ(T.NominalID(1, 1), "one");
  // OnChange per value written through the matrix (two rows, two writes
  // each), then the exchange; OnChange and OnChangeAttrib at the end.
  EXPECT_EQ(Log.Take(), "Change Change Change Change Exchange(1,1,2,1,2) Change Change Change Change "
                        "Exchange(1,2,3,1,2) Change Attrib");
  // Python: sorted([5, -3, 12, 0, -7, 9, 2, -1], reverse=True); signed keys.
  const int32_t Keys[] = {5, -3, 12, 0, -7, 9, 2, -1};
  const int32_t Want[] = {12, 9, 5, 2, 0, -1, -3, -7};
  T.OnChange = nullptr;
  T.Resize(1, 8);
  for (int32_t R = 1; R <= 8; ++R) T.SetRowAttrib(R, Keys[R - 1]);
  T.SortRowAttributes(false, 0, 0, 0, 0);
  for (int32_t R = 1; R <= 8; ++R) EXPECT_EQ(T.RowAttrib(R), Want[R - 1]);
  // A range of one row sorts nothing and fires nothing.
  Log.Take();
  T.SortRowAttributes(true, 0, 3, 0, 3);
  T.SortColNames(true, 0, 0, 0, 0);
  EXPECT_EQ(Log.Take(), "");
}

TEST(DataTableSort, ValueSortsMoveStatesAndHeadersThroughTheMatrix) {
  // Rows by column 1 over columns 2..3: column 1's values move, its states
  // do not (it lies outside the range); names follow only with headers.
  TDataTable T(nullptr);
  T.Resize(3, 3);
  test::FillRows(*T.NumericData, {{3, 30, 300}, {1, 10, 100}, {2, 20, 200}});
  for (int32_t R = 1; R <= 3; ++R) {
    T.SetRowName(R, std::string(1, char('a' + R - 1)));
    T.SetCellState(1, R, uint8_t(0x10 * R));
    T.SetCellState(2, R, uint8_t(0x10 * R));
  }
  TTableEventLog Log;
  Log.Attach(T);
  T.SortRows(1, true, 2, 0, 3, 0, false);
  EXPECT_EQ(TableText(T),
            "C-1/0/3 C-2/0/3 C-3/0/3 | a/0 b/0 c/0 | 1@10 2@20 3@30 ; 10@20 20@30 30@10 ; 100 200 300");
  EXPECT_EQ(Log.Take(), "Exchange(2,1,2,2,3) Exchange(2,2,3,2,3) Change");
  T.SortRows(1, false, 0, 0, 0, 0, true);
  EXPECT_EQ(TableText(T),
            "C-1/0/3 C-2/0/3 C-3/0/3 | c/0 b/0 a/0 | 3@30 2@20 1@10 ; 30@10 20@30 10@20 ; 300 200 100");
  EXPECT_EQ(Log.Take(), "Exchange(2,1,2,1,3) Exchange(2,2,3,1,3) Exchange(2,1,2,1,3) Change Names Attrib");
  // Columns by row 1, descending, headers along: scales travel too.
  T.SetMScaleType(3, stRatio);
  T.SortCols(1, true, 0, 0, 0, 0, true);
  EXPECT_EQ(TableText(T),
            "C-1/0/3 C-2/0/3 C-3/0/4 | c/0 b/0 a/0 | 3@30 2@20 1@10 ; 30@10 20@30 10@20 ; 300 200 100");
  T.SortCols(1, false, 0, 0, 0, 0, true);
  EXPECT_EQ(TableText(T),
            "C-3/0/4 C-2/0/3 C-1/0/3 | c/0 b/0 a/0 | 300 200 100 ; 30@10 20@30 10@20 ; 3@30 2@20 1@10");
  Log.Take();
  T.SortRows(9, true, 0, 0, 0, 0, false);  // a key column outside sorts nothing
  EXPECT_EQ(Log.Take(), "");
  // Without rows (columns) there is nothing to sort, and no state to read,
  // with an exchange handler or without.
  for (const bool Watched : {true, false}) {
    T.OnSortExchange = Watched ? T.OnSortExchange : nullptr;
    T.Resize(3, 0);
    T.SortRows(1, true, 0, 0, 0, 0, false);
    T.SortRows(1, true, 0, 0, 0, 0, true);
    T.Resize(0, 3);
    T.SortCols(1, false, 0, 0, 0, 0, false);
    T.Resize(3, 3);
    EXPECT_EQ(Log.Take(), "Resize(3,3>3,0) Names Attrib Resize(3,0>0,3) Resize(0,3>3,3)");
  }
}

TEST(DataTableSort, ValueSortsGiveTheSameTableWithAndWithoutHandlers) {
  // Without handlers the states and headers follow once after the sort (or
  // not at all where every exchange would leave them); with an exchange
  // handler at each exchange. Both must end alike.
  struct TCase {
    bool Rows, Headers, States;
    int32_t Key, LoC, LoR, HiC, HiR;
  };
  const TCase Cases[] = {{true, false, true, 2, 0, 0, 0, 0},   {true, true, false, 1, 2, 3, 4, 18},
                         {true, true, true, 5, 1, 2, 3, 20},   {false, false, true, 3, 0, 0, 0, 0},
                         {false, true, true, 7, 2, 4, 6, 15},  {false, true, false, 1, 0, 0, 0, 0},
                         {true, false, false, 3, 0, 0, 0, 0}};
  for (const auto& K : Cases) {
    TDataTable Quiet(nullptr), Watched(nullptr);
    Quiet.Resize(6, 20);
    SetRandSeed(11);
    for (int32_t C = 1; C <= 6; ++C) {
      Quiet.SetColAttrib(C, C);
      Quiet.SetMScaleType(C, C % 2 ? stInterval : stRatio);
      for (int32_t R = 1; R <= 20; ++R) {
        Quiet.SetElem(C, R, std::floor(Random() * 9));
        if (K.States && Random() < 0.3) Quiet.SetCellState(C, R, 0x40);
        if (C == 1) Quiet.SetRowAttrib(R, R);
      }
    }
    Watched.CopyContentsFrom(&Quiet);
    std::string AtChange;  // what OnChange sees: the states have followed already
    Quiet.OnChange = [&](TObject*) { AtChange = TableText(Quiet); };
    int Exchanges = 0;
    Watched.OnSortExchange = [&](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) { ++Exchanges; };
    for (TDataTable* T : {&Quiet, &Watched}) {
      if (K.Rows)
        T->SortRows(K.Key, true, K.LoC, K.LoR, K.HiC, K.HiR, K.Headers);
      else
        T->SortCols(K.Key, false, K.LoC, K.LoR, K.HiC, K.HiR, K.Headers);
    }
    EXPECT_GT(Exchanges, 0);
    EXPECT_EQ(TableText(Quiet), TableText(Watched)) << K.Rows << K.Headers << K.States << " key " << K.Key;
    EXPECT_EQ(AtChange, TableText(Watched));
  }
}

TEST(DataTableSort, HandlerThatShrinksTheTableEndsTheSort) {
  TDataTable T(nullptr);
  T.Resize(2, 6);
  for (int32_t R = 1; R <= 6; ++R) T.SetRowName(R, std::string(1, char('f' - R + 1)));
  int Exchanges = 0;
  T.OnSortExchange = [&](TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
    ++Exchanges;
    T.Resize(1, 2);
  };
  T.SortRowNames(true, 0, 0, 0, 0);
  EXPECT_EQ(Exchanges, 1);
  EXPECT_EQ(T.NrOfRows(), 2);
}

}  // namespace
