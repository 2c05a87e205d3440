#include "platform/win32/win32_toolkit.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/win32/win32_font.h"
#include "platform/win32/win32_foreground.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

constexpr wchar_t kFormClass[] = L"FolvaneForm";
constexpr wchar_t kPaintedClass[] = L"FolvanePainted";
constexpr int kFirstControlId = 100;  // above IDOK and IDCANCEL, which the dialog keys send
constexpr int kFirstMenuId = 1000;
constexpr unsigned kSystemColor = 0xFFFFFFFFu;

HICON loadIcon(HINSTANCE instance, int id, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

std::wstring windowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), length + 1));
  return text;
}

// A tray callback arrives as WM_MOUSEMOVE with the mouse message in place of x. A real move of
// the mouse over the window carries the cursor's own position; at high densities that can reach
// 513 or 516, so such moves must not pass for clicks on the icon.
bool isRealMouseMove(HWND hwnd, LPARAM lParam) {
  DWORD position = GetMessagePos();
  POINT cursor{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  ScreenToClient(hwnd, &cursor);
  return cursor.x == GET_X_LPARAM(lParam) && cursor.y == GET_Y_LPARAM(lParam);
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
  HDC screen = GetDC(nullptr);
  dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
  dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  fontFace_ = uiFontFace();

  const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
  appIcon_ = loadIcon(instance, FOLVANE_ICON_APP, big);
  appIconSmall_ = loadIcon(instance, FOLVANE_ICON_APP, small);
  mainIcon_ = loadIcon(instance, FOLVANE_ICON_MAIN, big);
  mainIconSmall_ = loadIcon(instance, FOLVANE_ICON_MAIN, small);
  pictureIcon_ = loadIcon(instance, FOLVANE_ICON_APP, 32);

  // The forms are private dialog classes: the dialog manager gives them the default and cancel
  // buttons, keyboard navigation and focus that comes back with activation.
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.cbWndExtra = DLGWINDOWEXTRA;
  form.hInstance = instance;
  form.hIcon = appIcon_;
  form.hIconSm = appIconSmall_;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kFormClass;
  RegisterClassExW(&form);

  WNDCLASSEXW painted{};
  painted.cbSize = sizeof painted;
  painted.lpfnWndProc = paintedProc;
  painted.hInstance = instance;
  painted.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  painted.lpszClassName = kPaintedClass;
  RegisterClassExW(&painted);

  hiddenOwner_ =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Toolkit::~Win32Toolkit() {
  while (!windows_.empty()) destroyWindow(*windows_.begin()->second->form);
  if (hiddenOwner_) DestroyWindow(hiddenOwner_);
  for (auto& entry : fonts_) DeleteObject(entry.second);
  for (HICON icon : {appIcon_, appIconSmall_, mainIcon_, mainIconSmall_, pictureIcon_})
    if (icon) DestroyIcon(icon);
}

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

HFONT Win32Toolkit::fontFor(double points) {
  const int hundredths = static_cast<int>(std::lround(points * 100));
  auto found = fonts_.find(hundredths);
  if (found != fonts_.end()) return found->second;
  HFONT handle = createUiFont(fontFace_, points, dpiY_);
  fonts_[hundredths] = handle;
  return handle;
}

// ---- Building a window --------------------------------------------------------------------------

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

  HMENU menu = layout.menu.empty() ? nullptr : buildMenu(window, layout.menu, true);
  const int clientWidth = toPixelsX(layout.clientWidth),
            clientHeight = toPixelsY(layout.clientHeight);
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (layout.centerScreen || !layout.titleBar) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - width) / 2;
    y = work.top + (work.bottom - work.top - height) / 2;
  }
  // An owned window takes no task-bar button; the owner itself is never shown.
  HWND owner = layout.showInTaskbar ? nullptr : hiddenOwner_;
  HWND hwnd = CreateWindowExW(exStyle, kFormClass, widen(layout.caption).c_str(), style, x, y,
                              width, height, owner, menu, instance_, &window);
  if (!hwnd) {
    if (menu) DestroyMenu(menu);
    windows_.erase(&form);
    return false;
  }

  // The menu bar may wrap, and frames differ between systems: make the client area exact.
  RECT client;
  GetClientRect(hwnd, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    SetWindowPos(hwnd, nullptr, 0, 0, width + clientWidth - client.right,
                 height + clientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(hwnd, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(layout.mainIcon ? mainIcon_ : appIcon_));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(layout.mainIcon ? mainIconSmall_ : appIconSmall_));

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
    item->control = form.find(item->layout->name);
    item->id = kFirstControlId + static_cast<int>(window.items.size());
    window.items.push_back(std::move(item));
  }
  for (auto& item : window.items) createControl(window, *item);

  for (Control* control : form.controls()) control->attach(this);
  for (auto& item : window.items) {
    if (item->control) mirror(*item);
    if (item->layout->kind == ControlKind::Timer && item->control)
      timerChanged(*static_cast<Timer*>(item->control));
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
      if (layout.kind == ControlKind::Image) item.icon = pictureIcon_;
      break;
    case ControlKind::Line:
    case ControlKind::Timer:
      return;
  }
  item.hwnd =
      CreateWindowExW(exStyle, cls, widen(layout.text).c_str(), style, item.box.left, item.box.top,
                      item.box.right - item.box.left, item.box.bottom - item.box.top, window.hwnd,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance_, &item);
  if (!item.hwnd) return;
  SendMessageW(item.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(layout.fontPoints)), FALSE);
  if (layout.kind == ControlKind::TextBox && layout.password)
    SendMessageW(item.hwnd, EM_SETPASSWORDCHAR, L'*', 0);
  if (layout.kind == ControlKind::UpDown)
    SendMessageW(item.hwnd, UDM_SETRANGE32, layout.minValue, layout.maxValue);
  if (layout.kind == ControlKind::Label && layout.autoSize) fitLabel(item);
}

// ---- Program-made changes -----------------------------------------------------------------------

void Win32Toolkit::setText(HWND hwnd, const std::string& utf8) {
  std::wstring text = widen(utf8);
  if (windowText(hwnd) == text) return;
  ++settingText_;
  SetWindowTextW(hwnd, text.c_str());
  --settingText_;
}

void Win32Toolkit::mirror(Item& item) {
  HWND hwnd = item.hwnd;
  if (!hwnd || !item.control) return;
  switch (item.layout->kind) {
    case ControlKind::TextBox:
      setText(hwnd, static_cast<TextBox*>(item.control)->text());
      break;
    case ControlKind::Label:
      setText(hwnd, static_cast<Label*>(item.control)->caption());
      if (item.layout->autoSize) fitLabel(item);
      break;
    case ControlKind::Button:
      setText(hwnd, static_cast<Button*>(item.control)->caption());
      break;
    case ControlKind::ListBox: {
      auto* list = static_cast<ListBox*>(item.control);
      SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
      SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
      for (const std::string& entry : list->items())
        SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(entry).c_str()));
      SendMessageW(hwnd, LB_SETCURSEL, list->listIndex(), 0);
      SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    }
    case ControlKind::CheckBox: {
      int value = static_cast<CheckBox*>(item.control)->value();
      SendMessageW(hwnd, BM_SETCHECK,
                   value == 1   ? BST_CHECKED
                   : value == 2 ? BST_INDETERMINATE
                                : BST_UNCHECKED,
                   0);
      break;
    }
    case ControlKind::Shape:
      InvalidateRect(hwnd, nullptr, FALSE);
      break;
    default:
      break;
  }
}

// A label that sizes itself keeps the edge its alignment names: left, right or centre.
void Win32Toolkit::fitLabel(Item& item) {
  HDC dc = GetDC(item.hwnd);
  HGDIOBJ old = SelectObject(dc, fontFor(item.layout->fontPoints));
  std::wstring text = windowText(item.hwnd);
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_NOCLIP);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(item.hwnd, dc);

  const int width = need.right, height = std::max<int>(need.bottom, metrics.tmHeight);
  int left = item.box.left;
  if (item.layout->align == Align::Right) left = item.box.right - width;
  if (item.layout->align == Align::Center) left = (item.box.left + item.box.right - width) / 2;
  SetWindowPos(item.hwnd, nullptr, left, item.box.top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The old extent may lie outside the new one.
  InvalidateRect(item.window->hwnd, &item.box, TRUE);
}

void Win32Toolkit::controlChanged(Control& control) {
  if (Item* item = itemOf(control)) mirror(*item);
}

void Win32Toolkit::timerChanged(Timer& timer) {
  Item* item = itemOf(timer);
  if (!item) return;
  HWND hwnd = item->window->hwnd;
  if (timer.enabled() && timer.interval() > 0)
    SetTimer(hwnd, item->id, static_cast<UINT>(timer.interval()), nullptr);
  else
    KillTimer(hwnd, item->id);
}

void Win32Toolkit::focus(Control& control) {
  Item* item = itemOf(control);
  if (!item || !item->hwnd) return;
  if (IsWindowVisible(item->window->hwnd))
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

// ---- Showing, modal loops and destruction -------------------------------------------------------

void Win32Toolkit::setVisible(Form& form, bool visible) {
  Window* window = windowFor(form);
  if (!window) return;
  ShowWindow(window->hwnd, visible ? SW_SHOW : SW_HIDE);
  if (visible) applyPendingFocus(*window);
}

bool Win32Toolkit::isVisible(const Form& form) const {
  Window* window = windowFor(form);
  return window && IsWindowVisible(window->hwnd);
}

WindowId Win32Toolkit::windowOf(const Form& form) const {
  Window* window = windowFor(form);
  return window ? reinterpret_cast<WindowId>(window->hwnd) : 0;
}

void Win32Toolkit::runModal(Form& form) {
  Window* window = windowFor(form);
  if (!window) return;
  const HWND hwnd = window->hwnd;
  // The program's other windows wait; a modal showing inside this one (a timer may open one)
  // disables this window in turn, and the windows come back as the modal showings end.
  std::vector<WindowId> others;
  for (auto& entry : windows_)
    if (entry.second->hwnd != hwnd)
      others.push_back(reinterpret_cast<WindowId>(entry.second->hwnd));
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
  SetWindowLongPtrW(window->hwnd, GWLP_USERDATA, 0);
  for (auto& item : window->items)
    if (item->hwnd && item->layout->kind != ControlKind::Frame)
      SetWindowLongPtrW(item->hwnd, GWLP_USERDATA, 0);
  DestroyWindow(window->hwnd);
}

// ---- Messages -----------------------------------------------------------------------------------

LRESULT CALLBACK Win32Toolkit::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  // Null once the window is on its way out: the dialog manager alone sees it off.
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
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
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      Item* item = itemById(window, static_cast<int>(header->idFrom));
      if (header->code != UDN_DELTAPOS || !item || !item->control) return false;
      auto* upDown = static_cast<UpDown*>(item->control);
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
      if (item && item->control && item->layout->kind == ControlKind::Timer)
        static_cast<Timer*>(item->control)->tick();
      return true;
    }
    case WM_CLOSE:
      form.requestClose(kCloseFromUser);
      return true;
    case WM_QUERYENDSESSION:
      form.requestClose(kCloseFromSystem);
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wParam) form.requestClose(kCloseFromSystem);
      return true;
    case WM_MOUSEMOVE:
      if (!form.onMouseMove || isRealMouseMove(window.hwnd, lParam)) return false;
      form.onMouseMove(GET_X_LPARAM(lParam));
      return true;
    case WM_CTLCOLORSTATIC: {
      Item* item = itemByHwnd(window, reinterpret_cast<HWND>(lParam));
      if (!item || item->layout->foreColor == kSystemColor) return false;
      result = DefDlgProcW(window.hwnd, message, wParam, lParam);
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
      if (item->layout->isCancel && item->control && item->layout->kind == ControlKind::Button) {
        static_cast<Button*>(item->control)->click();
        break;
      }
    }
    return true;
  }
  if (id == IDOK) return true;  // Enter in a window without a default button
  Item* item = itemById(window, id);
  if (!item || !item->control) return false;
  HWND hwnd = item->hwnd;
  switch (item->layout->kind) {
    case ControlKind::Button:
      if (code == BN_CLICKED) static_cast<Button*>(item->control)->click();
      return true;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        static_cast<CheckBox*>(item->control)->userSetValue(checked ? 1 : 0);
      }
      return true;
    case ControlKind::TextBox: {
      if (code != EN_CHANGE || settingText_ != 0) return true;
      auto* box = static_cast<TextBox*>(item->control);
      // A read-only box changed from outside (another program's WM_SETTEXT) shows the program's
      // text again.
      if (box->readOnly())
        mirror(*item);
      else
        box->userSetText(narrow(windowText(hwnd)));
      return true;
    }
    case ControlKind::ListBox: {
      auto* list = static_cast<ListBox*>(item->control);
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK)
        list->userSelect(static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0)));
      if (code == LBN_DBLCLK) list->dblClick();
      return true;
    }
    default:
      return false;
  }
}

void Win32Toolkit::paintLines(Window& window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window.hwnd, &paint);
  for (auto& item : window.items) {
    if (item->layout->kind != ControlKind::Line) continue;
    int color = item->layout->systemDarkShadow ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT;
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, item->box.left, item->box.top, nullptr);
    LineTo(dc, item->box.right, item->box.bottom);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  EndPaint(window.hwnd, &paint);
}

// Shapes (a circle filled with its colour) and pictures (the application icon, stretched).
LRESULT CALLBACK Win32Toolkit::paintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* item = reinterpret_cast<Item*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);

  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (item && item->layout->kind == ControlKind::Shape) {
    COLORREF color =
        item->control ? static_cast<Shape*>(item->control)->backColor() : item->layout->backColor;
    int side = std::min(client.right, client.bottom);
    int left = (client.right - side) / 2, top = (client.bottom - side) / 2;
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, left, top, left + side, top + side);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  } else if (item && item->icon) {
    DrawIconEx(dc, 0, 0, item->icon, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  }
  EndPaint(hwnd, &paint);
  return 0;
}

// ---- Lookups ------------------------------------------------------------------------------------

Win32Toolkit::Item* Win32Toolkit::itemOf(const Control& control) const {
  for (auto& entry : windows_)
    for (auto& item : entry.second->items)
      if (item->control == &control) return item.get();
  return nullptr;
}

Win32Toolkit::Item* Win32Toolkit::itemById(Window& window, int id) {
  size_t index = static_cast<size_t>(id - kFirstControlId);
  return id >= kFirstControlId && index < window.items.size() ? window.items[index].get() : nullptr;
}

Win32Toolkit::Item* Win32Toolkit::itemByHwnd(Window& window, HWND hwnd) {
  for (auto& item : window.items)
    if (item->hwnd == hwnd) return item.get();
  return nullptr;
}

Win32Toolkit::Window* Win32Toolkit::windowFor(const Form& form) const {
  auto found = windows_.find(&form);
  return found == windows_.end() ? nullptr : found->second.get();
}

Win32Toolkit::Window* Win32Toolkit::windowFor(HWND hwnd) const {
  for (auto& entry : windows_)
    if (entry.second->hwnd == hwnd) return entry.second.get();
  return nullptr;
}

}  // namespace folvane
