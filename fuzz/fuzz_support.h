// Shared by the fuzz programs: a scratch file for the readers of files, and
// the check that turns a broken promise into a crash libFuzzer reports.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define ORV_FUZZ_CHECK(Cond)                                                          \
  do {                                                                                \
    if (!(Cond)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #Cond); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

namespace orv::fuzz {

// Where the next word of S from From on starts and where it stops (both
// S.size() when none is left). Words are separated by what the text readers
// document: blank, TAB, CR and LF.
struct TWordSpan {
  size_t Start, Stop;
};
inline TWordSpan NextWordSpan(std::string_view S, size_t From) {
  const auto Sep = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
  size_t Start = From;
  while (Start < S.size() && Sep(S[Start])) ++Start;
  size_t Stop = Start;
  while (Stop < S.size() && !Sep(S[Stop])) ++Stop;
  return {Start, Stop};
}

// A file of this process in the temporary folder, rewritten for every input
// and removed at exit.
class TScratchFile {
 public:
  TScratchFile() {
    const char* Dir = std::getenv("TMPDIR");
    std::string Pattern = std::string(Dir && *Dir ? Dir : "/tmp") + "/orvfuzz-XXXXXX";
    const int Fd = ::mkstemp(Pattern.data());
    if (Fd < 0) {
      std::perror("mkstemp");
      std::abort();
    }
    ::close(Fd);
    FName = Pattern;
  }
  ~TScratchFile() { std::remove(FName.c_str()); }
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;

  // Writes Bytes as the whole file and returns its name.
  const std::string& Hold(std::string_view Bytes) {
    std::FILE* F = std::fopen(FName.c_str(), "wb");
    if (F == nullptr || std::fwrite(Bytes.data(), 1, Bytes.size(), F) != Bytes.size() || std::fclose(F) != 0) {
      std::perror(FName.c_str());
      std::abort();
    }
    return FName;
  }
  // The file's name, for a writer under test.
  const std::string& Name() const { return FName; }

 private:
  std::string FName;
};

// The one scratch file of the process.
inline TScratchFile& Scratch() {
  static TScratchFile File;
  return File;
}

// An input taken apart: its first byte chooses the layout, the next
// ScriptLen bytes are a script of operations (for programs that need one),
// and the rest is the text the readers read, behind a lead.
//
// Files are read through buffers of 64 KiB, whose refills a short input never
// reaches. When the layout byte is 1 modulo 8, the text therefore starts with
// a lead of filler bytes (the first byte of the rest, repeated) that ends
// layout / 8 bytes before the first 64 KiB boundary, so that reads near the
// start of the rest cross it. (Rare, as such inputs are slow.)
struct TInput {
  std::string_view Script;
  std::string Text;
  size_t Lead = 0;
};
inline TInput SplitInput(const uint8_t* Data, size_t Size, size_t ScriptLen) {
  const std::string_view All(reinterpret_cast<const char*>(Data), Size);
  TInput In;
  if (All.empty()) return In;
  const auto Layout = static_cast<uint8_t>(All[0]);
  In.Script = All.substr(1, ScriptLen);
  const std::string_view Rest = All.substr(1 + In.Script.size());
  if (Layout % 8 == 1) In.Lead = (size_t{1} << 16) - Layout / 8;
  In.Text.assign(In.Lead, Rest.empty() ? ' ' : Rest[0]);
  In.Text += Rest;
  return In;
}

}  // namespace orv::fuzz
