// The watcher over the windows the program holds disabled: a second process of the same program,
// with no window, that gives them back should the program end without doing so. The program keeps
// the list of its held windows in a block of shared memory, and the watcher inherits a handle of
// that block and one of the program's process: it waits on the process, and reads the list when
// the program has gone, even if that was before the watcher first ran.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace folvane {

struct HeldWindowsBlock;  // the shared block, as both processes map it

// The program's side: publishes the held windows and keeps a watcher running while any are held.
class HeldWindowsWatcher {
 public:
  HeldWindowsWatcher() = default;
  ~HeldWindowsWatcher();
  HeldWindowsWatcher(const HeldWindowsWatcher&) = delete;
  HeldWindowsWatcher& operator=(const HeldWindowsWatcher&) = delete;

  void keep(const std::vector<HWND>& held);

 private:
  bool open();
  void startWatcher();

  OwnedHandle mapping_;
  HeldWindowsBlock* block_ = nullptr;
  OwnedHandle watcher_;  // the watcher's process, while one was started
};

// What a command line hands the watcher ("/watch-held <process> <block>"): the program's process
// and its shared block, as handles the watcher inherited, so that they are good even when the
// program was ended before the watcher ran. nullopt for an ordinary start.
struct WatchedProgram {
  HANDLE process;
  HANDLE block;
};
std::optional<WatchedProgram> ProgramToWatch(const wchar_t* commandLine);

// The watcher's whole life: waits while the program holds windows, and gives them back if the
// program ends first. Returns the process's exit code.
int WatchHeldWindows(const WatchedProgram& program);

}  // namespace folvane
