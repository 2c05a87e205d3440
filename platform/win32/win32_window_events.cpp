#include "platform/win32/win32_window_events.h"

#include <cstdint>

#include "platform/window_events.h"

namespace folvane {

namespace {

// The events of a change of the window in front, one hook each: the system hands a hook over a
// single event only what it asked for, where a hook over the range between them would be called
// for every event in it. A window restored from the task bar is also announced as coming to the
// front; one restored while already in front only as restored.
constexpr DWORD kEvents[] = {EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_NAMECHANGE,
                             EVENT_SYSTEM_MINIMIZEEND};

// What the hooks' callback reaches: one set of hooks per process, all on the one UI thread, which
// is the only thread the callback runs on.
HWND owner = nullptr;
bool pending = false;  // a message is on its way to the owner

WindowId idOf(HWND window) {
  return reinterpret_cast<WindowId>(window);
}

// Runs while the UI thread takes its messages, possibly inside a modal loop: it only looks and
// posts. The program's own windows never get here (WINEVENT_SKIPOWNPROCESS).
void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (owner == nullptr || pending) return;
  // A hidden window can claim the front in an event: what counts is what the system says now.
  if (!ConcernsWindowInFront(object, child, idOf(window), idOf(GetAncestor(window, GA_ROOT)),
                             idOf(GetForegroundWindow())))
    return;
  pending = PostMessageW(owner, kWindowEventMessage, 0, 0) != FALSE;
}

}  // namespace

bool Win32WindowEvents::start(HWND newOwner) {
  stop();
  owner = newOwner;
  pending = false;
  for (DWORD event : kEvents) {
    if (HWINEVENTHOOK hook = SetWinEventHook(event, event, nullptr, onEvent, 0, 0,
                                             WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
      hooks_.push_back(hook);
  }
  if (hooks_.empty()) owner = nullptr;
  return !hooks_.empty();
}

void Win32WindowEvents::stop() {
  for (HWINEVENTHOOK hook : hooks_) UnhookWinEvent(hook);
  hooks_.clear();
  owner = nullptr;
  pending = false;
}

bool Win32WindowEvents::Taken() {
  pending = false;
  return owner != nullptr;
}

}  // namespace folvane
