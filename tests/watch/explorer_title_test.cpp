#include "watch/explorer_title.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

// A folder listed on Windows 10 is guarded on Windows 11 whatever the form of its window's
// title: the program sees every folder window titled the Windows 10 way.
class ExplorerTitleTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);  // Private, locked with "abc"
    ASSERT_TRUE(startResident());
  }
};

TEST_F(ExplorerTitleTest, EveryTitleFormOfAListedFolderIsChallengedUnderItsKey) {
  // 70 Japanese characters of parent folders: more than the 127 bytes a title was read into.
  const std::string deep =
      "C:\\" + std::string("長い名前のフォルダ") + std::string(10, 'x') + "\\" + [] {
        std::string name;
        for (int i = 0; i < 7; ++i) name += "共有の資料の保管場所";
        return name;
      }();
  struct Case {
    const char* why;
    std::optional<std::string> systemFormat;
    std::string title;
    std::string folder;  // as the box shows it
  };
  const Case cases[] = {
      {"Windows 10", std::nullopt, "Private", "Private"},
      {"Windows 10, full path", std::nullopt, "C:\\Docs\\Private", "C:\\Docs\\Private"},
      {"Windows 11", std::nullopt, "Private - File Explorer", "Private"},
      {"one more tab", std::nullopt, "Private and 1 more tab - File Explorer", "Private"},
      {"two more tabs", std::nullopt, "Private and 2 more tabs - File Explorer", "Private"},
      {"full path", std::nullopt, "C:\\Docs\\Private - File Explorer", "C:\\Docs\\Private"},
      {"Japanese", std::nullopt, "Private - エクスプローラー", "Private"},
      {"Japanese, tabs", std::nullopt, "Private とその他 12 のタブ - エクスプローラー", "Private"},
      {"Japanese, full path and tabs", std::nullopt,
       "C:\\共有\\Private とその他 1 のタブ - エクスプローラー", "C:\\共有\\Private"},
      {"German", std::nullopt, "Private \xE2\x80\x93 Datei-Explorer", "Private"},
      {"the system's own format", std::string("%s - Explorateur de fichiers"),
       "Private - Explorateur de fichiers", "Private"},
      {"a title longer than was ever read", std::nullopt, deep + "\\Private - エクスプローラー",
       deep + "\\Private"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    platform.explorerFormat = c.systemFormat;
    answerPassword(
        Typed("abc", [&] { EXPECT_EQ(scan().Text.text(), "CabinetWClass (" + c.folder + ")"); }));
    const int before = dialogs();
    const WindowId window = openFolder(c.title);
    ASSERT_EQ(dialogs(), before + 1) << "not challenged: " << c.title;
    EXPECT_TRUE(enabled(window));
    open("Notepad", "between");
  }
}

TEST_F(ExplorerTitleTest, NamesThatOnlyLookLikeExplorersAdditionsAreKept) {
  const struct {
    const char* title;
    std::optional<std::string> format;
    const char* folder;
  } cases[] = {
      // No file manager's name behind it: a folder of that name on Windows 10.
      {"Notes and 2 more tabs", std::nullopt, "Notes and 2 more tabs"},
      {"Notes とその他 1 のタブ", std::nullopt, "Notes とその他 1 のタブ"},
      {"Notes and more tabs - File Explorer", std::nullopt, "Notes and more tabs"},
      {"Tabs - File Explorer - File Explorer", std::nullopt, "Tabs - File Explorer"},
      {"Private", std::string("no placeholder"), "Private"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOfExplorerTitle(c.title, c.format), c.folder);
}

// Adding from a Windows 11 window stores the folder's key, never the file manager's name.
TEST_F(ExplorerTitleTest, AddingFromAWindows11WindowStoresTheFolder) {
  open("CabinetWClass", "C:\\Data\\Report とその他 1 のタブ - エクスプローラー");
  scan().show();
  front(scan().window());
  typePassword("pw");
  scan().Button4.click();
  EXPECT_EQ(IniRead(platform, kSectionPasswordSetData, "Report", "<none>", DataFilePath(platform)),
            *EncodePassword(platform, "pw"));
  EXPECT_EQ(readFile("PassDat.ini").find("エクスプローラー"), std::string::npos);
}

}  // namespace
}  // namespace folvane
