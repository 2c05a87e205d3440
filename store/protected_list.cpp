#include "store/protected_list.h"

#include <cstdint>
#include <limits>
#include <optional>

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

// Whether PassCount can be a count of entries: a 16-bit number that is not negative. One that
// cannot is the user's to mend (the program says where); it is not overwritten.
bool countUsable(const ProtectedList& list) {
  return list.count() && *list.count() >= 0;
}

bool writeCount(Platform& platform, int count) {
  return IniWrite(platform, kSectionPasswordNumber, kKeyPassCount, std::to_string(count),
                  DataFilePath(platform));
}

// What PassCount must say once a change has added (1), replaced (0) or removed (-1) an entry:
// the number of entries the list then holds. Counted from the entries, not moved by one from the
// count stored, so that a count left wrong (by an edit by hand, or by a change whose file could
// not be put back) is mended by the next change instead of staying wrong for good.
int entriesAfter(const ProtectedList& list, int change) {
  return static_cast<int>(list.rows().size()) + change;
}

enum class Written { Both, Neither, EntryOnly };

// Writes the entry (std::nullopt removes it) and then the count, or leaves the file as it was:
// when the count cannot be written, the file goes back to the bytes it held before. Taking the
// entry back by its key instead could meet another line of that name (a duplicate, or the name in
// other letter case, from an edit by hand) and change that line, so that the count and the
// entries would drift apart. Putting the file back waits for a busy file like every write; when
// even that fails, the caller must not say that nothing was stored.
Written writeEntryAndCount(Platform& platform, const std::string& key,
                           const std::optional<std::string>& code, int count) {
  const std::string file = DataFilePath(platform);
  // A missing file reads as an empty one.
  const FileRead before = platform.readFile(file, FileWait::AboutASecond);
  if (before.unreadable()) return Written::Neither;
  if (!writeEntry(platform, key, code)) return Written::Neither;
  if (writeCount(platform, count)) return Written::Both;
  return platform.replaceFile(file, before.bytes) ? Written::Neither : Written::EntryOnly;
}

// A key whose text in the file opens with ";" names a comment line, which the engine finds as the
// system's profile functions do, but which is no entry of the list. The engine drops every blank
// of a line in front of it (tab, vertical tab, form feed and the end-of-file mark as well as the
// space), and so does this test: a key with any of them before its ";" is a comment all the same.
bool namesComment(const std::string& ansiKey) {
  for (const char c : ansiKey) {
    if (!IsIniBlank(static_cast<unsigned char>(c))) return c == ';';
  }
  return false;
}

}  // namespace

ProtectedList::ProtectedList(Platform& platform, FileRead::Status status, IniFile file)
    : platform_(&platform), status_(status), file_(std::move(file)) {
  countStored_ = file_.read(platform.toAnsi(kSectionPasswordNumber), platform.toAnsi(kKeyPassCount))
                     .has_value();
  // A file without its count (cut off at its end, say) is guarded by the entries it holds: read as
  // 0, the missing count would guard none of them.
  countText_ = countStored_
                   ? IniValueOf(platform, file_, kSectionPasswordNumber, kKeyPassCount, "0")
                   : std::to_string(rows().size());
  count_ = ToInt16(countText_);
}

ProtectedList ProtectedList::Read(Platform& platform, FileWait wait) {
  IniSnapshot snapshot = ReadIniFile(platform, DataFilePath(platform), wait);
  return ProtectedList(platform, snapshot.status, std::move(snapshot.file));
}

std::string ProtectedList::codeOf(const std::string& key) const {
  if (namesComment(platform_->toAnsi(key))) return "";
  return IniValueOf(*platform_, file_, kSectionPasswordSetData, key, "");
}

bool ProtectedList::listed(const std::string& key) const {
  const std::string ansiKey = platform_->toAnsi(key);
  if (namesComment(ansiKey)) return false;
  return file_.has(platform_->toAnsi(kSectionPasswordSetData), ansiKey);
}

std::optional<std::string> ProtectedList::lockKeyOf(const std::vector<std::string>& keys) const {
  std::optional<std::string> first;
  std::size_t firstLine = 0;
  for (const std::string& key : keys) {
    if (codeOf(key).empty()) continue;
    const std::optional<std::size_t> line =
        file_.lineOf(platform_->toAnsi(kSectionPasswordSetData), platform_->toAnsi(key));
    if (line && (!first || *line < firstLine)) {
      first = key;
      firstLine = *line;
    }
  }
  return first;
}

std::optional<std::string> ProtectedList::listedKeyOf(const std::vector<std::string>& keys) const {
  if (std::optional<std::string> key = lockKeyOf(keys)) return key;
  for (const std::string& key : keys)
    if (listed(key)) return key;
  return std::nullopt;
}

std::vector<std::string> ProtectedList::rows() const {
  const std::vector<std::string> keys =
      file_.entryNames(platform_->toAnsi(kSectionPasswordSetData));
  std::vector<std::string> rows;
  rows.reserve(keys.size());
  for (const std::string& key : keys) rows.push_back(platform_->fromAnsi(key));
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
  if (!countUsable(list)) return AddResult::BadCount;
  const bool known = list.listed(key);
  const int after = entriesAfter(list, known ? 0 : 1);
  if (after > std::numeric_limits<std::int16_t>::max()) return AddResult::BadCount;

  if (known && list.countStored() && *list.count() == after) {
    if (!writeEntry(platform, key, code)) return AddResult::WriteFailed;
    return AddResult::Replaced;
  }
  switch (writeEntryAndCount(platform, key, code, after)) {
    case Written::Both:
      return known ? AddResult::Replaced : AddResult::Added;
    case Written::Neither:
      return AddResult::WriteFailed;
    case Written::EntryOnly:
      break;
  }
  return AddResult::RollbackFailed;
}

RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  if (list.unreadable()) return RemoveResult::Unreadable;
  if (!countUsable(list)) return RemoveResult::BadCount;
  if (!list.listed(key)) return RemoveResult::NotListed;

  switch (writeEntryAndCount(platform, key, std::nullopt, entriesAfter(list, -1))) {
    case Written::Both:
      return RemoveResult::Removed;
    case Written::Neither:
      return RemoveResult::WriteFailed;
    case Written::EntryOnly:
      break;
  }
  return RemoveResult::RollbackFailed;
}

}  // namespace folvane
