// The watcher over the held windows (see win32_held_watcher.h): the shared block, starting and
// ending the watcher, and the watcher's own loop.
#include "platform/win32/win32_held_watcher.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/win32/win32_platform.h"

namespace folvane {

// The program writes the windows first and their number after them; the state says whether a
// watcher is wanted, and lets a watcher that is leaving tell a program that wants one again.
struct HeldWindowsBlock {
  static constexpr int kCapacity = 256;
  enum State : LONG { kIdle = 0, kWanted = 1, kLeaving = 2 };
  volatile LONG state;
  volatile LONG count;
  UINT64 windows[kCapacity];
};

namespace {

constexpr wchar_t kSwitch[] = L"/watch-held";
// How often the watcher looks at the block while the program lives.
constexpr DWORD kPollMs = 100;

}  // namespace

HeldWindowsWatcher::~HeldWindowsWatcher() {
  if (block_) UnmapViewOfFile(block_);
}

bool HeldWindowsWatcher::open() {
  if (block_) return true;
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(HeldWindowsBlock), nullptr));
  if (!mapping_) return false;
  block_ = static_cast<HeldWindowsBlock*>(
      MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(HeldWindowsBlock)));
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
  const bool running = watcher_ && WaitForSingleObject(watcher_.get(), 0) == WAIT_TIMEOUT;
  if (before == HeldWindowsBlock::kLeaving || !running) startWatcher();
}

void HeldWindowsWatcher::startWatcher() {
  watcher_.reset();
  // The watcher inherits a handle of this process and one of the block, and nothing else.
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                       SYNCHRONIZE, TRUE, 0))
    return;
  OwnedHandle inheritedSelf(self);
  if (!SetHandleInformation(mapping_.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) return;
  const std::wstring exe = ModulePath();
  std::wstring commandLine = L"\"" + exe + L"\" " + kSwitch + L" " +
                             std::to_wstring(reinterpret_cast<UINT_PTR>(self)) + L" " +
                             std::to_wstring(reinterpret_cast<UINT_PTR>(mapping_.get()));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const bool started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &info) != FALSE;
  SetHandleInformation(mapping_.get(), HANDLE_FLAG_INHERIT, 0);
  if (!started) return;
  CloseHandle(info.hThread);
  watcher_.reset(info.hProcess);
}

std::optional<WatchedProgram> ProgramToWatch(const wchar_t* commandLine) {
  if (!commandLine) return std::nullopt;
  const wchar_t* found = std::wcsstr(commandLine, kSwitch);
  if (!found) return std::nullopt;
  wchar_t* next = nullptr;
  const unsigned long long process = std::wcstoull(found + std::wcslen(kSwitch), &next, 10);
  const unsigned long long block = std::wcstoull(next, nullptr, 10);
  if (process == 0 || block == 0) return std::nullopt;
  return WatchedProgram{reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(process)),
                        reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(block))};
}

int WatchHeldWindows(const WatchedProgram& program) {
  OwnedHandle process(program.process);
  OwnedHandle mapping(program.block);
  auto* block = static_cast<HeldWindowsBlock*>(
      MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(HeldWindowsBlock)));
  if (!block) return 1;
  for (;;) {
    if (WaitForSingleObject(process.get(), kPollMs) != WAIT_TIMEOUT) {
      // The program has gone: what it still held, nobody else will give back.
      const LONG held = block->count;
      const LONG count = std::min<LONG>(held, HeldWindowsBlock::kCapacity);
      for (LONG i = 0; i < count; ++i) {
        HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(block->windows[i]));
        if (IsWindow(window)) EnableWindow(window, TRUE);
      }
      break;
    }
    // Nothing held: leave, unless the program wants a watcher again at this very moment.
    if (InterlockedCompareExchange(&block->state, HeldWindowsBlock::kLeaving,
                                   HeldWindowsBlock::kIdle) == HeldWindowsBlock::kIdle)
      break;
  }
  UnmapViewOfFile(block);
  return 0;
}

}  // namespace folvane
