#include "dialogs/settings_form.h"

#include <optional>
#include <string>

#include "dialogs/messages.h"
#include "dialogs/reg_rewrite.h"
#include "dialogs/user_password.h"
#include "forms/captions.h"
#include "forms/forms.h"
#include "store/blanks.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/password_code.h"
#include "store/settings_file.h"

namespace folvane {

namespace {

constexpr char kPromptCurrentPassword[] = "現在のユーザパスワードを入力して下さい。";
constexpr char kPromptNewPassword[] = "新しいユーザパスワードを入力して下さい。";
constexpr char kPasswordKept[] = "パスワードは変更しません。";
constexpr char kBadInterval[] = "監視頻度は10から1000までの数値で入力して下さい。";

// Only plain decimal digits within the range the up-down steps through; a sign, a fraction or
// a number the timer cannot take is refused.
std::optional<int> parseInterval(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < kMinInterval || value > kMaxInterval) return std::nullopt;
  return value;
}

}  // namespace

SettingsForm::SettingsForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide,
                           LoginForm& login, Timer& samplerTimer)
    : Form(toolkit, frmSetLayout()),
      platform_(platform),
      processWide_(processWide),
      login_(login),
      samplerTimer_(samplerTimer) {
  add(Text1);
  add(UpDown1);
  add(Check1);
  add(Command1);
  add(Command2);
  add(Command3);
  onLoad = [this] { Form_Load(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  // The close box needs no handler: it unloads the dialog and writes nothing, like キャンセル.
}

// Unloaded here, while the controls it detaches still exist.
SettingsForm::~SettingsForm() {
  unload();
}

void SettingsForm::Form_Load() {
  // The interval in force, which may differ from the one in the settings file.
  Text1.setText(std::to_string(samplerTimer_.interval()));
  Check1.setValue(ReadAutoStartValue(platform_));
}

void SettingsForm::Command1_Click() {
  switch (AskUserPassword(platform_, login_, processWide_, kPromptCurrentPassword)) {
    case UserPasswordAnswer::Right:
      break;
    case UserPasswordAnswer::Wrong:
      ShowMessage(platform_, kPasswordKept, MsgIcon::None);
      return;
    case UserPasswordAnswer::Unknown:
    case UserPasswordAnswer::Waiting:
      return;  // the user has been told why
  }
  // Giving up the second question keeps the password. Only an accepted empty entry clears it,
  // and only once the user has seen it shown empty and said yes: without a password every
  // answer passes, and the next start lets whoever starts the program choose one.
  const std::optional<std::string> answer = login_.AskOrCancel(kPromptNewPassword);
  if (!answer) {
    ShowMessage(platform_, kPasswordKept, MsgIcon::None);
    return;
  }
  const std::string& password = *answer;
  if (password.empty() && !AskYesNo(platform_, ConfirmPasswordText(password))) {
    ShowMessage(platform_, kPasswordKept, MsgIcon::None);
    return;
  }
  if (!password.empty() && !PasswordSurvivesCode(platform_, password)) {
    ShowMessage(platform_, kPasswordUnusable);
    return;
  }
  // The code of the empty password is absent: the write removes PassData.
  if (!IniWrite(platform_, kSectionPasswordSetData, kKeyPassData,
                EncodePassword(platform_, password), SettingsFilePath(platform_))) {
    ShowMessage(platform_, kSettingsNotSaved);
    return;
  }
  processWide_.UserPassword = password;
  if (!password.empty()) {
    ShowMessage(platform_, PasswordSetText(password), MsgIcon::Information);
  }
}

void SettingsForm::Command2_Click() {
  const std::string intervalText = TrimBlanks(Text1.text());
  std::optional<int> interval = parseInterval(intervalText);
  if (!interval) {
    ShowMessage(platform_, kBadInterval);
    Text1.setFocus();
    return;
  }
  // A setting that could not be stored is not applied either; the dialog stays open.
  if (!IniWrite(platform_, kSectionTimer, kKeyInterval, intervalText,
                SettingsFilePath(platform_))) {
    ShowMessage(platform_, kSettingsNotSaved);
    return;
  }
  // Only the interval: a stopped watch stays stopped.
  samplerTimer_.setInterval(*interval);

  // The registry is touched only when it disagrees with the check box. Checked, the value must
  // start this program: one left by a copy in another place (the program was moved) is replaced.
  const bool autoStart = Check1.value() == 1;
  const std::string registered = RegRead(platform_, kRunKey, kAppTitle, RegRoot::CurrentUser);
  if (autoStart) {
    std::string folder = platform_.programFolder();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    const std::string path = folder + platform_.exeName() + ".exe";
    if (!StartsProgram(registered, path))
      RegWrite(platform_, kRunKey, kAppTitle, CommandLineOf(path), RegRoot::CurrentUser);
  } else if (!registered.empty()) {
    RegDelete(platform_, kRunKey, kAppTitle, RegRoot::CurrentUser);
  }
  if (!IniWrite(platform_, kSectionAutoStart, kKeyValue, autoStart ? "1" : "0",
                SettingsFilePath(platform_))) {
    ShowMessage(platform_, kSettingsNotSaved);
    return;
  }
  unload();
}

void SettingsForm::Command3_Click() {
  unload();
}

}  // namespace folvane
