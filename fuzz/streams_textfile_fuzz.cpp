// TTextFile reading arbitrary bytes under a script of reads (the first bytes
// of the input): every read gives what the file holds at the position it
// reports, never more than is there, and the position only moves forward.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "orvcorekit/Orv_streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const orv::fuzz::TInput In = orv::fuzz::SplitInput(Data, Size, 16);
  const std::string_view Script = In.Script, Body = In.Text;
  orv::TTextFile F;
  F.Reset(orv::fuzz::Scratch().Hold(Body));
  const auto Len = static_cast<int64_t>(Body.size());
  ORV_FUZZ_CHECK(F.Size() == Len);
  int64_t Pos = 0;
  // The script repeats until the file is read, so that long files are read through.
  for (int Round = 0; Round < 4096 && (Pos < Len || Round == 0); ++Round) {
    for (const char Op : Script) {
      ORV_FUZZ_CHECK(F.Position() == Pos);
      const std::string_view Rest = Body.substr(static_cast<size_t>(Pos));
      switch (static_cast<uint8_t>(Op) % 8) {
        case 0: {  // a line: the bytes up to LF, without a CR before it
          std::string Line = "unchanged";
          const bool Ok = F.ReadLn(Line);
          ORV_FUZZ_CHECK(Ok == !Rest.empty());
          if (!Ok) {
            ORV_FUZZ_CHECK(Line == "unchanged");
            break;
          }
          const size_t Lf = Rest.find('\n');
          std::string_view Expect = Rest.substr(0, Lf);
          if (!Expect.empty() && Expect.back() == '\r') Expect.remove_suffix(1);
          ORV_FUZZ_CHECK(Line == Expect);
          Pos += static_cast<int64_t>(Lf == std::string_view::npos ? Rest.size() : Lf + 1);
          break;
        }
        case 1:    // a word
        case 2:    // a word as a number
        case 3: {  // a word as an integer
          const auto [Start, Stop] = orv::fuzz::NextWordSpan(Rest, 0);
          const std::string_view Word = Rest.substr(Start, Stop - Start);
          bool Ok = false;
          if (Op % 8 == 1) {
            std::string W = "unchanged";
            Ok = F.ReadWord(W);
            ORV_FUZZ_CHECK(W == (Ok ? Word : "unchanged"));
          } else if (Op % 8 == 2) {
            double X = -0.5;
            Ok = F.ReadReal(X);
            ORV_FUZZ_CHECK(Ok || X == -0.5);
          } else {
            int32_t X = -5;
            Ok = F.ReadInteger(X);
            ORV_FUZZ_CHECK(Ok || X == -5);
          }
          ORV_FUZZ_CHECK(!Ok || !Word.empty());
          // A word that is no number is taken all the same; blanks alone are too.
          Pos += static_cast<int64_t>(Stop);
          break;
        }
        case 4: {
          char C = 0;
          const bool Ok = F.ReadChar(C);
          ORV_FUZZ_CHECK(Ok == !Rest.empty() && (!Ok || C == Rest[0]));
          Pos += Ok ? 1 : 0;
          break;
        }
        case 5:
          ORV_FUZZ_CHECK(F.PeekChar() == (Rest.empty() ? -1 : static_cast<unsigned char>(Rest[0])));
          break;
        case 6:
          ORV_FUZZ_CHECK(F.Eof() == Rest.empty());
          break;
        case 7: {  // the script's own bytes as the text looked for, of a length from the op
          const std::string_view Text = Script.substr(0, (static_cast<uint8_t>(Op) >> 3) % (Script.size() + 1));
          ORV_FUZZ_CHECK(F.LookingAt(Text) == Rest.starts_with(Text));
          break;
        }
      }
    }
  }
  return 0;
}
