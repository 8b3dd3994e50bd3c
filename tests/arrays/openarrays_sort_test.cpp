// SortArray with origin index, SortAndRemoveDuplicates and ShuffleArray.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/progress.h"

namespace orv {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Idx is a permutation of 1..n with In[Idx[k] - 1] = Out[k] (NaN matching NaN).
template <class T>
void ExpectOrigins(const std::vector<T>& In, const std::vector<T>& Out, const TIntArray& Idx) {
  ASSERT_EQ(Idx.size(), In.size());
  TIntArray Sorted = Idx;
  std::sort(Sorted.begin(), Sorted.end());
  for (std::size_t K = 0; K < Idx.size(); ++K) {
    EXPECT_EQ(Sorted[K], static_cast<int32_t>(K + 1));
    const T X = In[static_cast<std::size_t>(Idx[K] - 1)];
    EXPECT_TRUE(X == Out[K] || (X != X && Out[K] != Out[K])) << "k = " << K;
  }
}

// The steps as written: gap n - 1, then Trunc(gap / 1.3) (0 becomes 1), pairs
// (i, i + gap) in increasing i exchanged with their origins when out of
// order, NaN after every number; until a pass with gap 1 exchanges nothing.
template <class T>
void StepModel(bool Ascending, std::vector<T>& A, TIntArray& Idx) {
  const int64_t N = std::ssize(A);
  Idx.resize(A.size());
  std::iota(Idx.begin(), Idx.end(), 1);
  auto Behind = [Ascending](T X, T Y) {
    if (Y != Y) return false;
    return X != X || (Ascending ? X > Y : X < Y);
  };
  for (int64_t Gap = N - 1, Swapped = 1; Gap > 1 || Swapped;) {
    Gap = std::max<int64_t>(1, static_cast<int64_t>(static_cast<double>(Gap) / 1.3));
    Swapped = 0;
    for (int64_t I = 0; I + Gap <= N - 1; ++I)
      if (Behind(A[I], A[I + Gap])) {
        std::swap(A[I], A[I + Gap]);
        std::swap(Idx[I], Idx[I + Gap]);
        Swapped = 1;
      }
  }
}

TEST(SortArrayWithIndex, OrderOfTiesFollowsTheStepsAndNaNGoesLast) {
  // A, ascending, sorted A, Idx: from a Python transcription of the steps
  // (gap n - 1, shrink Trunc(gap / 1.3), exchange only out-of-order pairs).
  const struct {
    TIntArray A;
    bool Ascending;
    TIntArray Want, Idx;
  } Rows[] = {{{3, 1, 2}, true, {1, 2, 3}, {2, 3, 1}},
              {{3, 1, 2}, false, {3, 2, 1}, {1, 3, 2}},
              {{5, 5}, true, {5, 5}, {1, 2}},
              {{2, 7, 2, 1, 7, 2, 9, 1, 2, 7, 3}, true, {1, 1, 2, 2, 2, 2, 3, 7, 7, 7, 9}, {8, 4, 3, 9, 1, 6, 11, 10, 2, 5, 7}},
              {{2, 7, 2, 1, 7, 2, 9, 1, 2, 7, 3}, false, {9, 7, 7, 7, 3, 2, 2, 2, 2, 1, 1}, {7, 10, 5, 2, 11, 6, 1, 3, 9, 8, 4}}};
  test::TPassCounter Progress;
  for (const auto& R : Rows) {
    TIntArray A = R.A, Idx = {99};
    TDoubleArray D(R.A.begin(), R.A.end());
    TIntArray DIdx;
    EXPECT_EQ(SortArray(R.Ascending, A, Idx), 0);
    EXPECT_EQ(SortArray(R.Ascending, D, DIdx), 0);
    EXPECT_EQ(A, R.Want);
    EXPECT_EQ(Idx, R.Idx);
    EXPECT_EQ(DIdx, R.Idx) << "double form";
  }
  // The model's result for doubles with ties: [0.5, -1, 0.5, 0.5, -1, 3, 0.5, -1] descending.
  TDoubleArray D = {0.5, -1, 0.5, 0.5, -1, 3, 0.5, -1};
  TIntArray Idx;
  SortArray(false, D, Idx);
  EXPECT_EQ(Idx, (TIntArray{6, 7, 3, 4, 1, 5, 2, 8}));
  EXPECT_EQ(Progress.Passes(), 0.0);
  EXPECT_TRUE(Progress.Seen.empty());

  // Fewer than two cells: Idx is still set, A untouched.
  TDoubleArray One = {4};
  EXPECT_EQ(SortArray(true, One, Idx), -1);
  EXPECT_EQ(Idx, TIntArray{1});
  TIntArray None;
  EXPECT_EQ(SortArray(false, None, Idx), -1);
  EXPECT_TRUE(Idx.empty());

  // NaN keys end the sort and go last in both directions.
  for (const bool Ascending : {true, false}) {
    const TDoubleArray In = {3, NaN, 1, NaN, 2, -NaN, 0};
    TDoubleArray A = In;
    ASSERT_EQ(SortArray(Ascending, A, Idx), 0);
    const TDoubleArray Numbers(A.begin(), A.begin() + 4);
    EXPECT_EQ(Numbers, Ascending ? TDoubleArray({0, 1, 2, 3}) : TDoubleArray({3, 2, 1, 0}));
    EXPECT_TRUE(std::isnan(A[4]) && std::isnan(A[5]) && std::isnan(A[6]));
    ExpectOrigins(In, A, Idx);
  }
  // Many cells, few distinct keys, some NaN: the same exchanges as the steps
  // one pair at a time (the sort takes several pairs at once where it can).
  for (const int N : {3000, 1001}) {
    for (const bool Ascending : {true, false}) {
      TDoubleArray In(static_cast<std::size_t>(N));
      for (int I = 0; I < N; ++I) In[static_cast<std::size_t>(I)] = I % 97 == 5 ? NaN : (I * 7919 + 3) % 17 - 8.5;
      TDoubleArray A = In, Model = In;
      TIntArray ModelIdx;
      ASSERT_EQ(SortArray(Ascending, A, Idx), 0);
      StepModel(Ascending, Model, ModelIdx);
      EXPECT_EQ(Idx, ModelIdx) << N << Ascending;
      ExpectOrigins(In, A, Idx);
      TIntArray Ints(In.size()), IntModel;
      for (int I = 0; I < N; ++I) Ints[static_cast<std::size_t>(I)] = (I * 7919 + 3) % 23 - 11;
      TIntArray IntsIn = Ints, IntsModel = Ints;
      SortArray(Ascending, Ints, Idx);
      StepModel(Ascending, IntsModel, IntModel);
      EXPECT_EQ(Idx, IntModel) << N << Ascending;
      EXPECT_EQ(Ints, IntsModel);
    }
  }
}

TEST(SortAndRemoveDuplicates, AgreesWithNumPyUniqueAndCountsTheSortPasses) {
  // np.unique(a) (reversed for descending), len(a) - len(u), and the passes of
  // a Python transcription of ORV_math1's comb sort (gap from n).
  const TIntArray Mixed = {5, 3, 5, 1, 3, 3, 9, 0, 5, 1, 1, 8, 3, 2, 5};
  const struct {
    TIntArray A;
    bool Ascending;
    TIntArray Want;
    int32_t Removed, Passes;
  } Rows[] = {{{4, 1, 4, 4, 2}, true, {1, 2, 4}, 2, 4},     {{4, 1, 4, 4, 2}, false, {4, 2, 1}, 2, 3},
              {{7, 7}, true, {7}, 1, 1},                    {Mixed, true, {0, 1, 2, 3, 5, 8, 9}, 8, 8},
              {Mixed, false, {9, 8, 5, 3, 2, 1, 0}, 8, 8}, {{2, 1}, true, {1, 2}, 0, 2}};
  for (const auto& R : Rows) {
    test::TPassCounter Progress;
    TIntArray A = R.A;
    EXPECT_EQ(SortAndRemoveDuplicates(A, R.Ascending), R.Removed);
    EXPECT_EQ(A, R.Want);
    EXPECT_EQ(Progress.Passes(), R.Passes);
    EXPECT_EQ(Progress.Seen.size(), static_cast<std::size_t>(R.Passes));
  }
  TIntArray One = {7};
  EXPECT_EQ(SortAndRemoveDuplicates(One, true), -1);
  EXPECT_EQ(One, TIntArray{7});
}

TEST(ShuffleArray, GivesOneCycleOverAllCellsUniformlyAmongCyclicOrders) {
  SetRandSeed(2024);
  TIntArray Short = {1};
  TDoubleArray Empty;
  EXPECT_EQ(ShuffleArray(Short), -1);
  EXPECT_EQ(ShuffleArray(Empty), -1);
  EXPECT_EQ(Short, TIntArray{1});
  // The cells are kept and form a single cycle: following A[i] - 1 from 0
  // visits all n cells before it returns.
  for (const int N : {2, 3, 5, 17, 1000}) {
    TIntArray A(static_cast<std::size_t>(N));
    std::iota(A.begin(), A.end(), 1);
    TDoubleArray D(A.begin(), A.end());
    ASSERT_EQ(ShuffleArray(A), 0);
    ASSERT_EQ(ShuffleArray(D), 0);
    TIntArray S = A;
    TDoubleArray SD = D;
    std::sort(S.begin(), S.end());
    std::sort(SD.begin(), SD.end());
    ASSERT_TRUE(std::equal(S.begin(), S.end(), SD.begin()));
    ASSERT_EQ(S.back(), N);
    ASSERT_EQ(std::adjacent_find(S.begin(), S.end()), S.end());
    int Length = 0;
    for (int32_t I = 0; Length == 0 || I != 0; I = A[static_cast<std::size_t>(I)] - 1) ++Length;
    EXPECT_EQ(Length, N);
  }
  // n = 4: each of the (4 - 1)! = 6 cyclic orders about 1000 times in 6000
  // runs; chi-square with 5 degrees of freedom below 35.89, its 1 - 1e-6
  // quantile (scipy.stats.chi2.ppf(1 - 1e-6, 5)).
  std::map<TIntArray, int> Seen;
  for (int Run = 0; Run < 6000; ++Run) {
    TIntArray A = {1, 2, 3, 4};
    ShuffleArray(A);
    ++Seen[A];
  }
  ASSERT_EQ(Seen.size(), 6u);
  double Chi2 = 0;
  for (const auto& [Order, Count] : Seen) Chi2 += (Count - 1000.0) * (Count - 1000.0) / 1000.0;
  EXPECT_LT(Chi2, 35.89);
}

}  // namespace
}  // namespace orv
