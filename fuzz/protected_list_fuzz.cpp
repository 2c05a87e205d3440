// The protected list on any PassDat.ini: adding and removing folders, with any write failing,
// never lets PassCount and the entries of [PasswordSetData] drift apart. Every change adds,
// replaces or removes one entry and leaves PassCount equal to the number of entries (mending a
// count it found wrong), writes the file once at most, and gives back the list the file then
// holds; a change that is refused or fails leaves the file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/protected_list.h"

namespace folvane {
namespace {

struct ListState {
  std::optional<std::int16_t> count;
  std::vector<std::string> keys;  // of the entries, in file order
};

ListState Read(Platform& platform) {
  ListState state;
  state.count = ProtectedList::Read(platform, FileWait::NotAtAll).count();
  for (const std::string& entry :
       IniReadSectionEntries(platform, kSectionPasswordSetData, DataFilePath(platform)))
    state.keys.push_back(entry.substr(0, entry.find('=')));
  return state;
}

std::vector<std::string> Sorted(std::vector<std::string> keys) {
  std::sort(keys.begin(), keys.end());
  return keys;
}

// A folder key as the program gets one: a row of the list (what a double-click deletes), or the
// characters of a window title.
std::string PickKey(FuzzedDataProvider& input, Platform& platform, const ListState& state) {
  if (!state.keys.empty() && input.ConsumeBool())
    return state.keys[input.ConsumeIntegralInRange<std::size_t>(0, state.keys.size() - 1)];
  return platform.fromAnsi(input.ConsumeRandomLengthString(24));
}

}  // namespace
}  // namespace folvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace folvane;
  MemoryPlatform& platform = MemoryPlatform::instance();
  platform.reset();
  FuzzedDataProvider input(data, size);
  const std::string file = DataFilePath(platform);
  if (input.ConsumeIntegralInRange(0, 15) != 0)
    platform.files[file] = input.ConsumeRandomLengthString(size);

  for (int step = 0; step < 6 && input.remaining_bytes() > 0; ++step) {
    const ListState before = Read(platform);
    const std::optional<std::string> bytesBefore = platform.bytesOf(file);
    const bool add = input.ConsumeBool();
    const std::string key = PickKey(input, platform, before);
    // The program adds only keys the file can hold; it deletes whatever a row shows.
    if (add && !FolderKeyStorable(key)) continue;
    platform.writes = 0;
    platform.failingWrite = input.ConsumeIntegralInRange(0, 3);

    int moved = 0;                       // how far the count and the number of entries moved
    bool unchanged = false;              // refused before any write
    bool failed = false;                 // a write failed
    std::optional<ProtectedList> given;  // the list the change gave back
    if (add) {
      const std::string code = input.ConsumeBool() ? "116117118" : "";
      const ListChange<AddResult> change = AddProtectedFolder(platform, key, code);
      given = change.list;
      switch (change.result) {
        case AddResult::Added:
          moved = 1;
          FUZZ_CHECK(IniRead(platform, kSectionPasswordSetData, key, "\n", file) == code);
          break;
        case AddResult::Replaced:
          FUZZ_CHECK(IniRead(platform, kSectionPasswordSetData, key, "\n", file) == code);
          break;
        case AddResult::BadCount:
        case AddResult::Unreadable:
          unchanged = true;
          break;
        case AddResult::WriteFailed:
          failed = true;
          break;
      }
    } else {
      const ListChange<RemoveResult> change = RemoveProtectedFolder(platform, key);
      given = change.list;
      switch (change.result) {
        case RemoveResult::Removed:
          moved = -1;
          break;
        case RemoveResult::NotListed:
        case RemoveResult::BadCount:
        case RemoveResult::Unreadable:
          unchanged = true;
          break;
        case RemoveResult::WriteFailed:
          failed = true;
          break;
      }
    }
    platform.failingWrite = 0;
    FUZZ_CHECK(platform.writes <= 1);
    FUZZ_CHECK(*given == ProtectedList::Read(platform, FileWait::NotAtAll));

    const ListState after = Read(platform);
    if (unchanged) {
      FUZZ_CHECK(platform.bytesOf(file) == bytesBefore);
      continue;
    }
    // Any change at all needs a usable count.
    FUZZ_CHECK(before.count && *before.count >= 0);
    // A failed change leaves the file as it was (a missing file may come back empty).
    if (failed) {
      FUZZ_CHECK(platform.bytesOf(file).value_or("") == bytesBefore.value_or(""));
      continue;
    }
    // A change moves the entries by one step at most, and leaves the count telling their number.
    FUZZ_CHECK(static_cast<int>(after.keys.size()) == static_cast<int>(before.keys.size()) + moved);
    FUZZ_CHECK(after.count && *after.count == static_cast<int>(after.keys.size()));
    if (moved == 0) FUZZ_CHECK(Sorted(after.keys) == Sorted(before.keys));
  }
  return 0;
}
