// Message boxes of the program: captioned with the application title.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

// When a data file could not be written (a read-only folder, a full disk, a file held open by
// another program): the file keeps what it held, and the user must not believe otherwise.
inline constexpr char kListNotSaved[] =
    "パスワードリストを保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。";
inline constexpr char kSettingsNotSaved[] =
    "設定を保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。";

// The user password as it is about to be set, in plain text between quotes, so that the user
// sees what was typed.
inline std::string PasswordSetText(const std::string& password) {
  return "プロテクト用パスワードを '" + password + "' に設定します。";
}
inline std::string ConfirmPasswordText(const std::string& password) {
  return PasswordSetText(password) + "\r\nよろしいですか？";
}

MsgAnswer ShowMessage(Platform& platform, const std::string& text, MsgIcon icon = MsgIcon::Warning,
                      MsgButtons buttons = MsgButtons::Ok);
inline bool AskYesNo(Platform& platform, const std::string& text) {
  return ShowMessage(platform, text, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace folvane
