// The lock check: runs on every change of the active-form text and challenges a protected
// folder window for its lock password.
//
// One password dialog at a time. A protected folder window that comes forward while a challenge
// is open, or while the password dialog is open for anything else, is disabled at once and waits
// in a queue (each window once). The run that opened the outermost challenge challenges the
// waiting windows one after the other when its own challenge is over; windows that came while
// the dialog was open for something else are served by ServePending, which the main window calls
// every 300 ms. A waiting window that no longer exists is dropped.
//
// Every window the check holds is covered, from the moment it is disabled until it is given
// back, so nothing in it stays readable meanwhile. A window answered wrong keeps its cover while
// it closes, for a few seconds at most; a cover whose window has gone is removed at the next tick.
//
// Windows answered right stay given back for as long as the chain of challenges that asked them:
// going back and forth between them asks nothing again. The chain ends, and a given-back window
// is challenged again when it next comes forward, as soon as the active-form text names a window
// that is not challenged (the program's own message boxes and an empty foreground aside) or a new
// challenge starts outside the chain.
//
// A PassCount that is not a usable number does not switch the guard off: the folders the file
// lists are challenged all the same. It is reported once, after any challenge it came with, and
// again only when the value has changed.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "dialogs/error_report.h"
#include "dialogs/login_form.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace folvane {

class LockCheck {
 public:
  LockCheck(Platform& platform, Form& mainWindow, TextBox& text, Label& countLabel,
            LoginForm& login);
  void Text_Change();  // one run, with the common error report
  // Every 300 ms: challenges that had to wait for the password dialog, and the covers of windows
  // that were told to close.
  void ServePending();
  // At every tick of the main window's timers: the covers follow their windows, and those of
  // windows that have gone are removed.
  void FollowCovers();
  void ReleaseAll();  // gives back every window the check holds disabled (before the end)

  // Windows disabled by the check right now: the one being challenged and those waiting.
  const std::set<WindowId>& held() const { return held_; }

 private:
  struct Waiting {
    WindowId window;
    std::string text;  // the active-form text it was sampled with
  };

  // The lock code of the folder window the text names, or empty when there is nothing to
  // challenge. Refreshes the count label on the way.
  std::string LockCodeOf(const std::string& text);
  void Challenge(WindowId target, const std::string& text, const std::string& lockCode);
  void ServeQueue();
  void Hold(WindowId window, const std::string& text);  // covered and disabled
  void Release(WindowId window);                        // enabled and uncovered
  void Uncover(WindowId window);
  void NoteBadCount();
  void ReportBadCount();

  Platform& platform_;
  Form& mainWindow_;
  TextBox& text_;
  Label& countLabel_;
  LoginForm& login_;

  bool challenging_ = false;
  std::set<WindowId> held_;
  std::set<WindowId> covered_;
  std::map<WindowId, int> closing_;  // answered wrong: lamp ticks its cover may still stay
  std::deque<Waiting> queue_;
  std::set<std::pair<WindowId, std::string>> givenBack_;
  std::optional<std::string> badCount_;         // the bad PassCount reported last
  std::optional<RunTimeError> badCountReport_;  // its report, until it is shown
};

}  // namespace folvane
