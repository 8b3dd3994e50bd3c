// Reordering a TIntMatrix: integer keys at the ends of the range, mirrors and
// removals against NumPy, exchanges, events.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"

namespace {

using orv::TIntMatrix;
using orv::test::AllRows;
using orv::test::FillRows;
using orv::test::TChangeCounter;
using orv::test::TSortRecorder;
using Rows = std::vector<std::vector<int32_t>>;

// 4 columns x 3 rows holding both ends of the 32-bit range.
void Fill43(TIntMatrix& M) {
  FillRows(M, {{1, -2, 3, 2147483647}, {-2147483648.0, 6, 7, 8}, {9, 10, -11, 12}});
}

TEST(IntMatrixRearrange, AgainstNumPyWithOneEventEach) {
  // numpy 1.24 on the int32 array of Fill43: flip(A, 0), flip(A, 1),
  // delete(A, 1, axis=1), delete(A, 2, axis=0); the sorts as
  // A[argsort(A[:, 3])] and A[:, argsort(-A[0, :])] (no equal keys).
  const struct { void (*Op)(TIntMatrix&); Rows Want; const char* Name; } Cases[] = {
      {[](TIntMatrix& M) { M.MirrorRows(); },
       {{9, 10, -11, 12}, {-2147483648, 6, 7, 8}, {1, -2, 3, 2147483647}}, "MirrorRows"},
      {[](TIntMatrix& M) { M.MirrorColumns(); },
       {{2147483647, 3, -2, 1}, {8, 7, 6, -2147483648}, {12, -11, 10, 9}}, "MirrorColumns"},
      {[](TIntMatrix& M) { EXPECT_TRUE(M.RemoveColumn(2)); },
       {{1, 3, 2147483647}, {-2147483648, 7, 8}, {9, -11, 12}}, "RemoveColumn"},
      {[](TIntMatrix& M) { EXPECT_TRUE(M.RemoveRow(3)); },
       {{1, -2, 3, 2147483647}, {-2147483648, 6, 7, 8}}, "RemoveRow"},
      {[](TIntMatrix& M) { M.SortRows(4, true, 0, 0, 0, 0); },
       {{-2147483648, 6, 7, 8}, {9, 10, -11, 12}, {1, -2, 3, 2147483647}}, "SortRows"},
      {[](TIntMatrix& M) { M.SortCols(1, false, 0, 0, 0, 0); },
       {{2147483647, 3, 1, -2}, {8, 7, -2147483648, 6}, {12, -11, 9, 10}}, "SortCols"},
      {[](TIntMatrix& M) { M.ExchangeRows(1, 3); },
       {{9, 10, -11, 12}, {-2147483648, 6, 7, 8}, {1, -2, 3, 2147483647}}, "ExchangeRows"},
  };
  for (const auto& C : Cases) {
    TIntMatrix M(nullptr);
    Fill43(M);
    TChangeCounter Ch;
    Ch.Attach(M);
    C.Op(M);
    EXPECT_EQ(AllRows(M), C.Want) << C.Name;
    EXPECT_EQ(Ch.Count, 1) << C.Name;
  }
}

TEST(IntMatrixRearrange, SortReportsEachExchangeAndRefusesOutsideKeys) {
  // Rows 1..4 by column 2 with the block 1..1: column 2 moves too, column 3
  // stays, and each exchange reports kind 2 with the bounds 1, 1.
  TIntMatrix M(nullptr);
  FillRows(M, {{1, 40, 7}, {2, 30, 8}, {3, 20, 9}, {4, 10, 6}});
  TSortRecorder Rec;
  Rec.Attach(M);
  M.SortRows(2, true, 1, 0, 1, 0);
  EXPECT_EQ(AllRows(M), (Rows{{4, 10, 7}, {3, 20, 8}, {2, 30, 9}, {1, 40, 6}}));
  ASSERT_FALSE(Rec.Exchanges.empty());
  for (const auto& E : Rec.Exchanges) {
    EXPECT_EQ(std::get<0>(E), 2);
    EXPECT_EQ(std::get<3>(E), 1);
    EXPECT_EQ(std::get<4>(E), 1);
  }
  EXPECT_EQ(Rec.Changes, 1);
  // Keys and exchanged lines outside the matrix, one row or one line: nothing, no event.
  Rec.Exchanges.clear();
  M.SortRows(4, true, 0, 0, 0, 0);
  M.SortRows(0, true, 0, 0, 0, 0);
  M.SortCols(5, false, 0, 0, 0, 0);
  M.SortRows(1, true, 0, 2, 0, 2);
  M.ExchangeColumns(1, 4);
  M.ExchangeRows(0, 2);
  M.ExchangeRows(2, 5);
  EXPECT_FALSE(M.RemoveColumn(0));
  EXPECT_FALSE(M.RemoveRow(5));
  TIntMatrix One(nullptr);  // 1 x 1
  EXPECT_FALSE(One.RemoveColumn(1));
  EXPECT_FALSE(One.RemoveRow(1));
  EXPECT_EQ(AllRows(M), (Rows{{4, 10, 7}, {3, 20, 8}, {2, 30, 9}, {1, 40, 6}}));
  EXPECT_TRUE(Rec.Exchanges.empty());
  EXPECT_EQ(Rec.Changes, 1);
  // Mirroring one row changes nothing but fires.
  FillRows(M, {{5, 6, 7}});
  TChangeCounter Ch;
  Ch.Attach(M);
  M.MirrorRows();
  EXPECT_EQ(AllRows(M), (Rows{{5, 6, 7}}));
  EXPECT_EQ(Ch.Count, 1);
}

}  // namespace
