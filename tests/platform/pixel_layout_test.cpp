// Twips to pixels at the densities Windows offers (100, 125, 150 and 200 %), for the boxes of
// controls in nested frames and for font sizes.
#include <gtest/gtest.h>

#include "platform/pixel_layout.h"

namespace folvane {
namespace {

constexpr int kDensities[] = {96, 120, 144, 192};

struct Row {
  int twips;
  int pixels[4];  // at 96, 120, 144 and 192 dots per inch
};

TEST(PixelLayout, TwipsToPixelsRoundsToTheNearestPixelAtEveryDensity) {
  const Row rows[] = {
      {0, {0, 0, 0, 0}},
      {7, {0, 1, 1, 1}},   // 0.47, 0.58, 0.70 and 0.93 pixels
      {15, {1, 1, 2, 2}},  // 1.5 pixels at 144 rounds up
      {195, {13, 16, 20, 26}},
      {1215, {81, 101, 122, 162}},
      {3450, {230, 288, 345, 460}},
      {4680, {312, 390, 468, 624}},
      {-15, {-1, -1, -2, -2}},  // halves go away from zero on both sides
  };
  for (const Row& row : rows)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(TwipsToPixels(row.twips, kDensities[i]), row.pixels[i])
          << row.twips << " twips at " << kDensities[i] << " dpi";
}

TEST(PixelLayout, FontHeightsInPixelsAtEveryDensity) {
  struct FontRow {
    double points;
    int pixels[4];
  };
  const FontRow rows[] = {
      {9, {12, 15, 18, 24}},     {9.75, {13, 16, 20, 26}}, {11.25, {15, 19, 23, 30}},
      {20.25, {27, 34, 41, 54}}, {36, {48, 60, 72, 96}},
  };
  for (const FontRow& row : rows)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(PointsToPixels(row.points, kDensities[i]), row.pixels[i])
          << row.points << " pt at " << kDensities[i] << " dpi";
}

ControlLayout at(const char* name, ControlKind kind, int left, int top, int width, int height,
                 const char* parent = "") {
  ControlLayout control;
  control.name = name;
  control.kind = kind;
  control.left = left;
  control.top = top;
  control.width = width;
  control.height = height;
  control.parent = parent;
  return control;
}

// A check box in a frame in a frame, as in the settings dialog, and an etched rule.
FormLayout nestedForm() {
  FormLayout form;
  form.clientWidth = 4680;
  form.clientHeight = 2970;
  form.controls = {
      at("Outer", ControlKind::Frame, 120, 960, 4455, 1215),
      at("Inner", ControlKind::Frame, 120, 240, 4215, 855, "Outer"),
      at("Check", ControlKind::CheckBox, 120, 240, 3975, 495, "Inner"),
      at("Loose", ControlKind::Button, 2040, 2400, 1215, 495, "NoSuchFrame"),
  };
  ControlLayout line = at("Rule", ControlKind::Line, 120, 2280, 0, 0);
  line.x2 = 4560;
  line.y2 = 2280;
  form.controls.push_back(line);
  return form;
}

TEST(PixelLayout, ControlsInNestedFramesStandAtTheSumOfTheirOffsets) {
  const FormLayout form = nestedForm();
  const ControlLayout& check = form.controls[2];
  // 360, 1440, 4335 and 1935 twips from the client area's corner.
  EXPECT_EQ(ControlBoxAt(form, check, 96), (PixelBox{24, 96, 289, 129}));
  EXPECT_EQ(ControlBoxAt(form, check, 120), (PixelBox{30, 120, 361, 161}));
  EXPECT_EQ(ControlBoxAt(form, check, 144), (PixelBox{36, 144, 434, 194}));
  EXPECT_EQ(ControlBoxAt(form, check, 192), (PixelBox{48, 192, 578, 258}));
  // A frame the layout does not hold adds nothing: the box is in the client area.
  EXPECT_EQ(ControlBoxAt(form, form.controls[3], 144), (PixelBox{204, 240, 326, 290}));
}

TEST(PixelLayout, ALineRunsFromItsStartToItsEndPoint) {
  const FormLayout form = nestedForm();
  EXPECT_EQ(ControlBoxAt(form, form.controls[4], 144), (PixelBox{12, 228, 456, 228}));
  EXPECT_EQ(ControlBoxAt(form, form.controls[4], 120), (PixelBox{10, 190, 380, 190}));
}

TEST(PixelLayout, TheClientAreaScalesWithTheDensity) {
  const FormLayout form = nestedForm();
  EXPECT_EQ(ClientBoxAt(form, 96), (PixelBox{0, 0, 312, 198}));
  EXPECT_EQ(ClientBoxAt(form, 144), (PixelBox{0, 0, 468, 297}));
  EXPECT_EQ(ClientBoxAt(form, 192), (PixelBox{0, 0, 624, 396}));
}

}  // namespace
}  // namespace folvane
