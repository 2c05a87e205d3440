// The foreground sampler: Timer1's tick writes the active-form text of the window in front into
// the main window's Text box; the program's own windows are left out.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace folvane {

class Sampler {
 public:
  Sampler(Platform& platform, TextBox& text);
  void Timer1_Timer();  // one tick, with the common error report

 private:
  Platform& platform_;
  TextBox& text_;
};

}  // namespace folvane
