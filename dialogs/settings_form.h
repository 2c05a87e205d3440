// frmSet: the user password, the sampling interval and starting with Windows.
#pragma once

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/form.h"

namespace folvane {

class SettingsForm : public Form {
 public:
  // samplerTimer is Timer1 of the main window, whose interval the dialog shows and sets.
  SettingsForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide, LoginForm& login,
               Timer& samplerTimer);
  ~SettingsForm() override;

  TextBox Text1{"Text1"};
  UpDown UpDown1{"UpDown1", Text1};
  CheckBox Check1{"Check1"};
  Button Command1{"Command1"};
  Button Command2{"Command2"};
  Button Command3{"Command3"};

  void Form_Load();
  void Command1_Click();  // change the user password
  void Command2_Click();  // store and apply, close
  void Command3_Click();  // close without storing

 private:
  Platform& platform_;
  ProcessWide& processWide_;
  LoginForm& login_;
  Timer& samplerTimer_;
};

}  // namespace folvane
