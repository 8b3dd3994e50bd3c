// Sorting, selection and exchange in plain arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/combsort.h"
#include "orvcalckit/ORV_math1.h"
#include "support/progress.h"

namespace {

using PassCounter = orv::test::TPassCounter;

TEST(SortArray, ReportsEachPassAndNothingForOneElement) {
  {
    PassCounter C;
    std::vector<double> One{4.0};
    orv::SortArray(One, true);
    orv::SortArray(std::span<double>(), true);
    EXPECT_EQ(C.Passes(), 0.0);
    EXPECT_TRUE(C.Seen.empty());
  }
  {
    // Two elements reversed: one pass exchanges, one more finds nothing.
    PassCounter C;
    std::vector<int32_t> Two{2, 1};
    orv::SortArray(Two, true);
    EXPECT_EQ(Two, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(C.Seen, (std::vector<double>{101.0, 102.0}));
  }
  {
    // Ten sorted elements: the gaps 7, 5, 3, 2, 1, no second pass at gap 1.
    PassCounter C;
    std::vector<float> Ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    orv::SortArray(Ten, true);
    EXPECT_EQ(C.Passes(), 5.0);
  }
}

TEST(SortArray, SortsEveryTypeBothWaysAndNeverExchangesEqualValues) {
  std::mt19937 Gen(7);
  std::uniform_int_distribution<int32_t> Dist(-50, 50);  // many equal values
  for (int n : {2, 3, 10, 257, 1000}) {
    std::vector<double> D(n);
    std::vector<float> F(n);
    std::vector<int32_t> I(n);
    for (int k = 0; k < n; ++k) I[k] = Dist(Gen), D[k] = I[k] / 3.0, F[k] = static_cast<float>(I[k]);
    for (bool Up : {true, false}) {
      auto D1 = D;
      auto F1 = F;
      auto I1 = I;
      orv::SortArray(D1, Up);
      orv::SortArray(F1, Up);
      orv::SortArray(I1, Up);
      auto D2 = D;
      auto F2 = F;
      auto I2 = I;
      if (Up) {
        std::sort(D2.begin(), D2.end()), std::sort(F2.begin(), F2.end()), std::sort(I2.begin(), I2.end());
      } else {
        std::sort(D2.rbegin(), D2.rend()), std::sort(F2.rbegin(), F2.rend()), std::sort(I2.rbegin(), I2.rend());
      }
      EXPECT_EQ(D1, D2) << n;
      EXPECT_EQ(F1, F2) << n;
      EXPECT_EQ(I1, I2) << n;
    }
  }
  // +0 and -0 are equal: never exchanged, in either direction.
  for (bool Up : {true, false}) {
    std::vector<double> Z{0.0, -0.0, 0.0, -0.0};
    orv::SortArray(Z, Up);
    EXPECT_FALSE(std::signbit(Z[0]));
    EXPECT_TRUE(std::signbit(Z[1]));
    EXPECT_FALSE(std::signbit(Z[2]));
    EXPECT_TRUE(std::signbit(Z[3]));
  }
}

TEST(SortArray, PutsNaNLastInBothDirections) {
  const float NaN = std::numeric_limits<float>::quiet_NaN();
  for (bool Up : {true, false}) {
    std::vector<float> A{NaN, 2, NaN, 1, 3};
    orv::SortArray(A, Up);
    EXPECT_EQ(A[0], Up ? 1.0f : 3.0f);
    EXPECT_EQ(A[1], 2.0f);
    EXPECT_EQ(A[2], Up ? 3.0f : 1.0f);
    EXPECT_TRUE(std::isnan(A[3]) && std::isnan(A[4]));
  }
}

// The cells' bytes after every pass, so that NaN payloads and signed zeros count.
template <class T>
struct TPassBytes {
  const std::vector<T>& A;
  std::vector<std::string> Seen;
  void operator()() { Seen.emplace_back(reinterpret_cast<const char*>(A.data()), A.size() * sizeof(T)); }
};

// SortArray takes the head of a pass several pairs at once (its lane pass);
// after every pass its cells must be those of the loop as written, pair by
// pair, NaN last (core/combsort.h without a lane pass).
template <class T>
void ExpectPlainLoopPassForPass(const std::vector<T>& In, bool Up) {
  std::vector<T> Plain = In;
  TPassBytes<T> Want{Plain, {}};
  T* P = Plain.data();
  const auto N = static_cast<int64_t>(Plain.size());
  orv::detail::CombSortByKey(
      int64_t{0}, N - 1, N, Up, [P](int64_t I) { return P[I]; },
      [P](int64_t I, int64_t J) { std::swap(P[I], P[J]); }, Want);
  std::vector<T> Lanes = In;
  TPassBytes<T> Got{Lanes, {}};
  PassCounter C;
  orv::MathFeedBackProc = [&](double) { Got(); };
  orv::SortArray(std::span<T>(Lanes), Up);
  ASSERT_EQ(Got.Seen.size(), Want.Seen.size()) << In.size() << " values, ascending " << Up;
  for (std::size_t K = 0; K < Want.Seen.size(); ++K)
    ASSERT_EQ(Got.Seen[K], Want.Seen[K]) << In.size() << " values, ascending " << Up << ", pass " << K + 1;
}

TEST(SortArray, LanePassExchangesAsThePlainLoopPassForPass) {
  // Few distinct values (ties), NaN of two payloads and signs, both zeros;
  // sizes around the lane counts (4 doubles, 8 singles or integers) and
  // larger, whose last passes take gaps 15 to 1 (each has its own lanes).
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const double Odd[] = {NaN, -NaN, std::bit_cast<double>(0x7FF0000000000123ull), 0.0, -0.0};
  std::mt19937 Gen(46);
  for (const int N : {2, 5, 8, 9, 17, 60, 100, 1001, 3000}) {
    std::vector<double> D(N);
    std::vector<float> F(N);
    std::vector<int32_t> I(N);
    for (int K = 0; K < N; ++K) {
      const int32_t V = static_cast<int32_t>(Gen() % 41) - 20;
      I[K] = Gen() % 5 == 0 ? std::numeric_limits<int32_t>::min() + 20 + V : V;  // near the end of the range
      D[K] = Gen() % 9 == 0 ? Odd[Gen() % 5] : V / 4.0;
      F[K] = static_cast<float>(D[K]);
    }
    for (const bool Up : {true, false}) {
      ExpectPlainLoopPassForPass(D, Up);
      ExpectPlainLoopPassForPass(F, Up);
      ExpectPlainLoopPassForPass(I, Up);
    }
  }
}

TEST(SortArray, KindSelectsTheElementType) {
  std::vector<double> D{3, 1, 2};
  orv::SortArray(D.data(), 3, orv::vkDouble, true);
  EXPECT_EQ(D, (std::vector<double>{1, 2, 3}));
  orv::SortArray(D.data(), 3, orv::vkReal, false);
  EXPECT_EQ(D, (std::vector<double>{3, 2, 1}));
  std::vector<float> F{3, 1, 2};
  orv::SortArray(F.data(), 3, orv::vkSingle, true);
  EXPECT_EQ(F, (std::vector<float>{1, 2, 3}));
  std::vector<int32_t> I{3, 1, 2, 5};
  orv::SortArray(I.data(), 3, orv::vkInteger, true);  // only the first N
  EXPECT_EQ(I, (std::vector<int32_t>{1, 2, 3, 5}));
  orv::SortArray(I.data(), 4, orv::vkLongInt, false);
  EXPECT_EQ(I, (std::vector<int32_t>{5, 3, 2, 1}));

  // Unknown kinds, N <= 1 and nil data leave everything alone.
  PassCounter C;
  orv::SortArray(I.data(), 4, static_cast<orv::TVarKind>(5), true);
  orv::SortArray(I.data(), 1, orv::vkInteger, true);
  orv::SortArray(I.data(), -3, orv::vkInteger, true);
  orv::SortArray(nullptr, 4, orv::vkInteger, true);
  EXPECT_EQ(I, (std::vector<int32_t>{5, 3, 2, 1}));
  EXPECT_EQ(C.Passes(), 0.0);
}

TEST(SortIntoArray, InsertsBeforeTheFirstElementOnTheRightSide) {
  using V = std::vector<double>;
  const V Base{1, 3, 7, 9};
  V A = Base;
  EXPECT_EQ(orv::SortIntoArray(A, 5.0, true, false), 2);
  EXPECT_EQ(A, (V{1, 3, 5, 7}));
  A = Base;
  EXPECT_EQ(orv::SortIntoArray(A, 10.0, true, false), -1);
  EXPECT_EQ(A, Base);
  EXPECT_EQ(orv::SortIntoArray(A, 3.0, true, false), -1);
  EXPECT_EQ(A, Base);
  EXPECT_EQ(orv::SortIntoArray(A, 3.0, true, true), 1);
  EXPECT_EQ(A, (V{1, 3, 3, 7}));
  A = Base;
  EXPECT_EQ(orv::SortIntoArray(A, 0.0, true, false), 0);
  EXPECT_EQ(A, (V{0, 1, 3, 7}));
  A = Base;
  EXPECT_EQ(orv::SortIntoArray(A, 8.0, true, false), 3);  // replaces the last element
  EXPECT_EQ(A, (V{1, 3, 7, 8}));

  // Descending, and the other element types.
  std::vector<int32_t> I{9, 7, 3, 1};
  EXPECT_EQ(orv::SortIntoArray(I, 5, false, false), 2);
  EXPECT_EQ(I, (std::vector<int32_t>{9, 7, 5, 3}));
  EXPECT_EQ(orv::SortIntoArray(I, 0, false, false), -1);
  EXPECT_EQ(orv::SortIntoArray(I, 7, false, false), -1);
  EXPECT_EQ(orv::SortIntoArray(I, 7, false, true), 1);
  EXPECT_EQ(I, (std::vector<int32_t>{9, 7, 7, 5}));
  std::vector<float> F{2.5f};
  EXPECT_EQ(orv::SortIntoArray(F, 1.0f, true, false), 0);
  EXPECT_EQ(F[0], 1.0f);

  // Empty arrays and NaN values insert nothing.
  EXPECT_EQ(orv::SortIntoArray(std::span<double>(), 1.0, true, true), -1);
  A = Base;
  EXPECT_EQ(orv::SortIntoArray(A, std::nan(""), true, true), -1);
  EXPECT_EQ(A, Base);
}

TEST(SortIntoArray, KindSelectedOverloadCountsFromOne) {
  using V = std::vector<double>;
  const V Base{1, 3, 7, 9};
  V A = Base;
  double X = 5;
  EXPECT_EQ(orv::SortIntoArray(A.data(), 4, orv::vkDouble, &X, true, false), 3);
  EXPECT_EQ(A, (V{1, 3, 5, 7}));
  A = Base;
  X = 10;
  EXPECT_EQ(orv::SortIntoArray(A.data(), 4, orv::vkReal, &X, true, false), 0);
  X = 3;
  EXPECT_EQ(orv::SortIntoArray(A.data(), 4, orv::vkDouble, &X, true, false), 0);
  EXPECT_EQ(A, Base);
  EXPECT_EQ(orv::SortIntoArray(A.data(), 4, orv::vkDouble, &X, true, true), 2);
  EXPECT_EQ(A, (V{1, 3, 3, 7}));

  std::vector<float> F{4, 2};
  float Y = 3;
  EXPECT_EQ(orv::SortIntoArray(F.data(), 2, orv::vkSingle, &Y, false, false), 2);
  EXPECT_EQ(F, (std::vector<float>{4, 3}));
  std::vector<int32_t> I{1, 5};
  int32_t Z = 2;
  EXPECT_EQ(orv::SortIntoArray(I.data(), 2, orv::vkLongInt, &Z, true, false), 2);
  EXPECT_EQ(I, (std::vector<int32_t>{1, 2}));

  // Unknown kind, no elements, nil pointers: not inserted, nothing read.
  EXPECT_EQ(orv::SortIntoArray(I.data(), 2, static_cast<orv::TVarKind>(9), &Z, true, false), 0);
  EXPECT_EQ(orv::SortIntoArray(I.data(), 0, orv::vkInteger, &Z, true, false), 0);
  EXPECT_EQ(orv::SortIntoArray(nullptr, 2, orv::vkInteger, &Z, true, false), 0);
  EXPECT_EQ(orv::SortIntoArray(I.data(), 2, orv::vkInteger, nullptr, true, false), 0);
  EXPECT_EQ(I, (std::vector<int32_t>{1, 2}));
}

TEST(InsertIntoArray, MovesTheTailUpAndIgnoresPositionsOutside) {
  using V = std::vector<int32_t>;
  V A{1, 2, 3, 4};
  orv::InsertIntoArray(A, 9, 1);
  EXPECT_EQ(A, (V{1, 9, 2, 3}));
  orv::InsertIntoArray(A, 8, 3);
  EXPECT_EQ(A, (V{1, 9, 2, 8}));
  orv::InsertIntoArray(A, 7, 0);
  EXPECT_EQ(A, (V{7, 1, 9, 2}));
  for (int32_t Bad : {4, 100, -1, INT32_MIN}) orv::InsertIntoArray(A, 0, Bad);
  EXPECT_EQ(A, (V{7, 1, 9, 2}));
  orv::InsertIntoArray(std::span<int32_t>(), 5, 0);

  std::vector<double> D{1, 2, 3};
  const double X = 0.5;
  orv::InsertIntoArray(D.data(), 3, orv::vkDouble, &X, 1);
  EXPECT_EQ(D, (std::vector<double>{0.5, 1, 2}));
  orv::InsertIntoArray(D.data(), 3, orv::vkDouble, &X, 3);
  EXPECT_EQ(D, (std::vector<double>{0.5, 1, 0.5}));
  for (int32_t Bad : {4, 0, -2, INT32_MIN}) orv::InsertIntoArray(D.data(), 3, orv::vkDouble, &X, Bad);
  orv::InsertIntoArray(D.data(), 3, static_cast<orv::TVarKind>(200), &X, 2);
  orv::InsertIntoArray(D.data(), 3, orv::vkDouble, nullptr, 2);
  EXPECT_EQ(D, (std::vector<double>{0.5, 1, 0.5}));
  std::vector<float> F{1, 2};
  const float Y = 5;
  orv::InsertIntoArray(F.data(), 2, orv::vkSingle, &Y, 2);
  EXPECT_EQ(F, (std::vector<float>{1, 5}));
  orv::InsertIntoArray(F, 6.0f, 0);
  EXPECT_EQ(F, (std::vector<float>{6, 1}));
}

TEST(QuickSelect, ReturnsTheKthSmallestAndPartitionsAsPinned) {
  // Worked by hand: pivots 3 (index 2), then 1, then 2.
  std::vector<double> A{4, 1, 3, 5, 2};
  EXPECT_EQ(orv::QuickSelect(A, 1, 0, 4), 2.0);
  EXPECT_EQ(A, (std::vector<double>{1, 2, 3, 5, 4}));

  // Against a full sort, for every K of whole arrays and of inner ranges.
  std::mt19937 Gen(11);
  std::uniform_int_distribution<int> Dist(0, 20);
  for (int n : {1, 2, 3, 7, 40}) {
    std::vector<double> Src(n);
    for (auto& x : Src) x = Dist(Gen);
    for (int Low = 0; Low < n; Low += 3)
      for (int High = Low; High < n; High += 2)
        for (int K = Low; K <= High; ++K) {
          auto W = Src;
          auto Ref = std::vector<double>(Src.begin() + Low, Src.begin() + High + 1);
          std::sort(Ref.begin(), Ref.end());
          EXPECT_EQ(orv::QuickSelect(W, K, Low, High), Ref[K - Low]) << n << " " << Low << " " << High << " " << K;
          // Only Low..High is reordered, and nothing is lost.
          for (int k = 0; k < n; ++k)
            if (k < Low || k > High) {
              EXPECT_EQ(W[k], Src[k]);
            }
          auto Got = std::vector<double>(W.begin() + Low, W.begin() + High + 1);
          std::sort(Got.begin(), Got.end());
          EXPECT_EQ(Got, Ref);
        }
  }
}

TEST(QuickSelect, EqualValuesEmptyRangesAndBadBoundsLeaveTheDataAlone) {
  // All equal (+0 and -0 compare equal): Data[Low] comes back, nothing moves.
  std::vector<double> Z{0.0, -0.0, 0.0, -0.0};
  EXPECT_FALSE(std::signbit(orv::QuickSelect(Z, 0, 0, 3)));
  EXPECT_TRUE(std::signbit(orv::QuickSelect(Z, 2, 1, 3)));
  EXPECT_TRUE(std::signbit(Z[1]) && std::signbit(Z[3]) && !std::signbit(Z[0]) && !std::signbit(Z[2]));

  const std::vector<double> Src{5, 3, 8, 1};
  std::vector<double> A = Src;
  EXPECT_EQ(orv::QuickSelect(A, 0, 2, 1), 0.0);  // High < Low
  EXPECT_EQ(orv::QuickSelect(A, 0, 1, 3), 0.0);  // K below the range
  EXPECT_EQ(orv::QuickSelect(A, 3, 0, 2), 0.0);  // K above the range
  EXPECT_EQ(orv::QuickSelect(A, 0, -1, 2), 0.0);  // range outside the array
  EXPECT_EQ(orv::QuickSelect(A, 4, 2, 4), 0.0);
  EXPECT_EQ(orv::QuickSelect(std::span<double>(), 0, 0, 0), 0.0);
  EXPECT_EQ(A, Src);
  EXPECT_EQ(orv::QuickSelect(A, 3, 3, 3), 1.0);  // one element

  // NaN takes part in no comparison; the selection still ends.
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  for (int K = 0; K < 6; ++K) {
    std::vector<double> B{NaN, 3, 1, NaN, 2, NaN};
    orv::QuickSelect(B, K, 0, 5);
    EXPECT_EQ(std::count_if(B.begin(), B.end(), [](double x) { return std::isnan(x); }), 3);
  }
}

TEST(QuickSelect, RunsOfTiesAndOfNaNLeaveTheRangeAtOnce) {
  // Ties of the least value left the range one per pass: 300000 zeros with a
  // single 1 took minutes. Values: the k-th smallest by counting.
  const int N = 300000;
  for (const int K : {0, 150000, N - 2, N - 1}) {
    std::vector<double> Z(N, 0.0);
    Z[100000] = 1;
    EXPECT_EQ(orv::QuickSelect(Z, K, 0, N - 1), K == N - 1 ? 1.0 : 0.0) << K;
  }
  // Every second cell NaN: NaN has no rank, but the selection ends and loses nothing.
  std::vector<double> B(N);
  for (int I = 0; I < N; ++I) B[I] = I % 2 ? std::numeric_limits<double>::quiet_NaN() : I;
  orv::QuickSelect(B, N - 10, 0, N - 1);
  EXPECT_EQ(std::count_if(B.begin(), B.end(), [](double x) { return std::isnan(x); }), N / 2);
}

TEST(QuickSelect, OrdersThatDefeatTheMiddlePivotEndInTime) {
  // A single peak, 0, 1, ..., N/2, ..., 1 (0 and the top once, the rest
  // twice), took a pass per cell; a sawtooth of short teeth as well. Reference:
  // the sorted values by counting (peak: sorted[k] = ceil(k / 2) below the top).
  const int N = 400000;
  for (const int K : {0, 1, 99999, N / 2, N - 2, N - 1}) {
    std::vector<double> Peak(N);
    for (int I = 0; I < N; ++I) Peak[I] = I <= N / 2 ? I : N - I;
    EXPECT_EQ(orv::QuickSelect(Peak, K, 0, N - 1), K == N - 1 ? N / 2 : (K + 1) / 2) << K;
    EXPECT_EQ(std::accumulate(Peak.begin(), Peak.end(), 0.0), (N / 2.0) * (N / 2.0)) << "nothing lost";
  }
  // Teeth 0..999 (400 of each value): sorted[k] = floor(k / 400).
  std::vector<double> Saw(N);
  for (int I = 0; I < N; ++I) Saw[I] = I % 1000;
  EXPECT_EQ(orv::QuickSelect(Saw, 123456, 0, N - 1), 308.0);
}

TEST(SortSwap, ExchangesOutOfOrderPairsAndEqualPairsOnlyAscending) {
  double A = 2, B = 1;
  EXPECT_TRUE(orv::SortSwap(A, B, true));
  EXPECT_EQ(A, 1.0);
  EXPECT_EQ(B, 2.0);
  EXPECT_FALSE(orv::SortSwap(A, B, true));
  EXPECT_TRUE(orv::SortSwap(A, B, false));
  EXPECT_EQ(A, 2.0);
  EXPECT_FALSE(orv::SortSwap(A, B, false));
  double C = 4, D = 4;
  EXPECT_TRUE(orv::SortSwap(C, D, true));
  EXPECT_FALSE(orv::SortSwap(C, D, false));
  EXPECT_EQ(C, 4.0);
  EXPECT_EQ(D, 4.0);
}

template <class T>
void ExpectExchanged(T A, T B) {
  const T A0 = A, B0 = B;
  orv::ExChange(A, B);  // the overload of exactly T
  EXPECT_EQ(A, B0);
  EXPECT_EQ(B, A0);
}

TEST(ExChange, SwapsEveryTypeAndUntypedBytesInOrder) {
  ExpectExchanged<int32_t>(1, INT32_MIN);
  ExpectExchanged<uint8_t>(1, 255);
  ExpectExchanged<float>(1.5f, -2);
  ExpectExchanged<double>(1e300, -0.5);
#if ORV_HAS_EXTENDED
  ExpectExchanged<orv::Extended>(1.0L / 3, 2);
#endif
  ExpectExchanged<std::string>("a", std::string(100, 'b'));
  ExpectExchanged<bool>(true, false);
  ExpectExchanged<char>('x', 'y');
  ExpectExchanged<uint16_t>(1, 65535);
  ExpectExchanged<int8_t>(-128, 1);
  ExpectExchanged<uint32_t>(1, 4000000000u);
  ExpectExchanged<int64_t>(1, INT64_MIN);

  uint8_t X[4] = {1, 2, 3, 4}, Y[4] = {5, 6, 7, 8};
  orv::ExChange(X, Y, 3);
  EXPECT_EQ(std::vector<int>(X, X + 4), (std::vector<int>{5, 6, 7, 4}));
  EXPECT_EQ(std::vector<int>(Y, Y + 4), (std::vector<int>{1, 2, 3, 8}));
  orv::ExChange(X, Y, 0);
  orv::ExChange(nullptr, Y, 4);
  EXPECT_EQ(X[0], 5);
  // Overlapping buffers: byte by byte from the first, so the bytes rotate.
  uint8_t R[4] = {1, 2, 3, 4};
  orv::ExChange(R, R + 1, 3);
  EXPECT_EQ(std::vector<int>(R, R + 4), (std::vector<int>{2, 3, 4, 1}));
}

}  // namespace
