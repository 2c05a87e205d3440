// The file manager's title forms on the real system (Win32Platform::explorerTitleForms).
#include "platform/win32/win32_title_forms.h"

#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

// String resources come in tables of sixteen; table n holds the strings (n - 1) * 16 to
// (n - 1) * 16 + 15.
constexpr UINT kTitleFormsBlock = 2195;
constexpr UINT kStringsPerBlock = 16;

}  // namespace

std::vector<std::wstring> ExplorerTitleFormsIn(const std::wstring& path) {
  // As a data file: nothing of the module runs, and the resource loader still takes its
  // strings from the language resources of the user's language.
  OwnedModule module(LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return {};
  std::vector<std::wstring> forms;
  // Said to be string 2195 and found as the table 2195 in the resources: both are read. What
  // is no title form among them is passed over by the program (ExplorerTitleForms).
  std::vector<UINT> ids = {kTitleFormsBlock};
  const UINT first = (kTitleFormsBlock - 1) * kStringsPerBlock;
  for (UINT id = first; id < first + kStringsPerBlock; ++id) ids.push_back(id);
  for (UINT id : ids) {
    const wchar_t* text = nullptr;
    // A length of 0 asks for the string in place, read-only and not terminated.
    const int length = LoadStringW(module.get(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text) forms.emplace_back(text, static_cast<std::size_t>(length));
  }
  return forms;
}

std::wstring SystemExplorerFramePath() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\explorerframe.dll";
}

std::vector<std::string> Win32Platform::explorerTitleForms() {
  std::vector<std::string> forms;
  for (const std::wstring& form : ExplorerTitleFormsIn(SystemExplorerFramePath()))
    forms.push_back(narrow(form));
  return forms;
}

}  // namespace folvane
