// The program itself on the real system: its message boxes, the one running copy, its start
// again after an installer closed it, where its executable lies, its help page and its immediate
// end.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

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

std::wstring ModulePath() {
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
    instanceMutex_.reset(CreateMutexW(nullptr, FALSE, L"Folvane.SingleInstance"));
    DWORD error = GetLastError();
    anotherInstance_ = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  }
  return anotherInstance_;
}

bool Win32Platform::registerForRestart() {
  // No arguments: the program comes back as it starts from its icon, and a copy already running
  // by then turns it away as usual.
  return SUCCEEDED(
      RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT));
}

std::string Win32Platform::programFolder() {
  return narrow(folderOf(ModulePath()));
}

std::string Win32Platform::exeName() {
  std::wstring path = ModulePath();
  auto separator = lastSeparator(path);
  std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
  auto dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return narrow(name);
}

void Win32Platform::openHelp(WindowId) {
  std::wstring folder = folderOf(ModulePath());
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  std::wstring page = folder + L"folvane.html";
  if (GetFileAttributesW(page.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // no help shipped
  auto* parameter = new std::wstring(std::move(page));
  OwnedHandle thread(CreateThread(nullptr, 0, openHelpThread, parameter, 0, nullptr));
  if (!thread) delete parameter;  // else the thread frees it; it runs on without its handle
}

void Win32Platform::exitNow() {
  ExitProcess(0);
  __builtin_unreachable();
}

}  // namespace folvane
