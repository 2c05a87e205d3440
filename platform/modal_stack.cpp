#include "platform/modal_stack.h"

#include <algorithm>

namespace folvane {

void ModalStack::begin(const Form& form, const std::vector<WindowId>& others) {
  Frame frame;
  frame.form = &form;
  for (WindowId window : others) {
    if (!windows_.isEnabled(window)) continue;
    windows_.setEnabled(window, false);
    frame.disabled.push_back(window);
  }
  frames_.push_back(std::move(frame));
}

void ModalStack::end(const Form& form) {
  auto found = std::find_if(frames_.begin(), frames_.end(),
                            [&](const Frame& frame) { return frame.form == &form; });
  if (found == frames_.end()) return;
  std::vector<WindowId> disabled = std::move(found->disabled);
  auto next = frames_.erase(found);
  if (next != frames_.end()) {
    // A newer modal window is still open: what this one held waits for that one.
    next->disabled.insert(next->disabled.end(), disabled.begin(), disabled.end());
    return;
  }
  for (WindowId window : disabled)
    if (windows_.exists(window)) windows_.setEnabled(window, true);
}

}  // namespace folvane
