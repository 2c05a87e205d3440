#include "dialogs/user_password.h"

#include "dialogs/messages.h"
#include "store/settings_file.h"

namespace folvane {

FileRead::Status LoadUserPassword(Platform& platform, ProcessWide& processWide, FileWait wait) {
  const StoredUserPassword stored = ReadStoredUserPassword(platform, wait);
  processWide.UserPasswordUnknown = stored.file == FileRead::Status::Unreadable;
  processWide.UserPassword = stored.password;
  return stored.file;
}

UserPasswordAnswer AskUserPassword(Platform& platform, LoginForm& login, ProcessWide& processWide,
                                   const std::string& prompt) {
  if (processWide.UserPasswordUnknown) {
    // A password never read is known once the file is read with one in it. A file gone or
    // emptied meanwhile holds none of the user's: a new password is set only by the first-start
    // question, at the next start, never by taking an empty answer now.
    const StoredUserPassword stored = ReadStoredUserPassword(platform, FileWait::AboutASecond);
    if (stored.file != FileRead::Status::Read || stored.password.empty()) {
      ShowMessage(platform, kSettingsUnreadable);
      return UserPasswordAnswer::Unknown;
    }
    processWide.UserPassword = stored.password;
    processWide.UserPasswordUnknown = false;
  }
  GuessLimit& guesses = processWide.UserPasswordGuesses;
  if (const std::int64_t left = guesses.waitLeft(platform.monotonicMilliseconds())) {
    ShowMessage(platform, TooManyWrongAnswersText(left));
    return UserPasswordAnswer::Waiting;
  }
  const std::optional<std::string> answer = login.AskOrCancel(prompt);
  if (answer.value_or("") == processWide.UserPassword) {
    guesses.right();
    return UserPasswordAnswer::Right;
  }
  if (answer && !answer->empty()) guesses.wrong(platform.monotonicMilliseconds());
  return UserPasswordAnswer::Wrong;
}

}  // namespace folvane
