// What the notification area's callback means: the icon is registered with WM_MOUSEMOVE as its
// callback message, and the mouse message that happened on the icon travels in place of x.
#pragma once

#include <optional>

#include "platform/platform.h"

namespace folvane {

// The click a mouse message on the icon is, or std::nullopt for one the program ignores
// (moving over it, a button let go, a double click, another button). The program answers the
// press of a button, as it always has.
inline std::optional<TrayClick> TrayClickOf(int mouseMessage) {
  constexpr int kLeftButtonDown = 0x0201;   // WM_LBUTTONDOWN
  constexpr int kRightButtonDown = 0x0204;  // WM_RBUTTONDOWN
  if (mouseMessage == kLeftButtonDown) return TrayClick::Left;
  if (mouseMessage == kRightButtonDown) return TrayClick::Right;
  return std::nullopt;
}

}  // namespace folvane
