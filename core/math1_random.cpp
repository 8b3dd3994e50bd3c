// ORV_math1: the random generators on top of the platform's uniform generator,
// LongRand's own combined congruential generator, and compensated summation.
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "core/units.h"
#include "orvcalckit/ORV_math1.h"

namespace orv {

namespace {

// Shared by all callers and not synchronised, like the platform generator.
constinit int32_t LongRandS1 = 0;
constinit int32_t LongRandS2 = 0;
constinit int32_t LongRandS3 = 0;
constinit bool GRandomCached = false;
constinit double GRandomValue = 0;

// 32-bit shift left, the shifted-out bits lost.
int32_t Shl(int32_t X, int N) { return static_cast<int32_t>(static_cast<uint32_t>(X) << N); }

int32_t AbsMod(int32_t X, int32_t M) { return static_cast<int32_t>(std::llabs(X) % M); }

int32_t MulMod(int32_t S, int32_t F, int32_t M) { return static_cast<int32_t>(int64_t{S} * F % M); }

}  // namespace

namespace detail {

void Math1RandomStart() {
  GRandomCached = false;
  LongRandS1 = RoundInt(Random() * 990000);
  LongRandS2 = RoundInt(Random() * 990000);
  LongRandS3 = RoundInt(Random() * 990000);
}

}  // namespace detail

// Three congruential generators summed modulo 1 (own moduli and multipliers): Wichmann
// and Hill, "Algorithm AS 183: An efficient and portable pseudo-random number generator", 1982.
double LongRand(int32_t Seed) {
  if (Seed != 0) {
    const int32_t R = Seed % 990923;
    LongRandS1 = AbsMod(R, 990923);
    LongRandS2 = AbsMod(R ^ Shl(R, 8), 990923);
    LongRandS3 = AbsMod(R ^ Shl(R, 16), 990923);
  }
  LongRandS1 = MulMod(LongRandS1, 1187, 1001003);
  LongRandS2 = MulMod(LongRandS2, 983, 990923);
  LongRandS3 = MulMod(LongRandS3, 1283, 1400423);
  const double T = static_cast<double>(Extended(LongRandS1) / 1001003 + Extended(LongRandS2) / 990923 +
                                       Extended(LongRandS3) / 1400423);
  return Frac(T);
}

// Polar method: Marsaglia and Bray, "A convenient method for generating normal variables", 1964.
double GRandom() {
  if (GRandomCached) {
    GRandomCached = false;
    return GRandomValue;
  }
  double U, V, S;
  do {
    U = 2 * Random() - 1;
    V = 2 * Random() - 1;
    S = U * U + V * V;
  } while (S >= 1 || S == 0);  // S = 0 would take Ln(0)
  const double F = std::sqrt(-2 * std::log(S) / S);
  GRandomValue = U * F;
  GRandomCached = true;
  return V * F;
}

double CRandom(double Location, double Scale) {
  return Location + Scale * std::tan(std::numbers::pi * (Random() - 0.5));
}

bool BRandom(double Probability) {
  if (Probability >= 1) return true;
  return Random() < Probability;
}

// ---- TKahanSum ----------------------------------------------------------------

TKahanSum::TKahanSum(TComponent* AOwner) : TComponent(AOwner) { Reset(); }

std::string TKahanSum::ClassName() const { return "TKahanSum"; }

void TKahanSum::Reset() {
  Sum = 0;
  cps = 0;
}

// Kahan, "Further remarks on reducing truncation errors", CACM 8(1), 1965.
void TKahanSum::Add(double ANumber) {
  const double Y = ANumber - cps;
  const double T = Sum + Y;
  cps = (T - Sum) - Y;
  Sum = T;
}

}  // namespace orv
