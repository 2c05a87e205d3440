// The protected list in PassDat.ini: one entry per folder key in [PasswordSetData], holding the
// folder's lock code, and their number in [PasswordNumber] PassCount. It is read whole, once per
// decision, and decoded once into a ProtectedList, a plain value. A change is applied to one read
// of the file and written with one replacement, which leaves PassCount equal to the number of
// entries, also where it found the two apart.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "store/ini_file.h"
#include "store/numbers.h"

namespace folvane {

// A folder key as the list compares it: in the characters of the ANSI code page, as the file
// holds it (one the code page cannot hold is "?"), without the blanks a file's key never has
// around it. Names then match as the file's reader matches them, regardless of ASCII case.
struct ListKey {
  std::string text;  // UTF-8
};
ListKey ListKeyOf(Platform& platform, const std::string& key);
std::vector<ListKey> ListKeysOf(Platform& platform, const std::vector<std::string>& keys);

// One entry of the list, in the program's encoding (UTF-8). Its texts lie in the storage of the
// list it came from, which every copy of that list shares: they live as long as any of them.
struct ProtectedEntry {
  std::string_view key;
  // The lock code, as a read gives it (cut to 127 bytes); "" for a line without "=", which is
  // counted and shown like any other entry. Of two lines of one name, a lookup finds the first.
  std::string_view code;

  bool operator==(const ProtectedEntry& other) const {
    return key == other.key && code == other.code;
  }
};

// One read of PassDat.ini: the count and the entries come from the same version of the file.
class ProtectedList {
 public:
  // Reads the file once. A missing file is an empty list; an unreadable one is no list at all.
  static ProtectedList Read(Platform& platform, FileWait wait);
  // The list a read of the file found.
  static ProtectedList Of(Platform& platform, FileRead::Status status, const IniFile& file);

  FileRead::Status status() const { return status_; }
  bool unreadable() const { return status_ == FileRead::Status::Unreadable; }

  // PassCount as the file holds it, and as a number when it is a 16-bit one; when it is not,
  // countStatus says why. A file without a PassCount line counts its entries instead: the entries
  // decide what is guarded, and a count of 0 that the file does not hold guards no fewer.
  const std::string& countText() const { return countText_; }
  std::optional<std::int16_t> count() const;
  Int16Read::Status countStatus() const { return count_.status; }
  bool countStored() const { return countStored_; }  // whether the file has a PassCount value

  // Every entry the section holds, in file order, whatever PassCount says: an entry the count
  // does not cover is still guarded, so it must be seen and can be deleted. A comment line is no
  // entry, whatever its text.
  const std::vector<ProtectedEntry>& entries() const { return entries_; }
  // The keys of the entries: the rows of the list box.
  std::vector<std::string> rows() const;

  // The first entry of that name; nullptr when it is not listed.
  const ProtectedEntry* find(const ListKey& key) const;
  // Its lock code, "" when it has none or is not listed.
  std::string codeOf(const ListKey& key) const;
  // Whether the key has an entry, so that storing it replaces one; an empty code counts.
  bool listed(const ListKey& key) const { return find(key) != nullptr; }
  // Of the keys a folder window may be listed under (FolderKeysOf), the one the list guards it
  // by, as its place among `keys`: the key whose entry has a lock code and stands first in the
  // file; std::nullopt when none has. An entry added for another folder goes last, so it never
  // takes over a window already guarded under another of its names.
  std::optional<std::size_t> lockKeyOf(const std::vector<ListKey>& keys) const;
  // The key the folder is listed under, where it is: the lock key, or else the first of its keys
  // that has an entry without a code.
  std::optional<std::size_t> listedKeyOf(const std::vector<ListKey>& keys) const;

  bool operator==(const ProtectedList& other) const {
    return status_ == other.status_ && countStored_ == other.countStored_ &&
           countText_ == other.countText_ && entries_ == other.entries_;
  }
  bool operator!=(const ProtectedList& other) const { return !(*this == other); }

 private:
  ProtectedList(FileRead::Status status, std::optional<std::string> storedCount,
                std::shared_ptr<const std::string> texts, std::vector<ProtectedEntry> entries);

  FileRead::Status status_;
  bool countStored_;
  std::string countText_;
  Int16Read count_;
  // Every key and code, one after the other: one allocation for a list of any length, never
  // changed once made, so that copies of the list share it.
  std::shared_ptr<const std::string> texts_;
  std::vector<ProtectedEntry> entries_;
};

enum class AddResult {
  Added,        // a new entry; PassCount is the number of entries
  Replaced,     // the key had an entry: its code replaced in place; PassCount as for Added
  BadCount,     // PassCount is not a usable count: nothing was written
  Unreadable,   // the file could not be read: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before, whole
};

enum class RemoveResult {
  Removed,      // the entry deleted; PassCount is the number of entries left
  NotListed,    // the file holds no such key (edited meanwhile): nothing was written
  BadCount,     // PassCount is not a usable count: nothing was written
  Unreadable,   // the file could not be read: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before, whole
};

// What a change did, and the list the file holds afterwards: the changed one, or the one read
// when nothing was written (an unreadable list when the file could not be read).
template <typename Result>
struct ListChange {
  Result result;
  ProtectedList list;
};

// Whether a folder key can stand as a key of the data file and be read back as the same key.
bool FolderKeyStorable(const std::string& key);

// Stores `code` under `key`. The count is checked before anything is written, so a damaged
// count never leaves an entry behind that the count does not know about.
ListChange<AddResult> AddProtectedFolder(Platform& platform, const std::string& key,
                                         const std::string& code);

// Deletes the entry of `key`.
ListChange<RemoveResult> RemoveProtectedFolder(Platform& platform, const std::string& key);

}  // namespace folvane
