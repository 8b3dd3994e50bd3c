// Base unit Orv_stringl: string utilities and number formatting.
#include "orvcorekit/Orv_stringl.h"

#include <algorithm>

#include "corekit/chars.h"
#include "orvcorekit/Orv_system.h"
#include "orvcorekit/Orv_sysutils.h"

namespace orv {

std::string strff(double X, int32_t Width, int32_t Decimals) { return Str(X, Width, std::max(Decimals, 0)); }

namespace {

template <class T>
int32_t IndexIn(const std::string& S, bool IgnoreCase, std::span<const T> List) {
  for (size_t i = 0; i < List.size() && i < INT32_MAX; ++i) {
    const std::string_view E = List[i];
    if (IgnoreCase ? SameText(S, E) : S == E) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

}  // namespace

std::string StripLTBlanks(const std::string& S) { return std::string(detail::StripBlanks(S)); }

std::string ReplaceCharInString(const std::string& S, char OldChar, char NewChar) {
  std::string R = S;
  std::replace(R.begin(), R.end(), OldChar, NewChar);
  return R;
}

std::string RemoveControlChars(const std::string& S) {
  std::string R;
  R.reserve(S.size());
  for (char C : S)
    if (static_cast<unsigned char>(C) >= 32 && C != 127) R += C;
  return R;
}

std::string StripTrailingChars(char Ch, const std::string& S) {
  size_t Last = S.size();
  while (Last > 0 && S[Last - 1] == Ch) --Last;
  return S.substr(0, Last);
}

bool StringContains(const std::string& S, const std::string& Sub) {
  if (Sub == "//dig") return std::any_of(S.begin(), S.end(), detail::IsDigit);
  return !Sub.empty() && S.find(Sub) != std::string::npos;
}

int32_t StringIx(const std::string& S, std::span<const std::string> List) { return IndexIn(S, false, List); }
int32_t StringIx(const std::string& S, bool IgnoreCase, std::span<const std::string> List) {
  return IndexIn(S, IgnoreCase, List);
}
int32_t StringIx(const std::string& S, std::span<const std::string_view> List) { return IndexIn(S, false, List); }
int32_t StringIx(const std::string& S, bool IgnoreCase, std::span<const std::string_view> List) {
  return IndexIn(S, IgnoreCase, List);
}

int32_t Tokenize(const std::string& S, std::vector<std::string>& Tokens) {
  std::vector<std::string> R;
  size_t i = 0;
  while (i < S.size()) {
    while (i < S.size() && detail::IsSeparator(S[i])) ++i;
    if (i == S.size()) break;
    const size_t Start = i;
    bool Quoted = false;
    while (i < S.size() && (Quoted || !detail::IsSeparator(S[i]))) {
      if (S[i] == '"') Quoted = !Quoted;
      ++i;
    }
    R.emplace_back(S, Start, i - Start);
  }
  Tokens = std::move(R);
  return static_cast<int32_t>(std::min<size_t>(Tokens.size(), INT32_MAX));
}

bool ParseQuotedName(char Ch, char Quote, std::string& Name, TQuotedStrState& State) {
  switch (State) {
    case qsInQuotes:
      if (Ch == Quote) {
        State = qsWaiting;
        return true;
      }
      Name += Ch;
      return false;
    case qsInWord:
      if (detail::IsSeparator(Ch)) {
        State = qsWaiting;
        return true;
      }
      Name += Ch;
      return false;
    default:
      if (detail::IsSeparator(Ch)) {
        State = qsWaiting;
        return false;
      }
      Name.clear();
      if (Ch == Quote) {
        State = qsInQuotes;
      } else {
        Name += Ch;
        State = qsInWord;
      }
      return false;
  }
}

}  // namespace orv
