// Sorting, selection and exchange in plain arrays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "orvcalckit/ORV_math1.h"

namespace {

// Counts the passes a sort reports through ProcStat and MathFeedBackProc.
class PassCounter {
 public:
  PassCounter() {
    orv::ProcStat = 100.0;
    orv::MathFeedBackProc = [this](double V) { Seen.push_back(V); };
  }
  ~PassCounter() { orv::MathFeedBackProc = nullptr; }
  double Passes() const { return orv::ProcStat.load() - 100.0; }
  std::vector<double> Seen;
};

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

}  // namespace
