// Asking the Shell about folder windows without ever waiting long for it. A question crosses into
// the file manager's process, and a hung file manager (or a network folder that does not answer)
// would hold up whoever asks. So the questions are asked on a thread of the program's own, with
// COM initialised there once (multithreaded: the thread runs no message loop), and the program
// waits a bounded time for the answer. A question still unanswered when the time is up runs on
// and its answer is dropped; until it ends, further questions get no answer at once rather than
// queue up behind it.
#pragma once

#include <windows.h>

#include <exdisp.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_shell_folders.h"

namespace folvane {

// The system's list of the Shell's windows (CLSID_ShellWindows); empty when it cannot be made.
ComPtr<IShellWindows> SystemShellWindows();

class ShellAsker {
 public:
  // Gives the list to walk; called on the asking thread whenever it has none (at the first
  // question, and after the Shell it came from has gone).
  using Source = std::function<ComPtr<IShellWindows>()>;

  explicit ShellAsker(Source source = SystemShellWindows);
  // Tells the thread to end; a thread still held up by the Shell is left to end by itself.
  ~ShellAsker();
  ShellAsker(const ShellAsker&) = delete;
  ShellAsker& operator=(const ShellAsker&) = delete;

  // Starts the asking thread and has it make the list, without waiting for either: the first
  // question then finds them ready instead of spending its wait on them.
  void prepare();
  // FolderShownIn and LeaveFolderIn on the asking thread, waiting at most `wait` milliseconds:
  // std::nullopt and false when the answer did not come in time or the thread is still busy.
  std::optional<ShellFolderAnswer> folderShownBy(HWND window, DWORD wait = 50);
  bool leaveFolder(HWND window, HWND tab, DWORD wait = 100);

 private:
  struct Shared;
  // A question for the thread: it returns how the list read (for a Shell that went away).
  using Question = std::function<HRESULT(IShellWindows*)>;
  // True when the question was answered within the wait.
  bool ask(Question question, DWORD wait);

  std::shared_ptr<Shared> shared_;
  OwnedHandle thread_;
};

}  // namespace folvane
