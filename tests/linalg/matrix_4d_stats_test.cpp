// TMat4D: fills, adding a layer, searching, block statistics and checksum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/progress.h"
#include "support/raises.h"

namespace {

using namespace orv;
using test::FillNamed4D;

constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::nan("");


// The cells in the order of the storage ([t][l][r][c], as NumPy's reshape of
// the same list lays them out) := ((k 7919) mod 2003) / 7 - 100, k = 0, 1, ...
void FillScan(TMat4D& A, int32_t Nc, int32_t Nr, int32_t Nl, int32_t Nt) {
  A.Resize(Nc, Nr, Nl, Nt);
  int64_t K = 0;
  for (int32_t T = 1; T <= Nt; ++T)
    for (int32_t L = 1; L <= Nl; ++L)
      for (int32_t R = 1; R <= Nr; ++R)
        for (int32_t C = 1; C <= Nc; ++C, ++K) A.SetVal(C, R, L, T, static_cast<double>(K * 7919 % 2003) / 7.0 - 100);
}

// The cells of the whole array in the order column, row, layer, time slot.
template <class F>
void ForEachOrdered(const TMat4D& A, F&& Fn) {
  for (int32_t C = 1; C <= A.NrOfColumns(); ++C)
    for (int32_t R = 1; R <= A.NrOfRows(); ++R)
      for (int32_t L = 1; L <= A.NrOfLayers(); ++L)
        for (int32_t T = 1; T <= A.NrOfTimeSlots(); ++T) Fn(C, R, L, T);
}

TEST(Mat4DStats, FillsAndTheirDrawOrder) {
  TMat4D A(nullptr);
  test::TChangeCounter Ch;
  Ch.Attach(A);
  A.Resize(5, 3, 4, 2);
  A.FillDiag(7.0);
  EXPECT_EQ(A.CountValues(0, 0, 0, 0, 0, 0, 0, 0, 7.0, 7.0), 2);
  EXPECT_EQ(A.Elem(1, 1, 1, 1) + A.Elem(2, 2, 2, 2), 14.0);
  A.FillLayer(3, 2.5);  // every time slot, no event
  EXPECT_EQ(A.CountValues(0, 0, 0, 0, 3, 3, 0, 0, 2.5, 2.5), 30);
  EXPECT_EQ(Ch.Count, 2);  // Resize and FillDiag
  // layer, time slot, mode, code (the later one wins); nothing changes with a code
  const struct {
    int32_t L, T, Mode, Code;
  } Codes[] = {{2, 1, 3, -3}, {0, 9, 1, -2}, {5, 1, 0, -1}, {1, 3, -1, -3}, {1, 0, 0, -2}, {4, 2, 0, 0}};
  for (const auto& K : Codes)
    EXPECT_EQ(A.FillLayer(K.L, K.T, K.Mode, 1.0, 1.0), K.Code) << K.L << " " << K.T << " " << K.Mode;
  EXPECT_EQ(A.CountValues(0, 0, 0, 0, 0, 0, 0, 0, 1.0, 1.0), 15);
  EXPECT_EQ(Ch.Count, 3);
  // Mode 1 draws column by column, row by row; mode 2 is par1 + par2 g.
  SetRandSeed(11);
  A.FillLayer(2, 1, 1, -1.0, 3.0);
  SetRandSeed(11);
  for (int32_t C = 1; C <= 5; ++C)
    for (int32_t R = 1; R <= 3; ++R) EXPECT_EQ(A.Elem(C, R, 2, 1), -1.0 + Random() * 4.0) << C << R;
  A.FillLayer(2, 1, 2, -1.0, 0.0);
  EXPECT_EQ(A.CountValues(0, 0, 0, 0, 2, 2, 1, 1, -1.0, -1.0), 15);
  // The random fills draw in the order column, row, layer, time slot, here
  // through tiles of 6 columns and through pieces of single positions.
  for (auto [X, Y, Z, T] : {std::tuple(9, 64, 64, 10), std::tuple(2, 1, 1024, 300), std::tuple(3, 2, 2, 2)}) {
    A.Resize(X, Y, Z, T);
    SetRandSeed(7);
    A.FillRandomUniform(2.0, 5.0);
    SetRandSeed(7);
    int64_t Wrong = 0;
    ForEachOrdered(A, [&](int32_t C, int32_t R, int32_t L, int32_t U) { Wrong += A.Elem(C, R, L, U) != 2.0 + Random() * 3.0; });
    EXPECT_EQ(Wrong, 0) << X << "x" << Y << "x" << Z << "x" << T;
  }
  // The Gauss fill by its moments: 9 x 64 x 64 x 10 cells of N(5, 2).
  A.Resize(9, 64, 64, 10);
  A.FillRandomGauss(5.0, 2.0);
  double Mean = 0, Var = 0;
  A.MeanVar(0, 0, 0, 0, 0, 0, 0, 0, Mean, Var);
  EXPECT_NEAR(Mean, 5.0, 0.02);   // 6 standard errors
  EXPECT_NEAR(Var, 4.0, 0.06);
}

TEST(Mat4DStats, AccumulateLayerChecksEveryColumn) {
  TMat4D A(nullptr);
  FillNamed4D(A, 3, 2, 2, 2);
  const TDouble2DArray Good = {{0.5, 0.25}, {1, 2}, {3, 4}};
  // source, layer, time slot, code (the later one wins)
  const struct {
    TDouble2DArray Src;
    int32_t L, T, Code;
  } Rows[] = {
      {{{1, 1}, {1, 1}}, 1, 1, -1},          {{{1, 1}, {1}, {1, 1}}, 1, 1, -1},  // ragged: no read beyond column 2
      {{{1, 1}, {1, 1}, {}}, 1, 1, -1},      {{}, 1, 1, -1},
      {Good, 0, 1, -2},                      {{{1}}, 3, 1, -2},
      {Good, 3, 0, -3},                      {{}, 0, 3, -3},
  };
  for (const auto& R : Rows) EXPECT_EQ(A.AccumulateLayer(R.L, R.T, R.Src), R.Code) << R.L << " " << R.T;
  EXPECT_EQ(A.Sum(0, 0, 0, 0, 0, 0, 0, 0), 8 * (1000 + 2000 + 3000) + 12 * (100 + 200) + 12 * (10 + 20) + 12 * 3);
  EXPECT_EQ(A.AccumulateLayer(2, 1, Good), 0);
  EXPECT_EQ(std::tuple(A.Elem(1, 1, 2, 1), A.Elem(1, 2, 2, 1), A.Elem(3, 2, 2, 1), A.Elem(3, 2, 2, 2)),
            std::tuple(1121.5, 1221.25, 3225.0, 3222.0));
}

TEST(Mat4DStats, FindReportsTheFirstNearestCellInColumnRowLayerSlotOrder) {
  TMat4D A(nullptr);
  FillNamed4D(A, 3, 3, 3, 3);
  A.SetVal(3, 1, 1, 1, 2222.0);  // ties with (2, 2, 2, 2), which comes first
  A.SetVal(1, 3, 3, 3, NaN);
  // bounds (low, high) per axis, value, expected indices
  const struct {
    int32_t B[8];
    double Value;
    int32_t C, R, L, T;
  } Rows[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0}, 2222.0, 2, 2, 2, 2},  {{3, 3, 0, 0, 0, 0, 0, 0}, 2222.0, 3, 1, 1, 1},
      {{3, 2, 0, 0, 0, 0, 0, 0}, 2222.0, 2, 2, 2, 2},  // reversed bounds
      {{0, 0, 0, 0, 0, 0, 0, 0}, 1117.0, 1, 1, 1, 3},  // 1113 before 1121: the layer before the time slot
      {{0, 0, 0, 0, 2, 9, 2, 2}, 1111.0, 1, 1, 2, 2},  {{-5, 1, 7, 99, 3, 3, 3, 3}, 0.0, 0, 0, 0, 0},  // the NaN cell
      {{0, 0, 0, 0, 0, 0, 0, 0}, NaN, 0, 0, 0, 0},     {{0, 0, 0, 0, 0, 0, 0, 0}, Inf, 0, 0, 0, 0},
  };
  for (const auto& R : Rows) {
    int32_t C = -1, Rw = -1, L = -1, T = -1;
    A.Find(R.B[0], R.B[1], R.B[2], R.B[3], R.B[4], R.B[5], R.B[6], R.B[7], R.Value, C, Rw, L, T);
    EXPECT_EQ(std::tuple(C, Rw, L, T), std::tuple(R.C, R.R, R.L, R.T)) << "value " << R.Value << ", low col " << R.B[0];
  }
  // A cell late in an array walked in pieces of one position.
  A.Resize(1, 2, 1024, 300);
  A.SetVal(1, 2, 1000, 299, 5.0);
  A.SetVal(1, 2, 1000, 300, 5.0);
  int32_t C, R, L, T;
  A.Find(0, 0, 0, 0, 0, 0, 0, 0, 4.9, C, R, L, T);
  EXPECT_EQ(std::tuple(C, R, L, T), std::tuple(1, 2, 1000, 299));
}

TEST(Mat4DStats, BlockStatisticsAgainstNumPy) {
  TMat4D A(nullptr);
  FillScan(A, 6, 5, 4, 3);
  // Columns 2..5, rows 1..4, layers 2..4, time slots 1..2 (some given reversed
  // or beyond the array), 96 cells. NumPy over a[0:2, 1:4, 0:4, 1:5]: sum
  // 4095.714285714286, var(ddof=1) 6840.072171500178, min -99, max 184,
  // ((v >= -50) & (v <= 50)).sum() 33; the squared sum added in the
  // documented order by a Python loop.
  const int32_t B[8] = {5, 2, -3, 4, 2, 9, 2, 1};
  EXPECT_EQ(A.Sum(B[0], B[1], B[2], B[3], B[4], B[5], B[6], B[7]), 4095.714285714286);
  EXPECT_EQ(A.SquaredSum(B[0], B[1], B[2], B[3], B[4], B[5], B[6], B[7]), 824545.1428571427);
  EXPECT_EQ(A.CountValues(B[0], B[1], B[2], B[3], B[4], B[5], B[6], B[7], -50, 50), 33);
  double Mean, Var, Min, Max;
  A.MeanVar(B[0], B[1], B[2], B[3], B[4], B[5], B[6], B[7], Mean, Var);
  EXPECT_DOUBLE_EQ(Mean, 4095.714285714286 / 96);
  EXPECT_NEAR(Var, 6840.072171500178, 1e-9);
  A.MinMax(B[0], B[1], B[2], B[3], B[4], B[5], B[6], B[7], Min, Max);
  EXPECT_EQ(std::tuple(Min, Max), std::tuple(-99.0, 184.0));
  // The order of the sum: the whole array in the documented order (Python
  // loop) gives 15983.71428571429; in storage order it would be ...286.
  EXPECT_EQ(A.Sum(0, 0, 0, 0, 0, 0, 0, 0), 15983.71428571429);

  // Tiles narrower than a cache line and pieces of single positions give the
  // bits of a plain loop in the documented order.
  for (auto [X, Y, Z, T] : {std::tuple(9, 64, 64, 10), std::tuple(2, 1, 1024, 300)}) {
    FillScan(A, X, Y, Z, T);
    double Plain = 0.0;
    ForEachOrdered(A, [&](int32_t C, int32_t R, int32_t L, int32_t U) { Plain += A.Elem(C, R, L, U); });
    EXPECT_EQ(A.Sum(0, 0, 0, 0, 0, 0, 0, 0), Plain) << X << "x" << Y << "x" << Z << "x" << T;
  }

  // Mean and variance: fewer than 3 cells give 1.0; values far from 0 keep
  // their digits: NIST StRD NumAcc4 (1001 values, certified sd 0.1), whose
  // doubles have the variance 0.00999999284744391 (Python fractions, exact).
  A.Resize(7, 11, 13, 1);
  A.Fill(1000000000.1);
  int64_t K = 0;
  ForEachOrdered(A, [&](int32_t C, int32_t R, int32_t L, int32_t U) {
    A.SetVal(C, R, L, U, K == 0 ? 1000000000.2 : K % 2 == 0 ? 1000000000.3 : 1000000000.1);
    ++K;
  });
  A.MeanVar(0, 0, 0, 0, 0, 0, 0, 0, Mean, Var);
  EXPECT_NEAR(Var, 0.00999999284744391, 1e-15);
  EXPECT_NEAR(Mean, 1000000000.2, 1e-6);
  A.Resize(3, 1, 1, 1);
  for (auto [V, WantMean, WantVar] : {std::tuple(std::vector<double>{1, 3}, 2.0, 1.0),
                                       std::tuple(std::vector<double>{1, 2, 6}, 3.0, 7.0),
                                       std::tuple(std::vector<double>{5}, 5.0, 1.0)}) {
    for (std::size_t I = 0; I < V.size(); ++I) A.SetVal(static_cast<int32_t>(I) + 1, 1, 1, 1, V[I]);
    A.MeanVar(1, static_cast<int32_t>(V.size()), 0, 0, 0, 0, 0, 0, Mean, Var);
    EXPECT_EQ(std::tuple(Mean, Var), std::tuple(WantMean, WantVar));
  }
}

TEST(Mat4DStats, PercentileIsTheNearestRankWhateverTheSamplesShow) {
  TMat4D A(nullptr);
  A.SetName("P4");
  FillScan(A, 6, 5, 4, 3);
  // The block of BlockStatisticsAgainstNumPy: np.partition(v, k)[k] with
  // k = min(round(96 p / 100), 95).
  for (auto [P, Want] : {std::tuple(0.0, -99.0), std::tuple(-3.0, -99.0), std::tuple(25.0, -32.57142857142857),
                         std::tuple(50.0, 47.14285714285714), std::tuple(90.0, 156.42857142857144),
                         std::tuple(100.0, 184.0), std::tuple(250.0, 184.0)}) {
    EXPECT_EQ(A.Percentile(P, 5, 2, -3, 4, 2, 9, 2, 1), Want) << P;
    EXPECT_EQ(A.Percentile(P, 5, 2, -3, 4, 2, 9, 2, 1, 96), Want) << P;  // the whole block
  }
  // The candidate of the 15 samples answers only where the wanted position
  // falls among its copies: the smallest of 15 samples of distinct values is
  // rarely the minimum, and a block half 1, half 5 gives 1 for 25 %.
  A.Resize(10, 10, 10, 1);
  for (int32_t Seed = 1; Seed <= 20; ++Seed) {
    SetRandSeed(Seed);
    A.FillRandomUniform(0.0, 1.0);
    double Min, Max;
    A.MinMax(0, 0, 0, 0, 0, 0, 0, 0, Min, Max);
    EXPECT_EQ(A.Percentile(0, 0, 0, 0, 0, 0, 0, 0, 0), Min) << Seed;
    A.Fill(5.0);
    A.FillLayer(3, 1.0);
    for (int32_t L = 4; L <= 7; ++L) A.FillLayer(L, 1.0);
    EXPECT_EQ(A.Percentile(25, 0, 0, 0, 0, 0, 0, 0, 0), 1.0) << Seed;
    EXPECT_EQ(A.Percentile(70, 0, 0, 0, 0, 0, 0, 0, 0), 5.0) << Seed;
  }
  // 1 to 10 (positions 9 and 5); NaN sorts last; a block of 90 % zeros.
  A.Resize(10, 1, 1, 1);
  for (int32_t C = 1; C <= 10; ++C) A.SetVal(11 - C, 1, 1, 1, C);
  EXPECT_EQ(std::tuple(A.Percentile(100, 0, 0, 0, 0, 0, 0, 0, 0), A.Percentile(50, 0, 0, 0, 0, 0, 0, 0, 0)),
            std::tuple(10.0, 6.0));
  A.SetVal(5, 1, 1, 1, NaN);
  EXPECT_TRUE(std::isnan(A.Percentile(100, 0, 0, 0, 0, 0, 0, 0, 0)));
  EXPECT_EQ(A.Percentile(85, 0, 0, 0, 0, 0, 0, 0, 0), 10.0);
  A.Fill(0.0);
  A.SetVal(2, 1, 1, 1, 3.0);
  EXPECT_EQ(std::tuple(A.Percentile(50, 0, 0, 0, 0, 0, 0, 0, 0), A.Percentile(100, 0, 0, 0, 0, 0, 0, 0, 0)),
            std::tuple(0.0, 3.0));
  // Sampled: a negative sample size is the memory error, nothing allocated.
  A.Fill(2.5);
  EXPECT_EQ(A.Percentile(50, 0, 0, 0, 0, 0, 0, 0, 0, 3), 2.5);
  test::ExpectRaises<EORVMatrixError>([&] { A.Percentile(50, 0, 0, 0, 0, 0, 0, 0, 0, -1); },
                                      "Component \"P4\": not enough memory on heap");
}

TEST(Mat4DStats, ExtremesCountsAndProgress) {
  TMat4D A(nullptr);
  FillNamed4D(A, 20, 10, 2, 2);
  A.SetVal(4, 4, 1, 1, NaN);
  A.SetVal(5, 4, 1, 1, Inf);
  A.SetVal(6, 4, 1, 1, -Inf);
  // bounds, expected minimum and maximum, count of [1000, 2000]
  const struct {
    int32_t B[8];
    double Min, Max;
    int32_t Count;
  } Rows[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0}, -Inf, Inf, 36},
      {{4, 4, 4, 4, 1, 1, 1, 1}, uc_MaxReal, -uc_MaxReal, 0},  // only NaN: the start values
      {{5, 5, 4, 4, 1, 1, 1, 1}, Inf, Inf, 0},                 // infinite cells are reported
      {{6, 6, 4, 4, 1, 1, 1, 1}, -Inf, -Inf, 0},
      {{2, 1, 2, 2, 1, 2, 2, 2}, 1212, 2222, 2},
  };
  for (const auto& R : Rows) {
    double Min = 0, Max = 0;
    A.MinMax(R.B[0], R.B[1], R.B[2], R.B[3], R.B[4], R.B[5], R.B[6], R.B[7], Min, Max);
    EXPECT_EQ(std::tuple(Min, Max), std::tuple(R.Min, R.Max)) << R.B[0] << " " << R.B[2];
    EXPECT_EQ(A.CountValues(R.B[0], R.B[1], R.B[2], R.B[3], R.B[4], R.B[5], R.B[6], R.B[7], 1000, 2000), R.Count);
  }
  // 200 positions, step 3: 66 passes for each statistic with progress.
  test::TPassCounter Passes;
  double M, V;
  A.MinMax(0, 0, 0, 0, 0, 0, 0, 0, M, V);
  A.MeanVar(0, 0, 0, 0, 0, 0, 0, 0, M, V);
  A.Sum(0, 0, 0, 0, 0, 0, 0, 0);
  A.SquaredSum(0, 0, 0, 0, 1, 1, 2, 2);
  EXPECT_EQ(Passes.Passes(), 4 * 66.0);
  EXPECT_EQ(Passes.Seen.size(), 4 * 66u);
  int32_t C, R, L, T;
  A.Find(0, 0, 0, 0, 0, 0, 0, 0, 0.0, C, R, L, T);
  A.CountValues(0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
  EXPECT_EQ(Passes.Passes(), 4 * 66.0);
}

TEST(Mat4DStats, CRCofDataSamplesLayersAndReportsPercent) {
  TMat4D A(nullptr);
  // zlib.crc32 of byte k of struct.pack('<d', v) over the cells in the order
  // column, row, layer, time slot, k = 0..7, each printed '%08X'.
  EXPECT_EQ(A.CRCofData(), "D202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8DD202EF8D");
  FillNamed4D(A, 2, 2, 6, 2);
  std::vector<int32_t> Percent;
  A.OnPercentDone = [&](TObject*, int32_t P) { Percent.push_back(P); };
  // Sample, the layers used, the checksum
  const struct {
    int32_t Sample;
    std::string Crc;
  } Rows[] = {
      {1, "F288B395F288B395F288B395F288B395F288B3953E935CDE7BEEA86C7A648744"},   // layers 1..6
      {-4, "F288B395F288B395F288B395F288B395F288B3953E935CDE7BEEA86C7A648744"},
      {10, "ECBB4B55ECBB4B55ECBB4B55ECBB4B55ECBB4B55963AE0DD06C4FBC4051F34E9"},  // 6 div 2: layers 3, 6
      {2, "A3C1CA20A3C1CA20A3C1CA20A3C1CA20A3C1CA20C5E433B38BB0E4B3C8E76185"},   // layers 2, 4, 6
  };
  for (const auto& R : Rows) EXPECT_EQ(A.CRCofData(R.Sample), R.Crc) << R.Sample;
  EXPECT_EQ(A.CRCofData(), Rows[0].Crc);
  EXPECT_EQ(Percent.size(), 5 * 4u);  // 4 positions, step 1
  EXPECT_EQ(std::vector<int32_t>(Percent.begin(), Percent.begin() + 4), (std::vector<int32_t>{25, 50, 75, 100}));
}

}  // namespace
