// The Windows entry point: the real platform and toolkit under the program, then the message
// loop. The program ends itself through an immediate exit; the loop never returns on its own.
#include <windows.h>

#include <commctrl.h>

#include "app/mdl_command.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);

  folvane::Win32Platform platform;
  folvane::Win32Toolkit toolkit(instance);
  folvane::Program program(platform, toolkit);
  program.Main();
  return toolkit.run();
}
