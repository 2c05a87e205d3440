// The seam's window operations on the real system: the window in front and what it is, enabling
// and closing windows of any process, bringing a window forward, the covers over them, the events
// of the window in front, and what the Shell says of a folder window.
#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_foreground.h"
#include "platform/win32/win32_text.h"

namespace folvane {

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

// One call for a title of usual length: the sampler reads one at every tick. Only a title that
// fills the buffer is asked for its length and read again, whole.
std::string Win32Platform::windowTitle(WindowId window) {
  if (window == 0) return "";
  constexpr int kUsualLength = 256;
  wchar_t usual[kUsualLength];
  const int copied = GetWindowTextW(hwndOf(window), usual, kUsualLength);
  if (copied <= 0) return "";
  if (copied < kUsualLength - 1)
    return narrow(std::wstring_view(usual, static_cast<size_t>(copied)));

  const int length = GetWindowTextLengthW(hwndOf(window));
  if (length <= 0) return "";
  std::wstring title(static_cast<size_t>(length) + 1, L'\0');
  const int whole = GetWindowTextW(hwndOf(window), title.data(), length + 1);
  title.resize(whole > 0 ? static_cast<size_t>(whole) : 0);
  return narrow(title);
}

bool Win32Platform::windowExists(WindowId window) {
  return window != 0 && IsWindow(hwndOf(window));
}

bool Win32Platform::isOwnWindow(WindowId window) {
  DWORD process = 0;
  return window != 0 && GetWindowThreadProcessId(hwndOf(window), &process) != 0 &&
         process == GetCurrentProcessId();
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

// ---- Events of the window in front -------------------------------------------------------------

bool Win32Platform::watchWindowEvents(WindowId owner, bool on) {
  if (!on) {
    windowEvents_.stop();
    return true;
  }
  return windowEvents_.start(hwndOf(owner));
}

// ---- The watcher -------------------------------------------------------------------------------

void Win32Platform::keepHeldWindows(const std::vector<WindowId>& held) {
  std::vector<HWND> windows;
  for (WindowId window : held) windows.push_back(hwndOf(window));
  heldWatcher_.keep(windows);
}

// ---- The seam's questions to the Shell ----------------------------------------------------------

std::optional<ShellFolder> Win32Platform::folderShownBy(WindowId window) {
  if (!windowExists(window)) return std::nullopt;
  const std::optional<ShellFolderAnswer> answer = shell_.folderShownBy(hwndOf(window));
  if (!answer) return std::nullopt;
  ShellFolder folder;
  folder.displayName = narrow(answer->displayName);
  folder.path = narrow(answer->path);
  folder.tab = reinterpret_cast<WindowId>(answer->tab);
  folder.tabs = answer->tabs;
  return folder;
}

bool Win32Platform::leaveFolder(WindowId window, WindowId tab) {
  return windowExists(window) && tab != 0 && shell_.leaveFolder(hwndOf(window), hwndOf(tab));
}

}  // namespace folvane
