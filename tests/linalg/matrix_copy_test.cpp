// Copying TMatrix blocks to and from vectors, matrices and dynamic arrays:
// bounds, events, rounding, ragged arrays and overlapping copies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::TVector;
using orv::test::Column;
using orv::test::FillRows;
using orv::test::FillValues;
using orv::test::Row;
using orv::test::TChangeCounter;
using orv::test::Values;
using Vec = std::vector<double>;

// 3 columns x 5 rows; cell (c, r) = 10 r + c.
void Fill35(TMatrix& M) { FillRows(M, {{11, 12, 13}, {21, 22, 23}, {31, 32, 33}, {41, 42, 43}, {51, 52, 53}}); }

TEST(MatrixCopy, LinesIntoVectorsClampAndCut) {
  TMatrix M(nullptr);
  Fill35(M);
  TVector V2(nullptr), V4(nullptr);
  FillValues(V2, {-1, -1});
  FillValues(V4, {-1, -1, -1, -1});
  // Row or column, its number, the cross range, the vector, what it holds (the documented examples first).
  const struct { bool ByRow; int32_t Line, First, Last; TVector* Dest; Vec Want; } Cases[] = {
      {false, 2, 3, 5, &V2, {32, 42}},        // two elements of a three-row range
      {false, 0, 0, 0, &V2, {11, 21}},        // column 0 reads column 1
      {false, 99, 5, 4, &V2, {43, 53}},       // column 99 reads the last; reversed rows
      {false, 1, 2, 3, &V4, {21, 31, 0, 0}},  // a short range leaves zeros
      {true, 4, 0, 0, &V4, {41, 42, 43, 0}},
      {true, -7, 3, 9, &V4, {13, 0, 0, 0}},   // row -7 reads row 1; column 9 is the last
      {true, 6, 2, 1, &V2, {51, 52}},
  };
  for (const auto& C : Cases) {
    (M.*(C.ByRow ? &TMatrix::CopyRowToVec : &TMatrix::CopyColToVec))(C.Dest, C.Line, C.First, C.Last);
    EXPECT_EQ(Values(*C.Dest), C.Want) << (C.ByRow ? "row " : "column ") << C.Line;
  }
  TChangeCounter ChM, ChV;  // the zeros, then each element; the matrix fires nothing
  ChM.Attach(M);
  ChV.Attach(V4);
  M.CopyColToVec(&V4, 1, 1, 3);
  M.CopyRowToVec(nullptr, 1, 1, 3);
  EXPECT_EQ(ChV.Count, 1 + 3);
  M.Resize(3, 0);  // no row to read: only the zeros
  M.CopyRowToVec(&V4, 1, 0, 0);
  EXPECT_EQ(Values(V4), (Vec{0, 0, 0, 0}));
  EXPECT_EQ(ChV.Count, 4 + 1);
  EXPECT_EQ(ChM.Count, 1);  // the Resize
}

TEST(MatrixCopy, FromVectorsAndMatricesPerWrittenCellThenOnce) {
  TMatrix M(nullptr), Src(nullptr);
  TVector V(nullptr);
  FillValues(V, {1, 2, 3, 4});
  Fill35(Src);
  M.Resize(3, 4);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.CopyFromVec(&V, 2, 4, 3, 4);  // a column from (3, 4): one element fits
  EXPECT_EQ(Column(M, 3), (Vec{0, 0, 0, 2}));
  M.CopyFromVec(orv::dimColumns, &V, 0, 0, 0, 1);  // a row from column 0: three fit
  EXPECT_EQ(Row(M, 1), (Vec{2, 3, 4}));
  M.CopyFromVec(static_cast<orv::TDims>(7), &V, 0, 0, 1, 1);  // no such Dim: only the event
  M.CopyFromVec(orv::dimRows, nullptr, 0, 0, 1, 1);
  EXPECT_EQ(Ch.Count, 2 + 4 + 1);
  M.CopyFrom(&Src, 0, 0, 0, 0, 2, 2);  // all bounds 0: cell (1, 1) only
  EXPECT_EQ(M.GetVal(2, 2), 11);
  M.CopyFrom(&Src, 3, 9, 2, 4, 2, 3);  // columns 2..3, rows 4..5 (clamped, exchanged)
  EXPECT_EQ(Row(M, 3), (Vec{0, 42, 43}));
  EXPECT_EQ(Row(M, 4), (Vec{0, 52, 53}));
  M.CopyFrom(static_cast<const TMatrix*>(nullptr), 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(Ch.Count, 7 + 2 + 5);
  // Unwatched into another matrix; a source without cells copies nothing.
  TMatrix Plain(nullptr), Empty(nullptr);
  Plain.Resize(3, 3);
  Plain.SetVal(1, 1, 5);
  Plain.CopyFrom(&Src, 3, 9, 2, 4, 2, 2);
  EXPECT_EQ(Row(Plain, 3), (Vec{0, 52, 53}));
  Empty.Resize(0, 2);
  Plain.CopyFrom(&Empty, 0, 0, 0, 0, 1, 1);
  EXPECT_EQ(Plain.GetVal(1, 1), 5);
  // Overlapping blocks of one matrix move as they were at the call, both
  // ways, watched or not.
  for (bool Watched : {false, true})
    for (int32_t Shift : {1, -1}) {
      Fill35(Src);
      if (Watched) Src.OnChange = [](orv::TObject*) {};
      Src.CopyFrom(&Src, 1, 1, 3, 4, 1, 1 + Shift);
      EXPECT_EQ(Column(Src, 1), (Shift > 0 ? Vec{11, 11, 21, 31, 41} : Vec{21, 31, 41, 41, 51})) << Shift;
      EXPECT_EQ(Column(Src, 3), (Shift > 0 ? Vec{13, 13, 23, 33, 43} : Vec{23, 33, 43, 43, 53})) << Shift;
      Src.OnChange = nullptr;
    }
}

TEST(MatrixCopy, FromIntegerMatricesAndLayersOf3DArrays) {
  orv::TIntMatrix I(nullptr), Sp(nullptr, 1);
  FillRows(I, {{-2147483648.0, 2}, {3, 2147483647}});
  Sp.SetVal(2, 1, 9);
  orv::TMat3D D3(nullptr);
  D3.Resize(2, 3, 2);
  for (int32_t C = 1; C <= 2; ++C)
    for (int32_t R = 1; R <= 3; ++R)
      for (int32_t L = 1; L <= 2; ++L) D3.SetVal(C, R, L, 100 * L + 10 * R + C);
  TMatrix M(nullptr);
  M.Resize(3, 3);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.CopyFrom(&I, 0, 0, 9, 9, 2, 2);
  EXPECT_EQ(Row(M, 2), (Vec{0, -2147483648.0, 2}));
  EXPECT_EQ(Row(M, 3), (Vec{0, 3, 2147483647}));
  M.CopyFrom(&Sp, 1, 1, 2, 1, 1, 1);  // a sparse source: the cells GetVal reads
  EXPECT_EQ(Row(M, 1), (Vec{0, 9, 0}));
  EXPECT_EQ(Ch.Count, 4 + 1 + 2 + 1);
  M.CopyFrom(&D3, 2, 3, 2, 2, 9, 1, 1);  // layer 9 is the last; column 2, rows 2..3
  EXPECT_EQ(Column(M, 1), (Vec{222, 232, 0}));
  M.CopyFrom(&D3, 1, 1, 1, 1, -4, 3, 3);  // layer -4 is the first
  EXPECT_EQ(M.GetVal(3, 3), 111);
  M.CopyFrom(static_cast<const orv::TMat3D*>(nullptr), 1, 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(Ch.Count, 8 + 3 + 2);
}

TEST(MatrixCopy, ToArraysRoundHalfToEvenAndSaturate) {
  TMatrix M(nullptr);
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  FillRows(M, {{2.5, 3.5, -2.5, 0.49999999999999994}, {1e10, -1e10, NaN, -0.5}});
  orv::TInt2DArray I;
  M.CopyToArray(I, 0, 0, 0, 0);
  EXPECT_EQ(I, (orv::TInt2DArray{{2, INT32_MAX}, {4, INT32_MIN}, {-2, 0}, {0, 0}}));
  orv::TDouble2DArray D{{7}};
  M.CopyToArray(D, 4, 3, 9, 2);  // columns 3..4, row 2 (clamped)
  ASSERT_EQ(D.size(), 2u);
  EXPECT_TRUE(std::isnan(D[0][0]));
  EXPECT_EQ(D[1], (Vec{-0.5}));
  M.Resize(0, 2);
  M.CopyToArray(D, 0, 0, 0, 0);
  EXPECT_TRUE(D.empty());
}

TEST(MatrixCopy, FromArraysTakeEachColumnsOwnLengthUpToTheFirst) {
  TMatrix M(nullptr);
  M.Resize(4, 4);
  TChangeCounter Ch;
  Ch.Attach(M);
  // Ragged: the second column is shorter, the third longer than the first.
  M.CopyFromArray(orv::TDouble2DArray{{1, 2, 3}, {4}, {5, 6, 7, 8}}, 2, 2);
  EXPECT_EQ(Column(M, 2), (Vec{0, 1, 2, 3}));
  EXPECT_EQ(Column(M, 3), (Vec{0, 4, 0, 0}));
  EXPECT_EQ(Column(M, 4), (Vec{0, 5, 6, 7}));
  M.CopyFromArray(orv::TInt2DArray{{9, 8}, {7, 6}}, 0, 4);  // only (1, 4) := 7 lies inside
  M.CopyFromArray(orv::TDouble2DArray{}, 1, 1);
  EXPECT_EQ(Row(M, 4), (Vec{7, 3, 0, 7}));
  EXPECT_EQ(Ch.Count, 7 + 1);  // per written cell, none at the end
  M.CopyFromArray(M.Mat, 2, 1);  // its own cells, one column on
  EXPECT_EQ(Column(M, 2), (Vec{0, 0, 0, 7}));
  EXPECT_EQ(Column(M, 3), (Vec{0, 1, 2, 3}));
  EXPECT_EQ(Column(M, 4), (Vec{0, 4, 0, 0}));
}

}  // namespace
