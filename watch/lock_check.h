// The lock check: runs on every change of the active-form text and challenges a protected
// folder window for its lock password.
#pragma once

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace folvane {

class LockCheck {
 public:
  LockCheck(Platform& platform, Form& mainWindow, TextBox& text, Label& countLabel,
            LoginForm& login, ProcessWide& strings);
  void Text_Change();   // one run, with the common error report
  void ServePending();  // challenges that had to wait for the password dialog
  void ReleaseAll();    // gives back every window the check holds disabled (before the end)

 private:
  Platform& platform_;
  Form& mainWindow_;
  TextBox& text_;
  Label& countLabel_;
  LoginForm& login_;
  ProcessWide& strings_;
};

}  // namespace folvane
