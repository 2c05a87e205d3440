// Program-made changes to the portable controls, carried into the real ones: texts, captions,
// list rows, check marks, the lamp's colour, timers, focus and selection.
#include "platform/win32/win32_toolkit.h"

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace folvane {

void Win32Toolkit::setText(HWND hwnd, const std::string& utf8) {
  std::wstring text = widen(utf8);
  if (windowTextOf(hwnd) == text) return;
  ++settingText_;
  SetWindowTextW(hwnd, text.c_str());
  --settingText_;
}

void Win32Toolkit::mirror(Item& item) {
  HWND hwnd = item.hwnd;
  if (!hwnd || !item.control) return;
  Control* control = item.control;
  if (auto* box = as<TextBox>(control)) {
    setText(hwnd, box->text());
  } else if (auto* label = as<Label>(control)) {
    setText(hwnd, label->caption());
    if (item.layout->autoSize) fitLabel(item);
  } else if (auto* button = as<Button>(control)) {
    setText(hwnd, button->caption());
  } else if (auto* list = as<ListBox>(control)) {
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
    SendMessageW(hwnd, LB_INITSTORAGE, list->items().size(), list->items().size() * 32);
    for (const std::string& entry : list->items())
      SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(entry).c_str()));
    SendMessageW(hwnd, LB_SETCURSEL, list->listIndex(), 0);
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  } else if (auto* check = as<CheckBox>(control)) {
    const int value = check->value();
    SendMessageW(hwnd, BM_SETCHECK,
                 value == 1   ? BST_CHECKED
                 : value == 2 ? BST_INDETERMINATE
                              : BST_UNCHECKED,
                 0);
  } else if (as<Shape>(control)) {
    InvalidateRect(hwnd, nullptr, FALSE);
  }
}

// A label that sizes itself keeps the edge its alignment names: left, right or centre.
void Win32Toolkit::fitLabel(Item& item) {
  RECT need{0, 0, 0, 0};
  TEXTMETRICW metrics;
  {
    WindowDc dc(item.hwnd);
    Selected font(dc.get(), fontFor(item.layout->fontPoints, item.window->dpi));
    std::wstring text = windowTextOf(item.hwnd);
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &need,
              DT_CALCRECT | DT_NOCLIP);
    GetTextMetricsW(dc.get(), &metrics);
  }

  const int width = need.right, height = std::max<int>(need.bottom, metrics.tmHeight);
  int left = item.box.left;
  if (item.layout->align == Align::Right) left = item.box.right - width;
  if (item.layout->align == Align::Center) left = (item.box.left + item.box.right - width) / 2;
  SetWindowPos(item.hwnd, nullptr, left, item.box.top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The old extent may lie outside the new one.
  InvalidateRect(item.window->hwnd.get(), &item.box, TRUE);
}

void Win32Toolkit::controlChanged(Control& control) {
  if (Item* item = itemOf(control)) mirror(*item);
}

void Win32Toolkit::timerChanged(Timer& timer) {
  Item* item = itemOf(timer);
  if (!item) return;
  HWND hwnd = item->window->hwnd.get();
  if (timer.enabled() && timer.interval() > 0)
    SetTimer(hwnd, item->id, static_cast<UINT>(timer.interval()), nullptr);
  else
    KillTimer(hwnd, item->id);
}

void Win32Toolkit::focus(Control& control) {
  Item* item = itemOf(control);
  if (!item || !item->hwnd) return;
  if (IsWindowVisible(item->window->hwnd.get()))
    SetFocus(item->hwnd);
  else
    item->window->pendingFocus = item->hwnd;
}

void Win32Toolkit::applyPendingFocus(Window& window) {
  if (window.pendingFocus && IsWindow(window.pendingFocus)) SetFocus(window.pendingFocus);
  window.pendingFocus = nullptr;
}

void Win32Toolkit::selectAll(TextBox& box) {
  Item* item = itemOf(box);
  if (item && item->hwnd) SendMessageW(item->hwnd, EM_SETSEL, 0, -1);
}

}  // namespace folvane
