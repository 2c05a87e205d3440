// The lock check: decides about every sample of the window in front whose window or title has
// changed, and challenges a protected folder window for its lock password. It reads the protected
// list once per decision, so the count and the entry it goes by come from one version of the file.
//
// One password dialog at a time. A protected folder window that comes forward while a challenge
// is open, or while the password dialog is open for anything else, is disabled at once and waits
// in a queue (each window once). The run that opened the outermost challenge challenges the
// waiting windows one after the other when its own challenge is over; windows that came while
// the dialog was open for something else are served by ServePending, which the main window calls
// every 300 ms. A waiting window that no longer exists is dropped.
//
// A folder window is protected when its folder is listed under any of its keys (FolderKeysOf: the
// name its Windows 10 title gives, and the Shell's display name and last part of the path). It is
// challenged and covered under the key the list holds it by; when several of its keys are
// listed, under the one that stands first in the file, which no entry added later can change.
// Another program's Open or Save dialog that shows a listed folder is challenged the same way,
// and a wrong answer cancels it, as its own Cancel button does, so that the program that opened
// it goes on.
//
// A folder window whose title names a listed folder is held the moment it is seen, before the
// Shell is asked which folder it shows, which may take the Shell's whole wait (ShutFirst). The
// decision about it comes once, with the Shell's answer.
//
// Every window the check holds is covered, right after it is disabled and until it is given
// back, so nothing in it stays readable meanwhile. A window answered wrong keeps its cover while
// it closes, for a few seconds at most; a cover whose window has gone is removed at the next tick.
// A tab among others answered wrong is not closed with its window: the tab goes to the folder
// above, and the window keeps its cover until it shows another folder (or those few seconds
// pass), when it is decided about afresh. A folder whose lock code is malformed cannot be
// answered at all: after the error report it is closed in the same way, and keeps its cover until
// it has gone or shows another folder.
//
// A window that waited, for the dialog or for the list, is decided about on what it shows when
// its turn comes: it may have moved to another folder meanwhile.
//
// Windows answered right are given back for the folder they showed: another tab of the same
// window, showing another listed folder, is challenged. They stay given back for as long as the
// chain of challenges that asked them:
// going back and forth between them asks nothing again. The chain ends, and a given-back window
// is challenged again when it next comes forward, as soon as a window comes forward that is not
// challenged (the program's own windows and an empty foreground aside), a new challenge starts
// outside the chain, or the watch is stopped.
//
// The guard fails closed: while PassDat.ini cannot be read (another program holds it, access is
// denied), a folder window that comes forward is held, covered and disabled, and the list is
// tried again every 300 ms. Once it can be read, an unprotected window is given back at once and
// a protected one is challenged. After about three seconds the user is told, once, that folders
// stay shut until the list can be read.
//
// A PassCount that is not a usable number does not switch the guard off: the folders the file
// lists are challenged all the same. It is reported once, after any challenge it came with, and
// again only when the value has changed.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/error_report.h"
#include "dialogs/guess_limit.h"
#include "dialogs/login_form.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "store/protected_list.h"
#include "watch/sample.h"

namespace folvane {

class LockCheck {
 public:
  // sampleAfresh gives a window as it is now (Sampler::SampleAfresh): a window held for a while
  // is decided about on what it shows when its turn comes.
  LockCheck(Platform& platform, Form& mainWindow, LoginForm& login,
            std::function<Sample(WindowId)> sampleAfresh);
  // One sample of the window in front (never one of the program's own windows), with the common
  // error report. Nothing is done when neither the window nor what it shows has changed since the
  // last sample.
  void Check(const Sample& sample);
  // A folder window that has just come forward or changed its title, sampled from its title
  // alone while the Shell is still to be asked: when the title names a listed folder that is not
  // given back, the window is held at once. Nothing is decided yet: Check, with the Shell's
  // answer, decides about it as about any sample, and gives it back if that answer shows it is
  // not to be challenged.
  void ShutFirst(const Sample& byTitle);
  // Every 300 ms: the windows held while the list could not be read, challenges that had to wait
  // for the password dialog, and the covers of windows that were told to close.
  void ServePending();
  // At every tick of the main window's timers: the covers follow their windows, and those of
  // windows that have gone are removed.
  void FollowCovers();
  // The watch was stopped: the windows held while the list could not be read are given back,
  // and every window is decided about afresh when the watch next sees it.
  void WatchStopped();
  void ReleaseAll();  // gives back every window the check holds disabled (before the end)
  // The screen was locked or the machine went to sleep: every folder given back is asked again
  // when it next comes forward, the one in front now included.
  void UserAway();

  // Whether ServePending and FollowCovers have anything to do: covers to follow or to take away,
  // challenges waiting for the dialog, windows waiting for the list.
  bool hasWork() const {
    return !covered_.empty() || !closing_.empty() || !queue_.empty() || !awaitingList_.empty();
  }

  // Windows disabled by the check right now: the one being challenged and those waiting.
  const std::set<WindowId>& held() const { return held_; }

  // Each read of the protected list the check made, so that what the main window shows of it
  // catches up with a file changed by hand.
  std::function<void(const ProtectedList& list)> onListRead;

 private:
  // A folder window and the folder it shows.
  struct Folder {
    WindowId window;
    std::vector<std::string> keys;  // the keys it may be listed under, that of its title first
    std::string key;                // the key it goes by: the one listed, once the list was read
    WindowId tab = 0;               // its tab, where the Shell named one
    int tabs = 1;                   // the tabs of its window, as the Shell counted them
    bool dialog = false;            // another program's Open or Save dialog
  };

  // The folder a sample shows, when it is a folder window of the kind challenged, or a file
  // dialog, and its title gives a key.
  static std::optional<Folder> FolderOf(const Sample& sample);
  // `shutFirst`: the window is held already, by ShutFirst, and waits for this decision.
  void CheckFolder(Folder folder, bool& chainStarted, bool shutFirst);
  void Challenge(const Folder& folder, const std::string& lockCode);
  void ServeQueue();
  void ServeAwaitingList();
  void AwaitList(const Folder& folder);
  // Enabled, told to close (or its tab to leave the folder) and left covered: for a few lamp
  // ticks, or until it has gone.
  void CloseAnsweredWrong(const Folder& folder, int coverTicks);
  void Hold(const Folder& folder);  // covered and disabled
  void Release(WindowId window);    // enabled and uncovered
  void Uncover(WindowId window);
  // Tells the platform which windows are held, for the watcher that gives them back should the
  // program end without doing so.
  void PublishHeld();
  // Passes the list on, and notes a damaged count for its report.
  void NoteList(const ProtectedList& list);
  void ReportBadCount();

  Platform& platform_;
  Form& mainWindow_;
  LoginForm& login_;
  std::function<Sample(WindowId)> sampleAfresh_;

  std::optional<Sample> last_;  // the sample decided about last
  WindowId shutFirst_ = 0;      // held by ShutFirst, until Check decides about it
  // The read of the list ShutFirst went by, for the decision on the same window that follows.
  struct ListRead {
    WindowId window;
    ProtectedList list;
  };
  std::optional<ListRead> readBeforeShell_;
  bool challenging_ = false;
  std::set<WindowId> held_;
  std::set<WindowId> published_;             // held_ as the platform was last told
  GuessLimit lockGuesses_;                   // wrong lock passwords, of every folder
  std::map<WindowId, std::string> covered_;  // and the key each cover shows
  // Answered wrong: lamp ticks its cover may still stay, or kCoverUntilGone.
  std::map<WindowId, int> closing_;
  std::deque<Folder> queue_;         // waiting for the password dialog
  std::deque<Folder> awaitingList_;  // waiting for a list that can be read
  int unreadableTicks_ = 0;          // lamp ticks the list has stayed unreadable
  bool unreadableReported_ = false;
  std::set<std::pair<WindowId, std::string>> givenBack_;  // window and folder key
  std::optional<std::string> badCount_;                   // the bad PassCount reported last
  std::optional<RunTimeError> badCountReport_;            // its report, until it is shown
};

}  // namespace folvane
