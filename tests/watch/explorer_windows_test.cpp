// Folder windows as Windows 11 titles them, with the Shell answering or not, and their tabs: the
// sampler, the active-form box and the lock check in the running program.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kWrong[] = "パスワードが正しくありません。";

// Every folder is locked with "abc" (116117118) but 営業, locked with "xyz" (139140141).
constexpr char kList[] =
    "[PasswordSetData]\r\n"
    "Private=116117118\r\n"
    "経理=116117118\r\n"
    "営業=139140141\r\n"
    "Documents=116117118\r\n"
    "ピクチャ=116117118\r\n"
    "Art - Old=116117118\r\n"
    "[PasswordNumber]\r\n"
    "PassCount=6\r\n";

std::string repeated(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

ShellFolder shellFolder(const std::string& displayName, const std::string& path, WindowId tab = 0,
                        int tabs = 1) {
  ShellFolder folder;
  folder.displayName = displayName;
  folder.path = path;
  folder.tab = tab;
  folder.tabs = tabs;
  return folder;
}

class ExplorerWindowsTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kList);
    platform.windowsCloseOnRequest = false;  // keep closed windows observable
    ASSERT_TRUE(startResident());
  }
  std::string box() { return scan().Text.text(); }
  // A window that is not challenged comes forward: the next folder is decided afresh.
  void between() { open("Notepad", "between"); }
};

TEST_F(ExplorerWindowsTest, EveryTitleFormIsTakenAsTheFolderWindows10Named) {
  struct Case {
    const char* why;
    std::string title;
    std::optional<ShellFolder> shell;  // what the Shell says: nothing unless given
    bool late;                         // the Shell answers after the program stopped waiting
    std::string folder;                // as the box shows it
    std::optional<std::string> key;    // challenged under this key, or not at all
  };
  // 70 characters of two bytes each: the folder lies beyond the 128 bytes of the title read.
  const std::string longParent = "C:\\" + repeated("長", 70);
  const Case cases[] = {
      {"Windows 10", "C:\\Docs\\Private", {}, false, "C:\\Docs\\Private", "Private"},
      {"English", "Private - File Explorer", {}, false, "Private", "Private"},
      {"English, 2 tabs",
       "Private and 1 more tab - File Explorer",
       {},
       false,
       "Private",
       "Private"},
      {"English, 3 tabs",
       "Private and 2 more tabs - File Explorer",
       {},
       false,
       "Private",
       "Private"},
      {"English, full path",
       "C:\\Users\\u\\Art - Old - File Explorer",
       {},
       false,
       "C:\\Users\\u\\Art - Old",
       "Art - Old"},
      {"Japanese", "経理 - エクスプローラー", {}, false, "経理", "経理"},
      {"Japanese, 2 tabs, full path",
       "F:\\共有\\経理 とその他 1 のタブ - エクスプローラー",
       {},
       false,
       "F:\\共有\\経理",
       "経理"},
      {"Japanese, 3 tabs", "経理 とその他 2 のタブ - エクスプローラー", {}, false, "経理", "経理"},
      {"a full path beyond 128 bytes",
       longParent + "\\経理 - エクスプローラー",
       {},
       false,
       longParent + "\\経理",
       "経理"},
      {"a full path beyond 128 bytes, Windows 10",
       longParent + "\\経理",
       {},
       false,
       longParent + "\\経理",
       "経理"},
      {"not listed", "Public - File Explorer", {}, false, "Public", std::nullopt},
      // The Shell knows the folder's own name, whatever the title looks like.
      {"a folder named like the addition, the Shell answering",
       "経理 - エクスプローラー - エクスプローラー",
       shellFolder("経理 - エクスプローラー", "D:\\経理 - エクスプローラー"), false,
       "経理 - エクスプローラー", std::nullopt},
      {"the same, titled as Windows 10 titles it", "経理 - エクスプローラー",
       shellFolder("経理 - エクスプローラー", "D:\\経理 - エクスプローラー"), false,
       "経理 - エクスプローラー", std::nullopt},
      {"the same without the Shell: the title is all there is",
       "経理 - エクスプローラー",
       {},
       false,
       "経理",
       "経理"},
      {"listed under the path's name, shown under the display name",
       "ドキュメント - エクスプローラー", shellFolder("ドキュメント", "C:\\Users\\u\\Documents"),
       false, "ドキュメント", "Documents"},
      {"a full-path title, listed under the display name",
       "C:\\Users\\u\\Pictures - エクスプローラー",
       shellFolder("ピクチャ", "C:\\Users\\u\\Pictures"), false, "C:\\Users\\u\\Pictures",
       "ピクチャ"},
      {"no folder of the file system", "PC - エクスプローラー", shellFolder("PC", ""), false, "PC",
       std::nullopt},
      {"the Shell too late", "経理 とその他 1 のタブ - エクスプローラー",
       shellFolder("経理", "C:\\経理", 0x9000, 2), true, "経理", "経理"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const int before = dialogs();
    const int questions = platform.shellQuestions;
    const WindowId window = platform.addWindow("CabinetWClass", c.title);
    if (c.shell) platform.shellFolders[window] = *c.shell;
    platform.shellTooLate = c.late;
    if (c.key) {
      answerPassword(Typed("abc", [&] {
        EXPECT_EQ(coverOf(window), "「" + *c.key + "」はロックされています");
        EXPECT_FALSE(enabled(window));
      }));
    }
    front(window);
    EXPECT_EQ(box(), "CabinetWClass (" + c.folder + ")");
    EXPECT_EQ(dialogs(), before + (c.key ? 1 : 0));
    EXPECT_TRUE(enabled(window));
    EXPECT_EQ(platform.windowState(window).closeRequests, 0);
    // Asked once when the window came forward, and not again while nothing changes; a Shell that
    // gave no answer is asked three times more, a second apart, and then no more.
    toolkit.advance(5000);
    const bool answered = c.shell && !c.late;
    EXPECT_EQ(platform.shellQuestions, questions + (answered ? 1 : 4));
    EXPECT_EQ(dialogs(), before + (c.key ? 1 : 0));
    between();
  }
  EXPECT_TRUE(platform.messages.empty());
}

// A folder window the Shell does not know yet (just opened, or Explorer busy) is asked about again
// a moment later, and challenged when the Shell's answer names a listed folder that its title
// does not.
TEST_F(ExplorerWindowsTest, AFolderTheShellAnswersForOnlyLaterIsChallengedThen) {
  const WindowId window = platform.addWindow("CabinetWClass", "ドキュメント - エクスプローラー");
  front(window);
  EXPECT_EQ(dialogs(), 0);
  EXPECT_TRUE(enabled(window));

  platform.shellFolders[window] = shellFolder("ドキュメント", "C:\\Users\\u\\Documents");
  answerPassword(Typed("abc", [&] {
    EXPECT_EQ(coverOf(window), "「Documents」はロックされています");
    EXPECT_FALSE(enabled(window));
  }));
  toolkit.advance(1000);
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(enabled(window));
  EXPECT_EQ(platform.shellQuestions, 2);
  EXPECT_TRUE(platform.messages.empty());
}

// A folder window listed under two of its names is challenged under the one that stands first in
// the file. Adding a folder of the other name somewhere else needs no user password and goes to
// the end of the list, so that entry's password never opens the window.
TEST_F(ExplorerWindowsTest, AWindowListedUnderTwoNamesGoesByTheFirstInTheFile) {
  const struct {
    const char* entries;
    const char* key;
    const char* right;
    const char* wrong;
  } cases[] = {
      {"Documents=116117118\r\nドキュメント=139140141\r\n", "Documents", "abc", "xyz"},
      {"ドキュメント=139140141\r\nDocuments=116117118\r\n", "ドキュメント", "xyz", "abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    writeFile("PassDat.ini", std::string("[PasswordSetData]\r\n") + c.entries +
                                 "[PasswordNumber]\r\nPassCount=2\r\n");
    for (const char* answer : {c.wrong, c.right}) {
      platform.messages.clear();
      const WindowId window =
          platform.addWindow("CabinetWClass", "ドキュメント - エクスプローラー");
      platform.shellFolders[window] = shellFolder("ドキュメント", "C:\\Users\\u\\Documents");
      answerPassword(Typed(answer, [&] {
        EXPECT_EQ(coverOf(window), "「" + std::string(c.key) + "」はロックされています");
      }));
      front(window);
      const bool right = answer == c.right;
      EXPECT_EQ(platform.windowState(window).closeRequests, right ? 0 : 1) << answer;
      EXPECT_EQ(messageTexts(),
                right ? std::vector<std::string>{} : std::vector<std::string>{kWrong});
      between();
    }
  }
}

// Several folders as tabs of one window: the title and the Shell follow the active tab.
class TabsTest : public ExplorerWindowsTest {
 protected:
  void SetUp() override {
    ExplorerWindowsTest::SetUp();
    window = platform.addWindow("CabinetWClass", "");
    for (WindowId& tab : tabs) tab = platform.addWindow("ShellTabWindowClass", "");
  }
  // The user picks a tab: the window's title and the Shell's answer change with it.
  void showTab(int index, const std::string& title, const std::string& folder,
               const std::string& path) {
    platform.setTitle(window, title);
    platform.shellFolders[window] = shellFolder(folder, path, tabs[index], 3);
  }
  void showAccounts() {
    showTab(0, "経理 とその他 2 のタブ - エクスプローラー", "経理", "F:\\経理");
  }
  void showSales() { showTab(1, "営業 とその他 2 のタブ - エクスプローラー", "営業", "F:\\営業"); }
  void showPublic() {
    showTab(2, "Public とその他 2 のタブ - エクスプローラー", "Public", "F:\\Public");
  }
  void tick() { front(window); }

  WindowId window = 0;
  WindowId tabs[3] = {};
};

TEST_F(TabsTest, EachTabIsAskedForAndGivenBackForItsOwnFolder) {
  answerPassword(Typed("abc"));
  showAccounts();
  tick();
  ASSERT_EQ(dialogs(), 1);
  EXPECT_EQ(box(), "CabinetWClass (経理)");

  // Another listed folder in the same window is asked for, under its own password.
  answerPassword(Typed("xyz", [&] { EXPECT_EQ(coverOf(window), "「営業」はロックされています"); }));
  showSales();
  tick();
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(window));

  // Back to the first tab after the other listed one: asked again.
  answerPassword(Typed("abc"));
  showAccounts();
  tick();
  EXPECT_EQ(dialogs(), 3);

  // Given back for this folder: nothing is asked while it stays, nor after the program's own
  // window was in front.
  toolkit.advance(1000);
  front(scan().window());
  tick();
  EXPECT_EQ(dialogs(), 3);

  // A tab of a folder not listed ends the chain, as any window not challenged does.
  showPublic();
  tick();
  EXPECT_EQ(dialogs(), 3);
  answerPassword(Typed("abc"));
  showAccounts();
  tick();
  EXPECT_EQ(dialogs(), 4);
  EXPECT_TRUE(platform.leaveRequests.empty());
  EXPECT_TRUE(platform.messages.empty());
}

// A wrong answer takes the tab out of the folder and leaves the window and its other tabs to the
// user; a window of one tab, or one the Shell says nothing of, is closed as it always was.
TEST_F(TabsTest, AWrongAnswerCostsNoOtherTab) {
  // The tab goes to the folder above: its title and the Shell's answer follow a moment later.
  platform.onLeaveFolder = [&](WindowId, WindowId) { return true; };
  answerPassword(Typed("bad"));
  showAccounts();
  tick();
  ASSERT_EQ(dialogs(), 1);
  EXPECT_EQ(platform.leaveRequests,
            (std::vector<std::pair<WindowId, WindowId>>{{window, tabs[0]}}));
  EXPECT_EQ(platform.windowState(window).closeRequests, 0);
  EXPECT_EQ(messagesSaying(kWrong), 1);
  EXPECT_TRUE(enabled(window));
  EXPECT_EQ(platform.foregroundWindow(), window);
  EXPECT_TRUE(scan().lockCheck().held().empty());
  // Until the tab shows another folder, the cover stays over it.
  toolkit.advance(300);
  EXPECT_EQ(coverOf(window), "「経理」はロックされています");
  showTab(0, "ローカル ディスク (F:) とその他 2 のタブ - エクスプローラー",
          "ローカル ディスク (F:)", "F:\\");
  toolkit.advance(100);
  EXPECT_EQ(coverOf(window), std::nullopt);
  EXPECT_EQ(box(), "CabinetWClass (ローカル ディスク (F:))");
  EXPECT_EQ(dialogs(), 1);

  struct Case {
    const char* why;
    std::optional<ShellFolder> shell;
    bool tabLeaves;
  } cases[] = {
      {"one tab", shellFolder("経理", "F:\\経理", tabs[0], 1), true},
      {"the Shell says nothing", std::nullopt, true},
      {"no tab named", shellFolder("経理", "F:\\経理", 0, 3), true},
      {"the tab does not leave", shellFolder("経理", "F:\\経理", tabs[0], 3), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    between();
    platform.leaveRequests.clear();
    platform.onLeaveFolder = [&](WindowId, WindowId) { return c.tabLeaves; };
    const WindowId folder =
        platform.addWindow("CabinetWClass", "経理 とその他 2 のタブ - エクスプローラー");
    if (c.shell) platform.shellFolders[folder] = *c.shell;
    answerPassword(Typed("bad"));
    front(folder);
    EXPECT_EQ(platform.windowState(folder).closeRequests, 1);
    EXPECT_TRUE(enabled(folder));
    EXPECT_EQ(coverOf(folder), "「経理」はロックされています") << "covered while it closes";
  }
}

// A tab whose browser took the request to leave the folder but stayed in it is not left open to
// the user once its cover's time is up: it is asked again.
TEST_F(TabsTest, ATabThatStaysInTheFolderAfterAWrongAnswerIsAskedAgain) {
  platform.onLeaveFolder = [&](WindowId, WindowId) { return true; };
  answerPassword(Typed("bad"));
  showAccounts();
  tick();
  ASSERT_EQ(dialogs(), 1);
  EXPECT_EQ(platform.windowState(window).closeRequests, 0);

  answerPassword(Typed("abc"));
  toolkit.advance(1000);  // covered meanwhile, and nothing asked
  EXPECT_EQ(coverOf(window), "「経理」はロックされています");
  EXPECT_EQ(dialogs(), 1);
  toolkit.advance(3000);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(window));
  EXPECT_EQ(coverOf(window), std::nullopt);
}

}  // namespace
}  // namespace folvane
