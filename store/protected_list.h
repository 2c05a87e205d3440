// Adding and removing entries of the protected list in PassDat.ini. Every change keeps PassCount
// equal to the number of entries in [PasswordSetData], which the list refresh relies on.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

enum class AddResult {
  Added,        // a new entry, PassCount raised by one
  Replaced,     // the key had an entry: its code replaced in place, PassCount unchanged
  BadCount,     // PassCount is not a usable count: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before
};

enum class RemoveResult {
  Removed,      // the entry deleted, PassCount lowered by one
  NotListed,    // the file holds no such key (edited meanwhile): nothing was written
  BadCount,     // PassCount is not a usable count: nothing was written
  WriteFailed,  // the file could not be written: it holds what it held before
};

// Whether a folder key can stand as a key of the data file and be read back as the same key.
bool FolderKeyStorable(const std::string& key);

// Whether `key` has an entry in the list, so that storing it replaces one. An empty code counts,
// and so does a line without "=" (edited by hand): it has no code, but it is counted and shown as
// a row like any other entry.
bool ProtectedFolderListed(Platform& platform, const std::string& key);

// Stores `code` under `key`. The count is checked before anything is written, so a damaged
// count never leaves an entry behind that the count does not know about.
AddResult AddProtectedFolder(Platform& platform, const std::string& key, const std::string& code);

// Deletes the entry of `key`; the count is lowered only when an entry was really there.
RemoveResult RemoveProtectedFolder(Platform& platform, const std::string& key);

}  // namespace folvane
