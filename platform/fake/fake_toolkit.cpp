#include "platform/fake/fake_toolkit.h"

#include <algorithm>

namespace folvane {

FakeToolkit::FakeToolkit(FakePlatform& platform) : platform_(platform) {
  // The platform's events of the window in front go to the form whose window they were
  // started for.
  platform_.deliverWindowEvent = [this](WindowId owner) {
    for (const auto& [form, window] : windows_) {
      if (window.id != owner) continue;
      if (form->onWindowEvent) form->onWindowEvent();
      return;
    }
  };
}

void FakeToolkit::advance(long long milliseconds) {
  const long long target = now_ + milliseconds;
  for (;;) {
    Schedule* next = nullptr;
    for (auto& entry : timers_) {
      Timer& timer = *entry.timer;
      if (!timer.enabled() || timer.interval() <= 0) continue;
      if (entry.due <= target && (!next || entry.due < next->due)) next = &entry;
    }
    if (!next) break;
    now_ = std::max(now_, next->due);
    platform_.clock = now_;
    next->due = now_ + next->timer->interval();
    Timer* timer = next->timer;  // the tick may change the schedule
    timer->tick();
  }
  now_ = std::max(now_, target);
  platform_.clock = now_;
}

void FakeToolkit::schedule(Timer& timer) {
  for (auto& entry : timers_) {
    if (entry.timer == &timer) {
      entry.due = now_ + timer.interval();
      return;
    }
  }
  timers_.push_back({&timer, now_ + timer.interval()});
}

void FakeToolkit::timerChanged(Timer& timer) {
  schedule(timer);
}

void FakeToolkit::focus(Control& control) {
  focused_ = control.name();
  ++focusCounts_[control.name()];
}

int FakeToolkit::focusRequests(const std::string& controlName) const {
  auto found = focusCounts_.find(controlName);
  return found == focusCounts_.end() ? 0 : found->second;
}

bool FakeToolkit::createWindow(Form& form) {
  if (cannotCreate.count(form.name()) != 0) return false;
  Window window;
  window.id = platform_.addOwnWindow("FolvaneForm", form.caption());
  windows_[&form] = window;
  for (Control* control : form.controls()) {
    control->attach(this);
    if (auto* timer = as<Timer>(control)) schedule(*timer);
  }
  return true;
}

void FakeToolkit::destroyWindow(Form& form) {
  auto found = windows_.find(&form);
  if (found == windows_.end()) return;
  // Give the other windows back before this one goes, as the real toolkit does.
  modals_.end(form);
  WindowId id = found->second.id;
  windows_.erase(found);
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Schedule& entry) {
                                 for (Control* control : form.controls())
                                   if (control == entry.timer) return true;
                                 return false;
                               }),
                timers_.end());
  bool wasForeground = platform_.foregroundWindow() == id;
  platform_.destroyWindow(id);
  if (wasForeground) platform_.bringToFront(0);
}

void FakeToolkit::setVisible(Form& form, bool visible) {
  auto found = windows_.find(&form);
  if (found != windows_.end()) found->second.visible = visible;
}

bool FakeToolkit::isVisible(const Form& form) const {
  auto found = windows_.find(&form);
  return found != windows_.end() && found->second.visible;
}

void FakeToolkit::runModal(Form& form) {
  WindowId before = platform_.foregroundWindow();
  std::vector<WindowId> others;
  for (const auto& entry : windows_)
    if (entry.first != &form) others.push_back(entry.second.id);
  modals_.begin(form, others);
  setVisible(form, true);
  platform_.bringToFront(windowOf(form));
  modalLog.push_back(form.name());
  if (!onModal) throw std::logic_error("no test plays the user at " + form.name());
  onModal(form);
  if (form.isLoaded()) {
    form.unload();
    throw std::logic_error("the test left " + form.name() + " open");
  }
  modals_.end(form);
  // Like the real system, activation returns to the window that was in front before.
  if (platform_.foregroundWindow() == 0 && before && platform_.windowExists(before))
    platform_.bringToFront(before);
}

WindowId FakeToolkit::windowOf(const Form& form) const {
  auto found = windows_.find(&form);
  return found == windows_.end() ? 0 : found->second.id;
}

}  // namespace folvane
