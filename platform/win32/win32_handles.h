// Owning types for the system's handles: each frees its handle when it goes, on every path, so
// no code of the program frees a handle by hand.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shtypes.h>

#include <utility>

namespace folvane {

// A handle of kind Traits::Handle that frees itself with Traits::close. Moves, never copies.
template <typename Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  // For a call that hands one back through a pointer: the old one is freed first.
  Handle* put() {
    reset();
    return &handle_;
  }
  explicit operator bool() const { return handle_ != Traits::empty(); }
  Handle release() { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle handle = Traits::empty()) {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::empty()) Traits::close(old);
  }
  // Frees the handle now and tells whether the system took it back without complaint: closing a
  // file is where a delayed write can still fail.
  bool close() {
    Handle old = release();
    return old == Traits::empty() || Traits::close(old);
  }

 private:
  Handle handle_ = Traits::empty();
};

// A handle that is null when there is none and is freed by one call that answers nonzero.
template <typename Kind, BOOL(WINAPI* Free)(Kind)>
struct FreedBy {
  using Handle = Kind;
  static Kind empty() { return nullptr; }
  static bool close(Kind handle) { return Free(handle) != FALSE; }
};
struct FileTraits {  // CreateFile answers INVALID_HANDLE_VALUE when it fails
  using Handle = HANDLE;
  static HANDLE empty() { return INVALID_HANDLE_VALUE; }
  static bool close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};
struct FindTraits {  // FindFirstFile answers INVALID_HANDLE_VALUE when it finds nothing
  using Handle = HANDLE;
  static HANDLE empty() { return INVALID_HANDLE_VALUE; }
  static bool close(HANDLE handle) { return FindClose(handle) != FALSE; }
};
struct KeyTraits {
  using Handle = HKEY;
  static HKEY empty() { return nullptr; }
  static bool close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};
template <typename Object>
struct GdiTraits {  // fonts, pens, brushes
  using Handle = Object;
  static Object empty() { return nullptr; }
  static bool close(Object object) { return DeleteObject(object) != FALSE; }
};

// Memory the system handed over with CoTaskMemAlloc: item id lists, strings.
template <typename Pointer>
struct CoTaskMemTraits {
  using Handle = Pointer;
  static Pointer empty() { return nullptr; }
  static bool close(Pointer pointer) {
    CoTaskMemFree(const_cast<void*>(static_cast<const void*>(pointer)));
    return true;
  }
};

using OwnedHandle = Owned<FreedBy<HANDLE, CloseHandle>>;  // mutexes, threads, events
using OwnedFile = Owned<FileTraits>;  // also a tool-help snapshot, which fails the same way
using OwnedFind = Owned<FindTraits>;
using OwnedKey = Owned<KeyTraits>;
using OwnedIcon = Owned<FreedBy<HICON, DestroyIcon>>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedPen = Owned<GdiTraits<HPEN>>;
using OwnedBrush = Owned<GdiTraits<HBRUSH>>;
using OwnedWindow = Owned<FreedBy<HWND, DestroyWindow>>;
using OwnedMenu = Owned<FreedBy<HMENU, DestroyMenu>>;
using OwnedModule = Owned<FreedBy<HMODULE, FreeLibrary>>;
using OwnedHook = Owned<FreedBy<HHOOK, UnhookWindowsHookEx>>;
using OwnedPidl = Owned<CoTaskMemTraits<PIDLIST_ABSOLUTE>>;
using OwnedCoString = Owned<CoTaskMemTraits<PWSTR>>;

// A counted reference to a COM object, released when it goes; a copy counts another reference.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference that was counted already.
  explicit ComPtr(Interface* object) : object_(object) {}
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : object_(other.object_) {
    if (object_) object_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // For a call that hands one back: the old reference is released first.
  Interface** put() {
    reset();
    return &object_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (Interface* old = std::exchange(object_, nullptr)) old->Release();
  }
  // The same object through another of its interfaces; empty when it has not that one.
  template <typename Other>
  ComPtr<Other> as() const {
    ComPtr<Other> other;
    if (object_) object_->QueryInterface(__uuidof(Other), other.putVoid());
    return other;
  }

 private:
  Interface* object_ = nullptr;
};

// The device context of a window (nullptr: the screen), given back when it goes.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Painting a window in answer to WM_PAINT: BeginPaint now, EndPaint when it goes.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context, and the one it replaced selected back when it goes,
// so that the object may then be freed.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace folvane
