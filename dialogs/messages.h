// Message boxes of the program: captioned with the application title.
#pragma once

#include <string>

#include "platform/platform.h"

namespace folvane {

MsgAnswer ShowMessage(Platform& platform, const std::string& text, MsgIcon icon = MsgIcon::Warning,
                      MsgButtons buttons = MsgButtons::Ok);
inline bool AskYesNo(Platform& platform, const std::string& text) {
  return ShowMessage(platform, text, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace folvane
