// What the file manager's window titles say of the folder they show. Windows 10 titles a folder
// window with the folder alone ("経理", or its full path when the user asked for that). Windows 11
// adds its own name ("経理 - エクスプローラー", "Downloads - File Explorer") and, when the window
// holds several tabs, a phrase that counts the others ("経理 とその他 2 のタブ - エクスプローラー",
// "Downloads and 1 more tab - File Explorer"); the title names only the tab in front.
#pragma once

#include <optional>
#include <string>

namespace folvane {

// The folder a title names, as Windows 10 would have titled the window: the title less the file
// manager's name and the tab phrase. The system's own title format (Platform::
// explorerTitleFormat) is tried first, then the English and Japanese forms the program knows. The
// tab phrase is taken off only behind the file manager's name, so that a Windows 10 folder
// called "Notes and 2 more tabs" keeps its name.
std::string FolderOfExplorerTitle(const std::string& title,
                                  const std::optional<std::string>& systemFormat);

}  // namespace folvane
