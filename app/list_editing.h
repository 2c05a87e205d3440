// Adding the folder last in front to the protected list, and removing a listed folder.
#pragma once

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "watch/sampler.h"

namespace folvane {

class ListEditing {
 public:
  ListEditing(Platform& platform, const Sampler& sampler, TextBox& text, ListBox& list1,
              Label& label1, LoginForm& login, ProcessWide& strings);
  void AddFolder();    // Button4 and Edit > Add password
  void DeleteEntry();  // double-click on List1

 private:
  Platform& platform_;
  const Sampler& sampler_;
  TextBox& text_;
  ListBox& list1_;
  Label& label1_;
  LoginForm& login_;
  ProcessWide& strings_;
};

}  // namespace folvane
