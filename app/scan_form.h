// frmScan: the hidden main window. It owns the tray icon, the protected list, the active-form
// text and the two timers that drive the watch, and hears of the system's events in front.
#pragma once

#include "app/list_display.h"
#include "app/list_editing.h"
#include "app/watch_control.h"
#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "dialogs/settings_form.h"
#include "dialogs/splash_form.h"
#include "platform/form.h"
#include "watch/lock_check.h"
#include "watch/sampler.h"

namespace folvane {

class ScanForm : public Form {
 public:
  ScanForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide, LoginForm& login,
           SplashForm& splash);
  ~ScanForm() override;

  TextBox Text{"Text"};
  ListBox List1{"List1"};
  Label Label1{"Label1"};
  Button Button1{"Button1"};
  Button Button2{"Button2"};
  Button Button3{"Button3"};
  Button Button4{"Button4"};
  Shape Shape1{"Shape1"};
  Timer Timer1{"Timer1"};
  Timer Timer2{"Timer2"};

  MenuCommand mnuFileExit{"mnuFileExit", {}};
  MenuCommand mnuEditPassSet{"mnuEditPassSet", {}};
  MenuCommand mnuSetHenkou{"mnuSetHenkou", {}};
  MenuCommand mnuHelpOpen{"mnuHelpOpen", {}};
  MenuCommand mnuHelpAbout{"mnuHelpAbout", {}};

  void Form_Load();
  void Form_QueryClose(int& cancel, int reason);
  void Button1_Click();
  // One look at the window in front: at every tick of the sampler's timer, and at once when the
  // system tells of a change in front while the watch is on.
  void Timer1_Timer();

  // The one way out of the program, whatever ends it: the windows the lock check holds disabled
  // are given back and the tray icon is taken away, then the process ends at once.
  [[noreturn]] void EndNow();

  SettingsForm& settings() { return settings_; }
  LockCheck& lockCheck() { return lockCheck_; }

 private:
  // Timer2 keeps the lamp, the covers and the waiting challenges; it ticks only while it has
  // any of them to keep, so that a resident program at rest wakes no more often than it samples.
  void KeepHousekeeping();
  // First start: asks for the user password until one is usable and confirmed, and stores it.
  void SetUpUserPassword();
  // At start a refusal ends the program; a later registration (a new task bar) is best effort.
  void RegisterTrayIcon(bool atStart = false);
  void RemoveTrayIcon();  // retried a bounded number of times

  Platform& platform_;
  ProcessWide& processWide_;
  LoginForm& login_;
  SplashForm& splash_;
  SettingsForm settings_;
  Sampler sampler_;
  LockCheck lockCheck_;
  ListDisplay listDisplay_;
  WatchControl watch_;
  ListEditing listEditing_;
  bool trayIconAdded_ = false;
};

}  // namespace folvane
