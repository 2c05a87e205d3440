// The fake toolkit backend: windows kept in memory (each one also a window of the fake world, so
// the sampler sees the program's own windows by their captions, and a modal showing disables the
// others there as the real toolkit does), a virtual clock whose advance fires due timers, and
// hooks through which a test plays the user whenever a window is shown modally. A test may
// advance the clock from inside a modal window, which reproduces the real program's
// re-entrancy: timer ticks and nested checks while a dialog waits.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/form.h"
#include "platform/modal_stack.h"

namespace folvane {

class FakeToolkit : public Toolkit, private ControlSink, private ModalStack::Windows {
 public:
  explicit FakeToolkit(FakePlatform& platform);
  ~FakeToolkit() override { platform_.deliverWindowEvent = nullptr; }

  // ---- Failure switch --------------------------------------------------------------------------
  // Forms (by name, e.g. "frmLogin") whose window the system refuses to create.
  std::set<std::string> cannotCreate;

  // ---- Virtual clock -------------------------------------------------------------------------
  long long now() const { return now_; }
  // Moves the clock on by `milliseconds`, firing every due tick in time order. Re-entrant: a
  // tick or a modal hook may advance the clock again.
  void advance(long long milliseconds);

  // ---- Playing the user ----------------------------------------------------------------------
  // Called whenever a form is shown modally; it must end the showing (click OK, Cancel...)
  // or the fake throws, so a test can never hang.
  std::function<void(Form&)> onModal;
  // Names of the forms shown modally, in order.
  std::vector<std::string> modalLog;

  // What a test drives and reads.
  int focusRequests(const std::string& controlName) const;
  std::string focused() const { return focused_; }

  // Toolkit
  bool createWindow(Form& form) override;
  void destroyWindow(Form& form) override;
  void setVisible(Form& form, bool visible) override;
  bool isVisible(const Form& form) const override;
  void runModal(Form& form) override;
  WindowId windowOf(const Form& form) const override;

 private:
  // ControlSink
  void controlChanged(Control&) override {}
  void timerChanged(Timer& timer) override;
  void focus(Control& control) override;
  void selectAll(TextBox&) override {}

  // ModalStack::Windows
  bool isEnabled(WindowId window) override { return platform_.isWindowEnabled(window); }
  void setEnabled(WindowId window, bool enabled) override {
    platform_.enableWindow(window, enabled);
  }
  bool exists(WindowId window) override { return platform_.windowExists(window); }

  struct Window {
    WindowId id = 0;
    bool visible = false;
  };
  struct Schedule {
    Timer* timer = nullptr;
    long long due = 0;
  };
  void schedule(Timer& timer);

  FakePlatform& platform_;
  long long now_ = 0;
  std::map<const Form*, Window> windows_;
  std::vector<Schedule> timers_;
  ModalStack modals_{*this};
  std::map<std::string, int> focusCounts_;
  std::string focused_;
};

}  // namespace folvane
