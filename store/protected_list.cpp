#include "store/protected_list.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "store/data_files.h"
#include "store/ini_rewrite.h"
#include "store/ini_text.h"

namespace folvane {

namespace {

// A value read from a line can never hold a line break, so this default tells "no such key"
// apart from a key stored with an empty value.
constexpr char kMissing[] = "\n";

std::optional<std::string> EntryOf(Platform& platform, const std::string& key) {
  std::string code =
      IniRead(platform, kSectionPasswordSetData, key, kMissing, DataFilePath(platform));
  if (code == kMissing) return std::nullopt;
  return code;
}

bool WriteEntry(Platform& platform, const std::string& key,
                const std::optional<std::string>& code) {
  return IniWrite(platform, kSectionPasswordSetData, key, code, DataFilePath(platform));
}

// PassCount as a count of entries: a 16-bit number that is not negative.
std::optional<int> ReadCount(Platform& platform) {
  std::optional<std::int16_t> count = ReadPassCount(platform);
  if (!count || *count < 0) return std::nullopt;
  return *count;
}

bool WriteCount(Platform& platform, int count) {
  return IniWrite(platform, kSectionPasswordNumber, kKeyPassCount, std::to_string(count),
                  DataFilePath(platform));
}

}  // namespace

bool FolderKeyStorable(const std::string& key) {
  if (key.empty()) return false;
  // The first "=" of a line ends its key, and a line break ends the line.
  if (key.find_first_of("=\r\n") != std::string::npos) return false;
  // A line that opens with "[" names a section, one that opens with ";" is a comment.
  if (key.front() == '[' || key.front() == ';') return false;
  // Blanks around a key are not part of it when the file is read back.
  if (IsIniBlank(static_cast<unsigned char>(key.front())) ||
      IsIniBlank(static_cast<unsigned char>(key.back())))
    return false;
  return true;
}

bool ProtectedFolderListed(Platform& platform, const std::string& key) {
  return IniHasKey(platform, kSectionPasswordSetData, key, DataFilePath(platform));
}

AddResult AddProtectedFolder(Platform& platform, const std::string& key, const std::string& code) {
  std::optional<int> count = ReadCount(platform);
  if (!count) return AddResult::BadCount;
  const bool known = ProtectedFolderListed(platform, key);
  if (!known && *count == std::numeric_limits<std::int16_t>::max()) return AddResult::BadCount;

  if (!WriteEntry(platform, key, code)) return AddResult::WriteFailed;
  if (known) return AddResult::Replaced;
  if (!WriteCount(platform, *count + 1)) {
    // The count must keep telling the number of entries: take the new entry back out.
    WriteEntry(platform, key, std::nullopt);
    return AddResult::WriteFailed;
  }
  return AddResult::Added;
}

RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key) {
  std::optional<int> count = ReadCount(platform);
  if (!count) return RemoveResult::BadCount;
  if (!ProtectedFolderListed(platform, key)) return RemoveResult::NotListed;
  // A line without "=" has no code; it comes back, if it must, as an entry with an empty code,
  // which guards nothing either.
  const std::string code = EntryOf(platform, key).value_or("");
  // An entry the count does not cover means the count is wrong; lowering it below zero would
  // not make it right.
  if (*count == 0) return RemoveResult::BadCount;

  if (!WriteEntry(platform, key, std::nullopt)) return RemoveResult::WriteFailed;
  if (!WriteCount(platform, *count - 1)) {
    // The count must keep telling the number of entries: put the entry back.
    WriteEntry(platform, key, code);
    return RemoveResult::WriteFailed;
  }
  return RemoveResult::Removed;
}

}  // namespace folvane
