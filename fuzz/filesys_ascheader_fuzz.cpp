// ReadHeaderOfASC on arbitrary bytes: one of its codes; on success counts a
// caller may size storage from (no more values than the file has bytes left),
// otherwise the outputs unchanged.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_filesys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string S = orv::fuzz::SplitInput(Data, Size, 0).Text;
  std::string Comment = "unchanged";
  int32_t Cols = -7, Rows = -7;
  bool Flags[4] = {true, false, true, false};
  const int32_t Code = orv::ReadHeaderOfASC(orv::fuzz::Scratch().Hold(S), Comment, Cols, Rows, Flags[0], Flags[1],
                                            Flags[2], Flags[3]);
  ORV_FUZZ_CHECK(Code == 0 || Code == orv::ascShortHeader || Code == orv::ascBadCounts || Code == orv::ascBadFlags);
  if (Code != 0) {
    ORV_FUZZ_CHECK(Comment == "unchanged" && Cols == -7 && Rows == -7);
    ORV_FUZZ_CHECK(Flags[0] && !Flags[1] && Flags[2] && !Flags[3]);
    return 0;
  }
  // The comment is the first line; the rest of the file follows the fourth.
  size_t Rest = 0;
  std::string_view Tail = S;
  for (int L = 0; L < 4; ++L) {
    const size_t Lf = Tail.find('\n');
    ORV_FUZZ_CHECK(L == 3 || Lf != std::string_view::npos);
    if (L == 0) ORV_FUZZ_CHECK(Comment.size() <= Lf && std::string_view(S).starts_with(Comment));
    Tail = Lf == std::string_view::npos ? std::string_view() : Tail.substr(Lf + 1);
  }
  Rest = Tail.size();
  ORV_FUZZ_CHECK(Cols >= 1 && Rows >= 0);
  ORV_FUZZ_CHECK(static_cast<uint64_t>(Cols) * static_cast<uint64_t>(Rows) <= Rest);
  return 0;
}
