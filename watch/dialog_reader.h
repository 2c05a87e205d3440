// Which folder another program's Open or Save dialog in front shows. The dialog's windows are
// walked when it comes forward (FileDialogPartsOf); after that only the one or two windows that
// name its folder are read, at every tick: a dialog goes from folder to folder under the same
// title, so nothing short of reading them tells that it has.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "store/file_dialog.h"

namespace folvane {

// The class of dialog windows, file dialogs among them.
inline bool IsDialogClass(const std::string& windowClass) {
  return windowClass == "#32770";
}

class DialogReader {
 public:
  explicit DialogReader(Platform& platform) : platform_(platform) {}
  // The folder the dialog shows as its address band or look-in box names it ("C:\共有\経理",
  // "経理"), or std::nullopt when it is no file dialog of another program, or names no folder.
  std::optional<std::string> folderShownBy(WindowId dialog);

 private:
  void walk();
  DialogNode treeOf(const ChildWindow& window, int depth, int& windowsLeft);
  bool partsGone();

  Platform& platform_;
  WindowId dialog_ = 0;  // the dialog read last
  bool own_ = false;     // one of the program's own
  std::optional<FileDialogParts> parts_;
  int walks_ = 0;
  std::int64_t walkedAt_ = 0;
};

}  // namespace folvane
