// The message loops and a window's life on the screen: the program's loop, showing and hiding,
// the re-entrant modal loop that holds the other windows disabled, and destruction.
#include "platform/win32/win32_toolkit.h"

#include <wtsapi32.h>

#include "platform/win32/win32_foreground.h"

namespace folvane {

int Win32Toolkit::run() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) dispatch(msg);
  return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

void Win32Toolkit::dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && windowFor(root) && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Toolkit::setVisible(Form& form, bool visible) {
  Window* window = windowFor(form);
  if (!window) return;
  ShowWindow(window->hwnd.get(), visible ? SW_SHOW : SW_HIDE);
  if (visible) applyPendingFocus(*window);
}

bool Win32Toolkit::isVisible(const Form& form) const {
  Window* window = windowFor(form);
  return window && IsWindowVisible(window->hwnd.get());
}

WindowId Win32Toolkit::windowOf(const Form& form) const {
  Window* window = windowFor(form);
  return window ? reinterpret_cast<WindowId>(window->hwnd.get()) : 0;
}

void Win32Toolkit::runModal(Form& form) {
  Window* window = windowFor(form);
  if (!window) return;
  const HWND hwnd = window->hwnd.get();
  // The program's other windows wait; a modal showing inside this one (a timer may open one)
  // disables this window in turn, and the windows come back as the modal showings end.
  std::vector<WindowId> others;
  for (auto& entry : windows_)
    if (entry.second->hwnd.get() != hwnd)
      others.push_back(reinterpret_cast<WindowId>(entry.second->hwnd.get()));
  modals_.begin(form, others);
  ShowWindow(hwnd, SW_SHOW);
  bringToForeground(hwnd);
  applyPendingFocus(*window);

  MSG msg;
  while (windowOf(form) == reinterpret_cast<WindowId>(hwnd)) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loops
      break;
    }
    if (got < 0) break;
    dispatch(msg);
  }
  modals_.end(form);
}

bool Win32Toolkit::isEnabled(WindowId window) {
  return IsWindowEnabled(reinterpret_cast<HWND>(window)) != FALSE;
}

void Win32Toolkit::setEnabled(WindowId window, bool enabled) {
  EnableWindow(reinterpret_cast<HWND>(window), enabled ? TRUE : FALSE);
}

bool Win32Toolkit::exists(WindowId window) {
  return IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

void Win32Toolkit::destroyWindow(Form& form) {
  auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  // Give the other windows back before this one goes, so activation passes to one of them.
  modals_.end(form);
  std::unique_ptr<Window> window = std::move(found->second);
  windows_.erase(found);
  SetWindowLongPtrW(window->hwnd.get(), GWLP_USERDATA, 0);
  if (form.onUserAway) WTSUnRegisterSessionNotification(window->hwnd.get());
  for (auto& item : window->items)
    if (item->hwnd && item->layout->kind != ControlKind::Frame)
      SetWindowLongPtrW(item->hwnd, GWLP_USERDATA, 0);
  window->hwnd.reset();  // destroys the window and its controls
}

}  // namespace folvane
