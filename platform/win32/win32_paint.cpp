// Painting what the system's controls do not draw: a form's lines, the lamp (a circle filled
// with its colour) and pictures (the application icon, stretched to the box).
#include "platform/win32/win32_toolkit.h"

#include <algorithm>

#include "platform/win32/win32_window_object.h"

namespace folvane {

void Win32Toolkit::paintLines(Window& window) {
  PaintDc dc(window.hwnd.get());
  for (auto& item : window.items) {
    if (item->layout->kind != ControlKind::Line) continue;
    int color = item->layout->systemDarkShadow ? COLOR_3DDKSHADOW : COLOR_3DHIGHLIGHT;
    OwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(color)));
    Selected selected(dc.get(), pen.get());
    MoveToEx(dc.get(), item->box.left, item->box.top, nullptr);
    LineTo(dc.get(), item->box.right, item->box.bottom);
  }
}

LRESULT CALLBACK Win32Toolkit::paintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* item = windowObject<Item>(hwnd, message, lParam);
  if (message == WM_NCCREATE && !item) return TRUE;  // not its creation, but sent from outside
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);

  PaintDc dc(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (item && item->layout->kind == ControlKind::Shape) {
    auto* shape = as<Shape>(item->control);
    COLORREF color = shape ? shape->backColor() : item->layout->backColor;
    int side = std::min(client.right, client.bottom);
    int left = (client.right - side) / 2, top = (client.bottom - side) / 2;
    OwnedBrush brush(CreateSolidBrush(color));
    Selected fill(dc.get(), brush.get());
    Selected edge(dc.get(), GetStockObject(BLACK_PEN));
    Ellipse(dc.get(), left, top, left + side, top + side);
  } else if (item && item->picture) {
    DrawIconEx(dc.get(), 0, 0, item->picture.get(), client.right, client.bottom, 0, nullptr,
               DI_NORMAL);
  }
  return 0;
}

}  // namespace folvane
