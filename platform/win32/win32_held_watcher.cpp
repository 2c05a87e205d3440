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

// In the session's own namespace, where a name without a prefix goes (Wine's objects under an
// explicit "Local\" prefix are not found by another process).
std::wstring blockName(DWORD program) {
  return L"FolvaneHeldWindows-" + std::to_wstring(program);
}

}  // namespace

HeldWindowsWatcher::~HeldWindowsWatcher() {
  if (block_) UnmapViewOfFile(block_);
}

bool HeldWindowsWatcher::open() {
  if (block_) return true;
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    sizeof(HeldWindowsBlock),
                                    blockName(GetCurrentProcessId()).c_str()));
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
  const std::wstring exe = ModulePath();
  std::wstring commandLine =
      L"\"" + exe + L"\" " + kSwitch + L" " + std::to_wstring(GetCurrentProcessId());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    watcher_.reset();
    return;
  }
  CloseHandle(info.hThread);
  watcher_.reset(info.hProcess);
}

std::optional<DWORD> ProgramToWatch(const wchar_t* commandLine) {
  if (!commandLine) return std::nullopt;
  const wchar_t* found = std::wcsstr(commandLine, kSwitch);
  if (!found) return std::nullopt;
  const unsigned long pid = std::wcstoul(found + std::wcslen(kSwitch), nullptr, 10);
  if (pid == 0) return std::nullopt;
  return static_cast<DWORD>(pid);
}

int WatchHeldWindows(DWORD program) {
  OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, program));
  OwnedHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, blockName(program).c_str()));
  if (!process || !mapping) return 1;
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
