// Which of the events the system raises about windows the watch looks at. The system raises them
// for every object of every window (a caret moving, a button renamed, a hidden window claiming the
// front); the watch wants only a change of the window in front itself, and asks the system which
// window that is rather than trusting the event.
#pragma once

#include "platform/platform.h"

namespace folvane {

// The object and child of an event about a window itself, not a part of it (OBJID_WINDOW,
// CHILDID_SELF).
inline constexpr long kObjectWindow = 0;
inline constexpr long kChildSelf = 0;

// Whether an event about `window`, which lies in the top-level window `root` (itself for a
// top-level window), concerns the window in front, `foreground`, as the system has it now: one
// about the window in front, or about a window inside it (the address bar of a file dialog
// renamed to another folder) does; an event about another window, or about a part of a window
// that is no window of its own (a caret, a list item), does not.
inline bool ConcernsWindowInFront(long object, long child, WindowId window, WindowId root,
                                  WindowId foreground) {
  return object == kObjectWindow && child == kChildSelf && window != 0 && foreground != 0 &&
         (window == foreground || root == foreground);
}

}  // namespace folvane
