#include "platform/form.h"

#include <stdexcept>

namespace folvane {

Form::Form(Toolkit& toolkit, const FormLayout& layout) : toolkit_(toolkit), layout_(layout) {}

Form::~Form() {
  unload();
}

void Form::load() {
  if (loaded_) return;
  for (const auto& controlLayout : layout_.controls) {
    Control* control = find(controlLayout.name);
    if (!control) continue;
    // The toolkits treat a control as what its layout says it is.
    if (control->kind() != controlLayout.kind)
      throw std::logic_error(name() + "." + control->name() + " is not of its layout's kind");
    control->reset(controlLayout);
  }
  loaded_ = true;
  if (!toolkit_.createWindow(*this)) {
    loaded_ = false;
    for (Control* control : controls_) control->attach(nullptr);
    return;
  }
  if (onLoad) onLoad();
}

void Form::unload() {
  if (!loaded_) return;
  loaded_ = false;
  toolkit_.destroyWindow(*this);
  for (Control* control : controls_) control->attach(nullptr);
}

void Form::show() {
  load();
  if (loaded_) toolkit_.setVisible(*this, true);
}

void Form::hide() {
  if (loaded_) toolkit_.setVisible(*this, false);
}

bool Form::isVisible() const {
  return loaded_ && toolkit_.isVisible(*this);
}

void Form::showModal() {
  load();
  if (!loaded_) return;
  modal_ = true;
  toolkit_.runModal(*this);
  modal_ = false;
}

WindowId Form::window() const {
  return loaded_ ? toolkit_.windowOf(*this) : 0;
}

void Form::requestClose(int reason) {
  int cancel = 0;
  if (onQueryClose) onQueryClose(cancel, reason);
  if (cancel == 0) unload();
}

void Form::endSession(bool ending) {
  if (ending) requestClose(kCloseFromSystem);
}

Control* Form::find(const std::string& name) const {
  for (Control* control : controls_) {
    if (control->name() == name) return control;
  }
  return nullptr;
}

MenuCommand* Form::findMenu(const std::string& name) const {
  for (MenuCommand* command : menu_) {
    if (command->name == name) return command;
  }
  return nullptr;
}

void Form::clickMenu(const std::string& name) {
  MenuCommand* command = findMenu(name);
  if (command && command->onClick) command->onClick();
}

}  // namespace folvane
