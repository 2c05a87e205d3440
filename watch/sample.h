// One look at the window in front: which window it is and what it says of itself. The sampler
// takes one at every tick of the watch and hands it to the lock check as it is; the active-form
// box only shows it.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

struct Sample {
  WindowId window = 0;    // 0: no window is in front (the desktop, or a moment between two)
  std::string className;  // UTF-8
  std::string title;      // UTF-8, as much of it as the active-form box shows

  bool operator==(const Sample& other) const {
    return window == other.window && className == other.className && title == other.title;
  }
  bool operator!=(const Sample& other) const { return !(*this == other); }
};

// What the active-form box shows for a sample: "CabinetWClass (C:\共有\経理)".
inline std::string ActiveFormText(const Sample& sample) {
  return sample.className + " (" + sample.title + ")";
}

}  // namespace folvane
