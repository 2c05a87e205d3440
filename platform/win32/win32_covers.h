// Covers: opaque windows of the program laid over other programs' windows that it holds shut,
// so that nothing they show can be read meanwhile. A cover is a captionless, thinly framed tool
// window that never takes activation; it lies exactly over its window's rectangle, just above it
// in z order but below the program's own windows, and shows a padlock and a line of text on the
// system's window colour, drawn at the density of the monitor it is on. Rectangles are the
// screen's own pixels on every monitor, as the program is aware of each monitor's density. Covers
// do not follow their windows by themselves: follow() is called on the program's timers (the
// system tells no one of another process's window moving, short of a hook into that process).
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/win32/win32_handles.h"

namespace folvane {

class Win32Covers {
 public:
  Win32Covers() = default;
  Win32Covers(const Win32Covers&) = delete;
  Win32Covers& operator=(const Win32Covers&) = delete;

  // Makes a cover ready, hidden and with its font, for the next window to be covered, so that
  // covering it takes no more than showing that cover in place. Called at start, and again after
  // each time the one ready was taken, off the path of the next lock.
  void prepare();
  // Covers `window` at once (or gives its cover the new text); not a window of this process.
  void cover(HWND window, const std::wstring& text);
  // Brings the cover back over its window: rectangle, z order, hidden while it is minimised.
  void follow(HWND window);
  void uncover(HWND window);

 private:
  OwnedWindow makeCover(const std::wstring& text);
  void place(HWND window);
  void restack(HWND cover, HWND window, const RECT& box, bool topmost);
  bool isCover(HWND window) const;
  static LRESULT CALLBACK coverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HWND cover);
  HFONT font(int dpi);

  // Declared first, so they go last, after the covers that draw with them.
  std::map<int, OwnedFont> fonts_;      // by density
  std::map<HWND, OwnedWindow> covers_;  // covered window -> its cover
  OwnedWindow ready_;                   // hidden, over no window yet
};

}  // namespace folvane
