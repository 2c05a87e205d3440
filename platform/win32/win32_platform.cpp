#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/busy_retry.h"
#include "platform/win32/win32_foreground.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

HWND hwndOf(WindowId window) {
  return reinterpret_cast<HWND>(window);
}

// The icon the main window shows in its caption is also its notification-area icon.
HICON smallIconOf(HWND window) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  return icon;
}

// The record in its first form, which every version of the shell takes: 88 bytes in a 32-bit
// program, 104 in a 64-bit one (the window and icon handles are pointers). Flags 7 (message,
// icon and tip are valid), id 0.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "the first form of the notification-area record");
NOTIFYICONDATAA trayRecord(HWND owner, UINT callbackMessage, const std::string& tipAnsi) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = owner;
  record.uID = 0;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage;
  record.hIcon = smallIconOf(owner);
  // The first form of the record has room for 63 bytes and the NUL; never split a character.
  size_t length = 0;
  while (length < tipAnsi.size()) {
    size_t width = IsDBCSLeadByte(static_cast<BYTE>(tipAnsi[length])) ? 2 : 1;
    if (length + width > 63 || length + width > tipAnsi.size()) break;
    length += width;
  }
  std::memcpy(record.szTip, tipAnsi.data(), length);
  return record;
}

HKEY rootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring::size_type lastSeparator(const std::wstring& path) {
  return path.find_last_of(L"\\/");
}

std::wstring folderOf(const std::wstring& path) {
  auto separator = lastSeparator(path);
  if (separator == std::wstring::npos) return {};
  std::wstring folder = path.substr(0, separator);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps it
  return folder;
}

DWORD WINAPI openHelpThread(LPVOID parameter) {
  auto* page = static_cast<std::wstring*>(parameter);
  // The shell may start a browser through COM or DDE; that must never hold up the program.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteW(nullptr, L"open", page->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  CoUninitialize();
  delete page;
  return 0;
}

}  // namespace

Win32Platform::~Win32Platform() {
  for (auto& entry : keys_) RegCloseKey(entry.second);
  if (instanceMutex_) CloseHandle(instanceMutex_);
}

// ---- Windows of any process ---------------------------------------------------------------

WindowId Win32Platform::foregroundWindow() {
  return reinterpret_cast<WindowId>(GetForegroundWindow());
}

// The buffer always ends up terminated: a window that has gone (or none at all) reads as "".
void Win32Platform::className(WindowId window, char* buffer, int maxCount) {
  if (maxCount <= 0) return;
  buffer[0] = '\0';
  if (window != 0) GetClassNameA(hwndOf(window), buffer, maxCount);
}

void Win32Platform::windowText(WindowId window, char* buffer, int maxCount) {
  if (maxCount <= 0) return;
  buffer[0] = '\0';
  // Not asked for "no window": some systems answer with stale text instead of failing.
  if (window != 0) GetWindowTextA(hwndOf(window), buffer, maxCount);
}

bool Win32Platform::windowExists(WindowId window) {
  return window != 0 && IsWindow(hwndOf(window));
}

void Win32Platform::enableWindow(WindowId window, bool enable) {
  EnableWindow(hwndOf(window), enable);
}

bool Win32Platform::isWindowEnabled(WindowId window) {
  return IsWindowEnabled(hwndOf(window)) != FALSE;
}

void Win32Platform::postClose(WindowId window) {
  PostMessageA(hwndOf(window), WM_CLOSE, 0, 0);
}

void Win32Platform::setForegroundWindow(WindowId window) {
  bringToForeground(hwndOf(window));
}

void Win32Platform::setActiveWindow(WindowId window) {
  SetActiveWindow(hwndOf(window));
}

// ---- Covers ------------------------------------------------------------------------------------

void Win32Platform::cover(WindowId window, const std::string& text) {
  covers_.cover(hwndOf(window), widen(text));
}

void Win32Platform::followCover(WindowId window) {
  covers_.follow(hwndOf(window));
}

void Win32Platform::uncover(WindowId window) {
  covers_.uncover(hwndOf(window));
}

// ---- Notification-area icon -------------------------------------------------------------------

bool Win32Platform::trayAdd(WindowId owner, const std::string& tipAnsi) {
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), WM_MOUSEMOVE, tipAnsi);
  return Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
}

bool Win32Platform::trayDelete(WindowId owner) {
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), 0, "");
  return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

// ---- Files --------------------------------------------------------------------------------------

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
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return failedWith(GetLastError(), replaceBlocked);
  bool ok = true;
  size_t written = 0;
  while (ok && written < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    ok = WriteFile(file, bytes.data() + written, chunk, &done, nullptr) && done == chunk;
    written += done;
  }
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
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

std::optional<std::string> Win32Platform::readFile(const std::string& path) {
  const std::wstring name = widen(path);
  restoreOrphanedBackup(name);
  std::optional<std::string> content;
  BusyRetry retry(sleepMs);
  retry.run([&] {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failedWith(GetLastError(), heldByAnother);
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
      bytes.append(buffer, got);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    if (!ok) return failedWith(error, heldByAnother);  // a range locked by another program
    content = std::move(bytes);
    return StepResult::Done;
  });
  return content;
}

bool Win32Platform::fileExists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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

// ---- Registry -----------------------------------------------------------------------------------

RegKey Win32Platform::remember(HKEY key) {
  RegKey id = nextKey_++;
  if (nextKey_ == 0) nextKey_ = 1;
  keys_[id] = key;
  return id;
}

HKEY Win32Platform::handleOf(RegKey key) const {
  auto found = keys_.find(key);
  return found == keys_.end() ? nullptr : found->second;
}

RegKey Win32Platform::regCreateKey(RegRoot root, const std::string& subKey) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 0;
  return remember(key);
}

RegKey Win32Platform::regOpenKey(RegRoot root, const std::string& subKey, RegAccess access) {
  HKEY key = nullptr;
  REGSAM sam = access == RegAccess::QueryValue ? KEY_QUERY_VALUE : KEY_SET_VALUE;
  if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, sam, &key) != ERROR_SUCCESS) return 0;
  return remember(key);
}

bool Win32Platform::regSetString(RegKey key, const std::string& name, const std::string& data) {
  HKEY handle = handleOf(key);
  if (!handle) return false;
  return RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Platform::regQueryValue(RegKey key, const std::string& name,
                                                        int bufferSize) {
  HKEY handle = handleOf(key);
  if (!handle || bufferSize < 0) return std::nullopt;
  std::vector<BYTE> buffer(static_cast<size_t>(bufferSize) + 1, 0);
  DWORD size = static_cast<DWORD>(bufferSize);
  if (RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(reinterpret_cast<const char*>(buffer.data()), size);
}

bool Win32Platform::regDeleteValue(RegKey key, const std::string& name) {
  HKEY handle = handleOf(key);
  return handle && RegDeleteValueA(handle, name.c_str()) == ERROR_SUCCESS;
}

void Win32Platform::regCloseKey(RegKey key) {
  auto found = keys_.find(key);
  if (found == keys_.end()) return;
  RegCloseKey(found->second);
  keys_.erase(found);
}

// ---- Text ---------------------------------------------------------------------------------------

std::string Win32Platform::toAnsi(std::string_view utf8) {
  std::wstring wide = widen(utf8);
  if (wide.empty()) return {};
  int count = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string ansi(count, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), count,
                      nullptr, nullptr);
  return ansi;
}

std::string Win32Platform::fromAnsi(std::string_view ansi) {
  // A lead byte with nothing after it is half a character: it is dropped, not guessed at.
  size_t complete = 0;
  while (complete < ansi.size()) {
    size_t width = IsDBCSLeadByte(static_cast<BYTE>(ansi[complete])) ? 2 : 1;
    if (complete + width > ansi.size()) break;
    complete += width;
  }
  if (complete == 0) return {};
  int count = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(complete), nullptr, 0);
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(complete), wide.data(), count);
  return narrow(wide);
}

bool Win32Platform::isLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

// ---- The program itself -------------------------------------------------------------------------

MsgAnswer Win32Platform::messageBox(const MessageBoxRequest& request) {
  // The boxes have no owner: task-modal keeps the program's windows out of reach meanwhile,
  // and a resident program's box must come up in front of whatever the user is doing.
  UINT style = MB_TASKMODAL | MB_SETFOREGROUND;
  style |= request.buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
  switch (request.icon) {
    case MsgIcon::Warning:
      style |= MB_ICONWARNING;
      break;
    case MsgIcon::Question:
      style |= MB_ICONQUESTION;
      break;
    case MsgIcon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case MsgIcon::None:
      break;
  }
  HWND active = GetActiveWindow();
  int answer =
      MessageBoxW(nullptr, widen(request.text).c_str(), widen(request.caption).c_str(), style);
  // Without an owner the system may hand activation to another program when the box goes;
  // the window the user was typing into gets it back, as it would from an owned box.
  if (active && IsWindowVisible(active) && IsWindowEnabled(active) &&
      GetForegroundWindow() != active)
    SetForegroundWindow(active);
  if (answer == IDYES) return MsgAnswer::Yes;
  if (answer == IDNO) return MsgAnswer::No;
  return MsgAnswer::Ok;
}

bool Win32Platform::anotherInstanceRunning() {
  if (!instanceAsked_) {
    instanceAsked_ = true;
    instanceMutex_ = CreateMutexW(nullptr, FALSE, L"Folvane.SingleInstance");
    DWORD error = GetLastError();
    anotherInstance_ = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  }
  return anotherInstance_;
}

std::string Win32Platform::programFolder() {
  return narrow(folderOf(modulePath()));
}

std::string Win32Platform::exeName() {
  std::wstring path = modulePath();
  auto separator = lastSeparator(path);
  std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
  auto dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return narrow(name);
}

void Win32Platform::openHelp(WindowId) {
  std::wstring folder = folderOf(modulePath());
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::wstring page = folder + L"folvane.html";
  if (GetFileAttributesW(page.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no help shipped
  auto* parameter = new std::wstring(std::move(page));
  HANDLE thread = CreateThread(nullptr, 0, openHelpThread, parameter, 0, nullptr);
  if (thread)
    CloseHandle(thread);
  else
    delete parameter;
}

void Win32Platform::exitNow() {
  ExitProcess(0);
  __builtin_unreachable();
}

}  // namespace folvane
