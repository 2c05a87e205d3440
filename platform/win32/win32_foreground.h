// Bringing a window of this program to the front while another program has the foreground.
#pragma once

#include <windows.h>

namespace folvane {

// Windows lets only the program the user works in hand the foreground on; any other program's
// SetForegroundWindow merely flashes its taskbar button. A challenge starts just when the user
// opened a folder in another program, so the program joins the input of the window in front
// for the moment of the call, as that program's own windows may.
inline void bringToForeground(HWND window) {
  HWND front = GetForegroundWindow();
  DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  DWORD ownThread = GetCurrentThreadId();
  bool attached = frontThread != 0 && frontThread != ownThread &&
                  AttachThreadInput(ownThread, frontThread, TRUE) != FALSE;
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (attached) AttachThreadInput(ownThread, frontThread, FALSE);
}

}  // namespace folvane
