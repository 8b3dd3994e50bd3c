// Rearranging a TMatrix against NumPy (numpy.delete, numpy.flip, .T and
// numpy.diff on the rows as written), with the events and refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::test::AllRows;
using orv::test::FillRows;
using orv::test::TChangeCounter;
using Rows = std::vector<std::vector<double>>;

const Rows Base = {{1.5, -2, 3, 4}, {5, 6.25, -7, 8}, {9, 10, 11, -12.75}};

TEST(MatrixRearrange, AgainstNumPyWithOneEventEach) {
  // Expected rows from numpy 1.24 on np.array(Base).
  const struct {
    std::string Name;
    std::function<void(TMatrix&)> Op;
    Rows Want;
  } Cases[] = {
      {"RemoveColumn(2) = delete(1, axis=1)", [](TMatrix& M) { EXPECT_TRUE(M.RemoveColumn(2)); },
       {{1.5, 3, 4}, {5, -7, 8}, {9, 11, -12.75}}},
      {"RemoveRow(2) = delete(1, axis=0)", [](TMatrix& M) { EXPECT_TRUE(M.RemoveRow(2)); },
       {{1.5, -2, 3, 4}, {9, 10, 11, -12.75}}},
      {"MirrorColumns = flip(axis=1)", [](TMatrix& M) { M.MirrorColumns(); },
       {{4, 3, -2, 1.5}, {8, -7, 6.25, 5}, {-12.75, 11, 10, 9}}},
      {"MirrorRows = flip(axis=0)", [](TMatrix& M) { M.MirrorRows(); },
       {{9, 10, 11, -12.75}, {5, 6.25, -7, 8}, {1.5, -2, 3, 4}}},
      {"Transpose = .T", [](TMatrix& M) { EXPECT_TRUE(M.Transpose()); },
       {{1.5, 5, 9}, {-2, 6.25, 10}, {3, -7, 11}, {4, 8, -12.75}}},
      {"ExchangeColumns(4, 1)", [](TMatrix& M) { M.ExchangeColumns(4, 1); },
       {{4, -2, 3, 1.5}, {8, 6.25, -7, 5}, {-12.75, 10, 11, 9}}},
      {"ExchangeRows(1, 3)", [](TMatrix& M) { M.ExchangeRows(1, 3); },
       {{9, 10, 11, -12.75}, {5, 6.25, -7, 8}, {1.5, -2, 3, 4}}},
      {"Diff(1) = diff(n=1, axis=0)", [](TMatrix& M) { M.Diff(1); },
       {{3.5, 8.25, -10, 4}, {4, 3.75, 18, -20.75}}},
  };
  for (const auto& C : Cases) {
    TMatrix M(nullptr);
    FillRows(M, Base);
    TChangeCounter Ch;
    Ch.Attach(M);
    C.Op(M);
    EXPECT_EQ(AllRows(M), C.Want) << C.Name;
    EXPECT_EQ(Ch.Count, 1) << C.Name;
  }
}

TEST(MatrixRearrange, TransposeSquareInPlaceAndOtherShapesAcrossTiles) {
  // Cell (c, r) = 1000 c + r must come back as cell (r, c); sizes beyond one 64 x 64 tile.
  const struct { int32_t Cols, Rows; } Shapes[] = {{70, 70}, {130, 65}, {1, 1}, {0, 0}, {2, 129}};
  for (const auto& S : Shapes) {
    TMatrix M(nullptr);
    M.Resize(S.Cols, S.Rows);
    for (int32_t C = 1; C <= S.Cols; ++C)
      for (int32_t R = 1; R <= S.Rows; ++R) M.SetVal(C, R, 1000 * C + R);
    TChangeCounter Ch;
    Ch.Attach(M);
    ASSERT_TRUE(M.Transpose());
    ASSERT_EQ(M.NrOfColumns(), S.Rows);
    ASSERT_EQ(M.NrOfRows(), S.Cols);
    int Wrong = 0;
    for (int32_t C = 1; C <= S.Rows; ++C)
      for (int32_t R = 1; R <= S.Cols; ++R) Wrong += M.GetVal(C, R) != 1000 * R + C;
    EXPECT_EQ(Wrong, 0) << S.Cols << " x " << S.Rows;
    EXPECT_EQ(Ch.Count, 1);
  }
}

TEST(MatrixRearrange, DiffOrdersAndLimits) {
  // The documented example: a column 1, 4, 9, 16.
  TMatrix M(nullptr);
  FillRows(M, {{1}, {4}, {9}, {16}});
  TChangeCounter Ch;
  Ch.Attach(M);
  for (int32_t Order : {0, 4, 11, -1}) M.Diff(Order);  // Order < 1, >= rows, > 10: nothing
  EXPECT_EQ(Ch.Count, 0);
  EXPECT_EQ(M.NrOfRows(), 4);
  M.Diff(2);
  EXPECT_EQ(AllRows(M), (Rows{{2}, {2}}));
  // numpy.diff(x, n, axis=0) of x = [[0.1, 2], [0.7, -3.5], [0.2, 1e-3], [1e5, 4], [-0.3, 2.5]],
  // exactly (the same subtractions in the same order).
  const Rows X = {{0.1, 2.0}, {0.7, -3.5}, {0.2, 1e-3}, {1e5, 4.0}, {-0.3, 2.5}};
  const Rows Want[] = {
      {{0.6, -5.5}, {-0.49999999999999994, 3.501}, {99999.8, 3.999}, {-100000.3, -1.5}},
      {{-1.0999999999999999, 9.001}, {100000.3, 0.4980000000000002}, {-200000.1, -5.4990000000000006}},
      {{100001.40000000001, -8.503}, {-300000.4, -5.997000000000001}},
  };
  for (int32_t Order = 1; Order <= 3; ++Order) {
    FillRows(M, X);
    M.Diff(Order);
    EXPECT_EQ(AllRows(M), Want[Order - 1]) << "order " << Order;
  }
  // Ten passes at most: 1, -1, 1, ... gives numpy.diff(n=10) = 1024 on 11 rows, nothing for 11 passes.
  M.Resize(1, 12);
  for (int32_t R = 1; R <= 12; ++R) M.SetVal(1, R, R % 2 ? 1 : -1);
  M.Diff(11);
  EXPECT_EQ(M.NrOfRows(), 12);
  M.Diff(10);
  EXPECT_EQ(AllRows(M), (Rows{{1024}, {-1024}}));
}

TEST(MatrixRearrange, IndicesOutsideOrLastLineRefusedWithoutEvent) {
  TMatrix M(nullptr);
  FillRows(M, Base);
  TChangeCounter Ch;
  Ch.Attach(M);
  for (int32_t I : {0, -1, 5, INT32_MIN, INT32_MAX}) {
    EXPECT_FALSE(M.RemoveColumn(I)) << I;
    EXPECT_FALSE(M.RemoveRow(I == 5 ? 4 : I)) << I;
    M.ExchangeColumns(1, I);
    M.ExchangeColumns(I, 2);
    M.ExchangeRows(I == 5 ? 4 : I, 1);
  }
  EXPECT_EQ(Ch.Count, 0);
  EXPECT_EQ(AllRows(M), Base);
  TMatrix One(nullptr);  // 1 x 1: the only column and row stay
  EXPECT_FALSE(One.RemoveColumn(1));
  EXPECT_FALSE(One.RemoveRow(1));
  // Without rows or columns the rearrangements visit nothing but still report.
  M.Resize(3, 0);
  Ch.Count = 0;
  M.MirrorRows();
  M.MirrorColumns();
  EXPECT_TRUE(M.Transpose());
  EXPECT_EQ(M.NrOfColumns(), 0);
  EXPECT_EQ(M.NrOfRows(), 3);
  EXPECT_EQ(Ch.Count, 3);
  // Removed cells do not come back when the matrix grows again.
  FillRows(M, {{1}, {2}, {3}});
  ASSERT_TRUE(M.RemoveRow(1));
  M.Resize(2, 3);
  EXPECT_EQ(AllRows(M), (Rows{{2, 0}, {3, 0}, {0, 0}}));
}

}  // namespace
