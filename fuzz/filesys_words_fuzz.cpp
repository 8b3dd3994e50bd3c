// ReadNextWordInTextFile on arbitrary bytes: the words are the runs between
// blanks, TABs and line breaks, all of them, in order, and nothing else.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_filesys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string S = orv::fuzz::SplitInput(Data, Size, 0).Text;
  orv::TTextFile F;
  F.Reset(orv::fuzz::Scratch().Hold(S));
  size_t At = 0;
  std::string Word;
  while (orv::ReadNextWordInTextFile(F, Word)) {
    const auto [Start, Stop] = orv::fuzz::NextWordSpan(S, At);
    ORV_FUZZ_CHECK(Stop > Start && Word == std::string_view(S).substr(Start, Stop - Start));
    At = Stop;
    ORV_FUZZ_CHECK(F.Position() == static_cast<int64_t>(At));
  }
  ORV_FUZZ_CHECK(orv::fuzz::NextWordSpan(S, At).Start == S.size());
  ORV_FUZZ_CHECK(!orv::ReadNextWordInTextFile(F, Word));
  return 0;
}
