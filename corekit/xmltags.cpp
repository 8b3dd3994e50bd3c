// The tag readers of XML texts, over a string (Orv_stringl) and over a text
// file (Orv_streams): one walker over either source.
#include <algorithm>
#include <string_view>
#include <utility>

#include "corekit/chars.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"

namespace orv {

namespace {

class StringSource {
 public:
  StringSource(const std::string& S, size_t Pos) : FS(S), FPos(Pos) {}
  int32_t Peek() const { return FPos < FS.size() ? static_cast<unsigned char>(FS[FPos]) : -1; }
  bool LookingAt(std::string_view T) const { return std::string_view(FS).substr(FPos).starts_with(T); }
  void Skip(size_t N) { FPos = std::min(FS.size(), FPos + N); }
  size_t Pos() const { return FPos; }

 private:
  const std::string& FS;
  size_t FPos;
};

class FileSource {
 public:
  explicit FileSource(TTextFile& F) : FF(F) {}
  int32_t Peek() { return FF.PeekChar(); }
  bool LookingAt(std::string_view T) { return FF.LookingAt(T); }
  void Skip(size_t N) {
    char C;
    while (N-- > 0 && FF.ReadChar(C)) {
    }
  }

 private:
  TTextFile& FF;
};

// Skips up to and including End; false when the text ends first.
template <class Src>
bool SkipPast(Src& In, std::string_view End) {
  while (In.Peek() >= 0) {
    if (In.LookingAt(End)) {
      In.Skip(End.size());
      return true;
    }
    In.Skip(1);
  }
  return false;
}

void AppendUtf8(std::string& Out, uint32_t Cp) {
  if (Cp < 0x80) {
    Out += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    Out += static_cast<char>(0xC0 | (Cp >> 6));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    Out += static_cast<char>(0xE0 | (Cp >> 12));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Cp >> 18));
    Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

// The character an entity body (between "&" and ";") stands for; false when
// it is none of the known ones or no valid character.
bool DecodeEntity(std::string_view Body, std::string& Out) {
  static constexpr std::pair<std::string_view, char> Named[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (auto [Name, Ch] : Named)
    if (Body == Name) {
      Out += Ch;
      return true;
    }
  if (Body.size() < 2 || Body[0] != '#') return false;
  const bool Hex = Body[1] == 'x' || Body[1] == 'X';
  const std::string_view Digits = Body.substr(Hex ? 2 : 1);
  if (Digits.empty() || Digits.size() > 8) return false;
  uint32_t Cp = 0;
  for (char C : Digits) {
    int D = -1;
    if (detail::IsDigit(C)) D = C - '0';
    else if (Hex && C >= 'a' && C <= 'f') D = C - 'a' + 10;
    else if (Hex && C >= 'A' && C <= 'F') D = C - 'A' + 10;
    if (D < 0) return false;
    Cp = Cp * (Hex ? 16 : 10) + static_cast<uint32_t>(D);
  }
  if (Cp == 0 || Cp > 0x10FFFF || (Cp >= 0xD800 && Cp <= 0xDFFF)) return false;
  AppendUtf8(Out, Cp);
  return true;
}

// The text up to the next tag, with comments dropped, CDATA kept and entities replaced.
template <class Src>
std::string ReadText(Src& In) {
  std::string Out;
  for (int32_t C = In.Peek(); C >= 0; C = In.Peek()) {
    if (C == '<') {
      if (In.LookingAt("<!--")) {
        In.Skip(4);
        SkipPast(In, "-->");
        continue;
      }
      if (In.LookingAt("<![CDATA[")) {
        In.Skip(9);
        for (int32_t D = In.Peek(); D >= 0 && !In.LookingAt("]]>"); D = In.Peek()) {
          Out += static_cast<char>(D);
          In.Skip(1);
        }
        In.Skip(3);
        continue;
      }
      break;
    }
    In.Skip(1);
    if (C != '&') {
      Out += static_cast<char>(C);
      continue;
    }
    // An entity is short: look at most 12 characters ahead for its ";".
    std::string Body;
    while (Body.size() < 12 && In.Peek() >= 0 && In.Peek() != ';' && In.Peek() != '<' && In.Peek() != '&') {
      Body += static_cast<char>(In.Peek());
      In.Skip(1);
    }
    if (In.Peek() == ';' && DecodeEntity(Body, Out)) {
      In.Skip(1);
    } else {
      Out += '&';
      Out += Body;  // not an entity: kept as written
    }
  }
  return Out;
}

template <class Src>
bool ReadTag(Src& In, TXmlTag& Tag) {
  for (;;) {
    ReadText(In);  // text before the tag belongs to no tag
    if (In.Peek() < 0) return false;
    if (In.LookingAt("<?")) {
      if (!SkipPast(In, "?>")) return false;
      continue;
    }
    if (In.LookingAt("<!")) {  // a declaration; comments and CDATA went with the text
      if (!SkipPast(In, ">")) return false;
      continue;
    }
    break;
  }
  In.Skip(1);  // "<"
  TXmlTag T;
  if (In.Peek() == '/') {
    T.Kind = xtEnd;
    In.Skip(1);
  }
  for (int32_t C = In.Peek(); C >= 0 && !detail::IsSeparator(C) && C != '/' && C != '>'; C = In.Peek()) {
    T.Name += static_cast<char>(C);
    In.Skip(1);
  }
  // Attributes up to ">" outside quotes.
  std::string Attr;
  char Quote = 0;
  for (;;) {
    const int32_t C = In.Peek();
    if (C < 0) return false;
    In.Skip(1);
    if (Quote == 0 && C == '>') break;
    if (Quote != 0 && C == Quote) Quote = 0;
    else if (Quote == 0 && (C == '"' || C == '\'')) Quote = static_cast<char>(C);
    Attr += static_cast<char>(C);
  }
  Attr = StripLTBlanks(Attr);
  if (!Attr.empty() && Attr.back() == '/' && T.Kind == xtStart) {
    T.Kind = xtEmpty;
    Attr = StripLTBlanks(Attr.substr(0, Attr.size() - 1));
  }
  T.Attributes = std::move(Attr);
  T.Content = ReadText(In);
  Tag = std::move(T);
  return true;
}

}  // namespace

bool ReadNextTagInString(const std::string& S, int64_t& Pos, TXmlTag& Tag) {
  const size_t Start = Pos <= 1 ? 0 : static_cast<uint64_t>(Pos - 1) >= S.size() ? S.size() : static_cast<size_t>(Pos - 1);
  StringSource In(S, Start);
  const bool Found = ReadTag(In, Tag);
  Pos = static_cast<int64_t>(Found ? In.Pos() : S.size()) + 1;
  return Found;
}

bool ReadNextTagInTextFile(TTextFile& F, TXmlTag& Tag) {
  FileSource In(F);
  return ReadTag(In, Tag);
}

std::string EscapeXml(std::string_view S, bool InAttribute) {
  std::string Out;
  Out.reserve(S.size());
  for (char C : S) {
    switch (C) {
      case '&': Out += "&amp;"; break;
      case '<': Out += "&lt;"; break;
      case '>': Out += "&gt;"; break;
      case '"':
        if (InAttribute) {
          Out += "&quot;";
          break;
        }
        [[fallthrough]];
      default: Out += C;
    }
  }
  return Out;
}

std::string UnescapeXml(std::string_view S) {
  std::string Out;
  Out.reserve(S.size());
  for (size_t I = 0; I < S.size();) {
    if (S[I] != '&') {
      Out += S[I++];
      continue;
    }
    // As in a content: an entity body is at most 12 characters.
    const size_t Semi = S.find(';', I + 1);
    if (Semi != std::string_view::npos && Semi - I - 1 <= 12 &&
        S.substr(I + 1, Semi - I - 1).find_first_of("&<") == std::string_view::npos &&
        DecodeEntity(S.substr(I + 1, Semi - I - 1), Out)) {
      I = Semi + 1;
      continue;
    }
    Out += S[I++];
  }
  return Out;
}

}  // namespace orv
