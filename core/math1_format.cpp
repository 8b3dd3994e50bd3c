// Unit ORV_math1: number formatting and conversion.
#include <algorithm>
#include <cstdint>
#include <string>

#include "orvcalckit/ORV_math1.h"

namespace orv {

namespace {

// Digits of a power-of-two base taken from the low end of the pattern.
std::string PatternDigits(uint32_t Pattern, int32_t NDigits, int32_t MaxDigits, int32_t BitsPerDigit) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  NDigits = std::clamp(NDigits, 1, MaxDigits);
  std::string S(static_cast<size_t>(NDigits), '0');
  const uint32_t Mask = (1u << BitsPerDigit) - 1;
  for (int32_t i = NDigits - 1; i >= 0 && Pattern != 0; --i) {
    S[static_cast<size_t>(i)] = Digits[Pattern & Mask];
    Pattern >>= BitsPerDigit;
  }
  return S;
}

}  // namespace

std::string Hex(int32_t Value, uint8_t NDigits) { return PatternDigits(static_cast<uint32_t>(Value), NDigits, 8, 4); }
std::string Octal(int32_t Value, uint8_t NDigits) { return PatternDigits(static_cast<uint32_t>(Value), NDigits, 11, 3); }
std::string Bin(int32_t Value, uint8_t NDigits) { return PatternDigits(static_cast<uint32_t>(Value), NDigits, 32, 1); }

std::string Decimal(int32_t Value, uint8_t NDigits) {
  const int32_t N = std::max<int32_t>(NDigits, 1);
  // 64-bit magnitude: -2147483648 has no 32-bit one.
  uint64_t Mag = Value < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(Value)) : static_cast<uint64_t>(Value);
  std::string S(static_cast<size_t>(N), '0');
  for (int32_t i = N - 1; i >= 0 && Mag != 0; --i) {
    S[static_cast<size_t>(i)] = static_cast<char>('0' + Mag % 10);
    Mag /= 10;
  }
  return Value < 0 ? '-' + S : S;
}

}  // namespace orv
