// Base unit Orv_stringl: string utilities and number formatting.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Orv_export.h"

namespace orv {

// X in fixed point with Decimals decimals (negative counts as 0), padded with
// blanks on the left to Width; never cut. Str(X, Width, Decimals), with its
// limit of 4096 on both.
ORVCORE_API std::string strff(double X, int32_t Width, int32_t Decimals);

// S without the blanks at both ends; every character up to 32 (blank, TAB,
// line breaks and the other control characters) counts as a blank.
ORVCORE_API std::string StripLTBlanks(const std::string& S);
// S with every character OldChar replaced by NewChar.
ORVCORE_API std::string ReplaceCharInString(const std::string& S, char OldChar, char NewChar);
// S without the control characters 0..31 and 127. Bytes from 128 on (the
// parts of UTF-8 sequences) are kept.
ORVCORE_API std::string RemoveControlChars(const std::string& S);
// S without the characters Ch at its end.
ORVCORE_API std::string StripTrailingChars(char Ch, const std::string& S);
// Whether S contains Sub (case matters); an empty Sub is contained nowhere.
// The pattern "//dig" stands for any decimal digit: true when S has one.
ORVCORE_API bool StringContains(const std::string& S, const std::string& Sub);
// The 1-based position of the first entry of List equal to S, 0 when none is.
// With IgnoreCase the letters A-Z and a-z compare equal to each other; other
// characters (UTF-8 sequences included) must match exactly.
ORVCORE_API int32_t StringIx(const std::string& S, std::span<const std::string> List);
ORVCORE_API int32_t StringIx(const std::string& S, bool IgnoreCase, std::span<const std::string> List);
ORVCORE_API int32_t StringIx(const std::string& S, std::span<const std::string_view> List);
ORVCORE_API int32_t StringIx(const std::string& S, bool IgnoreCase, std::span<const std::string_view> List);
// Splits S at blanks, TABs and line breaks into Tokens and returns their
// number. A part between double quotes is not split and keeps its quotes
// (name="a b" is one token); an unclosed quote runs to the end of S.
ORVCORE_API int32_t Tokenize(const std::string& S, std::vector<std::string>& Tokens);

// The scanner state of ParseQuotedName; start with qsWaiting.
enum TQuotedStrState : uint8_t {
  qsWaiting = 0,    // before a name: blanks, TABs and line breaks are skipped
  qsInQuotes = 1,   // inside a quoted name
  qsInWord = 2      // inside a name written without quotes
};
// Scans names one character at a time: feed every character Ch of the text
// in turn. A name is either enclosed in Quote characters (it may hold blanks;
// there is no escape for Quote itself) or, without quotes, a word that ends
// at a blank, TAB or line break (the files of the curve fitter write their
// column names so). The result is true when Ch completes a name, which is
// then in Name; State is back at qsWaiting. Any state value outside the
// named ones counts as qsWaiting.
ORVCORE_API bool ParseQuotedName(char Ch, char Quote, std::string& Name, TQuotedStrState& State);

// One tag of an XML text, as the tag readers hand it over.
enum TXmlTagKind : uint8_t {
  xtStart = 0,  // <name attributes>
  xtEnd = 1,    // </name>
  xtEmpty = 2   // <name attributes/>: no end tag follows
};
struct TXmlTag {
  TXmlTagKind Kind = xtStart;
  std::string Name;        // as written (case kept)
  std::string Attributes;  // the text between the name and ">" or "/>", blanks at both ends removed, as written
  std::string Content;     // the text behind the tag up to the next tag, entities replaced
};
// Reads the next tag of the XML text S from the 1-based position Pos on and
// moves Pos behind the text that follows it, so that repeated calls walk the
// tags of S one by one; nested elements come as their own tags. Text before
// the first tag is skipped, and so are comments, processing instructions
// (<?xml ...?>) and declarations (<!DOCTYPE ...>); a comment inside a text
// does not end it, and CDATA sections join it unchanged. In Content the
// entities &lt; &gt; &amp; &quot; &apos; and &#n; / &#xh; (as UTF-8) are
// replaced; any other "&" stays. False, with Tag unchanged and Pos behind
// the end, when no complete tag is left; a Pos below 1 counts as 1.
ORVCORE_API bool ReadNextTagInString(const std::string& S, int64_t& Pos, TXmlTag& Tag);

// S as XML text: "&", "<" and ">" become &amp; &lt; &gt;, and with
// InAttribute also '"' becomes &quot;, so the text fits between an element's
// tags or into a double-quoted attribute value. Other bytes pass unchanged.
ORVCORE_API std::string EscapeXml(std::string_view S, bool InAttribute = false);
// S with the entities that ReadNextTagInString replaces in a content
// replaced the same way (for attribute values, which the readers hand over
// as written); any other "&" stays.
ORVCORE_API std::string UnescapeXml(std::string_view S);

}  // namespace orv
