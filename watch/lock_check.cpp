#include "watch/lock_check.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/error_report.h"
#include "dialogs/guess_limit.h"
#include "dialogs/messages.h"
#include "forms/captions.h"
#include "store/folder_key.h"
#include "store/password_code.h"

namespace folvane {

namespace {

constexpr char kWrongPassword[] = "パスワードが正しくありません。";
// How long a window answered wrong keeps its cover while it closes, in ticks of the lamp timer
// (300 ms): long enough for a busy folder window, short enough that one refusing to close is
// not hidden for good.
constexpr int kCoverWhileClosing = 10;
// A window that cannot be answered keeps its cover until it has gone.
constexpr int kCoverUntilGone = -1;
// How long the list may stay unreadable, in lamp ticks, before the user is told: about three
// seconds, past the moment a scanner or a backup usually lets go of the file.
constexpr int kUnreadableTicksBeforeReport = 10;
constexpr char kListUnreadable[] =
    "パスワードリスト（PassDat.ini）を読み込めません。読み込めるようになるまで、"
    "フォルダは閉じたままにします。";

// What the cover over a held window says: 「経理」はロックされています.
std::string coverText(const std::string& key) {
  return "「" + key + "」はロックされています";
}

// The lock code of a folder by the list, under the key the list guards it by, and that key; an
// empty code when there is nothing to challenge. A count of 0 guards nothing, whatever entries
// the file holds.
struct Lock {
  std::string key;
  std::string code;
};
Lock lockOf(Platform& platform, const std::vector<std::string>& keys, const ProtectedList& list) {
  if (list.count() && *list.count() == 0) return {keys.front(), ""};
  const std::vector<ListKey> listKeys = ListKeysOf(platform, keys);
  if (const std::optional<std::size_t> key = list.lockKeyOf(listKeys))
    return {keys[*key], list.codeOf(listKeys[*key])};
  return {keys.front(), ""};
}

// The error a PassCount that is not a 16-bit number raises.
RunTimeError passCountError(Int16Read::Status status) {
  return status == Int16Read::Status::OutOfRange ? OverflowError() : TypeMismatchError();
}

// The error a malformed lock code raises: digits that give no character, or no digits at all.
RunTimeError lockCodeError(DecodedPassword::Status status) {
  return status == DecodedPassword::Status::NoCharacter ? InvalidCallError() : TypeMismatchError();
}

// Marks a challenge as open for as long as it runs, whichever way it ends.
class OpenChallenge {
 public:
  explicit OpenChallenge(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~OpenChallenge() { flag_ = before_; }
  OpenChallenge(const OpenChallenge&) = delete;
  OpenChallenge& operator=(const OpenChallenge&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

LockCheck::LockCheck(Platform& platform, Form& mainWindow, LoginForm& login,
                     std::function<Sample(WindowId)> sampleAfresh)
    : platform_(platform),
      mainWindow_(mainWindow),
      login_(login),
      sampleAfresh_(std::move(sampleAfresh)) {}

std::optional<LockCheck::Folder> LockCheck::FolderOf(const Sample& sample) {
  // Only a folder window of the kind the program has always watched, or a file dialog, is
  // challenged. A title that gives no key (none at all, or a share root such as
  // \\server\share\) cannot be in the list.
  std::vector<std::string> keys = FolderKeysOf(sample);
  if (!(IsFolderWindowClass(sample.className) || sample.fileDialog) || keys.empty())
    return std::nullopt;
  Folder folder{sample.window, keys, keys.front()};
  folder.dialog = sample.fileDialog;
  if (sample.shell) {
    folder.tab = sample.shell->tab;
    folder.tabs = sample.shell->tabs;
  }
  return folder;
}

void LockCheck::Check(const Sample& sample) {
  // A window shut on its title is decided now, even when the Shell's answer left its sample as
  // the one decided last (asked again about a window the Shell had not answered for).
  const bool shutFirst = shutFirst_ != 0 && shutFirst_ == sample.window;
  shutFirst_ = 0;
  if (last_ == sample && !shutFirst) return;
  last_ = sample;

  bool chainStarted = false;
  WithErrorReport(platform_, [&] {
    // A window answered wrong that shows something else now (its tab went to the folder above)
    // keeps no cover: it is decided about afresh, like any window.
    if (closing_.count(sample.window) != 0 && platform_.windowExists(sample.window))
      Uncover(sample.window);
    if (const std::optional<Folder> folder = FolderOf(sample)) {
      CheckFolder(*folder, chainStarted, shutFirst);
      return;
    }
    if (shutFirst) Release(sample.window);
    // A window that is not challenged ends the chain; no window at all (a moment after a window
    // closed) is none the user turned to.
    if (sample.window != 0) givenBack_.clear();
  });
  if (chainStarted) ServeQueue();
  ReportBadCount();
}

void LockCheck::ShutFirst(const Sample& byTitle) {
  // The Shell asked again about a window decided on already: that decision stands.
  if (last_ && last_->window == byTitle.window && last_->className == byTitle.className &&
      last_->wholeTitle == byTitle.wholeTitle)
    return;
  if (!IsFolderWindowClass(byTitle.className) || held_.count(byTitle.window) != 0) return;
  const std::vector<std::string> keys = FolderKeysOf(byTitle);
  if (keys.empty()) return;
  // A list that cannot be read is left to the decision, which holds the window for it.
  ProtectedList list = ProtectedList::Read(platform_, FileWait::NotAtAll);
  if (list.unreadable()) return;
  const Lock lock = lockOf(platform_, keys, list);
  // The decision a moment later goes by this same read of the list.
  readBeforeShell_ = ListRead{byTitle.window, std::move(list)};
  if (lock.code.empty() || givenBack_.count({byTitle.window, lock.key}) != 0) return;
  Hold(Folder{byTitle.window, keys, lock.key});
  shutFirst_ = byTitle.window;
}

void LockCheck::CheckFolder(Folder folder, bool& chainStarted, bool shutFirst) {
  // Challenged, or waiting already.
  if (held_.count(folder.window) != 0 && !shutFirst) return;
  // Not a moment's wait for a file another program holds: the folder is shut at once instead,
  // and the list tried again at the next lamp tick.
  std::optional<ListRead> readBeforeShell;
  readBeforeShell.swap(readBeforeShell_);
  const ProtectedList list = readBeforeShell && readBeforeShell->window == folder.window
                                 ? std::move(readBeforeShell->list)
                                 : ProtectedList::Read(platform_, FileWait::NotAtAll);
  if (list.unreadable()) {
    AwaitList(folder);
    return;
  }
  NoteList(list);
  const Lock lock = lockOf(platform_, folder.keys, list);
  if (lock.code.empty()) {
    givenBack_.clear();
    if (shutFirst) Release(folder.window);
    return;
  }
  folder.key = lock.key;
  // Given back for this folder: another folder in the same window (another tab) is asked for.
  if (givenBack_.count({folder.window, folder.key}) != 0) {
    if (shutFirst) Release(folder.window);
    return;
  }
  if (challenging_ || login_.IsOpen()) {
    // The dialog is taken: keep the folder shut until its turn comes.
    Hold(folder);
    queue_.push_back(folder);
    return;
  }
  givenBack_.clear();
  chainStarted = true;
  Challenge(folder, lock.code);
}

void LockCheck::ServePending() {
  const std::map<WindowId, int> closing = closing_;
  for (const auto& [window, ticksLeft] : closing) {
    if (ticksLeft == kCoverUntilGone) continue;  // FollowCovers removes it once the window has gone
    if (ticksLeft > 1) {
      closing_[window] = ticksLeft - 1;
      continue;
    }
    Uncover(window);
    // A window still in front when its cover's time is up did not close, or its tab did not leave
    // the folder: it is decided again at the next tick, so that no folder stays open after a
    // wrong answer.
    if (last_ && last_->window == window) last_.reset();
  }

  ServeAwaitingList();
  if (queue_.empty() || challenging_ || login_.IsOpen()) return;
  givenBack_.clear();
  ServeQueue();
  ReportBadCount();
}

void LockCheck::FollowCovers() {
  const std::map<WindowId, std::string> covered = covered_;
  for (const auto& [window, key] : covered) {
    if (platform_.windowExists(window))
      platform_.followCover(window);
    else
      Uncover(window);
  }
}

void LockCheck::WatchStopped() {
  // Windows held only because the list could not be read go back with the watch; those waiting
  // for the password dialog are protected folders and are still asked.
  for (const Folder& folder : awaitingList_) Release(folder.window);
  awaitingList_.clear();
  givenBack_.clear();
  last_.reset();
  shutFirst_ = 0;
}

void LockCheck::UserAway() {
  givenBack_.clear();
  last_.reset();  // the window in front now is decided afresh, as if it had just come forward
}

void LockCheck::ReleaseAll() {
  for (WindowId window : held_) platform_.enableWindow(window, true);
  held_.clear();
  PublishHeld();
  queue_.clear();
  awaitingList_.clear();
  const std::map<WindowId, std::string> covered = covered_;
  for (const auto& [window, key] : covered) Uncover(window);
}

void LockCheck::Challenge(const Folder& folder, const std::string& lockCode) {
  const WindowId target = folder.window;
  OpenChallenge open(challenging_);
  // Shut and covered before the main window shows: nothing in the folder stays readable once
  // the program has seen it.
  Hold(folder);
  // Too many wrong answers: nothing is asked until the wait is over, and the folder closes.
  if (const std::int64_t left = lockGuesses_.waitLeft(platform_.monotonicMilliseconds())) {
    ShowMessage(platform_, TooManyWrongAnswersText(left));
    CloseAnsweredWrong(folder, kCoverWhileClosing);
    return;
  }
  // A code that gives no password can never be answered right: the folder is not given back for
  // it but stays shut, closed as after a wrong answer.
  const DecodedPassword lockPassword = ReadPasswordCode(platform_, lockCode);
  if (!lockPassword.decoded()) {
    ShowErrorReport(platform_, lockCodeError(lockPassword.status));
    CloseAnsweredWrong(folder, kCoverUntilGone);
    return;
  }
  mainWindow_.show();
  std::string answer;
  try {
    platform_.setForegroundWindow(mainWindow_.window());
    answer = login_.Ask(kPromptLockPassword);
  } catch (const RunTimeError&) {
    // Never leave the folder window dead or the main window up behind the report.
    Release(target);
    mainWindow_.hide();
    throw;
  }

  // Giving up the question or answering it with nothing is a wrong answer too: it closes the
  // folder as well.
  if (answer.empty() || answer != lockPassword.password) {
    lockGuesses_.wrong(platform_.monotonicMilliseconds());
    ShowMessage(platform_, kWrongPassword);
    CloseAnsweredWrong(folder, kCoverWhileClosing);
    return;
  }
  lockGuesses_.right();
  Release(target);
  platform_.setForegroundWindow(target);
  mainWindow_.hide();
  givenBack_.insert({target, folder.key});
}

void LockCheck::CloseAnsweredWrong(const Folder& folder, int coverTicks) {
  const WindowId target = folder.window;
  // A tab among others leaves the folder for the one above it, and the window keeps its other
  // tabs; a window of one tab, or one the Shell said nothing of, is closed, and a file dialog
  // cancelled. Either way it is given back with its cover, which stays until the window has gone
  // or shows another folder.
  const bool tabLeft =
      folder.tab != 0 && folder.tabs > 1 && platform_.leaveFolder(target, folder.tab);
  platform_.enableWindow(target, true);
  if (folder.dialog)
    platform_.postCancel(target);
  else if (!tabLeft)
    platform_.postClose(target);
  held_.erase(target);
  PublishHeld();
  closing_[target] = coverTicks;
  mainWindow_.hide();
  platform_.setForegroundWindow(target);
  platform_.followCover(target);  // it came forward over its cover
}

void LockCheck::ServeQueue() {
  while (!queue_.empty() && !challenging_ && !login_.IsOpen()) {
    const Folder next = queue_.front();
    queue_.pop_front();
    if (!platform_.windowExists(next.window)) {
      held_.erase(next.window);
      PublishHeld();
      Uncover(next.window);
      continue;
    }
    try {
      // Read afresh: the list may have changed while the window waited.
      const ProtectedList list = ProtectedList::Read(platform_, FileWait::NotAtAll);
      if (list.unreadable()) {
        awaitingList_.push_back(next);  // still held
        continue;
      }
      NoteList(list);
      // What the window shows now, which may be another folder than the one it waited for.
      const std::optional<Folder> now = FolderOf(sampleAfresh_(next.window));
      const Lock lock = now ? lockOf(platform_, now->keys, list) : Lock{};
      if (lock.code.empty()) {
        Release(next.window);
        continue;
      }
      Folder folder = *now;
      folder.key = lock.key;
      Challenge(folder, lock.code);
    } catch (const RunTimeError& error) {
      Release(next.window);
      ShowErrorReport(platform_, error);
    }
  }
}

void LockCheck::ServeAwaitingList() {
  if (awaitingList_.empty()) {
    unreadableTicks_ = 0;
    return;
  }
  const ProtectedList list = ProtectedList::Read(platform_, FileWait::NotAtAll);
  if (list.unreadable()) {
    if (++unreadableTicks_ >= kUnreadableTicksBeforeReport && !unreadableReported_) {
      unreadableReported_ = true;
      ShowMessage(platform_, kListUnreadable);
    }
    return;
  }
  unreadableTicks_ = 0;
  unreadableReported_ = false;
  NoteList(list);
  std::deque<Folder> waiting;
  waiting.swap(awaitingList_);
  for (const Folder& folder : waiting) {
    if (!platform_.windowExists(folder.window)) {
      held_.erase(folder.window);
      PublishHeld();
      Uncover(folder.window);
      continue;
    }
    // What the window shows now, which may be another folder than the one it was held with.
    const std::optional<Folder> now = FolderOf(sampleAfresh_(folder.window));
    if (!now || lockOf(platform_, now->keys, list).code.empty()) {
      Release(folder.window);
    } else {
      queue_.push_back(*now);  // still held, challenged in its turn
    }
  }
}

void LockCheck::AwaitList(const Folder& folder) {
  Hold(folder);
  awaitingList_.push_back(folder);
}

void LockCheck::NoteList(const ProtectedList& list) {
  if (onListRead) onListRead(list);
  if (list.count()) {
    badCount_.reset();
    return;
  }
  // A damaged count does not switch the guard off: the entries the file holds still count.
  if (badCount_ == list.countText()) return;
  badCount_ = list.countText();
  badCountReport_ = passCountError(list.countStatus());
}

// Shown once the run is over, so that a folder it challenges is shut before the user reads it.
void LockCheck::ReportBadCount() {
  if (!badCountReport_) return;
  const RunTimeError report = *badCountReport_;
  badCountReport_.reset();
  ShowErrorReport(platform_, report);
}

// Disabled first, then covered in the same moment: the cover is the program's own window and is
// shown and restacked in a few milliseconds, which the disable need not wait for.
void LockCheck::Hold(const Folder& folder) {
  // Held already under this key (shut on its title before the Shell was asked): nothing to redo.
  const auto cover = covered_.find(folder.window);
  const bool asHeld =
      held_.count(folder.window) != 0 && cover != covered_.end() && cover->second == folder.key;
  if (!asHeld) {
    platform_.enableWindow(folder.window, false);
    platform_.cover(folder.window, coverText(folder.key));
    covered_[folder.window] = folder.key;
  }
  closing_.erase(folder.window);
  held_.insert(folder.window);
  PublishHeld();
}

void LockCheck::Release(WindowId window) {
  platform_.enableWindow(window, true);
  held_.erase(window);
  PublishHeld();
  Uncover(window);
}

void LockCheck::PublishHeld() {
  if (held_ == published_) return;
  published_ = held_;
  platform_.keepHeldWindows(std::vector<WindowId>(held_.begin(), held_.end()));
}

void LockCheck::Uncover(WindowId window) {
  closing_.erase(window);
  if (covered_.erase(window) != 0) platform_.uncover(window);
}

}  // namespace folvane
