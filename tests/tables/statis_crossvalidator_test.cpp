// TCrossValidator: test sets, requests to the host, and the results.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/iris.h"
#include "support/raises.h"

namespace orv {
namespace {

// X holds the row number, so a handler knows which object it predicts.
void LoadRows(TCrossValidator& Cv, const std::vector<std::vector<double>>& Y) {
  const auto N = static_cast<int32_t>(Y.size());
  Cv.XMat()->Resize(1, N);
  Cv.YMat()->Resize(N == 0 ? 1 : static_cast<int32_t>(Y[0].size()), N);
  for (int32_t r = 1; r <= N; ++r) {
    Cv.XMat()->SetVal(1, r, r);
    for (int32_t c = 1; c <= Cv.YMat()->NrOfColumns(); ++c) Cv.YMat()->SetVal(c, r, Y[detail::Ix1(r)][detail::Ix1(c)]);
  }
}

TEST(CrossValidator, ChecksRaiseBeforeAnything) {
  TCrossValidator Cv;
  LoadRows(Cv, {{1}, {2}});
  Cv.XMat()->Resize(1, 3);
  const char* Rows = "TCrossValidator.Execute: number of rows of XMat and YMat not equal";
  test::ExpectRaises<EORVStatisError>([&] { Cv.Execute(); }, Rows);
  Cv.XMat()->Resize(1, 2);
  test::ExpectRaises<EORVStatisError>([&] { Cv.Execute(); },
                                      "TCrossValidator: OnModelApplyRequest event is not assigned");
  Cv.OnModelApplyRequest = [](TObject*, int32_t, const TDoubleArray&, TDoubleArray&) {};
  test::ExpectRaises<EORVStatisError>([&] { Cv.Execute(); },
                                      "TCrossValidator: OnModelCreateRequest event is not assigned");
  TMatrix* Own = Cv.YMat();
  Cv.SetYMat(nullptr);
  test::ExpectRaises<EORVStatisError>([&] { Cv.Execute(); }, "TCrossValidator.Execute: data matrix not assigned");
  Cv.SetYMat(Own);
  EXPECT_EQ(Cv.SizeTestSet(), 2);
  EXPECT_EQ(Cv.RMSEP(1), -1);  // no run yet
}

TEST(CrossValidator, EveryRowTestedOnceAndLeaveOneOutPress) {
  // 150 iris sepal lengths, a model that predicts the mean of its training
  // rows, one row per test set. PRESS = sum ((n / (n - 1)) (y_i - mean))^2
  // (NumPy): 103.54432232782311, RMSEP = sqrt(PRESS / 150).
  TCrossValidator Cv;
  std::vector<std::vector<double>> Y;
  for (const auto& F : test::Iris) Y.push_back({F[0]});
  LoadRows(Cv, Y);
  Cv.SetSizeTestSet(0);
  EXPECT_EQ(Cv.SizeTestSet(), 1);
  double Mean = 0;
  std::vector<int32_t> Tested, CreatePct, ApplyPct;
  Cv.OnModelCreateRequest = [&](TObject*, int32_t Pct, const TIntArray& Rows, bool& Ok) {
    double S = 0;
    for (int32_t r : Rows) S += Y[detail::Ix1(r)][0];
    Mean = S / static_cast<double>(Rows.size());
    CreatePct.push_back(Pct);
    Ok = Rows.size() == 149;
  };
  Cv.OnModelApplyRequest = [&](TObject*, int32_t Pct, const TDoubleArray& X, TDoubleArray& R) {
    Tested.push_back(static_cast<int32_t>(X[0]));
    ApplyPct.push_back(Pct);
    R[0] = Mean;
  };
  SetRandSeed(11);
  ASSERT_TRUE(Cv.Execute());
  EXPECT_FALSE(Cv.IsExecuting());
  EXPECT_NEAR(Cv.RMSEP(1), std::sqrt(103.54432232782311 / 150), 1e-13);
  EXPECT_EQ(Cv.RMSEP(2), -1);
  std::vector<int32_t> Sorted = Tested, All(150);
  std::sort(Sorted.begin(), Sorted.end());
  std::iota(All.begin(), All.end(), 1);
  EXPECT_EQ(Sorted, All);
  EXPECT_EQ(CreatePct.size(), 150u);
  // Round(k / 150 * 100), half to even: k = 3 gives 2, k = 9 gives 6.
  EXPECT_EQ(ApplyPct[2], 2);
  EXPECT_EQ(ApplyPct[8], 6);
  EXPECT_EQ(ApplyPct.back(), 100);
  EXPECT_EQ(CreatePct[0], 0);
  // The same seed draws the same sets.
  const auto First = Tested;
  Tested.clear();
  SetRandSeed(11);
  ASSERT_TRUE(Cv.Execute());
  EXPECT_EQ(Tested, First);

  // 10 rows with 20 per set: 6 rows, then the other 4.
  LoadRows(Cv, std::vector<std::vector<double>>(10, {1.0}));
  Cv.SetSizeTestSet(20);
  std::vector<std::size_t> Training;
  Cv.OnModelCreateRequest = [&](TObject*, int32_t, const TIntArray& Rows, bool& Ok) {
    Training.push_back(Rows.size());
    Ok = true;
  };
  Tested.clear();
  ASSERT_TRUE(Cv.Execute());
  EXPECT_EQ(Cv.SizeTestSet(), 6);
  EXPECT_EQ(Training, (std::vector<std::size_t>{4, 6}));
  EXPECT_EQ(Tested.size(), 10u);
}

TEST(CrossValidator, ClassificationCounts) {
  // (y, p): (1, 0.6) TP, (1, 0.5) FN, (0, 0.5) FP, (0, 0.2) TN, (0, -0.6) FP,
  // (2, 2) TN; the second column is all positives predicted right.
  const double P[] = {0.6, 0.5, 0.5, 0.2, -0.6, 2};
  TCrossValidator Cv;
  LoadRows(Cv, {{1, 1}, {1, 1}, {0, 1}, {0, 1}, {0, 1}, {2, 1}});
  Cv.SetSizeTestSet(1);
  Cv.OnModelCreateRequest = [](TObject*, int32_t, const TIntArray&, bool& Ok) { Ok = true; };
  Cv.OnModelApplyRequest = [&](TObject*, int32_t, const TDoubleArray& X, TDoubleArray& R) {
    ASSERT_EQ(R.size(), 2u);
    R[0] = P[static_cast<int>(X[0]) - 1];
    R[1] = 1;
  };
  ASSERT_TRUE(Cv.Execute());
  EXPECT_EQ(Cv.TPRate(1), 0.5);
  EXPECT_EQ(Cv.FPRate(1), 0.5);
  EXPECT_NEAR(Cv.RMSEP(1), std::sqrt((0.16 + 0.25 + 0.25 + 0.04 + 0.36) / 6), 1e-15);
  EXPECT_EQ(Cv.TPRate(2), 1);
  EXPECT_EQ(Cv.FPRate(2), 1);  // no negatives
  EXPECT_EQ(Cv.RMSEP(2), 0);
  Cv.SetSizeTestSet(3);
  EXPECT_EQ(Cv.TPRate(1), -1);
  EXPECT_EQ(Cv.FPRate(1), -1);
  EXPECT_EQ(Cv.RMSEP(1), -1);
}

// Faults of the method as first written, each with the sound result.
TEST(CrossValidator, StoppedAndFailedRunsLeaveNoResult) {
  TCrossValidator Cv;
  LoadRows(Cv, {{1}, {0}, {1}, {0}, {1}});
  int32_t Creates = 0, Applies = 0, Checks = 0;
  bool StopAfterFirst = true, Build = true;
  Cv.OnModelCreateRequest = [&](TObject*, int32_t, const TIntArray&, bool& Ok) {
    ++Creates;
    Ok = Build;
  };
  Cv.OnModelApplyRequest = [&](TObject*, int32_t, const TDoubleArray&, TDoubleArray& R) {
    ++Applies;
    R[0] = 1;
  };
  Cv.OnCheckAbort = [&](TObject*, bool& Abort) {
    ++Checks;
    Abort = StopAfterFirst;
  };
  EXPECT_FALSE(Cv.Execute());
  EXPECT_EQ(Applies, 1);
  for (double V : {Cv.RMSEP(1), Cv.TPRate(1), Cv.FPRate(1)}) EXPECT_EQ(V, -1);

  // A model that is never built: n failed requests, each followed by the
  // abort check, end the run.
  StopAfterFirst = false;
  Build = false;
  Creates = Applies = Checks = 0;
  EXPECT_FALSE(Cv.Execute());
  EXPECT_EQ(Creates, 5);
  EXPECT_EQ(Checks, 5);
  EXPECT_EQ(Applies, 0);
  EXPECT_EQ(Cv.TPRate(1), -1);

  // A short response raises; a raising handler leaves the component idle.
  Build = true;
  Cv.OnModelApplyRequest = [](TObject*, int32_t, const TDoubleArray&, TDoubleArray& R) { R.clear(); };
  test::ExpectRaises<EORVStatisError>(
      [&] { Cv.Execute(); },
      "TCrossValidator.Execute: OnModelApplyRequest returned fewer responses than YMat has columns");
  EXPECT_FALSE(Cv.IsExecuting());
  Cv.OnModelApplyRequest = [&](TObject* S, int32_t, const TDoubleArray&, TDoubleArray&) {
    EXPECT_TRUE(static_cast<TCrossValidator*>(S)->IsExecuting());
    throw std::runtime_error("model broke");
  };
  EXPECT_THROW(Cv.Execute(), std::runtime_error);
  EXPECT_FALSE(Cv.IsExecuting());
  EXPECT_EQ(Cv.RMSEP(1), -1);

  // No rows: the run completes, but there is no mean error.
  LoadRows(Cv, {});
  EXPECT_TRUE(Cv.Execute());
  EXPECT_EQ(Cv.RMSEP(1), -1);
}

}  // namespace
}  // namespace orv
