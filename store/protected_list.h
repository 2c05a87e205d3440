// The protected list in PassDat.ini: one entry per folder key in [PasswordSetData], holding the
// folder's lock code, and their number in [PasswordNumber] PassCount. It is read whole, once per
// decision, into a ProtectedList. Every change leaves PassCount equal to the number of entries,
// also where it found the two apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/ini_file.h"

namespace folvane {

// One read of PassDat.ini: the count and the entries come from the same version of the file.
class ProtectedList {
 public:
  // Reads the file once. A missing file is an empty list; an unreadable one is no list at all.
  static ProtectedList Read(Platform& platform, FileWait wait);

  FileRead::Status status() const { return status_; }
  bool unreadable() const { return status_ == FileRead::Status::Unreadable; }

  // PassCount as the file holds it, and as a number when it is a 16-bit one (std::nullopt: a
  // damaged count). A file without a PassCount line counts its entries instead: the entries
  // decide what is guarded, and a count of 0 that the file does not hold guards no fewer.
  const std::string& countText() const { return countText_; }
  std::optional<std::int16_t> count() const { return count_; }
  bool countStored() const { return countStored_; }  // whether the file has a PassCount value

  // The lock code stored for the folder key, "" when it has none or is not listed (names match
  // regardless of ASCII case, the first entry of a name counts).
  std::string codeOf(const std::string& key) const;
  // Whether the key has an entry, so that storing it replaces one. An empty code counts, and so
  // does a line without "=" (edited by hand): it has no code, but it is counted and shown as a
  // row like any other entry. A comment line is no entry, whatever its text: a key that opens
  // with ";" is never listed, as no row shows one.
  bool listed(const std::string& key) const;
  // Of the keys a folder window may be listed under (FolderKeysOf), the one the list guards it
  // by: the key whose entry has a lock code and stands first in the file; std::nullopt when none
  // has. An entry added for another folder goes last, so it never takes over a window already
  // guarded under another of its names.
  std::optional<std::string> lockKeyOf(const std::vector<std::string>& keys) const;
  // The key the folder is listed under, where it is: the lock key, or else the first of its keys
  // that has an entry without a code.
  std::optional<std::string> listedKeyOf(const std::vector<std::string>& keys) const;
  // The rows of the list box: the key of every entry the section holds, in file order, whatever
  // PassCount says: an entry the count does not cover is still guarded, so it must be seen and
  // can be deleted.
  std::vector<std::string> rows() const;

 private:
  ProtectedList(Platform& platform, FileRead::Status status, IniFile file);

  Platform* platform_;
  FileRead::Status status_;
  IniFile file_;
  bool countStored_ = false;
  std::string countText_;
  std::optional<std::int16_t> count_;
};

enum class AddResult {
  Added,        // a new entry; PassCount is the number of entries
  Replaced,     // the key had an entry: its code replaced in place; PassCount as for Added
  BadCount,     // PassCount is not a usable count: nothing was written
  Unreadable,   // the file could not be read: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before
  // The entry was written, the count could not be, and neither could the file be put back as it
  // was: the file may hold the new entry with the old count (the next change mends the count).
  RollbackFailed,
};

enum class RemoveResult {
  Removed,      // the entry deleted; PassCount is the number of entries left
  NotListed,    // the file holds no such key (edited meanwhile): nothing was written
  BadCount,     // PassCount is not a usable count: nothing was written
  Unreadable,   // the file could not be read: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before
  // The entry was removed, the count could not be lowered, and neither could the file be put
  // back as it was: the file may lack the entry with the old count.
  RollbackFailed,
};

// Whether a folder key can stand as a key of the data file and be read back as the same key.
bool FolderKeyStorable(const std::string& key);

// Stores `code` under `key`. The count is checked before anything is written, so a damaged
// count never leaves an entry behind that the count does not know about.
AddResult AddProtectedFolder(Platform& platform, const std::string& key, const std::string& code);

// Deletes the entry of `key`; the count is written only when an entry was really there.
RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key);

}  // namespace folvane
