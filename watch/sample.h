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
  std::string title;      // UTF-8, the first 127 bytes in the ANSI code page, as always read
  // For a window of the file manager, the folder it shows as Windows 10 titled it: the whole
  // title, however long, less what Windows 11 adds to it. Empty for any other window.
  std::string folder;

  bool operator==(const Sample& other) const {
    return window == other.window && className == other.className && title == other.title &&
           folder == other.folder;
  }
  bool operator!=(const Sample& other) const { return !(*this == other); }
};

// What the active-form box shows for a sample: "CabinetWClass (C:\共有\経理)", a folder window
// named the Windows 10 way on every system.
inline std::string ActiveFormText(const Sample& sample) {
  return sample.className + " (" + (sample.folder.empty() ? sample.title : sample.folder) + ")";
}

}  // namespace folvane
