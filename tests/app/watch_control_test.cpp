#include <gtest/gtest.h>

#include "platform/tray_click.h"

#include <string>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr unsigned kGreen = 65280;
constexpr unsigned kRed = 255;
constexpr char kStop[] = "ウォッチ停止";
constexpr char kStart[] = "ウォッチ動作";

// The watch switch, the lamp and the tray messages of the running program.
class WatchControlTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    ASSERT_TRUE(startResident("user"));
  }
  void LeftClickOnTray() { scan().onTrayClick(TrayClick::Left); }
  bool Sampling() { return scan().Timer1.enabled(); }
  unsigned Lamp() { return scan().Shape1.backColor(); }
};

TEST_F(WatchControlTest, StoppingAsksForTheUserPasswordAndTheLampFollows) {
  scan().Timer1.setInterval(250);
  toolkit.advance(300);
  EXPECT_EQ(Lamp(), kGreen);

  answerPassword(Typed("user", [&] {
    // While the question waits the watch is still on: ticks go on and the lamp stays green.
    open("Notepad", "memo");
    toolkit.advance(600);
    EXPECT_EQ(scan().Text.text(), "Notepad (memo)");
    EXPECT_EQ(Lamp(), kGreen);
  }));
  LeftClickOnTray();

  ASSERT_EQ(dialogs(), 1);
  EXPECT_EQ(prompts[0], kPromptUserPassword);
  EXPECT_EQ(scan().Button2.caption(), kStart);
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(scan().Text.text(), "ウォッチ停止中");
  EXPECT_EQ(scan().Label1.caption(), "登録数：4") << "the count stays as shown";
  toolkit.advance(300);
  EXPECT_EQ(Lamp(), kRed);

  // Nothing is sampled any more, not even a protected folder.
  openFolder("C:\\Docs\\Private");
  toolkit.advance(1000);
  EXPECT_EQ(scan().Text.text(), "ウォッチ停止中");
  EXPECT_EQ(dialogs(), 1);
}

TEST_F(WatchControlTest, AWrongOrCancelledAnswerChangesNothing) {
  for (Answer answer : {Typed("wrong"), Typed("USER"), Cancelled(), Typed("")}) {
    answerPassword(answer);
    scan().Button2.click();
    EXPECT_EQ(scan().Button2.caption(), kStop);
    EXPECT_TRUE(Sampling());
    EXPECT_EQ(scan().Text.text(), "");
  }
  EXPECT_EQ(dialogs(), 4);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(WatchControlTest, WithAnEmptyUserPasswordCancellingStopsTheWatch) {
  program.processWide.UserPassword = "";
  answerPassword(Cancelled());
  scan().Button2.click();
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(scan().Button2.caption(), kStart);
}

TEST_F(WatchControlTest, StartingAgainNeedsNoPasswordAndKeepsTheIntervalInForce) {
  scan().Timer1.setInterval(700);
  answerPassword(Typed("user"));
  scan().Button2.click();
  scan().Timer1.setInterval(250);  // the settings dialog changed it meanwhile

  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  platform.bringToFront(folder);
  LeftClickOnTray();
  EXPECT_EQ(dialogs(), 1) << "no question to start";
  EXPECT_EQ(scan().Button2.caption(), kStop);
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(scan().Timer1.interval(), 250);

  // The first tick finds the folder in front: a change from the notice, so it is challenged.
  answerPassword(Typed("abc"));
  toolkit.advance(249);
  EXPECT_EQ(dialogs(), 1);
  toolkit.advance(1);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_EQ(prompts.back(), kPromptLockPassword);
  toolkit.advance(50);
  EXPECT_EQ(Lamp(), kGreen);
}

TEST_F(WatchControlTest, AnIntervalThatNeverTicksIsNeitherGreenNorKeptOverARestart) {
  scan().Timer1.setInterval(0);  // Interval=0 in the settings file
  toolkit.advance(300);
  EXPECT_EQ(Lamp(), kRed) << "on in name only: nothing is sampled";

  answerPassword(Typed("user"));
  scan().Button2.click();
  scan().Button2.click();
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(scan().Timer1.interval(), 100);
  toolkit.advance(300);
  EXPECT_EQ(Lamp(), kGreen);
}

// The notification area sends every mouse message on the icon; only the press of the left or
// the right button is a click.
TEST(TrayClickTest, OnlyAButtonPressIsAClick) {
  EXPECT_EQ(TrayClickOf(513), TrayClick::Left);   // WM_LBUTTONDOWN
  EXPECT_EQ(TrayClickOf(516), TrayClick::Right);  // WM_RBUTTONDOWN
  // Moving, letting go, double clicks, the middle button, nothing.
  for (int message : {512, 514, 515, 517, 518, 519, 520, 0})
    EXPECT_EQ(TrayClickOf(message), std::nullopt) << message;
}

TEST_F(WatchControlTest, TrayClicks) {
  const WindowId mainWindow = scan().window();

  scan().onTrayClick(TrayClick::Right);
  EXPECT_TRUE(scan().isVisible());
  ASSERT_FALSE(platform.setForegroundCalls.empty());
  EXPECT_EQ(platform.setForegroundCalls.back(), mainWindow);
  ASSERT_EQ(platform.setActiveCalls.size(), 1u);
  EXPECT_EQ(platform.setActiveCalls.back(), mainWindow);
  scan().onTrayClick(TrayClick::Right);
  EXPECT_FALSE(scan().isVisible());
  EXPECT_EQ(platform.setActiveCalls.size(), 1u);

  scan().onTrayClick(TrayClick::Right);
  scan().Button3.click();
  EXPECT_FALSE(scan().isVisible());

  answerPassword(Typed("user"));
  scan().onTrayClick(TrayClick::Left);
  EXPECT_EQ(dialogs(), 1);
  EXPECT_FALSE(Sampling());
}

TEST_F(WatchControlTest, ALeftClickWhileTheDialogIsOpenOpensNoSecondOne) {
  // With an empty user password a second question answered by nobody would stop the watch.
  program.processWide.UserPassword = "";
  answerPassword(Typed("not it", [&] {
    platform.bringToFront(0);
    LeftClickOnTray();
    EXPECT_EQ(platform.foregroundWindow(), login().window()) << "brought forward";
  }));
  LeftClickOnTray();
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(Sampling());

  // The same while a folder is being challenged.
  answerPassword(Typed("abc", [&] { LeftClickOnTray(); }));
  openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(scan().Button2.caption(), kStop);
}

TEST_F(WatchControlTest, AFolderComingWhileTheQuestionWaitsIsChallengedAfterIt) {
  WindowId folder = 0;
  answerPassword(Typed("user", [&] {
    folder = openFolder("C:\\Docs\\Private");
    EXPECT_FALSE(enabled(folder));
  }));
  answerPassword(Typed("abc"));
  LeftClickOnTray();
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(dialogs(), 1);
  toolkit.advance(300);  // the lamp's timer serves the waiting folder
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(folder));
  EXPECT_EQ(Lamp(), kRed);
}

}  // namespace
}  // namespace folvane
