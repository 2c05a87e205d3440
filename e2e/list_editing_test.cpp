// Adding folders to the protected list and deleting them again in the running program, and what
// the watch then makes of those folders.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "e2e/driver.h"
#include "e2e/steps.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kAddButton = "パスワード追加(&P)";

class ListEditing : public ::testing::Test {
 protected:
  // Starts the program with the user password "abc" and waits until it samples the window in
  // front, which it does only once its start-up is over. That window is no folder, so no
  // challenge is open.
  void start() {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
    elsewhere.bringForward();
    program.emplace(sandbox.start());
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }))
        << "the splash did not end";
    std::vector<Window> lists = children(main, "ListBox");
    std::vector<Window> edits = children(main, "Edit");
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(edits.size(), 1u);
    list = lists[0];
    text = edits[0];
    ASSERT_NO_FATAL_FAILURE(bringForward(elsewhere));
  }

  // The tray icon's right button shows the main window.
  void showMain() {
    if (isVisible(main)) return;
    postTrayMouse(main, 516);
    ASSERT_TRUE(waitUntil([&] { return isVisible(main); })) << "the main window did not show";
  }

  // Puts a window in front and waits until the program has sampled it.
  void bringForward(FolderWindow& window) {
    std::string sampled = className(window.id()) + " (" + windowText(window.id()) + ")";
    window.bringForward();
    ASSERT_TRUE(waitUntil([&] { return windowText(text) == sampled; }))
        << "the program saw " << windowText(text) << ", not " << sampled;
  }

  std::optional<std::string> stored(const std::string& key,
                                    const std::string& section = "PasswordSetData") const {
    return iniValue(sandbox.readFile("PassDat.ini").value_or(""), section, key);
  }
  std::optional<std::string> passCount() const { return stored("PassCount", "PasswordNumber"); }

  // The password dialog with `prompt`, answered with `password`.
  void answerPasswordDialog(const std::string& prompt, const std::string& password) {
    e2e::answerPasswordDialog(*program, prompt, password);
  }

  // A message box of the program with `expected` text, answered with `button`.
  void answerMessage(const std::string& expected, Answer button) {
    Window box = program->waitForWindow(kAppTitle);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(messageText(box), expected);
    answer(box, button);
    ASSERT_TRUE(waitForGone(box));
  }

  // Brings `folder` forward (after another window, so that the program sees a new window) and
  // expects the lock password to be asked and `password` to give the folder back.
  void expectChallenged(FolderWindow& folder, const std::string& password) {
    bringForward(elsewhere);
    bringForward(folder);
    Window login = program->waitForWindow(kLoginCaption);
    ASSERT_TRUE(login) << "the folder was not challenged";
    EXPECT_TRUE(childByText(login, kAskLock));
    EXPECT_FALSE(isEnabled(folder.id())) << "the folder window stayed usable while asked";
    enterPassword(login, password);
    ASSERT_TRUE(waitForGone(login));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); })) << "the folder stayed disabled";
    pump(300ms);
    EXPECT_FALSE(folder.closed());
    EXPECT_FALSE(program->findWindow(kAppTitle)) << "a right answer was refused";
  }

  void expectNotChallenged(FolderWindow& folder) {
    bringForward(elsewhere);
    bringForward(folder);
    pump(500ms);
    EXPECT_FALSE(program->findWindow(kLoginCaption)) << "the folder was challenged";
    EXPECT_TRUE(isEnabled(folder.id()));
  }

  Sandbox sandbox;
  std::optional<Process> program;
  Window main = 0, list = 0, text = 0;
  FolderWindow elsewhere{"memo", "Notepad"};
};

TEST_F(ListEditing, AddedFoldersAreStoredListedAndChallenged) {
  FolderWindow report("C:\\Data\\Report");
  FolderWindow papers("C:\\データ\\資料");
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_TRUE(listRows(list).empty());

  // The folder last in front stays in the text box while the main window is used.
  ASSERT_NO_FATAL_FAILURE(bringForward(report));
  ASSERT_NO_FATAL_FAILURE(showMain());
  pump(300ms);
  ASSERT_EQ(windowText(text), "CabinetWClass (C:\\Data\\Report)");
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "lock"));

  // The entry is written first, then the count.
  ASSERT_TRUE(waitUntil([&] { return stored("Report").has_value() && passCount() == "1"; }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_EQ(stored("Report"), passwordCode("lock"));
  EXPECT_EQ(listRows(list), std::vector<std::string>{"Report"});
  EXPECT_FALSE(program->findWindow(kAppTitle)) << "the program asked more than the password";

  ASSERT_NO_FATAL_FAILURE(expectChallenged(report, "lock"));

  // The menu's entry adds the same way, as the next row; a Japanese name is kept in the file's
  // code page.
  ASSERT_NO_FATAL_FAILURE(bringForward(papers));
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_TRUE(chooseMenu(main, 'E', 'P'));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "Key2"));
  ASSERT_TRUE(waitUntil([&] { return passCount() == "2"; }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_EQ(stored(toAnsi("資料")), passwordCode("Key2"));
  EXPECT_EQ(stored("Report"), passwordCode("lock"));
  EXPECT_EQ(listRows(list), (std::vector<std::string>{"Report", "資料"}));

  ASSERT_NO_FATAL_FAILURE(expectChallenged(papers, "Key2"));
}

// A list saved as UTF-8 without a byte-order mark, as Notepad saves text: its Japanese folders are
// challenged, and a folder added is written in UTF-8, every other line kept.
TEST_F(ListEditing, AListSavedAsUtf8WithoutAMarkGuardsItsFoldersAndStaysUtf8) {
  const std::string utf8List = "; メモ\r\n[PasswordSetData]\r\n経理=" + passwordCode("lock") +
                               "\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  sandbox.writeFile("PassDat.ini", utf8List);
  FolderWindow accounts("C:\\共有\\経理");
  FolderWindow sales("C:\\共有\\営業");
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(listRows(list), std::vector<std::string>{"経理"});
  ASSERT_NO_FATAL_FAILURE(expectChallenged(accounts, "lock"));

  ASSERT_NO_FATAL_FAILURE(bringForward(sales));
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "Key2"));
  const std::string expected = "; メモ\r\n[PasswordSetData]\r\n経理=" + passwordCode("lock") +
                               "\r\n営業=" + passwordCode("Key2") +
                               "\r\n[PasswordNumber]\r\nPassCount=2\r\n";
  ASSERT_TRUE(waitUntil([&] { return sandbox.readFile("PassDat.ini") == expected; }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_EQ(listRows(list), (std::vector<std::string>{"経理", "営業"}));
  ASSERT_NO_FATAL_FAILURE(expectChallenged(sales, "Key2"));
}

// Added from a window titled as Windows 11 titles it, a folder is stored under its name alone, and
// the entry guards the folder whatever its window's title looks like, on either system.
TEST_F(ListEditing, AFolderAddedFromAWindows11TitleIsStoredUnderItsName) {
  struct Case {
    std::string title;
    std::string folder;  // as the box shows it
    std::string key;
    std::string password;
  };
  const std::vector<Case> cases = {
      {"F:\\共有\\経理 とその他 2 のタブ - エクスプローラー", "F:\\共有\\経理", "経理", "lock"},
      {"Report and 1 more tab - File Explorer", "Report", "Report", "Key2"},
  };
  // The folder as Windows 10 titles it; made before the start, so that it is listed when it is
  // next brought forward.
  FolderWindow plain("F:\\共有\\経理");
  ASSERT_NO_FATAL_FAILURE(start());
  std::vector<std::string> rows;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FolderWindow folder(c.title);
    folder.bringForward();
    ASSERT_TRUE(waitUntil([&] { return windowText(text) == "CabinetWClass (" + c.folder + ")"; }))
        << "the program saw " << windowText(text);
    ASSERT_NO_FATAL_FAILURE(showMain());
    ASSERT_TRUE(clickButton(main, kAddButton));
    ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, c.password));
    rows.push_back(c.key);
    ASSERT_TRUE(waitUntil([&] { return passCount() == std::to_string(rows.size()); }))
        << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
    EXPECT_EQ(stored(toAnsi(c.key)), passwordCode(c.password));
    EXPECT_EQ(listRows(list), rows);
  }
  const std::string file = fromAnsi(sandbox.readFile("PassDat.ini").value_or(""));
  EXPECT_EQ(file.find("エクスプローラー"), std::string::npos) << file;
  EXPECT_EQ(file.find("Explorer"), std::string::npos) << file;

  // The folder titled as Windows 10 titles it is guarded by the same entry.
  ASSERT_NO_FATAL_FAILURE(expectChallenged(plain, "lock"));
}

TEST_F(ListEditing, ADeletedFolderLeavesFileAndListAndIsNoLongerChallenged) {
  sandbox.writeFile("PassDat.ini", "[PasswordSetData]\r\nReport=" + passwordCode("lock") +
                                       "\r\nArchive=" + passwordCode("Key2") +
                                       "\r\n[PasswordNumber]\r\nPassCount=2\r\n");
  FolderWindow report("C:\\Data\\Report");
  FolderWindow archive("C:\\Data\\Archive");
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_EQ(listRows(list), (std::vector<std::string>{"Report", "Archive"}));
  ASSERT_NO_FATAL_FAILURE(expectChallenged(report, "lock"));

  ASSERT_NO_FATAL_FAILURE(showMain());
  doubleClickRow(list, 0);
  ASSERT_NO_FATAL_FAILURE(answerMessage("選択したデータを削除します。", Answer::Ok));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskUser, "abc"));
  ASSERT_NO_FATAL_FAILURE(
      answerMessage("Reportをパスワードリストから削除してもよろしいですか？", Answer::Yes));

  ASSERT_TRUE(waitUntil([&] { return passCount() == "1"; }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_FALSE(stored("Report").has_value());
  EXPECT_EQ(stored("Archive"), passwordCode("Key2"));
  EXPECT_EQ(listRows(list), std::vector<std::string>{"Archive"});
  EXPECT_TRUE(childByText(main, "登録数：1"));

  ASSERT_NO_FATAL_FAILURE(expectNotChallenged(report));
  // The watch still guards the folder that stayed on the list.
  ASSERT_NO_FATAL_FAILURE(expectChallenged(archive, "Key2"));
}

// Nobody can give a listed folder a lock password of their own without the user password: the
// active-form box takes no typing, and adding a folder that is already listed asks for the user
// password first.
TEST_F(ListEditing, AListedFolderKeepsItsPasswordWithoutTheUserPassword) {
  const std::string file = "[PasswordSetData]\r\nReport=" + passwordCode("lock") +
                           "\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  sandbox.writeFile("PassDat.ini", file);
  FolderWindow report("C:\\Data\\Report");
  ASSERT_NO_FATAL_FAILURE(start());

  // Typed into the box, the folder's name changes nothing: the box shows what the program saw.
  ASSERT_NO_FATAL_FAILURE(showMain());
  type(text, "ExploreWClass (C:\\Data\\Report)");
  pump(300ms);
  EXPECT_EQ(windowText(text), "Notepad (memo)");
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerMessage("フォルダを選択していません。", Answer::Ok));
  EXPECT_FALSE(program->findWindow(kLoginCaption)) << "a password was asked for";

  // The folder itself, answered right and then added again from the main window.
  ASSERT_NO_FATAL_FAILURE(expectChallenged(report, "lock"));
  ASSERT_NO_FATAL_FAILURE(showMain());
  pump(300ms);
  ASSERT_EQ(windowText(text), "CabinetWClass (C:\\Data\\Report)");

  // A wrong user password ends it without a word.
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskUser, "abd"));
  pump(500ms);
  EXPECT_FALSE(program->findWindow(kLoginCaption)) << "the lock password was asked for";
  EXPECT_FALSE(program->findWindow(kAppTitle));
  EXPECT_EQ(sandbox.readFile("PassDat.ini"), file);

  // The right one lets the new lock password in.
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskUser, "abc"));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "new1"));
  ASSERT_TRUE(waitUntil([&] { return stored("Report") == passwordCode("new1"); }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_EQ(passCount(), "1");
  EXPECT_EQ(listRows(list), std::vector<std::string>{"Report"});
  ASSERT_NO_FATAL_FAILURE(expectChallenged(report, "new1"));
}

// Virus scanners, indexers and backup tools open the data file while the user changes the list.
TEST_F(ListEditing, ChangesSucceedWhileAnotherProgramKeepsOpeningTheDataFile) {
  sandbox.writeFile("PassDat.ini", "[PasswordSetData]\r\nReport=" + passwordCode("lock") +
                                       "\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  FolderWindow archive("C:\\Data\\Archive");
  ASSERT_NO_FATAL_FAILURE(start());

  struct Pattern {
    const char* name;
    Duration held, free;
  } patterns[] = {
      {"held 300 ms at a time", 300ms, 100ms},
      {"opened and closed in a loop", 5ms, 5ms},
  };
  for (const Pattern& pattern : patterns) {
    SCOPED_TRACE(pattern.name);
    // The other program gets at the file just before each change is made.
    auto holder = [&] {
      return std::make_unique<FileHolder>(sandbox.path("PassDat.ini"), pattern.held, pattern.free);
    };

    ASSERT_NO_FATAL_FAILURE(bringForward(archive));
    ASSERT_NO_FATAL_FAILURE(showMain());
    ASSERT_TRUE(clickButton(main, kAddButton));
    auto adding = holder();
    ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "Key2"));
    EXPECT_TRUE(waitUntil([&] { return passCount() == "2" || program->findWindow(kAppTitle); }));
    EXPECT_FALSE(program->findWindow(kAppTitle)) << "the change was reported as failed";
    EXPECT_EQ(stored("Archive"), passwordCode("Key2"));
    EXPECT_EQ(passCount(), "2");
    EXPECT_EQ(listRows(list), (std::vector<std::string>{"Report", "Archive"}));
    EXPECT_GT(adding->holds(), 0);
    adding.reset();

    doubleClickRow(list, 1);
    ASSERT_NO_FATAL_FAILURE(answerMessage("選択したデータを削除します。", Answer::Ok));
    ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskUser, "abc"));
    auto deleting = holder();
    ASSERT_NO_FATAL_FAILURE(
        answerMessage("Archiveをパスワードリストから削除してもよろしいですか？", Answer::Yes));
    EXPECT_TRUE(waitUntil([&] { return passCount() == "1" || program->findWindow(kAppTitle); }));
    EXPECT_FALSE(program->findWindow(kAppTitle)) << "the change was reported as failed";
    EXPECT_FALSE(stored("Archive").has_value());
    EXPECT_EQ(stored("Report"), passwordCode("lock"));
    EXPECT_EQ(listRows(list), std::vector<std::string>{"Report"});
    EXPECT_GT(deleting->holds(), 0);
  }
  EXPECT_EQ(sandbox.readFile("PassDat.ini"), "[PasswordSetData]\r\nReport=" + passwordCode("lock") +
                                                 "\r\n[PasswordNumber]\r\nPassCount=1\r\n");
}

// A PassCount damaged by hand: one report however the windows change, the listed folder still
// challenged, and the list refuses changes.
TEST_F(ListEditing, ADamagedCountIsReportedOnceAndTheListedFolderIsStillChallenged) {
  const std::string damaged = "[PasswordSetData]\r\nReport=" + passwordCode("lock") +
                              "\r\n[PasswordNumber]\r\nPassCount=abc\r\n";
  sandbox.writeFile("PassDat.ini", damaged);
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  FolderWindow report("C:\\Data\\Report");
  FolderWindow other("C:\\Data\\Other");
  elsewhere.bringForward();
  program.emplace(sandbox.start());
  main = program->mainWindow();
  ASSERT_TRUE(main);
  text = children(main, "Edit").at(0);
  list = children(main, "ListBox").at(0);

  // The first folder window it decides about after the start, which reads the list, gives the
  // report.
  other.bringForward();
  Window box = program->waitForWindow(kAppTitle, 15000ms);
  ASSERT_TRUE(box) << "no report";
  EXPECT_EQ(messageText(box), "エラー 13\r\n型が一致しません。");
  auto reportBoxes = [&] {
    int count = 0;
    for (Window window : topLevelWindows(program->pid()))
      count += windowText(window) == kAppTitle ? 1 : 0;
    return count;
  };
  // Windows change while it waits, and the box itself is in front in between.
  for (int round = 0; round < 3; ++round) {
    ASSERT_NO_FATAL_FAILURE(bringForward(other));
    ASSERT_NO_FATAL_FAILURE(bringForward(elsewhere));
    bringToFront(box);
    pump(300ms);
    EXPECT_EQ(reportBoxes(), 1);
  }
  answer(box, Answer::Ok);
  ASSERT_TRUE(waitForGone(box));
  ASSERT_NO_FATAL_FAILURE(bringForward(other));
  ASSERT_NO_FATAL_FAILURE(bringForward(elsewhere));
  pump(500ms);
  EXPECT_EQ(reportBoxes(), 0) << "reported again";

  ASSERT_NO_FATAL_FAILURE(expectChallenged(report, "lock"));

  ASSERT_NO_FATAL_FAILURE(bringForward(other));
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "Key2"));
  ASSERT_NO_FATAL_FAILURE(answerMessage(
      "パスワードリストの登録数が正しくないため、変更できません。PassDat.ini を確認して下さい。",
      Answer::Ok));
  EXPECT_EQ(sandbox.readFile("PassDat.ini"), damaged);
}

// Folder windows titled the Windows 11 way, in Japanese and in English, with the other tabs
// counted and with the full path: the box shows the folder as Windows 10 titled it, adding stores
// the folder's key and nothing of the file manager's name, and every form is challenged under it.
TEST_F(ListEditing, FolderWindowsTitledTheWindows11WayAreSeenAsWindows10TitledThem) {
  FolderWindow tabs("C:\\Data\\Report とその他 2 のタブ - エクスプローラー");
  ASSERT_NO_FATAL_FAILURE(start());
  tabs.bringForward();
  ASSERT_TRUE(waitUntil([&] { return windowText(text) == "CabinetWClass (C:\\Data\\Report)"; }))
      << "the program saw " << windowText(text);
  ASSERT_NO_FATAL_FAILURE(showMain());
  ASSERT_TRUE(clickButton(main, kAddButton));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog(kAskLock, "lock"));
  ASSERT_TRUE(waitUntil([&] { return stored("Report").has_value() && passCount() == "1"; }))
      << sandbox.readFile("PassDat.ini").value_or("(no PassDat.ini)");
  EXPECT_EQ(sandbox.readFile("PassDat.ini")->find(toAnsi("エクスプローラー")), std::string::npos);

  for (const std::string title :
       {"Report - エクスプローラー", "Report and 1 more tab - File Explorer",
        "D:\\Old\\Report - File Explorer"}) {
    SCOPED_TRACE(title);
    ASSERT_NO_FATAL_FAILURE(bringForward(elsewhere));
    FolderWindow folder(title);  // comes to the front by itself
    Window login = program->waitForWindow(kLoginCaption);
    ASSERT_TRUE(login) << "not challenged";
    enterPassword(login, "lock");
    ASSERT_TRUE(waitForGone(login));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }));
  }
}

}  // namespace
}  // namespace folvane::e2e
