// Character classes and trimming shared by the base library's text readers,
// so that words, tokens, names and numbers all end at the same characters.
#pragma once

#include <cstdint>
#include <string_view>

namespace orv::detail {

// What separates words, tokens and names: blank, TAB and the line breaks.
// Takes a character code or -1 (the end of a file), which is none.
constexpr bool IsSeparator(int32_t C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

constexpr bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// S without the characters up to 32 (blanks and control characters) at both ends.
constexpr std::string_view StripBlanks(std::string_view S) {
  while (!S.empty() && static_cast<unsigned char>(S.front()) <= ' ') S.remove_prefix(1);
  while (!S.empty() && static_cast<unsigned char>(S.back()) <= ' ') S.remove_suffix(1);
  return S;
}

}  // namespace orv::detail
