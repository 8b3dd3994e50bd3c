// Sorting the rows and columns of a TMatrix block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::test::Column;
using orv::test::FillRows;
using orv::test::Row;
using TRecorder = orv::test::TSortRecorder;
using Exch = TRecorder::TExchange;

TEST(MatrixSort, RowsByKeyOutsideBlockMoveKeyTooAndReportEachExchange) {
  TMatrix M(nullptr);
  FillRows(M, {{10, 4, 100}, {20, 3, 200}, {30, 2, 300}, {40, 1, 400}});
  TRecorder Rec;
  Rec.Attach(M);
  M.SortRows(2, true, 1, 1, 1, 4);
  EXPECT_EQ(Column(M, 1), (std::vector<double>{40, 30, 20, 10}));
  EXPECT_EQ(Column(M, 2), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Column(M, 3), (std::vector<double>{100, 200, 300, 400}));  // untouched
  // Gaps 3 -> 2 -> 1: pairs (1,3), (2,4), then (1,2) and (3,4).
  EXPECT_EQ(Rec.Exchanges,
            (std::vector<Exch>{{2, 1, 3, 1, 1}, {2, 2, 4, 1, 1}, {2, 1, 2, 1, 1}, {2, 3, 4, 1, 1}}));
  EXPECT_EQ(Rec.Changes, 1);
}

TEST(MatrixSort, DegenerateRangesAndKeys) {
  TMatrix M(nullptr);
  FillRows(M, {{3, 1}, {2, 1}, {1, 1}});
  TRecorder Rec;
  Rec.Attach(M);
  M.SortRows(1, true, 0, 2, 0, 2);  // one row
  EXPECT_EQ(Rec.Changes, 0);
  M.SortRows(2, true, 0, 0, 0, 0);  // all keys equal: no exchange, one OnChange
  EXPECT_TRUE(Rec.Exchanges.empty());
  EXPECT_EQ(Rec.Changes, 1);
  EXPECT_EQ(Column(M, 1), (std::vector<double>{3, 2, 1}));
  // Keys outside the matrix sort nothing and fire nothing.
  for (int Key : {0, -1, 3, INT32_MAX, INT32_MIN}) {
    M.SortRows(Key, true, 0, 0, 0, 0);
    M.SortCols(Key + (Key == 3 ? 1 : 0), true, 0, 0, 0, 0);
  }
  EXPECT_EQ(Rec.Changes, 1);
  EXPECT_EQ(Column(M, 1), (std::vector<double>{3, 2, 1}));
  // Empty axes: no cell is touched.
  M.Resize(2, 0);
  M.SortRows(1, true, 0, 0, 0, 0);
  M.SortCols(1, true, 0, 0, 0, 0);
  M.Resize(0, 3);
  M.SortRows(1, true, 0, 0, 0, 0);
  M.SortCols(1, false, 0, 0, 0, 0);
  EXPECT_TRUE(Rec.Exchanges.empty());
}

TEST(MatrixSort, ColumnsDescendingWholeAndReversedBounds) {
  TMatrix M(nullptr);
  FillRows(M, {{5, 1, 4}, {50, 10, 40}});
  TRecorder Rec;
  Rec.Attach(M);
  M.SortCols(1, false, 0, 0, 0, 0);
  EXPECT_EQ(Row(M, 1), (std::vector<double>{5, 4, 1}));
  EXPECT_EQ(Row(M, 2), (std::vector<double>{50, 40, 10}));
  ASSERT_FALSE(Rec.Exchanges.empty());
  for (auto& E : Rec.Exchanges) {
    EXPECT_EQ(std::get<0>(E), 1);
    EXPECT_EQ(std::get<3>(E), 1);  // the clamped row bounds
    EXPECT_EQ(std::get<4>(E), 2);
  }
  // Reversed bounds are exchanged; rows outside the block stay.
  M.SortCols(2, true, 9, 2, -3, 2);
  EXPECT_EQ(Row(M, 2), (std::vector<double>{10, 40, 50}));
  EXPECT_EQ(Row(M, 1), (std::vector<double>{5, 4, 1}));
  EXPECT_EQ(std::get<3>(Rec.Exchanges.back()), 2);
  EXPECT_EQ(std::get<4>(Rec.Exchanges.back()), 2);
  // A key row outside the block moves along with it.
  M.SortCols(1, true, 0, 2, 0, 2);
  EXPECT_EQ(Row(M, 1), (std::vector<double>{1, 4, 5}));
  EXPECT_EQ(Row(M, 2), (std::vector<double>{50, 40, 10}));
  // A partial block leaves the other columns alone.
  FillRows(M, {{9, 3, 2, 1}, {0, 0, 0, 0}});
  M.SortCols(1, true, 2, 1, 4, 1);
  EXPECT_EQ(Row(M, 1), (std::vector<double>{9, 1, 2, 3}));
}

TEST(MatrixSort, NaNKeysEndAndGoLastInBothDirections) {
  const double NaN = std::nan("");
  for (bool Asc : {true, false}) {
    TMatrix M(nullptr);
    FillRows(M, {{NaN, 1}, {2, 2}, {NaN, 3}, {-1, 4}, {5, 5}});
    M.SortRows(1, Asc, 0, 0, 0, 0);
    const std::vector<double> Want = Asc ? std::vector<double>{-1, 2, 5} : std::vector<double>{5, 2, -1};
    for (int R = 1; R <= 3; ++R) EXPECT_EQ(M.Elem(1, R), Want[size_t(R - 1)]) << Asc;
    EXPECT_TRUE(std::isnan(M.Elem(1, 4)));
    EXPECT_TRUE(std::isnan(M.Elem(1, 5)));
    // Rows moved as a whole: the second column still names each row's key.
    for (int R = 1; R <= 5; ++R) {
      const double Id = M.Elem(2, R), Key = M.Elem(1, R);
      if (Id == 1 || Id == 3) {
        EXPECT_TRUE(std::isnan(Key));
      } else {
        EXPECT_EQ(Key, Id == 2 ? 2 : Id == 4 ? -1 : 5);
      }
    }
  }
}

TEST(MatrixSort, LargeSortKeepsRowsWholeAndEventsReplayTheOrder) {
  const int N = 5000;
  TMatrix M(nullptr);
  M.Resize(3, N);
  orv::SetRandSeed(42);
  for (int R = 1; R <= N; ++R) {
    M.SetVal(1, R, R);                                  // row identity
    M.SetVal(2, R, std::floor(orv::Random() * 100));  // many equal keys
    M.SetVal(3, R, -R);
  }
  std::vector<int> Labels(N + 1);
  std::iota(Labels.begin(), Labels.end(), 0);
  M.OnSortExchange = [&](orv::TObject*, uint8_t, int32_t A, int32_t B, int32_t, int32_t) {
    std::swap(Labels[size_t(A)], Labels[size_t(B)]);
  };
  M.SortRows(2, false, 1, 0, 1, 0);  // columns 1 and the key 2 move; 3 stays
  for (int R = 1; R <= N; ++R) {
    if (R > 1) {
      EXPECT_GE(M.Elem(2, R - 1), M.Elem(2, R));
    }
    EXPECT_EQ(M.Elem(1, R), Labels[size_t(R)]);  // the host's parallel labels follow
    EXPECT_EQ(M.Elem(3, R), -R);
  }
  std::vector<int> Ids;
  for (int R = 1; R <= N; ++R) Ids.push_back(int(M.Elem(1, R)));
  std::sort(Ids.begin(), Ids.end());
  for (int R = 1; R <= N; ++R) EXPECT_EQ(Ids[size_t(R - 1)], R);
}

TEST(MatrixSort, SameResultWithAndWithoutExchangeHandler) {
  struct TCase {
    bool Rows, Asc;
    int Key, LoC, LoR, HiC, HiR;
  };
  const std::vector<TCase> Cases = {{true, true, 2, 0, 0, 0, 0},   {true, false, 7, 2, 5, 4, 30},
                                    {true, true, 1, 3, 40, 6, 1},  {false, true, 3, 0, 0, 0, 0},
                                    {false, false, 40, 2, 5, 6, 9}, {false, true, 1, 7, 2, 1, 39}};
  for (const auto& T : Cases) {
    TMatrix A(nullptr), B(nullptr);
    A.Resize(7, 40);
    orv::SetRandSeed(3);
    for (int C = 1; C <= 7; ++C)
      for (int R = 1; R <= 40; ++R) A.SetVal(C, R, std::floor(orv::Random() * 10));
    B.Assign(&A);
    int Events = 0;
    // Every other event moves B's cells to new storage of the same size.
    B.OnSortExchange = [&](orv::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
      if (++Events % 2 == 0) {
        orv::TDouble2DArray Moved = B.Mat;
        B.Mat.swap(Moved);
      }
    };
    if (T.Rows) {
      A.SortRows(T.Key, T.Asc, T.LoC, T.LoR, T.HiC, T.HiR);
      B.SortRows(T.Key, T.Asc, T.LoC, T.LoR, T.HiC, T.HiR);
    } else {
      A.SortCols(T.Key, T.Asc, T.LoC, T.LoR, T.HiC, T.HiR);
      B.SortCols(T.Key, T.Asc, T.LoC, T.LoR, T.HiC, T.HiR);
    }
    EXPECT_GT(Events, 0);
    for (int C = 1; C <= 7; ++C)
      for (int R = 1; R <= 40; ++R) ASSERT_EQ(A.Elem(C, R), B.Elem(C, R)) << T.Rows << T.Key << " " << C << "," << R;
    // The key line is ordered inside the block.
    int Lo = T.Rows ? T.LoR : T.LoC, Hi = T.Rows ? T.HiR : T.HiC;
    if (T.Rows) {
      A.MakeValidRowRange(Lo, Hi);
    } else {
      A.MakeValidColRange(Lo, Hi);
    }
    for (int I = Lo; I < Hi; ++I) {
      const double X = T.Rows ? A.Elem(T.Key, I) : A.Elem(I, T.Key);
      const double Y = T.Rows ? A.Elem(T.Key, I + 1) : A.Elem(I + 1, T.Key);
      EXPECT_TRUE(T.Asc ? X <= Y : X >= Y) << I;
    }
  }
}

TEST(MatrixSort, HandlerThatResizesEndsTheSortSafely) {
  TMatrix M(nullptr);
  FillRows(M, {{4}, {3}, {2}, {1}, {0}});
  int Calls = 0;
  M.OnSortExchange = [&](orv::TObject*, uint8_t, int32_t, int32_t, int32_t, int32_t) {
    if (++Calls == 1) M.Resize(1, 2);
  };
  int Changes = 0;
  M.OnChange = [&](orv::TObject*) { ++Changes; };
  M.SortRows(1, true, 0, 0, 0, 0);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(M.NrOfRows(), 2);
  EXPECT_EQ(Changes, 2);  // the resize and the end of the sort
}

}  // namespace
