#include "app/scan_form.h"

#include <cstdlib>
#include <string>

#include "dialogs/messages.h"
#include "dialogs/user_password.h"
#include "forms/captions.h"
#include "forms/forms.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/password_code.h"
#include "store/settings_file.h"

namespace folvane {

namespace {

constexpr char kTrayRefused[] = "タクストレイにアイコンを登録できません。";

// The shell may refuse to remove the icon for a while; the program must end all the same.
constexpr int kTrayRemovalAttempts = 10;
// Reads of Folvane.ini at start, each waiting about a second for another program (a sync tool
// starting at log-on, say) to let go of it.
constexpr int kSettingsReadsAtStart = 3;
constexpr char kSettingsUnreadableAtStart[] =
    "設定ファイル（Folvane.ini）を読み込めません。フォルダの保護は続けますが、"
    "ユーザパスワードが必要な操作は、読み込めるようになるまでできません。";

std::string confirmExitText() {
  return ConfirmationText(std::string(kAppTitle) + "を終了します。");
}

}  // namespace

ScanForm::ScanForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide, LoginForm& login,
                   SplashForm& splash)
    : Form(toolkit, frmScanLayout()),
      platform_(platform),
      processWide_(processWide),
      login_(login),
      splash_(splash),
      settings_(toolkit, platform, processWide, login, Timer1),
      sampler_(platform, Text),
      lockCheck_(platform, *this, login,
                 [this](WindowId window) { return sampler_.SampleAfresh(window); }),
      listDisplay_(List1, Label1),
      watch_(platform, *this, Timer1, Button2, Shape1, login, processWide),
      listEditing_(platform, sampler_, Text, listDisplay_, login, processWide) {
  for (Control* control :
       std::initializer_list<Control*>{&Text, &List1, &Label1, &Button1, &Button2, &Button3,
                                       &Button4, &Shape1, &Timer1, &Timer2}) {
    add(*control);
  }
  for (MenuCommand* command :
       {&mnuFileExit, &mnuEditPassSet, &mnuSetHenkou, &mnuHelpOpen, &mnuHelpAbout}) {
    add(*command);
  }

  onLoad = [this] { Form_Load(); };
  onQueryClose = [this](int& cancel, int reason) { Form_QueryClose(cancel, reason); };
  onTrayClick = [this](TrayClick click) {
    watch_.Form_TrayClick(click);
    KeepHousekeeping();
  };
  onUserAway = [this] { lockCheck_.UserAway(); };
  lockCheck_.onListRead = [this](const ProtectedList& list) { listDisplay_.Show(list); };
  // Explorer lost the icon when the task bar was created anew; give it back.
  onShellRestarted = [this] { RegisterTrayIcon(); };

  Button1.onClick = [this] { Button1_Click(); };
  Button2.onClick = [this] { watch_.Button2_Click(); };
  Button3.onClick = [this] { watch_.Button3_Click(); };
  Button4.onClick = [this] { listEditing_.AddFolder(); };
  List1.onDblClick = [this] { listEditing_.DeleteEntry(); };
  watch_.onStopped = [this] {
    sampler_.ShowStopped();
    lockCheck_.WatchStopped();
  };
  sampler_.beforeShell = [this](const Sample& byTitle) { lockCheck_.ShutFirst(byTitle); };
  Timer1.onTick = [this] { Timer1_Timer(); };
  // The system tells of a change in front at once; the timer stays, for a window that raises no
  // event and for an event that is lost.
  onWindowEvent = [this] {
    if (watch_.watching()) Timer1_Timer();
  };
  Timer2.onTick = [this] {
    watch_.Timer2_Timer();
    lockCheck_.FollowCovers();
    lockCheck_.ServePending();
    KeepHousekeeping();
  };

  mnuFileExit.onClick = [this] { Button1_Click(); };
  mnuEditPassSet.onClick = [this] { listEditing_.AddFolder(); };
  mnuSetHenkou.onClick = [this] { settings_.showModal(); };
  mnuHelpOpen.onClick = [this] { OpenHelp(platform_, window()); };
  mnuHelpAbout.onClick = [this] { splash_.showModal(); };
}

ScanForm::~ScanForm() {
  unload();
}

void ScanForm::Form_Load() {
  if (platform_.anotherInstanceRunning()) EndNow();

  // A stored code that does not decode cannot be matched by any answer, so it counts as no
  // password at all and the user sets one anew. A settings file that cannot be read is not one
  // without a password: whoever answered a first-start question then could remove every folder.
  FileRead::Status settings = FileRead::Status::Unreadable;
  for (int read = 0; read < kSettingsReadsAtStart && settings == FileRead::Status::Unreadable;
       ++read) {
    settings = LoadUserPassword(platform_, processWide_, FileWait::AboutASecond);
  }
  if (settings == FileRead::Status::Unreadable) {
    ShowMessage(platform_, kSettingsUnreadableAtStart);
  } else if (processWide_.UserPassword.empty()) {
    SetUpUserPassword();
  }

  RegisterTrayIcon(true);
  Text.setText("");
  listDisplay_.Refresh(platform_);
  Timer1.setInterval(ReadInterval(platform_));
  watch_.Form_Load();
  hide();
}

// The covers follow their windows on both timers: the sampler's stops with the watch.
void ScanForm::Timer1_Timer() {
  lockCheck_.FollowCovers();
  if (const std::optional<Sample> sample = sampler_.Timer1_Timer()) lockCheck_.Check(*sample);
  KeepHousekeeping();
}

void ScanForm::SetUpUserPassword() {
  for (;;) {
    std::string password = login_.Ask(kPromptUserPassword);
    if (password.empty()) EndNow();
    // A password the code cannot carry would lock the user out after the next start.
    if (!PasswordSurvivesCode(platform_, password)) {
      ShowMessage(platform_, kPasswordUnusable);
      continue;
    }
    if (!AskYesNo(platform_, ConfirmPasswordText(password))) EndNow();
    // Unsaved, the password still guards this run; the next start asks for one again.
    if (!IniWrite(platform_, kSectionPasswordSetData, kKeyPassData,
                  EncodePassword(platform_, password), SettingsFilePath(platform_))) {
      ShowMessage(platform_, kSettingsNotSaved);
    }
    processWide_.UserPassword = password;
    return;
  }
}

void ScanForm::Form_QueryClose(int& cancel, int reason) {
  if (reason == kCloseFromUser) {
    // A dialog already open (a timer asked for it) cannot answer this question as well.
    const bool dialogWasOpen = login_.IsOpen();
    const UserPasswordAnswer answer = AskUserPassword(platform_, login_, processWide_);
    if (dialogWasOpen || answer != UserPasswordAnswer::Right) {
      cancel = 1;
      return;
    }
    if (!AskYesNo(platform_, confirmExitText())) {
      cancel = 1;
      return;
    }
  }
  EndNow();
}

void ScanForm::KeepHousekeeping() {
  const bool needed = isVisible() || lockCheck_.hasWork();
  if (needed == Timer2.enabled()) return;
  Timer2.setEnabled(needed);
  if (needed) watch_.Timer2_Timer();  // the lamp is right from the moment it can be seen
}

void ScanForm::Button1_Click() {
  int cancel = 0;
  Form_QueryClose(cancel, kCloseFromUser);
}

void ScanForm::EndNow() {
  // A folder window that came forward during a question at start, or waits for its turn, must
  // not stay dead once nothing is left to give it back.
  lockCheck_.ReleaseAll();
  watch_.EndEvents();
  if (trayIconAdded_) RemoveTrayIcon();
  platform_.exitNow();
  std::abort();  // not reached: the compiler cannot see that through the virtual call
}

void ScanForm::RegisterTrayIcon(bool atStart) {
  if (platform_.trayAdd(window(), platform_.toAnsi(kAppTitle))) {
    trayIconAdded_ = true;
    return;
  }
  if (!atStart) return;
  ShowMessage(platform_, kTrayRefused);
  EndNow();
}

void ScanForm::RemoveTrayIcon() {
  for (int attempt = 0; attempt < kTrayRemovalAttempts; ++attempt) {
    if (platform_.trayDelete(window())) return;
  }
}

}  // namespace folvane
