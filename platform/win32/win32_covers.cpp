// Covers over the windows the program holds shut: making, restacking, following and painting
// them (see win32_covers.h).
#include "platform/win32/win32_covers.h"

#include <algorithm>
#include <vector>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_font.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_object.h"

namespace folvane {

namespace {

constexpr wchar_t kCoverClass[] = L"FolvaneCover";
// The size of the password dialog's question, so the cover reads like the dialog.
constexpr double kTextPoints = 9.75;
constexpr int kPadlockPixelsAt96Dpi = 48;

void registerCoverClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW cover{};
  cover.cbSize = sizeof cover;
  cover.style = CS_HREDRAW | CS_VREDRAW;  // the drawing is centred: a new size redraws it all
  cover.lpfnWndProc = proc;
  cover.hInstance = GetModuleHandleW(nullptr);
  cover.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cover.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cover.lpszClassName = kCoverClass;
  registered = RegisterClassExW(&cover) != 0;
}

bool isTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool isOwn(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

bool overlaps(HWND window, const RECT& box) {
  RECT rect, common;
  return GetWindowRect(window, &rect) && IntersectRect(&common, &rect, &box);
}

// Whether `cover` lies above `window` with nothing between them that shows over `box`: windows
// between them that are hidden or lie elsewhere on the screen do not count.
bool liesJustAbove(HWND cover, HWND window, const RECT& box) {
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (above == cover) return true;
    if (IsWindowVisible(above) && overlaps(above, box)) return false;
  }
  return false;
}

// A padlock in the square of side `size` at (left, top): a grey shackle over a golden body with
// a keyhole.
void drawPadlock(HDC dc, int left, int top, int size) {
  const int shackleWidth = std::max(2, size / 8);
  const int bodyTop = top + size * 45 / 100;
  const int bowLeft = left + size * 27 / 100, bowRight = left + size * 73 / 100;
  const int bowTop = top + shackleWidth / 2;
  const int bowMiddle = bowTop + (bowRight - bowLeft) / 2;

  OwnedPen shackle(CreatePen(PS_SOLID, shackleWidth, RGB(0x70, 0x70, 0x70)));
  OwnedPen edge(CreatePen(PS_SOLID, std::max(1, size / 32), RGB(0x80, 0x60, 0x10)));
  OwnedBrush gold(CreateSolidBrush(RGB(0xDA, 0xA5, 0x20)));
  OwnedBrush hole(CreateSolidBrush(RGB(0x40, 0x30, 0x00)));
  // The pen and brush the context had come back before the objects above are freed.
  Selected pen(dc, shackle.get());
  Selected brush(dc, gold.get());
  Arc(dc, bowLeft, bowTop, bowRight, bowTop + (bowRight - bowLeft), bowRight, bowMiddle, bowLeft,
      bowMiddle);
  MoveToEx(dc, bowLeft, bowMiddle, nullptr);
  LineTo(dc, bowLeft, bodyTop);
  MoveToEx(dc, bowRight, bowMiddle, nullptr);
  LineTo(dc, bowRight, bodyTop);

  SelectObject(dc, edge.get());
  RoundRect(dc, left + size * 12 / 100, bodyTop, left + size * 88 / 100, top + size, size / 6,
            size / 6);

  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, hole.get());
  const int centre = left + size / 2, holeTop = bodyTop + (top + size - bodyTop) / 4;
  const int radius = std::max(2, size / 14);
  Ellipse(dc, centre - radius, holeTop, centre + radius + 1, holeTop + 2 * radius + 1);
  Rectangle(dc, centre - radius / 2, holeTop + radius, centre + radius / 2 + 2,
            holeTop + 4 * radius);
}

}  // namespace

OwnedWindow Win32Covers::makeCover(const std::wstring& text) {
  registerCoverClass(coverProc);
  // No owner: a tool window has no task-bar button, and an unowned one stays where it is put in
  // z order instead of riding on another window of the program.
  return OwnedWindow(CreateWindowFor(this, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass,
                                     text.c_str(), WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr,
                                     nullptr, GetModuleHandleW(nullptr)));
}

void Win32Covers::prepare() {
  font(PrimaryMonitorDpi());  // where the cover that is made ready lies
  if (!ready_) ready_ = makeCover(L"");
}

void Win32Covers::cover(HWND window, const std::wstring& text) {
  if (!IsWindow(window) || isOwn(window)) return;  // the program's own windows stay in view

  auto found = covers_.find(window);
  if (found != covers_.end()) {
    SetWindowTextW(found->second.get(), text.c_str());
    InvalidateRect(found->second.get(), nullptr, TRUE);
    place(window);
    return;
  }
  OwnedWindow cover = std::move(ready_);
  if (cover) {
    SetWindowTextW(cover.get(), text.c_str());
  } else {
    cover = makeCover(text);
  }
  if (!cover) return;
  covers_[window] = std::move(cover);
  place(window);
}

void Win32Covers::follow(HWND window) {
  place(window);
  prepare();  // the next cover, now that this one's moment has passed
}

void Win32Covers::place(HWND window) {
  auto found = covers_.find(window);
  if (found == covers_.end() || !IsWindow(window)) return;
  HWND cover = found->second.get();
  if (!IsWindowVisible(window) || IsIconic(window)) {
    if (IsWindowVisible(cover)) ShowWindow(cover, SW_HIDE);
    return;
  }
  RECT target, now;
  if (!GetWindowRect(window, &target) || !GetWindowRect(cover, &now)) return;

  const bool topmost = isTopmost(window);
  if (topmost != isTopmost(cover)) {
    SetWindowPos(cover, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  const bool stacked = liesJustAbove(cover, window, target);
  const bool visible = IsWindowVisible(cover) != FALSE;
  if (stacked && visible && EqualRect(&now, &target)) return;

  if (stacked && visible) {
    SetWindowPos(cover, nullptr, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    restack(cover, window, target, topmost);  // also as it comes (back) up
  }
  // Drawn now rather than when the program is next idle: the window's content must not show.
  if (!visible) UpdateWindow(cover);
}

// Puts `cover` over `box` just above `window` in z order. Inserting it below the window that lies
// above `window` would do on Windows, but Wine restacks a window on the screen only when it
// becomes the top one, and the screen would go on showing `window` over its cover. So the cover
// goes to the top, and then, lowest first, back over it go the program's own windows that
// `window` came over (its password dialog, say, when the folder was brought forward) and the
// windows that lay above `window`: the program's own ones, and the other programs' windows that
// overlap the box, which are asked without waiting, as a hung program must not hold this one up.
void Win32Covers::restack(HWND cover, HWND window, const RECT& box, bool topmost) {
  auto candidate = [&](HWND other) {
    return other != cover && IsWindowVisible(other) && isTopmost(other) == topmost &&
           !isCover(other);
  };
  std::vector<HWND> raise;  // lowest first
  std::vector<HWND> ownBelow;
  for (HWND below = GetWindow(window, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT))
    if (candidate(below) && isOwn(below) && overlaps(below, box)) ownBelow.push_back(below);
  raise.assign(ownBelow.rbegin(), ownBelow.rend());
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
    if (candidate(above) && (isOwn(above) || overlaps(above, box))) raise.push_back(above);

  SetWindowPos(cover, topmost ? HWND_TOPMOST : HWND_TOP, box.left, box.top, box.right - box.left,
               box.bottom - box.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  for (HWND other : raise) {
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (!isOwn(other)) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, flags);
  }
}

bool Win32Covers::isCover(HWND window) const {
  if (ready_ && ready_.get() == window) return true;
  for (const auto& entry : covers_)
    if (entry.second.get() == window) return true;
  return false;
}

void Win32Covers::uncover(HWND window) {
  auto found = covers_.find(window);
  if (found == covers_.end()) return;
  covers_.erase(found);  // destroys the cover
}

HFONT Win32Covers::font(int dpi) {
  OwnedFont& font = fonts_[dpi];
  if (!font) font.reset(createUiFont(uiFontFace(), kTextPoints, dpi));
  return font.get();
}

LRESULT CALLBACK Win32Covers::coverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* covers = windowObject<Win32Covers>(hwnd, message, lParam);
  switch (message) {
    case WM_NCCREATE:
      if (!covers) return TRUE;  // not its creation, but sent from outside
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // a click on the cover leaves the foreground where it is
    case WM_PAINT:
      if (!covers) break;
      covers->paint(hwnd);
      return 0;
    case WM_DPICHANGED:
      // Its window moved to a monitor of another density. The cover keeps the rectangle it was
      // given, its window's own in the screen's pixels, and is drawn again at the new density.
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The padlock and the text below it, centred together in the cover.
void Win32Covers::paint(HWND cover) {
  PaintDc paint(cover);
  const HDC dc = paint.get();
  RECT client;
  GetClientRect(cover, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));

  const std::wstring text = windowTextOf(cover);
  // The density of the monitor the cover is on, which may not be the one the program started on.
  const int dpi = DpiOfWindow(cover);
  Selected selected(dc, font(dpi));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  const int lock = MulDiv(kPadlockPixelsAt96Dpi, dpi, 96);
  const int gap = lock / 4;
  const int top = (client.bottom - (lock + gap + metrics.tmHeight)) / 2;
  drawPadlock(dc, (client.right - lock) / 2, top, lock);

  RECT line{client.left, top + lock + gap, client.right, top + lock + gap + metrics.tmHeight};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace folvane
