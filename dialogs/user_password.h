// The user password guards the program itself: stopping the watch, removing a folder, replacing a
// folder's lock password, changing the user password and quitting all ask for it here.
#pragma once

#include <string>

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/platform.h"

namespace folvane {

enum class UserPasswordAnswer {
  Right,
  Wrong,    // a wrong answer, an empty one to a set password, or the question given up
  Unknown,  // Folvane.ini cannot be read: nothing was asked, and the user has been told why
  Waiting,  // too many wrong answers: nothing was asked, and the user has been told how long
};

// Loads the user password from Folvane.ini into `processWide`, and tells what the read found: a
// settings file that cannot be read leaves the password unknown, never empty.
FileRead::Status LoadUserPassword(Platform& platform, ProcessWide& processWide, FileWait wait);

// Asks for the user password with `prompt` and compares the answer with the one in force. While
// the password is unknown, Folvane.ini is read again first; when it still cannot be read, or holds
// no password (gone meanwhile), the user is told so and nothing is asked. A wrong answer counts
// towards the guess limit (giving the question up or answering it with nothing does not), and while
// the limit makes the user wait, nothing is asked and the user is told how long.
UserPasswordAnswer AskUserPassword(Platform& platform, LoginForm& login, ProcessWide& processWide,
                                   const std::string& prompt = kPromptUserPassword);

// The message of a settings file that cannot be read, for every question that needs it.
inline constexpr char kSettingsUnreadable[] =
    "設定ファイル（Folvane.ini）を読み込めないため、ユーザパスワードを確認できません。"
    "ほかのプログラムが開いていないか確認して下さい。";

}  // namespace folvane
