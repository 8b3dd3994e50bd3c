// Unit ORV_math1: scalar mathematics, integers and primes, interpolation, bits.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <numeric>
#include <initializer_list>
#include <span>
#include <string>

#include "core/isqrt.h"
#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/detail/index.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// ---- constant tables ----
constexpr int32_t PrimeCount = 4792;

constexpr std::array<int32_t, PrimeCount> MakePrimeTable() {
  constexpr int32_t Limit = 46337;  // the 4792nd prime: beyond sqrt(2^31)
  std::array<bool, Limit + 1> Composite{};
  std::array<int32_t, PrimeCount> P{};
  int32_t n = 0;
  for (int32_t i = 2; i <= Limit; ++i) {
    if (Composite[Ix(i)]) continue;
    P[Ix(n++)] = i;
    for (int64_t j = int64_t{i} * i; j <= Limit; j += i) Composite[Ix(j)] = true;
  }
  return P;
}
constexpr std::array<int32_t, PrimeCount> Primes = MakePrimeTable();
static_assert(Primes[PrimeCount - 1] == 46337);

constexpr std::array<uint8_t, 256> MakeBitReversalTable() {
  std::array<uint8_t, 256> T{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b)
      if (i & (1 << b)) r |= 0x80 >> b;
    T[Ix(i)] = static_cast<uint8_t>(r);
  }
  return T;
}
constexpr std::array<uint8_t, 256> BitReversed = MakeBitReversalTable();

uint64_t Magnitude(int32_t n) { return static_cast<uint64_t>(std::abs(int64_t{n})); }

// c x 10^k rounded once where it can be; the tiny end of the range is reached in two steps.
double ScalePow10(double c, int32_t k) {
  if (k >= 0) return c * std::pow(10.0, k);
  if (k < -300) return c / 1e300 / std::pow(10.0, -k - 300);
  return c / std::pow(10.0, -k);
}

enum class TSeriesDir { Nearest, Larger, Smaller };  // in magnitude

double Series125(double x, TSeriesDir Dir) {
  if (x == 0) return 0;
  if (!std::isfinite(x)) return x;
  const double A = std::fabs(x);
  double L = std::log10(A);
  const double RL = static_cast<double>(Round(L));
  if (std::fabs(L - RL) < 1e-14) L = RL;
  const int32_t k = IntNeg(L);
  // Compare x with the series members themselves, so that a member maps onto itself.
  auto S = [k](double c) { return ScalePow10(c, k); };
  double c;
  switch (Dir) {
    case TSeriesDir::Nearest:
      c = A < S(1.5) ? 1 : A < S(3) ? 2 : A < S(8) ? 5 : 10;
      break;
    case TSeriesDir::Larger:
      c = A <= S(1) ? 1 : A <= S(2) ? 2 : A <= S(5) ? 5 : 10;
      break;
    default:
      c = A < S(2) ? 1 : A < S(5) ? 2 : A < S(10) ? 5 : 10;
      break;
  }
  return std::copysign(S(c), x);
}

double PolySum(std::span<const double> c, int32_t Order, double x) {
  if (Order < 0 || Order >= std::ssize(c)) throw EORVMath1Error("Polynomial: invalid order of polynomial");
  double Sum = 0;
  double Power = 1;
  for (int32_t i = 0; i <= Order; ++i) {
    Sum += c[Ix(i)] * Power;
    if (i < Order) Power *= x;
  }
  return Sum;
}

template <class T>
double InterpolEquidistant(double x, double XFirst, double XLast, std::span<const T> Table) {
  const int64_t n = std::ssize(Table);
  if (n < 2) throw EORVMath1Error("InterpolTable: pivot array must contain at least 2 values");
  if (XFirst == XLast) throw EORVMath1Error("InterpolTable: specified range of pivot array is zero");
  // Integer samples are taken as reals, so differences never overflow.
  auto V = [&Table](int64_t i) { return static_cast<double>(Table[Ix(i)]); };
  const double Segs = static_cast<double>(n - 1);
  const double t = (x - XFirst) / (XLast - XFirst);
  if (t < 0) return V(0) + (V(1) - V(0)) * t * Segs;
  if (t > 1) return V(n - 1) + (V(n - 1) - V(n - 2)) * (t - 1) * Segs;
  if (std::isnan(t)) return t;
  const double p = t * Segs;
  const int64_t i = Trunc(p);
  if (i >= n - 1) return V(n - 1);  // t = 1: there is no segment beyond the last value
  return V(i) + (V(i + 1) - V(i)) * Frac(p);
}

double LineThrough(double xa, double ya, double xb, double yb, double x) {
  return ya + (yb - ya) * (x - xa) / (xb - xa);
}

template <class T>
T Confine(T x, T Bound1, T Bound2) {
  const T Lo = std::min(Bound1, Bound2);
  const T Hi = std::max(Bound1, Bound2);
  return x < Lo ? Lo : x > Hi ? Hi : x;
}

// The failures of a division that C++ would answer silently with NaN or infinity.
void CheckDivision(const char* Routine, std::initializer_list<double> Args, double Divisor) {
  for (const double a : Args)
    if (!std::isfinite(a)) throw EInvalidOp(std::string(Routine) + ": invalid argument");
  if (Divisor == 0) throw EZeroDivide(std::string(Routine) + ": division by zero");
}

template <class T>
T ReverseBytes(T x) {
  auto Bytes = std::bit_cast<std::array<uint8_t, sizeof(T)>>(x);
  std::reverse(Bytes.begin(), Bytes.end());
  return std::bit_cast<T>(Bytes);
}

}  // namespace


// ---- functions of one value ----

double lg(double x) {
  if (x <= 0) throw EMathError("logarithm: invalid argument");
  return std::log10(x);
}

double ld(double x) {
  if (x <= 0) throw EMathError("logarithm: invalid argument");
  return std::log2(x);
}

// The library functions keep full relative accuracy near 0, where the
// exponential forms cancel (sinh(1e-17) would give 0).
double sinh(double x) { return std::sinh(x); }
double cosh(double x) { return std::cosh(x); }
double tgh(double x) { return std::tanh(x); }

double tg(double x) {
  const double c = std::cos(x);
  if (c == 0) throw EMathError("tangens overflow");
  return std::sin(x) / c;
}

double cot(double x) {
  const double s = std::sin(x);
  if (s == 0) throw EMathError("cotangens overflow");
  return std::cos(x) / s;
}

double Signum(double x) { return x < 0 ? -1.0 : 1.0; }
int32_t IntPos(double x) { return TruncInt(std::ceil(x)); }
int32_t IntNeg(double x) { return TruncInt(std::floor(x)); }

double Round125(double x) { return Series125(x, TSeriesDir::Nearest); }
double RoundPos125(double x) { return Series125(x, x > 0 ? TSeriesDir::Larger : TSeriesDir::Smaller); }
double RoundNeg125(double x) { return Series125(x, x > 0 ? TSeriesDir::Smaller : TSeriesDir::Larger); }

// ---- functions of several values ----

// fmod is the exact remainder with the sign of x; y x Frac(x / y) loses digits
// (7 by 3 would give 0.9999999999999998, and nothing is left once x / y passes 2^53).
double modr(double x, double y) {
  CheckDivision("modr", {x, y}, y);
  return std::fmod(x, y);
}

double Squash(double x, double x0, double s, double a) {
  if (a == 0) return 0;  // both limits are 0; s / a would give NaN at x0
  const double e = -2 * (s / a) * (x - x0);
  if (std::fabs(e) >= 200) return e <= 0 ? a : -a;
  return a * (2 / (std::exp(e) + 1) - 1);
}

double HistoBinRef(double x, double Origin, double BinWidth, double& Offset) {
  CheckDivision("HistoBinRef", {x, Origin, BinWidth}, BinWidth);
  const double q = (x - Origin) / BinWidth;
  if (!std::isfinite(q)) throw EOverflow("HistoBinRef: overflow");
  const double r = Origin + BinWidth * std::floor(q);
  Offset = x - r;
  return r;
}

double Polynomial(std::span<const double> Coefficients, int32_t Order, double x) {
  return PolySum(Coefficients, Order, x);
}

double CenteredPolynomial(std::span<const double> Coefficients, int32_t Order, double a, double b) {
  return PolySum(Coefficients, Order, b - a);
}

double InterpolTable(double x, double XFirst, double XLast, std::span<const double> Table) {
  return InterpolEquidistant(x, XFirst, XLast, Table);
}

double InterpolTable(double x, double XFirst, double XLast, std::span<const int32_t> Table) {
  return InterpolEquidistant(x, XFirst, XLast, Table);
}

double InterpolXYTable(double x, const TDouble2DArray& Table, bool Extrapolate) {
  const auto NotTwoColumns = [] { return EORVMath1Error("InterpolXYTable: pivot array must contain 2 columns"); };
  // The pivot count is tested first; a table without columns has none to count.
  if (Table.empty()) throw NotTwoColumns();
  const TDoubleArray& X = Table[0];
  const int64_t n = std::ssize(X);
  if (n < 2) throw EORVMath1Error("InterpolXYTable: pivot array must contain at least 2 rows");
  if (Table.size() != 2 || std::ssize(Table[1]) < n) throw NotTwoColumns();
  const TDoubleArray& Y = Table[1];
  auto Seg = [&](int64_t a, int64_t b) {
    return LineThrough(X[Ix(a)], Y[Ix(a)], X[Ix(b)], Y[Ix(b)], x);
  };
  const bool Ascending = X[0] < X[Ix1(n)];
  // Low end: at or before the first pivot in the direction of the pivots.
  const bool BeforeFirst = Ascending ? x <= X[0] : x >= X[0];
  const bool AfterLast = Ascending ? x >= X[Ix1(n)] : x <= X[Ix1(n)];
  if (BeforeFirst || AfterLast) {
    if (!Extrapolate) return 0;
    return BeforeFirst ? Seg(0, 1) : Seg(n - 2, n - 1);
  }
  // Bisection keeps x strictly past pivot Lo and at most at pivot Hi, whatever
  // the pivots hold, so the indices stay in range.
  int64_t Lo = 0;
  int64_t Hi = n - 1;
  while (Hi - Lo > 1) {
    const int64_t Mid = Lo + (Hi - Lo) / 2;
    const double Xm = X[Ix(Mid)];
    if (Ascending ? Xm < x : Xm >= x)
      Lo = Mid;
    else
      Hi = Mid;
  }
  return Seg(Lo, Hi);
}

double InterpolZofXYRect(double z1, double z2, double z3, double z4, double t, double u) {
  const double p = z1 + (z3 - z1) * t;
  const double q = z2 + (z4 - z2) * t;
  return p + (q - p) * u;
}

bool WithinBounds(double x, double Bound1, double Bound2) { return WithinBounds(x, Bound1, Bound2, 0); }

bool WithinBounds(double x, double Bound1, double Bound2, double Margin) {
  return std::min(Bound1, Bound2) - Margin <= x && x <= std::max(Bound1, Bound2) + Margin;
}

double ConfineValue(double x, double Bound1, double Bound2) { return Confine(x, Bound1, Bound2); }
float ConfineValue(float x, float Bound1, float Bound2) { return Confine(x, Bound1, Bound2); }
int32_t ConfineValue(int32_t x, int32_t Bound1, int32_t Bound2) { return Confine(x, Bound1, Bound2); }

int64_t RoundLimit(double x, int64_t Low, int64_t High) {
  int64_t r = Round(x);
  if (r < Low) r = Low;
  if (r > High) r = High;
  return r;
}

// ---- integers and primes ----

int64_t ProductConsecInts(int32_t a, int32_t b) {
  const int64_t Lo = std::min(a, b);
  const int64_t Hi = std::max(a, b);
  if (Lo == 0) return 0;
  if (Lo < 0) return -2;
  int64_t p = 1;
  for (int64_t i = Lo; i <= Hi; ++i)
    if (__builtin_mul_overflow(p, i, &p)) return -1;  // p at least doubles per factor: few passes
  return p;
}

Extended Factorial(int32_t n) {
  if (n < 0) throw EORVMath1Error("Factorial: negative argument");
  if (n > 1000) throw EORVMath1Error("Factorial: argument too big");
  Extended f = 1;
  for (int32_t i = 2; i <= n; ++i) {
    f *= i;
    if (std::isinf(f)) throw EORVMath1Error("Factorial: argument too big");
  }
  return f;
}

bool IsPrime(int32_t n) {
  const uint32_t m = static_cast<uint32_t>(Magnitude(n));  // 2^31 at most: 32-bit division is cheaper
  const uint32_t s = static_cast<uint32_t>(detail::ISqrt(m));
  // Testing the tabulated primes up to s answers for every integer up to s.
  for (const int32_t p : Primes) {
    if (static_cast<uint32_t>(p) > s) break;
    if (m % static_cast<uint32_t>(p) == 0) return false;
  }
  return true;
}

int32_t ListOfPrimes(int32_t i) { return i >= 1 && i <= PrimeCount ? Primes[Ix1(i)] : 0; }

TIntArray FindPrimeFactors(int32_t n) {
  TIntArray F;
  if (n < 2) return F;
  const uint64_t s = detail::ISqrt(static_cast<uint64_t>(n));
  int32_t Rest = n;
  for (const int32_t p : Primes) {
    if (static_cast<uint64_t>(p) > s || Rest == 1) break;
    while (Rest % p == 0) {
      F.push_back(p);
      Rest /= p;
    }
  }
  if (Rest > 1) F.push_back(Rest);
  return F;
}

void CancelFraction(int32_t& Numerator, int32_t& Denominator) {
  const uint64_t N = Magnitude(Numerator);
  const uint64_t D = Magnitude(Denominator);
  if (std::min(N, D) < 2) return;
  // Dividing by every common divisor until none is left is dividing by the gcd.
  const int64_t g = static_cast<int64_t>(std::gcd(N, D));
  Numerator = static_cast<int32_t>(Numerator / g);
  Denominator = static_cast<int32_t>(Denominator / g);
}

// ---- bits and byte order ----

bool CheckPowerOfTwo(uint32_t x) { return (x & (x - 1)) == 0; }
uint8_t BitReversal(uint8_t b) { return BitReversed[b]; }
int32_t CountBits(uint8_t b) { return std::popcount(b); }
uint8_t DecodeBit(int32_t n) { return n >= 0 && n <= 7 ? static_cast<uint8_t>(1u << n) : 0; }
uint32_t DecodeLong(int32_t n) { return n >= 0 && n <= 31 ? 1u << n : 0; }
int32_t EncodeLong(uint32_t x) { return x == 0 ? 31 : std::countr_zero(x); }
uint16_t GrayCode(uint16_t w) { return static_cast<uint16_t>(w ^ (w >> 1)); }

double ConvertEndian(double x) { return ReverseBytes(x); }
float ConvertEndian(float x) { return ReverseBytes(x); }
uint16_t ConvertEndian(uint16_t x) { return ReverseBytes(x); }
int32_t ConvertEndian(int32_t x) { return ReverseBytes(x); }

}  // namespace orv
