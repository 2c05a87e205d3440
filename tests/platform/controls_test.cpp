#include <gtest/gtest.h>

#include "platform/controls.h"
#include "tests/support/counting_sink.h"

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

TEST(Shape, AsksForARedrawOnlyForANewColour) {
  Shape lamp("Shape1");
  CountingSink sink;
  lamp.attach(&sink);
  // The lamp's timer sets it three times a second, mostly to the colour it already has.
  for (unsigned color : {0x00FF00u, 0x00FF00u, 0x00FF00u, 0x0000FFu, 0x0000FFu}) {
    lamp.setBackColor(color);
  }
  EXPECT_EQ(sink.changes, 2);
  EXPECT_EQ(lamp.backColor(), 0x0000FFu);
}

}  // namespace
}  // namespace folvane
