#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kListUnreadable[] =
    "パスワードリスト（PassDat.ini）を読み込めません。読み込めるようになるまで、"
    "フォルダは閉じたままにします。";
constexpr char kListNotSaved[] =
    "パスワードリストを保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。";

// The guard fails closed: a protected list that cannot be read is no list, never an empty one.
class UnreadableListTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    platform.windowsCloseOnRequest = false;
    ASSERT_TRUE(startResident());
  }
  std::string dataFile() { return platform.pathOf("PassDat.ini"); }
  // Another program holds the list (a backup, a virus scanner) until letGo().
  void hold() { platform.heldFiles = {dataFile()}; }
  void letGo() { platform.heldFiles.clear(); }
  bool heldShut(WindowId window) { return !enabled(window) && coverOf(window).has_value(); }
};

// A folder window that comes forward while the list cannot be read is held, covered and
// disabled, for as long as it cannot be read; then an unprotected one is given back at once and a
// protected one is challenged. The user is told once, after about three seconds.
TEST_F(UnreadableListTest, FolderWindowsStayShutUntilTheListCanBeRead) {
  struct Case {
    const char* why;
    const char* title;
    bool folderInItsPlace;  // a folder where the file should be, instead of a held file
    int unreadableMs;
    bool protectedFolder;
  };
  const Case cases[] = {
      {"protected, held a moment", "C:\\Docs\\Private", false, 900, true},
      {"unprotected, held a moment", "C:\\Docs\\Public", false, 900, false},
      {"protected, held past the report", "C:\\Docs\\Private", false, 4500, true},
      {"unprotected, held past the report", "C:\\Docs\\Public", false, 4500, false},
      {"protected, a folder in the file's place", "C:\\Docs\\Private", true, 3600, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    platform.messages.clear();
    const int dialogsBefore = dialogs();
    std::filesystem::path moved = dataFile() + ".away";
    if (c.folderInItsPlace) {
      std::filesystem::rename(dataFile(), moved);
      std::filesystem::create_directory(dataFile());
    } else {
      hold();
    }

    const WindowId window = openFolder(c.title);
    for (int elapsed = 0; elapsed < c.unreadableMs; elapsed += 300) {
      EXPECT_TRUE(heldShut(window)) << "after " << elapsed << " ms";
      toolkit.advance(300);
    }
    EXPECT_TRUE(heldShut(window));
    EXPECT_EQ(dialogs(), dialogsBefore) << "nothing can be asked without the list";
    EXPECT_EQ(messagesSaying(kListUnreadable), c.unreadableMs >= 3000 ? 1 : 0);

    if (c.protectedFolder) answerPassword(Typed("abc"));
    if (c.folderInItsPlace) {
      std::filesystem::remove(dataFile());
      std::filesystem::rename(moved, dataFile());
    } else {
      letGo();
    }
    toolkit.advance(300);
    EXPECT_EQ(dialogs(), dialogsBefore + (c.protectedFolder ? 1 : 0));
    EXPECT_TRUE(enabled(window));
    EXPECT_FALSE(coverOf(window));
    EXPECT_TRUE(scan().lockCheck().held().empty());
    toolkit.advance(6000);
    EXPECT_EQ(messagesSaying(kListUnreadable), c.unreadableMs >= 3000 ? 1 : 0)
        << "told once, not once per tick";
    open("Notepad", "between");
  }
}

// A list that is not there at all is an empty list: nothing is protected.
TEST_F(UnreadableListTest, AMissingListGuardsNothingAndProtectsNothing) {
  std::filesystem::remove(dataFile());
  const WindowId window = openFolder("C:\\Docs\\Private");
  EXPECT_TRUE(enabled(window));
  EXPECT_FALSE(coverOf(window));
  EXPECT_EQ(dialogs(), 0);
  EXPECT_TRUE(platform.messages.empty());
}

// While the list cannot be read, the user can still open the main window, stop the watch (which
// gives back the windows held for the list) and quit; adding and deleting refuse and write
// nothing.
TEST_F(UnreadableListTest, TheUserKeepsControlWhileTheListCannotBeRead) {
  hold();
  const WindowId window = openFolder("C:\\Docs\\Private");
  ASSERT_TRUE(heldShut(window));

  scan().onTrayClick(TrayClick::Right);
  EXPECT_TRUE(scan().isVisible());

  scan().Button4.click();  // add the folder in the box
  scan().List1.userSelect(0);
  answerPassword(Typed("user"));
  scan().List1.dblClick();
  EXPECT_EQ(messagesSaying(kListNotSaved), 2);
  letGo();
  EXPECT_EQ(readFile("PassDat.ini"), kProtectedList);
  hold();

  answerPassword(Typed("user"));
  scan().Button2.click();  // stop the watch
  EXPECT_FALSE(scan().Timer1.enabled());
  EXPECT_TRUE(enabled(window));
  EXPECT_FALSE(coverOf(window));
  toolkit.advance(5000);
  EXPECT_EQ(messagesSaying(kListUnreadable), 0) << "nothing is held any more";

  answerPassword(Typed("user"));
  EXPECT_TRUE(endsProgram([&] { scan().Button1.click(); }));
}

}  // namespace
}  // namespace folvane
