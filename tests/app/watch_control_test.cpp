#include <gtest/gtest.h>

#include <string>

#include "app/watch_control.h"
#include "tests/watch/watch_world.h"

namespace folvane::watch_test {
namespace {

constexpr unsigned kGreen = 65280;
constexpr unsigned kRed = 255;
constexpr char kStop[] = "ウォッチ停止";
constexpr char kStart[] = "ウォッチ動作";

class WatchControlTest : public ::testing::Test {
 protected:
  WatchControlTest() {
    world.WriteDataFile(kProtectedList);
    world.strings.UserPassword = "user";
    world.main.Timer2.onTick = [this] {
      watch.Timer2_Timer();
      world.check.ServePending();
    };
    world.main.Button2.onClick = [this] { watch.Button2_Click(); };
    world.main.Button3.onClick = [this] { watch.Button3_Click(); };
    world.main.onMouseMove = [this](double x) { watch.Form_MouseMove(x); };
  }
  void LeftClickOnTray() { world.main.onMouseMove(513); }
  bool Sampling() { return world.main.Timer1.enabled(); }
  unsigned Lamp() { return world.main.Shape1.backColor(); }

  WatchWorld world;
  WatchControl watch{world.platform,    world.main,      world.main.Timer1, world.main.Button2,
                     world.main.Shape1, world.main.Text, world.login,       world.strings};
};

TEST_F(WatchControlTest, StoppingAsksForTheUserPasswordAndTheLampFollows) {
  world.main.Timer1.setInterval(250);
  world.toolkit.advance(300);
  EXPECT_EQ(Lamp(), kGreen);

  world.answers.push_back(Typed("user", [&] {
    // While the question waits the watch is still on: ticks go on and the lamp stays green.
    world.Open("Notepad", "memo");
    world.toolkit.advance(600);
    EXPECT_EQ(world.main.Text.text(), "Notepad (memo)");
    EXPECT_EQ(Lamp(), kGreen);
  }));
  world.main.Label1.setCaption("");
  LeftClickOnTray();

  ASSERT_EQ(world.Dialogs(), 1);
  EXPECT_EQ(world.prompts[0], kPromptUserPassword);
  EXPECT_EQ(world.main.Button2.caption(), kStart);
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(world.main.Text.text(), "ウォッチ停止中");
  EXPECT_EQ(world.main.Label1.caption(), "登録数：4") << "the notice runs the lock check once";
  world.toolkit.advance(300);
  EXPECT_EQ(Lamp(), kRed);

  // Nothing is sampled any more, not even a protected folder.
  world.Folder("C:\\Docs\\Private");
  world.toolkit.advance(1000);
  EXPECT_EQ(world.main.Text.text(), "ウォッチ停止中");
  EXPECT_EQ(world.Dialogs(), 1);
}

TEST_F(WatchControlTest, AWrongOrCancelledAnswerChangesNothing) {
  for (Answer answer : {Typed("wrong"), Typed("USER"), Cancelled(), Typed("")}) {
    world.answers.push_back(answer);
    world.main.Button2.click();
    EXPECT_EQ(world.main.Button2.caption(), kStop);
    EXPECT_TRUE(Sampling());
    EXPECT_EQ(world.main.Text.text(), "");
  }
  EXPECT_EQ(world.Dialogs(), 4);
  EXPECT_TRUE(world.platform.messages.empty());
}

TEST_F(WatchControlTest, WithAnEmptyUserPasswordCancellingStopsTheWatch) {
  world.strings.UserPassword = "";
  world.answers.push_back(Cancelled());
  world.main.Button2.click();
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(world.main.Button2.caption(), kStart);
}

TEST_F(WatchControlTest, StartingAgainNeedsNoPasswordAndKeepsTheIntervalInForce) {
  world.main.Timer1.setInterval(700);
  world.answers.push_back(Typed("user"));
  world.main.Button2.click();
  world.main.Timer1.setInterval(250);  // the settings dialog changed it meanwhile

  const WindowId folder = world.platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  world.platform.bringToFront(folder);
  LeftClickOnTray();
  EXPECT_EQ(world.Dialogs(), 1) << "no question to start";
  EXPECT_EQ(world.main.Button2.caption(), kStop);
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(world.main.Timer1.interval(), 250);

  // The first tick finds the folder in front: a change from the notice, so it is challenged.
  world.answers.push_back(Typed("abc"));
  world.toolkit.advance(249);
  EXPECT_EQ(world.Dialogs(), 1);
  world.toolkit.advance(1);
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_EQ(world.prompts.back(), kPromptLockPassword);
  world.toolkit.advance(50);
  EXPECT_EQ(Lamp(), kGreen);
}

TEST_F(WatchControlTest, AnIntervalThatNeverTicksIsNeitherGreenNorKeptOverARestart) {
  world.main.Timer1.setInterval(0);  // Interval=0 in the settings file
  world.toolkit.advance(300);
  EXPECT_EQ(Lamp(), kRed) << "on in name only: nothing is sampled";

  world.answers.push_back(Typed("user"));
  world.main.Button2.click();
  world.main.Button2.click();
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(world.main.Timer1.interval(), 100);
  world.toolkit.advance(300);
  EXPECT_EQ(Lamp(), kGreen);
}

TEST_F(WatchControlTest, TrayMessages) {
  const WindowId mainWindow = world.main.window();
  for (double x : {512.0, 514.0, 515.0, 517.0, 518.0, 519.0, 0.0}) {
    world.main.onMouseMove(x);
    EXPECT_FALSE(world.main.isVisible()) << x;
  }
  EXPECT_EQ(world.Dialogs(), 0);
  EXPECT_TRUE(Sampling());

  world.main.onMouseMove(516);
  EXPECT_TRUE(world.main.isVisible());
  ASSERT_FALSE(world.platform.setForegroundCalls.empty());
  EXPECT_EQ(world.platform.setForegroundCalls.back(), mainWindow);
  ASSERT_EQ(world.platform.setActiveCalls.size(), 1u);
  EXPECT_EQ(world.platform.setActiveCalls.back(), mainWindow);
  world.main.onMouseMove(518);  // the second half of a double click
  EXPECT_TRUE(world.main.isVisible());
  world.main.onMouseMove(516);
  EXPECT_FALSE(world.main.isVisible());
  EXPECT_EQ(world.platform.setActiveCalls.size(), 1u);

  world.main.onMouseMove(516);
  world.main.Button3.click();
  EXPECT_FALSE(world.main.isVisible());

  world.answers.push_back(Typed("user"));
  world.main.onMouseMove(513);
  world.main.onMouseMove(515);
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_FALSE(Sampling());
}

TEST_F(WatchControlTest, ALeftClickWhileTheDialogIsOpenOpensNoSecondOne) {
  // With an empty user password a second question answered by nobody would stop the watch.
  world.strings.UserPassword = "";
  world.answers.push_back(Typed("not it", [&] {
    world.platform.bringToFront(0);
    LeftClickOnTray();
    EXPECT_EQ(world.platform.foregroundWindow(), world.login.window()) << "brought forward";
  }));
  LeftClickOnTray();
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_TRUE(Sampling());

  // The same while a folder is being challenged.
  world.answers.push_back(Typed("abc", [&] { LeftClickOnTray(); }));
  world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(Sampling());
  EXPECT_EQ(world.main.Button2.caption(), kStop);
}

TEST_F(WatchControlTest, AFolderComingWhileTheQuestionWaitsIsChallengedAfterIt) {
  WindowId folder = 0;
  world.answers.push_back(Typed("user", [&] {
    folder = world.Folder("C:\\Docs\\Private");
    EXPECT_FALSE(world.Enabled(folder));
  }));
  world.answers.push_back(Typed("abc"));
  LeftClickOnTray();
  EXPECT_FALSE(Sampling());
  EXPECT_EQ(world.Dialogs(), 1);
  world.toolkit.advance(300);  // the lamp's timer serves the waiting folder
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.Enabled(folder));
  EXPECT_EQ(Lamp(), kRed);
}

}  // namespace
}  // namespace folvane::watch_test
