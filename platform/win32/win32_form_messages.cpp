// The messages of a form's window, turned into the events of the form and its portable
// controls: the user's clicks, typing, selections and steps, menu commands, timer ticks, close
// requests, the tray callback, the events of the window in front and the task bar coming back; and
// a move to a monitor of another density. A pointer that a message carries is read only when the
// message comes from the program's own thread.
#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>
#include <windowsx.h>
#include <wtsapi32.h>

#include "platform/pixel_layout.h"
#include "platform/tray_click.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_events.h"
#include "platform/win32/win32_window_object.h"

namespace folvane {

namespace {

// 500 %, the most the system's scale settings give.
constexpr int kLargestDpi = 5 * kDefaultDpi;

// A tray callback arrives as WM_MOUSEMOVE with the mouse message in place of x. A real move of
// the mouse over the window carries the cursor's own position; at high densities that can reach
// 513 or 516, so such moves must not pass for clicks on the icon.
bool isRealMouseMove(HWND hwnd, LPARAM lParam) {
  DWORD position = GetMessagePos();
  POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  ScreenToClient(hwnd, &cursor);
  return cursor.x == GET_X_LPARAM(lParam) && cursor.y == GET_Y_LPARAM(lParam);
}

// Whether the message being handled comes from this thread: the window's own controls, the
// program itself or the system on the program's behalf. A message sent from another thread
// (another program's, above all) carries whatever it likes where a pointer should be, and so does
// a posted one: the program's hook (postedProc) takes the pointer off those before they get here.
// The system tells of the message from outside that is being handled, so what the thread sends
// itself meanwhile counts as from outside too: a window then lays itself out where it stands.
bool sentByThisThread() {
  return InSendMessageEx(nullptr) == ISMEX_NOSEND;
}

}  // namespace

LRESULT CALLBACK Win32Toolkit::postedProc(int code, WPARAM wParam, LPARAM lParam) {
  // The system sends these, never posts them: a posted one comes from another program.
  if (code == HC_ACTION) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message == WM_NOTIFY || msg->message == WM_DPICHANGED) msg->lParam = 0;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Win32Toolkit::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Null once the window is on its way out: the dialog manager alone sees it off.
  auto* window = windowObject<Window>(hwnd, message, lParam);
  if (message == WM_NCCREATE) {
    if (!window) return TRUE;  // not its creation, but sent from outside: nothing is taken from it
    window->hwnd.reset(hwnd);
    ScaleNonClientArea(hwnd);
  }
  // The system destroys the window itself when its creation fails after WM_NCCREATE: the handle
  // is gone already and must not be destroyed again when its object goes.
  if (message == WM_NCDESTROY && window) window->hwnd.release();
  LRESULT result = 0;
  if (window && window->toolkit->handle(*window, message, wParam, lParam, result)) return result;
  return DefDlgProcW(hwnd, message, wParam, lParam);
}

// Handlers may unload the form, which destroys `window`: nothing touches it after calling into
// the form.
bool Win32Toolkit::handle(Window& window, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result) {
  Form& form = *window.form;
  switch (message) {
    case WM_COMMAND:
      return command(window, wParam, lParam);
    case WM_NOTIFY: {
      // The window's own controls notify it from this thread. Another program can send or post
      // the message with any address at all: it is answered without being read.
      if (!sentByThisThread() || lParam == 0) return true;
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      Item* item = itemById(window, static_cast<int>(header->idFrom));
      auto* upDown = item ? as<UpDown>(item->control) : nullptr;
      if (header->code != UDN_DELTAPOS || !upDown) return false;
      const std::string buddy = item->layout->buddy;
      const int delta = reinterpret_cast<NMUPDOWN*>(lParam)->iDelta;
      if (delta > 0) upDown->up();
      if (delta < 0) upDown->down();
      // The step went to the portable box as the user's input; show it in the real one.
      if (Window* still = windowFor(form)) {
        for (auto& other : still->items)
          if (other->layout->name == buddy) mirror(*other);
      }
      result = TRUE;  // the control keeps no position of its own
      return true;
    }
    case WM_TIMER: {
      Item* item = itemById(window, static_cast<int>(wParam));
      if (auto* timer = item ? as<Timer>(item->control) : nullptr) timer->tick();
      return true;
    }
    case WM_DPICHANGED: {
      // The system sends it on this thread, with the rectangle it suggests. From another program
      // only the density is taken, within what the system's scale settings give: the window lays
      // itself out for it where it stands.
      const int dpi = HIWORD(wParam);
      if (sentByThisThread() && lParam != 0)
        changeDpi(window, dpi, reinterpret_cast<const RECT*>(lParam));
      else if (dpi >= kDefaultDpi && dpi <= kLargestDpi)
        changeDpi(window, dpi, nullptr);
      return true;
    }
    case WM_CLOSE:
      form.requestClose(kCloseFromUser);
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;  // nothing ends before WM_ENDSESSION says the end goes through
      return true;
    case WM_ENDSESSION:
      form.endSession(wParam != FALSE);
      return true;
    case WM_WTSSESSION_CHANGE: {
      // Locked, or taken off the screen it was shown on (another user switched in, a remote
      // connection took it over or went): whoever comes back has to sign in again.
      const bool away = wParam == WTS_SESSION_LOCK || wParam == WTS_CONSOLE_DISCONNECT ||
                        wParam == WTS_REMOTE_DISCONNECT;
      if (away && form.onUserAway) form.onUserAway();
      return true;
    }
    case WM_POWERBROADCAST: {
      // Going to sleep, and again on waking, which every resume announces (a system may not
      // announce going to sleep). Not on the later word that a user woke it: by then the folder
      // in front may have been asked again and answered.
      const bool away = wParam == PBT_APMSUSPEND || wParam == PBT_APMRESUMEAUTOMATIC;
      if (away && form.onUserAway) form.onUserAway();
      result = TRUE;
      return true;
    }
    case kWindowEventMessage:
      if (Win32WindowEvents::Taken() && form.onWindowEvent) form.onWindowEvent();
      return true;
    case WM_MOUSEMOVE: {
      if (!form.onTrayClick || isRealMouseMove(window.hwnd.get(), lParam)) return false;
      if (const std::optional<TrayClick> click = TrayClickOf(GET_X_LPARAM(lParam)))
        form.onTrayClick(*click);
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      Item* item = itemByHwnd(window, reinterpret_cast<HWND>(lParam));
      if (!item || item->layout->foreColor == kSystemColor) return false;
      result = DefDlgProcW(window.hwnd.get(), message, wParam, lParam);
      SetTextColor(reinterpret_cast<HDC>(wParam), item->layout->foreColor);
      return true;
    }
    case WM_PAINT:
      if (!window.hasLines) return false;
      paintLines(window);
      return true;
    default:
      if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        if (form.onShellRestarted) form.onShellRestarted();
        return true;
      }
      return false;
  }
}

bool Win32Toolkit::command(Window& window, WPARAM wParam, LPARAM lParam) {
  Form& form = *window.form;
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (lParam == 0 && code == 0) {
    auto found = window.menuNames.find(id);
    if (found != window.menuNames.end()) {
      const std::string name = found->second;
      form.clickMenu(name);
      return true;
    }
  }
  if (id == IDCANCEL) {  // Esc, from the dialog manager
    for (auto& item : window.items) {
      auto* button = as<Button>(item->control);
      if (item->layout->isCancel && button) {
        button->click();
        break;
      }
    }
    return true;
  }
  if (id == IDOK) return true;  // Enter in a window without a default button
  Item* item = itemById(window, id);
  if (!item || !item->control) return false;
  HWND hwnd = item->hwnd;
  Control* control = item->control;
  if (auto* button = as<Button>(control)) {
    if (code == BN_CLICKED) button->click();
    return true;
  }
  if (auto* check = as<CheckBox>(control)) {
    if (code == BN_CLICKED) {
      bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
      check->userSetValue(checked ? 1 : 0);
    }
    return true;
  }
  if (auto* box = as<TextBox>(control)) {
    if (code != EN_CHANGE || settingText_ != 0) return true;
    // A read-only box changed from outside (another program's WM_SETTEXT) shows the program's
    // text again.
    if (box->readOnly())
      mirror(*item);
    else
      box->userSetText(narrow(windowTextOf(hwnd)));
    return true;
  }
  if (auto* list = as<ListBox>(control)) {
    if (code == LBN_SELCHANGE || code == LBN_DBLCLK)
      list->userSelect(static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)));
    if (code == LBN_DBLCLK) list->dblClick();
    return true;
  }
  return false;
}

}  // namespace folvane
