// The least a foreground watcher can be: a hidden window whose 100 ms timer reads the class and
// title of the window in front, and nothing else. The lock-latency benchmark runs it beside
// Folvane.exe, so that the program's idle processor time and memory are read as ratios to the
// floor that Wine and a static C++ runtime set.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    char className[128] = {};
    char title[128] = {};
    HWND front = GetForegroundWindow();
    GetClassNameA(front, className, sizeof className);
    GetWindowTextA(front, title, sizeof title);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"FolvaneNullProgram";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"FolvaneNullProgram", WS_POPUP, 0, 0,
                                0, 0, nullptr, nullptr, instance, nullptr);
  SetTimer(window, 1, 100, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
