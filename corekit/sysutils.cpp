// Platform layer: locale-independent conversions of text to numbers.
#include "orvcorekit/Orv_sysutils.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "corekit/chars.h"

namespace orv {

using detail::IsDigit;

namespace {
constexpr char Lower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }
}  // namespace

bool SameText(std::string_view A, std::string_view B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) { return Lower(X) == Lower(Y); });
}

bool TryStrToInt(std::string_view S, int32_t& Value) {
  S = detail::StripBlanks(S);
  const size_t Signs = !S.empty() && (S.front() == '+' || S.front() == '-') ? 1 : 0;
  if (S.size() == Signs || !std::all_of(S.begin() + Signs, S.end(), IsDigit)) return false;
  if (S.front() == '+') S.remove_prefix(1);  // from_chars takes "-" only
  int32_t V = 0;
  if (std::from_chars(S.data(), S.data() + S.size(), V).ec != std::errc()) return false;
  Value = V;
  return true;
}

int32_t StrToInt(std::string_view S) {
  int32_t V = 0;
  if (!TryStrToInt(S, V)) throw EConvertError("'" + std::string(S) + "' is not a valid integer value");
  return V;
}

bool TryStrToFloat(std::string_view S, double& Value) {
  S = detail::StripBlanks(S);
  // Check the grammar ourselves: from_chars would also take "inf" and "nan".
  size_t i = 0;
  const bool Neg = i < S.size() && (S[i] == '-' || S[i] == '+') ? S[i++] == '-' : false;
  const size_t Start = i;
  size_t IntDigits = 0, FracDigits = 0;
  while (i < S.size() && IsDigit(S[i])) ++i, ++IntDigits;
  if (i < S.size() && S[i] == '.') {
    ++i;
    while (i < S.size() && IsDigit(S[i])) ++i, ++FracDigits;
  }
  if (IntDigits + FracDigits == 0) return false;
  const size_t MantEnd = i;
  if (i < S.size() && (S[i] == 'e' || S[i] == 'E')) {
    ++i;
    if (i < S.size() && (S[i] == '-' || S[i] == '+')) ++i;
    if (i == S.size() || !IsDigit(S[i])) return false;
    while (i < S.size() && IsDigit(S[i])) ++i;
  }
  if (i != S.size()) return false;
  double V = 0;
  const auto R = std::from_chars(S.data() + Start, S.data() + S.size(), V);
  if (R.ec == std::errc::result_out_of_range) {
    // Tell underflow from overflow by the decimal exponent of the leading digit.
    int64_t Lead = -1;  // index of the first nonzero digit among the mantissa digits
    int64_t k = 0;
    for (size_t j = Start; j < MantEnd; ++j) {
      if (S[j] == '.') continue;
      if (S[j] != '0') { Lead = k; break; }
      ++k;
    }
    if (Lead < 0) {
      V = 0;
    } else {
      int64_t Exp = 0;
      for (size_t j = MantEnd + 1; j < S.size(); ++j)
        if (IsDigit(S[j]) && Exp < 100000000) Exp = Exp * 10 + (S[j] - '0');
      if (MantEnd + 1 < S.size() && S[MantEnd + 1] == '-') Exp = -Exp;
      const int64_t Magnitude = static_cast<int64_t>(IntDigits) - Lead + Exp;  // value ~ 0.d * 10^Magnitude
      if (Magnitude > 0) return false;
      V = 0;
    }
  } else if (R.ec != std::errc() || R.ptr != S.data() + S.size()) {
    return false;
  }
  Value = Neg ? -V : V;
  return true;
}

}  // namespace orv
