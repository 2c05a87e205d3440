#include "watch/dialog_reader.h"

#include <vector>

namespace folvane {

namespace {

// A dialog whose windows showed no file dialog is walked again this many times, this long apart:
// its program may still be making the windows inside it when it comes forward.
constexpr int kWalks = 3;
constexpr std::int64_t kWalkAgainAfterMs = 500;
// Bounds on a walk, far beyond what a file dialog holds (about a hundred windows, nine deep), so
// that a dialog of thousands of controls costs no more than one of these.
constexpr int kMostWindows = 1000;
constexpr int kDeepest = 16;

}  // namespace

std::optional<std::string> DialogReader::folderShownBy(WindowId dialog) {
  if (dialog != dialog_) {
    dialog_ = dialog;
    own_ = platform_.isOwnWindow(dialog);
    parts_.reset();
    walks_ = 0;
  }
  if (own_) return std::nullopt;
  const bool walkDue =
      walks_ == 0 || (parts_ ? partsGone()
                             : walks_ < kWalks && platform_.monotonicMilliseconds() - walkedAt_ >=
                                                      kWalkAgainAfterMs);
  if (walkDue) walk();
  if (!parts_) return std::nullopt;

  std::string folder;
  if (parts_->kind == FileDialogParts::Kind::Classic) {
    folder = platform_.comboBoxItem(parts_->lookIn).value_or("");
  } else {
    // While the address box has the focus the breadcrumb is hidden and the box holds the path;
    // a box that does not answer, or holds nothing yet, leaves it to the breadcrumb.
    if (parts_->addressEdit != 0 && platform_.focusedWindowOf(dialog) == parts_->addressEdit)
      folder = platform_.controlText(parts_->addressEdit).value_or("");
    if (folder.empty()) folder = FolderOfAddress(platform_.windowTitle(parts_->breadcrumb));
  }
  if (folder.empty()) return std::nullopt;
  return folder;
}

void DialogReader::walk() {
  ++walks_;
  walkedAt_ = platform_.monotonicMilliseconds();
  int windowsLeft = kMostWindows;
  parts_ = FileDialogPartsOf(treeOf({dialog_, "#32770", 0}, 0, windowsLeft));
}

DialogNode DialogReader::treeOf(const ChildWindow& window, int depth, int& windowsLeft) {
  DialogNode node{window.window, window.className, window.controlId, {}};
  if (depth >= kDeepest) return node;
  for (const ChildWindow& child : platform_.childWindows(window.window)) {
    if (windowsLeft-- <= 0) break;
    node.children.push_back(treeOf(child, depth + 1, windowsLeft));
  }
  return node;
}

// The windows that name the folder went (the dialog made them anew): they are looked for again.
bool DialogReader::partsGone() {
  const WindowId named =
      parts_->kind == FileDialogParts::Kind::Classic ? parts_->lookIn : parts_->breadcrumb;
  return !platform_.windowExists(named);
}

}  // namespace folvane
