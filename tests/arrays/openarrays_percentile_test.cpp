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

double DblCell(int64_t K) { return ((K * 7919 + 3) % 1013) * 0.125 - 60; }

TEST(PercentileArray, NearestRankAgainstTheSortedCells) {
  // k = min(round(n * P / 100), n - 1), Python's round half to even;
  // reference np.sort(a)[k] with a = ((np.arange(1000)*7919+3) % 1013)*0.125 - 60.
  const struct {
    double P, Want;
  } Rows[] = {{0, -60},     {-5, -60},          {0.05, -60},     {0.15, -59.75}, {0.25, -59.75},
              {0.35, -59.5}, {10, -47.25},       {33.3, -17.75},  {50, 3.5},      {75, 35.125},
              {100, 66.5},   {250, 66.5},        {99.95, 66.5}};
  for (const auto& R : Rows) {
    TDoubleArray A = ScanArray<double>(DblCell, 1000);
    const double Got = PercentileArray(R.P, A);
    EXPECT_EQ(Got, R.Want) << "P = " << R.P;
    TDoubleArray S = A, Ref = ScanArray<double>(DblCell, 1000);
    std::sort(S.begin(), S.end());
    std::sort(Ref.begin(), Ref.end());
    EXPECT_EQ(S, Ref) << "the caller's cells, reordered";
  }
  // The family's examples; the caller sees the reordered cells.
  TDoubleArray A = {5, 1, 4, 2, 3};
  EXPECT_EQ(PercentileArray(50, A), 3.0);
  EXPECT_EQ(A[2], 3.0);
  EXPECT_NE(A, (TDoubleArray{5, 1, 4, 2, 3}));
  TDoubleArray B = {1, 2, 3, 4};
  EXPECT_EQ(PercentileArray(50, B), 3.0);
  TDoubleArray Empty;
  EXPECT_EQ(PercentileArray(50, Empty), 0.0);
  // A NaN P selects nothing.
  TDoubleArray C = {5, 1, 4};
  EXPECT_TRUE(std::isnan(PercentileArray(NaN, C)));
  EXPECT_EQ(C, (TDoubleArray{5, 1, 4}));
  // Many ties of the least value: the selection ends at once.
  TDoubleArray Z(200000, 0.0);
  Z[5] = 2;
  EXPECT_EQ(PercentileArray(99, Z), 0.0);

  // 2-D box: d2 = a over np.arange(37*23) reshaped (37, 23);
  // np.sort(d2[3:31, 2:21].ravel())[k], 532 cells.
  const TDouble2DArray D2 = ScanArray<double>(DblCell, 37, 23);
  const struct {
    double P, Want;
  } Box[] = {{0, -60}, {12.5, -45.75}, {50, 2.5}, {90, 53.25}, {100, 65.625}};
  for (const auto& R : Box) EXPECT_EQ(PercentileArray(R.P, D2, 3, 2, 30, 20), R.Want) << "P = " << R.P;
  EXPECT_EQ(D2, (ScanArray<double>(DblCell, 37, 23))) << "A stays as it is";
  // Bounds clamped into the axes: ColHi 99 on three columns uses up to column 2.
  const TDouble2DArray T = {{1, 2}, {3, 4}, {5, 9}};
  EXPECT_EQ(PercentileArray(100, T, -4, 0, 99, 99), 9.0);
  EXPECT_EQ(PercentileArray(100, T, 0, 0, 1, 1), 4.0);
  // Still reversed after clamping on one axis or on both, no rows, ragged, a NaN P.
  const struct {
    TDouble2DArray A;
    int32_t C0, R0, C1, R1;
  } Empties[] = {{T, 2, 0, 0, 1}, {T, 0, 1, 2, 0}, {T, 2, 1, 0, 0}, {T, 99, 99, -5, -5},
                 {{{}, {}}, 0, 0, 1, 0}, {{{1, 2}, {3}}, 0, 0, 1, 1}, {{}, 0, 0, 0, 0}};
  for (const auto& E : Empties) EXPECT_EQ(PercentileArray(50, E.A, E.C0, E.R0, E.C1, E.R1), 0.0) << E.C0 << E.R0;
  EXPECT_TRUE(std::isnan(PercentileArray(NaN, T, 0, 0, 2, 1)));
}

struct THisto {
  int32_t Code;
  TIntArray Dist;
  int32_t Below, Above, Max;
  bool operator==(const THisto&) const = default;
};
std::ostream& operator<<(std::ostream& O, const THisto& H) {
  O << H.Code << " [";
  for (int32_t D : H.Dist) O << D << ' ';
  return O << "] " << H.Below << ' ' << H.Above << ' ' << H.Max;
}

// The outputs start as {7}, 7, 7, 7, so a failing call shows them untouched.
template <class... Args>
THisto Histo(const Args&... A) {
  THisto H{0, {7}, 7, 7, 7};
  H.Code = FrequDistOfArray(A..., H.Dist, H.Below, H.Above, H.Max);
  return H;
}

TEST(FrequDistOfArray, CodesInTheirOrderLeaveTheOutputsAlone) {
  const TDoubleArray A = {1, 2, 3};
  const TDouble2DArray G = {{1, 2}, {3, 4}};
  const TBool2DArray Short = {{false}, {false}};
  // Lo, Hi, LowVal, HighVal, BinWidth, code
  const struct {
    int32_t Lo, Hi;
    double LowVal, HighVal, Width;
    int32_t Code;
  } Rows[] = {{-1, 2, 2, 1, 0, -1},   {0, 3, 0, 1, 1, -1},     {2, 1, 2, 1, 0, -2},     {0, 2, 1, 1, 0, -3},
              {0, 2, NaN, 1, 1, -3},  {0, 2, 0, NaN, 1, -3},   {0, 2, 0, 1, 0, -4},     {0, 2, 0, 1, NaN, -4},
              {0, 2, 0, 1000, 1, -5}, {0, 2, 0, 1, 1e-300, -5}, {0, 2, 0, Inf, 1, -5}, {0, 2, -Inf, 0, 1, -5},
              {0, 2, -1e308, 1e308, 1e306, -5}, {0, 2, 0, 999.5, 1, -5}, {0, 2, 0, 1, Inf, 0}};
  for (const auto& R : Rows) {
    THisto H = Histo(A, R.Lo, R.Hi, R.LowVal, R.HighVal, R.Width);
    EXPECT_EQ(H.Code, R.Code) << R.Lo << ' ' << R.Hi << ' ' << R.LowVal << ' ' << R.HighVal << ' ' << R.Width;
    if (R.Code != 0) {
      EXPECT_EQ(H, (THisto{R.Code, {7}, 7, 7, 7}));
    }
  }
  EXPECT_EQ(Histo(TDoubleArray{}, 0, 0, 0.0, 1.0, 1.0).Code, -1);
  EXPECT_EQ(Histo(A, 0, 0, 0.0, 999.0, 1.0).Dist.size(), 1000u) << "exactly 1000 bins";
  // 2-D: no rows, ragged, reversed rows; the mask's check before the bin count's.
  EXPECT_EQ(Histo(TDouble2DArray{{}, {}}, 0, 0, 0, 0, 0.0, 1.0, 1.0).Code, -1);
  EXPECT_EQ(Histo(TDouble2DArray{{1, 2}, {3}}, 0, 0, 0, 0, 0.0, 1.0, 1.0).Code, -1);
  EXPECT_EQ(Histo(G, 0, 1, 1, 0, 0.0, 1.0, 1.0).Code, -2);
  EXPECT_EQ(Histo(G, Short, 0, 0, 0, 0, 0.0, 5000.0, 1.0).Code, -6);
  EXPECT_EQ(Histo(G, TBool2DArray{}, 0, 0, 0, 0, 0.0, 1.0, 1.0).Code, -6);
  EXPECT_EQ(Histo(G, TBool2DArray{{false, true}, {false}}, 0, 0, 0, 0, 0.0, 1.0, 1.0).Code, -6);
  EXPECT_EQ(Histo(G, Short, 0, 0, 0, 0, 1.0, 1.0, 1.0).Code, -3) << "-3 comes first";
}

TEST(FrequDistOfArray, CountsAgreeWithADirectFloor) {
  // The family's examples: 2 lands in the last bin, 1.3 (bin 3 of 3) counts above.
  EXPECT_EQ(Histo(TDoubleArray{0, 0.5, 1, 1.5, 2, -1, 7}, 0, 0, 0.0, 2.0, 1.0), (THisto{0, {2, 2, 1}, 1, 1, 2}));
  EXPECT_EQ(Histo(TDoubleArray{0, 0.5, 1.3, NaN}, 0, 3, 0.0, 1.0, 0.4), (THisto{0, {1, 1, 0}, 0, 2, 1}));
  // NumPy: bins = round(|hi - lo| / w) + 1; below = (s < lo).sum(); inside
  // s[(s >= lo) & (s < hi + w)], b = np.floor((x - lo) / w), np.bincount(b[b < bins]);
  // above the rest. a as in the percentile test, s = a[10:990].
  const TDoubleArray A = ScanArray<double>(DblCell, 1000);
  EXPECT_EQ(Histo(A, 10, 989, -20.0, 20.0, 2.5),
            (THisto{0, {20, 20, 18, 19, 20, 20, 20, 17, 20, 20, 20, 18, 19, 20, 20, 20, 18}, 308, 343, 20}));
  const THisto Narrow = Histo(A, 10, 989, -20.0, 20.0, 0.7);
  EXPECT_EQ(Narrow.Dist.size(), 58u);
  EXPECT_EQ((TIntArray{Narrow.Dist[0], Narrow.Dist[7], Narrow.Dist[57], Narrow.Below, Narrow.Above, Narrow.Max}),
            (TIntArray{6, 4, 5, 308, 356, 6}));
  // d2 (37 x 23) whole, and the box [3:31, 2:21] without the cells whose
  // scan index is a multiple of 3 (masked).
  const TDouble2DArray D2 = ScanArray<double>(DblCell, 37, 23);
  EXPECT_EQ(Histo(D2, 0, 0, 0, 0, -30.0, 35.0, 5.0),
            (THisto{0, {35, 32, 35, 33, 33, 34, 33, 35, 31, 35, 33, 34, 34, 33}, 200, 181, 35}));
  const TBool2DArray Mask = ScanArray<TBool>([](int64_t K) { return K % 3 == 0; }, 37, 23);
  EXPECT_EQ(Histo(D2, Mask, 3, 2, 30, 20, -30.0, 35.0, 5.0),
            (THisto{0, {17, 17, 15, 10, 9, 18, 17, 18, 10, 9, 18, 15, 19, 8}, 82, 73, 19}));
}

}  // namespace
}  // namespace orv
