// Message boxes of the program, captioned with the application title, and the texts it shows in
// more than one place.
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

// A password the stored code cannot carry (more than 42 characters, or one that is not
// single-byte): refused for the user password and for a lock password alike.
inline constexpr char kPasswordUnusable[] =
    "このパスワードは使用できません。パスワードは半角文字で42文字以内にして下さい。";

// The count under the protected list, as the main window shows it: 登録数：2.
inline std::string CountLabelText(const std::string& count) {
  return "登録数：" + count;
}

// A question for Yes or No: what is about to happen, and on a line of its own "よろしいですか？".
inline std::string ConfirmationText(const std::string& whatHappens) {
  return whatHappens + "\r\nよろしいですか？";
}

// The user password as it is about to be set, in plain text between quotes, so that the user
// sees what was typed.
inline std::string PasswordSetText(const std::string& password) {
  return "プロテクト用パスワードを '" + password + "' に設定します。";
}
inline std::string ConfirmPasswordText(const std::string& password) {
  return ConfirmationText(PasswordSetText(password));
}

MsgAnswer ShowMessage(Platform& platform, const std::string& text, MsgIcon icon = MsgIcon::Warning,
                      MsgButtons buttons = MsgButtons::Ok);
inline bool AskYesNo(Platform& platform, const std::string& text) {
  return ShowMessage(platform, text, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace folvane
