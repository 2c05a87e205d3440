#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "tests/watch/watch_world.h"

namespace folvane::watch_test {
namespace {

constexpr char kWrong[] = "パスワードが正しくありません。";

class LockCheckTest : public ::testing::Test {
 protected:
  LockCheckTest() {
    world.WriteDataFile(kProtectedList);
    world.platform.windowsCloseOnRequest = false;  // keep closed windows observable
  }
  WatchWorld world;
};

TEST_F(LockCheckTest, WindowsThatAreNotChallenged) {
  struct Case {
    const char* why;
    std::string className, title;
  } cases[] = {
      {"not a folder window", "Notepad", "Private"},
      {"an Explorer window is never challenged", "ExploreWClass", "C:\\Docs\\Private"},
      {"no title", "CabinetWClass", ""},
      {"not in the list", "CabinetWClass", "C:\\Docs\\Public"},
      {"listed with an empty code", "CabinetWClass", "C:\\Docs\\Empty"},
      {"key taken after the last parenthesis", "CabinetWClass", "Private (D:)"},
      {"a share root gives no key", "CabinetWClass", "\\\\server\\share\\"},
  };
  for (const Case& c : cases) {
    world.main.Label1.setCaption("");
    const WindowId window = world.Open(c.className, c.title);
    EXPECT_EQ(world.main.Label1.caption(), "登録数：4") << c.why;
    EXPECT_TRUE(world.Enabled(window)) << c.why;
    EXPECT_FALSE(world.main.isVisible()) << c.why;
  }
  EXPECT_EQ(world.Dialogs(), 0);
  EXPECT_TRUE(world.platform.messages.empty());
}

// The folder window is covered from the moment it is disabled until it is given back; a window
// answered wrong keeps its cover until it has closed.
TEST_F(LockCheckTest, AnswersToTheChallenge) {
  struct Case {
    const char* why;
    std::string title;
    Answer answer;
    bool right;
    std::string cover;
  } cases[] = {
      {"right", "C:\\Docs\\Private", Typed("abc"), true, "「Private」はロックされています"},
      {"letter case counts", "C:\\Docs\\Private", Typed("ABC"), false,
       "「Private」はロックされています"},
      {"cancel", "C:\\Docs\\Private", Cancelled(), false, "「Private」はロックされています"},
      {"OK with both boxes empty", "C:\\Docs\\Private", Typed(""), false,
       "「Private」はロックされています"},
      {"only the folder name counts", "Private", Typed("abc"), true,
       "「Private」はロックされています"},
      {"a drive root keeps its backslash", "C:\\", Typed("def"), true,
       "「C:\\」はロックされています"},
      {"C:\\Windows\\ is the drive root too", "C:\\Windows\\", Typed("def"), true,
       "「C:\\」はロックされています"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.why);
    world.platform.messages.clear();
    world.platform.setForegroundCalls.clear();
    const WindowId target = world.platform.addWindow("CabinetWClass", c.title);
    int covered = 0;
    // Nothing of the program shows before the folder is covered.
    world.platform.onCover = [&](WindowId window) {
      ++covered;
      EXPECT_EQ(window, target);
      EXPECT_FALSE(world.main.isVisible());
      EXPECT_FALSE(world.login.IsOpen());
    };
    world.answers.push_back(Answer{c.answer.password, [&] {
                                     EXPECT_FALSE(world.Enabled(target));
                                     EXPECT_TRUE(world.main.isVisible());
                                     EXPECT_EQ(world.CoverOf(target), c.cover);
                                     EXPECT_EQ(world.platform.covers.size(), 1u);
                                   }});
    const int before = world.Dialogs();
    world.Front(target);
    EXPECT_EQ(covered, 1);

    ASSERT_EQ(world.Dialogs(), before + 1);
    EXPECT_EQ(world.prompts.back(), kPromptLockPassword);
    // The main window was brought forward before the dialog came up.
    const auto& calls = world.platform.setForegroundCalls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), world.main.window());
    EXPECT_EQ(calls.back(), target);

    EXPECT_TRUE(world.Enabled(target));
    EXPECT_FALSE(world.main.isVisible());
    EXPECT_EQ(world.platform.windowState(target).closeRequests, c.right ? 0 : 1);
    EXPECT_EQ(world.MessagesSaying(kWrong), c.right ? 0 : 1);
    if (!c.right) {
      EXPECT_EQ(world.platform.messages.back().caption, "Folvane");
      EXPECT_EQ(world.platform.messages.back().icon, MsgIcon::Warning);
    }
    EXPECT_TRUE(world.check.held().empty());
    if (c.right) {
      EXPECT_FALSE(world.CoverOf(target)) << "the cover outlived a right answer";
    } else {
      // Told to close, the window is still there: the cover stays over it until it goes.
      EXPECT_EQ(world.CoverOf(target), c.cover);
      world.toolkit.advance(600);
      EXPECT_EQ(world.CoverOf(target), c.cover);
      world.platform.destroyWindow(target);
    }
    // Leave for a window that is not challenged, so the next case starts afresh.
    world.Open("Notepad", "between");
    EXPECT_TRUE(world.platform.covers.empty()) << "a cover stayed after its window had gone";
  }
}

TEST_F(LockCheckTest, AWindowAnsweredWrongThatDoesNotCloseIsUncoveredAfterAFewSeconds) {
  world.answers.push_back(Typed("bad"));
  const WindowId folder = world.Folder("C:\\Docs\\Private");
  ASSERT_EQ(world.platform.windowState(folder).closeRequests, 1);
  world.toolkit.advance(1000);
  EXPECT_TRUE(world.CoverOf(folder));
  world.toolkit.advance(2200);
  EXPECT_FALSE(world.CoverOf(folder));
  EXPECT_TRUE(world.Enabled(folder));
}

TEST_F(LockCheckTest, AfterARightAnswerTheFolderIsAskedAgainOnlyAfterAnotherForeignWindow) {
  world.answers = {Typed("abc"), Typed("abc")};
  const WindowId folder = world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 1);
  world.Front(world.main.window());
  world.Front(folder);
  EXPECT_EQ(world.Dialogs(), 1) << "the program's own window leaves the text unchanged";
  world.Open("Notepad", "memo");
  world.Front(folder);
  EXPECT_EQ(world.Dialogs(), 2);
}

TEST_F(LockCheckTest, ACountOfZeroChallengesNothingAndEmptyTextDoesNothing) {
  world.main.Label1.setCaption("unchanged");
  world.main.Text.setText("x");
  world.main.Text.setText("");
  EXPECT_EQ(world.main.Label1.caption(), "登録数：4");

  world.main.Label1.setCaption("unchanged");
  world.main.Text.setText("");
  world.check.Text_Change();
  EXPECT_EQ(world.main.Label1.caption(), "unchanged") << "an empty text stops first";

  world.WriteDataFile(
      "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\nPassCount=0\r\n");
  const WindowId folder = world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.main.Label1.caption(), "登録数：0");
  EXPECT_TRUE(world.Enabled(folder));
  EXPECT_EQ(world.Dialogs(), 0);

  world.platform.bringToFront(0);
  std::remove(world.platform.pathOf("PassDat.ini").c_str());
  world.main.Text.setText("ウォッチ停止中");
  EXPECT_EQ(world.main.Label1.caption(), "登録数：0") << "no file reads as no entries";
  EXPECT_TRUE(world.platform.messages.empty());
}

TEST_F(LockCheckTest, AMalformedLockCodeEndsTheRunWithTheErrorReport) {
  struct Case {
    const char* why;
    std::string code;
    std::string report;
  } cases[] = {
      {"code not digits", "11a117118", "エラー 13\r\n型が一致しません。"},
      {"code gives no character", "999",
       "エラー 5\r\nプロシージャの呼び出し、または引数が不正です。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    world.WriteDataFile("[PasswordSetData]\r\nPrivate=" + c.code +
                        "\r\n[PasswordNumber]\r\nPassCount=1\r\n");
    world.platform.messages.clear();
    world.main.Label1.setCaption("old");
    // The report comes after the folder window was given back and the main window hidden.
    world.platform.onMessageBox = [&](const MessageBoxRequest&) {
      for (WindowId held : world.check.held()) ADD_FAILURE() << "still held: " << held;
      EXPECT_TRUE(world.platform.covers.empty()) << "a cover stays behind the report";
      EXPECT_FALSE(world.main.isVisible());
      return MsgAnswer::Ok;
    };
    const WindowId folder = world.Folder("C:\\Docs\\Private");
    ASSERT_EQ(world.platform.messages.size(), 1u);
    EXPECT_EQ(world.platform.messages[0].text, c.report);
    EXPECT_EQ(world.platform.messages[0].caption, "Folvane");
    EXPECT_EQ(world.platform.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(world.Enabled(folder));
    EXPECT_FALSE(world.main.isVisible());
    EXPECT_EQ(world.main.Label1.caption(), "登録数：1");
    world.Open("Notepad", "between");
  }
  EXPECT_EQ(world.Dialogs(), 0);
}

// A damaged count must neither flood the desktop with reports nor switch the guard off.
TEST_F(LockCheckTest, ABadCountIsReportedOnceAndTheListedFoldersAreStillChallenged) {
  const std::string typeMismatch = "エラー 13\r\n型が一致しません。";
  const std::string overflow = "エラー 6\r\nオーバーフローしました。";
  auto withCount = [](const std::string& count) {
    std::string list = kProtectedList;
    return list.replace(list.find("PassCount=4"), 11, "PassCount=" + count);
  };
  std::vector<std::string> reports;
  world.platform.onMessageBox = [&](const MessageBoxRequest& box) {
    if (box.text.rfind("エラー", 0) == 0) reports.push_back(box.text);
    if (reports.size() > 5) return MsgAnswer::Ok;  // a flood: stop it here, the checks tell
    // Its own box in front and windows changing behind it start no further report.
    world.Open("#32770", "Folvane");
    world.Open("Notepad", "behind the report");
    world.Open("CabinetWClass", "C:\\Docs\\Public");
    return MsgAnswer::Ok;
  };
  world.main.Label1.setCaption("登録数：4");

  world.WriteDataFile(withCount("abc"));
  world.Open("Notepad", "memo");
  world.Open("CabinetWClass", "C:\\Docs\\Public");
  EXPECT_EQ(reports, std::vector<std::string>{typeMismatch});
  EXPECT_EQ(world.main.Label1.caption(), "登録数：4") << "a bad count is not shown";

  // A listed folder is asked for all the same, and the report waits until it is shut.
  world.answers.push_back(Typed("abc", [&] { EXPECT_EQ(reports.size(), 1u); }));
  const WindowId folder = world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_TRUE(world.Enabled(folder));
  world.answers.push_back(Typed("wrong"));
  const WindowId other = world.Folder("D:\\Other");
  EXPECT_EQ(world.platform.windowState(other).closeRequests, 1);
  EXPECT_EQ(world.Dialogs(), 2);
  world.Open("CabinetWClass", "C:\\Docs\\Empty");
  EXPECT_EQ(world.Dialogs(), 2) << "a listed folder without a code is not asked for";
  EXPECT_EQ(reports, std::vector<std::string>{typeMismatch});

  // Another bad value is reported, once.
  world.WriteDataFile(withCount("40000"));
  world.Open("Notepad", "memo");
  world.Open("Notepad", "memo 2");
  EXPECT_EQ(reports, (std::vector<std::string>{typeMismatch, overflow}));

  // Once mended, the count shows; damaged again the same way, it is reported again.
  world.WriteDataFile(withCount("4"));
  world.Open("Notepad", "memo");
  EXPECT_EQ(world.main.Label1.caption(), "登録数：4");
  world.WriteDataFile(withCount("40000"));
  world.Open("Notepad", "memo 2");
  EXPECT_EQ(reports, (std::vector<std::string>{typeMismatch, overflow, overflow}));
  EXPECT_TRUE(world.check.held().empty());
}

// Reported by the run that found it, in a run served from the queue too.
TEST_F(LockCheckTest, ABadCountFoundByAWaitingFolderIsReportedAfterItsChallenge) {
  WindowId second = 0;
  world.answers.push_back(Typed("abc", [&] {
    second = world.Folder("D:\\Other");
    std::string list = kProtectedList;
    world.WriteDataFile(list.replace(list.find("PassCount=4"), 11, "PassCount=x"));
  }));
  world.answers.push_back(Typed("xyz", [&] { EXPECT_TRUE(world.platform.messages.empty()); }));
  world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.Enabled(second));
  ASSERT_EQ(world.platform.messages.size(), 1u);
  EXPECT_EQ(world.platform.messages[0].text, "エラー 13\r\n型が一致しません。");
}

// ---- A second protected folder while the dialog is taken ---------------------------------------

TEST_F(LockCheckTest, ASecondFolderWaitsDisabledAndIsChallengedWhenTheFirstIsDone) {
  WindowId second = 0;
  world.answers.push_back(Typed("abc", [&] {
    second = world.Folder("D:\\Other");
    EXPECT_FALSE(world.Enabled(second)) << "disabled at once";
    EXPECT_EQ(world.CoverOf(second), "「Other」はロックされています") << "covered at once";
    EXPECT_EQ(world.Dialogs(), 1) << "no second dialog while the first waits";
    world.toolkit.advance(1000);  // more ticks with the second folder in front
    EXPECT_EQ(world.Dialogs(), 1);
  }));
  world.answers.push_back(Typed("xyz", [&] {
    EXPECT_EQ(world.CoverOf(second), "「Other」はロックされています");
    EXPECT_EQ(world.platform.covers.size(), 1u) << "the first folder was given back covered";
  }));
  const WindowId first = world.Folder("C:\\Docs\\Private");

  ASSERT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.Enabled(first));
  EXPECT_TRUE(world.Enabled(second));
  EXPECT_EQ(world.platform.foregroundWindow(), second);
  EXPECT_FALSE(world.main.isVisible());
  EXPECT_TRUE(world.mainVisibleAtDialog);
  EXPECT_TRUE(world.check.held().empty());
  EXPECT_TRUE(world.platform.covers.empty());
  EXPECT_TRUE(world.platform.messages.empty());

  // Both were answered right in one go: moving between them asks nothing again ...
  world.Front(first);
  world.Front(second);
  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 2);
  // ... until a window that is not challenged has been in front.
  world.Open("Notepad", "memo");
  world.answers.push_back(Typed("abc"));
  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 3);
}

TEST_F(LockCheckTest, WrongAnswerForTheFirstStillChallengesTheSecond) {
  WindowId second = 0;
  world.answers.push_back(Cancelled([&] { second = world.Folder("D:\\Other"); }));
  world.answers.push_back(Typed("nope"));
  const WindowId first = world.Folder("C:\\Docs\\Private");
  ASSERT_EQ(world.Dialogs(), 2);
  EXPECT_EQ(world.platform.windowState(first).closeRequests, 1);
  EXPECT_EQ(world.platform.windowState(second).closeRequests, 1);
  EXPECT_EQ(world.MessagesSaying(kWrong), 2);
  EXPECT_TRUE(world.Enabled(first));
  EXPECT_TRUE(world.Enabled(second));
}

TEST_F(LockCheckTest, AWrongAnswerForTheSecondDoesNotAskTheFirstAgain) {
  WindowId second = 0;
  world.answers.push_back(Typed("abc", [&] { second = world.Folder("D:\\Other"); }));
  world.answers.push_back(Typed("bad"));
  // The wrong-answer message comes to the front while it is shown, as a real one does.
  // Then, for a moment, no window is in front at all.
  world.platform.onMessageBox = [&](const MessageBoxRequest&) {
    world.platform.destroyWindow(world.Open("#32770", "Folvane"));
    world.Front(0);
    return MsgAnswer::Ok;
  };
  const WindowId first = world.Folder("C:\\Docs\\Private");
  ASSERT_EQ(world.Dialogs(), 2);
  EXPECT_EQ(world.MessagesSaying(kWrong), 1);

  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 2) << "the first folder was answered right in this chain";
  EXPECT_TRUE(world.Enabled(first));
}

TEST_F(LockCheckTest, FoldersComingWhileTheWrongAnswerMessageWaitsAreQueuedToo) {
  WindowId second = 0;
  world.platform.onMessageBox = [&](const MessageBoxRequest&) {
    if (!second) second = world.Folder("D:\\Other");
    return MsgAnswer::Ok;
  };
  world.answers = {Typed("bad"), Typed("xyz")};
  world.Folder("C:\\Docs\\Private");
  ASSERT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.Enabled(second));
  EXPECT_EQ(world.platform.windowState(second).closeRequests, 0);
}

TEST_F(LockCheckTest, AWindowWaitsOnceAndTheOpenChallengeIsNotQueued) {
  WindowId first = 0, second = 0;
  world.answers.push_back(Typed("abc", [&] {
    second = world.Folder("D:\\Other");
    world.Open("Notepad", "memo");
    world.Front(second);
    world.Front(first);  // the window being asked for comes forward itself
    world.Front(second);
  }));
  world.answers.push_back(Typed("xyz"));
  first = world.platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.Enabled(first));
  EXPECT_TRUE(world.Enabled(second));
}

// A waiting window that went away is dropped; the cover of any window that went away, waiting or
// being asked for, is removed at the next tick.
TEST_F(LockCheckTest, AWindowThatWentAwayIsDroppedAndLosesItsCover) {
  WindowId first = 0;
  world.answers.push_back(Typed("abc", [&] {
    const WindowId second = world.Folder("D:\\Other");
    ASSERT_EQ(world.platform.covers.size(), 2u);
    world.platform.destroyWindow(second);
    world.toolkit.advance(100);
    EXPECT_FALSE(world.CoverOf(second)) << "a waiting window";
    EXPECT_TRUE(world.CoverOf(first));
    world.platform.destroyWindow(first);
    world.toolkit.advance(100);
    EXPECT_FALSE(world.CoverOf(first)) << "the window being asked for";
  }));
  first = world.platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_TRUE(world.check.held().empty());
  EXPECT_TRUE(world.platform.covers.empty());
}

TEST_F(LockCheckTest, AWaitingWindowIsReadAgainWhenItsTurnComes) {
  WindowId second = 0;
  world.answers.push_back(Typed("abc", [&] {
    second = world.Folder("D:\\Other");
    // Meanwhile the folder leaves the list: it is given back unasked.
    world.WriteDataFile(
        "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  }));
  world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_TRUE(world.Enabled(second));

  // A code that turned bad meanwhile is reported, and the window is given back all the same.
  WindowId third = 0;
  world.Open("Notepad", "memo");
  world.answers.push_back(Typed("abc", [&] {
    world.WriteDataFile(
        "[PasswordSetData]\r\nPrivate=116117118\r\nOther=1x\r\n[PasswordNumber]\r\nPassCount="
        "2\r\n");
    third = world.Folder("D:\\Other");
  }));
  world.Front(world.platform.addWindow("CabinetWClass", "C:\\Docs\\Private"));
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_EQ(world.platform.messages.size(), 1u);
  EXPECT_TRUE(world.Enabled(third));
  EXPECT_TRUE(world.check.held().empty());
  EXPECT_TRUE(world.platform.covers.empty()) << "given back unasked, or after an error";
}

TEST_F(LockCheckTest, FoldersComingWhileTheDialogAnswersSomethingElseAreServedAfterIt) {
  // The dialog is open for the user password (the watch toggle, the close query ...).
  WindowId folder = 0;
  world.answers.push_back(Typed("user", [&] {
    folder = world.Folder("C:\\Docs\\Private");
    EXPECT_FALSE(world.Enabled(folder));
    EXPECT_TRUE(world.CoverOf(folder));
    world.toolkit.advance(600);  // the check waits while the question is open
  }));
  EXPECT_EQ(world.login.Ask(kPromptUserPassword), "user");
  EXPECT_EQ(world.Dialogs(), 1);
  EXPECT_FALSE(world.Enabled(folder));

  world.answers.push_back(Typed("abc"));
  world.toolkit.advance(300);
  ASSERT_EQ(world.Dialogs(), 2);
  EXPECT_EQ(world.prompts.back(), kPromptLockPassword);
  EXPECT_TRUE(world.Enabled(folder));
  EXPECT_EQ(world.platform.foregroundWindow(), folder);
  EXPECT_TRUE(world.check.held().empty());
  EXPECT_TRUE(world.platform.covers.empty());
}

TEST_F(LockCheckTest, ReleaseAllGivesBackEveryHeldWindow) {
  WindowId first = 0, second = 0;
  world.answers.push_back(Typed("abc", [&] {
    second = world.Folder("D:\\Other");
    EXPECT_EQ(world.check.held().size(), 2u);
    world.check.ReleaseAll();
    EXPECT_TRUE(world.Enabled(first));
    EXPECT_TRUE(world.Enabled(second));
  }));
  first = world.platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  world.Front(first);
  EXPECT_EQ(world.Dialogs(), 1) << "a released window no longer waits";
  EXPECT_TRUE(world.check.held().empty());
}

// At the end of the program no cover stays: not over a window being asked for, nor over one
// waiting, nor over one answered wrong that has not closed yet.
TEST_F(LockCheckTest, ReleaseAllRemovesEveryCover) {
  WindowId first = 0, second = 0, third = 0;
  world.answers.push_back(Cancelled([&] {
    second = world.Folder("D:\\Other");
    third = world.Folder("C:\\");
  }));
  world.answers.push_back(Typed("xyz", [&] {
    EXPECT_EQ(world.platform.covers.size(), 3u);
    world.check.ReleaseAll();
    EXPECT_TRUE(world.platform.covers.empty());
    EXPECT_TRUE(world.Enabled(second));
    EXPECT_TRUE(world.Enabled(third));
  }));
  first = world.Folder("C:\\Docs\\Private");
  EXPECT_EQ(world.Dialogs(), 2);
  EXPECT_TRUE(world.platform.covers.empty());
  EXPECT_TRUE(world.Enabled(first));
}

}  // namespace
}  // namespace folvane::watch_test
