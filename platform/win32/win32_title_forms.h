// The forms in which the system's file manager adds its name and its tabs to a folder window's
// title, as the system keeps them: string table 2195 of explorerframe.dll, in the user's language.
#pragma once

#include <string>
#include <vector>

namespace folvane {

// The strings of the string table that holds the title forms (the resource block 2195, strings
// 35104 to 35119) in the module at `path`, read as a data file, in the user's language; empty
// when the module or the table is not there.
std::vector<std::wstring> ExplorerTitleFormsIn(const std::wstring& path);

// The same of the system's explorerframe.dll.
std::wstring SystemExplorerFramePath();

}  // namespace folvane
