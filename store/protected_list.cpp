#include "store/protected_list.h"

#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/ini_text.h"
#include "store/utf16.h"

namespace folvane {

namespace {

// What a read of a value gives: 127 bytes, as the program has always read them.
constexpr std::size_t kValueBytes = 127;

// Appends text of the ANSI code page in the program's encoding, and gives where it stands. ASCII
// is the same in both, and most of a list is ASCII (every lock code is): no conversion for it.
std::pair<std::size_t, std::size_t> appendProgramText(Platform& platform, std::string& texts,
                                                      std::string_view ansi) {
  const std::size_t at = texts.size();
  if (AsciiPrefix(ansi) == ansi.size())
    texts.append(ansi);
  else
    texts += platform.fromAnsi(ansi);
  return {at, texts.size() - at};
}

char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names match regardless of ASCII case. In UTF-8 no byte of a character beyond ASCII is an ASCII
// letter, so this is the file reader's rule for the code page's double-byte characters too.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// Whether PassCount can be a count of entries: a 16-bit number that is not negative. One that
// cannot is the user's to mend (the program says where); it is not overwritten.
bool countUsable(const ProtectedList& list) {
  return list.count() && *list.count() >= 0;
}

// One value to store (std::nullopt removes the key), UTF-8.
struct Edit {
  const char* section;
  std::string key;
  std::optional<std::string> value;
};

// Applies the edits to the file as read and replaces it once, or leaves it whole: an edit the
// engine refuses writes nothing, and a file that nothing changed is not written again.
bool applyEdits(Platform& platform, IniFile& file, const std::vector<Edit>& edits) {
  bool changed = false;
  for (const Edit& edit : edits) {
    std::optional<std::string> ansiValue;
    if (edit.value) ansiValue = platform.toAnsi(*edit.value);
    switch (file.write(platform.toAnsi(edit.section), platform.toAnsi(edit.key), ansiValue)) {
      case IniWriteResult::Refused:
        return false;
      case IniWriteResult::Changed:
        changed = true;
        break;
      case IniWriteResult::Unchanged:
        break;
    }
  }
  // replaceFile keeps the old file whole if it fails.
  return !changed || platform.replaceFile(DataFilePath(platform), file.bytes());
}

// Whether the file has an entry the write of `key` replaces or removes, as the file's own reader
// finds it: the count a change writes must follow the lines it really changed. (A lookup in the
// decoded list may find more: a name that the code page turns into another, as an invalid byte
// sequence in a file edited by hand, matches there, which for the lock check errs on the side of
// guarding.) A comment line is no entry, whatever its text; the reader finds ";name=value" as the
// key ";name", and a key with blanks before its ";" too.
bool hasEntry(Platform& platform, const IniFile& file, const std::string& key) {
  const std::string ansiKey = platform.toAnsi(key);
  for (const char c : ansiKey) {
    if (!IsIniBlank(static_cast<unsigned char>(c))) {
      if (c == ';') return false;
      break;
    }
  }
  return file.has(platform.toAnsi(kSectionPasswordSetData), ansiKey);
}

// What PassCount must say once a change has added (1), replaced (0) or removed (-1) an entry:
// the number of entries the list then holds. Counted from the entries, not moved by one from the
// count stored, so that a count left wrong by an edit by hand is mended by the next change
// instead of staying wrong for good.
int entriesAfter(const ProtectedList& list, int change) {
  return static_cast<int>(list.entries().size()) + change;
}

}  // namespace

ListKey ListKeyOf(Platform& platform, const std::string& key) {
  std::string ansi = platform.toAnsi(key);
  std::size_t begin = 0, end = ansi.size();
  while (begin < end && IsIniBlank(static_cast<unsigned char>(ansi[begin]))) ++begin;
  while (end > begin && IsIniBlank(static_cast<unsigned char>(ansi[end - 1]))) --end;
  return ListKey{platform.fromAnsi(std::string_view(ansi).substr(begin, end - begin))};
}

std::vector<ListKey> ListKeysOf(Platform& platform, const std::vector<std::string>& keys) {
  std::vector<ListKey> listKeys;
  listKeys.reserve(keys.size());
  for (const std::string& key : keys) listKeys.push_back(ListKeyOf(platform, key));
  return listKeys;
}

ProtectedList::ProtectedList(FileRead::Status status, std::optional<std::string> storedCount,
                             std::shared_ptr<const std::string> texts,
                             std::vector<ProtectedEntry> entries)
    : status_(status),
      countStored_(storedCount.has_value()),
      // A file without its count (cut off at its end, say) is guarded by the entries it holds:
      // read as 0, the missing count would guard none of them.
      countText_(storedCount ? std::move(*storedCount) : std::to_string(entries.size())),
      count_(ReadInt16(countText_)),
      texts_(std::move(texts)),
      entries_(std::move(entries)) {}

ProtectedList ProtectedList::Read(Platform& platform, FileWait wait) {
  const IniSnapshot snapshot = ReadIniFile(platform, DataFilePath(platform), wait);
  return Of(platform, snapshot.status, snapshot.file);
}

ProtectedList ProtectedList::Of(Platform& platform, FileRead::Status status, const IniFile& file) {
  // Where each key and code stands in the texts; the views are taken once the texts are whole.
  auto texts = std::make_shared<std::string>();
  std::vector<std::pair<std::size_t, std::size_t>> places;
  file.forEachEntry(platform.toAnsi(kSectionPasswordSetData), kValueBytes,
                    [&](std::string_view name, const std::string_view* value) {
                      places.push_back(appendProgramText(platform, *texts, name));
                      places.push_back(value ? appendProgramText(platform, *texts, *value)
                                             : std::pair<std::size_t, std::size_t>{0, 0});
                    });
  std::vector<ProtectedEntry> entries;
  entries.reserve(places.size() / 2);
  const std::string_view all = *texts;
  for (std::size_t i = 0; i + 1 < places.size(); i += 2) {
    entries.push_back({all.substr(places[i].first, places[i].second),
                       all.substr(places[i + 1].first, places[i + 1].second)});
  }
  std::optional<std::string> storedCount;
  if (file.read(platform.toAnsi(kSectionPasswordNumber), platform.toAnsi(kKeyPassCount)))
    storedCount = IniValueOf(platform, file, kSectionPasswordNumber, kKeyPassCount, "0");
  return ProtectedList(status, std::move(storedCount), std::move(texts), std::move(entries));
}

std::optional<std::int16_t> ProtectedList::count() const {
  if (!count_.read()) return std::nullopt;
  return count_.value;
}

std::vector<std::string> ProtectedList::rows() const {
  std::vector<std::string> rows;
  rows.reserve(entries_.size());
  for (const ProtectedEntry& entry : entries_) rows.emplace_back(entry.key);
  return rows;
}

const ProtectedEntry* ProtectedList::find(const ListKey& key) const {
  for (const ProtectedEntry& entry : entries_) {
    if (sameName(entry.key, key.text)) return &entry;
  }
  return nullptr;
}

std::string ProtectedList::codeOf(const ListKey& key) const {
  const ProtectedEntry* entry = find(key);
  return entry ? std::string(entry->code) : std::string();
}

std::optional<std::size_t> ProtectedList::lockKeyOf(const std::vector<ListKey>& keys) const {
  std::optional<std::size_t> first;
  const ProtectedEntry* firstEntry = nullptr;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const ProtectedEntry* entry = find(keys[i]);
    if (entry && !entry->code.empty() && (!firstEntry || entry < firstEntry)) {
      first = i;
      firstEntry = entry;
    }
  }
  return first;
}

std::optional<std::size_t> ProtectedList::listedKeyOf(const std::vector<ListKey>& keys) const {
  if (std::optional<std::size_t> key = lockKeyOf(keys)) return key;
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (listed(keys[i])) return i;
  return std::nullopt;
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

ListChange<AddResult> AddProtectedFolder(Platform& platform, const std::string& key,
                                         const std::string& code) {
  IniSnapshot snapshot = ReadIniFile(platform, DataFilePath(platform), FileWait::AboutASecond);
  ProtectedList before = ProtectedList::Of(platform, snapshot.status, snapshot.file);
  if (before.unreadable()) return {AddResult::Unreadable, std::move(before)};
  if (!countUsable(before)) return {AddResult::BadCount, std::move(before)};
  const bool known = hasEntry(platform, snapshot.file, key);
  const int after = entriesAfter(before, known ? 0 : 1);
  if (after > std::numeric_limits<std::int16_t>::max())
    return {AddResult::BadCount, std::move(before)};

  std::vector<Edit> edits = {{kSectionPasswordSetData, key, code}};
  // The entry comes first, so that a new file holds the list's section before the count's.
  if (!known || !before.countStored() || *before.count() != after)
    edits.push_back({kSectionPasswordNumber, kKeyPassCount, std::to_string(after)});
  if (!applyEdits(platform, snapshot.file, edits))
    return {AddResult::WriteFailed, std::move(before)};
  return {known ? AddResult::Replaced : AddResult::Added,
          ProtectedList::Of(platform, FileRead::Status::Read, snapshot.file)};
}

ListChange<RemoveResult> RemoveProtectedFolder(Platform& platform, const std::string& key) {
  IniSnapshot snapshot = ReadIniFile(platform, DataFilePath(platform), FileWait::AboutASecond);
  ProtectedList before = ProtectedList::Of(platform, snapshot.status, snapshot.file);
  if (before.unreadable()) return {RemoveResult::Unreadable, std::move(before)};
  if (!countUsable(before)) return {RemoveResult::BadCount, std::move(before)};
  if (!hasEntry(platform, snapshot.file, key)) return {RemoveResult::NotListed, std::move(before)};

  const std::vector<Edit> edits = {
      {kSectionPasswordSetData, key, std::nullopt},
      {kSectionPasswordNumber, kKeyPassCount, std::to_string(entriesAfter(before, -1))}};
  if (!applyEdits(platform, snapshot.file, edits))
    return {RemoveResult::WriteFailed, std::move(before)};
  return {RemoveResult::Removed,
          ProtectedList::Of(platform, FileRead::Status::Read, snapshot.file)};
}

}  // namespace folvane
