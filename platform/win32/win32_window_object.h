// The object of the program's own that each of its window classes carries: handed to
// CreateWindowExW, kept in the window's user data from WM_NCCREATE on, found again on every
// later message.
#pragma once

#include <windows.h>

namespace folvane {

// The window's object; null before WM_NCCREATE and once the object has taken itself off.
template <typename Object>
Object* windowObject(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<Object*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace folvane
