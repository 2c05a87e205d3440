// A toolkit backend that only counts how often a control asks to be shown again: a real one
// redraws the control, or fills a list box again from its first row, at each of these.
#pragma once

#include "platform/controls.h"

namespace folvane {

struct CountingSink : ControlSink {
  int changes = 0;
  void controlChanged(Control&) override { ++changes; }
  void timerChanged(Timer&) override {}
  void focus(Control&) override {}
  void selectAll(TextBox&) override {}
};

}  // namespace folvane
