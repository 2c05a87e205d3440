// The protected list as it grows: filling the list from PassDat.ini, and the lock check's read of
// one folder's code (the last one in the file, the longest search).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "store/data_files.h"
#include "store/ini_rewrite.h"

namespace folvane {
namespace {

std::string FolderName(int i) {
  return "Folder " + std::to_string(i);
}

void WriteList(FakePlatform& platform, int count) {
  std::string list = "[PasswordSetData]\r\n";
  for (int i = 0; i < count; ++i) list += FolderName(i) + "=116117118119120121\r\n";
  list += "[PasswordNumber]\r\nPassCount=" + std::to_string(count) + "\r\n";
  platform.replaceFile(DataFilePath(platform), list);
}

void BM_ProtectedListRows(benchmark::State& state) {
  FakePlatform platform;
  const int count = static_cast<int>(state.range(0));
  WriteList(platform, count);
  for (auto _ : state) {
    std::vector<std::string> rows = ProtectedListRows(platform);
    if (static_cast<int>(rows.size()) != count) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_ProtectedListRows)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);

void BM_IniReadLastKey(benchmark::State& state) {
  FakePlatform platform;
  const int count = static_cast<int>(state.range(0));
  WriteList(platform, count);
  const std::string file = DataFilePath(platform);
  const std::string key = FolderName(count - 1);
  for (auto _ : state) {
    std::string code = IniRead(platform, kSectionPasswordSetData, key, "", file);
    if (code.empty()) state.SkipWithError("key not found");
    benchmark::DoNotOptimize(code);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_IniReadLastKey)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);

}  // namespace
}  // namespace folvane
