// Twips to pixels at a monitor's density (see pixel_layout.h).
#include "platform/pixel_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace folvane {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

// value * numerator / denominator, rounded to the nearest, halves away from zero.
int scaleRounded(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t product = value * numerator;
  const std::int64_t magnitude = (std::llabs(product) + denominator / 2) / denominator;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

// The offset of a control's container in the client area: the frames it sits in, added up.
void addFrameOffsets(const FormLayout& form, const ControlLayout& control, int& left, int& top) {
  std::string parent = control.parent;
  // No form nests deeper than it has controls: the bound keeps frames that name each other
  // from looping.
  for (size_t depth = 0; !parent.empty() && depth < form.controls.size(); ++depth) {
    auto frame = std::find_if(form.controls.begin(), form.controls.end(),
                              [&](const ControlLayout& c) { return c.name == parent; });
    if (frame == form.controls.end()) return;
    left += frame->left;
    top += frame->top;
    parent = frame->parent;
  }
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
  return scaleRounded(twips, dpi, kTwipsPerInch);
}

int PointsToPixels(double points, int dpi) {
  // In hundredths of a point, as the forms give sizes such as 9.75 and 20.25.
  return scaleRounded(std::lround(points * 100), dpi, kPointsPerInch * 100);
}

PixelBox ClientBoxAt(const FormLayout& form, int dpi) {
  return {0, 0, TwipsToPixels(form.clientWidth, dpi), TwipsToPixels(form.clientHeight, dpi)};
}

PixelBox ControlBoxAt(const FormLayout& form, const ControlLayout& control, int dpi) {
  int left = control.left, top = control.top;
  addFrameOffsets(form, control, left, top);
  int right = left + control.width, bottom = top + control.height;
  if (control.kind == ControlKind::Line) {
    right = left + control.x2 - control.left;
    bottom = top + control.y2 - control.top;
  }
  return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(right, dpi),
          TwipsToPixels(bottom, dpi)};
}

}  // namespace folvane
