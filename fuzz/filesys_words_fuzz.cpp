// ReadNextWordInTextFile on arbitrary bytes: the words are the runs between
// blanks, TABs and line breaks, all of them, in order, and nothing else.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_filesys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string S = orv::fuzz::AsString(Data, Size);
  orv::TTextFile F;
  F.Reset(orv::fuzz::Scratch().Hold(S));
  const auto IsSeparator = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  size_t At = 0;
  std::string Word;
  while (orv::ReadNextWordInTextFile(F, Word)) {
    while (At < S.size() && IsSeparator(S[At])) ++At;
    size_t Stop = At;
    while (Stop < S.size() && !IsSeparator(S[Stop])) ++Stop;
    ORV_FUZZ_CHECK(Stop > At && Word == std::string_view(S).substr(At, Stop - At));
    At = Stop;
    ORV_FUZZ_CHECK(F.Position() == static_cast<int64_t>(At));
  }
  while (At < S.size() && IsSeparator(S[At])) ++At;
  ORV_FUZZ_CHECK(At == S.size());
  ORV_FUZZ_CHECK(!orv::ReadNextWordInTextFile(F, Word));
  return 0;
}
