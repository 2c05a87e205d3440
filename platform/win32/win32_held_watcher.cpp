// The watcher over the held windows (see win32_held_watcher.h): the shared block, starting the
// watcher through its go-between, and the watcher's own loop.
#include "platform/win32/win32_held_watcher.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_platform.h"

namespace folvane {

// The program writes the windows first and their number after them. The state says whether a
// watcher is wanted, and lets a watcher that is leaving tell a program that wants one again; the
// watcher's process id says which process watches, 0 while none does.
struct HeldWindowsBlock {
  static constexpr int kCapacity = 256;
  enum State : LONG { kIdle = 0, kWanted = 1, kLeaving = 2 };
  volatile LONG state;
  volatile LONG count;
  volatile LONG watcher;
  UINT64 windows[kCapacity];
};

namespace {

constexpr wchar_t kStartSwitch[] = L"/start-watcher";
constexpr wchar_t kWatchSwitch[] = L"/watch-held";
// How often the watcher looks at the block while the program lives.
constexpr DWORD kPollMs = 100;

HeldWindowsBlock* mapBlock(HANDLE mapping) {
  return static_cast<HeldWindowsBlock*>(
      MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(HeldWindowsBlock)));
}

std::wstring handleText(HANDLE handle) {
  return std::to_wstring(reinterpret_cast<UINT_PTR>(handle));
}

// An inheritable copy of `handle`, for one start; null when it cannot be made.
OwnedHandle inheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS))
    return OwnedHandle();
  return OwnedHandle(copy);
}

// Starts this program again with `role` and the two handles, which the new process inherits, and
// nothing else: the start names the handles it hands down (PROC_THREAD_ATTRIBUTE_HANDLE_LIST),
// so no other inheritable handle of the process goes with them. The system hands down only
// inheritable handles, so the two are given as inheritable copies made for the start and closed
// after it; the program's own handles never change, and are never inheritable. No window, and no
// busy cursor while it starts: the user is to notice nothing. Its process id, or 0.
DWORD startWithHandles(const wchar_t* role, HANDLE program, HANDLE block,
                       OwnedHandle* process = nullptr) {
  const OwnedHandle programCopy = inheritableCopy(program);
  const OwnedHandle blockCopy = inheritableCopy(block);
  if (!programCopy || !blockCopy) return 0;
  HANDLE handedDown[] = {programCopy.get(), blockCopy.get()};

  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<unsigned char> storage(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (size == 0 || !InitializeProcThreadAttributeList(attributes, 1, 0, &size)) return 0;
  BOOL created = FALSE;
  PROCESS_INFORMATION info{};
  if (UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handedDown,
                                sizeof handedDown, nullptr, nullptr)) {
    const std::wstring exe = ModulePath();
    std::wstring commandLine = L"\"" + exe + L"\" " + role + L" " + handleText(programCopy.get()) +
                               L" " + handleText(blockCopy.get());
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_FORCEOFFFEEDBACK;
    startup.lpAttributeList = attributes;
    created =
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo, &info);
  }
  DeleteProcThreadAttributeList(attributes);
  if (!created) return 0;
  OwnedHandle thread(info.hThread);
  OwnedHandle started(info.hProcess);
  if (process) *process = std::move(started);
  return info.dwProcessId;
}

bool isRunning(HANDLE process) {
  return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Gives back what the program still held when it went: nobody else will.
void giveBack(const HeldWindowsBlock& block) {
  const LONG held = block.count;
  const LONG count = std::clamp<LONG>(held, 0, HeldWindowsBlock::kCapacity);
  for (LONG i = 0; i < count; ++i) {
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(block.windows[i]));
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

int watch(HANDLE program, HeldWindowsBlock& block) {
  const LONG self = static_cast<LONG>(GetCurrentProcessId());
  for (;;) {
    if (WaitForSingleObject(program, kPollMs) != WAIT_TIMEOUT) {
      giveBack(block);
      return 0;
    }
    // Nothing held: leave, unless the program wants a watcher again at this very moment. A
    // watcher the program has started meanwhile keeps its own process id in the block.
    if (InterlockedCompareExchange(&block.state, HeldWindowsBlock::kLeaving,
                                   HeldWindowsBlock::kIdle) == HeldWindowsBlock::kIdle) {
      InterlockedCompareExchange(&block.watcher, 0, self);
      return 0;
    }
  }
}

std::optional<HANDLE> handleArgument(const wchar_t* text) {
  wchar_t* end = nullptr;
  const unsigned long long value = std::wcstoull(text, &end, 10);
  if (value == 0 || !end || *end != L'\0') return std::nullopt;
  return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value));
}

}  // namespace

HeldWindowsWatcher::~HeldWindowsWatcher() {
  if (block_) UnmapViewOfFile(block_);
}

bool HeldWindowsWatcher::open() {
  if (block_) return true;
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                       SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0))
    return false;
  self_.reset(self);
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(HeldWindowsBlock), nullptr));
  if (!mapping_) return false;
  block_ = mapBlock(mapping_.get());
  return block_ != nullptr;
}

void HeldWindowsWatcher::keep(const std::vector<HWND>& held) {
  if (held.empty() && !block_) return;
  if (!open()) return;
  const LONG count = static_cast<LONG>(std::min<size_t>(held.size(), HeldWindowsBlock::kCapacity));
  for (LONG i = 0; i < count; ++i) block_->windows[i] = reinterpret_cast<UINT_PTR>(held[i]);
  InterlockedExchange(&block_->count, count);
  if (count == 0) {
    InterlockedExchange(&block_->state, HeldWindowsBlock::kIdle);
    return;
  }
  const LONG before = InterlockedExchange(&block_->state, HeldWindowsBlock::kWanted);
  if (before == HeldWindowsBlock::kLeaving || !watcherRunning()) startWatcher();
}

bool HeldWindowsWatcher::watcherRunning() const {
  // A go-between still at work is about to name its watcher.
  if (isRunning(starter_.get())) return true;
  const DWORD watcher = static_cast<DWORD>(block_->watcher);
  if (watcher == 0) return false;
  OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, watcher));
  return isRunning(process.get());
}

void HeldWindowsWatcher::startWatcher() {
  InterlockedExchange(&block_->watcher, 0);
  startWithHandles(kStartSwitch, self_.get(), mapping_.get(), &starter_);
}

std::optional<WatcherStart> WatcherStartOf(const wchar_t* commandLine) {
  if (!commandLine) return std::nullopt;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
  if (!arguments) return std::nullopt;
  std::optional<WatcherStart> start;
  if (count == 4) {
    const std::optional<HANDLE> program = handleArgument(arguments[2]);
    const std::optional<HANDLE> block = handleArgument(arguments[3]);
    if (program && block) {
      if (std::wcscmp(arguments[1], kStartSwitch) == 0)
        start = WatcherStart{WatcherStart::Role::StartWatcher, *program, *block};
      else if (std::wcscmp(arguments[1], kWatchSwitch) == 0)
        start = WatcherStart{WatcherStart::Role::Watch, *program, *block};
    }
  }
  LocalFree(arguments);
  return start;
}

int RunWatcherStart(const WatcherStart& start) {
  // Handles that this process did not inherit (a hand-typed command line) are refused here.
  if (GetProcessId(start.program) == 0) return 1;
  HeldWindowsBlock* block = mapBlock(start.block);
  if (!block) return 1;
  int exitCode = 0;
  if (start.role == WatcherStart::Role::StartWatcher) {
    const DWORD watcher = startWithHandles(kWatchSwitch, start.program, start.block);
    if (watcher != 0)
      InterlockedExchange(&block->watcher, static_cast<LONG>(watcher));
    else
      exitCode = 1;
  } else {
    exitCode = watch(start.program, *block);
  }
  UnmapViewOfFile(block);
  return exitCode;
}

}  // namespace folvane
