// The forms in which the system's file manager adds its name and its tabs to a folder window's
// title, as the system keeps them in explorerframe.dll, in the user's language.
#pragma once

#include <string>
#include <vector>

namespace folvane {

// String 2195 and the strings of the string table 2195 (strings 35104 to 35119) of the module at
// `path`, read as a data file, in the user's language, in that order; empty when the module or the
// strings are not there.
std::vector<std::wstring> ExplorerTitleFormsIn(const std::wstring& path);

// The same of the system's explorerframe.dll.
std::wstring SystemExplorerFramePath();

}  // namespace folvane
