// A scratch directory per test, removed with everything in it. Test support.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

namespace orv::test {

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> Counter{0};
    FPath = std::filesystem::temp_directory_path() /
            ("orvcorekit-" + std::to_string(::getpid()) + "-" + std::to_string(Counter++));
    std::filesystem::create_directories(FPath);
  }
  ~TempDir() {
    std::error_code Ignored;
    std::filesystem::remove_all(FPath, Ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path() const { return FPath.string(); }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

 private:
  std::filesystem::path FPath;
};

}  // namespace orv::test
