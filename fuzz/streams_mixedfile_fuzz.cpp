// TMixedFStream reading arbitrary bytes under a script of reads (the first
// bytes of the input): each read gives the little-endian item at its
// position or raises EInOutError because the file holds too few bytes or a
// bad line length; a line never claims more than the file has.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_streams.h"
#include "orvcorekit/Orv_sysutils.h"

namespace {

uint64_t LittleEndian(std::string_view B) {
  uint64_t V = 0;
  for (size_t I = 0; I < B.size(); ++I) V |= uint64_t{static_cast<unsigned char>(B[I])} << (8 * I);
  return V;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 16);
  const std::string_view Script = In.Script, Body = In.Text;
  orv::TMixedFStream F(orv::fuzz::Scratch().Hold(Body), orv::fmOpenRead);
  const auto Len = static_cast<int64_t>(Body.size());
  // The items start behind the lead.
  auto Pos = static_cast<int64_t>(In.Lead);
  F.Seek(Pos, orv::soBeginning);
  for (int Round = 0; Round < 4096 && (Pos < Len || Round == 0); ++Round) {
    for (const char Op : Script) {
      ORV_FUZZ_CHECK(F.Position() == Pos);
      const std::string_view Rest = Body.substr(static_cast<size_t>(Pos));
      const auto Code = static_cast<uint8_t>(Op);
      try {
        switch (Code % 5) {
          case 0:
            ORV_FUZZ_CHECK(F.ReadInteger() == static_cast<int32_t>(LittleEndian(Rest.substr(0, 4))));
            ORV_FUZZ_CHECK(Rest.size() >= 4);
            Pos += 4;
            break;
          case 1: {
            const double X = F.ReadDouble();
            ORV_FUZZ_CHECK(Rest.size() >= 8 && std::bit_cast<uint64_t>(X) == LittleEndian(Rest.substr(0, 8)));
            Pos += 8;
            break;
          }
          case 2: {
            const uint8_t B = F.ReadByte();
            ORV_FUZZ_CHECK(!Rest.empty() && B == static_cast<uint8_t>(Rest[0]));
            Pos += 1;
            break;
          }
          case 3: {
            const std::string Line = F.ReadLn(4);
            ORV_FUZZ_CHECK(Rest.size() >= 4);
            const auto N = static_cast<int32_t>(LittleEndian(Rest.substr(0, 4)));
            ORV_FUZZ_CHECK(N >= 0 && Line.size() == static_cast<size_t>(N) && Line == Rest.substr(4, Line.size()));
            Pos += 4 + N;
            break;
          }
          case 4:  // a length width other than 4 is refused
            (void)F.ReadLn(Code >> 3 == 4 ? 3 : Code >> 3);
            ORV_FUZZ_CHECK(false);
            break;
        }
      } catch (const orv::EInOutError&) {
        // Only too few bytes or a bad length or width may fail; the position
        // after a failed read is not specified, so the script ends here.
        bool Allowed = false;
        switch (Code % 5) {
          case 0: Allowed = Rest.size() < 4; break;
          case 1: Allowed = Rest.size() < 8; break;
          case 2: Allowed = Rest.empty(); break;
          case 3:
            Allowed = Rest.size() < 4 ||
                      static_cast<int64_t>(static_cast<int32_t>(LittleEndian(Rest.substr(0, 4)))) < 0 ||
                      static_cast<int64_t>(LittleEndian(Rest.substr(0, 4))) > static_cast<int64_t>(Rest.size()) - 4;
            break;
          case 4: Allowed = true; break;
        }
        ORV_FUZZ_CHECK(Allowed);
        return 0;
      }
    }
  }
  return 0;
}
