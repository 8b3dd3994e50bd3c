// Unit ORV_statis: the classifier evaluation component TCFEvaluator.
// Included through ORV_statis.h.
#pragma once

#include <cstdint>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// ============================================================================
// TCFEvaluator: a binary classifier's true classes and continuous estimates
// ============================================================================
//
// Object i (from 1) has a true value and an estimate. The true values must
// hold exactly two distinct values DichoV1 < DichoV2; the larger one is the
// positive class (a true value above their midpoint counts as positive). An
// estimate E is a positive prediction at threshold T when E - T >= 0.
//
// The confusion matrix of one threshold gives the scores below. A score
// reports the state instead of a value: -2 when the true values are not
// dichotomous (Informedness -3), else -1 when the pairs have not been sorted
// since the last change of estimates (Informedness -2, MatthewsCorr -3).
// Sorting (by CalcConfusionMatrix or OptimizeThresholds) reorders TrueData
// and EstimData in place, by descending estimate (NaN last).
//
// The sorted and dichotomy states are those of the last change that set
// them: a write of TrueData or CopyTrueFromMatrix decides the dichotomy
// afresh, a write of EstimData or a copy of either column marks the pairs
// unsorted, and NData changes neither (cells it adds are 0 in both arrays).
class ORV_API TCFEvaluator : public TComponent {
 public:
  // One pair (0, 0), not dichotomous, not sorted.
  explicit TCFEvaluator(TComponent* AOwner = nullptr);
  ~TCFEvaluator() override;
  std::string ClassName() const override;

  // ---- data ----
  // Reads give 0 outside 1..length; writes there are ignored.
  double TrueData(int32_t Ix) const;
  void SetTrueData(int32_t Ix, double Value);
  double EstimData(int32_t Ix) const;
  void SetEstimData(int32_t Ix, double Value);
  // The common length of both arrays, -1 when they differ. N > 0 gives both N
  // pairs (the overlap kept, new cells 0); N <= 0 is ignored.
  int32_t NData() const;
  void SetNData(int32_t N);
  // The two true values in ascending order, as the dichotomy was last decided
  // (see IsDichotomous of the array routines for what a non-dichotomous array
  // gives).
  double DichoV1() const;
  double DichoV2() const;
  double Threshold() const { return FCFThresh; }  // of the last confusion matrix

  // The true values := column Col of SrcMat (all rows). -1 when Col is outside
  // 1..NrOfColumns or SrcMat is nullptr (nothing changes); -2 when the column
  // is not dichotomous; else 0.
  int32_t CopyTrueFromMatrix(int32_t Col, const TMatrix* SrcMat);
  // The estimates := column Col of SrcMat. -1 as above, else 0.
  int32_t CopyEstFromMatrix(int32_t Col, const TMatrix* SrcMat);
  // V1 := the first true value, V2 := the first that differs from it, in
  // ascending order; true when no other value occurs. Fewer than 2 true
  // values: false with V1 = V2 = 0.
  bool GetActualDichoValues(double& V1, double& V2) const;

  // ---- confusion matrix ----
  // Sorts the pairs when unsorted and counts them at threshold CFThresh. -2
  // when not dichotomous, -1 when the lengths differ (nothing changes), else 0.
  int32_t CalcConfusionMatrix(double CFThresh);
  // The four counts and the threshold of the last confusion matrix: -2 when
  // not dichotomous, -1 when not sorted (outputs unchanged), else 0.
  int32_t GetConfMatValues(int64_t& Tp, int64_t& Fp, int64_t& Tn, int64_t& Fn, double& Thresh) const;

  // ---- scores of the last confusion matrix (codes in the class comment) ----
  // A ratio whose denominator is not positive gives 0.
  double TpRate() const;       // tp / (tp + fn)
  double FnRate() const;       // fn / (tp + fn)
  double TnRate() const;       // tn / (tn + fp)
  double FpRate() const;       // fp / (tn + fp)
  double Precision() const;    // tp / (tp + fp)
  double NegPredVal() const;   // tn / (tn + fn)
  double ThreatScore() const;  // tp / (tp + fn + fp)
  double Accuracy() const;     // (tp + tn) / all
  double F1Score() const;      // 2 tp / (2 tp + fn + fp)
  // Symmetric uncertainty 2 (Hp + Ht - Hj) / (Hp + Ht + 1e-15) of the
  // entropies of the predicted classes, the true classes and the four cells.
  double UncertCoeff() const;
  // tp / (tp + fn) + tn / (tn + fp) - 1, a term 0 without its class.
  double Informedness() const;
  // (tp tn - fp fn) / sqrt((tp + fp)(tp + fn)(tn + fp)(tn + fn)); 0 when the
  // root is 0. Exact in 64 bits while the product fits, in double beyond.
  double MatthewsCorr() const;

  // ---- ROC curve and best thresholds ----
  // Sorts the pairs when unsorted. -1 when not dichotomous, -3 when the
  // lengths differ, -2 without positives or without negatives; the outputs
  // then stay as they were. Else 0 and:
  // - ROCCoords: 3 columns (false positive rate, true positive rate,
  //   estimate) and one row per distinct estimate in descending order (NaN
  //   estimates count as one), each point taken after all pairs of its
  //   estimate, then the end point (1, 1) with the smallest estimate. An
  //   estimate of -1.7976931348623157e308 as the largest gets no point of its
  //   own.
  // - BestROC: the row of the first point farthest from the diagonal
  //   (|fpr - tpr| largest), 0 when none lies off it.
  // - AUC: the trapezoids between the points, so a positive and a negative of
  //   equal estimate count one half (the Mann-Whitney statistic).
  // - the thresholds that maximise Matthews' correlation, accuracy and
  //   informedness among h = min - 5 s, min - 4 s, ... (h < max + 5 s) with
  //   s = (max - min) / 100 added step by step; a run of equal best scores
  //   gives the mean of its thresholds (formed without overflow, also for
  //   estimates near +-1e308), and a later equal score after a
  //   worse one starts the run afresh without moving the threshold. Where s
  //   is below the spacing of doubles the next threshold is the next double.
  //   Without any threshold (all estimates equal, or NaN) all three are the
  //   smallest estimate. The confusion matrix left behind is that of the
  //   last threshold visited.
  int32_t OptimizeThresholds(TDouble2DArray& ROCCoords, int32_t& BestROC, double& AUC, double& ThreshMMC,
                             double& ThreshAccuracy, double& ThreshInformedness);

 private:
  struct TCounts;
  int32_t SortEstimated();
  bool CopyColumn(int32_t Col, const TMatrix* SrcMat, TDoubleArray& A);
  void RefreshDicho() const;
  bool Dicho() const;
  double PositiveAbove() const;
  double Score(double (*Formula)(const TCounts&), double NotSorted, double NotDicho) const;

  TDoubleArray FTrueVec;
  TDoubleArray FEstVec;
  bool FIsSorted = false;
  int64_t Ftp = 0, Ffp = 0, Ftn = 0, Ffn = 0;
  double FCFThresh = 0;
  // The dichotomy is decided when next needed after a write of TrueData, so
  // that filling the true values one by one stays linear.
  mutable bool FDichoStale = false;
  mutable bool FIsDicho = false;
  mutable double FDichoV1 = 0, FDichoV2 = 0;
};

}  // namespace orv
