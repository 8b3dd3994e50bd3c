// CountTrueCellsOfArray, the Boolean InvertArray, IsDichotomous,
// DichotomizeArray and DiscretizeArray.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"

namespace orv {
namespace {

using V = std::vector<int32_t>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(BooleanArrays, EmptyAndRaggedGiveTheirCodesAndChangeNothing) {
  const TBool2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{true, false}, {true}}, {{true}, {true, false}}, {{}, {true}}};
  for (const auto& Shape : Shapes) {
    auto B = Shape;
    TInt2DArray I(Shape.size());
    TDouble2DArray D(Shape.size());
    for (std::size_t C = 0; C < Shape.size(); ++C) I[C].assign(Shape[C].size(), 1), D[C].assign(Shape[C].size(), 1);
    TBool2DArray Out = {{true}};
    EXPECT_EQ(V({CountTrueCellsOfArray(B), InvertArray(B), DichotomizeArray(I, 0, Out),
                 DichotomizeArray(I, 0, 2, Out), DichotomizeArray(D, 0.0, Out), DichotomizeArray(D, 0.0, 2.0, Out)}),
              V({-1, -1, -1, -1, -1, -1}))
        << Shape.size() << " columns";
    EXPECT_TRUE(B == Shape && Out == TBool2DArray{{true}});
    // Each cell maps by itself, so DiscretizeArray takes every cell as it is.
    EXPECT_EQ(DiscretizeArray(D, 3, 0, 2, 10, 20), 0);
    for (const auto& Col : D)
      for (double X : Col) EXPECT_EQ(X, 15);
  }
  TBoolArray B1;
  EXPECT_EQ(V({CountTrueCellsOfArray(B1), InvertArray(B1)}), V({-1, -1}));
}

TEST(BooleanArrays, CountAndInvert) {
  TBool2DArray B = {{true, false, true}, {false, false, true}};
  TBoolArray B1 = {true, true, false, true};
  EXPECT_EQ(V({CountTrueCellsOfArray(B), InvertArray(B), CountTrueCellsOfArray(TBool2DArray{{false}, {false}}),
               CountTrueCellsOfArray(B1), InvertArray(B1), CountTrueCellsOfArray(B1), InvertArray(B)}),
            V({3, 0, 0, 3, 0, 1, 0}));
  EXPECT_EQ(B, (TBool2DArray{{true, false, true}, {false, false, true}}));  // inverted twice
  EXPECT_EQ(B1, (TBoolArray{false, false, true, false}));
}

TEST(IsDichotomous, FindsTwoValuesInAscendingOrder) {
  // The worked cases of the definition, each row checked for doubles and Integers.
  const struct {
    V A;
    bool WantDouble, WantInt;
    int32_t V1, V2;
  } Rows[] = {{{3, 1, 3, 1}, true, true, 1, 3}, {{2, 2, 2}, false, true, 2, 2}, {{5}, false, false, 0, 0},
              {{}, false, false, 0, 0},         {{1, 2, 3}, false, false, 1, 2}, {{4, 2}, true, true, 2, 4},
              {{7, 7, 2, 9, 7}, false, false, 2, 7}, {{INT32_MAX, INT32_MIN}, true, true, INT32_MIN, INT32_MAX}};
  for (const auto& R : Rows) {
    const TDoubleArray D(R.A.begin(), R.A.end());
    double D1 = -1, D2 = -1;
    int32_t I1 = -1, I2 = -1;
    EXPECT_EQ(IsDichotomous(D, D1, D2), R.WantDouble) << R.A.size() << " cells";
    EXPECT_EQ(IsDichotomous(R.A, I1, I2), R.WantInt) << R.A.size() << " cells";
    EXPECT_TRUE(D1 == R.V1 && D2 == R.V2 && I1 == R.V1 && I2 == R.V2) << R.A.size() << " cells";
  }
  TDoubleArray A = {3, 1, 3, 1};  // outputs inside the array read first
  EXPECT_TRUE(IsDichotomous(A, A[0], A[1]));
  EXPECT_EQ(A, (TDoubleArray{1, 3, 3, 1}));
}

TEST(DichotomizeArray, ThresholdIsStrictAndIntervalInclusive) {
  const TDouble2DArray D = {{1, 2, 3}, {NaN, -Inf, 2.5}};
  const TInt2DArray I = {{1, 2, 3}, {0, INT32_MIN, 2}};
  const TBool2DArray Above = {{false, false, true}, {false, false, true}}, Within = {{true, true, true}, Above[1]};
  TBool2DArray B, BI;
  EXPECT_EQ(DichotomizeArray(D, 2.0, B) + DichotomizeArray(I, 2, BI), 0);
  EXPECT_TRUE(B == Above && BI == (TBool2DArray{Above[0], {false, false, false}}));
  for (const auto& [Lo, Hi] : {std::pair{3, 1}, std::pair{1, 3}}) {  // either order
    EXPECT_EQ(DichotomizeArray(D, static_cast<double>(Lo), static_cast<double>(Hi), B) + DichotomizeArray(I, Lo, Hi, BI), 0);
    EXPECT_TRUE(B == Within && BI == Within);
  }
  EXPECT_EQ(DichotomizeArray(D, NaN, B) + DichotomizeArray(D, 0.0, NaN, BI), 0);
  EXPECT_TRUE(B == TBool2DArray(2, TBoolArray(3)) && BI == B);
}

TEST(DiscretizeArray, MapsBinsOntoEquallySpacedLevels) {
  // The worked example (5 levels, X 0..3, Y 0..4): bins of width 1 onto levels 1..3.
  TDouble2DArray A = {{-1, 0, 0.5, 1.5}, {2.9, 3, 7, NaN}};
  EXPECT_EQ(DiscretizeArray(A, 5, 0, 3, 0, 4), 0);
  EXPECT_EQ(A[0], (TDoubleArray{0, 0, 1, 2}));
  EXPECT_EQ(TDoubleArray(A[1].begin(), A[1].end() - 1), (TDoubleArray{3, 4, 4}));
  EXPECT_TRUE(std::isnan(A[1][3]));
  // Codes: -2 before -1; A unchanged on both. NaN and infinite bounds are refused.
  const TDouble2DArray Keep = {{0.5, NaN}};
  const struct {
    int32_t Levels;
    double XLow, XHigh, YLow, YHigh;
    int32_t Want;
  } Codes[] = {{2, 0, 3, 0, 4, -1},    {2, 1, 1, 0, 4, -2},   {5, 1, 1, 0, 4, -2},   {5, 3, 0, 0, 4, -2},
               {5, NaN, 3, 0, 4, -2},  {5, 0, NaN, 0, 4, -2}, {5, -Inf, 3, 0, 4, -2}, {5, 0, Inf, 0, 4, -2},
               {5, 0, 3, -Inf, 4, -2}, {5, 0, 3, 0, Inf, -2}, {2, 0, 3, NaN, 4, -2}};
  for (const auto& C : Codes) {
    A = Keep;
    EXPECT_EQ(DiscretizeArray(A, C.Levels, C.XLow, C.XHigh, C.YLow, C.YHigh), C.Want)
        << C.XLow << " .. " << C.XHigh << ", " << C.YLow << " .. " << C.YHigh;
    EXPECT_TRUE(A[0][0] == 0.5 && std::isnan(A[0][1]));
  }
  // Bounds whose differences overflow, by exact arithmetic: bins [-DBL_MAX, 0)
  // and [0, DBL_MAX) onto levels 1 and 2 of 0 .. 3; Y from -DBL_MAX to DBL_MAX
  // in three levels has 0 in the middle.
  A = {{-DBL_MAX, -1e308, 1e308, DBL_MAX}};
  EXPECT_EQ(DiscretizeArray(A, 4, -DBL_MAX, DBL_MAX, 0, 3), 0);
  EXPECT_EQ(A[0], (TDoubleArray{0, 1, 2, 3}));
  A = {{-1, 0.5, 2}};
  EXPECT_EQ(DiscretizeArray(A, 3, 0, 1, -DBL_MAX, DBL_MAX), 0);
  EXPECT_EQ(A[0], (TDoubleArray{-DBL_MAX, 0, DBL_MAX}));
  TDouble2DArray None;
  EXPECT_EQ(DiscretizeArray(None, 2, 0, 1, 0, 1), -1);
  EXPECT_EQ(DiscretizeArray(None, 3, 0, 1, 0, 1), 0);
}

}  // namespace
}  // namespace orv
