// TCFEvaluator: confusion matrix, scores, ROC curve and best thresholds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/iris.h"

namespace orv {
namespace {

// Versicolor (code 2) against virginica (code 3, the positive class) of the
// iris data, petal width as the estimate: 100 objects with many ties.
void LoadIrisPair(TCFEvaluator& Ev) {
  TMatrix M;
  M.Resize(2, 100);
  for (int32_t R = 1; R <= 100; ++R) {
    M.SetVal(1, R, test::Iris[detail::Ix(R + 49)][4]);
    M.SetVal(2, R, test::Iris[detail::Ix(R + 49)][3]);
  }
  ASSERT_EQ(Ev.CopyTrueFromMatrix(1, &M), 0);
  ASSERT_EQ(Ev.CopyEstFromMatrix(2, &M), 0);
}

void Load(TCFEvaluator& Ev, const std::vector<double>& Truth, const std::vector<double>& Est) {
  Ev.SetNData(static_cast<int32_t>(Truth.size()));
  for (int32_t i = 1; i <= Ev.NData(); ++i) {
    Ev.SetTrueData(i, Truth[detail::Ix1(i)]);
    Ev.SetEstimData(i, Est[detail::Ix1(i)]);
  }
}

TEST(CFEvaluator, IrisConfusionMatrixAndScoresAsScikitLearn) {
  TCFEvaluator Ev;
  LoadIrisPair(Ev);
  EXPECT_EQ(Ev.DichoV1(), 2);
  EXPECT_EQ(Ev.DichoV2(), 3);
  // sklearn.metrics 1.2.1 with y = (species == virginica), p = (width - h >= 0):
  // confusion_matrix, recall_score (of both classes), precision_score (of both),
  // jaccard_score, accuracy_score, f1_score, normalized_mutual_info_score
  // (arithmetic), balanced_accuracy_score (adjusted), matthews_corrcoef.
  const struct {
    double H;
    int64_t Tp, Fp, Tn, Fn;
    double TpR, FnR, TnR, FpR, Prec, Npv, Threat, Acc, F1, Unc, Inf, Mcc;
  } Rows[] = {
      {1.7, 46, 2, 48, 4, 0.92, 0.08, 0.96, 0.04, 0.9583333333333334, 0.9230769230769231, 0.8846153846153846, 0.94,
       0.9387755102040817, 0.6770006327837449, 0.88, 0.8807048459279792},
      {1.75, 45, 1, 49, 5, 0.9, 0.1, 0.98, 0.02, 0.9782608695652174, 0.9074074074074074, 0.8823529411764706, 0.94,
       0.9375, 0.6917588737329796, 0.88, 0.8828295892956407},
      {1.45, 49, 15, 35, 1, 0.98, 0.02, 0.7, 0.3, 0.765625, 0.9722222222222222, 0.7538461538461538, 0.84,
       0.8596491228070174, 0.44404303362972275, 0.68, 0.7083333333333334},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.H);
    ASSERT_EQ(Ev.CalcConfusionMatrix(R.H), 0);
    int64_t Tp = -1, Fp = -1, Tn = -1, Fn = -1;
    double H = 0;
    ASSERT_EQ(Ev.GetConfMatValues(Tp, Fp, Tn, Fn, H), 0);
    EXPECT_EQ(Tp, R.Tp);
    EXPECT_EQ(Fp, R.Fp);
    EXPECT_EQ(Tn, R.Tn);
    EXPECT_EQ(Fn, R.Fn);
    EXPECT_EQ(H, R.H);
    const double Got[] = {Ev.TpRate(),      Ev.FnRate(),   Ev.TnRate(),      Ev.FpRate(),
                          Ev.Precision(),   Ev.NegPredVal(), Ev.ThreatScore(), Ev.Accuracy(),
                          Ev.F1Score(),     Ev.UncertCoeff(), Ev.Informedness(), Ev.MatthewsCorr()};
    const double Want[] = {R.TpR, R.FnR, R.TnR, R.FpR, R.Prec, R.Npv, R.Threat, R.Acc, R.F1, R.Unc, R.Inf, R.Mcc};
    for (int k = 0; k < 12; ++k) EXPECT_NEAR(Got[k], Want[k], 1e-13) << "score " << k;
  }
}

TEST(CFEvaluator, IrisRocCurveAreaAndBestThresholds) {
  TCFEvaluator Ev;
  LoadIrisPair(Ev);
  TDouble2DArray Roc;
  int32_t Best = -1;
  double Auc = 0, TMcc = 0, TAcc = 0, TInf = 0;
  ASSERT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, TMcc, TAcc, TInf), 0);
  // roc_curve(y, width, drop_intermediate=False) after its first point, then
  // the end point; roc_auc_score (ties count one half).
  const double Want[][3] = {{0.0, 0.06, 2.5}, {0.0, 0.12, 2.4}, {0.0, 0.28, 2.3},  {0.0, 0.34, 2.2},
                            {0.0, 0.46, 2.1}, {0.0, 0.58, 2.0}, {0.0, 0.68, 1.9},  {0.02, 0.9, 1.8},
                            {0.04, 0.92, 1.7}, {0.1, 0.94, 1.6}, {0.3, 0.98, 1.5}, {0.44, 1.0, 1.4},
                            {0.7, 1.0, 1.3},  {0.8, 1.0, 1.2},  {0.86, 1.0, 1.1}, {1.0, 1.0, 1.0},
                            {1.0, 1.0, 1.0}};
  ASSERT_EQ(Roc.size(), 3u);
  ASSERT_EQ(Roc[0].size(), std::size(Want));
  for (std::size_t k = 0; k < std::size(Want); ++k)
    for (std::size_t c = 0; c < 3; ++c) EXPECT_NEAR(Roc[c][k], Want[k][c], 1e-15) << "point " << k;
  EXPECT_NEAR(Auc, 0.9803999999999999, 1e-15);
  EXPECT_EQ(Best, 7);  // |fpr - tpr| = 0.88 first at width 1.8
  // The best scores over every cut point (sklearn as above).
  ASSERT_EQ(Ev.CalcConfusionMatrix(TMcc), 0);
  EXPECT_NEAR(Ev.MatthewsCorr(), 0.8828295892956407, 1e-15);
  ASSERT_EQ(Ev.CalcConfusionMatrix(TAcc), 0);
  EXPECT_NEAR(Ev.Accuracy(), 0.94, 1e-15);
  ASSERT_EQ(Ev.CalcConfusionMatrix(TInf), 0);
  EXPECT_NEAR(Ev.Informedness(), 0.88, 1e-15);
  // The pairs stay sorted by descending width, the classes along.
  for (int32_t i = 2; i <= 100; ++i) ASSERT_GE(Ev.EstimData(i - 1), Ev.EstimData(i));
  EXPECT_EQ(Ev.EstimData(1), 2.5);
  EXPECT_EQ(Ev.TrueData(1), 3);
  EXPECT_EQ(Ev.TrueData(100), 2);
}

TEST(CFEvaluator, StateCodesAndTheSmallExample) {
  TCFEvaluator Ev;
  EXPECT_EQ(Ev.NData(), 1);
  EXPECT_EQ(Ev.TpRate(), -2);
  EXPECT_EQ(Ev.Informedness(), -3);
  EXPECT_EQ(Ev.MatthewsCorr(), -2);
  EXPECT_EQ(Ev.CalcConfusionMatrix(0), -2);
  TDouble2DArray Roc{{7}};
  int32_t Best = 9;
  double Auc = 9, A = 9, B = 9, C = 9;
  EXPECT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, A, B, C), -1);
  EXPECT_EQ(Roc, TDouble2DArray{{7}});

  Load(Ev, {0, 1, 1, 0}, {0.1, 0.9, 0.6, 0.4});
  EXPECT_EQ(Ev.TpRate(), -1);  // dichotomous, not yet sorted
  ASSERT_EQ(Ev.CalcConfusionMatrix(0.5), 0);
  EXPECT_EQ(Ev.Accuracy(), 1);
  EXPECT_EQ(Ev.MatthewsCorr(), 1);
  EXPECT_EQ(Ev.FpRate(), 0);
  Ev.SetEstimData(4, 0.2);  // the pairs are sorted: this was 0.1
  EXPECT_EQ(Ev.TpRate(), -1);
  EXPECT_EQ(Ev.Informedness(), -2);
  EXPECT_EQ(Ev.MatthewsCorr(), -3);
  int64_t Tp = 5, Fp = 5, Tn = 5, Fn = 5;
  double H = 5;
  EXPECT_EQ(Ev.GetConfMatValues(Tp, Fp, Tn, Fn, H), -1);
  EXPECT_EQ(Tp, 5);

  ASSERT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, A, B, C), 0);
  const TDouble2DArray WantRoc{{0, 0, 0.5, 1, 1}, {0.5, 1, 1, 1, 1}, {0.9, 0.6, 0.4, 0.2, 0.2}};
  EXPECT_EQ(Roc, WantRoc);
  EXPECT_EQ(Best, 1);
  EXPECT_EQ(Auc, 1);

  Ev.SetNData(0);
  EXPECT_EQ(Ev.NData(), 4);
  TMatrix M;
  M.Resize(1, 3);
  M.Fill(1);
  EXPECT_EQ(Ev.CopyTrueFromMatrix(2, &M), -1);
  EXPECT_EQ(Ev.CopyTrueFromMatrix(1, nullptr), -1);
  M.SetVal(1, 3, 0);
  EXPECT_EQ(Ev.CopyTrueFromMatrix(1, &M), 0);
  EXPECT_EQ(Ev.NData(), -1);  // 3 true values, 4 estimates
  EXPECT_EQ(Ev.CalcConfusionMatrix(0.5), -1);
  EXPECT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, A, B, C), -3);
  M.Fill(1);
  EXPECT_EQ(Ev.CopyTrueFromMatrix(1, &M), -2);
  double V1 = 9, V2 = 9;
  EXPECT_FALSE(Ev.GetActualDichoValues(V1, V2));
  EXPECT_EQ(V1, 1);
  EXPECT_EQ(V2, 1);
}

// Faults of the method as first written, each with the sound result.
TEST(CFEvaluator, TiesCountOneHalfAndTheScanEnds) {
  TCFEvaluator Ev;
  TDouble2DArray Roc;
  int32_t Best = -1;
  double Auc = 0, TMcc = 0, TAcc = 0, TInf = 0;
  // A tie of two positives and two negatives: one point, half the area
  // (sklearn roc_auc_score([1, 0, 1, 0], [0.5] * 4) = 0.5).
  Load(Ev, {1, 0, 1, 0}, {0.5, 0.5, 0.5, 0.5});
  ASSERT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, TMcc, TAcc, TInf), 0);
  EXPECT_EQ(Roc, (TDouble2DArray{{1, 1}, {1, 1}, {0.5, 0.5}}));
  EXPECT_EQ(Auc, 0.5);
  EXPECT_EQ(Best, 0);
  EXPECT_EQ(TAcc, 0.5);  // no threshold between equal estimates
  // The step (0.32) is below the spacing of doubles at 1e17 (16): the scan
  // goes on to the next double and finds the separating threshold.
  Load(Ev, {0, 1}, {1e17, 1e17 + 32});
  ASSERT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, TMcc, TAcc, TInf), 0);
  EXPECT_EQ(TMcc, 1e17 + 16);
  EXPECT_EQ(TAcc, 1e17 + 16);
  EXPECT_EQ(Auc, 1);
  // Estimates near +-1e307: the plateau of perfect scores spans the whole
  // scan, and its mean is formed without overflow (the plain running sum
  // gave -inf, MCC 0): a finite threshold between the classes.
  Load(Ev, {0, 0, 1, 1}, {-1e307, -0.9e307, 0.9e307, 1e307});
  ASSERT_EQ(Ev.OptimizeThresholds(Roc, Best, Auc, TMcc, TAcc, TInf), 0);
  for (const double T : {TMcc, TAcc, TInf}) {
    EXPECT_TRUE(T > -0.9e307 && T <= 0.9e307) << T;
    ASSERT_EQ(Ev.CalcConfusionMatrix(T), 0);
    EXPECT_EQ(Ev.MatthewsCorr(), 1) << T;
  }
  // True values that are neighbouring doubles, or whose sum overflows, still
  // have positives.
  const double Pairs[][2] = {{1 + 0x1p-52, 1 + 0x1p-51}, {1e308, 1.7e308}, {-1.7e308, 1.7e308}};
  for (const auto& V : Pairs) {
    Load(Ev, {V[0], V[1], V[1]}, {0, 1, 0});
    ASSERT_EQ(Ev.CalcConfusionMatrix(0.5), 0);
    int64_t Tp = 0, Fp = 0, Tn = 0, Fn = 0;
    double H = 0;
    Ev.GetConfMatValues(Tp, Fp, Tn, Fn, H);
    EXPECT_EQ(Tp, 1) << V[1];
    EXPECT_EQ(Fn, 1) << V[1];
    EXPECT_EQ(Tn, 1) << V[1];
  }
}

TEST(CFEvaluator, LargeCountsFilledOneByOne) {
  // 400000 objects through TrueData one by one (quadratic if every write
  // scanned the array); tp = tn = 150000, fp = fn = 50000: the 64-bit product
  // under the root, 200000^4, overflows; MCC = (150000^2 - 50000^2) / 200000^2.
  TCFEvaluator Ev;
  const int32_t N = 400000;
  Ev.SetNData(N);
  for (int32_t i = 1; i <= N; ++i) {
    const bool Pos = i <= N / 2;
    const bool Hit = (i - 1) % 4 != 0;
    Ev.SetTrueData(i, Pos ? 1 : 0);
    Ev.SetEstimData(i, Pos == Hit ? 1 : 0);
  }
  ASSERT_EQ(Ev.CalcConfusionMatrix(0.5), 0);
  EXPECT_DOUBLE_EQ(Ev.MatthewsCorr(), 0.5);
  EXPECT_DOUBLE_EQ(Ev.Accuracy(), 0.75);
}

}  // namespace
}  // namespace orv
