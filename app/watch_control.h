// Switching the watch on and off (the sampler's timer and the system's events in front together),
// the tray icon's clicks and the status lamp of the main window.
#pragma once

#include <functional>

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace folvane {

class WatchControl {
 public:
  WatchControl(Platform& platform, Form& mainWindow, Timer& timer1, Button& button2, Shape& shape1,
               LoginForm& login, ProcessWide& processWide);
  // The watch is on from the start: the sampler's timer and the system's events in front.
  bool watching() const { return watching_; }
  // At the main window's load: the system's events in front come while the watch is on.
  void Form_Load();
  void EndEvents();      // the program ends: the system need tell it of nothing more
  void Button2_Click();  // the watch toggle
  void Form_TrayClick(TrayClick click);  // the notification-area icon
  void Timer2_Timer();                   // the status lamp
  void Button3_Click();                  // to the task tray
  std::function<void()> onStopped;       // the user stopped the watch

 private:
  void Start();
  void Stop();

  Platform& platform_;
  Form& mainWindow_;
  Timer& timer1_;
  Button& button2_;
  Shape& shape1_;
  LoginForm& login_;
  ProcessWide& processWide_;
  bool watching_ = true;
};

}  // namespace folvane
