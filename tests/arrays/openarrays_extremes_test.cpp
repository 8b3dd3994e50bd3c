// MaxArray, MinArray and MinMaxArray.
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
using V = std::vector<int32_t>;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The mid-size arrays of the NumPy references below, cells in scan order.
int64_t IntCell(int64_t K) { return (K * 7919 + 13) % 101 - 50; }  // many ties
double DblCell(int64_t K) { return ((K * 7919 + 3) % 1013) * 0.125 - 60; }

TEST(MaxMinArray, EmptyNoRowsAndRaggedGiveTheEmptyValuesAndLeavePositions) {
  // no columns, a column without rows, columns without rows, ragged both ways
  const TInt2DArray Shapes[] = {{}, {{}}, {{}, {}}, {{1, 2}, {3}}, {{1}, {2, 3}}, {{}, {4}}};
  for (const auto& A : Shapes) {
    int32_t Col = 77, Row = 78;
    const V Got = {MaxArray(A, Col, Row), MinArray(A, Col, Row), Col, Row, MaxArray(A)};
    EXPECT_EQ(Got, (V{INT32_MIN, INT32_MAX, 77, 78, INT32_MIN})) << A.size() << " columns";
    TDouble2DArray D(A.size());
    for (std::size_t C = 0; C < A.size(); ++C) D[C].assign(A[C].begin(), A[C].end());
    double Min = 0, Max = 0;
    EXPECT_EQ(MinArray(D), uc_MaxDouble);
    EXPECT_EQ(MinMaxArray(D, Min, Max), -1);
    EXPECT_EQ(std::make_pair(Min, Max), std::make_pair(uc_MaxDouble, -uc_MaxDouble));
  }
  int32_t Pos = 5;
  EXPECT_EQ(MaxArray(TIntArray{}, Pos), INT32_MIN);
  EXPECT_EQ(Pos, 5);
  EXPECT_EQ(MaxArray(TDouble3DArray{{{1}}, {{1, 2}}}), -uc_MaxDouble);  // ragged at level 3
  EXPECT_EQ(MinArray(TInt4DArray{{{{}}}}), INT32_MAX);                   // innermost empty
  EXPECT_EQ(MinArray(TInt4DArray{{{{1}, {2, 3}}}}), INT32_MAX);          // ragged at level 4
  double SMin = 0, SMax = 0;
  EXPECT_EQ(MinMaxArray(TSingleArray{}, SMin, SMax), -1);
  EXPECT_EQ(std::make_pair(SMin, SMax), std::make_pair(double{uc_MaxSingle}, -double{uc_MaxSingle}));
  int32_t IMin = 0, IMax = 0;
  EXPECT_EQ(MinMaxArray(std::span<const int32_t>(), IMin, IMax), -1);
  EXPECT_EQ(V({IMin, IMax}), V({INT32_MAX, INT32_MIN}));
}

TEST(MaxMinArray, ValuesAndFirstPositionsAgreeWithNumPy) {
  // i1 = (np.arange(500)*7919+13) % 101 - 50: i1.max(), i1.argmax(), i1.min(), i1.argmin()
  const TIntArray I1 = ScanArray<int32_t>(IntCell, 500);
  int32_t P1, P2;
  EXPECT_EQ(V({MaxArray(I1, P1), MinArray(I1, P2), P1, P2}), V({50, -50, 44, 12}));
  // i2 = the same over np.arange(37*23), reshaped (37, 23): np.unravel_index(i2.argmax(), i2.shape), ...
  const TInt2DArray I2 = ScanArray<int32_t>(IntCell, 37, 23);
  int32_t C1, R1, C2, R2;
  EXPECT_EQ(V({MaxArray(I2, C1, R1), MinArray(I2, C2, R2), C1, R1, C2, R2}), V({50, -50, 1, 21, 0, 12}));
  // d3 = ((np.arange(210)*7919+5) % 211)/4 - 26; i4 = (np.arange(360)*7919+5) % 211 - 100
  const auto D3 = ScanArray<double>([](int64_t K) { return ((K * 7919 + 5) % 211) / 4.0 - 26; }, 7, 6, 5);
  const auto I4 = ScanArray<int32_t>([](int64_t K) { return (K * 7919 + 5) % 211 - 100; }, 4, 3, 5, 6);
  double Min, Max;
  int32_t IMin, IMax;
  EXPECT_EQ(MinMaxArray(D3, Min, Max), 0);
  EXPECT_EQ(std::vector<double>({MaxArray(D3), MinArray(D3), Min, Max}), std::vector<double>({26.5, -26, -26, 26.5}));
  EXPECT_EQ(MinMaxArray(I4, IMin, IMax), 0);
  EXPECT_EQ(V({MaxArray(I4), MinArray(I4), IMin, IMax}), V({110, -100, -100, 110}));
}

TEST(MaxMinArray, ExamplesOfTheFamily) {
  int32_t Pos = 9;
  EXPECT_EQ(MaxArray(TIntArray{3, 7, 7, 1}, Pos), 7);
  EXPECT_EQ(Pos, 1);
  EXPECT_EQ(MaxArray(TIntArray{9, 2}, Pos), 9);
  EXPECT_EQ(Pos, 0);
  // The search starts at the first cell: a NaN there stays, a later NaN is passed over.
  EXPECT_TRUE(std::isnan(MaxArray(TDoubleArray{NaN, 3, 5})));
  EXPECT_EQ(MaxArray(TDoubleArray{3, NaN, 5}), 5.0);
  double Min, Max;
  EXPECT_EQ(MinMaxArray(TDoubleArray{2, -1, 5}, Min, Max), 0);
  EXPECT_EQ(std::make_pair(Min, Max), std::make_pair(-1.0, 5.0));
  EXPECT_EQ(MinMaxArray(TDoubleArray{NaN, -1, 5}, Min, Max), 0);
  EXPECT_TRUE(std::isnan(Min) && std::isnan(Max));
  const double Open[] = {4, -2.5, 8};
  EXPECT_EQ(MinMaxArray(std::span<const double>(Open), Min, Max), 0);
  EXPECT_EQ(std::make_pair(Min, Max), std::make_pair(-2.5, 8.0));
  EXPECT_EQ(MinMaxArray(TSingleArray{0.1f, -3.0f}, Min, Max), 0);
  EXPECT_EQ(std::make_pair(Min, Max), std::make_pair(-3.0, double{0.1f}));  // exact, not 0.1
}

TEST(MinMaxArray, RangesAndBoxesKeepTheCodeOrderAndAgreeWithNumPy) {
  const TIntArray I1 = ScanArray<int32_t>(IntCell, 500);
  // Lo, Hi: code, Min, MinPos, Max, MaxPos. First row: s = i1[100:300];
  // s.min(), s.argmin()+100, s.max(), s.argmax()+100
  const struct {
    int32_t Lo, Hi;
    V Want;
  } Ranges[] = {{100, 299, {0, -50, 113, 50, 145}},
                {3, 1, {0, INT32_MAX, 0, INT32_MIN, 0}},  // reversed: the start values
                {-1, 4, {-2, INT32_MAX, 0, INT32_MIN, 0}},
                {0, 500, {-2, INT32_MAX, 0, INT32_MIN, 0}},  // Hi one beyond the last index
                {7, 7, {0, I1[7], 7, I1[7], 7}}};
  for (const auto& R : Ranges) {
    int32_t Min = 1, Max = 1, MinPos = 9, MaxPos = 9;
    const int32_t Code = MinMaxArray(I1, R.Lo, R.Hi, Min, Max, MinPos, MaxPos);
    EXPECT_EQ(V({Code, Min, MinPos, Max, MaxPos}), R.Want) << R.Lo << ".." << R.Hi;
  }
  // No cell strictly beyond a start value: its position stays 0. Empty wins over a bad range.
  int32_t Min, Max, MinPos, MaxPos;
  EXPECT_EQ(MinMaxArray(TIntArray{5, INT32_MAX, INT32_MAX}, 1, 2, Min, Max, MinPos, MaxPos), 0);
  EXPECT_EQ(V({MinPos, MaxPos}), V({0, 1}));
  double DMin, DMax;
  EXPECT_EQ(MinMaxArray(TDoubleArray{}, -5, 3, DMin, DMax, MinPos, MaxPos), -1);

  // Boxes, corner form. s = i2[3:31, 2:21]: s.min() at (9, 7), s.max() at (6, 7); s = d2[5:20, 0:31]
  // with d2 = (((np.arange(29*31)*7919+3) % 1013)*0.125 - 60).reshape(29, 31)
  const TDouble2DArray D2 = ScanArray<double>(DblCell, 29, 31);
  int32_t MinC, MinR, MaxC, MaxR;
  EXPECT_EQ(MinMaxArray(ScanArray<int32_t>(IntCell, 37, 23), 3, 2, 30, 20, Min, Max, MinC, MinR, MaxC, MaxR), 0);
  EXPECT_EQ(V({Min, MinC, MinR, Max, MaxC, MaxR}), V({-50, 9, 7, 50, 6, 7}));
  EXPECT_EQ(MinMaxArray(D2, 5, 0, 19, 30, DMin, DMax, MinC, MinR, MaxC, MaxR), 0);
  EXPECT_EQ(std::make_pair(DMin, DMax), std::make_pair(-59.75, 66.5));
  EXPECT_EQ(V({MinC, MinR, MaxC, MaxR}), V({18, 6, 7, 13}));
  // ColLo, RowLo, ColHi, RowHi: code, with the start values and positions 0
  const struct {
    TDouble2DArray A;
    int32_t C0, R0, C1, R1, Code;
  } Boxes[] = {{D2, 0, 0, 28, 31, -2},  // RowHi = number of rows
               {D2, 0, -1, 2, 2, -2},  {D2, 5, 0, 4, 3, 0},  {D2, 2, 6, 3, 5, 0},  // reversed: no error
               {{}, 0, 0, 0, 0, -1},   {{{}}, 0, 0, 0, 0, -1},
               {{{1, 2}, {3}}, 0, 0, 9, 9, -1}};  // ragged: empty, before the bad box
  for (const auto& B : Boxes) {
    DMin = DMax = 1;
    MinC = MinR = MaxC = MaxR = 9;
    EXPECT_EQ(MinMaxArray(B.A, B.C0, B.R0, B.C1, B.R1, DMin, DMax, MinC, MinR, MaxC, MaxR), B.Code);
    EXPECT_EQ(std::make_pair(DMin, DMax), std::make_pair(uc_MaxDouble, -uc_MaxDouble));
    EXPECT_EQ(V({MinC, MinR, MaxC, MaxR}), V({0, 0, 0, 0}));
  }
}

}  // namespace
}  // namespace orv
