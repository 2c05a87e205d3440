// The folder a window of the file manager shows, as the protected list keys it: the folder's name,
// read out of the window's title as Windows 10 gave it (store/explorer_title.h), or out of what the
// Shell says of the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace folvane {

// A folder window of the file manager: the only kind of window the lock check challenges, as the
// program always has. The file manager's window with the folder tree beside the folder
// (ExploreWClass) is not challenged, but adding takes its folder from it as from a folder window:
// both name the folder in their title, and the folder added is guarded wherever it next opens in
// a folder window.
inline bool IsFolderWindowClass(const std::string& windowClass) {
  return windowClass == "CabinetWClass";
}
inline bool IsFolderTreeWindowClass(const std::string& windowClass) {
  return windowClass == "ExploreWClass";
}

// The key of the folder a title names: its last "\"-separated part (a drive root keeps its "\":
// C:\, also when the title is "C:\Windows\"), or std::nullopt when the title is empty or gives no
// key (such as \\server\share\). Parentheses are part of a name like any other character:
// "経理 (2)" is its own folder.
std::optional<std::string> FolderKeyOfTitle(const std::string& title);

// The keys a folder window may be listed under: first that of the folder as its Windows 10 title
// names it (FolderTitleOf), then, where the Shell answered, those of the folder's display name and
// of its full path, the two titles Windows 10 gave it by its setting. So a folder listed as
// "Documents" from a full-path title and one listed as "ドキュメント" from a plain one are the
// same folder. No key twice; none at all for a title that gives none.
std::vector<std::string> FolderKeysOf(const std::string& folderTitle,
                                      const std::optional<ShellFolder>& shell);

}  // namespace folvane
