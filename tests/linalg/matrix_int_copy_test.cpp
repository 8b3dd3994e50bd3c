// TIntMatrix fills and copies for both storages: bounds, events, ragged and
// overlapping sources, a sparse matrix growing with what it is given.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "support/components.h"

namespace {

using orv::TInt2DArray;
using orv::TIntMatrix;
using orv::TIntVector;
using orv::test::AllRows;
using orv::test::Column;
using orv::test::FillRows;
using orv::test::FillValues;
using orv::test::TChangeCounter;
using orv::test::Values;
using Rows = std::vector<std::vector<int32_t>>;
using Ints = std::vector<int32_t>;

// 5 columns x 3 rows; cell (c, r) = 10 r + c.
void Fill53(TIntMatrix& M) {
  FillRows(M, {{11, 12, 13, 14, 15}, {21, 22, 23, 24, 25}, {31, 32, 33, 34, 35}});
}

TEST(IntMatrixCopy, FillsOfABlockAndTheDiagonalFireOnce) {
  TIntMatrix M(nullptr);
  M.Resize(3, 2);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.FillDiag(1);  // 3 columns, 2 rows: (1, 1) and (2, 2)
  EXPECT_EQ(AllRows(M), (Rows{{1, 0, 0}, {0, 1, 0}}));
  M.Fill(3, 9, 0, 0, -2147483647 - 1);  // columns 3..3 (clamped, exchanged), all rows
  EXPECT_EQ(AllRows(M), (Rows{{1, 0, INT32_MIN}, {0, 1, INT32_MIN}}));
  EXPECT_EQ(Ch.Count, 2);
  M.Resize(0, 2);
  M.Fill(0, 0, 0, 0, 5);  // no cell, one event
  EXPECT_EQ(Ch.Count, 4);
}

TEST(IntMatrixCopy, LinesIntoVectorsFromEitherStorage) {
  TIntMatrix D(nullptr), S(nullptr, 1);
  Fill53(D);
  S.SetVal(2, 3, 32);
  S.SetVal(4, 3, 34);
  S.SetVal(5, 1, 15);
  TIntVector V2(nullptr), V4(nullptr);
  FillValues(V2, {-1, -1});
  FillValues(V4, {-1, -1, -1, -1});
  D.CopyRowToVec(&V2, 2, 0, 0);  // a 5-column row into 2 elements: the first two
  EXPECT_EQ(Values(V2), (Ints{21, 22}));
  S.CopyRowToVec(&V4, 9, 2, 4);  // row 9 reads the last
  EXPECT_EQ(Values(V4), (Ints{32, 0, 34, 0}));
  S.CopyColToVec(&V4, 5, 0, 0);
  EXPECT_EQ(Values(V4), (Ints{15, 0, 0, 0}));
  D.CopyColToVec(nullptr, 1, 1, 1);
}

TEST(IntMatrixCopy, BlocksBetweenMatricesPerWrittenCellThenOnce) {
  TIntMatrix Src(nullptr), M(nullptr);
  Fill53(Src);
  M.Resize(3, 3);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.CopyFrom(&Src, 0, 0, 0, 0, 2, 2);  // all bounds 0: cell (1, 1) only
  EXPECT_EQ(AllRows(M), (Rows{{0, 0, 0}, {0, 11, 0}, {0, 0, 0}}));
  M.CopyFrom(&Src, 9, 2, 4, 3, 2, 1);  // columns 4..5, rows 2..3 (clamped, exchanged)
  EXPECT_EQ(AllRows(M), (Rows{{0, 24, 25}, {0, 34, 35}, {0, 0, 0}}));
  M.CopyFrom(static_cast<const TIntMatrix*>(nullptr), 1, 1, 1, 1, 1, 1);
  EXPECT_EQ(Ch.Count, 2 + 5);
  // Overlapping blocks of one matrix move as they were at the call.
  Src.CopyFrom(&Src, 1, 1, 4, 3, 2, 1);
  EXPECT_EQ(AllRows(Src), (Rows{{11, 11, 12, 13, 14}, {21, 21, 22, 23, 24}, {31, 31, 32, 33, 34}}));
  // Sparse either side: what GetVal reads, stored through SetVal (zeros too).
  TIntMatrix Sp(nullptr, 1), Sp2(nullptr, 1);
  Sp.SetVal(2, 2, 7);
  Sp2.CopyFrom(&Sp, 1, 1, 2, 2, 3, 4);
  EXPECT_EQ(Sp2.SparseNumElem(), 4);
  EXPECT_EQ(Sp2.NrOfColumns(), 4);
  EXPECT_EQ(Sp2.NrOfRows(), 5);
  EXPECT_EQ(Sp2.GetVal(4, 5), 7);
  M.CopyFrom(&Sp, 2, 2, 2, 2, 1, 1);
  EXPECT_EQ(M.GetVal(1, 1), 7);
}

TEST(IntMatrixCopy, ArraysBothWays) {
  TIntMatrix M(nullptr);
  Fill53(M);
  TInt2DArray A;
  M.CopyToArray(A, 4, 9, 3, 2);  // columns 4..5, rows 2..3
  EXPECT_EQ(A, (TInt2DArray{{24, 34}, {25, 35}}));
  M.Resize(4, 4);
  M.Fill(0);
  TChangeCounter Ch;
  Ch.Attach(M);
  // Ragged: the second column is shorter, the third longer than the first.
  M.CopyFromArray(TInt2DArray{{1, 2, 3}, {4}, {5, 6, 7, 8}}, 2, 2);
  EXPECT_EQ(Column(M, 2), (Ints{0, 1, 2, 3}));
  EXPECT_EQ(Column(M, 3), (Ints{0, 4, 0, 0}));
  EXPECT_EQ(Column(M, 4), (Ints{0, 5, 6, 7}));
  M.CopyFromArray(TInt2DArray{}, 1, 1);
  EXPECT_EQ(Ch.Count, 7);  // per written cell, none at the end
  M.CopyFromArray(M.Mat, 2, 1);  // its own cells, one column on
  EXPECT_EQ(Column(M, 3), (Ints{0, 1, 2, 3}));
  EXPECT_EQ(Column(M, 4), (Ints{0, 4, 0, 0}));
  // A sparse matrix stores every entry and grows to take it.
  TIntMatrix Sp(nullptr, 1);
  Sp.CopyFromArray(TInt2DArray{{1, 0}, {3}}, 4, 5);
  EXPECT_EQ(Sp.SparseNumElem(), 3);
  EXPECT_EQ(Sp.NrOfColumns(), 5);
  EXPECT_EQ(Sp.NrOfRows(), 6);
  EXPECT_EQ(Sp.GetVal(5, 5), 3);
}

}  // namespace
