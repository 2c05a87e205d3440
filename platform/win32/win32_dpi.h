// The density of the monitor a window is on, and the system's sizes at a density. Monitors of
// one desktop may have different densities, and a window's changes as it moves between them. The
// functions that tell them came with Windows 8.1 and 10 (1607) and are looked up as the program
// runs, so the program still starts on older systems; there every density is the system's own.
#pragma once

#include <windows.h>

namespace folvane {

// The density of the screen the system scaled the desktop for at logon.
int SystemDpi();
// The density of the monitor `window` is on, as the window itself was told last.
int DpiOfWindow(HWND window);
// The density of the monitor where the notification area is: the primary one.
int PrimaryMonitorDpi();

// GetSystemMetrics at `dpi` (icon sizes, frame widths).
int MetricForDpi(int index, int dpi);
// The window rectangle around `rect`, a client area, at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);

// Lets the system scale the caption and menu bar of a window made at WM_NCCREATE, where the
// process is aware of each monitor's density in the first way (Windows 10 1607); in the second
// way, which later systems take from the manifest, the system does so by itself.
void ScaleNonClientArea(HWND window);

}  // namespace folvane
