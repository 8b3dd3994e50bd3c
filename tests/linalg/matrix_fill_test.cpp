// Filling TMatrix cells: blocks, the diagonal, random numbers in drawing order.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "support/components.h"

namespace {

using orv::TMatrix;
using orv::test::AllRows;
using orv::test::TChangeCounter;
using Rows = std::vector<std::vector<double>>;

TEST(MatrixFill, BlocksDiagonalAndRandomCellsWithOneEventEach) {
  TMatrix M(nullptr);
  M.Resize(3, 2);
  TChangeCounter Ch;
  Ch.Attach(M);
  M.FillDiag(1);  // 3 columns, 2 rows: (1, 1) and (2, 2) only
  EXPECT_EQ(AllRows(M), (Rows{{1, 0, 0}, {0, 1, 0}}));
  M.Fill(9, 2, 0, 1, 7);  // columns 2..3 (clamped, exchanged), row 1 (0 clamped to 1)
  EXPECT_EQ(AllRows(M), (Rows{{1, 7, 7}, {0, 1, 0}}));
  M.FillRandomGauss(1, 1, 2, 3, 10, 0);  // Mean + StdDev * g over column 1, row 2
  EXPECT_EQ(AllRows(M), (Rows{{1, 7, 7}, {10, 1, 0}}));
  EXPECT_EQ(Ch.Count, 3);
  // Uniform cells drawn column by column, row by row: columns 2..3, rows 1..2.
  orv::SetRandSeed(42);
  M.FillRandomUniform(2, 3, 0, 2, -1, 3);
  orv::SetRandSeed(42);
  for (int32_t C = 2; C <= 3; ++C)
    for (int32_t R = 1; R <= 2; ++R) EXPECT_EQ(M.GetVal(C, R), -1 + orv::Random() * 4) << C << "," << R;
  EXPECT_EQ(M.GetVal(1, 2), 10);
  M.Resize(0, 2);  // no cell: each still fires once
  Ch.Count = 0;
  M.Fill(2);
  M.Fill(1, 1, 1, 1, 2);
  M.FillDiag(2);
  M.FillRandomUniform(0, 1);
  M.FillRandomGauss(0, 1);
  EXPECT_EQ(Ch.Count, 5);
}

}  // namespace
