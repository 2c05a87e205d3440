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

}  // namespace
}  // namespace folvane
