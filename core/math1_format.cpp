// Unit ORV_math1: number formatting and conversion.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>

#include "orvcalckit/ORV_math1.h"
#include "orvcalckit/detail/index.h"
#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

using detail::Ix;

namespace {

// Digits of a power-of-two base taken from the low end of the pattern.
std::string PatternDigits(uint32_t Pattern, int32_t NDigits, int32_t MaxDigits, int32_t BitsPerDigit) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  NDigits = std::clamp(NDigits, 1, MaxDigits);
  std::string S(Ix(NDigits), '0');
  const uint32_t Mask = (1u << BitsPerDigit) - 1;
  for (int32_t i = NDigits - 1; i >= 0 && Pattern != 0; --i) {
    S[Ix(i)] = Digits[Pattern & Mask];
    Pattern >>= BitsPerDigit;
  }
  return S;
}

std::string PadLeft(std::string S, int32_t Width) {
  if (static_cast<int64_t>(S.size()) < Width) S.insert(0, Ix(Width) - S.size(), ' ');
  return S;
}

int32_t FloorDiv3(int32_t e) { return e >= 0 ? e / 3 : -((2 - e) / 3); }

// x > 0 rounded to N significant digits: the digits and the decimal exponent of
// the first one, both exact (the rounding is decided on the binary value itself).
struct TSigDigits {
  std::string Digits;
  int32_t Exp;
};

TSigDigits SignificantDigits(double x, int32_t N) {
  std::string Buf(Ix(N) + 16, '\0');  // N digits, point, sign and exponent
  const auto R = std::to_chars(Buf.data(), Buf.data() + Buf.size(), x, std::chars_format::scientific, N - 1);
  const std::string T(Buf.data(), R.ptr);  // "d.ddde+XX"
  const size_t EPos = T.find('e');
  TSigDigits S{T.substr(0, 1) + (EPos > 2 ? T.substr(2, EPos - 2) : std::string()), 0};
  const char* ExpFirst = T.data() + EPos + 1 + (T[EPos + 1] == '+');
  std::from_chars(ExpFirst, T.data() + T.size(), S.Exp);
  return S;
}

// The IEEE bytes of a number, most significant first.
template <class T>
std::string BytesToHex(const T& Value, int32_t NBytes) {
  static_assert(std::endian::native == std::endian::little);
  uint8_t Bytes[sizeof(T)];
  std::memcpy(Bytes, &Value, sizeof(T));
  std::string S;
  for (int32_t i = NBytes - 1; i >= 0; --i) S += PatternDigits(Bytes[i], 2, 8, 4);
  return S;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

template <class T>
T HexToBytes(const char* Routine, const std::string& Text, int32_t NBytes) {
  static_assert(std::endian::native == std::endian::little);
  auto Fail = [&] { return EORVError(std::string(Routine) + ": invalid hex string \"" + Text + "\""); };
  if (static_cast<int64_t>(Text.size()) != 2 * int64_t{NBytes}) throw Fail();
  uint8_t Bytes[sizeof(T)] = {};
  for (int32_t i = 0; i < NBytes; ++i) {
    const int Hi = HexDigitValue(Text[Ix(2 * i)]);
    const int Lo = HexDigitValue(Text[Ix(2 * i + 1)]);
    if (Hi < 0 || Lo < 0) throw Fail();
    Bytes[NBytes - 1 - i] = static_cast<uint8_t>(Hi * 16 + Lo);
  }
  T Value;
  std::memcpy(&Value, Bytes, sizeof(T));
  return Value;
}

template <class F>
void ScalePars(int32_t NTick, F Low, F High, F& First, F& Step, uint16_t& NMinor) {
  const F Range = std::fabs(High - Low);
  auto Degenerate = [&] {
    First = Low;
    Step = 0;
    NMinor = 1;
  };
  if (Low == High || !std::isfinite(Range)) return Degenerate();
  const F Dir = High > Low ? 1 : -1;
  F S;
  F Fst;
  uint16_t NM;
  if (NTick == 0) {
    S = 1;
    Fst = Int(Low) - 1;
    NM = Range <= 10 ? 5 : 1;
  } else {
    // A negative count is taken by its size: the logarithm needs a positive interval.
    const F PerTick = Range / std::fabs(static_cast<F>(NTick));
    if (!(PerTick > 0)) return Degenerate();  // underflow
    F g = std::log10(PerTick);
    F f = g - Int(g);
    if (std::fabs(f) < F(1e-10L) || std::fabs(f) > F(0.9999999999L)) {
      g = static_cast<F>(Round(g));
      f = 0;
    }
    if (g < 0 && f != 0) g = g - 1;
    if (f < 0) f = f + 1;
    const F Lg2 = std::log10(F(2)) + F(1e-10L);
    const F Lg5 = std::log10(F(5)) + F(1e-10L);
    const F Mant = f < Lg2 ? 1 : f < Lg5 ? 2 : 5;
    NM = Mant == 2 ? 4 : 5;
    S = Dir * Mant * std::pow(F(10), Int(g));
    if (S == 0 || !std::isfinite(S)) return Degenerate();
    Fst = (Int(Low / S) - 1) * S;
  }
  while (F(0.001L) * std::fabs(S) < Dir * (Low - Fst)) {
    const F Next = Fst + S;
    if (Next == Fst) break;  // the step is below the resolution of First: it would never arrive
    Fst = Next;
  }
  First = Fst;
  Step = S;
  NMinor = NM;
}

}  // namespace

std::string Hex(int32_t Value, uint8_t NDigits) { return PatternDigits(static_cast<uint32_t>(Value), NDigits, 8, 4); }
std::string Octal(int32_t Value, uint8_t NDigits) {
  return PatternDigits(static_cast<uint32_t>(Value), NDigits, 11, 3);
}
std::string Bin(int32_t Value, uint8_t NDigits) { return PatternDigits(static_cast<uint32_t>(Value), NDigits, 32, 1); }

std::string Decimal(int32_t Value, uint8_t NDigits) {
  const int32_t N = std::max<int32_t>(NDigits, 1);
  int64_t Mag = std::abs(int64_t{Value});  // -2147483648 has no 32-bit magnitude
  std::string S(Ix(N), '0');
  for (int32_t i = N - 1; i >= 0 && Mag != 0; --i) {
    S[Ix(i)] = static_cast<char>('0' + Mag % 10);
    Mag /= 10;
  }
  return Value < 0 ? '-' + S : S;
}

std::string EEngStr(double Value, int32_t Digits) {
  static constexpr const char* Prefix[] = {"a", "f", "p", "n", "u", "m", "", "k", "M", "G", "T"};
  Digits = std::clamp(Digits, -9, 9);
  const int32_t s = Digits >= 2 ? Digits - 1 : Digits <= -2 ? Digits + 1 : 0;
  const int32_t d = std::abs(s);
  if (Value == 0) return strff(0, 1, d);
  if (!std::isfinite(Value)) return Str(Value, 1, 0);
  const double x = std::fabs(Value);
  // The decimal exponent comes from the digits, not from a logarithm: exact
  // powers of 1000 and values that round up to one (999.9 with three digits)
  // land in the right group.
  auto Group = [](int32_t e) { return std::clamp(FloorDiv3(e), -6, 4); };
  auto Count = [d, &Group](int32_t e) { return std::max(e - 3 * Group(e) + 1, d + 1); };
  int32_t e = SignificantDigits(x, 17).Exp;
  TSigDigits Sig = SignificantDigits(x, Count(e));
  if (Group(Sig.Exp) != Group(e)) Sig = SignificantDigits(x, Count(Sig.Exp));  // rounding carried into the next group
  e = Sig.Exp;
  const int32_t g = Group(e);
  const int32_t IntDigits = e - 3 * g + 1;
  const int32_t Decimals = std::max(0, d + 3 * g - e);
  std::string M;
  if (IntDigits >= 1) {
    std::string All = Sig.Digits;
    All.resize(Ix(IntDigits + Decimals), '0');  // a carry leaves 1 and zeros
    M = All.substr(0, Ix(IntDigits));
    if (Decimals > 0) M += '.' + All.substr(Ix(IntDigits));
  } else {
    M = "0." + std::string(Ix(-IntDigits), '0') + Sig.Digits;
  }
  if (g != 0) {
    const size_t Dot = M.find('.');
    if (s < 0 && Dot != std::string::npos)
      M.replace(Dot, 1, Prefix[g + 6]);
    else
      M += Prefix[g + 6];
  }
  return Value < 0 ? '-' + M : M;
}

std::string MakeEFormat(double Value, int32_t Width, int32_t Digits) {
  Width = std::clamp(Width, 8, 40);
  Digits = std::clamp(Digits, 2, 15);
  if (!std::isfinite(Value)) return Str(Value, Width, 0);
  // " d.ddd" with Digits digits, "E", sign, four exponent digits.
  const std::string T = Str(Value, Digits + 8, -1);
  const size_t EPos = T.find('E');
  std::string R = T.substr(0, 1) + "0." + T.substr(1, 1) + T.substr(3, EPos - 3 + 1);
  int32_t Exp = 0;
  std::from_chars(T.data() + EPos + 2, T.data() + T.size(), Exp);
  if (T[EPos + 1] == '-') Exp = -Exp;
  if (Value != 0) ++Exp;
  // The whole exponent, at least two digits (1.5e150 is 0.15E+151).
  R += Exp < 0 ? '-' : '+';
  R += Decimal(std::abs(Exp), static_cast<uint8_t>(std::abs(Exp) >= 100 ? 3 : 2));
  return PadLeft(R, Width);
}

std::string strf(double Value, int32_t Width, int32_t Decimals) {
  if (Decimals != -2) return Str(Value, Width, Decimals);
  std::string T = Str(Value, SatInt32(int64_t{Width} + 2), -2);
  const size_t n = T.size();
  const bool FourDigitExp = n >= 6 && T[n - 6] == 'E' && std::all_of(T.end() - 4, T.end(), [](char c) {
                              return c >= '0' && c <= '9';
                            });
  if (!FourDigitExp) return T;
  const bool Fits = T[n - 4] == '0' && T[n - 3] == '0';
  T.erase(n - 4, 2);
  if (!Fits) T.assign(T.size(), '*');
  return T;
}

std::string FPNumToHex(double Value) { return BytesToHex(Value, 8); }
std::string FPNumToHex(float Value) { return BytesToHex(Value, 4); }
double HexToDouble(const std::string& Text) { return HexToBytes<double>("HexToDouble", Text, 8); }
float HexToSingle(const std::string& Text) { return HexToBytes<float>("HexToSingle", Text, 4); }
#if ORV_HAS_EXTENDED
std::string FPNumToHex(long double Value) { return BytesToHex(Value, 10); }
long double HexToExtended(const std::string& Text) { return HexToBytes<long double>("HexToExtended", Text, 10); }
#endif

std::string Roman(int32_t Value) {
  static constexpr struct {
    int32_t Number;
    const char* Letters;
  } Pairs[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
               {40, "XL"},  {10, "X"},   {9, "IX"},   {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string S;
  if (Value < 1 || Value > 29999) return S;
  for (const auto& P : Pairs)
    for (; Value >= P.Number; Value -= P.Number) S += P.Letters;
  return S;
}

int32_t StrToIntDefault(const std::string& Text, int32_t Default) {
  int32_t V = Default;  // left alone when the conversion fails
  TryStrToInt(Text, V);
  return V;
}

void CalcScalePars(int32_t NTick, double Low, double High, double& First, double& Step, uint16_t& NMinor) {
  Extended F = 0;
  Extended S = 0;
  ScalePars<Extended>(NTick, Low, High, F, S, NMinor);
  First = static_cast<double>(F);
  Step = static_cast<double>(S);
}

#if ORV_HAS_EXTENDED
void CalcScalePars(int32_t NTick, long double Low, long double High, long double& First, long double& Step,
                   uint16_t& NMinor) {
  ScalePars<long double>(NTick, Low, High, First, Step, NMinor);
}
#endif

}  // namespace orv
