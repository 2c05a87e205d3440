#include "store/protected_list.h"

#include <cstdint>
#include <limits>
#include <optional>

#include <algorithm>
#include <utility>

#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/ini_text.h"
#include "store/numbers.h"

namespace folvane {

namespace {

bool writeEntry(Platform& platform, const std::string& key,
                const std::optional<std::string>& code) {
  return IniWrite(platform, kSectionPasswordSetData, key, code, DataFilePath(platform));
}

// PassCount as a count of entries: a 16-bit number that is not negative.
std::optional<int> entryCount(const ProtectedList& list) {
  std::optional<std::int16_t> count = list.count();
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
  const FileRead before = platform.readFile(file, FileWait::AboutASecond);
  if (before.unreadable()) return false;
  if (!writeEntry(platform, key, code)) return false;
  if (writeCount(platform, count)) return true;
  platform.replaceFile(file, before.bytes);
  return false;
}

}  // namespace

ProtectedList::ProtectedList(Platform& platform, FileRead::Status status, IniFile file)
    : platform_(&platform), status_(status), file_(std::move(file)) {
  countText_ = IniValueOf(platform, file_, kSectionPasswordNumber, kKeyPassCount, "0");
  count_ = ToInt16(countText_);
}

ProtectedList ProtectedList::Read(Platform& platform, FileWait wait) {
  IniSnapshot snapshot = ReadIniFile(platform, DataFilePath(platform), wait);
  return ProtectedList(platform, snapshot.status, std::move(snapshot.file));
}

std::string ProtectedList::codeOf(const std::string& key) const {
  return IniValueOf(*platform_, file_, kSectionPasswordSetData, key, "");
}

bool ProtectedList::listed(const std::string& key) const {
  return file_.has(platform_->toAnsi(kSectionPasswordSetData), platform_->toAnsi(key));
}

std::vector<std::string> ProtectedList::rows() const {
  std::vector<std::string> rows;
  if (!count_ || *count_ <= 0) return rows;  // a damaged count shows an empty list
  const std::vector<std::string> keys =
      file_.entryNames(platform_->toAnsi(kSectionPasswordSetData));
  const std::size_t shown = std::min(keys.size(), static_cast<std::size_t>(*count_));
  rows.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) rows.push_back(platform_->fromAnsi(keys[i]));
  return rows;
}

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

AddResult AddProtectedFolder(Platform& platform, const std::string& key, const std::string& code) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  if (list.unreadable()) return AddResult::Unreadable;
  std::optional<int> count = entryCount(list);
  if (!count) return AddResult::BadCount;
  const bool known = list.listed(key);
  if (!known && *count == std::numeric_limits<std::int16_t>::max()) return AddResult::BadCount;

  if (known) {
    if (!writeEntry(platform, key, code)) return AddResult::WriteFailed;
    return AddResult::Replaced;
  }
  if (!writeEntryAndCount(platform, key, code, *count + 1)) return AddResult::WriteFailed;
  return AddResult::Added;
}

RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  if (list.unreadable()) return RemoveResult::Unreadable;
  std::optional<int> count = entryCount(list);
  if (!count) return RemoveResult::BadCount;
  if (!list.listed(key)) return RemoveResult::NotListed;
  // An entry the count does not cover means the count is wrong; lowering it below zero would
  // not make it right.
  if (*count == 0) return RemoveResult::BadCount;

  if (!writeEntryAndCount(platform, key, std::nullopt, *count - 1))
    return RemoveResult::WriteFailed;
  return RemoveResult::Removed;
}

}  // namespace folvane
