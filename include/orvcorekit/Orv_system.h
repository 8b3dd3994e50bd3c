// Platform layer: the numeric helpers and the global uniform random generator
// that the library's routines take from their platform.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "Orv_export.h"

namespace orv {

// The extended floating type: 80-bit x87 in the 32-bit build, double in the
// 64-bit build. Overloads that exist only for it are guarded by ORV_HAS_EXTENDED.
#if defined(__i386__)
using Extended = long double;
#define ORV_HAS_EXTENDED 1
#else
using Extended = double;
#define ORV_HAS_EXTENDED 0
#endif

// Rounding and truncation to integers. Round is half to even, Trunc towards
// zero. Both saturate: values beyond the int64 range give INT64_MIN/INT64_MAX,
// NaN gives 0, so no conversion is ever undefined behaviour.
ORVCORE_API int64_t Round(double X);
ORVCORE_API int64_t Trunc(double X);
// The same into 32-bit Integer, saturating at INT32_MIN/INT32_MAX (NaN gives 0).
ORVCORE_API int32_t RoundInt(double X);
ORVCORE_API int32_t TruncInt(double X);
// Saturating narrowing of a 64-bit count or index.
constexpr int32_t SatInt32(int64_t V) {
  return V > INT32_MAX ? INT32_MAX : V < INT32_MIN ? INT32_MIN : static_cast<int32_t>(V);
}
// X rounded to the nearest integer, halves to even, in X's own type: no
// saturation, NaN and infinities come back as they are. Round is this,
// saturated into int64. Inline, so that loops over cells keep their loads
// hoisted (floor is a pure function; fmod, which may set errno, is avoided).
namespace detail {
template <class F>
inline F RoundHalfEvenT(F X) {
  const F Fl = std::floor(X);
  const F Diff = X - Fl;  // exact: X and its floor share the binade or X is integral
  if (Diff > F(0.5)) return Fl + 1;
  if (Diff < F(0.5)) return Fl;
  return std::floor(Fl * F(0.5)) * 2 == Fl ? Fl : Fl + 1;  // a half: to the even neighbour
}
}  // namespace detail
inline double RoundHalfEven(double X) { return detail::RoundHalfEvenT(X); }
// Integer and fractional part, both carrying the sign of X; Int(X) + Frac(X) == X.
ORVCORE_API double Int(double X);
ORVCORE_API double Frac(double X);
#if ORV_HAS_EXTENDED
ORVCORE_API int64_t Round(long double X);
ORVCORE_API int64_t Trunc(long double X);
ORVCORE_API long double Int(long double X);
ORVCORE_API long double Frac(long double X);
#endif

// X rounded to a multiple of 10^Digits, halves away from zero.
ORVCORE_API double SimpleRoundTo(double X, int32_t Digits = -2);

// Str(X : Width : Decimals). Decimals >= 0: fixed point with that many
// decimals. Decimals < 0: scientific, "-" or blank, one digit, ".", Width - 9
// further digits (at least one), "E", sign and four exponent digits. The
// text is padded with blanks on the left to Width and never cut. NaN and infinities give "NAN", "+INF" and "-INF".
// Width and Decimals above 4096 count as 4096 (so at most 4087 further
// digits); the digits beyond the exact value of X are zeros. Independent of
// the locale.
ORVCORE_API std::string Str(double X, int32_t Width, int32_t Decimals);
#if ORV_HAS_EXTENDED
ORVCORE_API std::string Str(long double X, int32_t Width, int32_t Decimals);
#endif

// The global uniform generator (xoshiro256**, seeded through splitmix64).
// It is process-wide state shared by all callers and not synchronised: calls
// from several threads at once must be serialised by the host.
ORVCORE_API double Random();                 // uniform in [0, 1), 53 random bits
ORVCORE_API int32_t Random(int32_t Range);   // uniform in 0..Range-1; 0 when Range <= 0
ORVCORE_API void Randomize();                // reseed from the clock, never the same seed twice
ORVCORE_API uint64_t RandSeed();             // the seed last set
ORVCORE_API void SetRandSeed(uint64_t Seed); // restart the sequence of that seed
// Normal with that mean and standard deviation: Mean + StdDev * z, z standard
// normal by the polar method from Random(). Each accepted pair gives two
// values; the second waits for the next call, and SetRandSeed and Randomize
// discard it, so a seed reproduces this sequence as well.
ORVCORE_API double RandomGauss(double Mean, double StdDev);

}  // namespace orv
