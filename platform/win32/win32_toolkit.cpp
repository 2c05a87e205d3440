// The toolkit's own equipment, which every window it builds draws on: the window classes, the
// icons and fonts, and the records by which a form, a control or a handle finds its window.
#include "platform/win32/win32_toolkit.h"

#include <cmath>

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
  {
    WindowDc screen(nullptr);
    dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  fontFace_ = uiFontFace();

  const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
  appIcon_.reset(loadIcon(instance, FOLVANE_ICON_APP, big));
  appIconSmall_.reset(loadIcon(instance, FOLVANE_ICON_APP, small));
  mainIcon_.reset(loadIcon(instance, FOLVANE_ICON_MAIN, big));
  mainIconSmall_.reset(loadIcon(instance, FOLVANE_ICON_MAIN, small));
  pictureIcon_.reset(loadIcon(instance, FOLVANE_ICON_APP, 32));

  // The forms are private dialog classes: the dialog manager gives them the default and cancel
  // buttons, keyboard navigation and focus that comes back with activation.
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.cbWndExtra = DLGWINDOWEXTRA;
  form.hInstance = instance;
  form.hIcon = appIcon_.get();
  form.hIconSm = appIconSmall_.get();
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
}

Win32Toolkit::~Win32Toolkit() {
  while (!windows_.empty()) destroyWindow(*windows_.begin()->second->form);
}

HFONT Win32Toolkit::fontFor(double points) {
  const int hundredths = static_cast<int>(std::lround(points * 100));
  auto found = fonts_.find(hundredths);
  if (found == fonts_.end())
    found = fonts_.emplace(hundredths, OwnedFont(createUiFont(fontFace_, points, dpiY_))).first;
  return found->second.get();
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
