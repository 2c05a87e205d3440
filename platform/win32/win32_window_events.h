// The system's events of the window in front, for the watch: a window that comes to the front or
// is restored, and a window in front that changes its title (another folder, another tab). The
// hooks are out of context, so the system calls them on the thread that set them while it takes
// its messages; each call asks the system which window is in front, posts one message to the
// owner and returns. The owner's message loop then raises Form::onWindowEvent, so the sample and
// the decision it leads to run as an ordinary message, never inside the system's call, and a
// storm of events while that message waits makes no second one.
#pragma once

#include <windows.h>

#include <vector>

namespace folvane {

// The message that tells a form's window of an event (posted, never sent).
constexpr UINT kWindowEventMessage = WM_APP + 24;

class Win32WindowEvents {
 public:
  Win32WindowEvents() = default;
  ~Win32WindowEvents() { stop(); }
  Win32WindowEvents(const Win32WindowEvents&) = delete;
  Win32WindowEvents& operator=(const Win32WindowEvents&) = delete;

  // Sets the hooks (again, for a new owner); false when the system set none of them.
  bool start(HWND owner);
  void stop();  // removes the hooks; does nothing when there are none

  // Called as the owner takes kWindowEventMessage off its queue: the next event posts another.
  // False when the events are off by now, so that a message left from before is dropped.
  static bool Taken();

 private:
  std::vector<HWINEVENTHOOK> hooks_;
};

}  // namespace folvane
