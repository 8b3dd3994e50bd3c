// FillArrayMasked, RemoveRow, RemoveColumn and DistanceOfObjects: results,
// refusals and codes in the order of their checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_openarrays.h"

namespace orv {
namespace {

TEST(FillArrayMasked, ReversedCodesAndTheEmptyMask) {
  const TBool2DArray Mask = {{true, false}, {false, true}};
  TDouble2DArray D = {{1, 2}, {3, 4}};
  ASSERT_EQ(FillArrayMasked(D, 9.5, Mask), 0);
  EXPECT_EQ(D, (TDouble2DArray{{1, 9.5}, {9.5, 4}}));
  ASSERT_EQ(FillArrayMasked(D, 0.0, TBool2DArray{}), 0) << "double form: an empty mask fills all";
  EXPECT_EQ(D, TDouble2DArray(2, TDoubleArray(2, 0.0)));
  TInt2DArray I = {{1, 2}, {3, 4}};
  ASSERT_EQ(FillArrayMasked(I, 7, Mask), 0);
  EXPECT_EQ(I, (TInt2DArray{{1, 7}, {7, 4}}));
  // Codes: -2 empty A (and, Integer form, an empty mask), -1 a ragged mask
  // or other extents; nothing written.
  const struct {
    TDouble2DArray A;
    TBool2DArray M;
    int32_t WantD, WantI;
  } Cases[] = {{{}, Mask, -2, -2},
               {{{}, {}}, Mask, -2, -2},
               {{{1, 2}, {3}}, Mask, -2, -2},
               {{{1, 2}, {3, 4}}, {{}}, 0, -2},
               {{{1, 2}, {3, 4}}, {{}, {true}}, -1, -1},
               {{{1, 2}, {3, 4}}, {{true, false}, {true}}, -1, -1},
               {{{1, 2}, {3, 4}}, {{true, false}}, -1, -1},
               {{{1, 2}, {3, 4}}, {{true}, {false}}, -1, -1}};
  for (const auto& C : Cases) {
    TDouble2DArray A = C.A;
    EXPECT_EQ(FillArrayMasked(A, 5.0, C.M), C.WantD);
    if (C.WantD != 0) {
      EXPECT_EQ(A, C.A);
    }
    TInt2DArray B(C.A.size());
    for (std::size_t c = 0; c < C.A.size(); ++c) B[c].assign(C.A[c].begin(), C.A[c].end());
    const TInt2DArray Before = B;
    EXPECT_EQ(FillArrayMasked(B, 5, C.M), C.WantI);
    EXPECT_EQ(B, Before);
  }
}

TEST(RemoveRowAndColumn, ResultsAndRefusals) {
  TDouble2DArray A = {{1, 2, 3}, {4, 5, 6}};
  ASSERT_TRUE(RemoveRow(A, 1));
  EXPECT_EQ(A, (TDouble2DArray{{1, 3}, {4, 6}}));
  ASSERT_TRUE(RemoveColumn(A, 0));
  EXPECT_EQ(A, (TDouble2DArray{{4, 6}}));
  TInt2DArray I = {{1}, {2}};
  ASSERT_TRUE(RemoveRow(I, 0));
  EXPECT_EQ(I, (TInt2DArray{{}, {}})) << "two columns of no cells";
  EXPECT_FALSE(RemoveRow(I, 0));
  ASSERT_TRUE(RemoveColumn(I, 1));
  ASSERT_TRUE(RemoveColumn(I, 0));
  EXPECT_TRUE(I.empty());
  // Out of range, no columns, ragged: false and unchanged.
  for (TInt2DArray X : {TInt2DArray{{1, 2}, {3, 4}}, TInt2DArray{}, TInt2DArray{{1, 2}, {3}}}) {
    const TInt2DArray Before = X;
    for (const int32_t K : {-1, 2, 7}) {
      EXPECT_FALSE(RemoveRow(X, K));
      EXPECT_FALSE(RemoveColumn(X, K));
    }
    if (X.size() != 2 || X[1].size() != 2) {
      EXPECT_FALSE(RemoveRow(X, 0));
      EXPECT_FALSE(RemoveColumn(X, 0));
    }
    EXPECT_EQ(X, Before);
  }
}

TEST(DistanceOfObjects, MeasuresCodesAndTheMatrixBits) {
  // Rows (1, 2, 3) and (2, 2, 5): closed forms.
  const TDouble2DArray A = {{1, 2, 0}, {2, 2, 0}, {3, 5, 0}};
  const struct {
    TDistMode Mode;
    double Want;
  } Modes[] = {{dmCityBlock, 3},
               {dmEuclidean, std::sqrt(5.0)},
               {dmSqrEuclidean, 5},
               {dmDice, 42.0 / 47.0},
               {dmTanimoto, 21.0 / 26.0}};
  for (const auto& M : Modes) {
    double D = -1;
    ASSERT_EQ(DistanceOfObjects(A, M.Mode, 0, 1, 0, 2, D), 0);
    EXPECT_DOUBLE_EQ(D, M.Want) << M.Mode;
  }
  // Rows zero over the range: Tanimoto and Dice 1 for equal rows, else 0
  // (rows 2 and 0 differ in column 0..2; rows 2 and 2 are equal).
  const TDouble2DArray Z = {{0, 0, 0}, {0, 0, 0}, {0, 1e-200, 0}};
  const struct {
    TDistMode Mode;
    int32_t Obj1, Obj2;
    double Want;
  } Zeros[] = {{dmTanimoto, 0, 2, 1.0}, {dmDice, 0, 2, 1.0}, {dmTanimoto, 0, 1, 0.0}, {dmDice, 1, 2, 0.0}};
  for (const auto& C : Zeros) {
    double D = -1;
    ASSERT_EQ(DistanceOfObjects(Z, C.Mode, C.Obj1, C.Obj2, 0, 2, D), 0);
    EXPECT_EQ(D, C.Want) << C.Obj1 << C.Obj2;
  }
  // The last failing check wins; Dist is 0 after every code.
  const struct {
    TDouble2DArray A;
    TDistMode Mode;
    int32_t Obj1, Obj2, Lo, Hi, Want;
  } Codes[] = {{A, dmUser, 0, 1, 0, 2, -1},        {A, static_cast<TDistMode>(9), 0, 1, 0, 2, -1},
               {A, dmUser, 0, 3, 0, 2, -2},        {A, dmEuclidean, -1, 0, 0, 3, -3},
               {A, dmUser, 0, 1, 2, 1, -4},        {A, dmEuclidean, 9, 1, 7, 1, -4},
               {{}, dmEuclidean, 0, 0, 0, 0, -3},  {{{1, 2}, {3}}, dmEuclidean, 0, 0, 0, 0, -3},
               {{{}}, dmEuclidean, 0, 0, 0, 0, -2}};
  for (const auto& C : Codes) {
    double D = 5;
    EXPECT_EQ(DistanceOfObjects(C.A, C.Mode, C.Obj1, C.Obj2, C.Lo, C.Hi, D), C.Want);
    EXPECT_EQ(D, 0.0);
  }
  // Over all columns, the bits of TMatrix::DistanceOfObjects (rows from 1).
  TMatrix M(nullptr);
  M.Resize(3, 3);
  M.Mat = {{0.1, 0.7, 1e-3}, {-2.5, 3.25, 0.3}, {1.0 / 3, 0.2, 7}};
  for (const TDistMode Mode : {dmTanimoto, dmCityBlock, dmEuclidean, dmSqrEuclidean, dmDice}) {
    double D = 0;
    ASSERT_EQ(DistanceOfObjects(M.Mat, Mode, 0, 2, 0, 2, D), 0);
    EXPECT_EQ(D, M.DistanceOfObjects(Mode, 1, 3)) << Mode;
  }
}

}  // namespace
}  // namespace orv
