// The watcher over the windows the program holds disabled: another process of the same program,
// with no window, that gives them back should the program end without doing so (ended from the
// task manager, say). The program keeps the list of its held windows in a block of shared memory;
// the watcher waits on the program's process and reads the list when the program has gone.
//
// Both reach the block and the program's process through handles the watcher inherits, not by
// name or process id: the watcher holds them from its first instruction, so a program killed
// while the watcher is still starting is watched all the same, and no other process can pose as
// either. The watcher is started through a short-lived go-between, so that it is no child of the
// program: ending the program's process tree, as the task manager does with an application and
// what it started, leaves the watcher running.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace folvane {

struct HeldWindowsBlock;  // the shared block, as every process maps it

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
  bool watcherRunning() const;
  void startWatcher();

  OwnedHandle mapping_;
  HeldWindowsBlock* block_ = nullptr;
  OwnedHandle self_;     // this process, for the watcher to wait on
  OwnedHandle starter_;  // the go-between last started, while it may still be starting a watcher
};

// What a start of the program was asked to be, by its command line.
struct WatcherStart {
  enum class Role {
    StartWatcher,  // the go-between: starts the watcher and ends
    Watch,         // the watcher itself
  };
  Role role;
  HANDLE program;  // inherited: the program's process
  HANDLE block;    // inherited: the shared block
};
// nullopt for an ordinary start of the program.
std::optional<WatcherStart> WatcherStartOf(const wchar_t* commandLine);

// The whole life of a go-between or a watcher. Returns the process's exit code.
int RunWatcherStart(const WatcherStart& start);

}  // namespace folvane
