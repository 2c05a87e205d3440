// The object of the program's own that each of its window classes carries: handed to
// CreateWindowFor, kept in the window's user data from WM_NCCREATE on, found again on every
// later message.
//
// Another process can send WM_NCCREATE to a window that exists, with any value in place of the
// object: the system passes the message on, structure and all. So the object is taken only from
// the creation under way on this thread, and only by a window that has none yet.
#pragma once

#include <windows.h>

namespace folvane {

// The object whose window this thread is creating at the moment, or null.
inline const void*& WindowObjectBeingCreated() {
  static thread_local const void* object = nullptr;
  return object;
}

// CreateWindowExW for a window of one of the program's classes that carries `object`.
template <typename Object>
HWND CreateWindowFor(Object* object, DWORD exStyle, const wchar_t* windowClass, const wchar_t* text,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance) {
  const void*& creating = WindowObjectBeingCreated();
  const void* outer = creating;  // a window made while another one is being made
  creating = object;
  HWND made = CreateWindowExW(exStyle, windowClass, text, style, x, y, width, height, parent, menu,
                              instance, object);
  creating = outer;
  return made;
}

// The window's object; null before WM_NCCREATE and once the object has taken itself off. At
// WM_NCCREATE, the object being created with the window, and null for a WM_NCCREATE that is not
// its creation.
template <typename Object>
Object* windowObject(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const void* creating = WindowObjectBeingCreated();
    if (!creating || GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0 ||
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams != creating)
      return nullptr;
    auto* object = static_cast<Object*>(const_cast<void*>(creating));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace folvane
