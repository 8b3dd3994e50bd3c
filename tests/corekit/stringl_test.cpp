// String utilities, the quoted-name scanner and text-to-number conversions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "orvcorekit/Orv_stringl.h"
#include "orvcorekit/Orv_sysutils.h"

namespace {

using Strings = std::vector<std::string>;

TEST(Strings, StripAndReplaceWorkOnTheEdgesOnly) {
  EXPECT_EQ(orv::StripLTBlanks("  \t a b \r\n"), "a b");
  EXPECT_EQ(orv::StripLTBlanks(" \t "), "");
  EXPECT_EQ(orv::StripLTBlanks(""), "");
  EXPECT_EQ(orv::StripLTBlanks("\xC3\xA9t\xC3\xA9 "), "\xC3\xA9t\xC3\xA9");  // UTF-8 bytes are no blanks
  EXPECT_EQ(orv::StripTrailingChars('0', "1.2500"), "1.25");
  EXPECT_EQ(orv::StripTrailingChars('0', "000"), "");
  EXPECT_EQ(orv::StripTrailingChars('"', "\"a\"\""), "\"a");
  EXPECT_EQ(orv::ReplaceCharInString("a\nb\n", '\n', ' '), "a b ");
  EXPECT_EQ(orv::ReplaceCharInString("", 'a', 'b'), "");
  EXPECT_EQ(orv::RemoveControlChars(std::string("a\tb\r\nc\x7F" "d\0e\xC3\xA9", 12)), "abcde\xC3\xA9");
}

TEST(Strings, StringContainsTakesDigPatternForAnyDigit) {
  EXPECT_TRUE(orv::StringContains("abc", "b"));
  EXPECT_FALSE(orv::StringContains("abc", "B"));
  EXPECT_FALSE(orv::StringContains("abc", ""));
  EXPECT_FALSE(orv::StringContains("ab", "abc"));
  EXPECT_TRUE(orv::StringContains("  -1.5E+03", "//dig"));
  EXPECT_TRUE(orv::StringContains("x9", "//dig"));
  EXPECT_FALSE(orv::StringContains("NAN ###", "//dig"));
  EXPECT_FALSE(orv::StringContains("", "//dig"));
}

TEST(Strings, StringIxIsOneBasedAndZeroWhenAbsent) {
  const Strings L{"alpha", "Beta", "beta", ""};
  EXPECT_EQ(orv::StringIx("alpha", L), 1);
  EXPECT_EQ(orv::StringIx("beta", L), 3);
  EXPECT_EQ(orv::StringIx("BETA", L), 0);
  EXPECT_EQ(orv::StringIx("BETA", true, L), 2);
  EXPECT_EQ(orv::StringIx("beta", false, L), 3);
  EXPECT_EQ(orv::StringIx("", L), 4);
  EXPECT_EQ(orv::StringIx("alph", true, L), 0);
  EXPECT_EQ(orv::StringIx("x", Strings{}), 0);
  static constexpr std::array<std::string_view, 3> Names{"comment", "modelname", "numnnb"};
  EXPECT_EQ(orv::StringIx("NumNNb", true, Names), 3);
  EXPECT_EQ(orv::StringIx("NumNNb", Names), 0);
  // Only ASCII letters fold; other bytes must match.
  EXPECT_EQ(orv::StringIx("\xC3\x89", true, Strings{"\xC3\xA9"}), 0);
}

TEST(Strings, TokenizeKeepsQuotedPartsWhole) {
  Strings T{"old"};
  EXPECT_EQ(orv::Tokenize("sig=\"Veltrax\" vers=\"1.000\"\tid=\"my data\"\r\n", T), 3);
  EXPECT_EQ(T, (Strings{"sig=\"Veltrax\"", "vers=\"1.000\"", "id=\"my data\""}));
  EXPECT_EQ(orv::Tokenize("  ", T), 0);
  EXPECT_TRUE(T.empty());
  EXPECT_EQ(orv::Tokenize("a \"b c", T), 2);  // unclosed quote runs to the end
  EXPECT_EQ(T, (Strings{"a", "\"b c"}));
}

// Feeds Text to the scanner and collects the completed names.
Strings Names(const std::string& Text, char Quote = '"') {
  Strings R;
  std::string Name;
  orv::TQuotedStrState State = orv::qsWaiting;
  for (char C : Text)
    if (orv::ParseQuotedName(C, Quote, Name, State)) R.push_back(Name);
  return R;
}

TEST(Strings, ParseQuotedNameReportsEachCompleteName) {
  EXPECT_EQ(Names("\"first col\"\t\"\"  \"x\"\r\n"), (Strings{"first col", "", "x"}));
  // Names without quotes end at a blank or line break: the curve fitter's "x   y".
  EXPECT_EQ(Names("x   y\r\n1.0"), (Strings{"x", "y"}));
  EXPECT_EQ(Names("'a b' c\n", '\''), (Strings{"a b", "c"}));
  // An unclosed name is never reported.
  EXPECT_EQ(Names("\"open"), Strings{});
  EXPECT_EQ(Names("word"), Strings{});
  // A state outside the named ones starts afresh.
  std::string Name = "junk";
  auto State = static_cast<orv::TQuotedStrState>(77);
  EXPECT_FALSE(orv::ParseQuotedName('"', '"', Name, State));
  EXPECT_EQ(State, orv::qsInQuotes);
  EXPECT_EQ(Name, "");
}

TEST(TextToNumber, TryStrToIntTakesDecimalInt32Only) {
  int32_t V = 7;
  EXPECT_TRUE(orv::TryStrToInt(" -42 ", V));
  EXPECT_EQ(V, -42);
  EXPECT_TRUE(orv::TryStrToInt("+2147483647", V));
  EXPECT_EQ(V, 2147483647);
  EXPECT_TRUE(orv::TryStrToInt("-2147483648", V));
  EXPECT_EQ(V, INT32_MIN);
  V = 7;
  for (const char* Bad : {"", " ", "2147483648", "-2147483649", "1.0", "12a", "0x10", "+-1", "-", "1 2"})
    EXPECT_FALSE(orv::TryStrToInt(Bad, V)) << Bad;
  EXPECT_EQ(V, 7);
  EXPECT_EQ(orv::StrToInt(" 12 "), 12);
  try {
    orv::StrToInt("3.5");
    ADD_FAILURE() << "no EConvertError";
  } catch (const orv::EConvertError& E) {
    EXPECT_STREQ(E.what(), "'3.5' is not a valid integer value");
  }
}

TEST(TextToNumber, TryStrToFloatTakesDecimalFormsIndependentOfLocale) {
  double V = 0;
  const std::pair<const char*, double> Good[] = {
      {"3.25", 3.25}, {" -1.5e3\t", -1500}, {"7.", 7}, {"-.5", -0.5}, {"+2E-2", 0.02},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"4.9406564584124654e-324", 4.9406564584124654e-324},  // the smallest denormal
      {"0.1", 0.1}, {"123456789012345678901234567890", 1.2345678901234568e29}};
  for (auto [Text, Want] : Good) {
    ASSERT_TRUE(orv::TryStrToFloat(Text, V)) << Text;
    EXPECT_EQ(V, Want) << Text;
  }
  // Below the smallest denormal: a signed zero.
  ASSERT_TRUE(orv::TryStrToFloat("-1e-400", V));
  EXPECT_EQ(V, 0.0);
  EXPECT_TRUE(std::signbit(V));
  ASSERT_TRUE(orv::TryStrToFloat("0.00000000000000000000000001e-380", V));
  EXPECT_EQ(V, 0.0);
  V = 9;
  for (const char* Bad : {"", ".", "e5", "1e", "1e+", "1.5.2", "1,5", "inf", "NAN", "nan", "0x1p3", "--1",
                          "1e400", "-1e99999999999999999999", "1.5 2", "12abc"})
    EXPECT_FALSE(orv::TryStrToFloat(Bad, V)) << Bad;
  EXPECT_EQ(V, 9);
}

}  // namespace
