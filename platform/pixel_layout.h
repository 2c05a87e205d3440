// Where a window and its controls stand in pixels: a form's twips (1/1440 inch) converted at the
// density of the monitor the window is on, which differs from monitor to monitor and changes
// when the window moves to another one.
#pragma once

#include "platform/form_layout.h"

namespace folvane {

// The density the system calls 100 %: 96 dots per inch, 15 twips to a pixel.
inline constexpr int kDefaultDpi = 96;

// `twips` in pixels at `dpi` dots per inch, to the nearest pixel, halves away from zero, as the
// system's MulDiv rounds.
int TwipsToPixels(int twips, int dpi);

// The height in pixels of the characters of a font of `points` at `dpi`, to the nearest pixel.
int PointsToPixels(double points, int dpi);

// A rectangle in pixels: left and top lie inside it, right and bottom just outside.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const PixelBox& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// The client area of the form's window, placed at (0, 0).
PixelBox ClientBoxAt(const FormLayout& form, int dpi);

// Where `control` of `form` stands in the window's client area. The frames it sits in are added
// up in twips first and every edge is converted on its own, so controls that meet in twips meet
// in pixels at every density. A line's box runs from its start point (left, top) to its end point
// (right, bottom).
PixelBox ControlBoxAt(const FormLayout& form, const ControlLayout& control, int dpi);

}  // namespace folvane
