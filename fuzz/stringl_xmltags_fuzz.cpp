// The XML tag readers on arbitrary bytes: the string reader and the text file
// reader walk the same tags, Pos only moves forward and stays within the text,
// and no tag holds more than the text has.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_stringl.h"

namespace {

bool SameTag(const orv::TXmlTag& A, const orv::TXmlTag& B) {
  return A.Kind == B.Kind && A.Name == B.Name && A.Attributes == B.Attributes && A.Content == B.Content;
}

void CheckTag(const orv::TXmlTag& T, const std::string& S) {
  ORV_FUZZ_CHECK(T.Kind == orv::xtStart || T.Kind == orv::xtEnd || T.Kind == orv::xtEmpty);
  ORV_FUZZ_CHECK(T.Name.size() + T.Attributes.size() <= S.size());
  ORV_FUZZ_CHECK(T.Content.size() <= S.size());  // entities never grow
  for (char C : T.Name) ORV_FUZZ_CHECK(C != ' ' && C != '\t' && C != '\r' && C != '\n' && C != '/' && C != '>');
  if (!T.Attributes.empty()) {
    ORV_FUZZ_CHECK(static_cast<unsigned char>(T.Attributes.front()) > ' ');
    ORV_FUZZ_CHECK(static_cast<unsigned char>(T.Attributes.back()) > ' ');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 0);
  const std::string& S = In.Text;
  const int64_t End = static_cast<int64_t>(S.size()) + 1;
  const auto Tags = static_cast<size_t>(std::count(S.begin(), S.end(), '<'));

  std::vector<orv::TXmlTag> FromString;
  int64_t Pos = 1;
  orv::TXmlTag T;
  for (;;) {
    const int64_t Before = Pos;
    const bool Found = orv::ReadNextTagInString(S, Pos, T);
    if (!Found) {
      ORV_FUZZ_CHECK(Pos == End);
      break;
    }
    ORV_FUZZ_CHECK(Pos > Before && Pos <= End);
    CheckTag(T, S);
    FromString.push_back(T);
    ORV_FUZZ_CHECK(FromString.size() <= Tags);
  }
  // Once at the end, it stays there.
  ORV_FUZZ_CHECK(!orv::ReadNextTagInString(S, Pos, T) && Pos == End);

  orv::TTextFile F;
  F.Reset(orv::fuzz::Scratch().Hold(S));
  size_t N = 0;
  while (orv::ReadNextTagInTextFile(F, T)) {
    ORV_FUZZ_CHECK(N < FromString.size() && SameTag(T, FromString[N]));
    ++N;
    ORV_FUZZ_CHECK(F.Position() <= F.Size());
  }
  ORV_FUZZ_CHECK(N == FromString.size());
  ORV_FUZZ_CHECK(!orv::ReadNextTagInTextFile(F, T));

  // A start anywhere near the end of the lead, also outside the text.
  if (Size >= 2) {
    int64_t Start = static_cast<int64_t>(In.Lead) + static_cast<int8_t>(Data[Size - 1]) * 4 + Data[Size - 2];
    const int64_t Before = std::max<int64_t>(Start, 1);
    const bool Found = orv::ReadNextTagInString(S, Start, T);
    ORV_FUZZ_CHECK(Found ? Start > Before && Start <= End : Start == End);
    if (Found) CheckTag(T, S);
  }
  return 0;
}
