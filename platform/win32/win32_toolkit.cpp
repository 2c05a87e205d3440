// The toolkit's own equipment, which every window it builds draws on: the window classes, the
// icons and fonts, and the records by which a form, a control or a handle finds its window.
#include "platform/win32/win32_toolkit.h"

#include <cmath>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_font.h"
#include "platform/win32/win32_resources.h"

namespace folvane {

namespace {

HICON loadIcon(HINSTANCE instance, int id, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
  fontFace_ = uiFontFace();
  const Icons& systemIcons = iconsFor(SystemDpi());

  // The forms are private dialog classes: the dialog manager gives them the default and cancel
  // buttons, keyboard navigation and focus that comes back with activation.
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.cbWndExtra = DLGWINDOWEXTRA;
  form.hInstance = instance;
  form.hIcon = systemIcons.app.get();
  form.hIconSm = systemIcons.appSmall.get();
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

  hiddenOwner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     instance, nullptr));
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  postedHook_.reset(SetWindowsHookExW(WH_GETMESSAGE, postedProc, nullptr, GetCurrentThreadId()));
}

Win32Toolkit::~Win32Toolkit() {
  while (!windows_.empty()) destroyWindow(*windows_.begin()->second->form);
}

HFONT Win32Toolkit::fontFor(double points, int dpi) {
  const std::pair<int, int> key(dpi, static_cast<int>(std::lround(points * 100)));
  auto found = fonts_.find(key);
  if (found == fonts_.end())
    found = fonts_.emplace(key, OwnedFont(createUiFont(fontFace_, points, dpi))).first;
  return found->second.get();
}

// The sizes the system gives icons at `dpi`: 32 and 16 pixels at 96, 48 and 24 at 144.
const Win32Toolkit::Icons& Win32Toolkit::iconsFor(int dpi) {
  auto found = icons_.find(dpi);
  if (found != icons_.end()) return found->second;
  const int big = MetricForDpi(SM_CXICON, dpi), small = MetricForDpi(SM_CXSMICON, dpi);
  Icons& icons = icons_[dpi];
  icons.app.reset(loadIcon(instance_, FOLVANE_ICON_APP, big));
  icons.appSmall.reset(loadIcon(instance_, FOLVANE_ICON_APP, small));
  icons.main.reset(loadIcon(instance_, FOLVANE_ICON_MAIN, big));
  icons.mainSmall.reset(loadIcon(instance_, FOLVANE_ICON_MAIN, small));
  return icons;
}

// ---- Records ------------------------------------------------------------------------------------

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
    if (entry.second->hwnd.get() == hwnd) return entry.second.get();
  return nullptr;
}

}  // namespace folvane
