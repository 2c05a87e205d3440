// Reading the file manager's title forms out of a module's string table, as the program reads
// them from the system's explorerframe.dll: here from this test program's own table.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_title_forms.h"
#include "store/explorer_title.h"

namespace folvane {
namespace {

std::vector<std::string> narrowed(const std::vector<std::wstring>& forms) {
  std::vector<std::string> all;
  for (const std::wstring& form : forms) all.push_back(narrow(form));
  return all;
}

TEST(TitleFormsTest, TheFormsAreTheStringsOfTheTableAsTheModuleKeepsThem) {
  const std::vector<std::string> forms = narrowed(ExplorerTitleFormsIn(ModulePath()));
  EXPECT_EQ(forms, (std::vector<std::string>{"%1!s! - テスト エクスプローラー",
                                             "%1!s! とその他 %2!d! のタブ"}));
  // And the program takes them as forms of the additions.
  EXPECT_EQ(
      ExplorerTitleForms(forms).FolderTitle("C:\\経理 とその他 3 のタブ - テスト エクスプローラー"),
      "C:\\経理");

  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_TRUE(ExplorerTitleFormsIn(std::wstring(system) + L"\\kernel32.dll").empty())
      << "a module without the table";
  EXPECT_TRUE(ExplorerTitleFormsIn(L"C:\\no such folder\\explorerframe.dll").empty());
  EXPECT_EQ(SystemExplorerFramePath(), std::wstring(system) + L"\\explorerframe.dll");
}

}  // namespace
}  // namespace folvane
