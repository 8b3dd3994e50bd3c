// Filling TMatrix cells: blocks, the diagonal, random numbers in drawing order.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::test::Column;
using orv::test::Row;
using orv::test::TChangeCounter;
using Vec = std::vector<double>;

TEST(MatrixFill, BlocksAndDiagonalWithOneEventEach) {
  TMatrix M(nullptr);
  M.Resize(3, 2);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.FillDiag(1);  // 3 columns, 2 rows: (1, 1) and (2, 2) only
  EXPECT_EQ(Row(M, 1), (Vec{1, 0, 0}));
  EXPECT_EQ(Row(M, 2), (Vec{0, 1, 0}));
  M.Fill(9, 2, 0, 1, 7);  // columns 2..3 (clamped, exchanged), row 1 (0 clamped to 1)
  EXPECT_EQ(Row(M, 1), (Vec{1, 7, 7}));
  EXPECT_EQ(Row(M, 2), (Vec{0, 1, 0}));
  M.Fill(0, 0, 0, 0, 4);  // the whole matrix
  EXPECT_EQ(Column(M, 3), (Vec{4, 4}));
  EXPECT_EQ(Ch.Count, 3);
  M.Resize(0, 2);  // no cell, still one event each
  Ch.Count = 0;
  M.Fill(2);
  M.Fill(1, 1, 1, 1, 2);
  M.FillDiag(2);
  M.FillRandomUniform(0, 1);
  M.FillRandomGauss(0, 1);
  EXPECT_EQ(Ch.Count, 5);
}

TEST(MatrixFill, RandomCellsDrawnColumnByColumnRowByRow) {
  TMatrix M(nullptr);
  M.Resize(3, 3);
  orv::SetRandSeed(42);
  M.FillRandomUniform(2, 3, 0, 2, -1, 3);  // columns 2..3, rows 1..2
  orv::SetRandSeed(42);
  for (int32_t C = 2; C <= 3; ++C)
    for (int32_t R = 1; R <= 2; ++R) EXPECT_EQ(M.GetVal(C, R), -1 + orv::Random() * 4) << C << "," << R;
  EXPECT_EQ(Column(M, 1), (Vec{0, 0, 0}));
  EXPECT_EQ(Row(M, 3), (Vec{0, 0, 0}));
  // Mean + StdDev * g over the block only (GRandom keeps a drawn value across
  // reseeding, so its sequence is not replayed here).
  M.FillRandomGauss(1, 1, 2, 3, 10, 0);
  EXPECT_EQ(Column(M, 1), (Vec{0, 10, 10}));
  EXPECT_EQ(Row(M, 3), (Vec{10, 0, 0}));
}

}  // namespace
