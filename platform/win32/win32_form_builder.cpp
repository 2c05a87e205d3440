// Building a form's window from its layout: the frame and menu, and every control at its place
// in twips converted at the screen's density, in tab order.
#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <numeric>

#include "platform/win32/win32_text.h"

namespace folvane {

bool Win32Toolkit::createWindow(Form& form) {
  if (windowFor(form)) return true;
  const FormLayout& layout = form.layout();
  auto owned = std::make_unique<Window>();
  Window& window = *owned;
  window.toolkit = this;
  window.form = &form;
  windows_[&form] = std::move(owned);

  DWORD style, exStyle = 0;
  if (layout.titleBar) {
    style = WS_OVERLAPPED | WS_CAPTION;
    if (layout.closeBox) style |= WS_SYSMENU;
  } else {
    style = WS_POPUP | WS_DLGFRAME;
  }
  if (layout.border == FormBorder::FixedDialog && layout.titleBar) exStyle |= WS_EX_DLGMODALFRAME;

  OwnedMenu menu;
  if (!layout.menu.empty()) menu.reset(buildMenu(window, layout.menu, true));
  const int clientWidth = toPixelsX(layout.clientWidth),
            clientHeight = toPixelsY(layout.clientHeight);
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, menu ? TRUE : FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (layout.centerScreen || !layout.titleBar) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - width) / 2;
    y = work.top + (work.bottom - work.top - height) / 2;
  }
  // An owned window takes no task-bar button; the owner itself is never shown.
  HWND owner = layout.showInTaskbar ? nullptr : hiddenOwner_.get();
  HWND hwnd = CreateWindowExW(exStyle, kFormClass, widen(layout.caption).c_str(), style, x, y,
                              width, height, owner, menu.get(), instance_, &window);
  if (!hwnd) {
    windows_.erase(&form);
    return false;
  }
  menu.release();  // the window's now: it goes with the window
  // Only a window that cares is told of the screen being locked.
  if (form.onUserAway) WTSRegisterSessionNotification(hwnd, NOTIFY_FOR_THIS_SESSION);

  // The menu bar may wrap, and frames differ between systems: make the client area exact.
  RECT client;
  GetClientRect(hwnd, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    SetWindowPos(hwnd, nullptr, 0, 0, width + clientWidth - client.right,
                 height + clientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(hwnd, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(layout.mainIcon ? mainIcon_.get() : appIcon_.get()));
  SendMessageW(
      hwnd, WM_SETICON, ICON_SMALL,
      reinterpret_cast<LPARAM>(layout.mainIcon ? mainIconSmall_.get() : appIconSmall_.get()));

  // Controls are created in tab order, so the dialog manager's order is the form's; those
  // outside the order (pictures, shapes, lines, timers) come last.
  std::vector<size_t> order(layout.controls.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int ta = layout.controls[a].tabIndex, tb = layout.controls[b].tabIndex;
    if ((ta < 0) != (tb < 0)) return tb < 0;
    return ta < tb;
  });
  for (size_t index : order) {
    auto item = std::make_unique<Item>();
    item->window = &window;
    item->layout = &layout.controls[index];
    // Form::load has checked that the control is of its layout's kind.
    item->control = form.find(item->layout->name);
    item->id = kFirstControlId + static_cast<int>(window.items.size());
    window.items.push_back(std::move(item));
  }
  for (auto& item : window.items) createControl(window, *item);

  for (Control* control : form.controls()) control->attach(this);
  for (auto& item : window.items) {
    mirror(*item);
    if (auto* timer = as<Timer>(item->control)) timerChanged(*timer);
    if (item->layout->kind == ControlKind::UpDown) {
      for (auto& other : window.items)
        if (other->layout->name == item->layout->buddy)
          SendMessageW(item->hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other->hwnd), 0);
    }
    if (item->layout->isDefault) SendMessageW(hwnd, DM_SETDEFID, item->id, 0);
  }
  return true;
}

HMENU Win32Toolkit::buildMenu(Window& window, const std::vector<MenuLayout>& entries, bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  for (const MenuLayout& entry : entries) {
    if (!entry.items.empty()) {
      HMENU popup = buildMenu(window, entry.items, false);
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                  widen(entry.caption).c_str());
    } else if (entry.caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      int id = kFirstMenuId + static_cast<int>(window.menuNames.size());
      window.menuNames[id] = entry.name;
      AppendMenuW(menu, MF_STRING, id, widen(entry.caption).c_str());
    }
  }
  return menu;
}

void Win32Toolkit::createControl(Window& window, Item& item) {
  const ControlLayout& layout = *item.layout;
  // Boxes are relative to their frame; frames may sit in frames.
  int left = layout.left, top = layout.top;
  for (std::string parent = layout.parent; !parent.empty();) {
    auto found =
        std::find_if(window.form->layout().controls.begin(), window.form->layout().controls.end(),
                     [&](const ControlLayout& c) { return c.name == parent; });
    if (found == window.form->layout().controls.end()) break;
    left += found->left;
    top += found->top;
    parent = found->parent;
  }
  if (layout.kind == ControlKind::Line) {
    item.box = {toPixelsX(left), toPixelsY(top), toPixelsX(left + layout.x2 - layout.left),
                toPixelsY(top + layout.y2 - layout.top)};
    window.hasLines = true;
    return;
  }
  item.box = {toPixelsX(left), toPixelsY(top), toPixelsX(left + layout.width),
              toPixelsY(top + layout.height)};
  if (layout.kind == ControlKind::Timer) return;

  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE, exStyle = 0;
  const DWORD tabStop = WS_TABSTOP | WS_GROUP;
  switch (layout.kind) {
    case ControlKind::Frame:
      cls = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::Label:
      style |= WS_GROUP;
      if (layout.align == Align::Right)
        style |= SS_RIGHT;
      else if (layout.align == Align::Center)
        style |= SS_CENTER;
      else
        style |= layout.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
    case ControlKind::TextBox:
      cls = L"EDIT";
      style |= tabStop | ES_AUTOHSCROLL | (layout.password ? ES_PASSWORD : 0) |
               (layout.readOnly ? ES_READONLY : 0);
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Button:
      cls = L"BUTTON";
      style |= tabStop | (layout.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
    case ControlKind::ListBox:
      cls = L"LISTBOX";
      style |= tabStop | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckBox:
      cls = L"BUTTON";
      style |= tabStop | BS_AUTOCHECKBOX;
      break;
    case ControlKind::UpDown:
      // The buddy's text is stepped by the program, never by the control itself.
      cls = UPDOWN_CLASSW;
      style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS;
      break;
    case ControlKind::Shape:
    case ControlKind::Image:
      cls = kPaintedClass;
      if (layout.kind == ControlKind::Image) item.icon = pictureIcon_.get();
      break;
    case ControlKind::Line:
    case ControlKind::Timer:
      return;
  }
  item.hwnd = CreateWindowExW(
      exStyle, cls, widen(layout.text).c_str(), style, item.box.left, item.box.top,
      item.box.right - item.box.left, item.box.bottom - item.box.top, window.hwnd.get(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance_, &item);
  if (!item.hwnd) return;
  SendMessageW(item.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(layout.fontPoints)), FALSE);
  if (layout.kind == ControlKind::TextBox && layout.password)
    SendMessageW(item.hwnd, EM_SETPASSWORDCHAR, L'*', 0);
  if (layout.kind == ControlKind::UpDown)
    SendMessageW(item.hwnd, UDM_SETRANGE32, layout.minValue, layout.maxValue);
  if (layout.kind == ControlKind::Label && layout.autoSize) fitLabel(item);
}

}  // namespace folvane
