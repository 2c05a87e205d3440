#include "app/watch_control.h"

#include "store/data_files.h"

namespace folvane {

namespace {

constexpr char kStopWatching[] = "ウォッチ停止";   // offered while the watch is on
constexpr char kStartWatching[] = "ウォッチ動作";  // offered while it is off
constexpr char kWatchStopped[] = "ウォッチ停止中";
constexpr unsigned kLampOn = 65280;  // green
constexpr unsigned kLampOff = 255;   // red
constexpr double kLeftButtonDown = 513;
constexpr double kRightButtonDown = 516;

}  // namespace

WatchControl::WatchControl(Platform& platform, Form& mainWindow, Timer& timer1, Button& button2,
                           Shape& shape1, TextBox& text, LoginForm& login, ProcessWide& strings)
    : platform_(platform),
      mainWindow_(mainWindow),
      timer1_(timer1),
      button2_(button2),
      shape1_(shape1),
      text_(text),
      login_(login),
      strings_(strings) {}

void WatchControl::Button2_Click() {
  if (button2_.caption() != kStopWatching) {
    button2_.setCaption(kStopWatching);
    timer1_.setEnabled(true);
    // The timer kept its interval while it stood still, and the settings dialog may have set a
    // new one meanwhile: that is the one in force. One that never ticks would leave the watch on
    // in name only.
    if (timer1_.interval() <= 0) timer1_.setInterval(kDefaultInterval);
    return;
  }

  // The tray can ask again while the question is still open: point the user at it instead.
  if (login_.IsOpen()) {
    platform_.setForegroundWindow(login_.window());
    return;
  }
  if (login_.Ask(kPromptUserPassword) != strings_.UserPassword) return;
  button2_.setCaption(kStartWatching);
  timer1_.setEnabled(false);
  text_.setText(kWatchStopped);
}

void WatchControl::Form_MouseMove(double xPixels) {
  if (xPixels == kLeftButtonDown) {
    Button2_Click();
  } else if (xPixels == kRightButtonDown) {
    if (mainWindow_.isVisible()) {
      mainWindow_.hide();
    } else {
      mainWindow_.show();
      platform_.setForegroundWindow(mainWindow_.window());
      platform_.setActiveWindow(mainWindow_.window());
    }
  }
}

void WatchControl::Timer2_Timer() {
  const bool sampling = timer1_.enabled() && timer1_.interval() > 0;
  shape1_.setBackColor(sampling ? kLampOn : kLampOff);
}

void WatchControl::Button3_Click() {
  mainWindow_.hide();
}

}  // namespace folvane
