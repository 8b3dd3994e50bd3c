// Nearest neighbours and estimation by k nearest neighbours against
// scikit-learn, SciPy's cKDTree and numpy.linalg.lstsq.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/ranked_list.h"
#include "orvcalckit/ORV_math2.h"
#include "orvcorekit/Orv_univconst.h"
#include "support/components.h"
#include "support/splitmix.h"

namespace orv {
namespace {

// D: 200 x 3 from SplitMixValues(7, 600); targets 10 x SplitMixValues(8, 200);
// the sample (0.3, 0.6, 0.5).
struct TKnnData {
  TMatrix D{nullptr};
  TVector T{nullptr}, S{nullptr};
  TKnnData() {
    test::FillSplitMix(D, 7, 200, 3);
    std::vector<double> V = test::SplitMixValues(8, 200);
    for (double& X : V) X *= 10;
    test::FillValues(T, V);
    test::FillValues(S, {0.3, 0.6, 0.5});
  }
};

TEST(EstimateByKNN, MatchesScikitLearnAndLstsq) {
  // KNeighborsRegressor(n_neighbors=k, algorithm='brute').fit(D, t).predict([s])
  // with weights 'uniform', and callables exp(-(P d / m)^2) and
  // max(1 - d / m / P, 0) (m = d.mean(axis=1)), P = 1.5; the median and the
  // mean distance of cKDTree(D).query(s, k); kwmBiQuad: the design
  // [1, x, x^2, x_i x_j] of the k neighbours, numpy.linalg.lstsq (the
  // minimum-norm solution for k = 5 < 10 terms), evaluated at s.
  const struct {
    TKnnWMode Mode;
    int32_t K;
    double Want, Tol;
  } Rows[] = {
      {kwmAverage, 10, 5.3492874090504872, 1e-14}, {kwmGauss, 10, 5.2089949412547378, 1e-14},
      {kwmLinear, 10, 5.2601521833489233, 1e-14},  {kwmMedian, 10, 6.2265684459870823, 1e-14},
      {kwmBiQuad, 30, 3.7054819038802851, 1e-10},  {kwmBiQuad, 5, 2.6959405826591372, 1e-10},
      {kwmAverage, 150, 5.4103140243948609, 1e-14},  // k taken as 100
  };
  TKnnData X;
  for (const auto& R : Rows) {
    double Est = -1, Mean = -1;
    EstimateByKNN(&X.D, &X.T, R.K, R.Mode, 1.5, &X.S, Est, Mean);
    EXPECT_NEAR(Est, R.Want, R.Tol * std::abs(R.Want)) << "mode " << int(R.Mode) << ", k " << R.K;
    if (R.K == 10 || R.K == 150) {
      EXPECT_NEAR(Mean, R.K == 10 ? 0.16327705618283361 : 0.37065365050450105, 1e-15);
    }
  }
  // k < 1: 0 and 0. A tiny parameter leaves no positive linear weight, a
  // huge one no Gauss weight above 0: 0 (not 0 / 0).
  for (const auto& [K, Mode, P] : {std::tuple{0, kwmAverage, 1.0}, std::tuple{-3, kwmGauss, 1.0},
                                   std::tuple{10, kwmLinear, 1e-9}, std::tuple{10, kwmGauss, 1e300}}) {
    double Est = -1, Mean = -1;
    EstimateByKNN(&X.D, &X.T, K, Mode, P, &X.S, Est, Mean);
    EXPECT_EQ(Est, 0.0) << K;
    if (K < 1) {
      EXPECT_EQ(Mean, 0.0);
    }
  }
}

TEST(EstimateByKNN, NeighboursAtDistanceZeroAndExactQuadratic) {
  // The sample equals the three rows: m = 0, every weight 1 (Gauss, linear).
  TMatrix D(nullptr);
  TVector T(nullptr), S(nullptr);
  test::FillRows(D, {{1, 1}, {1, 1}, {5, 5}, {1, 1}});
  test::FillValues(T, {2, 4, 100, 9});
  test::FillValues(S, {1, 1});
  for (const TKnnWMode Mode : {kwmGauss, kwmLinear, kwmAverage}) {
    double Est = -1, Mean = -1;
    EstimateByKNN(&D, &T, 3, Mode, 2.0, &S, Est, Mean);
    EXPECT_DOUBLE_EQ(Est, 5.0) << int(Mode);
    EXPECT_EQ(Mean, 0.0);
  }
  // y = 1 + 2 x1 - x2 + 0.5 x1^2 + 3 x1 x2 on 8 points: reproduced at (0.5, -1).
  const double Pts[8][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}, {-1, 1}, {2, -1}};
  const auto Y = [](double A, double B) { return 1 + 2 * A - B + 0.5 * A * A + 3 * A * B; };
  D.Resize(2, 8);
  T.Resize(8);
  for (int32_t I = 0; I < 8; ++I) {
    D.SetVal(1, I + 1, Pts[I][0]);
    D.SetVal(2, I + 1, Pts[I][1]);
    T.SetVal(I + 1, Y(Pts[I][0], Pts[I][1]));
  }
  test::FillValues(S, {0.5, -1});
  double Est = 0, Mean = 0;
  EstimateByKNN(&D, &T, 8, kwmBiQuad, 0, &S, Est, Mean);
  EXPECT_NEAR(Est, Y(0.5, -1), 1e-12);
}

TEST(FindNearestNeighbors, RanksRowsAndClampsRange) {
  // cKDTree(D).query(s, 10): rows 12 104 81 20 196 105 38 73 22 111.
  TKnnData X;
  TMatrix N(nullptr);
  N.Resize(2, 10);
  const std::vector<double> Want = {12, 104, 81, 20, 196, 105, 38, 73, 22, 111};
  // Rows beyond the matrix are clamped into it, a reversed range exchanged.
  for (const auto& [Lo, Hi] : {std::pair{1, 200}, std::pair{-5, 1000}, std::pair{200, 0}}) {
    N.Fill(0);
    FindNearestNeighbors(10, &X.D, Lo, Hi, &X.S, &N, nullptr);
    EXPECT_EQ(test::Column(N, 1), Want) << Lo << ' ' << Hi;
  }
  // k = 150 is taken as 100: the 100th row written, no more.
  N.Resize(2, 150);
  N.Fill(-1);
  FindNearestNeighbors(150, &X.D, 1, 200, &X.S, &N, nullptr);
  EXPECT_GT(N.GetVal(1, 100), 0.0);
  EXPECT_EQ(N.GetVal(1, 101), -1.0);
  // Equal distances: the later row first, also at the list's last place.
  TMatrix Same(nullptr);
  Same.Resize(2, 150);
  Same.Fill(3);
  for (int32_t R = 1; R <= 150; ++R) Same.SetVal(2, R, 4);
  TVector Origin(nullptr);
  test::FillValues(Origin, {0, 0});
  N.Resize(2, 3);
  FindNearestNeighbors(3, &Same, 1, 150, &Origin, &N, nullptr);
  EXPECT_EQ(test::AllRows(N), (std::vector<std::vector<double>>{{150, 5}, {149, 5}, {148, 5}}));
  // A distance function ranks by its values; a range shorter than k leaves (0, uc_MaxReal).
  N.Resize(2, 3);
  FindNearestNeighbors(3, &X.D, 4, 5, nullptr, &N, [](int32_t Row) { return 10.0 - Row; });
  EXPECT_EQ(test::AllRows(N), (std::vector<std::vector<double>>{{5, 5}, {4, 6}, {0, uc_MaxReal}}));
}

TEST(MeanDistanceKNN, MatchesKDTree) {
  // d, _ = cKDTree(D[:40]).query(D[:40], 4); d.mean(axis=1) (the row itself at 0 included).
  const double Want[8] = {0.21898676699804978, 0.18901991326592821, 0.19326945822302599, 0.18897431820650337,
                          0.1971472972765414,  0.17391043780722992, 0.14492964879556552, 0.22958626368438695};
  TKnnData X;
  TVector M(nullptr);
  M.Resize(40);
  MeanDistanceKNN(&X.D, 4, 1, 40, &M);
  double Sum = 0.0;
  for (int32_t I = 1; I <= 40; ++I) Sum += M.GetVal(I);
  for (int32_t I = 0; I < 8; ++I) EXPECT_NEAR(M.GetVal(I + 1), Want[I], 1e-15) << I;
  EXPECT_NEAR(Sum, 7.5688202358373182, 1e-13);
  // k = 1: the object's own distance, 0. k beyond the rows of the range
  // (3 rows, k 10): the mean over those 3, never the list's empty places.
  MeanDistanceKNN(&X.D, 1, 1, 40, &M);
  EXPECT_EQ(M.GetVal(7), 0.0);
  TMatrix D(nullptr);
  test::FillRows(D, {{0}, {3}, {4}, {100}});
  M.Fill(-1);
  MeanDistanceKNN(&D, 10, 3, 1, &M);
  EXPECT_EQ(test::Values(M)[0], (0.0 + 3 + 4) / 3);
  EXPECT_EQ(test::Values(M)[2], (0.0 + 1 + 4) / 3);
  EXPECT_EQ(test::Values(M)[3], -1.0);
}

// The plain scan the blocked one must give to the bit: every row of Lo..Hi
// into a ranked list of Cap entries, its terms in column order from 0.0,
// Beyond (the sample's elements past the columns) squared after them.
detail::TRankedList PlainScan(const TMatrix& D, int32_t Lo, int32_t Hi, const std::vector<double>& S, int32_t Cap) {
  detail::TRankedList L(Cap);
  for (int32_t R = Lo; R <= Hi; ++R) {
    double Sum = 0.0;
    for (int32_t V = 1; V <= static_cast<int32_t>(S.size()); ++V) {
      const double Dv = S[V - 1] - (V <= D.NrOfColumns() ? D.GetVal(V, R) : 0.0);
      Sum += Dv * Dv;
    }
    L.Insert(std::sqrt(Sum), R);
  }
  return L;
}

TEST(FindNearestNeighbors, BlockedScanMatchesThePlainOneBitForBit) {
  // 3000 x 4 rows with three copies of row 7 (ties: the later row first), a
  // NaN and an infinite cell; the sample is row 7 and one element more.
  TMatrix D(nullptr), N(nullptr);
  test::FillSplitMix(D, 11, 3000, 4);
  for (const int32_t R : {500, 1700, 2999})
    for (int32_t V = 1; V <= 4; ++V) D.SetVal(V, R, D.GetVal(V, 7));
  D.SetVal(2, 100, std::nan(""));
  D.SetVal(3, 200, HUGE_VAL);
  std::vector<double> S;
  for (int32_t V = 1; V <= 4; ++V) S.push_back(D.GetVal(V, 7) + 1e-3 * V);
  S.push_back(0.1);
  TVector Sample(nullptr);
  test::FillValues(Sample, S);
  N.Resize(2, 100);
  for (const auto& [Lo, Hi] : {std::pair{1, 3000}, std::pair{17, 2500}}) {
    FindNearestNeighbors(100, &D, Lo, Hi, &Sample, &N, nullptr);
    const detail::TRankedList L = PlainScan(D, Lo, Hi, S, 101);
    for (int32_t R = 0; R < 100; ++R) {
      ASSERT_EQ(N.GetVal(1, R + 1), L.Obj(R)) << Lo << ' ' << R;
      ASSERT_EQ(std::bit_cast<uint64_t>(N.GetVal(2, R + 1)), std::bit_cast<uint64_t>(L.Dist(R))) << Lo << ' ' << R;
    }
    EXPECT_EQ(N.GetVal(1, 1), Hi == 3000 ? 2999 : 1700);
  }
  // Every object against every other of rows 401..1000, 50 nearest.
  TVector M(nullptr);
  M.Resize(1000);
  MeanDistanceKNN(&D, 50, 401, 1000, &M);
  for (int32_t I = 401; I <= 1000; I += 7) {
    std::vector<double> Row;
    for (int32_t V = 1; V <= 4; ++V) Row.push_back(D.GetVal(V, I));
    const detail::TRankedList L = PlainScan(D, 401, 1000, Row, 51);
    double Sum = 0.0;
    for (int32_t R = 0; R < 50; ++R) Sum += L.Dist(R);
    ASSERT_EQ(std::bit_cast<uint64_t>(M.GetVal(I)), std::bit_cast<uint64_t>(Sum / 50)) << I;
  }
}

}  // namespace
}  // namespace orv
