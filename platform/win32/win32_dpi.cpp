// Densities of monitors and windows, with the functions of later systems found at run time (see
// win32_dpi.h).
#include "platform/win32/win32_dpi.h"

#include "platform/pixel_layout.h"
#include "platform/win32/win32_handles.h"

namespace folvane {

namespace {

// MDT_EFFECTIVE_DPI of GetDpiForMonitor: the density the user chose for the monitor.
constexpr int kEffectiveDpi = 0;

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiProc = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using EnableNonClientDpiScalingProc = BOOL(WINAPI*)(HWND);

template <typename Proc>
Proc systemFunction(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  // From the system's folder alone, never from the program's folder or the current one, where
  // anyone may have put a file of that name. Shcore stays loaded for the process.
  if (!loaded) loaded = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return loaded ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
                : nullptr;
}

// The functions, each looked up once.
struct DpiFunctions {
  GetDpiForWindowProc dpiForWindow =
      systemFunction<GetDpiForWindowProc>(L"user32.dll", "GetDpiForWindow");
  GetDpiForMonitorProc dpiForMonitor =
      systemFunction<GetDpiForMonitorProc>(L"shcore.dll", "GetDpiForMonitor");
  GetSystemMetricsForDpiProc metricsForDpi =
      systemFunction<GetSystemMetricsForDpiProc>(L"user32.dll", "GetSystemMetricsForDpi");
  AdjustWindowRectExForDpiProc adjustForDpi =
      systemFunction<AdjustWindowRectExForDpiProc>(L"user32.dll", "AdjustWindowRectExForDpi");
  EnableNonClientDpiScalingProc scaleNonClient =
      systemFunction<EnableNonClientDpiScalingProc>(L"user32.dll", "EnableNonClientDpiScaling");
};

const DpiFunctions& functions() {
  static const DpiFunctions found;
  return found;
}

}  // namespace

int SystemDpi() {
  static const int dpi = [] {
    WindowDc screen(nullptr);
    const int pixels = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return pixels > 0 ? pixels : kDefaultDpi;
  }();
  return dpi;
}

int DpiOfWindow(HWND window) {
  const UINT dpi = functions().dpiForWindow ? functions().dpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int PrimaryMonitorDpi() {
  HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  UINT x = 0, y = 0;
  if (primary && functions().dpiForMonitor &&
      SUCCEEDED(functions().dpiForMonitor(primary, kEffectiveDpi, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
  if (functions().metricsForDpi) return functions().metricsForDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
  if (functions().adjustForDpi &&
      functions().adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)))
    return;
  AdjustWindowRectEx(&rect, style, menu, exStyle);
}

void ScaleNonClientArea(HWND window) {
  if (functions().scaleNonClient) functions().scaleNonClient(window);
}

}  // namespace folvane
