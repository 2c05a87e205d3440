// What the fuzz targets share: a check that stops the run with a message, and the fake platform
// with its files in memory, so that millions of runs never touch the disk.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/fake/fake_platform.h"

// A broken promise: libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace folvane {

class MemoryPlatform : public FakePlatform {
 public:
  // One for the whole run: its temporary folder is made once and never used.
  static MemoryPlatform& instance() {
    static MemoryPlatform platform;
    return platform;
  }

  // Back to no files and no failing write, before each input.
  void reset() {
    files.clear();
    writes = 0;
    failingWrite = 0;
  }

  std::map<std::string, std::string> files;
  int writes = 0;        // replaceFile calls since the reset
  int failingWrite = 0;  // the replaceFile call (1 for the first) that fails; 0: none

  FileRead readFile(const std::string& path, FileWait) override {
    auto found = files.find(path);
    if (found == files.end()) return {FileRead::Status::Missing, {}};
    return {FileRead::Status::Read, found->second};
  }
  // The file's bytes, or nullopt when it is missing.
  std::optional<std::string> bytesOf(const std::string& path) const {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  bool replaceFile(const std::string& path, const std::string& bytes) override {
    if (++writes == failingWrite) return false;
    files[path] = bytes;
    return true;
  }
};

}  // namespace folvane
