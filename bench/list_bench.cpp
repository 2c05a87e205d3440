// The protected list as it grows: reading PassDat.ini into the list and filling the rows, and the
// lock check's decision on one folder (one read of the list, then the code of the last folder in
// the file, the longest search).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "store/data_file_names.h"
#include "store/protected_list.h"

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
    std::vector<std::string> rows = ProtectedList::Read(platform, FileWait::NotAtAll).rows();
    if (static_cast<int>(rows.size()) != count) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_ProtectedListRows)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);

void BM_LockDecisionLastKey(benchmark::State& state) {
  FakePlatform platform;
  const int count = static_cast<int>(state.range(0));
  WriteList(platform, count);
  const std::string key = FolderName(count - 1);
  for (auto _ : state) {
    std::string code =
        ProtectedList::Read(platform, FileWait::NotAtAll).codeOf(ListKeyOf(platform, key));
    if (code.empty()) state.SkipWithError("key not found");
    benchmark::DoNotOptimize(code);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_LockDecisionLastKey)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);

}  // namespace
}  // namespace folvane
