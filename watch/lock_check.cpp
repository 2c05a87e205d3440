#include "watch/lock_check.h"

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/error_report.h"
#include "dialogs/messages.h"
#include "forms/captions.h"
#include "store/blanks.h"
#include "store/data_files.h"
#include "store/ini_rewrite.h"

namespace folvane {

namespace {

constexpr char kWrongPassword[] = "パスワードが正しくありません。";
// How long a window answered wrong keeps its cover while it closes, in ticks of the lamp timer
// (300 ms): long enough for a busy folder window, short enough that one refusing to close is
// not hidden for good.
constexpr int kCoverWhileClosing = 10;

// What the cover over a held window says: 「経理」はロックされています.
std::string coverText(const std::string& activeFormText) {
  return "「" + FolderKeyOf(activeFormText).value_or("") + "」はロックされています";
}

// The text of no window in front at all, as for a moment after a window closes: it names no
// window the user turned to, so folders answered right before it are not asked again after it.
// (The program's own message boxes never reach the text.)
bool namesNoOtherWindow(const std::string& text) {
  return text == " ()";
}

// An optional sign and digits between blanks: a number, however large.
bool looksLikeWholeNumber(const std::string& text) {
  std::string number = TrimBlanks(text);
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) number.erase(0, 1);
  return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
}

// The error a PassCount that is not a 16-bit number raises.
RunTimeError passCountError(const std::string& raw) {
  return looksLikeWholeNumber(raw) ? OverflowError() : TypeMismatchError();
}

// The error a malformed lock code raises: digits that give no character, or no digits at all.
RunTimeError lockCodeError(const std::string& code) {
  return looksLikeWholeNumber(code) ? InvalidCallError() : TypeMismatchError();
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

LockCheck::LockCheck(Platform& platform, Form& mainWindow, TextBox& text, Label& countLabel,
                     LoginForm& login)
    : platform_(platform),
      mainWindow_(mainWindow),
      text_(text),
      countLabel_(countLabel),
      login_(login) {}

void LockCheck::Text_Change() {
  // The window in front now is the one the new text was sampled from.
  const WindowId target = platform_.foregroundWindow();
  const std::string text = text_.text();
  if (text.empty()) return;

  bool chainStarted = false;
  WithErrorReport(platform_, [&] {
    const std::string lockCode = LockCodeOf(text);
    if (lockCode.empty()) {
      if (!namesNoOtherWindow(text)) givenBack_.clear();
      return;
    }
    if (held_.count(target) != 0 || givenBack_.count({target, text}) != 0) return;
    if (challenging_ || login_.IsOpen()) {
      // The dialog is taken: keep the folder shut until its turn comes.
      Hold(target, text);
      queue_.push_back({target, text});
      return;
    }
    givenBack_.clear();
    chainStarted = true;
    Challenge(target, text, lockCode);
  });
  if (chainStarted) ServeQueue();
  ReportBadCount();
}

void LockCheck::ServePending() {
  const std::map<WindowId, int> closing = closing_;
  for (const auto& [window, ticksLeft] : closing) {
    if (ticksLeft <= 1)
      Uncover(window);
    else
      closing_[window] = ticksLeft - 1;
  }

  if (queue_.empty() || challenging_ || login_.IsOpen()) return;
  givenBack_.clear();
  ServeQueue();
  ReportBadCount();
}

void LockCheck::FollowCovers() {
  const std::set<WindowId> covered = covered_;
  for (WindowId window : covered) {
    if (platform_.windowExists(window))
      platform_.followCover(window);
    else
      Uncover(window);
  }
}

void LockCheck::ReleaseAll() {
  for (WindowId window : held_) platform_.enableWindow(window, true);
  held_.clear();
  queue_.clear();
  const std::set<WindowId> covered = covered_;
  for (WindowId window : covered) Uncover(window);
}

std::string LockCheck::LockCodeOf(const std::string& text) {
  const std::optional<std::int16_t> count = ReadPassCount(platform_);
  if (count) {
    badCount_.reset();
    countLabel_.setCaption(CountLabelText(std::to_string(*count)));
    if (*count == 0) return "";
  } else {
    NoteBadCount();  // and go on with the entries the file holds
  }
  if (!IsFolderWindowClass(WindowClassOf(text))) return "";
  if (NamesUntitledWindow(text)) return "";
  // A title that gives no key (a share root such as \\server\share\) cannot be in the list.
  const std::optional<std::string> key = FolderKeyOf(text);
  if (!key) return "";
  return IniRead(platform_, kSectionPasswordSetData, *key, "", DataFilePath(platform_));
}

void LockCheck::Challenge(WindowId target, const std::string& text, const std::string& lockCode) {
  OpenChallenge open(challenging_);
  // Shut and covered before the main window shows: nothing in the folder stays readable once
  // the program has seen it.
  Hold(target, text);
  mainWindow_.show();
  std::string lockPassword;
  std::string answer;
  try {
    const std::optional<std::string> decoded = DecodePassword(platform_, lockCode);
    if (!decoded) throw lockCodeError(lockCode);
    lockPassword = *decoded;
    platform_.setForegroundWindow(mainWindow_.window());
    answer = login_.Ask(kPromptLockPassword);
  } catch (const RunTimeError&) {
    // Never leave the folder window dead or the main window up behind the report.
    Release(target);
    mainWindow_.hide();
    throw;
  }

  if (answer.empty() || answer != lockPassword) {
    ShowMessage(platform_, kWrongPassword);
    // Given back to close: its cover stays until it has gone.
    platform_.enableWindow(target, true);
    platform_.postClose(target);
    held_.erase(target);
    closing_[target] = kCoverWhileClosing;
    mainWindow_.hide();
    platform_.setForegroundWindow(target);
    platform_.followCover(target);  // it came forward over its cover
    return;
  }
  Release(target);
  platform_.setForegroundWindow(target);
  mainWindow_.hide();
  givenBack_.insert({target, text});
}

void LockCheck::ServeQueue() {
  while (!queue_.empty() && !challenging_ && !login_.IsOpen()) {
    const Waiting next = queue_.front();
    queue_.pop_front();
    if (!platform_.windowExists(next.window)) {
      held_.erase(next.window);
      Uncover(next.window);
      continue;
    }
    try {
      // Read afresh: the list may have changed while the window waited.
      const std::string lockCode = LockCodeOf(next.text);
      if (lockCode.empty()) {
        Release(next.window);
        continue;
      }
      Challenge(next.window, next.text, lockCode);
    } catch (const RunTimeError& error) {
      Release(next.window);
      ShowErrorReport(platform_, error);
    }
  }
}

void LockCheck::NoteBadCount() {
  const std::string raw =
      IniRead(platform_, kSectionPasswordNumber, kKeyPassCount, "0", DataFilePath(platform_));
  if (badCount_ == raw) return;
  badCount_ = raw;
  badCountReport_ = passCountError(raw);
}

// Shown once the run is over, so that a folder it challenges is shut before the user reads it.
void LockCheck::ReportBadCount() {
  if (!badCountReport_) return;
  const RunTimeError report = *badCountReport_;
  badCountReport_.reset();
  ShowErrorReport(platform_, report);
}

void LockCheck::Hold(WindowId window, const std::string& text) {
  platform_.cover(window, coverText(text));
  covered_.insert(window);
  closing_.erase(window);
  platform_.enableWindow(window, false);
  held_.insert(window);
}

void LockCheck::Release(WindowId window) {
  platform_.enableWindow(window, true);
  held_.erase(window);
  Uncover(window);
}

void LockCheck::Uncover(WindowId window) {
  closing_.erase(window);
  if (covered_.erase(window) != 0) platform_.uncover(window);
}

}  // namespace folvane
