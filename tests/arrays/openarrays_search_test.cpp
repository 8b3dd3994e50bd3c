// FindInArray, FindInSortedArray and CountValues.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/arrays.h"

namespace orv {
namespace {

using test::ScanArray;

constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(FindInArray, IntegerAndStringMatches) {
  EXPECT_EQ(FindInArray(5, TIntArray{5, 3, 5}), 0);
  EXPECT_EQ(FindInArray(3, TIntArray{5, 3, 5}), 1);
  EXPECT_EQ(FindInArray(4, TIntArray{5, 3, 5}), -2);
  EXPECT_EQ(FindInArray(4, TIntArray{}), -1);
  // S, IgnoreCase, Partial: index in Cells
  const TStrArray Cells = {"xABy", "Ab", "ab", "", "\xC3\x84" "b", "AB"};
  const struct {
    const char* S;
    bool IgnoreCase, Partial;
    int32_t Want;
  } Rows[] = {{"ab", true, true, 0},   {"ab", true, false, 1},  {"ab", false, false, 2}, {"ab", false, true, 2},
              {"AB", false, true, 0},  {"", false, false, 3},   {"", true, true, -2},    // empty S matches nothing
              {"\xC3\xA4" "b", true, false, -2},  // only A-Z are lowered, not the UTF-8 umlaut
              {"\xC3\x84" "B", true, false, 4},   {"xaby", true, false, 0}, {"abc", true, true, -2}};
  for (const auto& R : Rows)
    EXPECT_EQ(FindInArray(R.S, Cells, R.IgnoreCase, R.Partial), R.Want)
        << '"' << R.S << "\" " << R.IgnoreCase << R.Partial;
  EXPECT_EQ(FindInArray("a", TStrArray{}, false, true), -1);
  // A periodic pattern in a long periodic cell: found near the end, in linear time.
  const std::string Long = std::string(1 << 20, 'a') + "b";
  EXPECT_EQ(FindInArray(std::string(1 << 16, 'a') + "b", TStrArray{std::string(1 << 20, 'a'), Long}, false, true),
            1);
  EXPECT_EQ(FindInArray(std::string(1 << 16, 'A') + "B", TStrArray{Long}, true, true), 0);
}

TEST(FindInSortedArray, AgreesWithBisectInBothDirections) {
  // Reference: Python, with A ascending and distinct, i = bisect.bisect_left(A, x):
  // -2 outside A[0]..A[-1]; i when A[i] == x; else i if |A[i-1] - x| >= |A[i] - x| else i - 1.
  // Descending: the same on A[::-1], a tie going to the later index there.
  const TDoubleArray A = {-3, -1, 0, 0.5, 2, 4, 4.5, 7, 11};
  const TDoubleArray D(A.rbegin(), A.rend());
  const double X[] = {-3.5, -3, -2.25, -2.0, -1.75, -1, -0.75, -0.5, -0.25, 0,   0.25,
                      0.5,  1.0, 1.25,  1.5,  2,     2.75, 3.0,   3.25, 4,     4.25, 4.5,
                      5.5,  5.75, 6.0,  7,    8.75,  9.0,  9.25,  11,   11.5};
  const int32_t Asc[] = {-2, 0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, -2};
  const int32_t Desc[] = {-2, 8, 8, 8, 7, 7, 7, 7, 6, 6, 6, 5, 5, 5, 4, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 1, 0, 0, -2};
  for (std::size_t I = 0; I < std::size(X); ++I) {
    EXPECT_EQ(FindInSortedArray(X[I], A, true), Asc[I]) << "x = " << X[I];
    EXPECT_EQ(FindInSortedArray(X[I], D, false), Desc[I]) << "x = " << X[I] << " descending";
  }
  // The family's own examples: X, A, Ascending, index.
  const struct {
    double X;
    TDoubleArray A;
    bool Ascending;
    int32_t Want;
  } Examples[] = {{3, {1, 2, 4, 8}, true, 2}, {2.9, {1, 2, 4, 8}, true, 1}, {8, {1, 2, 4, 8}, true, 3},
                  {9, {1, 2, 4, 8}, true, -2}, {3, {8, 4, 2, 1}, false, 2}, {5, {5}, true, 0},
                  {5.5, {5}, false, -2},       {5, {}, true, -1}};
  for (const auto& E : Examples) EXPECT_EQ(FindInSortedArray(E.X, E.A, E.Ascending), E.Want) << "x = " << E.X;
  // NaN is in no range; an infinite X finds the equal infinite cell, although
  // its distance to it is NaN.
  EXPECT_EQ(FindInSortedArray(std::numeric_limits<double>::quiet_NaN(), A, true), -2);
  EXPECT_EQ(FindInSortedArray(Inf, {1, 2, Inf}, true), 2);
  EXPECT_EQ(FindInSortedArray(-Inf, {Inf, 2, -Inf}, false), 2);
  EXPECT_EQ(FindInSortedArray(-Inf, {-Inf, 2, 3}, true), 0);
}

TEST(CountValues, CodesInTheirOrderAndCountsAgreeWithNumPy) {
  // Codes: empty (first three levels, or ragged) before bad bounds before LowVal > HighVal.
  EXPECT_EQ(CountValues(TDoubleArray{}, 0, 0, 2, 1), -1);
  EXPECT_EQ(CountValues(TDoubleArray{1, 2}, 0, 1, 2, 1), -2);
  EXPECT_EQ(CountValues(TDoubleArray{1, 2}, 1, 0, 0, 9), -2);
  EXPECT_EQ(CountValues(TIntArray{4, 4, 5}, 0, 2, 4, 4), 2);
  const struct {
    TInt2DArray A;
    int32_t C0, C1, R0, R1, Want;
  } Rows2[] = {{{}, 0, 0, 0, 0, -1},           {{{}}, 0, 0, 0, 0, -1},        {{{1, 2}, {3}}, 0, 1, 0, 0, -1},
               {{{1, 2}, {3, 4}}, 0, 2, 0, 0, -2}, {{{1, 2}, {3, 4}}, 0, 1, 1, 2, -2}, {{{1, 2}, {3, 4}}, 0, 1, 0, 1, 4},
               {{{1, 2}, {3, 4}}, 1, 1, 1, 1, 1},  {{{1, 2}, {3, 4}}, 1, 0, 0, 1, -2}};
  for (const auto& R : Rows2) EXPECT_EQ(CountValues(R.A, R.C0, R.C1, R.R0, R.R1, 0, 9), R.Want);
  EXPECT_EQ(CountValues(TDouble3DArray{{{}}}, 0, 0, 0, 0, 0, 0, 0, 1), -1);
  EXPECT_EQ(CountValues(TInt4DArray{{{{}}}}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1), -2) << "innermost empty: a bad bound";
  EXPECT_EQ(CountValues(TInt4DArray{{{{}, {1}}}}, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1), -1) << "ragged innermost";
  EXPECT_EQ(CountValues(TDoubleArray{1, 2}, 0, 1, std::numeric_limits<double>::quiet_NaN(), 3), 0);

  // np.count_nonzero((s >= lo) & (s <= hi)) over the slices, arrays as in the extremes test:
  auto IntCell = [](int64_t K) { return (K * 7919 + 13) % 101 - 50; };
  auto DblCell = [](int64_t K) { return ((K * 7919 + 3) % 1013) * 0.125 - 60; };
  // d1 = ((np.arange(1000)*7919+3) % 1013)*0.125 - 60; s = d1[10:990], [-20, 20]
  EXPECT_EQ(CountValues(ScanArray<double>(DblCell, 1000), 10, 989, -20.0, 20.0), 312);
  // i2 (37 x 23); s = i2[3:31, 2:21], [-10, 10]
  EXPECT_EQ(CountValues(ScanArray<int32_t>(IntCell, 37, 23), 3, 30, 2, 20, -10, 10), 106);
  // d3 = (((np.arange(210)*7919+5) % 211)/4 - 26).reshape(7,6,5); s = d3[1:6, 0:4, 2:5], [-5.5, 12.25]
  const auto D3 = ScanArray<double>([](int64_t K) { return ((K * 7919 + 5) % 211) / 4.0 - 26; }, 7, 6, 5);
  EXPECT_EQ(CountValues(D3, 1, 5, 0, 3, 2, 4, -5.5, 12.25), 19);
  // i4 = (((np.arange(360)*7919+5) % 211) - 100).reshape(4,3,5,6); s = i4[0:4, 1:3, 1:4, 0:6], [0, 50]
  const auto I4 = ScanArray<int32_t>([](int64_t K) { return (K * 7919 + 5) % 211 - 100; }, 4, 3, 5, 6);
  EXPECT_EQ(CountValues(I4, 0, 3, 1, 2, 1, 3, 0, 5, 0, 50), 36);
}

}  // namespace
}  // namespace orv
