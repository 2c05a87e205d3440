// The least program that does Folvane's job: the floor the benchmark measures Folvane against.
//
// It sits in the notification area with an icon, as a resident guard must, and has a hidden
// window whose timer (100 ms unless told otherwise) reads the class and title of the window in
// front at every tick; when that is a folder window whose folder (the last part of its title) is on
// the list it read at start, it disables the window, once each time the window comes to the front.
// It covers nothing and never gives a window back: the benchmark does that.
//
// Built as folvane_null_shell_guard (FOLVANE_NULL_GUARD_ASKS_SHELL), it also asks the Shell which
// folder a folder window shows, as a guard must where the title does not say it (folder windows of
// Windows 11 and their tabs): through the same asker as Folvane, once each time a folder window
// comes forward or its title changes, and its folder's display name and the last part of its path
// count as keys too. Built plain, it asks nothing and loads no COM.
//
//   folvane_null_guard ["PassDat.ini" [interval ms]]   (without a list it guards nothing: the idle
//   floor; the timer's interval is 100 ms unless given)
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#ifdef FOLVANE_NULL_GUARD_ASKS_SHELL
#include "platform/win32/win32_shell_asker.h"
#endif

namespace {

constexpr UINT kTrayCallback = WM_APP + 1;

std::set<std::string> protectedKeys;
HWND lastFront = nullptr;
std::string lastTitle;

// The keys of [PasswordSetData], as the system's profile functions read them.
std::set<std::string> keysOf(const char* file) {
  std::set<std::string> keys;
  char section[65536] = {};
  GetPrivateProfileSectionA("PasswordSetData", section, sizeof section, file);
  for (const char* entry = section; *entry; entry += std::strlen(entry) + 1) {
    std::string line = entry;
    keys.insert(line.substr(0, line.find('=')));
  }
  return keys;
}

std::string lastPart(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

#ifdef FOLVANE_NULL_GUARD_ASKS_SHELL
folvane::ShellAsker shell;

std::string ansi(const std::wstring& text) {
  char bytes[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes - 1, nullptr, nullptr);
  return bytes;
}

// The keys the Shell's answer adds to the title's: the folder's display name and its path's last
// part.
std::set<std::string> shellKeysOf(HWND window) {
  std::set<std::string> keys;
  if (auto folder = shell.folderShownBy(window)) {
    keys.insert(ansi(folder->displayName));
    if (!folder->path.empty()) keys.insert(lastPart(ansi(folder->path)));
  }
  return keys;
}
#else
std::set<std::string> shellKeysOf(HWND) {
  return {};
}
#endif

// Reads the class and title of the window in front at every tick, as a guard must to see a
// window move into another folder; disables it once each time it comes to the front or its title
// changes.
void guard() {
  HWND front = GetForegroundWindow();
  char className[128] = {};
  char title[128] = {};
  GetClassNameA(front, className, sizeof className);
  GetWindowTextA(front, title, sizeof title);
  const bool changed = front != lastFront || title != lastTitle;
  lastFront = front;
  lastTitle = title;
  if (!changed || std::string(className) != "CabinetWClass") return;
  std::set<std::string> keys = shellKeysOf(front);
  keys.insert(lastPart(title));
  for (const std::string& key : keys) {
    if (protectedKeys.count(key) != 0) {
      EnableWindow(front, FALSE);
      return;
    }
  }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      guard();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // The list's path, in quotes, and after it the interval.
  std::string arguments = commandLine ? commandLine : "";
  std::string list = arguments;
  int interval = 100;
  if (!arguments.empty() && arguments.front() == '"') {
    const std::size_t end = arguments.find('"', 1);
    list = arguments.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    if (end != std::string::npos && std::atoi(arguments.c_str() + end + 1) > 0)
      interval = std::atoi(arguments.c_str() + end + 1);
  }
  if (!list.empty()) protectedKeys = keysOf(list.c_str());
#ifdef FOLVANE_NULL_GUARD_ASKS_SHELL
  shell.prepare();
#endif
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"FolvaneNullGuard";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"FolvaneNullGuard", WS_POPUP, 0, 0,
                                0, 0, nullptr, nullptr, instance, nullptr);
  NOTIFYICONDATAW icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = kTrayCallback;
  icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"FolvaneNullGuard", ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);
  SetTimer(window, 1, UINT(interval), nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
