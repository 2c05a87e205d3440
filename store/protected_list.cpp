#include "store/protected_list.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "store/data_files.h"
#include "store/ini_rewrite.h"
#include "store/ini_text.h"

namespace folvane {

namespace {

bool writeEntry(Platform& platform, const std::string& key,
                const std::optional<std::string>& code) {
  return IniWrite(platform, kSectionPasswordSetData, key, code, DataFilePath(platform));
}

// PassCount as a count of entries: a 16-bit number that is not negative.
std::optional<int> readCount(Platform& platform) {
  std::optional<std::int16_t> count = ReadPassCount(platform);
  if (!count || *count < 0) return std::nullopt;
  return *count;
}

bool writeCount(Platform& platform, int count) {
  return IniWrite(platform, kSectionPasswordNumber, kKeyPassCount, std::to_string(count),
                  DataFilePath(platform));
}

// Writes the entry (std::nullopt removes it) and then the count, or leaves the file as it was:
// when the count cannot be written, the file goes back to the bytes it held before. Taking the
// entry back by its key instead could meet another line of that name (a duplicate, or the name in
// other letter case, from an edit by hand) and change that line, so that the count and the
// entries would drift apart.
bool writeEntryAndCount(Platform& platform, const std::string& key,
                        const std::optional<std::string>& code, int count) {
  const std::string file = DataFilePath(platform);
  // A missing file reads as an empty one.
  const std::string before = platform.readFile(file).value_or(std::string());
  if (!writeEntry(platform, key, code)) return false;
  if (writeCount(platform, count)) return true;
  platform.replaceFile(file, before);
  return false;
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
  std::optional<int> count = readCount(platform);
  if (!count) return AddResult::BadCount;
  const bool known = ProtectedFolderListed(platform, key);
  if (!known && *count == std::numeric_limits<std::int16_t>::max()) return AddResult::BadCount;

  if (known) {
    if (!writeEntry(platform, key, code)) return AddResult::WriteFailed;
    return AddResult::Replaced;
  }
  if (!writeEntryAndCount(platform, key, code, *count + 1)) return AddResult::WriteFailed;
  return AddResult::Added;
}

RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key) {
  std::optional<int> count = readCount(platform);
  if (!count) return RemoveResult::BadCount;
  if (!ProtectedFolderListed(platform, key)) return RemoveResult::NotListed;
  // An entry the count does not cover means the count is wrong; lowering it below zero would
  // not make it right.
  if (*count == 0) return RemoveResult::BadCount;

  if (!writeEntryAndCount(platform, key, std::nullopt, *count - 1))
    return RemoveResult::WriteFailed;
  return RemoveResult::Removed;
}

}  // namespace folvane
