// The Windows entry point: the real platform and toolkit under the program, then the message
// loop. The program ends itself through an immediate exit; the loop never returns on its own.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <optional>

#include "app/mdl_command.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_toolkit.h"

namespace {

folvane::Program* running = nullptr;

// An error that no event procedure handles ends the program. It ends the way every end does,
// giving back the folder windows it holds disabled, instead of leaving them dead behind it.
[[noreturn]] void EndAfterUnhandledError() {
  static bool ending = false;
  if (running && !ending) {
    ending = true;
    running->frmScan.EndNow();
  }
  std::abort();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Started by the program itself to give back the windows it holds, should it end first.
  if (const std::optional<folvane::WatcherStart> start = folvane::WatcherStartOf(GetCommandLineW()))
    return folvane::RunWatcherStart(*start);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);

  folvane::Win32Platform platform;
  platform.prepareCovers();
  platform.prepareShell();
  folvane::Win32Toolkit toolkit(instance);
  folvane::Program program(platform, toolkit);
  running = &program;
  std::set_terminate(EndAfterUnhandledError);
  program.Main();
  return toolkit.run();
}
