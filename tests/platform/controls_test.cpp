#include <gtest/gtest.h>

#include "platform/controls.h"

namespace folvane {
namespace {

TEST(TextBox, RaisesChangeOnlyWhenTheTextReallyChanges) {
  TextBox box("Text");
  int changes = 0;
  box.onChange = [&] { ++changes; };
  box.setText("a");
  box.setText("a");
  box.userSetText("a");
  box.userSetText("b");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(box.text(), "b");
}

// Counts what a toolkit backend would be asked to redraw.
struct CountingSink : ControlSink {
  int redraws = 0;
  void controlChanged(Control&) override { ++redraws; }
  void timerChanged(Timer&) override {}
  void focus(Control&) override {}
  void selectAll(TextBox&) override {}
};

TEST(Shape, AsksForARedrawOnlyForANewColour) {
  Shape lamp("Shape1");
  CountingSink sink;
  lamp.attach(&sink);
  // The lamp's timer sets it three times a second, mostly to the colour it already has.
  for (unsigned color : {0x00FF00u, 0x00FF00u, 0x00FF00u, 0x0000FFu, 0x0000FFu}) {
    lamp.setBackColor(color);
  }
  EXPECT_EQ(sink.redraws, 2);
  EXPECT_EQ(lamp.backColor(), 0x0000FFu);
}

}  // namespace
}  // namespace folvane
