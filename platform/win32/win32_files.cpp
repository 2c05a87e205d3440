// The data files on the real system: reading a file whole and replacing it atomically, both
// waiting a moment for a file another program holds open.
#include "platform/win32/win32_platform.h"

#include <algorithm>

#include "platform/busy_retry.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

void sleepMs(int milliseconds) {
  Sleep(static_cast<DWORD>(milliseconds));
}

// What another program's open handle or lock makes a read fail with.
bool heldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Replacing a file meets more of them: "access denied" while another program has the file open
// (or the system is still deleting it), the swap's own errors when one of its renames was
// refused, and a file that turned up between the check and the rename.
bool replaceBlocked(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return true;
    default:
      return false;
  }
}

StepResult failedWith(DWORD error, bool (*busy)(DWORD)) {
  return busy(error) ? StepResult::Busy : StepResult::Failed;
}

// The attributes that a replaced file keeps. A read-only file is never replaced at all.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A file of the program's own beside the data file, whatever attributes it was left with.
void removeOwnFile(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

bool exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

StepResult writeNewFile(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  OwnedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return failedWith(GetLastError(), replaceBlocked);
  bool ok = true;
  size_t written = 0;
  while (ok && written < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    ok = WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr) && done == chunk;
    written += done;
  }
  ok = ok && FlushFileBuffers(file.get());
  ok = file.close() && ok;
  if (!ok) {
    removeOwnFile(path);
    return StepResult::Failed;  // a full disk stays full
  }
  return StepResult::Done;
}

// Puts the new file in the old one's place. ReplaceFileW keeps the old file's attributes,
// permissions and creation time; given a backup name it first moves the old file there, so
// whichever of its renames is refused, the old file is still whole under one of the two names.
StepResult swapIn(const std::wstring& fresh, const std::wstring& target,
                  const std::wstring& backup) {
  if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return failedWith(error, replaceBlocked);
    // A file made for the first time: a rename is all it takes.
    if (MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return StepResult::Done;
    return failedWith(GetLastError(), replaceBlocked);
  }
  if (ReplaceFileW(target.c_str(), fresh.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                   nullptr, nullptr))
    return StepResult::Done;
  const DWORD error = GetLastError();
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    // The old file went to the backup name and the new one could not follow into its place.
    // Put the old one back and try again, or else the new one, so the file is never missing.
    if (MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
      return StepResult::Busy;
    if (MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return StepResult::Done;
    return StepResult::Failed;
  }
  return failedWith(error, replaceBlocked);
}

// A crash between the two renames of a replacement leaves the old file only under its backup
// name. Before the file is read or replaced, that copy goes back to its place: read as missing, the
// list would be written anew from nothing and the backup then swept away.
void restoreOrphanedBackup(const std::wstring& target) {
  const std::wstring backup = target + L".old.tmp";
  if (!exists(target) && exists(backup)) {
    MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  }
}

}  // namespace

FileRead Win32Platform::readFile(const std::string& path, FileWait wait) {
  const std::wstring name = widen(path);
  restoreOrphanedBackup(name);
  FileRead content;
  DWORD lastError = ERROR_SUCCESS;
  auto attempt = [&] {
    OwnedFile file(CreateFileW(name.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      lastError = GetLastError();
      return failedWith(lastError, heldByAnother);
    }
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) && got > 0)
      bytes.append(buffer, got);
    lastError = ok ? ERROR_SUCCESS : GetLastError();
    file.reset();
    if (!ok) return failedWith(lastError, heldByAnother);  // a range locked by another program
    content = {FileRead::Status::Read, std::move(bytes)};
    return StepResult::Done;
  };
  if (wait == FileWait::AboutASecond) {
    BusyRetry(sleepMs).run(attempt);
  } else {
    attempt();
  }
  if (content.read()) return content;
  // Only "not found" is missing; anything else (a folder at the path, access denied, a file held
  // past the wait) is there and unreadable.
  const bool missing = lastError == ERROR_FILE_NOT_FOUND || lastError == ERROR_PATH_NOT_FOUND;
  return {missing ? FileRead::Status::Missing : FileRead::Status::Unreadable, {}};
}

// The new content goes to "<file>.tmp" and then takes the file's place, the old file passing
// through "<file>.old.tmp". Both names are the program's own: whatever a crash left under them is
// replaced or removed, never read, except an old file left only under the backup name, which goes
// back to its place.
bool Win32Platform::replaceFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = widen(path);
  const std::wstring fresh = target + L".tmp";
  const std::wstring backup = target + L".old.tmp";
  BusyRetry retry(sleepMs);
  restoreOrphanedBackup(target);

  const DWORD found = GetFileAttributesW(target.c_str());
  // Someone made the file read-only to keep it as it is; waiting would not change that.
  if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_READONLY)) return false;
  const DWORD attributes = found == INVALID_FILE_ATTRIBUTES ? 0 : found & kKeptAttributes;

  removeOwnFile(fresh);
  // While the file is there, a backup beside it is a leftover.
  if (exists(target)) removeOwnFile(backup);
  const bool done = retry.run([&] { return writeNewFile(fresh, bytes, attributes); }) &&
                    retry.run([&] { return swapIn(fresh, target, backup); });
  if (!done) removeOwnFile(fresh);
  if (exists(target)) removeOwnFile(backup);
  return done;
}

}  // namespace folvane
