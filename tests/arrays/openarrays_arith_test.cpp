// Element-wise arithmetic of arrays: results and their wrapping, results
// written into an input, and the codes in the order of their checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

TEST(ArrayArithmetic, IntegerCellsWrapAndDoublesRoundPerCell) {
  // Integer results modulo 2^32 (the Integer arithmetic of the platform).
  const int32_t Max = INT32_MAX, Min = INT32_MIN;
  TIntArray C;
  const struct {
    int32_t (*Fn)(const TIntArray&, const TIntArray&, TIntArray&);
    TIntArray A, B, Want;
  } Pairs[] = {{AddArrays, {Max, -1, Min}, {1, Min, -1}, {Min, Max, Max}},
               {SubtractArrays, {Min, 5, 0}, {1, 7, Min}, {Max, -2, Min}},
               {MultiplyArraysElemw, {65536, Max, -3}, {65536, 2, 4}, {0, -2, -12}}};
  for (const auto& P : Pairs) {
    ASSERT_EQ(P.Fn(P.A, P.B, C), 0);
    EXPECT_EQ(C, P.Want) << P.A[0];
  }
  TInt2DArray I2 = {{Max, 1}, {-2, Min}};
  ASSERT_EQ(MultiplyArrayByScalar(I2, 2), 0);
  EXPECT_EQ(I2, (TInt2DArray{{-2, 2}, {-4, 0}}));
  ASSERT_EQ(IncArray(I2, Max), 0);
  EXPECT_EQ(I2, (TInt2DArray{{Max - 2, Min + 1}, {Max - 4, Max}}));
  TInt3DArray I3;
  ASSERT_EQ(AddScalarToArray(TInt3DArray{{{Max}}, {{0}}}, 1, I3), 0);
  EXPECT_EQ(I3, (TInt3DArray{{{Min}}, {{1}}}));
  // Doubles: 1e308 * 10 overflows to infinity, per cell.
  TDouble3DArray D3 = {{{1e308, 2}, {3, 4}}}, R3;
  ASSERT_EQ(MultiplyArrayByScalar(D3, 10.0, R3), 0);
  EXPECT_EQ(R3, (TDouble3DArray{{{HUGE_VAL, 20}, {30, 40}}}));
  ASSERT_EQ(IncArray(D3, 0.5), 0);
  EXPECT_EQ(D3, (TDouble3DArray{{{1e308, 2.5}, {3.5, 4.5}}}));

  // Sums of squared differences, in increasing i from 0.
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2, 3}, TDoubleArray{1, 2, 5}), 4.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2, 3}, TDouble2DArray{{0, 0, 0}, {1, 2, 5}}, 1), 4.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1e16, 1, 1}, TDoubleArray{0, 0, 0}), 1e32) << "the 1s are lost";
}

TEST(ArrayArithmetic, ResultMayBeAnInput) {
  // The result is built aside: one variable as input and result.
  TDouble2DArray A = test::ScanArray<double>([](int64_t K) { return K + 1.0; }, 2, 3);
  ASSERT_EQ(MultiplyArrayByScalar(A, 3, A), 0);
  EXPECT_EQ(A, (TDouble2DArray{{3, 6, 9}, {12, 15, 18}}));
  ASSERT_EQ(SubtractArrays(A, A, A), 0);
  EXPECT_EQ(A, TDouble2DArray(2, TDoubleArray(3, 0.0)));
  TIntArray I = {1, 2, 3}, J = {10, 20, 30};
  ASSERT_EQ(AddArrays(I, J, J), 0);
  EXPECT_EQ(J, (TIntArray{11, 22, 33}));
  ASSERT_EQ(MultiplyArraysElemw(J, I, I), 0);
  EXPECT_EQ(I, (TIntArray{11, 44, 99}));
  ASSERT_EQ(AddScalarToArray(I, -11, I), 0);
  EXPECT_EQ(I, (TIntArray{0, 33, 88}));
}

TEST(ArrayArithmetic, CodesInTheOrderOfTheirChecks) {
  // -1 (either input empty at any level, or ragged) wins over -2 (extents
  // differ); failures leave the result as it was.
  const TDouble2DArray Full = {{1, 2, 3}, {4, 5, 6}}, Wide = {{1, 2}, {3, 4}, {5, 6}};
  const struct {
    TDouble2DArray A, B;
    int32_t Want;
  } Cases[] = {{Full, Wide, -2},
               {Full, {{1, 2, 3}}, -2},
               {{}, Full, -1},
               {Full, {}, -1},
               {{{}, {}}, Wide, -1},
               {{{1, 2, 3}, {4, 5}}, Full, -1},
               {Full, {{1, 2, 3}, {4, 5}}, -1},
               {{{}}, {{1}, {2}}, -1}};
  for (const auto& C : Cases) {
    TDouble2DArray Out = {{7}};
    EXPECT_EQ(AddArrays(C.A, C.B, Out), C.Want);
    EXPECT_EQ(SubtractArrays(C.A, C.B, Out), C.Want);
    EXPECT_EQ(MultiplyArraysElemw(C.A, C.B, Out), C.Want);
    EXPECT_EQ(Out, (TDouble2DArray{{7}}));
  }
  TInt4DArray Empty4 = {{{{1}, {}}}}, Out4 = {{{{7}}}};
  EXPECT_EQ(MultiplyArrayByScalar(Empty4, 2, Out4), -1);
  EXPECT_EQ(AddScalarToArray(Empty4, 2, Out4), -1);
  EXPECT_EQ(IncArray(Empty4, 2), -1);
  EXPECT_EQ(MultiplyArrayByScalar(Empty4, 2), -1);
  EXPECT_EQ(Empty4, (TInt4DArray{{{{1}, {}}}}));
  EXPECT_EQ(Out4, (TInt4DArray{{{{7}}}}));
  TDouble3DArray Hollow = {{{}}};
  EXPECT_EQ(IncArray(Hollow, 0.5), -1);

  // SumOfSquaredDiffs: -1.0 empty, then -2.0 lengths, then -3.0 column.
  const struct {
    TDoubleArray A;
    TDouble2DArray B;
    int32_t Col;
    double Want;
  } Sums[] = {{{}, {{1}}, 5, -1.0},  {{1}, {}, 5, -1.0},     {{1}, {{1}, {}}, 5, -1.0}, {{1, 2}, {{1}}, 5, -2.0},
              {{1}, {{1}}, 1, -3.0}, {{1}, {{1}}, -1, -3.0}, {{1}, {{4}, {3}}, 1, 4.0}};
  for (const auto& S : Sums) EXPECT_EQ(SumOfSquaredDiffs(S.A, S.B, S.Col), S.Want) << S.Col;
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{1, 2}, TDoubleArray{1, 2, 3}), -2.0);
  EXPECT_EQ(SumOfSquaredDiffs(TDoubleArray{}, TDoubleArray{1, 2, 3}), -1.0);
}

}  // namespace
}  // namespace orv
