// Switching the watch on and off, the tray callback and the status lamp of the main window.
#pragma once

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace folvane {

class WatchControl {
 public:
  WatchControl(Platform& platform, Form& mainWindow, Timer& timer1, Button& button2, Shape& shape1,
               TextBox& text, LoginForm& login, ProcessWide& strings);
  void Button2_Click();                 // the watch toggle
  void Form_MouseMove(double xPixels);  // the tray callback
  void Timer2_Timer();                  // the status lamp
  void Button3_Click();                 // to the task tray

 private:
  Platform& platform_;
  Form& mainWindow_;
  Timer& timer1_;
  Button& button2_;
  Shape& shape1_;
  TextBox& text_;
  LoginForm& login_;
  ProcessWide& strings_;
};

}  // namespace folvane
