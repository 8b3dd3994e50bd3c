// PercentileArray and FrequDistOfArray.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// a = ((np.arange(n)*7919 + 3) % 1013)*0.125 - 60, reshaped for 2-D.
double Cell(int64_t K) { return ((K * 7919 + 3) % 1013) * 0.125 - 60; }

TEST(PercentileArray, NearestRankOfTheSortedCells) {
  // P and np.sort(a)[k], k = min(round(n * P / 100), n - 1) (Python rounds half to even), n = 1000.
  const double Rows[][2] = {{0, -60},      {-5, -60},      {0.05, -60}, {0.15, -59.75}, {0.25, -59.75},
                            {0.35, -59.5}, {33.3, -17.75}, {50, 3.5},   {75, 35.125},   {250, 66.5}};
  for (const auto& R : Rows) {
    TDoubleArray A = ScanArray<double>(Cell, 1000);
    EXPECT_EQ(PercentileArray(R[0], A), R[1]) << "P = " << R[0];
    EXPECT_TRUE(std::is_permutation(A.begin(), A.end(), ScanArray<double>(Cell, 1000).begin()));
  }
  // The family's examples; the caller sees the cells reordered.
  TDoubleArray A = {5, 1, 4, 2, 3}, B = {1, 2, 3, 4}, Empty, C = {5, 1, 4};
  EXPECT_EQ(PercentileArray(50, A), 3.0);
  EXPECT_EQ(A[2], 3.0);
  EXPECT_NE(A, (TDoubleArray{5, 1, 4, 2, 3}));
  EXPECT_EQ(PercentileArray(50, B) + PercentileArray(50, Empty), 3.0);
  // A NaN P selects nothing; many ties of the least value end at once.
  EXPECT_TRUE(std::isnan(PercentileArray(NaN, C)));
  EXPECT_EQ(C, (TDoubleArray{5, 1, 4}));
  EXPECT_EQ(PercentileArray(NaN, Empty), 0.0) << "empty first";
  TDoubleArray Z(200000, 0.0);
  Z[5] = 2;
  EXPECT_EQ(PercentileArray(99, Z), 0.0);

  // np.sort(d2[3:31, 2:21].ravel())[k] (532 cells) of d2 = a over 37 * 23, A unchanged.
  const TDouble2DArray D2 = ScanArray<double>(Cell, 37, 23);
  const double Box[][2] = {{0, -60}, {12.5, -45.75}, {50, 2.5}, {90, 53.25}, {100, 65.625}};
  for (const auto& R : Box) EXPECT_EQ(PercentileArray(R[0], D2, 3, 2, 30, 20), R[1]) << "P = " << R[0];
  EXPECT_EQ(D2, (ScanArray<double>(Cell, 37, 23)));
  // Bounds clamped into the axes (ColHi 99 on three columns: up to column 2);
  // still reversed after clamping on one axis or both, no rows, ragged: 0.
  const TDouble2DArray T = {{1, 2}, {3, 4}, {5, 9}};
  EXPECT_EQ(PercentileArray(100, T, -4, 0, 99, 99) + PercentileArray(100, T, 0, 0, 1, 1), 13.0);
  const int32_t Reversed[][4] = {{2, 0, 0, 1}, {0, 1, 2, 0}, {2, 1, 0, 0}, {99, 99, -5, -5}};
  for (const auto& B : Reversed) EXPECT_EQ(PercentileArray(50, T, B[0], B[1], B[2], B[3]), 0.0) << B[0] << B[1];
  for (const TDouble2DArray& E : {TDouble2DArray{{}, {}}, TDouble2DArray{{1, 2}, {3}}, TDouble2DArray{}})
    EXPECT_EQ(PercentileArray(50, E, 0, 0, 1, 1), 0.0) << E.size();
  EXPECT_TRUE(std::isnan(PercentileArray(NaN, T, 0, 0, 2, 1)));
  EXPECT_EQ(PercentileArray(NaN, T, 2, 0, 0, 1), 0.0) << "reversed first";
  // A single peak over 2-D cells (0 .. 50000 .. 1) took a pass per cell; sorted[k] = ceil(k / 2).
  const TDouble2DArray Peak = ScanArray<double>([](int64_t K) { return K <= 50000 ? K : 100000 - K; }, 400, 250);
  EXPECT_EQ(PercentileArray(50, Peak, 0, 0, 399, 249), 25000.0);
}

// {code, NBelow, NAbove, MaxCount, Dist...}; the outputs start as 7, 7, 7, {7},
// so a failing call gives {code, 7, 7, 7, 7}.
template <class... Args>
TIntArray Histo(const Args&... A) {
  TIntArray Dist = {7};
  int32_t Below = 7, Above = 7, Max = 7;
  TIntArray R = {FrequDistOfArray(A..., Dist, Below, Above, Max), Below, Above, Max};
  R.insert(R.end(), Dist.begin(), Dist.end());
  return R;
}

TEST(FrequDistOfArray, CodesInTheirOrderLeaveTheOutputsAlone) {
  const TDoubleArray A = {1, 2, 3};
  // Lo, Hi, LowVal, HighVal, BinWidth, code
  const struct {
    int32_t Lo, Hi;
    double LowVal, HighVal, Width;
    int32_t Code;
  } Rows[] = {{-1, 2, 2, 1, 0, -1},    {0, 3, 0, 1, 1, -1},
              {2, 1, 2, 1, 0, -2},     {0, 2, 1, 1, 0, -3},
              {0, 2, NaN, 1, 1, -3},   {0, 2, 0, NaN, 1, -3},
              {0, 2, 0, 1, 0, -4},     {0, 2, 0, 1, NaN, -4},
              {0, 2, 0, 1000, 1, -5},  {0, 2, 0, 1, 1e-300, -5},
              {0, 2, 0, Inf, 1, -5},   {0, 2, -Inf, 0, 1, -5},
              {0, 2, 0, 999.5, 1, -5}, {0, 2, -1e308, 1e308, 1e306, -5}};
  for (const auto& R : Rows)
    EXPECT_EQ(Histo(A, R.Lo, R.Hi, R.LowVal, R.HighVal, R.Width), (TIntArray{R.Code, 7, 7, 7, 7}))
        << R.Lo << ' ' << R.Hi << ' ' << R.LowVal << ' ' << R.HighVal << ' ' << R.Width;
  EXPECT_EQ(Histo(TDoubleArray{}, 0, 0, 0.0, 1.0, 1.0)[0], -1);
  EXPECT_EQ(Histo(A, 0, 0, 0.0, 999.0, 1.0).size(), 1004u) << "exactly 1000 bins";
  EXPECT_EQ(Histo(A, 0, 2, 0.0, 1.0, Inf), (TIntArray{0, 0, 0, 3, 3}));
  // 2-D: no rows, ragged, reversed rows; the mask's check comes before the bin count's.
  const TDouble2DArray G = {{1, 2}, {3, 4}};
  const TBool2DArray Short = {{false}, {false}};
  EXPECT_EQ((TIntArray{Histo(TDouble2DArray{{}, {}}, 0, 0, 0, 0, 0.0, 1.0, 1.0)[0],
                       Histo(TDouble2DArray{{1, 2}, {3}}, 0, 0, 0, 0, 0.0, 1.0, 1.0)[0],
                       Histo(G, 0, 1, 1, 0, 0.0, 1.0, 1.0)[0], Histo(G, Short, 0, 0, 0, 0, 0.0, 5000.0, 1.0)[0],
                       Histo(G, TBool2DArray{}, 0, 0, 0, 0, 0.0, 1.0, 1.0)[0],
                       Histo(G, TBool2DArray{{false, true}, {false}}, 0, 0, 0, 0, 0.0, 1.0, 1.0)[0],
                       Histo(G, Short, 0, 0, 0, 0, 1.0, 1.0, 1.0)[0]}),
            (TIntArray{-1, -1, -2, -6, -6, -6, -3}));
}

TEST(FrequDistOfArray, CountsAgreeWithADirectFloor) {
  // The family's examples: 2 lands in the last bin; 1.3 (bin 3 of 3) counts above, as does NaN.
  EXPECT_EQ(Histo(TDoubleArray{0, 0.5, 1, 1.5, 2, -1, 7}, 0, 0, 0.0, 2.0, 1.0), (TIntArray{0, 1, 1, 2, 2, 2, 1}));
  EXPECT_EQ(Histo(TDoubleArray{0, 0.5, 1.3, NaN}, 0, 3, 0.0, 1.0, 0.4), (TIntArray{0, 0, 2, 1, 1, 1, 0}));
  // NumPy: bins = round(|hi - lo| / w) + 1; below = (s < lo).sum(); b = np.floor((x - lo) / w)
  // over s[(s >= lo) & (s < hi + w)], np.bincount(b[b < bins]); above the rest.
  const TDoubleArray A = ScanArray<double>(Cell, 1000);  // s = a[10:990]
  EXPECT_EQ(Histo(A, 10, 989, -20.0, 20.0, 2.5),
            (TIntArray{0, 308, 343, 20, 20, 20, 18, 19, 20, 20, 20, 17, 20, 20, 20, 18, 19, 20, 20, 20, 18}));
  const TIntArray Narrow = Histo(A, 10, 989, -20.0, 20.0, 0.7);  // 58 bins
  EXPECT_EQ((TIntArray{Narrow[1], Narrow[2], Narrow[3], Narrow[4], Narrow[11], Narrow.back()}),
            (TIntArray{308, 356, 6, 6, 4, 5}));
  EXPECT_EQ(Narrow.size(), 62u);
  // d2 whole, and its box [3:31, 2:21] without the cells whose scan index is a multiple of 3.
  const TDouble2DArray D2 = ScanArray<double>(Cell, 37, 23);
  EXPECT_EQ(Histo(D2, 0, 0, 0, 0, -30.0, 35.0, 5.0),
            (TIntArray{0, 200, 181, 35, 35, 32, 35, 33, 33, 34, 33, 35, 31, 35, 33, 34, 34, 33}));
  const TBool2DArray Mask = ScanArray<TBool>([](int64_t K) { return K % 3 == 0; }, 37, 23);
  EXPECT_EQ(Histo(D2, Mask, 3, 2, 30, 20, -30.0, 35.0, 5.0),
            (TIntArray{0, 82, 73, 19, 17, 17, 15, 10, 9, 18, 17, 18, 10, 9, 18, 15, 19, 8}));
}

}  // namespace
}  // namespace orv
