// The number scanners and the attribute lookup of the matrix components' XML
// step, and TMatrix's ProcessXmlTag.
#include "linalg/matrix_xml.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "orvcalckit/ORV_matrix.h"
#include "orvcorekit/Orv_univconst.h"

namespace orv {

using detail::Ix;
using detail::Ix1;

namespace {

// Positions must stay int32_t, and ParseRealAt looks at one position past
// the end and then steps back: texts are read up to this length.
constexpr int64_t MaxScanLength = INT32_MAX - 2;

int64_t ScanLength(std::string_view Text) { return std::min(static_cast<int64_t>(Text.size()), MaxScanLength); }

constexpr bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// Exponent digits are kept while the exponent stays within this.
constexpr int32_t MaxKeptExponent = 4200;

// The value of an accepted number: Mantissa the digits around the separator
// (at least one digit), Exponent the kept exponent ("" or [sign] digits),
// both views into one text in which the exponent follows the mantissa and its
// "E". Comma says that the separator is ",".
double ConvertNumber(std::string_view Mantissa, std::string_view Exponent, bool Negative, bool Comma) {
  const char* const Last = Exponent.empty() ? Mantissa.data() + Mantissa.size() : Exponent.data() + Exponent.size();
  double V = 0.0;
  std::errc Ec;
  if (Comma) {
    std::string T(Mantissa.data(), Last);
    std::replace(T.begin(), T.end(), ',', '.');
    Ec = std::from_chars(T.data(), T.data() + T.size(), V).ec;
  } else {
    Ec = std::from_chars(Mantissa.data(), Last, V).ec;
  }
  if (Ec == std::errc::result_out_of_range) {
    // Beyond the double range, or below its smallest subnormal: which one
    // follows from the decimal position of the leading digit.
    const std::size_t Sep = Mantissa.find_first_of(".,");
    const std::string_view Int = Mantissa.substr(0, Sep);
    const std::string_view Frac = Sep == std::string_view::npos ? std::string_view() : Mantissa.substr(Sep + 1);
    const std::size_t IntLead = Int.find_first_not_of('0');
    int64_t Lead = IntLead != std::string_view::npos
                       ? static_cast<int64_t>(Int.size() - IntLead)
                       : -static_cast<int64_t>(std::min(Frac.find_first_not_of('0'), Frac.size()));
    int64_t Exp = 0;
    for (char C : Exponent)
      if (IsDigit(C)) Exp = std::min<int64_t>(Exp * 10 + (C - '0'), MaxKeptExponent + 1);
    Lead += !Exponent.empty() && Exponent.front() == '-' ? -Exp : Exp;
    V = Lead > 0 ? uc_MaxDouble : 0.0;
  }
  V = std::min(V, uc_MaxDouble);
  return Negative ? -V : V;
}

}  // namespace

int32_t ParseIntegerAt(std::string_view Text, int32_t& Pos) {
  if (Text.empty()) return 0;
  const int64_t Len = ScanLength(Text);
  const auto At = [Text](int64_t P) { return Text[Ix1(P)]; };
  int64_t P = std::max(Pos, 1);
  while (P < Len && At(P) == ' ') ++P;
  bool Negative = false;
  if (P <= Len && (At(P) == '-' || At(P) == '+')) {
    Negative = At(P) == '-';
    ++P;
  }
  // Past 2^31 the value only saturates: the magnitude stops growing there.
  constexpr int64_t Cap = int64_t{1} << 31;
  int64_t Magnitude = 0;
  for (; P <= Len && IsDigit(At(P)); ++P) Magnitude = std::min(Magnitude * 10 + (At(P) - '0'), Cap);
  Pos = static_cast<int32_t>(P);
  return static_cast<int32_t>(Negative ? -Magnitude : std::min<int64_t>(Magnitude, INT32_MAX));
}

// The state table of the header, walked path by path: blanks (state 1), a
// sign (2), integer digits (3), separator (4), fraction digits (5), "E" (6),
// its sign (7), exponent digits (8). P ends on the character that ended the
// number or caused the error, which is where Pos goes.
double ParseRealAt(std::string_view Text, bool AllowExponent, int32_t DecimalMode, int32_t& Pos) {
  const bool Point = DecimalMode == 1 || DecimalMode == 3;
  const bool Comma = DecimalMode == 2 || DecimalMode == 3;
  const auto IsSep = [Point, Comma](char C) { return (C == '.' && Point) || (C == ',' && Comma); };
  const int64_t Len = ScanLength(Text);
  const int64_t First = std::max(Pos, 1);
  if (First > Len + 1) return 0.0;  // beyond the end: an error at once, Pos stays
  const char* const Begin = Text.data();
  const char* const End = Begin + Len;
  const char* P = Begin + (First - 1);
  const auto At = [End](const char* Q) { return Q < End ? *Q : 'Z'; };
  const auto Stop = [&](double V) {
    Pos = static_cast<int32_t>(P - Begin + 1);
    return V;
  };

  while (At(P) == ' ') ++P;
  char C = At(P);
  const bool Negative = C == '-';
  if (C == '-' || C == '+') C = At(++P);
  if (!IsDigit(C) && !IsSep(C)) return Stop(0.0);  // states 1 and 2: nothing else goes on
  const char* const MantStart = P;
  while (P < End && IsDigit(*P)) ++P;
  bool Digits = P > MantStart;
  bool SepComma = false;
  if (IsSep(At(P))) {
    SepComma = *P == ',';
    const char* const FracStart = ++P;
    while (P < End && IsDigit(*P)) ++P;
    Digits = Digits || P > FracStart;
    if (IsSep(At(P))) return Stop(0.0);  // a second separator
  }
  const std::string_view Mantissa(MantStart, Ix(P - MantStart));
  // A mantissa without digits ("-.") is a zero of its sign.
  const auto Value = [&](std::string_view Exponent) {
    return Stop(Digits ? ConvertNumber(Mantissa, Exponent, Negative, SepComma) : Negative ? -0.0 : 0.0);
  };
  C = At(P);
  if (!(C == 'E' || C == 'e') || !AllowExponent) return Value({});
  const char* const ExpStart = ++P;
  C = At(P);
  if (C == '+' || C == '-') C = At(++P);
  if (!IsDigit(C)) {
    // After "E" or its sign: a separator, blank, sign or "E" is an error,
    // anything else ends the number without exponent digits.
    const bool Error = IsSep(C) || C == ' ' || C == 'E' || C == 'e' || C == '+' || C == '-';
    return Error ? Stop(0.0) : Value({});
  }
  int32_t Exponent = 0;
  const char* Kept = P;
  for (; P < End && IsDigit(*P); ++P) {
    Exponent = std::min(Exponent * 10 + (*P - '0'), MaxKeptExponent + 1);
    if (Exponent <= MaxKeptExponent) Kept = P + 1;
  }
  return Value(std::string_view(ExpStart, Ix(Kept - ExpStart)));
}

namespace detail {

int32_t FindXmlAttribute(std::string_view A, std::string_view Name) {
  const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  const std::size_t Len = Ix(ScanLength(A));
  std::size_t I = 0;
  for (;;) {
    while (I < Len && Blank(A[I])) ++I;
    if (I == Len) return 0;
    const std::size_t NameStart = I;
    while (I < Len && !Blank(A[I]) && A[I] != '=') ++I;
    const std::string_view Found = A.substr(NameStart, I - NameStart);
    std::size_t J = I;
    while (J < Len && Blank(A[J])) ++J;
    if (J == Len || A[J] != '=') continue;  // a name without a value
    ++J;
    while (J < Len && Blank(A[J])) ++J;
    if (J < Len && (A[J] == '"' || A[J] == '\'')) {
      if (Found == Name) return static_cast<int32_t>(J + 2);
      I = std::min(A.find(A[J], J + 1), Len - 1) + 1;
    } else {
      for (I = J; I < Len && !Blank(A[I]);) ++I;  // an unquoted value names no index
    }
  }
}

}  // namespace detail

int32_t TMatrix::ProcessXmlTag(TMatXmlTag Tag, std::string_view Attributes, std::string_view Content) {
  static constexpr detail::TXmlAxes<2> Axes{{xmlMatNumCols, xmlMatNumRows}, {"ix", "iy"}, 0};
  return detail::XmlStep(
      Axes, FXmlAnnounced, FirstCell, XmlCellLimit, {FNCol, FNRow}, Tag, Attributes, Content,
      [this](const std::array<int32_t, 2>& N) { Resize(N[0], N[1]); },
      [this](const std::array<int32_t, 2>& I, std::string_view Text) { SetVal(I[0], I[1], detail::XmlRealValue(Text)); });
}

}  // namespace orv
