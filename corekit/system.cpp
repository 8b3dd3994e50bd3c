// Platform layer: rounding, Str formatting and the global uniform generator.
#include "orvcorekit/Orv_system.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace orv {

namespace {

template <class F>
int64_t SaturateToInt64(F R) {
  // 2^63 is exact in every floating type; the cast is defined only strictly inside.
  constexpr F Limit = static_cast<F>(9223372036854775808.0);
  if (std::isnan(R)) return 0;
  if (R >= Limit) return std::numeric_limits<int64_t>::max();
  if (R < -Limit) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(R);
}

}  // namespace

int64_t Round(double X) { return SaturateToInt64(detail::RoundHalfEvenT(X)); }
int64_t Trunc(double X) { return SaturateToInt64(std::trunc(X)); }
int32_t RoundInt(double X) { return SatInt32(Round(X)); }
int32_t TruncInt(double X) { return SatInt32(Trunc(X)); }
double Int(double X) { return std::trunc(X); }
double Frac(double X) { return X - std::trunc(X); }
#if ORV_HAS_EXTENDED
int64_t Round(long double X) { return SaturateToInt64(detail::RoundHalfEvenT(X)); }
int64_t Trunc(long double X) { return SaturateToInt64(std::trunc(X)); }
long double Int(long double X) { return std::trunc(X); }
long double Frac(long double X) { return X - std::trunc(X); }
#endif

double SimpleRoundTo(double X, int32_t Digits) {
  if (!std::isfinite(X)) return X;
  const double Factor = std::pow(10.0, std::abs(static_cast<double>(Digits)));
  if (std::isinf(Factor)) return Digits < 0 ? X : 0.0 * X;  // step below every double, or above them all
  // Scale so that the rounding step is 1; multiplying by 10^n is exact for the
  // small powers where dividing by 10^-n is not.
  const double Scaled = Digits < 0 ? X * Factor : X / Factor;
  if (!std::isfinite(Scaled) || std::fabs(Scaled) >= 4503599627370496.0) return X;  // 2^52: already integral
  double T = std::trunc(Scaled);
  if (std::fabs(Scaled - T) >= 0.5) T += Scaled < 0 ? -1.0 : 1.0;
  return Digits < 0 ? T / Factor : T * Factor;
}

namespace {

// Str's field width, decimals and scientific digits count up to this: more
// is no number anyone reads, and a slip in a caller's arguments must not
// allocate without bound.
constexpr int32_t StrLimit = 4096;

std::string PadLeft(std::string S, int32_t Width) {
  if (static_cast<int64_t>(S.size()) < Width) S.insert(0, static_cast<size_t>(Width) - S.size(), ' ');
  return S;
}

template <class F>
std::string StrImpl(F X, int32_t Width, int32_t Decimals) {
  Width = std::min(Width, StrLimit);
  if (std::isnan(X)) return PadLeft("NAN", Width);
  if (std::isinf(X)) return PadLeft(X < 0 ? "-INF" : "+INF", Width);
  if (X == 0) X = 0;  // no sign on negative zero
  const bool Fixed = Decimals >= 0;
  const int32_t Digits = Fixed ? std::min(Decimals, StrLimit) : std::max(Width, 10) - 9;
  const auto Format = [&](char* First, char* Last) {
    return std::to_chars(First, Last, X, Fixed ? std::chars_format::fixed : std::chars_format::scientific, Digits);
  };
  // Most texts fit on the stack; the rest gets room for the integral digits
  // of the largest long double (4933), sign, point and the digits asked for.
  char Small[128];
  std::string Text;
  if (const auto R = Format(Small, Small + sizeof Small); R.ec == std::errc()) {
    Text.assign(Small, R.ptr);
  } else {
    Text.resize(static_cast<size_t>(4950 + Digits));
    Text.resize(static_cast<size_t>(Format(Text.data(), Text.data() + Text.size()).ptr - Text.data()));
  }
  if (Fixed) return PadLeft(std::move(Text), Width);
  // "-d.ddde+XX": the sign position, the mantissa, four exponent digits.
  const size_t EPos = Text.find('e');
  std::string Out = Text[0] == '-' ? std::string() : std::string(" ");
  Out.append(Text, 0, EPos);
  Out += 'E';
  Out += Text[EPos + 1];
  const size_t ExpDigits = Text.size() - EPos - 2;
  if (ExpDigits < 4) Out.append(4 - ExpDigits, '0');
  Out.append(Text, EPos + 2);
  return PadLeft(std::move(Out), Width);
}

}  // namespace

std::string Str(double X, int32_t Width, int32_t Decimals) { return StrImpl(X, Width, Decimals); }
#if ORV_HAS_EXTENDED
std::string Str(long double X, int32_t Width, int32_t Decimals) { return StrImpl(X, Width, Decimals); }
#endif

// ---- global uniform generator: xoshiro256** (Blackman and Vigna) ----------------
// Blackman and Vigna, "Scrambled linear pseudorandom number generators", ACM TOMS 47(4), 2021;
// seeds by splitmix64: Steele, Lea and Flood, "Fast splittable pseudorandom number generators", 2014.
namespace {

constexpr uint64_t SplitMix64(uint64_t& X) {
  uint64_t Z = (X += 0x9E3779B97F4A7C15ull);
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}

struct TGenState {
  uint64_t S[4];
};

// splitmix64 never yields the all-zero state that xoshiro cannot leave.
constexpr TGenState SeededState(uint64_t Seed) {
  TGenState G{};
  for (auto& W : G.S) W = SplitMix64(Seed);
  return G;
}

// Constant-initialised with seed 0: an unseeded program is reproducible, and the
// generator is ready before any start-up code of a library that uses it.
constinit TGenState Gen = SeededState(0);
constinit uint64_t GenSeed = 0;
constinit uint64_t LastClockSeed = 0;
constinit bool GaussSpareReady = false;  // the second value of RandomGauss's last pair
constinit double GaussSpare = 0;

constexpr uint64_t Rotl(uint64_t X, int K) { return (X << K) | (X >> (64 - K)); }

uint64_t NextRaw() {
  uint64_t* S = Gen.S;
  const uint64_t Result = Rotl(S[1] * 5, 7) * 9;
  const uint64_t T = S[1] << 17;
  S[2] ^= S[0];
  S[3] ^= S[1];
  S[1] ^= S[2];
  S[0] ^= S[3];
  S[2] ^= T;
  S[3] = Rotl(S[3], 45);
  return Result;
}

}  // namespace

void SetRandSeed(uint64_t Seed) {
  GenSeed = Seed;
  Gen = SeededState(Seed);
  GaussSpareReady = false;
}

uint64_t RandSeed() { return GenSeed; }

void Randomize() {
  uint64_t Seed = static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
          .count());
  // The clock may not advance between two calls; the seed still must.
  if (Seed <= LastClockSeed) Seed = LastClockSeed + 1;
  LastClockSeed = Seed;
  SetRandSeed(Seed);
}

double Random() { return static_cast<double>(NextRaw() >> 11) * 0x1.0p-53; }

// Polar method: Marsaglia and Bray, "A convenient method for generating normal
// variables", SIAM Review 6(3), 1964.
double RandomGauss(double Mean, double StdDev) {
  if (GaussSpareReady) {
    GaussSpareReady = false;
    return Mean + StdDev * GaussSpare;
  }
  double U, V, S;
  do {
    U = 2 * Random() - 1;
    V = 2 * Random() - 1;
    S = U * U + V * V;
  } while (S >= 1 || S == 0);  // S = 0 would take the logarithm of 0
  const double F = std::sqrt(-2 * std::log(S) / S);
  GaussSpare = U * F;
  GaussSpareReady = true;
  return Mean + StdDev * (V * F);
}

int32_t Random(int32_t Range) {
  if (Range <= 0) return 0;
  // Lemire's multiply-and-reject: unbiased, rarely divides. Lemire, "Fast random
  // integer generation in an interval", ACM TOMACS 29(1), 2019.
  const uint64_t R = static_cast<uint64_t>(Range);
  uint64_t M = (NextRaw() >> 32) * R;
  uint32_t Low = static_cast<uint32_t>(M);
  if (Low < R) {
    const uint32_t Threshold = static_cast<uint32_t>(-static_cast<uint32_t>(R)) % static_cast<uint32_t>(R);
    while (Low < Threshold) {
      M = (NextRaw() >> 32) * R;
      Low = static_cast<uint32_t>(M);
    }
  }
  return static_cast<int32_t>(M >> 32);
}

}  // namespace orv
