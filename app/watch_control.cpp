#include "app/watch_control.h"

#include "dialogs/user_password.h"
#include "store/data_file_names.h"

namespace folvane {

namespace {

// The button names the action it offers.
constexpr char kStopWatching[] = "ウォッチ停止";   // while the watch is on
constexpr char kStartWatching[] = "ウォッチ動作";  // while it is off
// The lamp's colours, 0x00BBGGRR.
constexpr unsigned kLampGreen = 0x00FF00;  // watching
constexpr unsigned kLampRed = 0x0000FF;    // not watching

}  // namespace

WatchControl::WatchControl(Platform& platform, Form& mainWindow, Timer& timer1, Button& button2,
                           Shape& shape1, LoginForm& login, ProcessWide& processWide)
    : platform_(platform),
      mainWindow_(mainWindow),
      timer1_(timer1),
      button2_(button2),
      shape1_(shape1),
      login_(login),
      processWide_(processWide) {}

void WatchControl::Form_Load() {
  platform_.watchWindowEvents(mainWindow_.window(), watching_);
  Timer2_Timer();
}

void WatchControl::EndEvents() {
  platform_.watchWindowEvents(mainWindow_.window(), false);
}

void WatchControl::Button2_Click() {
  if (!watching_) {
    Start();
    return;
  }
  // The tray can ask again while the question is still open: point the user at it instead.
  if (login_.IsOpen()) {
    platform_.setForegroundWindow(login_.window());
    return;
  }
  if (AskUserPassword(platform_, login_, processWide_) != UserPasswordAnswer::Right) return;
  Stop();
}

void WatchControl::Start() {
  watching_ = true;
  button2_.setCaption(kStopWatching);
  timer1_.setEnabled(true);
  // The timer kept its interval while it stood still, and the settings dialog may have set a
  // new one meanwhile: that is the one in force. One that never ticks would leave the watch on
  // in name only.
  if (timer1_.interval() <= 0) timer1_.setInterval(kDefaultInterval);
  platform_.watchWindowEvents(mainWindow_.window(), true);
  Timer2_Timer();  // the lamp follows at once
}

void WatchControl::Stop() {
  watching_ = false;
  button2_.setCaption(kStartWatching);
  timer1_.setEnabled(false);
  platform_.watchWindowEvents(mainWindow_.window(), false);
  Timer2_Timer();
  if (onStopped) onStopped();
}

void WatchControl::Form_TrayClick(TrayClick click) {
  if (click == TrayClick::Left) {
    Button2_Click();
    return;
  }
  if (mainWindow_.isVisible()) {
    mainWindow_.hide();
  } else {
    mainWindow_.show();
    platform_.setForegroundWindow(mainWindow_.window());
    platform_.setActiveWindow(mainWindow_.window());
  }
}

void WatchControl::Timer2_Timer() {
  const bool sampling = watching_ && timer1_.enabled() && timer1_.interval() > 0;
  shape1_.setBackColor(sampling ? kLampGreen : kLampRed);
}

void WatchControl::Button3_Click() {
  mainWindow_.hide();
}

}  // namespace folvane
