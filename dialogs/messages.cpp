#include "dialogs/messages.h"

#include "forms/captions.h"

namespace folvane {

MsgAnswer ShowMessage(Platform& platform, const std::string& text, MsgIcon icon,
                      MsgButtons buttons) {
  return platform.messageBox({text, kAppTitle, buttons, icon});
}

}  // namespace folvane
