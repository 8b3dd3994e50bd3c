// Random generators and compensated summation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/ORV_package.h"

namespace {

TEST(LongRand, SeedsGiveTheirOwnRepeatableSequences) {
  // Reference values from an independent Python model of the three streams
  // (truncating remainder, 32-bit shifts, the three quotients added in double).
  struct Case {
    int32_t Seed;
    double First[4];
  };
  const Case Cases[] = {
      {1, {0.2979690208513005, 0.6968748289645017, 0.6440085868716272, 0.8541923406552778}},
      {-5, {0.4707635423877477, 0.9787435396842146, 0.917023384113909, 0.38592460928926475}},
      {123456789, {0.9715454786547153, 0.04369184231243661, 0.6405228147211792, 0.9670860364853303}},
      {INT32_MIN, {0.38351777806779497, 0.3710590321710132, 0.3400243243337062, 0.8361647094981182}},
      {INT32_MAX, {0.5166717926221054, 0.7870059459445687, 0.7201846151086748, 0.20774704841535785}},
  };
  for (const auto& C : Cases)
    for (int Round = 0; Round < 2; ++Round) {
      EXPECT_NEAR(orv::LongRand(C.Seed), C.First[0], 1e-15) << C.Seed;
      for (int k = 1; k < 4; ++k) EXPECT_NEAR(orv::LongRand(0), C.First[k], 1e-15) << C.Seed << " " << k;
    }
  // Values stay in [0, 1) over a long run.
  orv::LongRand(77);
  for (int k = 0; k < 100000; ++k) {
    const double X = orv::LongRand(0);
    ASSERT_TRUE(X >= 0.0 && X < 1.0) << k;
  }
}

TEST(LongRand, SeedsThatClearTheStateGiveZeroUntilReseeded) {
  for (int32_t Seed : {990923, -990923, 2 * 990923}) {
    EXPECT_EQ(orv::LongRand(Seed), 0.0);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(orv::LongRand(0), 0.0);
  }
  EXPECT_NEAR(orv::LongRand(1), 0.2979690208513005, 1e-15);
}

// Whether the next GRandom call draws from the platform generator (it does not
// when it returns the cached second value of a pair); each call flips that.
bool GRandomDraws() {
  orv::SetRandSeed(9);
  const double First = orv::Random();
  orv::SetRandSeed(9);
  orv::GRandom();
  return orv::Random() != First;
}

// Unload and load again: the unit's start work forgets the cached value.
void RestartLibrary() {
  orv::Finalize();
  orv::Initialize();
}

TEST(Math1Start, SetsTheGeneratorsFromThePlatformGeneratorAndClearsTheFeedback) {
  if (!GRandomDraws()) GRandomDraws();  // now a value is cached
  orv::MathFeedBackProc = [](double) {};
  orv::Finalize();
  orv::SetRandSeed(4242);
  orv::Initialize();
  EXPECT_FALSE(orv::MathFeedBackProc);
  // The three LongRand words were drawn first, second, third.
  orv::SetRandSeed(4242);
  const int64_t W1 = orv::Round(orv::Random() * 990000);
  const int64_t W2 = orv::Round(orv::Random() * 990000);
  const int64_t W3 = orv::Round(orv::Random() * 990000);
  const double T = static_cast<double>(W1 * 1187 % 1001003) / 1001003 +
                   static_cast<double>(W2 * 983 % 990923) / 990923 +
                   static_cast<double>(W3 * 1283 % 1400423) / 1400423;
  EXPECT_NEAR(orv::LongRand(0), T - std::trunc(T), 1e-15);
  EXPECT_TRUE(GRandomDraws());  // the cached value is gone
  // A second start without a shut-down changes nothing.
  orv::MathFeedBackProc = [](double) {};
  orv::Initialize();
  EXPECT_TRUE(static_cast<bool>(orv::MathFeedBackProc));
  orv::Finalize();  // balances the extra start, which did nothing either
  orv::MathFeedBackProc = nullptr;
}

TEST(GRandom, PolarPairsTakeTwoDrawsPerAttemptAndServeTheSecondFromCache) {
  RestartLibrary();  // no value cached
  // Replay the draws: the first pair returns v * f, then u * f without drawing.
  for (uint64_t Seed : {3u, 99u, 123456u}) {
    orv::SetRandSeed(Seed);
    double U, V, S;
    int Draws = 0;
    do {
      U = 2 * orv::Random() - 1;
      V = 2 * orv::Random() - 1;
      S = U * U + V * V;
      Draws += 2;
    } while (S >= 1 || S == 0);
    const double F = std::sqrt(-2 * std::log(S) / S);
    const double Next = orv::Random();
    orv::SetRandSeed(Seed);
    EXPECT_DOUBLE_EQ(orv::GRandom(), V * F);
    EXPECT_DOUBLE_EQ(orv::GRandom(), U * F);
    EXPECT_EQ(orv::Random(), Next) << Draws;  // the cached value drew nothing
  }
}

TEST(GRandom, IsStandardNormal) {
  orv::SetRandSeed(2024);
  const int N = 400000;
  double Sum = 0, Sum2 = 0;
  int Inside = 0;
  for (int k = 0; k < N; ++k) {
    const double X = orv::GRandom();
    Sum += X;
    Sum2 += X * X;
    if (std::fabs(X) < 1.959963984540054) ++Inside;  // the two-sided 95 % point
  }
  const double Mean = Sum / N;
  EXPECT_NEAR(Mean, 0.0, 5 / std::sqrt(N));
  EXPECT_NEAR(Sum2 / N - Mean * Mean, 1.0, 0.01);
  EXPECT_NEAR(Inside / double(N), 0.95, 0.003);
}

TEST(CRandom, HasTheCauchyQuartilesAroundTheLocation) {
  // Quartiles of a Cauchy distribution: Location -/+ Scale.
  orv::SetRandSeed(7);
  std::vector<double> X(200001);
  for (auto& V : X) V = orv::CRandom(2.0, 3.0);
  std::sort(X.begin(), X.end());
  EXPECT_NEAR(X[50000], -1.0, 0.06);
  EXPECT_NEAR(X[100000], 2.0, 0.04);
  EXPECT_NEAR(X[150000], 5.0, 0.06);
  // One platform draw per value.
  orv::SetRandSeed(8);
  orv::CRandom(0, 1);
  const double Next = orv::Random();
  orv::SetRandSeed(8);
  orv::Random();
  EXPECT_EQ(orv::Random(), Next);
}

TEST(BRandom, CertainProbabilitiesAndFrequencies) {
  // 1 and above: true without a draw.
  orv::SetRandSeed(5);
  EXPECT_TRUE(orv::BRandom(1.0));
  EXPECT_TRUE(orv::BRandom(5));
  const double First = orv::Random();
  orv::SetRandSeed(5);
  EXPECT_EQ(orv::Random(), First);
  // 0, below and NaN: always false.
  for (int k = 0; k < 1000; ++k) {
    ASSERT_FALSE(orv::BRandom(0.0));
    ASSERT_FALSE(orv::BRandom(-2.0));
    ASSERT_FALSE(orv::BRandom(std::nan("")));
  }
  int True = 0;
  const int N = 200000;
  for (int k = 0; k < N; ++k) True += orv::BRandom(0.3);
  EXPECT_NEAR(True / double(N), 0.3, 0.005);
}

TEST(TKahanSum, CompensatesWhatPlainAdditionLoses) {
  orv::TKahanSum K(nullptr);
  EXPECT_EQ(K.Sum, 0.0);
  EXPECT_EQ(K.ClassName(), "TKahanSum");
  double Plain = 1.0;
  K.Add(1.0);
  for (int k = 0; k < 10000000; ++k) {
    K.Add(1e-16);
    Plain += 1e-16;
  }
  EXPECT_EQ(Plain, 1.0);
  EXPECT_NEAR(K.Sum, 1.000000001, 2.3e-16);  // within one unit in the last place
  K.Reset();
  EXPECT_EQ(K.Sum, 0.0);
  K.Add(1e-16);  // no compensation left over from before the reset
  EXPECT_EQ(K.Sum, 1e-16);

  // Owned by a component, deleted with it.
  auto* Owner = new orv::TComponent(nullptr);
  auto* Owned = new orv::TKahanSum(Owner);
  EXPECT_EQ(Owner->ComponentCount(), 1);
  Owned->Add(2.5);
  EXPECT_EQ(Owned->Sum, 2.5);
  delete Owner;
}

}  // namespace
