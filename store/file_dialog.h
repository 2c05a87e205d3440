// The folder another program's Open or Save dialog shows, read from outside, as a folder window's
// title is: the walk over the dialog's windows that finds where it shows its folder, and the
// folder out of what those windows say. Reading the windows themselves is the platform's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace folvane {

// The control id of the classic dialog's "ファイルの場所" (look in) combo box.
inline constexpr int kLookInComboId = 1137;

// One window of a dialog, and the windows inside it, in z order.
struct DialogNode {
  WindowId window = 0;
  std::string className;  // UTF-8
  int controlId = 0;
  std::vector<DialogNode> children;
};

// Where a file dialog shows its folder.
struct FileDialogParts {
  enum class Kind {
    CommonItem,  // the dialog of Windows Vista to 11: an address band above the folder's view
    Classic,     // the older dialog: the look-in combo box above the folder's view
  };
  Kind kind = Kind::CommonItem;
  WindowId breadcrumb = 0;   // CommonItem: the address band's toolbar, titled with the folder
  WindowId addressEdit = 0;  // CommonItem: the edit of the address box, 0 when none was found
  WindowId lookIn = 0;       // Classic: the look-in combo box, whose current item is the folder

  bool operator==(const FileDialogParts& other) const {
    return kind == other.kind && breadcrumb == other.breadcrumb &&
           addressEdit == other.addressEdit && lookIn == other.lookIn;
  }
};

// The parts of a file dialog: a "#32770" window with a folder's view (SHELLDLL_DefView) inside
// and either the address band's breadcrumb toolbar (WorkerW > ReBarWindow32 > Address Band Root >
// msctls_progress32 > Breadcrumb Parent > ToolbarWindow32) or the look-in combo box (a ComboBox
// of control id 1137). std::nullopt for any other window: a dialog without a folder's view is
// no file dialog, however its controls are named.
std::optional<FileDialogParts> FileDialogPartsOf(const DialogNode& dialog);

// The folder in the text of the address band's breadcrumb toolbar, which is the localised word
// for "Address", a colon and the folder: "アドレス: C:\共有\経理" gives "C:\共有\経理". The text
// from the first drive ("C:") or network path ("\\") on; without either (a folder with no path,
// such as "Address: This PC"), what follows the first colon, without its blanks. "" when there
// is nothing of the sort.
std::string FolderOfAddress(std::string_view text);

}  // namespace folvane
