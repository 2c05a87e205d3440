// The program's windows while modal windows are shown. A modal showing disables every other
// window of the program that is enabled when it begins, and the program's windows come back only
// when no modal window is left that they wait for. Modal showings nest: a timer may open one
// inside another, and the outer one may end first (the about box closing by its timer under a
// password dialog). Whatever the order, a window disabled by a modal showing stays disabled until
// every modal window shown after it has ended too. Both toolkit backends keep their modal
// showings here, so the order of giving windows back is the same on the real system and in tests.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace folvane {

class Form;

class ModalStack {
 public:
  // What the stack needs of the backend's windows.
  class Windows {
   public:
    virtual ~Windows() = default;
    virtual bool isEnabled(WindowId window) = 0;
    virtual void setEnabled(WindowId window, bool enabled) = 0;
    virtual bool exists(WindowId window) = 0;
  };

  explicit ModalStack(Windows& windows) : windows_(windows) {}

  // A modal showing of `form` begins: each of `others` (the program's other windows) that is
  // enabled now is disabled, and remembered.
  void begin(const Form& form, const std::vector<WindowId>& others);
  // The modal showing of `form` ends (its window goes, or its loop returns); a second call does
  // nothing. The windows it disabled come back, unless a modal window shown after it is still
  // open: then they wait for that one's end.
  void end(const Form& form);

  bool empty() const { return frames_.empty(); }

 private:
  struct Frame {
    const Form* form = nullptr;
    std::vector<WindowId> disabled;
  };

  Windows& windows_;
  std::vector<Frame> frames_;  // oldest first
};

}  // namespace folvane
