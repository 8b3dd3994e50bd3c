// A percentile of an array and the kernel estimate of a density.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "orvcalckit/ORV_statis.h"
#include "support/components.h"

namespace orv {
namespace {

using test::FillValues;
using test::Values;

TEST(PercentileOfArray, SelectsTheRoundedRankAndChecksItsArguments) {
  // Of 5, 1, 4, 2, 3: k = Round(2.5) = 2 (half to even); of 1, 4, 2: k =
  // Round(1.5) = 2; k = 5 capped at m - 1; the probability looked at first.
  const struct { double Prob; int32_t Low, High, Code; double Value; } Rows[] = {
      {50, 0, 4, 0, 3},  {50, 1, 3, 0, 4},  {0, 0, 4, 0, 1},   {100, 0, 4, 0, 5}, {101, 3, 1, -2, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0, 4, -2, 0}, {50, 3, 1, -3, 0}, {50, -1, 2, -1, 0},
      {50, 0, 5, -1, 0}};
  for (const auto& R : Rows) {
    TDoubleArray Data = {5, 1, 4, 2, 3};
    double Value = -7;
    EXPECT_EQ(PercentileOfArray(Data, R.Prob, R.Low, R.High, Value), R.Code) << R.Prob << ", " << R.Low;
    EXPECT_EQ(Value, R.Value) << R.Prob << ", " << R.Low << ", " << R.High;
  }
  TDoubleArray Empty;
  double Value = 1;
  EXPECT_EQ(PercentileOfArray(Empty, 50, 0, 0, Value), -1);
  EXPECT_EQ(Value, 0.0);
}

// The density of sorted values Xs with bandwidths Hs at x, the kernels
// summed in order: what the estimate must give to the bit, whichever terms
// it leaves out for underflowing to 0.
double Mixture(const std::vector<double>& Xs, const std::vector<double>& Hs, double x) {
  double s = 0;
  for (std::size_t i = 0; i < Xs.size(); ++i) {
    const double u = (x - Xs[i]) / Hs[i];
    s += 1 / Hs[i] * std::exp(-0.5 * (u * u));
  }
  return s * 0.39894228040143267794 / static_cast<double>(Xs.size());
}

TEST(EstimateProbDensity, BandwidthsFromTheNeighboursWithinTheWindow) {
  // Values, window, factor, the bandwidths by hand: one value has none
  // (window); 0 and 1 see each other once (spacing 1; reading outside as 0
  // made the first 0.5); equal values count their zero spacings (window / c);
  // 100 values 10 apart see three spacings of 10 on each side (fewer at the
  // ends), and their kernels reach only a few blocks of values.
  std::vector<double> Spread, SpreadH(100, 2.0);
  for (int i = 99; i >= 0; --i) Spread.push_back(10.0 * i);
  const struct { std::vector<double> Xs; double Window, Factor; std::vector<double> Hs; double Low, High; } Rows[] = {
      {{2}, 0.5, 2, {1}, -2, 6},          {{1, 0}, 2, 1, {1, 1}, -2, 6},  {{3, 3, 3}, 1, 1, {1, 0.25, 1}, -2, 6},
      {{0, 5}, 1, 0.5, {0.5, 0.5}, -2, 6}, {{2}, 0, -3, {1}, 6, -2},       {{2}, -1, 2, {2}, -2, 6},
      {Spread, 15, 0.2, SpreadH, -50, 1040}};
  for (const auto& R : Rows) {
    TVector Data, Density;
    FillValues(Data, R.Xs);
    int32_t MinIx = -1, MaxIx = -1;
    EstimateProbDensity(&Data, &Density, R.Low, R.High, R.Factor, R.Window, 80, MinIx, MaxIx, nullptr);
    std::vector<double> Sorted = R.Xs;
    std::sort(Sorted.begin(), Sorted.end());
    EXPECT_EQ(Values(Data), Sorted) << "sorted in place";
    ASSERT_EQ(Density.NrOfElem(), 81);
    for (int32_t s = 0; s <= 80; ++s)
      EXPECT_EQ(Density.Elem(s + 1), Mixture(Sorted, R.Hs, R.Low + s * (R.High - R.Low) / 80))
          << R.Xs[0] << ", step " << s;
  }
}

TEST(EstimateProbDensity, IntegratesToOneAndIgnoresWhereTheDataLie) {
  // 400 values on the normal quantiles; the trapezoid rule over -9..9.
  std::vector<double> Xs;
  for (int32_t i = 1; i <= 400; ++i) Xs.push_back(nDistriQuantile((i - 0.5) / 400));
  TVector Data, Density;
  FillValues(Data, Xs);
  int32_t MinIx = 0, MaxIx = 0;
  EstimateProbDensity(&Data, &Density, -9, 9, 1.5, 0.3, 10000, MinIx, MaxIx, nullptr);
  double Area = 0;
  for (int32_t s = 1; s <= 10000; ++s) Area += (Density.Elem(s) + Density.Elem(s + 1)) / 2 * 18.0 / 10000;
  EXPECT_NEAR(Area, 1.0, 1e-3);
  // The same values a million further on: the bandwidths were blown up at
  // the ends by the spacing to an imagined 0 beyond them.
  for (double& x : Xs) x += 1e6;
  TVector Far, FarDensity;
  FillValues(Far, Xs);
  EstimateProbDensity(&Far, &FarDensity, 1e6 - 9, 1e6 + 9, 1.5, 0.3, 10000, MinIx, MaxIx, nullptr);
  for (int32_t s = 1; s <= 10001; s += 50) EXPECT_NEAR(FarDensity.Elem(s), Density.Elem(s), 1e-6) << s;
}

TEST(EstimateProbDensity, StepsProgressAndNothingToDo) {
  TVector Data, Density;
  FillValues(Data, {1, 2, 4});
  std::vector<double> Counts, Percents;
  int32_t MinIx = -1, MaxIx = -1;
  EstimateProbDensity(&Data, &Density, 0, 5, 1, 1, 5, MinIx, MaxIx, [&](void* Sender, double Done, double Percent) {
    EXPECT_EQ(Sender, nullptr);
    Counts.push_back(Done);
    Percents.push_back(Percent);
  });
  EXPECT_EQ(Density.NrOfElem(), 11) << "5 steps count as 10";
  ASSERT_EQ(Counts.size(), 14u) << "3 values and 11 steps";
  EXPECT_EQ(Counts.back(), 14.0);
  EXPECT_DOUBLE_EQ(Percents.back(), 14.0 / 13 * 100);
  EXPECT_EQ(MaxIx, 4);  // 1.5 lies between 1 and 2
  EXPECT_EQ(MinIx, 11);
  EstimateProbDensity(&Data, &Density, 0, 5, 1, 1, 20000, MinIx, MaxIx, nullptr);
  EXPECT_EQ(Density.NrOfElem(), 10001);
  // An all-zero density writes neither index.
  MinIx = MaxIx = -1;
  FillValues(Data, {1e300});
  EstimateProbDensity(&Data, &Density, 0, 1, 1, 1, 10, MinIx, MaxIx, nullptr);
  EXPECT_EQ(MaxIx, -1);
  EXPECT_EQ(MinIx, 1);
  // A NaN spoils every sum; no index is written.
  MinIx = MaxIx = -1;
  FillValues(Data, {1, std::numeric_limits<double>::quiet_NaN(), 2});
  EstimateProbDensity(&Data, &Density, 0, 3, 1, 1, 10, MinIx, MaxIx, nullptr);
  EXPECT_TRUE(std::isnan(Density.Elem(5)));
  EXPECT_EQ(MaxIx, -1);
  EXPECT_EQ(MinIx, -1);
  EstimateProbDensity(nullptr, &Density, 0, 1, 1, 1, 20, MinIx, MaxIx, nullptr);
  EstimateProbDensity(&Data, nullptr, 0, 1, 1, 1, 20, MinIx, MaxIx, nullptr);
  EXPECT_EQ(Density.NrOfElem(), 11);
}

}  // namespace
}  // namespace orv
