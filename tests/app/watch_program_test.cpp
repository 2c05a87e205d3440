// The watch in the running program: the main window's own timers, tray callback and dialogs.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kLockPrompt[] = "ロック用パスワードを入力して下さい。";
constexpr char kUserPrompt[] = "ユーザパスワードを入力して下さい。";
constexpr unsigned kGreen = 65280;
constexpr unsigned kRed = 255;

class WatchProgram : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini",
              "[PasswordSetData]\r\nPrivate=116117118\r\nOther=139140141\r\n"
              "[PasswordNumber]\r\nPassCount=2\r\n");
    writeFile("Folvane.ini", "[Timer]\r\nInterval=200\r\n");
    ASSERT_TRUE(startResident("user"));
  }
};

TEST_F(WatchProgram, AProtectedFolderIsChallengedAndClosedOnAWrongAnswer) {
  typePassword("abc");
  const WindowId folder = open("CabinetWClass", "C:\\Docs\\Private");
  ASSERT_EQ(prompts, std::vector<std::string>{kLockPrompt});
  EXPECT_EQ(scan().Label1.caption(), "登録数：2");
  EXPECT_TRUE(enabled(folder));
  EXPECT_EQ(platform.foregroundWindow(), folder);
  EXPECT_FALSE(scan().isVisible());
  EXPECT_TRUE(platform.messages.empty());

  open("Notepad", "memo");
  typePassword("abd");
  front(folder);
  ASSERT_EQ(prompts.size(), 2u);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"パスワードが正しくありません。"});
  EXPECT_FALSE(platform.windowExists(folder));
  EXPECT_FALSE(scan().isVisible());
}

TEST_F(WatchProgram, TrayStopAndStartWithTheLampFollowing) {
  toolkit.advance(300);
  EXPECT_EQ(scan().Shape1.backColor(), kGreen);

  typePassword("user");
  scan().onTrayClick(TrayClick::Left);
  EXPECT_EQ(prompts, std::vector<std::string>{kUserPrompt});
  EXPECT_EQ(scan().Button2.caption(), "ウォッチ動作");
  EXPECT_EQ(scan().Text.text(), "ウォッチ停止中");
  toolkit.advance(300);
  EXPECT_EQ(scan().Shape1.backColor(), kRed);

  scan().onTrayClick(TrayClick::Left);
  EXPECT_EQ(prompts.size(), 1u);
  EXPECT_EQ(scan().Button2.caption(), "ウォッチ停止");
  EXPECT_EQ(scan().Timer1.interval(), 200);
  toolkit.advance(300);
  EXPECT_EQ(scan().Shape1.backColor(), kGreen);
}

// With the watch stopped only the lamp's timer ticks: the cover of the folder still follows it.
TEST_F(WatchProgram, AFolderComingDuringTheStopQuestionIsChallengedRightAfter) {
  WindowId folder = 0;
  whenShown("frmLogin", [&](Form& form) {
    folder = open("CabinetWClass", "D:\\Other");
    EXPECT_FALSE(enabled(folder));
    EXPECT_TRUE(platform.covers.count(folder));
    auto& dialog = static_cast<LoginForm&>(form);
    dialog.txtPassword1.userSetText("user");
    dialog.txtPassword2.userSetText("user");
    dialog.cmdOK.click();
  });
  whenShown("frmLogin", [&](Form& form) {
    EXPECT_FALSE(scan().Timer1.enabled());
    const int follows = platform.coverFollows;
    toolkit.advance(600);
    EXPECT_GE(platform.coverFollows, follows + 2);
    auto& dialog = static_cast<LoginForm&>(form);
    dialog.txtPassword1.userSetText("xyz");
    dialog.txtPassword2.userSetText("xyz");
    dialog.cmdOK.click();
  });
  scan().onTrayClick(TrayClick::Left);
  EXPECT_EQ(scan().Button2.caption(), "ウォッチ動作");
  toolkit.advance(300);
  EXPECT_EQ(prompts, (std::vector<std::string>{kUserPrompt, kLockPrompt}));
  EXPECT_TRUE(enabled(folder));
  EXPECT_EQ(platform.foregroundWindow(), folder);
}

TEST_F(WatchProgram, TheEndOfTheSessionGivesBackEveryFolderHeldDisabled) {
  WindowId first = 0, second = 0;
  whenShown("frmLogin", [&](Form& form) {
    second = open("CabinetWClass", "D:\\Other");
    ASSERT_FALSE(enabled(first));
    ASSERT_FALSE(enabled(second));
    EXPECT_EQ(platform.covers.size(), 2u);
    EXPECT_TRUE(closeMainWindow(kCloseFromSystem));
    EXPECT_TRUE(enabled(first));
    EXPECT_TRUE(enabled(second));
    EXPECT_TRUE(platform.covers.empty());
    static_cast<LoginForm&>(form).cmdCancel.click();
  });
  first = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  front(first);
  EXPECT_TRUE(platform.exited);
}

// The about box closes by its timer while a folder's challenge, opened inside it, is still
// waiting: the main window must stay disabled under the password dialog until that ends too.
TEST_F(WatchProgram, TheAboutBoxEndingUnderAChallengeLeavesTheMainWindowDisabled) {
  scan().show();
  const WindowId main = scan().window();
  WindowId folder = 0;
  bool mainDisabledUnderAbout = false, aboutClosedFirst = false, mainUsableUnderDialog = true;
  whenShown("frmSplash", [&](Form&) {
    mainDisabledUnderAbout = !enabled(main);
    folder = open("CabinetWClass", "C:\\Docs\\Private");
  });
  whenShown("frmLogin", [&](Form& form) {
    toolkit.advance(2500);
    aboutClosedFirst = !program.frmSplash.isLoaded();
    mainUsableUnderDialog = enabled(main);
    auto& dialog = static_cast<LoginForm&>(form);
    dialog.txtPassword1.userSetText("abc");
    dialog.txtPassword2.userSetText("abc");
    dialog.cmdOK.click();
  });
  scan().clickMenu("mnuHelpAbout");
  EXPECT_TRUE(mainDisabledUnderAbout);
  EXPECT_TRUE(aboutClosedFirst);
  EXPECT_FALSE(mainUsableUnderDialog);
  EXPECT_EQ(prompts, std::vector<std::string>{kLockPrompt});
  EXPECT_TRUE(enabled(main));
  EXPECT_TRUE(enabled(folder));
  EXPECT_TRUE(platform.messages.empty());
}

// A PassCount damaged while the program runs: one report however the windows change, its own
// report box included; the listed folders stay guarded; the list cannot be changed.
TEST_F(WatchProgram, ADamagedCountIsReportedOnceAndTheGuardGoesOn) {
  const std::string badCount =
      "パスワードリストの登録数が正しくないため、変更できません。PassDat.ini を確認して下さい。";
  ASSERT_EQ(scan().List1.items(), (std::vector<std::string>{"Private", "Other"}));
  writeFile("PassDat.ini",
            "[PasswordSetData]\r\nPrivate=116117118\r\nOther=139140141\r\n"
            "[PasswordNumber]\r\nPassCount=abc\r\n");
  int reports = 0;
  platform.onMessageBox = [&](const MessageBoxRequest& box) {
    if (box.text.rfind("エラー", 0) == 0 && ++reports < 5) {
      // The box comes to the front and is sampled; the user clicks other windows meanwhile.
      openOwn("#32770", "Folvane");
      open("Notepad", "behind the box");
      openOwn("#32770", "Folvane");
    }
    return box.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
  };

  open("CabinetWClass", "C:\\Docs\\Public");
  open("CabinetWClass", "C:\\Docs\\Shared");
  EXPECT_EQ(reports, 1);

  typePassword("abc");
  const WindowId folder = open("CabinetWClass", "C:\\Docs\\Private");
  EXPECT_EQ(prompts, std::vector<std::string>{kLockPrompt});
  EXPECT_TRUE(enabled(folder));

  // Adding the folder in front and deleting a row both refuse with their message.
  open("CabinetWClass", "C:\\New");
  platform.messages.clear();
  typePassword("new");
  scan().Button4.click();
  scan().List1.userSelect(0);
  typePassword("user");
  scan().List1.dblClick();
  EXPECT_EQ(messageTexts(),
            (std::vector<std::string>{badCount, "選択したデータを削除します。",
                                      "Privateをパスワードリストから削除してもよろしいですか？",
                                      badCount}));
  EXPECT_EQ(readFile("PassDat.ini"),
            "[PasswordSetData]\r\nPrivate=116117118\r\nOther=139140141\r\n"
            "[PasswordNumber]\r\nPassCount=abc\r\n");
  EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace folvane
