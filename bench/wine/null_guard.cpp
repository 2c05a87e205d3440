// The least program that does Folvane's job: the floor the benchmark measures Folvane against.
//
// It sits in the notification area with an icon, as a resident guard must, and has a hidden
// window whose 100 ms timer reads the class and title of the window in front at every tick; when
// that is a folder window whose folder (the last part of its title) is on the list it read at
// start, it disables the window, once each time the window comes to the front. It asks nothing, covers
// nothing and never gives a window back: the benchmark does that.
//
//   folvane_null_guard [PassDat.ini]   (without a list it guards nothing: the idle floor)
#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <set>
#include <string>

namespace {

constexpr UINT kTrayCallback = WM_APP + 1;

std::set<std::string> protectedKeys;
HWND lastFront = nullptr;

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

// Reads the class and title of the window in front at every tick, as a guard must to see a
// window move into another folder; disables it once each time it comes to the front.
void guard() {
  HWND front = GetForegroundWindow();
  char className[128] = {};
  char title[128] = {};
  GetClassNameA(front, className, sizeof className);
  GetWindowTextA(front, title, sizeof title);
  const bool cameForward = front != lastFront;
  lastFront = front;
  if (!cameForward || std::string(className) != "CabinetWClass") return;
  std::string folder = title;
  folder = folder.substr(folder.find_last_of('\\') + 1);
  if (protectedKeys.count(folder) != 0) EnableWindow(front, FALSE);
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
  std::string list = commandLine ? commandLine : "";
  if (list.size() >= 2 && list.front() == '"' && list.back() == '"')
    list = list.substr(1, list.size() - 2);
  if (!list.empty()) protectedKeys = keysOf(list.c_str());
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
  SetTimer(window, 1, 100, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return 0;
}
