#include "app/list_editing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "app/list_display.h"
#include "dialogs/login_form.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "tests/support/counting_sink.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kNoFolder[] = "フォルダを選択していません。";
constexpr char kEmptyTitle[] = "このフォームにはパスワードを設定することはできません。";
constexpr char kKeyNotStorable[] = "このフォルダ名はパスワードリストに登録できません。";
constexpr char kNoPassword[] = "パスワードが設定されていません。";
constexpr char kPasswordNotStorable[] =
    "このパスワードは使用できません。パスワードは半角文字で42文字以内にして下さい。";
constexpr char kBadCount[] =
    "パスワードリストの登録数が正しくないため、変更できません。PassDat.ini を確認して下さい。";
constexpr char kDeleteNotice[] = "選択したデータを削除します。";

// Docs (lock password "old") and Music (lock password "m"), the way the program writes them.
constexpr char kTwoFolders[] =
    "[PasswordSetData]\r\nDocs=130127119\r\nMusic=128\r\n[PasswordNumber]\r\nPassCount=2\r\n";

// The main window's controls the editing works on, the password dialog, and a user who answers
// each password question from a script (std::nullopt: presses Cancel).
class ListEditingTest : public testing::Test {
 protected:
  void SetUp() override {
    toolkit.onModal = [this](Form& form) {
      ASSERT_EQ(form.name(), "frmLogin");
      if (duringPrompt) duringPrompt();
      AnswerFromScript(login, answers, prompts);
    };
    label.setCaption("登録数：2");
  }

  // Deletes the first row with the user password "secret", or adds the folder Report locked
  // with "abc".
  void DeleteFirstRowOrAddReport(bool deleting) {
    if (deleting) {
      list.userSelect(0);
      answers = {"secret"};
      editing.DeleteEntry();
    } else {
      answers = {"abc"};
      show("CabinetWClass (C:\\Data\\Report)");
      editing.AddFolder();
    }
  }

  void Seed(const std::string& content) {
    ASSERT_TRUE(platform.replaceFile(DataFilePath(platform), content));
    display.Refresh(platform);
  }
  // One case of a table: the list shows the two folders and nothing was shown or asked yet; the
  // box names `activeForm`, and the password questions are answered from `script`.
  void AddFromFreshList(const std::string& activeForm,
                        const std::vector<std::optional<std::string>>& script) {
    Seed(kTwoFolders);
    platform.messages.clear();
    prompts.clear();
    answers.assign(script.begin(), script.end());
    show(activeForm);
    editing.AddFolder();
  }
  // The list shows the two folders and the first row is selected; then the file is changed by
  // hand to `content`, and the user double-clicks the row and gives the (empty) user password.
  void DeleteFirstRowAfterTheFileBecame(const std::string& content) {
    Seed(kTwoFolders);
    list.userSelect(0);
    ASSERT_TRUE(platform.replaceFile(DataFilePath(platform), content));
    answers = {""};
    editing.DeleteEntry();
  }
  // The sampler shows `activeForm` in the box as it would: "Class (Title)" for a window of
  // another program in front, anything else as the box can show it without a sample (the main
  // window's own caption, the stopped watch).
  void show(const std::string& activeForm) {
    const std::size_t open = activeForm.find(" (");
    if (activeForm == "ウォッチ停止中") {
      sampler.ShowStopped();
    } else if (open != std::string::npos && activeForm.back() == ')') {
      const std::string title = activeForm.substr(open + 2, activeForm.size() - open - 3);
      platform.bringToFront(platform.addWindow(activeForm.substr(0, open), title));
      sampler.Timer1_Timer();
    } else if (!activeForm.empty()) {
      platform.bringToFront(platform.addOwnWindow("ThunderRT6FormDC", activeForm));
      text.setText("");
      sampler.Timer1_Timer();
    }
    ASSERT_EQ(text.text(), activeForm);
  }
  std::string FileBytes() { return platform.fileBytes(DataFilePath(platform)).value_or("<none>"); }
  std::string Stored(const std::string& key) {
    return IniRead(platform, kSectionPasswordSetData, key, "<none>", DataFilePath(platform));
  }
  std::string PassCount() {
    return IniRead(platform, kSectionPasswordNumber, kKeyPassCount, "<none>",
                   DataFilePath(platform));
  }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& message : platform.messages) texts.push_back(message.text);
    return texts;
  }

  FakePlatform platform;
  FakeToolkit toolkit{platform};
  ProcessWide processWide;
  LoginForm login{toolkit, platform, processWide};
  TextBox text{"Text"};
  ListBox list{"List1"};
  Label label{"Label1"};
  Sampler sampler{platform, text};
  ListDisplay display{list, label};
  ListEditing editing{platform, sampler, text, display, login, processWide};

  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> prompts;
  std::function<void()> duringPrompt;
};

// ---- Adding ----------------------------------------------------------------------------------

TEST_F(ListEditingTest, AddRefusesWhatItCannotStoreAndWritesNothing) {
  struct Case {
    std::string activeForm;
    std::vector<std::optional<std::string>> answers;
    std::string message;  // empty: none at all
  };
  const std::string report = "CabinetWClass (C:\\Data\\Report)";
  const std::vector<Case> cases = {
      {"", {}, ""},
      {"Notepad (無題 - メモ帳)", {}, kNoFolder},
      {"cabinetwclass (C:\\Data)", {}, kNoFolder},
      {"Kelmora", {}, kNoFolder},
      {"ウォッチ停止中", {}, kNoFolder},
      {" (C:\\Data)", {}, kNoFolder},  // a window without a class name
      {"CabinetWClass ()", {}, kEmptyTitle},
      {"CabinetWClass (\\\\server\\share\\)", {}, kKeyNotStorable},
      {"CabinetWClass (C:\\a=b)", {}, kKeyNotStorable},
      {report, {std::nullopt}, kNoPassword},
      {report, {""}, kNoPassword},
      {report, {"パス"}, kPasswordNotStorable},
      {report, {"ｱｲｳ漢"}, kPasswordNotStorable},
      {report, {std::string(43, 'a')}, kPasswordNotStorable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.activeForm);
    AddFromFreshList(c.activeForm, c.answers);

    EXPECT_EQ(prompts.size(), c.answers.size());
    EXPECT_TRUE(answers.empty());
    if (c.message.empty()) {
      EXPECT_TRUE(platform.messages.empty());
    } else {
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_TRUE(IsMessageBox(platform.messages[0], c.message));
    }
    EXPECT_EQ(FileBytes(), kTwoFolders);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs", "Music"}));
  }
}

TEST_F(ListEditingTest, AddStoresTheFolderUnderItsKey) {
  struct Case {
    std::string activeForm;
    std::string password;
    std::string key;
    std::vector<std::string> rows;
    std::string count;
  };
  const std::vector<Case> cases = {
      {"CabinetWClass (C:\\Data\\Report)", "abc", "Report", {"Docs", "Music", "Report"}, "3"},
      {"ExploreWClass (C:\\Data\\Report)", "abc", "Report", {"Docs", "Music", "Report"}, "3"},
      {"CabinetWClass (Report)", "abc", "Report", {"Docs", "Music", "Report"}, "3"},
      {"CabinetWClass (C:\\)", "abc", "C:\\", {"Docs", "Music", "C:\\"}, "3"},
      // Parentheses belong to the folder's name, as in Windows' own name of a copy.
      {"CabinetWClass (C:\\Work (old))", "abc", "Work (old)", {"Docs", "Music", "Work (old)"}, "3"},
      {"CabinetWClass (C:\\共有\\経理 (2))", "abc", "経理 (2)", {"Docs", "Music", "経理 (2)"}, "3"},
      {"CabinetWClass (D:\\書類)", "abc", "書類", {"Docs", "Music", "書類"}, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.activeForm);
    AddFromFreshList(c.activeForm, {c.password});

    EXPECT_EQ(prompts, (std::vector<std::string>{kPromptLockPassword}));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Stored(c.key), "116117118");
    EXPECT_EQ(PassCount(), c.count);
    EXPECT_EQ(list.items(), c.rows);
    EXPECT_EQ(label.caption(), "登録数：" + c.count) << "the count follows the change at once";
  }
}

// A folder is stored under the name Windows 10 gave it, whatever Windows 11 adds to its window's
// title, so that the list guards it on either system.
TEST_F(ListEditingTest, AddStoresTheFolderAsWindows10NamedIt) {
  struct Case {
    std::string title;
    std::optional<ShellFolder> shell;  // what the Shell says: nothing unless given
    std::string folder;                // as the box shows it
    std::string key;
  };
  std::string longParent = "C:\\";
  for (int i = 0; i < 70; ++i) longParent += "長";
  ShellFolder documents;
  documents.displayName = "ドキュメント";
  documents.path = "C:\\Users\\u\\Documents";
  ShellFolder named;  // a folder whose own name ends in the file manager's
  named.displayName = "経理 - エクスプローラー";
  named.path = "D:\\経理 - エクスプローラー";
  const std::vector<Case> cases = {
      {"経理 - エクスプローラー", {}, "経理", "経理"},
      {"F:\\共有\\経理 とその他 1 のタブ - エクスプローラー", {}, "F:\\共有\\経理", "経理"},
      {"Downloads and 2 more tabs - File Explorer", {}, "Downloads", "Downloads"},
      {"C:\\Users\\u\\Art - Old - File Explorer", {}, "C:\\Users\\u\\Art - Old", "Art - Old"},
      {longParent + "\\経理 - エクスプローラー", {}, longParent + "\\経理", "経理"},
      {"ドキュメント - エクスプローラー", documents, "ドキュメント", "ドキュメント"},
      {"C:\\Users\\u\\Documents - エクスプローラー", documents, "C:\\Users\\u\\Documents",
       "Documents"},
      {"経理 - エクスプローラー - エクスプローラー", named, "経理 - エクスプローラー",
       "経理 - エクスプローラー"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Seed(kTwoFolders);
    platform.messages.clear();
    prompts.clear();
    answers = {"abc"};
    const WindowId window = platform.addWindow("CabinetWClass", c.title);
    if (c.shell) platform.shellFolders[window] = *c.shell;
    platform.bringToFront(window);
    sampler.Timer1_Timer();
    EXPECT_EQ(text.text(), "CabinetWClass (" + c.folder + ")");
    editing.AddFolder();

    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Stored(c.key), "116117118");
    EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs", "Music", c.key}));
  }
}

// A listed folder's lock password is replaced only by someone who knows the user password:
// otherwise anyone at the main window could set a password of their own and open the folder.
TEST_F(ListEditingTest, ReplacingTheLockPasswordOfAListedFolderNeedsTheUserPassword) {
  struct Case {
    const char* what;
    std::string activeForm;
    std::vector<std::optional<std::string>> answers;  // user password, then lock password
    bool replaced;
    std::vector<std::string> messages;
  };
  const std::string docs = "CabinetWClass (C:\\Users\\Docs)";
  const std::vector<Case> cases = {
      {"right user password", docs, {"secret", "abc"}, true, {}},
      {"wrong user password", docs, {"Secret"}, false, {}},
      {"user password cancelled", docs, {std::nullopt}, false, {}},
      {"empty user password", docs, {""}, false, {}},
      {"lock password cancelled", docs, {"secret", std::nullopt}, false, {kNoPassword}},
      // The data file finds its keys whatever their letter case, and so does this question.
      {"other letter case, wrong", "CabinetWClass (D:\\DOCS)", {"x"}, false, {}},
      {"other letter case, right", "ExploreWClass (D:\\DOCS)", {"secret", "abc"}, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    processWide.UserPassword = "secret";
    AddFromFreshList(c.activeForm, c.answers);

    std::vector<std::string> expectedPrompts = {kPromptUserPassword};
    if (c.answers.size() > 1) expectedPrompts.push_back(kPromptLockPassword);
    EXPECT_EQ(prompts, expectedPrompts);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(MessageTexts(), c.messages);
    if (c.replaced) {
      EXPECT_EQ(Stored("Docs"), "116117118");
      EXPECT_EQ(PassCount(), "2");
      EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs", "Music"}));
    } else {
      EXPECT_EQ(FileBytes(), kTwoFolders);
    }
  }
}

// A folder window has several names (its title's, the Shell's display name, the last part of its
// path). Adding from a window listed under any of them replaces that entry's lock password, with
// the user password, and writes no entry under another name: the lock check could take that one,
// and its password would open the folder.
TEST_F(ListEditingTest, AddingUnderAnotherNameOfAListedFolderReplacesItsLock) {
  struct Case {
    const char* why;
    std::string title;
    bool shellAnswers;
    std::string entries;  // listed after Docs and Music
    std::vector<std::optional<std::string>> answers;
    bool userAsked;
    std::string storedUnder;  // the entry that holds the new password; "" when none changed
    std::vector<std::string> rows;
  };
  const std::string docs = "Documents=130127119\r\n", docsJa = "ドキュメント=130127119\r\n";
  const std::vector<Case> cases = {
      {"display-name title, listed under the path's name",
       "ドキュメント - エクスプローラー",
       true,
       docs,
       {"secret", "abc"},
       true,
       "Documents",
       {"Docs", "Music", "Documents"}},
      {"full-path title, listed under the display name",
       "C:\\Users\\u\\Documents",
       true,
       docsJa,
       {"secret", "abc"},
       true,
       "ドキュメント",
       {"Docs", "Music", "ドキュメント"}},
      {"listed under the title's name",
       "ドキュメント",
       true,
       docsJa,
       {"secret", "abc"},
       true,
       "ドキュメント",
       {"Docs", "Music", "ドキュメント"}},
      {"listed under two names: the first in the file",
       "ドキュメント",
       true,
       docs + docsJa,
       {"secret", "abc"},
       true,
       "Documents",
       {"Docs", "Music", "Documents", "ドキュメント"}},
      {"listed under another name, wrong user password",
       "ドキュメント - エクスプローラー",
       true,
       docs,
       {"Secret"},
       true,
       "",
       {}},
      // Without the Shell the title is all there is: another folder of that name is new.
      {"the Shell says nothing",
       "ドキュメント",
       false,
       docs,
       {"abc"},
       false,
       "ドキュメント",
       {"Docs", "Music", "Documents", "ドキュメント"}},
  };
  ShellFolder documents;
  documents.displayName = "ドキュメント";
  documents.path = "C:\\Users\\u\\Documents";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const std::string content =
        "[PasswordSetData]\r\nDocs=130127119\r\nMusic=128\r\n" + c.entries +
        "[PasswordNumber]\r\nPassCount=" +
        std::to_string(2 + std::count(c.entries.begin(), c.entries.end(), '\n')) + "\r\n";
    Seed(platform.toAnsi(content));
    platform.messages.clear();
    prompts.clear();
    processWide.UserPassword = "secret";
    answers.assign(c.answers.begin(), c.answers.end());
    const WindowId window = platform.addWindow("CabinetWClass", c.title);
    if (c.shellAnswers) platform.shellFolders[window] = documents;
    platform.bringToFront(window);
    sampler.Timer1_Timer();
    editing.AddFolder();

    EXPECT_EQ(!prompts.empty() && prompts.front() == kPromptUserPassword, c.userAsked);
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(platform.messages.empty());
    if (c.storedUnder.empty()) {
      EXPECT_EQ(FileBytes(), platform.toAnsi(content));
      continue;
    }
    EXPECT_EQ(Stored(c.storedUnder), "116117118");
    EXPECT_EQ(list.items(), c.rows);
    EXPECT_EQ(PassCount(), std::to_string(c.rows.size()));
  }
}

TEST_F(ListEditingTest, AddAcceptsTheLongestPasswordThatSurvivesItsCode) {
  Seed(kTwoFolders);
  answers = {std::string(42, '~')};
  show("CabinetWClass (C:\\Data\\Report)");
  editing.AddFolder();
  std::string code;
  for (int i = 0; i < 42; ++i) code += "145";  // '~' is 126
  EXPECT_EQ(Stored("Report"), code);
  EXPECT_EQ(PassCount(), "3");
}

TEST_F(ListEditingTest, AddKeepsTheFolderThatWasInFrontWhenTheDialogOpened) {
  Seed(kTwoFolders);
  answers = {"abc"};
  show("CabinetWClass (C:\\Data\\Report)");
  // The sampler writes the next foreign window while the password dialog waits.
  duringPrompt = [this] { show("CabinetWClass (C:\\Other)"); };
  editing.AddFolder();
  EXPECT_EQ(Stored("Report"), "116117118");
  EXPECT_EQ(Stored("Other"), "<none>");
}

TEST_F(ListEditingTest, AddWithAnUnusableCountTellsTheUserAndWritesNothing) {
  const std::string content =
      "[PasswordSetData]\r\nDocs=130127119\r\n[PasswordNumber]\r\nPassCount=abc\r\n";
  Seed(content);
  answers = {"abc"};
  show("CabinetWClass (C:\\Data\\Report)");
  editing.AddFolder();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0], kBadCount));
  EXPECT_EQ(FileBytes(), content);
}

// A list the folder cannot be written to (read-only, full, held open by another program) must
// not look changed: the user is told, and the rows are those of the file.
TEST_F(ListEditingTest, AChangeThatCannotBeSavedIsReportedAndTheListShowsTheFile) {
  processWide.UserPassword = "secret";
  for (bool deleting : {false, true}) {
    SCOPED_TRACE(deleting ? "delete" : "add");
    Seed(kTwoFolders);
    platform.messages.clear();
    platform.writesFail = true;
    DeleteFirstRowOrAddReport(deleting);
    platform.writesFail = false;
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_TRUE(IsMessageBox(platform.messages.back(),
                             "パスワードリストを保存できませんでした。プログラムのフォルダに書き"
                             "込めるか確認して下さい。"));
    EXPECT_EQ(FileBytes(), kTwoFolders);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs", "Music"}));
  }
}

// Virus scanners, indexers and backup tools hold the file open for a moment: a change waits for
// it, and only a file that stays held for more than a second makes the change fail.
TEST_F(ListEditingTest, AChangeWaitsForAFileHeldOpenForAMoment) {
  const std::string notSaved =
      "パスワードリストを保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。";
  using Rows = std::vector<std::string>;
  processWide.UserPassword = "secret";
  struct Case {
    bool deleting;
    int busyAttempts;
    bool saved;
    Rows rows;
    std::string count;
  } cases[] = {
      {false, 5, true, {"Docs", "Music", "Report"}, "3"},
      {true, 5, true, {"Music"}, "1"},
      {false, 1000, false, {"Docs", "Music"}, "2"},
      {true, 1000, false, {"Docs", "Music"}, "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.deleting ? "delete" : "add") + ", busy " +
                 std::to_string(c.busyAttempts));
    Seed(kTwoFolders);
    platform.messages.clear();
    platform.pauses.clear();
    platform.busyAttempts = c.busyAttempts;
    DeleteFirstRowOrAddReport(c.deleting);
    platform.busyAttempts = 0;

    const Rows texts = MessageTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), notSaved), c.saved ? 0 : 1);
    EXPECT_EQ(list.items(), c.rows);
    EXPECT_EQ(PassCount(), c.count);
    if (c.saved) {
      EXPECT_EQ(platform.pauses, (std::vector<int>{10, 20, 40, 50, 50}));
    } else {
      EXPECT_EQ(std::accumulate(platform.pauses.begin(), platform.pauses.end(), 0), 1000)
          << "given up after a second";
      EXPECT_EQ(FileBytes(), kTwoFolders);
    }
  }
}

// ---- Deleting --------------------------------------------------------------------------------

TEST_F(ListEditingTest, DeleteWithNothingSelectedAsksNothing) {
  // An empty list, and a list whose row selection was lost.
  editing.DeleteEntry();
  Seed(kTwoFolders);
  ASSERT_EQ(list.listIndex(), -1);
  editing.DeleteEntry();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(prompts.empty());
  EXPECT_EQ(FileBytes(), kTwoFolders);
}

TEST_F(ListEditingTest, DeleteEndsWithoutChangeOnAWrongPasswordOrNo) {
  processWide.UserPassword = "secret";
  Seed(kTwoFolders);
  list.userSelect(0);

  answers = {"Secret"};  // case matters
  editing.DeleteEntry();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0], kDeleteNotice));
  EXPECT_EQ(prompts, (std::vector<std::string>{kPromptUserPassword}));
  EXPECT_EQ(FileBytes(), kTwoFolders);

  platform.messages.clear();
  answers = {"secret"};
  platform.onMessageBox = [](const MessageBoxRequest& box) {
    return box.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
  };
  editing.DeleteEntry();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(IsMessageBox(platform.messages[1],
                           "Docsをパスワードリストから削除してもよろしいですか？",
                           MsgIcon::Question, MsgButtons::YesNo));
  EXPECT_EQ(FileBytes(), kTwoFolders);
  EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs", "Music"}));
  EXPECT_EQ(label.caption(), "登録数：2");
}

TEST_F(ListEditingTest, DeleteRemovesTheSelectedEntry) {
  processWide.UserPassword = "secret";
  Seed(kTwoFolders);
  list.userSelect(1);
  answers = {"secret"};
  editing.DeleteEntry();
  EXPECT_EQ(MessageTexts(),
            (std::vector<std::string>{kDeleteNotice,
                                      "Musicをパスワードリストから削除してもよろしいですか？"}));
  EXPECT_EQ(Stored("Music"), "<none>");
  EXPECT_EQ(Stored("Docs"), "130127119");
  EXPECT_EQ(PassCount(), "1");
  EXPECT_EQ(list.items(), (std::vector<std::string>{"Docs"}));
  EXPECT_EQ(label.caption(), "登録数：1");
}

TEST_F(ListEditingTest, DeletingTheOnlyEntryLeavesAnEmptyList) {
  // The user password was never set: a cancelled prompt matches it.
  Seed("[PasswordSetData]\r\nDocs=130127119\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  list.userSelect(0);
  answers = {std::nullopt};
  editing.DeleteEntry();
  EXPECT_TRUE(list.items().empty());
  EXPECT_EQ(PassCount(), "0");
  EXPECT_EQ(label.caption(), "登録数：0");
  EXPECT_EQ(IniReadSectionEntries(platform, kSectionPasswordSetData, DataFilePath(platform)),
            std::vector<std::string>{});
}

TEST_F(ListEditingTest, DeleteOfARowTheFileNoLongerHoldsOnlyRefreshesTheList) {
  // Docs was removed from the file by hand after the list was filled.
  const std::string edited =
      "[PasswordSetData]\r\nMusic=128\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  DeleteFirstRowAfterTheFileBecame(edited);
  EXPECT_EQ(FileBytes(), edited);
  EXPECT_EQ(list.items(), (std::vector<std::string>{"Music"}));
  EXPECT_EQ(label.caption(), "登録数：1");
}

TEST_F(ListEditingTest, DeleteWithAnUnusableCountTellsTheUserAndWritesNothing) {
  const std::string broken =
      "[PasswordSetData]\r\nDocs=130127119\r\nMusic=128\r\n[PasswordNumber]\r\nPassCount=two\r\n";
  DeleteFirstRowAfterTheFileBecame(broken);
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_TRUE(IsMessageBox(platform.messages[2], kBadCount));
  EXPECT_EQ(FileBytes(), broken);
  EXPECT_EQ(label.caption(), "登録数：2");
}

// ---- In the running program ------------------------------------------------------------------

class ListEditingInProgramTest : public ProgramFixture {};

TEST_F(ListEditingInProgramTest, AFolderAddedFromTheMainWindowIsChallengedByTheWatch) {
  ASSERT_TRUE(startResident("user"));
  const WindowId report = platform.addWindow("CabinetWClass", "C:\\Data\\Report");
  const WindowId photos = platform.addWindow("CabinetWClass", "C:\\Data\\Photos");
  front(report);
  ASSERT_EQ(scan().Text.text(), "CabinetWClass (C:\\Data\\Report)");

  // The user comes to the main window (the sampler keeps the folder) and adds it.
  scan().show();
  front(scan().window());
  typePassword("lock");
  scan().Button4.click();
  // The menu entry adds the same way.
  front(photos);
  platform.bringToFront(scan().window());
  typePassword("pics");
  scan().clickMenu("mnuEditPassSet");
  EXPECT_EQ(scan().List1.items(), (std::vector<std::string>{"Report", "Photos"}));
  EXPECT_TRUE(platform.messages.empty());

  // Back to the folder: the watch now asks for its lock password; a wrong one closes it.
  prompts.clear();
  typePassword("wrong");
  front(report);
  EXPECT_EQ(prompts, (std::vector<std::string>{kPromptLockPassword}));
  EXPECT_EQ(platform.windowState(report).closeRequests, 1);
  EXPECT_EQ(scan().Label1.caption(), "登録数：2");
}

// The list is read once for what a step needs and written once: adding reads it before asking
// (is the folder listed?) and again at the change, deleting only at the change, and each shows
// the list the change gave. A folder window coming forward reads it once; another window not at
// all. The main window's rows and count follow every change at once.
TEST_F(ListEditingInProgramTest, EachStepReadsAndWritesTheListOnlyAsOftenAsItMust) {
  writeFile("PassDat.ini", kProtectedList);
  ASSERT_TRUE(startResident("user"));
  const WindowId report = platform.addWindow("CabinetWClass", "C:\\Data\\Report");
  front(report);
  scan().show();
  front(scan().window());
  struct Counted {
    int reads, replaces;
    bool operator==(const Counted& other) const {
      return reads == other.reads && replaces == other.replaces;
    }
  };
  auto counted = [this](const std::function<void()>& step) {
    platform.readsOf.clear();
    platform.replacesOf.clear();
    step();
    return Counted{platform.readsOf["PassDat.ini"], platform.replacesOf["PassDat.ini"]};
  };

  typePassword("lock");
  EXPECT_EQ(counted([&] { scan().Button4.click(); }), (Counted{2, 1}));
  EXPECT_EQ(scan().List1.items().back(), "Report");
  EXPECT_EQ(scan().Label1.caption(), "登録数：5");

  scan().List1.userSelect(static_cast<int>(scan().List1.items().size()) - 1);
  typePassword("user");
  EXPECT_EQ(counted([&] { scan().List1.dblClick(); }), (Counted{1, 1}));
  EXPECT_EQ(scan().Label1.caption(), "登録数：4");
  EXPECT_EQ(readFile("PassDat.ini"), kProtectedList);

  EXPECT_EQ(counted([&] { open("CabinetWClass", "C:\\Docs\\Public"); }), (Counted{1, 0}));
  EXPECT_EQ(counted([&] { open("Notepad", "memo"); }), (Counted{0, 0}));
}

// The box shows what the program saw; the user can select and copy it but not type a window of
// their choosing into it and add that.
TEST_F(ListEditingInProgramTest, TheActiveFormBoxTakesNoTypedText) {
  writeFile("PassDat.ini",
            "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  ASSERT_TRUE(startResident("user"));
  open("Notepad", "memo");
  scan().show();
  front(scan().window());

  scan().Text.userSetText("ExploreWClass (C:\\Private)");
  EXPECT_EQ(scan().Text.text(), "Notepad (memo)");
  scan().Button4.click();
  EXPECT_TRUE(prompts.empty());
  EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoFolder});
  EXPECT_EQ(readFile("PassDat.ini"),
            "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n");
}

TEST_F(ListEditingInProgramTest, ADoubleClickDeletesTheSelectedRow) {
  writeFile(
      "PassDat.ini",
      "[PasswordSetData]\r\nDocs=130127119\r\nMusic=128\r\n[PasswordNumber]\r\nPassCount=2\r\n");
  ASSERT_TRUE(startResident("user"));
  ASSERT_EQ(scan().List1.items(), (std::vector<std::string>{"Docs", "Music"}));
  scan().List1.userSelect(0);
  typePassword("user");
  scan().List1.dblClick();
  EXPECT_EQ(messageTexts(),
            (std::vector<std::string>{kDeleteNotice,
                                      "Docsをパスワードリストから削除してもよろしいですか？"}));
  EXPECT_EQ(scan().List1.items(), (std::vector<std::string>{"Music"}));
  EXPECT_EQ(scan().Label1.caption(), "登録数：1");
  EXPECT_EQ(readFile("PassDat.ini"),
            "[PasswordSetData]\r\nMusic=128\r\n[PasswordNumber]\r\nPassCount=1\r\n");
}

// The real list box is filled again with every row at each change, so a list changed row by row
// costs the square of its length: 10,000 folders held the program up for minutes, unguarded.
// Shown again unchanged, as every decision on a folder window hands it on, the rows stay as they
// are, the selected one too.
TEST(ListDisplay, FillsALongListInOneChangeAndOnlyWhenItChanged) {
  FakePlatform platform;
  std::string content = "[PasswordSetData]\r\n";
  std::vector<std::string> names;
  for (int i = 0; i < 10000; ++i) {
    names.push_back("Folder " + std::to_string(i));
    content += names.back() + "=128\r\n";
  }
  content += "[PasswordNumber]\r\nPassCount=10000\r\n";
  ASSERT_TRUE(platform.replaceFile(DataFilePath(platform), content));
  ListBox list("List1");
  Label label("Label1");
  list.addItem("Old", 0);
  list.setListIndex(0);
  CountingSink toolkit;
  list.attach(&toolkit);
  ListDisplay display(list, label);

  display.Refresh(platform);
  EXPECT_EQ(list.items(), names);
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_EQ(toolkit.changes, 1);
  EXPECT_EQ(label.caption(), "登録数：10000");

  list.userSelect(5);
  display.Refresh(platform);
  EXPECT_EQ(toolkit.changes, 1);
  ASSERT_NE(display.selected(), nullptr);
  EXPECT_EQ(display.selected()->key, "Folder 5");
}

}  // namespace
}  // namespace folvane
