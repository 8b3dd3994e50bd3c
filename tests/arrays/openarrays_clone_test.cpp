// CloneArray, CloneAndReverseArray and EqualArrays.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(CloneArray, EmptyNoRowsAndRaggedGiveMinusOneAndLeaveDst) {
  const TDouble2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{1, 2}, {3}}, {{1}, {2, 3}}, {{}, {4}}};
  for (const auto& Src : Shapes) {
    TDouble2DArray Same = {{7}};
    TInt2DArray Int = {{7}};
    EXPECT_EQ(std::make_pair(CloneArray(Src, Same), CloneArray(Src, Int)), std::make_pair(-1, -1));
    EXPECT_TRUE(Same == TDouble2DArray{{7}} && Int == TInt2DArray{{7}}) << Src.size() << " columns";
  }
  TInt4DArray D4 = {{{{7}}}};
  EXPECT_EQ(CloneArray(TInt4DArray{{{{}}}}, D4), -1);
  EXPECT_EQ(CloneArray(TInt4DArray{{{{1}, {2, 3}}}}, D4), -1);      // ragged at level 4
  EXPECT_EQ(CloneArray(TInt4DArray{{{{1}}, {{2}, {3}}}}, D4), -1);  // ragged at level 3
  EXPECT_EQ(D4, (TInt4DArray{{{{7}}}}));
  TBoolArray B = {true};
  TDoubleArray D = {7};
  EXPECT_EQ(CloneArray(TBoolArray{}, B) + CloneAndReverseArray(TBoolArray{}, B), -2);
  EXPECT_EQ(CloneAndReverseArray(TIntArray{}, D), -1);
  EXPECT_TRUE(B == TBoolArray{true} && D == TDoubleArray{7});
}

TEST(CloneArray, ConvertsCellsWithoutUndefinedCasts) {
  // Reference: NumPy, np.where(np.isnan(x), 2147483647, np.rint(np.clip(x, -2147483648.0, 2147483647.0)))
  const TDoubleArray X = {1.5,  2.5,           -0.5,          3e10, NaN,  2147483647.6,        2147483647.4, -1e10, 3.5,
                          -2.5, -2147483648.5, -2147483648.4, Inf,  -Inf, 0.49999999999999994, -0.0,         1e-300};
  const TIntArray Want = {2,  2,         0,         INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, 4,
                          -2, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, 0,         0,         0};
  TIntArray I;
  EXPECT_EQ(CloneArray(X, I), 0);
  EXPECT_EQ(I, Want);
  EXPECT_EQ(CloneAndReverseArray(X, I), 0);
  EXPECT_EQ(I, TIntArray(Want.rbegin(), Want.rend()));
  // Reference: NumPy, np.array(x).astype(np.float32) printed with float.hex; infinity
  // from FLT_MAX plus half a step (0x1.ffffffp127) on.
  const float FInf = std::numeric_limits<float>::infinity();
  const TDoubleArray Y = {1e300, -1e300, 0x1.ffffffp127, 0x1.fffffefffffffp127, -0x1.fffffefffffffp127,
                          0.1,   1e-50,  1e-40,          16777217.0,           Inf};
  const TSingleArray WantF = {FInf, -FInf, FInf, 0x1.fffffep127f, -0x1.fffffep127f, 0x1.99999ap-4f,
                              0.0f, 0x1.16c2p-133f, 16777216.0f, FInf};
  TSingleArray F;
  EXPECT_EQ(CloneArray(Y, F), 0);
  EXPECT_EQ(F, WantF);
  EXPECT_EQ(CloneArray(TDoubleArray{NaN}, F), 0);
  EXPECT_TRUE(std::isnan(F[0]));
  EXPECT_EQ(CloneAndReverseArray(TDoubleArray{1e300, 0.5}, F), 0);
  EXPECT_EQ(F, (TSingleArray{0.5f, FInf}));
  // Singles and Integers become doubles exactly; every rank converts.
  TDoubleArray D, E;
  EXPECT_EQ(CloneArray(TSingleArray{0.1f, -3.0f}, D) + CloneAndReverseArray(TIntArray{INT32_MIN, 7}, E), 0);
  EXPECT_TRUE(D == TDoubleArray({0.10000000149011612, -3.0}) && E == TDoubleArray({7.0, -2147483648.0}));
  TDouble4DArray D4;
  EXPECT_EQ(CloneArray(TInt4DArray{{{{INT32_MAX, -1}}}, {{{2, 3}}}}, D4), 0);
  EXPECT_EQ(D4, (TDouble4DArray{{{{2147483647.0, -1.0}}}, {{{2.0, 3.0}}}}));
  TInt3DArray I3;
  EXPECT_EQ(CloneArray(TDouble3DArray{{{0.5, 1.5}, {2.5, -7.5}}}, I3), 0);
  EXPECT_EQ(I3, (TInt3DArray{{{0, 2}, {2, -8}}}));
}

TEST(CloneArray, ClonesShareNothingAndMayBeTheirSource) {
  const auto Src = test::ScanArray<double>([](int64_t K) { return K * 0.5; }, 3, 4, 2);
  TDouble3DArray C;
  ASSERT_EQ(CloneArray(Src, C), 0);
  EXPECT_EQ(C, Src);
  C[2][3][1] = -1;
  EXPECT_EQ(Src[2][3][1], 11.5);
  TBool2DArray B = {{true, false}, {false, false}}, BC;
  ASSERT_EQ(CloneArray(B, BC), 0);
  BC[0][0] = false;
  EXPECT_TRUE(B[0][0]);
  TIntArray A = {1, 2, 3};
  TBoolArray BA = {true, false, false};
  EXPECT_EQ(CloneArray(B, B) + CloneAndReverseArray(A, A) + CloneAndReverseArray(BA, BA), 0);
  EXPECT_EQ(B, (TBool2DArray{{true, false}, {false, false}}));
  EXPECT_EQ(A, (TIntArray{3, 2, 1}));
  EXPECT_EQ(BA, (TBoolArray{false, false, true}));
}

TEST(EqualArrays, ComparesShapesAndCellsExactly) {
  const auto A3 = test::ScanArray<int32_t>([](int64_t K) { return K; }, 2, 3, 4);
  auto B3 = A3;
  EXPECT_TRUE(EqualArrays(A3, B3));
  B3[1][2][3] = 99;
  EXPECT_FALSE(EqualArrays(A3, B3));
  const struct {
    TInt2DArray A, B;
    bool Want;
  } Rows[] = {{{{1, 2, 3}, {4, 5, 6}}, {{1, 2}, {3, 4}, {5, 6}}, false},  // 2 x 3 against 3 x 2
              {{}, {}, true},
              {{}, {{}}, false},                 // no columns against one column of no rows
              {{{}, {}}, {{}, {}}, true},        // no cells
              {{{1}, {2, 3}}, {{1}, {2}}, false},  // ragged against rectangular
              {{{1}, {2, 3}}, {{1}, {2, 3}}, true},
              {{{}, {1}}, {{}, {}}, false}};       // agree through element 0 only
  for (const auto& R : Rows) EXPECT_EQ(EqualArrays(R.A, R.B), R.Want) << R.A.size() << " / " << R.B.size();
  EXPECT_TRUE(EqualArrays(TIntArray{}, TIntArray{}));
  EXPECT_TRUE(EqualArrays(TInt3DArray{{}, {}}, TInt3DArray{{}, {}}));
  EXPECT_FALSE(EqualArrays(TInt4DArray{{{{1}}}}, TInt4DArray{{{{1}, {}}}}));
}

}  // namespace
}  // namespace orv
