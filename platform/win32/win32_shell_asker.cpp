// Asking the Shell on a thread of the program's own and waiting a bounded time for its answer
// (see win32_shell_asker.h): the thread, the question handed to it, and the list it keeps.
#include "platform/win32/win32_shell_asker.h"

#include <mutex>
#include <utility>

namespace folvane {

namespace {

// What a list that came from a Shell that has ended answers: it is made again for the next
// question (the file manager restarted, say).
bool shellGone(HRESULT result) {
  return result == RPC_E_DISCONNECTED || result == RPC_E_SERVER_DIED ||
         result == RPC_E_SERVER_DIED_DNE || result == CO_E_OBJNOTCONNECTED ||
         result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

}  // namespace

// What the program's thread and the asking thread share; the asking thread keeps it alive for as
// long as it runs, which may be longer than the asker.
struct ShellAsker::Shared {
  Source source;
  std::mutex lock;
  struct Pending {
    Question question;
    std::shared_ptr<OwnedHandle> answered;  // set once the question is answered
  };
  std::optional<Pending> pending;  // handed over, not yet taken
  bool busy = false;               // a question is pending or being asked
  bool quit = false;
  OwnedHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // a question, or the end

  static DWORD WINAPI run(LPVOID parameter) {
    std::shared_ptr<Shared> shared(std::move(*static_cast<std::shared_ptr<Shared>*>(parameter)));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
      ComPtr<IShellWindows> windows;
      for (;;) {
        WaitForSingleObject(shared->wake.get(), INFINITE);
        std::optional<Pending> next;
        {
          std::lock_guard<std::mutex> hold(shared->lock);
          if (shared->quit) break;
          next = std::move(shared->pending);
          shared->pending.reset();
        }
        if (!next) continue;
        if (!windows) windows = shared->source();
        if (shellGone(next->question(windows.get()))) windows.reset();
        {
          // Free before the answer is told, so that the next question finds the thread free.
          std::lock_guard<std::mutex> hold(shared->lock);
          shared->busy = false;
        }
        SetEvent(next->answered->get());
      }
    }
    if (com) CoUninitialize();
    return 0;
  }
};

ComPtr<IShellWindows> SystemShellWindows() {
  ComPtr<IShellWindows> windows;
  // The file manager's process serves the list. Any kind of server would have COM try one in this
  // process first, which loads libraries (under Wine, a web browser's) that then refuse.
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                              __uuidof(IShellWindows), windows.putVoid())))
    windows.reset();
  return windows;
}

ShellAsker::ShellAsker(Source source) : shared_(std::make_shared<Shared>()) {
  shared_->source = std::move(source);
}

ShellAsker::~ShellAsker() {
  if (!thread_) return;
  {
    std::lock_guard<std::mutex> hold(shared_->lock);
    shared_->quit = true;
  }
  SetEvent(shared_->wake.get());
  WaitForSingleObject(thread_.get(), 1000);
}

bool ShellAsker::ask(Question question, DWORD wait) {
  auto answered = std::make_shared<OwnedHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!*answered || !shared_->wake) return false;
  {
    std::lock_guard<std::mutex> hold(shared_->lock);
    if (shared_->busy) return false;
    shared_->busy = true;
    shared_->pending = Shared::Pending{std::move(question), answered};
  }
  if (!thread_) {
    auto* handOver = new std::shared_ptr<Shared>(shared_);
    thread_.reset(CreateThread(nullptr, 0, &Shared::run, handOver, 0, nullptr));
    if (!thread_) {
      delete handOver;
      std::lock_guard<std::mutex> hold(shared_->lock);
      shared_->pending.reset();
      shared_->busy = false;
      return false;
    }
  }
  SetEvent(shared_->wake.get());
  return WaitForSingleObject(answered->get(), wait) == WAIT_OBJECT_0;
}

void ShellAsker::prepare() {
  ask([](IShellWindows*) { return S_OK; }, 0);
}

std::optional<ShellFolderAnswer> ShellAsker::folderShownBy(HWND window, DWORD wait) {
  // Shared with the question, which may outlive this call when the Shell is slow.
  auto answer = std::make_shared<std::optional<ShellFolderAnswer>>();
  const bool answered = ask(
      [answer, window](IShellWindows* windows) {
        HRESULT listed = S_OK;
        *answer = FolderShownIn(windows, window, &listed);
        return listed;
      },
      wait);
  if (!answered) return std::nullopt;
  return *answer;
}

bool ShellAsker::leaveFolder(HWND window, HWND tab, DWORD wait) {
  auto left = std::make_shared<bool>(false);
  const bool answered = ask(
      [left, window, tab](IShellWindows* windows) {
        HRESULT listed = S_OK;
        *left = LeaveFolderIn(windows, window, tab, &listed);
        return listed;
      },
      wait);
  return answered && *left;
}

}  // namespace folvane
