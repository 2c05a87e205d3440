// Building a form's window from its layout: the frame and menu, and every control at its place
// in twips converted at the density of the monitor the window is on, in tab order; and laying
// the window out again when it moves to a monitor of another density.
#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <numeric>

#include "platform/pixel_layout.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_object.h"

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
  // A centred window comes up on the primary monitor, the others where the system places new
  // windows. Only there does a window have its density, and so its size.
  const bool centred = layout.centerScreen || !layout.titleBar;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = centred ? work.left : CW_USEDEFAULT, y = centred ? work.top : CW_USEDEFAULT;
  // An owned window takes no task-bar button; the owner itself is never shown.
  HWND owner = layout.showInTaskbar ? nullptr : hiddenOwner_.get();
  HWND hwnd = CreateWindowFor(&window, exStyle, kFormClass, widen(layout.caption).c_str(), style, x,
                              y, 0, 0, owner, menu.get(), instance_);
  if (!hwnd) {
    windows_.erase(&form);
    return false;
  }
  menu.release();  // the window's now: it goes with the window
  // Only a window that cares is told of the screen being locked.
  if (form.onUserAway) WTSRegisterSessionNotification(hwnd, NOTIFY_FOR_THIS_SESSION);

  window.dpi = DpiOfWindow(hwnd);
  sizeWindow(window, centred ? &work : nullptr);
  setIcons(window);

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

// Sizes the window so that its client area is the layout's at the window's density, and centres
// it in `centreIn` when given.
void Win32Toolkit::sizeWindow(Window& window, const RECT* centreIn) {
  const HWND hwnd = window.hwnd.get();
  const PixelBox client = ClientBoxAt(window.form->layout(), window.dpi);
  RECT frame{0, 0, client.right, client.bottom};
  AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                         GetMenu(hwnd) != nullptr,
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), window.dpi);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = 0, y = 0;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (centreIn) {
    x = centreIn->left + (centreIn->right - centreIn->left - width) / 2;
    y = centreIn->top + (centreIn->bottom - centreIn->top - height) / 2;
  } else {
    flags |= SWP_NOMOVE;
  }
  SetWindowPos(hwnd, nullptr, x, y, width, height, flags);

  // The menu bar may wrap, and frames differ between systems: make the client area exact.
  RECT actual;
  GetClientRect(hwnd, &actual);
  if (actual.right != client.right || actual.bottom != client.bottom) {
    SetWindowPos(hwnd, nullptr, 0, 0, width + client.right - actual.right,
                 height + client.bottom - actual.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Toolkit::setIcons(Window& window) {
  const Icons& icons = iconsFor(window.dpi);
  const bool main = window.form->layout().mainIcon;
  SendMessageW(window.hwnd.get(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(main ? icons.main.get() : icons.app.get()));
  SendMessageW(window.hwnd.get(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(main ? icons.mainSmall.get() : icons.appSmall.get()));
}

// The window has moved to a monitor of another density (or that monitor's density changed): it
// takes the rectangle the system suggests, which keeps it where the user put it, or, without one,
// the size of its layout at the new density where it stands; and every control its place, font
// and picture at the new density.
void Win32Toolkit::changeDpi(Window& window, int dpi, const RECT* suggested) {
  window.dpi = dpi;
  if (suggested) {
    SetWindowPos(window.hwnd.get(), nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    sizeWindow(window, nullptr);
  }
  setIcons(window);
  for (auto& item : window.items) placeControl(window, *item);
  InvalidateRect(window.hwnd.get(), nullptr, TRUE);
}

// Puts the control where the layout has it at the window's density, with its font and its
// picture made for that density.
void Win32Toolkit::placeControl(Window& window, Item& item) {
  const ControlLayout& layout = *item.layout;
  const PixelBox box = ControlBoxAt(window.form->layout(), layout, window.dpi);
  item.box = {box.left, box.top, box.right, box.bottom};
  if (!item.hwnd) return;
  SetWindowPos(item.hwnd, nullptr, box.left, box.top, box.width(), box.height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(item.hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(fontFor(layout.fontPoints, window.dpi)), TRUE);
  if (layout.kind == ControlKind::Image) {
    item.picture.reset(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(FOLVANE_ICON_APP), IMAGE_ICON,
                                      box.width(), box.height(), LR_DEFAULTCOLOR)));
    InvalidateRect(item.hwnd, nullptr, FALSE);
  }
  if (layout.kind == ControlKind::Label && layout.autoSize) fitLabel(item);
}

void Win32Toolkit::createControl(Window& window, Item& item) {
  const ControlLayout& layout = *item.layout;
  if (layout.kind == ControlKind::Line) window.hasLines = true;
  if (layout.kind == ControlKind::Line || layout.kind == ControlKind::Timer) {
    placeControl(window, item);
    return;
  }

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
      break;
    case ControlKind::Line:
    case ControlKind::Timer:
      return;
  }
  item.hwnd = CreateWindowFor(&item, exStyle, cls, widen(layout.text).c_str(), style, 0, 0, 0, 0,
                              window.hwnd.get(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance_);
  if (!item.hwnd) return;
  if (layout.kind == ControlKind::TextBox && layout.password)
    SendMessageW(item.hwnd, EM_SETPASSWORDCHAR, L'*', 0);
  if (layout.kind == ControlKind::UpDown)
    SendMessageW(item.hwnd, UDM_SETRANGE32, layout.minValue, layout.maxValue);
  placeControl(window, item);
}

}  // namespace folvane
