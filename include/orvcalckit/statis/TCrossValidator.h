// Unit ORV_statis: the cross-validation component TCrossValidator.
// Included through ORV_statis.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "orvcalckit/ORV_export.h"
#include "orvcalckit/ORV_matrix.h"
#include "orvcalckit/ORV_vector.h"
#include "orvcorekit/Orv_classes.h"
#include "orvcorekit/Orv_orvbase.h"

namespace orv {

// Build a model from the rows listed in ObjectList (numbered from 1,
// ascending) and report whether it worked.
using TOnModelCreateRequestEvent =
    std::function<void(TObject* Sender, int32_t PercentDone, const TIntArray& ObjectList, bool& Success)>;
// Predict the responses of one object from its predictors (one per column of
// XMat). Response arrives with one cell per column of YMat and must keep at
// least that many.
using TOnModelApplyRequestEvent = std::function<void(TObject* Sender, int32_t PercentDone,
                                                     const TDoubleArray& Predictors, TDoubleArray& Response)>;

// ============================================================================
// TCrossValidator: cross-validation of a model that the host builds and applies
// ============================================================================
//
// Execute splits the rows of XMat and YMat (one object per row) into random
// test sets of SizeTestSet rows (drawn with Random, so SetRandSeed makes a
// run reproducible), asks the host to build a model on the other rows and to
// predict each test row, and accumulates per response column the sum of
// squared prediction errors and the counts of a 0/1 classification: y = 1 is
// the positive class, and a prediction p is wrong when |p - y| >= 0.5.
class ORV_API TCrossValidator : public TComponent {
 public:
  // SizeTestSet 2, two empty matrices of its own as XMat and YMat.
  explicit TCrossValidator(TComponent* AOwner = nullptr);
  ~TCrossValidator() override;
  std::string ClassName() const override;

  int32_t SizeTestSet() const { return FTestSize; }
  // N, or 1 for N <= 0; the results are void until the next run.
  void SetSizeTestSet(int32_t N);
  bool IsExecuting() const { return FIsRunning; }
  // Matrices the host assigns stay the host's and must outlive their use;
  // the two made by the constructor go with the component.
  TMatrix* XMat() const { return FXMat; }
  void SetXMat(TMatrix* Value) { FXMat = Value; }
  TMatrix* YMat() const { return FYMat; }
  void SetYMat(TMatrix* Value) { FYMat = Value; }

  // Runs the cross-validation; true when every row was tested. Raises
  // EORVStatisError, before anything changes, when XMat or YMat is nullptr,
  // their row counts differ, or either request handler is missing. A run
  // with more than n / 2 + 1 rows per test set first lowers SizeTestSet to
  // that for good. After each applied test row, and after each failed model
  // request, OnCheckAbort may stop the run: false. A run also stops with
  // false after n failed model requests in a row (at least one), and raises
  // EORVStatisError when a Response comes back shorter than YMat's columns.
  // The handlers may move the storage of the run's XMat and YMat (cells are
  // read through GetVal); one that resizes either stops the run: false. A
  // stopped or raising run leaves no results; IsExecuting is false again
  // however Execute ends.
  bool Execute();

  // Per response column Ix (from 1) of the last completed run: the root mean
  // squared prediction error, TP / (TP + FN) (0 without positives) and
  // FP / (FP + TN) (1 without negatives). -1 while no run has completed since
  // creation, an abort or a change of SizeTestSet, for a column outside the
  // run's YMat, and for RMSEP of a run without rows.
  double RMSEP(int32_t Ix) const;
  double TPRate(int32_t Ix) const;
  double FPRate(int32_t Ix) const;

  TOnModelApplyRequestEvent OnModelApplyRequest;
  TOnModelCreateRequestEvent OnModelCreateRequest;
  TOnCheckAbortEvent OnCheckAbort;

 private:
  bool HasResult(int32_t Ix) const;
  void VoidResults();

  int32_t FTestSize = 2;
  TVector* FPress;
  bool FIsRunning = false;
  TVector *FTPCnt, *FFPCnt, *FTNCnt, *FFNCnt;
  TMatrix* FXMat;
  TMatrix* FYMat;
  std::unique_ptr<TMatrix> FOwnXMat, FOwnYMat;
  // The size of the last completed run (FRunRows < 0: none).
  int32_t FRunRows = -1, FRunCols = 0;
};

}  // namespace orv
