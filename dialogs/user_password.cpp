#include "dialogs/user_password.h"

#include "dialogs/messages.h"
#include "store/settings_file.h"

namespace folvane {

FileRead::Status LoadUserPassword(Platform& platform, ProcessWide& strings, FileWait wait) {
  const StoredUserPassword stored = ReadStoredUserPassword(platform, wait);
  strings.UserPasswordUnknown = stored.file == FileRead::Status::Unreadable;
  strings.UserPassword = stored.password;
  return stored.file;
}

UserPasswordAnswer AskUserPassword(Platform& platform, LoginForm& login, ProcessWide& strings,
                                   const std::string& prompt) {
  if (strings.UserPasswordUnknown &&
      LoadUserPassword(platform, strings, FileWait::AboutASecond) == FileRead::Status::Unreadable) {
    ShowMessage(platform, kSettingsUnreadable);
    return UserPasswordAnswer::Unknown;
  }
  return login.Ask(prompt) == strings.UserPassword ? UserPasswordAnswer::Right
                                                   : UserPasswordAnswer::Wrong;
}

}  // namespace folvane
