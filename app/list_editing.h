// Adding the folder last in front to the protected list, and removing a listed folder.
#pragma once

#include "app/list_display.h"
#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "watch/sampler.h"

namespace folvane {

class ListEditing {
 public:
  ListEditing(Platform& platform, const Sampler& sampler, TextBox& text, ListDisplay& display,
              LoginForm& login, ProcessWide& processWide);
  void AddFolder();    // Button4 and Edit > Add password
  void DeleteEntry();  // double-click on List1

 private:
  Platform& platform_;
  const Sampler& sampler_;
  TextBox& text_;
  ListDisplay& display_;
  LoginForm& login_;
  ProcessWide& processWide_;
};

}  // namespace folvane
