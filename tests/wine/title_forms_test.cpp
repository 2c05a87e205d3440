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

TEST(TitleFormsTest, TheFormsAreString2195AndTheStringsOfTable2195AsTheModuleKeepsThem) {
  const std::vector<std::string> forms = narrowed(ExplorerTitleFormsIn(ModulePath()));
  EXPECT_EQ(forms, (std::vector<std::string>{"%1!s! - テスト エクスプローラー",
                                             "%1!s! とその他 %2!d! のタブ", "%1!s! (%2!d!)"}));
  // And the program takes those that are forms of the additions, and nothing else.
  const ExplorerTitleForms taken(forms);
  EXPECT_EQ(taken.FolderTitle("C:\\経理 とその他 3 のタブ - テスト エクスプローラー"), "C:\\経理");
  EXPECT_EQ(taken.FolderTitle("経理 (2) - テスト エクスプローラー"), "経理 (2)");

  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_TRUE(ExplorerTitleFormsIn(std::wstring(system) + L"\\kernel32.dll").empty())
      << "a module without the table";
  EXPECT_TRUE(ExplorerTitleFormsIn(L"C:\\no such folder\\explorerframe.dll").empty());
  EXPECT_EQ(SystemExplorerFramePath(), std::wstring(system) + L"\\explorerframe.dll");
}

}  // namespace
}  // namespace folvane
