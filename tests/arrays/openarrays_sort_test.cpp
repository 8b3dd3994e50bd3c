// SortArray with origin index, SortAndRemoveDuplicates and ShuffleArray.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

#include "orvcalckit/ORV_openarrays.h"
#include "support/progress.h"

namespace orv {
namespace {

// The steps as written: gap n - 1, then Trunc(gap / 1.3) (0 becomes 1), pairs
// (i, i + gap) in increasing i exchanged with their origins when out of
// order, NaN after every number; until a pass with gap 1 exchanges nothing.
template <class T>
TIntArray StepModel(bool Ascending, std::vector<T> A) {
  TIntArray Idx(A.size());
  std::iota(Idx.begin(), Idx.end(), 1);
  auto Behind = [Ascending](T X, T Y) { return Y == Y && (X != X || (Ascending ? X > Y : X < Y)); };
  for (int64_t N = std::ssize(A), Gap = N - 1, Swapped = 1; Gap > 1 || Swapped;) {
    Gap = std::max<int64_t>(1, static_cast<int64_t>(static_cast<double>(Gap) / 1.3));
    Swapped = 0;
    for (int64_t I = 0; I + Gap <= N - 1; ++I)
      if (Behind(A[I], A[I + Gap])) {
        std::swap(A[I], A[I + Gap]);
        std::swap(Idx[I], Idx[I + Gap]);
        Swapped = 1;
      }
  }
  return Idx;
}

TEST(SortArrayWithIndex, ExchangesOfTheStepsOriginsAndNaNLast) {
  test::TPassCounter Progress;
  // A, ascending, Idx: the family's examples; the ties from a Python transcription of the steps.
  const TIntArray Ties = {2, 7, 2, 1, 7, 2, 9, 1, 2, 7, 3};
  const std::tuple<TIntArray, bool, TIntArray> Rows[] = {{{3, 1, 2}, true, {2, 3, 1}},
                                                         {{3, 1, 2}, false, {1, 3, 2}},
                                                         {{5, 5}, true, {1, 2}},
                                                         {Ties, true, {8, 4, 3, 9, 1, 6, 11, 10, 2, 5, 7}},
                                                         {Ties, false, {7, 10, 5, 2, 11, 6, 1, 3, 9, 8, 4}}};
  for (const auto& [In, Ascending, Want] : Rows) {
    TIntArray A = In, Idx = {99}, DIdx;
    TDoubleArray D(In.begin(), In.end());
    EXPECT_EQ(SortArray(Ascending, A, Idx) + SortArray(Ascending, D, DIdx), 0);
    EXPECT_EQ(Idx, Want);
    EXPECT_EQ(DIdx, Want) << "double form";
    EXPECT_EQ(StepModel(Ascending, In), Want) << "the model itself";
    for (std::size_t K = 0; K < In.size(); ++K) EXPECT_EQ(A[K], In[Idx[K] - 1]);
  }
  // Fewer than two cells: Idx is still set, A untouched.
  TDoubleArray One = {4}, None;
  TIntArray Idx, Idx0 = {5};
  EXPECT_EQ(SortArray(true, One, Idx) + SortArray(false, None, Idx0), -2);
  EXPECT_TRUE(Idx == TIntArray{1} && Idx0.empty() && One == TDoubleArray{4});

  // Many cells, few distinct keys, NaN: the sort takes several pairs at once
  // where it can, and must still exchange exactly as the steps do.
  for (const int N : {3000, 1001, 60, 7})
    for (const bool Ascending : {true, false}) {
      TDoubleArray In(static_cast<std::size_t>(N));
      TIntArray Ints(In.size());
      for (int I = 0; I < N; ++I) {
        In[I] = I % 97 == 5 ? std::numeric_limits<double>::quiet_NaN() : (I * 7919 + 3) % 17 - 8.5;
        Ints[I] = (I * 7919 + 3) % 23 - 11;
      }
      TDoubleArray A = In;
      const TIntArray IntsIn = Ints;
      ASSERT_EQ(SortArray(Ascending, A, Idx), 0);
      EXPECT_EQ(Idx, StepModel(Ascending, In)) << N << Ascending;
      for (int K = 0; K < N; ++K) ASSERT_EQ(std::bit_cast<uint64_t>(A[K]), std::bit_cast<uint64_t>(In[Idx[K] - 1]));
      const auto Numbers = std::partition_point(A.begin(), A.end(), [](double X) { return !std::isnan(X); });
      EXPECT_TRUE(std::all_of(Numbers, A.end(), [](double X) { return std::isnan(X); })) << "NaN last";
      EXPECT_TRUE(Ascending ? std::is_sorted(A.begin(), Numbers)
                            : std::is_sorted(A.rbegin() + (A.end() - Numbers), A.rend()));
      SortArray(Ascending, Ints, Idx);
      EXPECT_EQ(Idx, StepModel(Ascending, IntsIn)) << N << Ascending;
    }
  EXPECT_TRUE(Progress.Passes() == 0 && Progress.Seen.empty());
}

TEST(SortAndRemoveDuplicates, AgreesWithNumPyUniqueAndCountsTheSortPasses) {
  // np.unique(a) (reversed for descending), len(a) - len(u), and the passes of
  // a Python transcription of ORV_math1's comb sort (gap from n).
  const TIntArray Mixed = {5, 3, 5, 1, 3, 3, 9, 0, 5, 1, 1, 8, 3, 2, 5};
  const std::tuple<TIntArray, bool, TIntArray, int32_t, int32_t> Rows[] = {{{4, 1, 4, 4, 2}, true, {1, 2, 4}, 2, 4},
                                                                           {{4, 1, 4, 4, 2}, false, {4, 2, 1}, 2, 3},
                                                                           {{7, 7}, true, {7}, 1, 1},
                                                                           {Mixed, true, {0, 1, 2, 3, 5, 8, 9}, 8, 8},
                                                                           {Mixed, false, {9, 8, 5, 3, 2, 1, 0}, 8, 8},
                                                                           {{2, 1}, true, {1, 2}, 0, 2}};
  for (const auto& [In, Ascending, Want, Removed, Passes] : Rows) {
    test::TPassCounter Progress;
    TIntArray A = In;
    EXPECT_EQ(SortAndRemoveDuplicates(A, Ascending), Removed);
    EXPECT_EQ(A, Want);
    EXPECT_EQ(Progress.Passes(), Passes);
    EXPECT_EQ(Progress.Seen.size(), static_cast<std::size_t>(Passes));
  }
  TIntArray One = {7};
  EXPECT_EQ(SortAndRemoveDuplicates(One, true), -1);
  EXPECT_EQ(One, TIntArray{7});
}

TEST(ShuffleArray, OneCycleOverAllCellsUniformAmongTheCyclicOrders) {
  SetRandSeed(2024);
  TIntArray Short = {1};
  TDoubleArray Empty;
  EXPECT_EQ(ShuffleArray(Short) + ShuffleArray(Empty), -2);
  // The cells are kept, and following A[i] - 1 from 0 visits all n before it returns.
  for (const int N : {2, 3, 5, 1000}) {
    TIntArray A(static_cast<std::size_t>(N));
    std::iota(A.begin(), A.end(), 1);
    TDoubleArray D(A.begin(), A.end());
    const TDoubleArray In = D;
    ASSERT_EQ(ShuffleArray(A) + ShuffleArray(D), 0);
    ASSERT_TRUE(std::is_permutation(A.begin(), A.end(), In.begin()) &&
                std::is_permutation(D.begin(), D.end(), In.begin()));
    int Length = 0;
    for (int32_t I = 0; Length == 0 || I != 0; I = A[I] - 1) ++Length;
    EXPECT_EQ(Length, N);
  }
  // n = 4: each of the (4 - 1)! = 6 cyclic orders about 1000 times in 6000 runs; chi-square
  // with 5 degrees of freedom below 35.89, its 1 - 1e-6 quantile (scipy.stats.chi2.ppf(1 - 1e-6, 5)).
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
