// FlipDimArray, AbsValArray and BoolToNumArray.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;
using test::ScanCells;
using V = std::vector<int32_t>;

const auto Index = [](int64_t K) { return K; };

TEST(CellwiseArrays, EmptyAndRaggedGiveMinusOneAndChangeNothing) {
  const TInt2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{1, 2}, {3}}, {{1}, {2, 3}}, {{}, {4}}};
  for (const auto& Shape : Shapes) {
    auto A = Shape;
    TBool2DArray B(Shape.size());
    for (std::size_t C = 0; C < Shape.size(); ++C) B[C].assign(Shape[C].size(), true);
    TInt2DArray R = {{9}};
    TDouble2DArray D = {{9}};
    EXPECT_EQ(V({FlipDimArray(A, 1), FlipDimArray(A, 7), AbsValArray(A), BoolToNumArray(B, 0, 1, R),
                 BoolToNumArray(B, 0.0, 1.0, D)}),
              V({-1, -1, -1, -1, -1}))
        << Shape.size() << " columns";
    EXPECT_TRUE(A == Shape && R == TInt2DArray{{9}} && D == TDouble2DArray{{9}});
  }
  TDouble4DArray Inner = {{{{}}}}, Ragged = {{{{1}, {2, 3}}}};
  EXPECT_EQ(V({FlipDimArray(Inner, 1), AbsValArray(Ragged), FlipDimArray(Ragged, 4)}), V({-1, -1, -1}));
  TBoolArray None;
  TIntArray R = {9};
  EXPECT_EQ(BoolToNumArray(None, 0, 1, R), -1);
  EXPECT_EQ(R, TIntArray{9});
}

TEST(FlipDimArray, ReversesOneDimensionAsNumPysFlip) {
  TIntArray A1 = {1, 2, 3, 4, 5};
  EXPECT_EQ(V({FlipDimArray(A1, 2), FlipDimArray(A1, 0)}), V({-2, -2}));
  EXPECT_EQ(FlipDimArray(A1, 1), 0);
  EXPECT_EQ(A1, (TIntArray{5, 4, 3, 2, 1}));
  TDouble2DArray A2 = {{1, 2}, {3, 4}};
  EXPECT_EQ(FlipDimArray(A2, 1), 0);
  EXPECT_EQ(A2, (TDouble2DArray{{3, 4}, {1, 2}}));
  EXPECT_EQ(FlipDimArray(A2, 2), 0);
  EXPECT_EQ(A2, (TDouble2DArray{{4, 3}, {2, 1}}));
  // np.flip(np.arange(24).reshape(2, 3, 4), axis=d).ravel() and the same of
  // np.arange(16).reshape(2, 2, 2, 2), for d = 0, 1, ...
  const V Want3[] = {{12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                     {8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3, 20, 21, 22, 23, 16, 17, 18, 19, 12, 13, 14, 15},
                     {3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 19, 18, 17, 16, 23, 22, 21, 20}};
  const V Want4[] = {{8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7},
                     {4, 5, 6, 7, 0, 1, 2, 3, 12, 13, 14, 15, 8, 9, 10, 11},
                     {2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13},
                     {1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}};
  for (int32_t Dim = 1; Dim <= 4; ++Dim) {
    auto A4 = ScanArray<int32_t>(Index, 2, 2, 2, 2);
    auto D3 = ScanArray<double>(Index, 2, 3, 4);
    EXPECT_EQ(FlipDimArray(A4, Dim) + FlipDimArray(D3, Dim), Dim == 4 ? -2 : 0);
    EXPECT_EQ(ScanCells(A4), Want4[Dim - 1]) << "Dim " << Dim;
    const auto Cells3 = ScanCells(D3);  // unchanged by Dim 4
    EXPECT_EQ(V(Cells3.begin(), Cells3.end()), Dim < 4 ? Want3[Dim - 1] : ScanCells(ScanArray<int32_t>(Index, 2, 3, 4)));
  }
  auto A4 = ScanArray<int32_t>(Index, 2, 2, 2, 2);
  EXPECT_EQ(V({FlipDimArray(A4, 0), FlipDimArray(A4, 5)}), V({-2, -2}));
  EXPECT_EQ(A4, ScanArray<int32_t>(Index, 2, 2, 2, 2));
}

TEST(AbsValArray, ClearsSignsExceptTheLowestInteger) {
  TDoubleArray D = {-1.5, 0, 2, -0.0, -std::numeric_limits<double>::infinity(), std::nan("")};
  EXPECT_EQ(AbsValArray(D), 0);
  EXPECT_EQ(TDoubleArray(D.begin(), D.end() - 1), (TDoubleArray{1.5, 0, 2, 0, std::numeric_limits<double>::infinity()}));
  EXPECT_FALSE(std::signbit(D[3]));
  EXPECT_TRUE(std::isnan(D[5]));
  TInt4DArray I = {{{{-7, INT32_MIN, INT32_MAX, -INT32_MAX}}}};
  EXPECT_EQ(AbsValArray(I), 0);
  EXPECT_EQ(I, (TInt4DArray{{{{7, INT32_MIN, INT32_MAX, INT32_MAX}}}}));
}

TEST(BoolToNumArray, MapsTrueAndFalseIntoArraysOfTheSameShape) {
  TIntArray R;
  TDoubleArray D;
  EXPECT_EQ(BoolToNumArray(TBoolArray{true, false}, 0, 1, R) + BoolToNumArray(TBoolArray{true, false}, -1.0, 1.0, D), 0);
  EXPECT_TRUE(R == (TIntArray{1, 0}) && D == (TDoubleArray{1.0, -1.0}));
  const TBool2DArray B = {{true, false, false}, {false, false, true}};
  TInt2DArray R2 = {{1}};
  TDouble2DArray D2;
  EXPECT_EQ(BoolToNumArray(B, INT32_MIN, 4, R2) + BoolToNumArray(B, 0.5, -2.0, D2), 0);
  EXPECT_EQ(R2, (TInt2DArray{{4, INT32_MIN, INT32_MIN}, {INT32_MIN, INT32_MIN, 4}}));
  EXPECT_EQ(D2, (TDouble2DArray{{-2, 0.5, 0.5}, {0.5, 0.5, -2}}));
}

}  // namespace
}  // namespace orv
