// TMemBasedLearner: distances, the four local models, the neighbours of the
// model objects and their contingency table.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/ranked_list.h"
#include "orvcalckit/ORV_membl.h"
#include "support/iris.h"

namespace {

using namespace orv;

// Iris: columns 1-3 independent, petal width (4) the target, species (5) ignored.
void LoadIris(TMemBasedLearner& L) {
  TDataTable& T = *L.ModelData;
  T.Resize(5, test::IrisRows);
  for (int R = 0; R < test::IrisRows; ++R)
    for (int C = 0; C < 5; ++C) T.SetElem(C + 1, R + 1, test::Iris[R][C]);
  L.SetAllVars(mblVarIndep);
  L.SetVarType(4, mblVarTarget);
  L.SetVarType(5, mblVarIgnore);
}

// One column of positions (independent) and one of targets.
void LoadLine(TMemBasedLearner& L, const std::vector<double>& X, const std::vector<double>& Y) {
  TDataTable& T = *L.ModelData;
  T.Resize(2, static_cast<int32_t>(X.size()));
  for (size_t I = 0; I < X.size(); ++I) {
    T.SetElem(1, static_cast<int32_t>(I + 1), X[I]);
    T.SetElem(2, static_cast<int32_t>(I + 1), Y[I]);
  }
  L.SetVarType(1, mblVarIndep);
  L.SetVarType(2, mblVarTarget);
}

TEST(MemBasedLearner, IrisPredictionsMatchNumPy) {
  // Reference: NumPy on the same table (independent columns 1-3): the k
  // nearest by distance, ties to the higher row number (np.lexsort); mean;
  // Gauss weights with sigma = std(all distances, ddof=1); np.linalg.lstsq
  // on [X, 1]; standardised by the column means and std(ddof=1).
  struct Row {
    int Query;  // the excluded row whose values are the query; 0: (6.0, 3.0, 4.5)
    TMBLLocalModel Model;
    TMBLScalingMode Scaling;
    TMBLDistMode Dist;
    int K;
    double Want;
  };
  const Row Rows[] = {
      {1, mblLMAverage, mblUnscaled, mblDistEuclid, 5, 0.24},
      {1, mblLMWgtGauss, mblUnscaled, mblDistEuclid, 10, 0.2499007542278159},
      {1, mblLMRegress, mblUnscaled, mblDistEuclid, 10, 0.21436972641268226},
      {1, mblLMAverage, mblStandardized, mblDistEuclid, 7, 0.2857142857142857},
      {60, mblLMAverage, mblUnscaled, mblDistEuclid, 5, 1.16},
      {60, mblLMWgtGauss, mblUnscaled, mblDistMahalanobis, 10, 1.2173077135149828},
      {60, mblLMRegress, mblUnscaled, mblDistEuclid, 10, 1.2076336443062305},
      {60, mblLMAverage, mblStandardized, mblDistEuclid, 7, 1.2714285714285711},
      {60, mblLMAverage, mblUnscaled, mblDistManhattan, 5, 1.2},
      {120, mblLMWgtGauss, mblUnscaled, mblDistEuclid, 10, 1.8258302214689495},
      {120, mblLMRegress, mblUnscaled, mblDistEuclid, 10, 1.6435533203325559},
      {120, mblLMAverage, mblStandardized, mblDistEuclid, 7, 1.5},
      {0, mblLMAverage, mblUnscaled, mblDistEuclid, 5, 1.46},
      {0, mblLMWgtGauss, mblUnscaled, mblDistEuclid, 10, 1.4783174869831277},
      {0, mblLMRegress, mblUnscaled, mblDistEuclid, 10, 1.466052415031295},
      {0, mblLMAverage, mblStandardized, mblDistEuclid, 7, 1.5285714285714287},
      {0, mblLMAverage, mblUnscaled, mblDistManhattan, 5, 1.56},
  };
  TMemBasedLearner L;
  LoadIris(L);
  for (const Row& R : Rows) {
    L.SetLocalModel(R.Model);
    L.SetScalingMode(R.Scaling);
    L.SetDistMode(R.Dist);
    L.SetNumNearestNb(R.K);
    TDoubleArray S = R.Query ? TDoubleArray(test::Iris[R.Query - 1].begin(), test::Iris[R.Query - 1].end())
                             : TDoubleArray{6.0, 3.0, 4.5, 0.0, 0.0};
    S[3] = -7.0;
    const TDoubleArray Was = S;
    EXPECT_EQ(L.ApplyModel(S, R.Query, 0), 0) << "row " << R.Query << " model " << int(R.Model);
    EXPECT_NEAR(S[3], R.Want, 1e-12) << "row " << R.Query << " model " << int(R.Model) << " k " << R.K;
    for (int C : {0, 1, 2, 4}) EXPECT_EQ(S[C], Was[C]);  // only targets change
  }
}

TEST(MemBasedLearner, NeighbourListAndResultCodes) {
  TMemBasedLearner L;
  LoadLine(L, {0, 1, 2}, {1, 2, 6});
  int Events = 0, LastErr = 99;
  TIntArray Objs;
  TDoubleArray Dists;
  L.OnModelApplied = [&](TObject*, int32_t Tag, const TIntArray& N, const TDoubleArray& D, int32_t E) {
    ++Events;
    LastErr = E;
    Objs = N;
    Dists = D;
    EXPECT_EQ(Tag, 42);
  };
  // k = N: -2, Sensor cleared, event with -2 and the full list.
  L.SetNumNearestNb(3);
  TDoubleArray S{1.0, 5.0};
  EXPECT_EQ(L.ApplyModel(S, 0, 42), -2);
  EXPECT_EQ(S, (TDoubleArray{0.0, 0.0}));
  EXPECT_EQ(Events, 1);
  EXPECT_EQ(LastErr, -2);
  ASSERT_EQ(Objs.size(), 100u);
  EXPECT_EQ(Objs[0], 2);
  EXPECT_EQ(Objs[1], 3);  // 3 and 1 both at 1: the later first
  EXPECT_EQ(Objs[2], 1);
  EXPECT_EQ(Objs[3], 0);
  EXPECT_EQ(Dists[3], 1.7976931348623157e308);
  // Wrong length: -3 without the event.
  TDoubleArray Short{1.0};
  EXPECT_EQ(L.ApplyModel(Short, 0, 42), -3);
  EXPECT_EQ(Events, 1);
  // Mean of targets 1, 2, 6 is 3 (k = 3 of four objects).
  LoadLine(L, {0, 1, 2, 50}, {1, 2, 6, 100});
  L.SetNumNearestNb(3);
  S = {1.0, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 0, 42), 0);
  EXPECT_DOUBLE_EQ(S[1], 3.0);
  // Leave one out: object 2 never listed.
  S = {1.0, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 2, 42), 0);
  EXPECT_EQ(std::count(Objs.begin(), Objs.end(), 2), 0);
  EXPECT_DOUBLE_EQ(S[1], (1.0 + 6.0 + 100.0) / 3.0);
  // Mahalanobis is the Euclidean distance here.
  TDoubleArray Q{0.3, 0.0};
  L.SetDistMode(mblDistEuclid);
  const double E = L.CalcDist(Q, 3);
  L.SetDistMode(mblDistMahalanobis);
  EXPECT_EQ(L.CalcDist(Q, 3), E);
  EXPECT_DOUBLE_EQ(E, 1.7);
  EXPECT_EQ(L.CalcDist(TDoubleArray{0.3}, 3), -1.0);
}

TEST(MemBasedLearner, BlockedDistancesMatchCalcDist) {
  // 300 objects: a plain, a nominal and an ordinal column (halves among the
  // stored values, read rounded to even) and the target. The list the
  // blocked scan gives ApplyModel must be the plain ranking of CalcDist's
  // cell-by-cell distances, to the bit, for both metrics and both scalings.
  TMemBasedLearner L;
  TDataTable& T = *L.ModelData;
  T.Resize(4, 300);
  for (int R = 1; R <= 300; ++R) {
    T.SetElem(1, R, std::sin(R * 0.37) * 4);
    T.SetElem(2, R, (R % 9) * 0.5);
    T.SetElem(3, R, std::floor(std::cos(R * 1.1) * 6) / 2);
    T.SetElem(4, R, R);
  }
  T.SetMScaleType(2, stNominal);
  T.SetMScaleType(3, stOrdinal);
  L.SetAllVars(mblVarIndep);
  L.SetVarType(4, mblVarTarget);
  L.SetNumNearestNb(5);
  TIntArray Objs;
  TDoubleArray Dists;
  L.OnModelApplied = [&](TObject*, int32_t, const TIntArray& N, const TDoubleArray& D, int32_t) {
    Objs = N;
    Dists = D;
  };
  for (const TMBLDistMode Mode : {mblDistEuclid, mblDistManhattan})
    for (const TMBLScalingMode Scaling : {mblUnscaled, mblStandardized}) {
      L.SetDistMode(Mode);
      L.SetScalingMode(Scaling);
      const TDoubleArray Q{0.3, 2.5, -1.0, 0.0};
      TDoubleArray S = Q;
      L.ApplyModel(S, 0, 0);
      detail::TRankedList Plain(100);
      for (int32_t Obj = 1; Obj <= 300; ++Obj) Plain.Insert(L.CalcDist(Q, Obj), Obj);
      ASSERT_EQ(Objs.size(), 100u);
      for (int32_t R = 0; R < 100; ++R) {
        ASSERT_EQ(Objs[R], Plain.Obj(R)) << int(Mode) << ' ' << int(Scaling) << ' ' << R;
        ASSERT_EQ(std::bit_cast<uint64_t>(Dists[R]), std::bit_cast<uint64_t>(Plain.Dist(R))) << R;
      }
    }
}

TEST(MemBasedLearner, SettingsAndVariableRoles) {
  TMemBasedLearner L;
  EXPECT_EQ(L.ModelName(), "undefined");
  EXPECT_EQ(L.NumNearestNb(), 3);
  L.ModelData->Resize(4, 40);
  L.SetNumNearestNb(500);
  EXPECT_EQ(L.NumNearestNb(), 40);
  L.SetNumNearestNb(0);
  EXPECT_EQ(L.NumNearestNb(), 1);
  L.ModelData->Resize(4, 400);
  L.SetNumNearestNb(500);
  EXPECT_EQ(L.NumNearestNb(), 100);
  L.SetAllVars(mblVarIndep);
  L.SetVarType(2, mblVarTarget);
  L.SetVarType(9, mblVarTarget);  // outside: ignored
  EXPECT_EQ(L.CountIndependentVars(), 3);
  EXPECT_EQ(L.CountTargetVars(), 1);
  EXPECT_EQ(L.VarType(2), mblVarTarget);
  EXPECT_EQ(L.VarType(0), mblVarIgnore);
  EXPECT_EQ(MBLLocalModelText(mblLMWgtGauss), "Weighted Average");
  EXPECT_EQ(MBLxmlTagName(TMBLxmlTags::xmlNumNNb), "numnnb");
  EXPECT_EQ(MBLxmlTagName(TMBLxmlTags::xmlInvalid), "$invalidtag$");
}

TEST(MemBasedLearner, LocalModelLimitsAndDegenerateCases) {
  TMemBasedLearner L;
  // Majority: targets 1.0, 1.1, 5.0 of the three nearest, column deviation
  // about 1.8: counts 2, 2, 1, the nearest of the tie wins.
  LoadLine(L, {0, 1, 2, 9}, {1.0, 1.1, 5.0, 3.0});
  L.SetNumNearestNb(3);
  L.SetLocalModel(mblLMMajority);
  TDoubleArray S{0.0, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 0, 0), 0);
  EXPECT_EQ(S[1], 1.0);

  // Gauss with sigma 0 (two distances): the mean of the nearest targets.
  L.SetLocalModel(mblLMWgtGauss);
  LoadLine(L, {0, 1, 1}, {10, 20, 30});
  L.SetNumNearestNb(2);
  S = {1.0, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 1, 0), 0);
  EXPECT_DOUBLE_EQ(S[1], 25.0);
  // Every weight underflows (neighbours a million sigmas away): the limit.
  std::vector<double> X, Y;
  for (int I = 0; I < 200; ++I) {
    X.push_back(1e6 + I * 1e-3);
    Y.push_back(I);
  }
  LoadLine(L, X, Y);
  L.SetNumNearestNb(5);
  S = {0.0, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 0, 0), 0);
  EXPECT_EQ(S[1], 0.0);  // object 1 alone is nearest

  // Local regression with fewer neighbours than coefficients: the
  // minimum-norm solution (numpy.linalg.pinv: 3.3808) and -1.
  TDataTable& T = *L.ModelData;
  T.Resize(4, 3);
  const double M[3][4] = {{1.0, 2.0, 0.5, 3.0}, {2.0, 0.0, 1.5, 5.0}, {9.0, 9.0, 9.0, 7.0}};
  for (int R = 0; R < 3; ++R)
    for (int C = 0; C < 4; ++C) T.SetElem(C + 1, R + 1, M[R][C]);
  L.SetAllVars(mblVarIndep);
  L.SetVarType(4, mblVarTarget);
  L.SetNumNearestNb(2);
  L.SetLocalModel(mblLMRegress);
  S = {1.2, 1.5, 0.7, 0.0};
  EXPECT_EQ(L.ApplyModel(S, 0, 0), -1);
  EXPECT_NEAR(S[3], 3.3808000000000016, 1e-12);
}

TEST(MemBasedLearner, StoredKAboveTheListIsClamped) {
  TMemBasedLearner A, B;
  std::vector<double> X, Y;
  for (int I = 0; I < 300; ++I) {
    X.push_back(I * 0.37 - std::floor(I * 0.37));
    Y.push_back(I % 7);
  }
  LoadLine(A, X, Y);
  LoadLine(B, X, Y);
  ASSERT_EQ(A.ProcessXmlTag(TMBLxmlTags::xmlNumNNb, "", "250"), 0);
  EXPECT_EQ(A.NumNearestNb(), 250);
  B.SetNumNearestNb(100);
  for (auto Model : {mblLMAverage, mblLMWgtGauss, mblLMMajority, mblLMRegress}) {
    A.SetLocalModel(Model);
    B.SetLocalModel(Model);
    TDoubleArray SA{0.5, 0.0}, SB{0.5, 0.0};
    EXPECT_EQ(A.ApplyModel(SA, 0, 0), B.ApplyModel(SB, 0, 0));
    EXPECT_EQ(SA[1], SB[1]) << int(Model);
  }
}

TEST(MemBasedLearner, NeighboursOfTheModelObjects) {
  TMemBasedLearner L;
  LoadLine(L, {0, 1, 3}, {0, 0, 0});
  EXPECT_EQ(L.kNNOfModelData(1, 1), -1);  // before any computation
  EXPECT_EQ(L.kNNDistOfModelData(1, 1), -1.0);
  L.CalcNNOfModelData();
  // (position, object) -> neighbour, distance
  const struct { int K, Obj, Want; double Dist; } Rows[] = {
      {1, 1, 1, 0.0}, {2, 1, 2, 1.0}, {3, 1, 3, 3.0}, {4, 1, 0, 1.7976931348623157e308},
      {1, 3, 3, 0.0}, {2, 3, 2, 2.0}, {100, 2, 0, 1.7976931348623157e308},
      {0, 1, -1, -1.0}, {101, 1, -1, -1.0}, {1, 4, -1, -1.0}};
  for (const auto& R : Rows) {
    EXPECT_EQ(L.kNNOfModelData(R.K, R.Obj), R.Want) << R.K << "," << R.Obj;
    EXPECT_EQ(L.kNNDistOfModelData(R.K, R.Obj), R.Dist) << R.K << "," << R.Obj;
  }
  L.ModelData->Resize(2, 5);  // grown: the new objects have no neighbours yet
  EXPECT_EQ(L.kNNOfModelData(1, 4), -1);
  EXPECT_EQ(L.kNNOfModelData(2, 3), 2);
}

TEST(MemBasedLearner, ContingencyTableOfNeighbours) {
  TMemBasedLearner L;
  // Positions 0, 1, 10, 11, 20, 21 with categories 3, 3, 4, 4, 5, 5 (nominal).
  LoadLine(L, {0, 1, 10, 11, 20, 21}, {3, 3, 4, 4, 5, 5});
  TDataTable& T = *L.ModelData;
  T.SetMScaleType(2, stNominal);
  TInt2DArray Tab;
  ASSERT_EQ(L.CalcContingencyTable(2, 1, Tab), 0);
  ASSERT_EQ(Tab.size(), 4u);
  const TInt2DArray Want = {{2, 0, 0, 2}, {0, 2, 0, 2}, {0, 0, 2, 2}, {2, 2, 2, 6}};
  EXPECT_EQ(Tab, Want);
  ASSERT_EQ(L.CalcContingencyTable(2, 2, Tab), 0);
  EXPECT_EQ(Tab[3][3], 12);  // NumNb x N
  // Results and ContTab untouched on each failure.
  const TInt2DArray Kept = Tab;
  const struct { int Var, NumNb, Want; } Codes[] = {
      {-1, 1, -1}, {3, 1, -1}, {0, 1, -2}, {1, 1, -2}, {2, 0, -5}, {2, 6, -5}, {2, 100, -5}};
  for (const auto& C : Codes) {
    EXPECT_EQ(L.CalcContingencyTable(C.Var, C.NumNb, Tab), C.Want) << C.Var << "," << C.NumNb;
    EXPECT_EQ(Tab, Kept);
  }
  // A cell outside a..b (not numeric, so outside the valid range) is skipped.
  T.SetElem(2, 6, 77);
  T.SetCellState(2, 6, 0x01);
  ASSERT_EQ(L.CalcContingencyTable(2, 1, Tab), 0);
  EXPECT_EQ(Tab[3][3], 4);  // object 6, and object 5's pair with it, are not counted
  const TInt2DArray Last = Tab;
  // No valid cell: -3; a smallest category below 1: -4; too many: -3.
  for (int R = 1; R <= 6; ++R) T.SetCellState(2, R, 0x02);
  EXPECT_EQ(L.CalcContingencyTable(2, 1, Tab), -3);
  for (int R = 1; R <= 6; ++R) T.SetCellState(2, R, 0);
  T.SetElem(2, 1, 0);
  EXPECT_EQ(L.CalcContingencyTable(2, 1, Tab), -4);
  T.SetElem(2, 1, 150);
  EXPECT_EQ(L.CalcContingencyTable(2, 1, Tab), -3);
  EXPECT_EQ(Tab, Last);
}

TEST(MemBasedLearner, StatisticsFollowTheModel) {
  // Standardised distances use the statistics of the model as it is now,
  // after cell writes, a resize and a direct write of NumericData.
  TMemBasedLearner L;
  LoadLine(L, {0, 10, 20}, {0, 0, 0});
  L.SetScalingMode(mblStandardized);
  const TDoubleArray Q{5.0, 0.0};
  EXPECT_DOUBLE_EQ(L.CalcDist(Q, 1), 0.5);  // mean 10, sd 10
  L.ModelData->SetElem(1, 3, 40);           // mean 50/3, sd sqrt(1300/3... )
  const double Sd = std::sqrt(((0 - 50.0 / 3) * (0 - 50.0 / 3) + (10 - 50.0 / 3) * (10 - 50.0 / 3) +
                               (40 - 50.0 / 3) * (40 - 50.0 / 3)) / 2);
  EXPECT_NEAR(L.CalcDist(Q, 1), 5.0 / Sd, 1e-14);
  L.ModelData->Resize(2, 2);  // two rows: variance 1 by MeanVar's rule
  EXPECT_DOUBLE_EQ(L.CalcDist(Q, 1), 5.0);
}

}  // namespace
