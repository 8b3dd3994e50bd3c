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

// The input as a string.
inline std::string AsString(const uint8_t* Data, size_t Size) {
  return std::string(reinterpret_cast<const char*>(Data), Size);
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

 private:
  std::string FName;
};

// The one scratch file of the process.
inline TScratchFile& Scratch() {
  static TScratchFile File;
  return File;
}

// Splits an input into a script of operations (its first bytes, up to
// ScriptLen) and the rest, which the readers read.
struct TScriptAndBody {
  std::string_view Script, Body;
};
inline TScriptAndBody SplitScript(const uint8_t* Data, size_t Size, size_t ScriptLen) {
  const std::string_view All(reinterpret_cast<const char*>(Data), Size);
  const size_t N = Size < ScriptLen ? Size : ScriptLen;
  return {All.substr(0, N), All.substr(N)};
}

}  // namespace orv::fuzz
