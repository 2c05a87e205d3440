// A window of the program as its event procedures see it: a layout, the portable controls that
// carry behaviour, and the form-level events. The toolkit backend makes it real.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form_layout.h"
#include "platform/platform.h"

namespace folvane {

class Toolkit;

// Close reasons, as the close query receives them.
enum CloseReason : int { kCloseFromUser = 0, kCloseFromSystem = 1 };

class Form {
 public:
  Form(Toolkit& toolkit, const FormLayout& layout);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormLayout& layout() const { return layout_; }
  const std::string& name() const { return layout_.name; }
  const std::string& caption() const { return layout_.caption; }

  // Creates the (hidden) window, resets every control to its design value and raises onLoad.
  // A control whose kind is not its layout entry's is a fault of the program: std::logic_error.
  // Does nothing when the window is already loaded. A window the system could not create leaves
  // the form unloaded, and onLoad is not raised.
  void load();
  // Destroys the window; a modal showing of it returns. Does nothing when not loaded.
  void unload();
  bool isLoaded() const { return loaded_; }

  void show();  // loads first when needed
  void hide();
  bool isVisible() const;
  // Loads when needed, shows the window modally and returns once it has been unloaded.
  void showModal();
  bool isShownModally() const { return modal_; }

  WindowId window() const;  // 0 while not loaded

  // The window's close box or the system asks the window to close. Raises onQueryClose; the
  // window is unloaded unless the handler set cancel.
  void requestClose(int reason);
  // The user's session ends (log-off, restart, shut-down). Asked first whether it may, the
  // program always says yes and does nothing yet, as the user may still cancel on the system's
  // screen of programs that keep it from signing out; it ends only when the end goes through
  // (`ending`), with a close request from the system. A cancelled end changes nothing.
  void endSession(bool ending);

  // Events.
  std::function<void()> onLoad;
  std::function<void(int& cancel, int reason)> onQueryClose;
  std::function<void(TrayClick click)> onTrayClick;  // the main window's notification-area icon
  std::function<void()> onShellRestarted;            // the task bar was created anew
  // The screen was locked or the machine is going to sleep: whoever comes back may not be the
  // user who left.
  std::function<void()> onUserAway;
  // The window in front changed or changed its title, while the platform tells this window so
  // (Platform::watchWindowEvents).
  std::function<void()> onWindowEvent;

  // Controls that carry behaviour, registered by the derived form; found by their layout name.
  Control* find(const std::string& name) const;
  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<MenuCommand*>& menuCommands() const { return menu_; }
  MenuCommand* findMenu(const std::string& name) const;
  void clickMenu(const std::string& name);  // what choosing the menu entry does

 protected:
  void add(Control& control) { controls_.push_back(&control); }
  void add(MenuCommand& command) { menu_.push_back(&command); }

 private:
  Toolkit& toolkit_;
  const FormLayout& layout_;
  std::vector<Control*> controls_;
  std::vector<MenuCommand*> menu_;
  bool loaded_ = false;
  bool modal_ = false;
};

// A toolkit backend: builds real windows for forms, runs timers and modal loops.
class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Creates the form's window, hidden, and attaches sinks to its controls; false when the window
  // could not be created (nothing is left behind then).
  virtual bool createWindow(Form& form) = 0;
  virtual void destroyWindow(Form& form) = 0;
  virtual void setVisible(Form& form, bool visible) = 0;
  virtual bool isVisible(const Form& form) const = 0;
  // Shows the loaded form modally and returns once it has been destroyed.
  virtual void runModal(Form& form) = 0;
  virtual WindowId windowOf(const Form& form) const = 0;
};

}  // namespace folvane
