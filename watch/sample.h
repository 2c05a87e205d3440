// One look at the window in front: which window it is, what it says of itself and, for a folder
// window of the file manager or another program's Open or Save dialog, which folder it shows. The
// sampler takes one at every tick of the watch and hands it to the lock check as it is; the
// active-form box only shows it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/folder_key.h"

namespace folvane {

struct Sample {
  WindowId window = 0;    // 0: no window is in front (the desktop, or a moment between two)
  std::string className;  // UTF-8
  std::string title;      // UTF-8, the first 127 bytes in the ANSI code page, as always read

  // Folder windows (IsFolderWindowClass, IsFolderTreeWindowClass) only; empty for the others.
  std::string wholeTitle;            // UTF-8, however long
  std::optional<ShellFolder> shell;  // what the Shell said of the window, if it answered
  std::string folder;                // the folder as a Windows 10 title names it (FolderTitleOf)
  // Another program's Open or Save dialog (DialogReader) whose folder was read: `folder` is the
  // folder as the dialog names it.
  bool fileDialog = false;

  bool isFolderWindow() const {
    return IsFolderWindowClass(className) || IsFolderTreeWindowClass(className);
  }

  bool operator==(const Sample& other) const {
    return window == other.window && className == other.className && title == other.title &&
           wholeTitle == other.wholeTitle && shell == other.shell && folder == other.folder &&
           fileDialog == other.fileDialog;
  }
  bool operator!=(const Sample& other) const { return !(*this == other); }
};

// What the active-form box shows for a sample: "CabinetWClass (C:\共有\経理)". A folder window
// shows its folder as Windows 10 titled it, "CabinetWClass (経理)" for a window titled
// "経理 - エクスプローラー"; a file dialog its folder, "#32770 (C:\共有\経理)"; any other window
// its title as read.
inline std::string ActiveFormText(const Sample& sample) {
  const bool showsFolder = sample.isFolderWindow() || sample.fileDialog;
  return sample.className + " (" + (showsFolder ? sample.folder : sample.title) + ")";
}

// The keys the folder a sample shows may be listed under (FolderKeysOf): none for a window that
// is neither a folder window nor a file dialog.
inline std::vector<std::string> FolderKeysOf(const Sample& sample) {
  if (sample.fileDialog) return FolderKeysOf(sample.folder, std::nullopt);
  if (!sample.isFolderWindow()) return {};
  return FolderKeysOf(sample.folder, sample.shell);
}

}  // namespace folvane
