// Checks one message box whole: its text, caption, icon and buttons.
//
//   EXPECT_TRUE(IsMessageBox(platform.messages[0], "フォルダを選択していません。"));
//   EXPECT_TRUE(IsMessageBox(box, question, MsgIcon::Question, MsgButtons::YesNo));
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace folvane {

// The program's own boxes are captioned "Folvane"; the password dialog's mismatch box has a
// caption of its own.
inline ::testing::AssertionResult IsMessageBox(const MessageBoxRequest& box,
                                               const std::string& text,
                                               MsgIcon icon = MsgIcon::Warning,
                                               MsgButtons buttons = MsgButtons::Ok,
                                               const std::string& caption = "Folvane") {
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  bool same = true;
  if (box.text != text) {
    same = false;
    result << "text \"" << box.text << "\", expected \"" << text << "\"; ";
  }
  if (box.caption != caption) {
    same = false;
    result << "caption \"" << box.caption << "\", expected \"" << caption << "\"; ";
  }
  if (box.icon != icon) {
    same = false;
    result << "icon " << static_cast<int>(box.icon) << ", expected " << static_cast<int>(icon)
           << "; ";
  }
  if (box.buttons != buttons) {
    same = false;
    result << "buttons " << static_cast<int>(box.buttons) << ", expected "
           << static_cast<int>(buttons) << "; ";
  }
  return same ? ::testing::AssertionSuccess() : result;
}

}  // namespace folvane
