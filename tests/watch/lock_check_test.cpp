#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kWrong[] = "パスワードが正しくありません。";

// The lock check in the running program, driven by the main window's own timers.
class LockCheckTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    platform.windowsCloseOnRequest = false;  // keep closed windows observable
    ASSERT_TRUE(startResident());
  }
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
    const WindowId window = open(c.className, c.title);
    EXPECT_EQ(scan().Label1.caption(), "登録数：4") << c.why;
    EXPECT_TRUE(enabled(window)) << c.why;
    EXPECT_FALSE(scan().isVisible()) << c.why;
  }
  EXPECT_EQ(dialogs(), 0);
  EXPECT_TRUE(platform.messages.empty());
}

// The folder window is covered from the moment it is disabled until it is given back; a window
// answered wrong keeps its cover until it has closed.
// A folder named like one of the program's windows is a folder like any other: the program knows
// its own windows by their process, not by their titles.
TEST_F(LockCheckTest, AFolderNamedLikeTheProgramsWindowsIsChallenged) {
  writeFile("PassDat.ini",
            "[PasswordSetData]\r\nKelmora=116117118\r\nKelmora-設定=116117118\r\n"
            "Kelmora-パスワード入力=116117118\r\nFolvane=116117118\r\n"
            "[PasswordNumber]\r\nPassCount=4\r\n");
  for (const char* title :
       {"Kelmora", "Kelmora-設定", "Kelmora-パスワード入力", "C:\\Kelmora", "Folvane"}) {
    SCOPED_TRACE(title);
    const int before = dialogs();
    answerPassword(Typed("abc"));
    const WindowId folder = openFolder(title);
    EXPECT_EQ(dialogs(), before + 1);
    EXPECT_TRUE(enabled(folder));
    open("Notepad", "between");
  }
  EXPECT_TRUE(platform.messages.empty());
}

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
    platform.messages.clear();
    platform.setForegroundCalls.clear();
    const WindowId target = platform.addWindow("CabinetWClass", c.title);
    int covered = 0;
    // Nothing of the program shows before the folder is covered, and the folder is disabled
    // before that: the disable waits for no drawing of the program's.
    platform.onCover = [&](WindowId window) {
      ++covered;
      EXPECT_EQ(window, target);
      EXPECT_FALSE(enabled(target));
      EXPECT_FALSE(scan().isVisible());
      EXPECT_FALSE(login().IsOpen());
    };
    answerPassword(Answer{c.answer.password, [&] {
                            EXPECT_FALSE(enabled(target));
                            EXPECT_TRUE(scan().isVisible());
                            EXPECT_EQ(coverOf(target), c.cover);
                            EXPECT_EQ(platform.covers.size(), 1u);
                          }});
    const int before = dialogs();
    front(target);
    EXPECT_EQ(covered, 1);

    ASSERT_EQ(dialogs(), before + 1);
    EXPECT_EQ(prompts.back(), kPromptLockPassword);
    // The main window was brought forward before the dialog came up.
    const auto& calls = platform.setForegroundCalls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), scan().window());
    EXPECT_EQ(calls.back(), target);

    EXPECT_TRUE(enabled(target));
    EXPECT_FALSE(scan().isVisible());
    EXPECT_EQ(platform.windowState(target).closeRequests, c.right ? 0 : 1);
    EXPECT_EQ(messagesSaying(kWrong), c.right ? 0 : 1);
    if (!c.right) {
      EXPECT_TRUE(IsMessageBox(platform.messages.back(), kWrong));
    }
    EXPECT_TRUE(scan().lockCheck().held().empty());
    if (c.right) {
      EXPECT_FALSE(coverOf(target)) << "the cover outlived a right answer";
    } else {
      // Told to close, the window is still there: the cover stays over it until it goes.
      EXPECT_EQ(coverOf(target), c.cover);
      toolkit.advance(600);
      EXPECT_EQ(coverOf(target), c.cover);
      platform.destroyWindow(target);
    }
    // Leave for a window that is not challenged, so the next case starts afresh.
    open("Notepad", "between");
    EXPECT_TRUE(platform.covers.empty()) << "a cover stayed after its window had gone";
  }
}

// The cover stays a few seconds for a window told to close; one still in front then is not left
// open to the user, but asked again.
TEST_F(LockCheckTest, AWindowAnsweredWrongThatDoesNotCloseIsAskedAgainAfterAFewSeconds) {
  answerPassword(Typed("bad"));
  const WindowId folder = openFolder("C:\\Docs\\Private");
  ASSERT_EQ(platform.windowState(folder).closeRequests, 1);
  answerPassword(Typed("abc"));
  toolkit.advance(1000);
  EXPECT_TRUE(coverOf(folder));
  EXPECT_EQ(dialogs(), 1);
  toolkit.advance(2200);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_FALSE(coverOf(folder));
  EXPECT_TRUE(enabled(folder));
}

TEST_F(LockCheckTest, AfterARightAnswerTheFolderIsAskedAgainOnlyAfterAnotherForeignWindow) {
  answerPassword(Typed("abc"));
  answerPassword(Typed("abc"));
  const WindowId folder = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 1);
  front(scan().window());
  front(folder);
  EXPECT_EQ(dialogs(), 1) << "the program's own window leaves the text unchanged";
  open("Notepad", "memo");
  front(folder);
  EXPECT_EQ(dialogs(), 2);
}

// The window stays in front while it moves from folder to folder: every title it takes is
// decided about.
TEST_F(LockCheckTest, AFolderWindowInFrontThatMovesIntoAProtectedFolderIsChallenged) {
  answerPassword(Typed("abc"));
  const WindowId folder = openFolder("C:\\Docs\\Public");
  front(folder);
  EXPECT_EQ(dialogs(), 0);
  platform.setTitle(folder, "C:\\Docs\\Private");
  front(folder);
  EXPECT_EQ(dialogs(), 1);
  EXPECT_EQ(scan().Text.text(), "CabinetWClass (C:\\Docs\\Private)");
  // Through a folder that is not protected and back: asked again, as after any other window.
  answerPassword(Typed("abc"));
  platform.setTitle(folder, "C:\\Docs\\Public");
  front(folder);
  EXPECT_EQ(scan().Text.text(), "CabinetWClass (C:\\Docs\\Public)");
  platform.setTitle(folder, "C:\\Docs\\Private");
  front(folder);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(folder));
}

TEST_F(LockCheckTest, ACountOfZeroChallengesNothing) {
  EXPECT_EQ(scan().Label1.caption(), "登録数：4") << "shown from the start";

  writeFile("PassDat.ini",
            "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\nPassCount=0\r\n");
  const WindowId folder = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(scan().Label1.caption(), "登録数：0");
  EXPECT_TRUE(enabled(folder));
  EXPECT_EQ(dialogs(), 0);

  std::remove(platform.pathOf("PassDat.ini").c_str());
  open("CabinetWClass", "C:\\Docs\\Public");
  EXPECT_EQ(scan().Label1.caption(), "登録数：0") << "no file reads as no entries";
  front(folder);
  EXPECT_TRUE(enabled(folder));
  EXPECT_TRUE(platform.messages.empty());
}

// A file without its count (cut off at its end) is guarded by the entries it holds; only a count
// of 0 that the file says guards nothing.
TEST_F(LockCheckTest, AFileWithoutACountIsGuardedByItsEntries) {
  for (const char* list : {"[PasswordSetData]\r\nPrivate=116117118\r\n",
                           "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\n",
                           "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\nPass"}) {
    SCOPED_TRACE(list);
    writeFile("PassDat.ini", list);
    const int before = dialogs();
    answerPassword(Typed("abc"));
    const WindowId folder = openFolder("C:\\Docs\\Private");
    EXPECT_EQ(dialogs(), before + 1);
    EXPECT_TRUE(enabled(folder));
    EXPECT_EQ(scan().Label1.caption(), "登録数：1");
    open("Notepad", "between");
  }
  EXPECT_TRUE(platform.messages.empty());
}

// A lock code that gives no password can never be answered: after the error report the folder
// window is closed as after a wrong answer, and it keeps its cover until it has gone. Given back,
// it would be open to whoever spoiled its code.
TEST_F(LockCheckTest, AMalformedLockCodeIsReportedAndTheFolderStaysShut) {
  struct Case {
    const char* why;
    std::string code;
    std::string report;
  } cases[] = {
      {"code not digits", "11a117118", "エラー 13\r\n型が一致しません。"},
      {"letters alone", "abc", "エラー 13\r\n型が一致しません。"},
      {"code gives no character", "999",
       "エラー 5\r\nプロシージャの呼び出し、または引数が不正です。"},
      {"digits that are no code", "99999",
       "エラー 5\r\nプロシージャの呼び出し、または引数が不正です。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    writeFile("PassDat.ini",
              "[PasswordSetData]\r\n経理=" + c.code + "\r\n[PasswordNumber]\r\nPassCount=1\r\n");
    platform.messages.clear();
    // The report comes while the folder window is shut and covered, the main window hidden.
    platform.onMessageBox = [&](const MessageBoxRequest&) {
      EXPECT_EQ(scan().lockCheck().held().size(), 1u);
      EXPECT_EQ(platform.covers.size(), 1u);
      EXPECT_FALSE(scan().isVisible());
      return MsgAnswer::Ok;
    };
    const WindowId folder = openFolder("C:\\共有\\経理");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(IsMessageBox(platform.messages[0], c.report));
    EXPECT_EQ(platform.windowState(folder).closeRequests, 1);
    EXPECT_EQ(coverOf(folder), "「経理」はロックされています");
    EXPECT_FALSE(scan().isVisible());
    EXPECT_EQ(scan().Label1.caption(), "登録数：1");

    // A window that does not close stays covered, and is neither given back nor asked again.
    toolkit.advance(10000);
    EXPECT_EQ(coverOf(folder), "「経理」はロックされています");
    EXPECT_EQ(platform.messages.size(), 1u);
    platform.destroyWindow(folder);
    toolkit.advance(300);
    EXPECT_EQ(coverOf(folder), std::nullopt);
    open("Notepad", "between");
  }
  EXPECT_EQ(dialogs(), 0);
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
  platform.onMessageBox = [&](const MessageBoxRequest& box) {
    if (box.text.rfind("エラー", 0) == 0) reports.push_back(box.text);
    if (reports.size() > 5) return MsgAnswer::Ok;  // a flood: stop it here, the checks tell
    // Its own box in front and windows changing behind it start no further report.
    openOwn("#32770", "Folvane");
    open("Notepad", "behind the report");
    open("CabinetWClass", "C:\\Docs\\Public");
    return MsgAnswer::Ok;
  };
  scan().Label1.setCaption("登録数：4");

  writeFile("PassDat.ini", withCount("abc"));
  open("Notepad", "memo");
  open("CabinetWClass", "C:\\Docs\\Public");
  EXPECT_EQ(reports, std::vector<std::string>{typeMismatch});
  EXPECT_EQ(scan().Label1.caption(), "登録数：4") << "a bad count is not shown";

  // A listed folder is asked for all the same, and the report waits until it is shut.
  answerPassword(Typed("abc", [&] { EXPECT_EQ(reports.size(), 1u); }));
  const WindowId folder = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(enabled(folder));
  answerPassword(Typed("wrong"));
  const WindowId other = openFolder("D:\\Other");
  EXPECT_EQ(platform.windowState(other).closeRequests, 1);
  EXPECT_EQ(dialogs(), 2);
  open("CabinetWClass", "C:\\Docs\\Empty");
  EXPECT_EQ(dialogs(), 2) << "a listed folder without a code is not asked for";
  EXPECT_EQ(reports, std::vector<std::string>{typeMismatch});

  // Another bad value is reported, once.
  writeFile("PassDat.ini", withCount("40000"));
  open("CabinetWClass", "C:\\Docs\\Public 2");
  open("CabinetWClass", "C:\\Docs\\Public 3");
  EXPECT_EQ(reports, (std::vector<std::string>{typeMismatch, overflow}));

  // Once mended, the count shows; damaged again the same way, it is reported again.
  writeFile("PassDat.ini", withCount("3"));
  open("CabinetWClass", "C:\\Docs\\Public");
  EXPECT_EQ(scan().Label1.caption(), "登録数：3");
  writeFile("PassDat.ini", withCount("40000"));
  open("CabinetWClass", "C:\\Docs\\Public 2");
  EXPECT_EQ(reports, (std::vector<std::string>{typeMismatch, overflow, overflow}));
  EXPECT_TRUE(scan().lockCheck().held().empty());
}

// Reported by the run that found it, in a run served from the queue too.
TEST_F(LockCheckTest, ABadCountFoundByAWaitingFolderIsReportedAfterItsChallenge) {
  WindowId second = 0;
  answerPassword(Typed("abc", [&] {
    second = openFolder("D:\\Other");
    std::string list = kProtectedList;
    writeFile("PassDat.ini", list.replace(list.find("PassCount=4"), 11, "PassCount=x"));
  }));
  answerPassword(Typed("xyz", [&] { EXPECT_TRUE(platform.messages.empty()); }));
  openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(second));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "エラー 13\r\n型が一致しません。");
}

// ---- A second protected folder while the dialog is taken ---------------------------------------

TEST_F(LockCheckTest, ASecondFolderWaitsDisabledAndIsChallengedWhenTheFirstIsDone) {
  WindowId second = 0;
  answerPassword(Typed("abc", [&] {
    second = openFolder("D:\\Other");
    EXPECT_FALSE(enabled(second)) << "disabled at once";
    EXPECT_EQ(coverOf(second), "「Other」はロックされています") << "covered at once";
    EXPECT_EQ(dialogs(), 1) << "no second dialog while the first waits";
    toolkit.advance(1000);  // more ticks with the second folder in front
    EXPECT_EQ(dialogs(), 1);
  }));
  answerPassword(Typed("xyz", [&] {
    EXPECT_EQ(coverOf(second), "「Other」はロックされています");
    EXPECT_EQ(platform.covers.size(), 1u) << "the first folder was given back covered";
  }));
  const WindowId first = openFolder("C:\\Docs\\Private");

  ASSERT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(first));
  EXPECT_TRUE(enabled(second));
  EXPECT_EQ(platform.foregroundWindow(), second);
  EXPECT_FALSE(scan().isVisible());
  EXPECT_TRUE(mainVisibleAtDialog);
  EXPECT_TRUE(scan().lockCheck().held().empty());
  EXPECT_TRUE(platform.covers.empty());
  EXPECT_TRUE(platform.messages.empty());

  // Both were answered right in one go: moving between them asks nothing again ...
  front(first);
  front(second);
  front(first);
  EXPECT_EQ(dialogs(), 2);
  // ... until a window that is not challenged has been in front.
  open("Notepad", "memo");
  answerPassword(Typed("abc"));
  front(first);
  EXPECT_EQ(dialogs(), 3);
}

TEST_F(LockCheckTest, WrongAnswerForTheFirstStillChallengesTheSecond) {
  WindowId second = 0;
  answerPassword(Cancelled([&] { second = openFolder("D:\\Other"); }));
  answerPassword(Typed("nope"));
  const WindowId first = openFolder("C:\\Docs\\Private");
  ASSERT_EQ(dialogs(), 2);
  EXPECT_EQ(platform.windowState(first).closeRequests, 1);
  EXPECT_EQ(platform.windowState(second).closeRequests, 1);
  EXPECT_EQ(messagesSaying(kWrong), 2);
  EXPECT_TRUE(enabled(first));
  EXPECT_TRUE(enabled(second));
}

TEST_F(LockCheckTest, AWrongAnswerForTheSecondDoesNotAskTheFirstAgain) {
  WindowId second = 0;
  answerPassword(Typed("abc", [&] { second = openFolder("D:\\Other"); }));
  answerPassword(Typed("bad"));
  // The wrong-answer message comes to the front while it is shown, as a real one does.
  // Then, for a moment, no window is in front at all.
  platform.onMessageBox = [&](const MessageBoxRequest&) {
    platform.destroyWindow(openOwn("#32770", "Folvane"));
    front(0);
    return MsgAnswer::Ok;
  };
  const WindowId first = openFolder("C:\\Docs\\Private");
  ASSERT_EQ(dialogs(), 2);
  EXPECT_EQ(messagesSaying(kWrong), 1);

  front(first);
  EXPECT_EQ(dialogs(), 2) << "the first folder was answered right in this chain";
  EXPECT_TRUE(enabled(first));
}

TEST_F(LockCheckTest, FoldersComingWhileTheWrongAnswerMessageWaitsAreQueuedToo) {
  WindowId second = 0;
  platform.onMessageBox = [&](const MessageBoxRequest&) {
    if (!second) second = openFolder("D:\\Other");
    return MsgAnswer::Ok;
  };
  answerPassword(Typed("bad"));
  answerPassword(Typed("xyz"));
  openFolder("C:\\Docs\\Private");
  ASSERT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(second));
  EXPECT_EQ(platform.windowState(second).closeRequests, 0);
}

TEST_F(LockCheckTest, AWindowWaitsOnceAndTheOpenChallengeIsNotQueued) {
  WindowId first = 0, second = 0;
  answerPassword(Typed("abc", [&] {
    second = openFolder("D:\\Other");
    open("Notepad", "memo");
    front(second);
    front(first);  // the window being asked for comes forward itself
    front(second);
  }));
  answerPassword(Typed("xyz"));
  first = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  front(first);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(first));
  EXPECT_TRUE(enabled(second));
}

// A waiting window that went away is dropped; the cover of any window that went away, waiting or
// being asked for, is removed at the next tick.
TEST_F(LockCheckTest, AWindowThatWentAwayIsDroppedAndLosesItsCover) {
  WindowId first = 0;
  answerPassword(Typed("abc", [&] {
    const WindowId second = openFolder("D:\\Other");
    ASSERT_EQ(platform.covers.size(), 2u);
    platform.destroyWindow(second);
    toolkit.advance(100);
    EXPECT_FALSE(coverOf(second)) << "a waiting window";
    EXPECT_TRUE(coverOf(first));
    platform.destroyWindow(first);
    toolkit.advance(100);
    EXPECT_FALSE(coverOf(first)) << "the window being asked for";
  }));
  first = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  front(first);
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(scan().lockCheck().held().empty());
  EXPECT_TRUE(platform.covers.empty());
}

TEST_F(LockCheckTest, AWaitingWindowIsReadAgainWhenItsTurnComes) {
  WindowId second = 0;
  answerPassword(Typed("abc", [&] {
    second = openFolder("D:\\Other");
    // Meanwhile the folder leaves the list: it is given back unasked.
    writeFile("PassDat.ini",
              "[PasswordSetData]\r\nPrivate=116117118\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  }));
  openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(enabled(second));

  // A code that turned bad meanwhile is reported, and the window is closed and stays covered.
  WindowId third = 0;
  open("Notepad", "memo");
  answerPassword(Typed("abc", [&] {
    writeFile("PassDat.ini",
              "[PasswordSetData]\r\nPrivate=116117118\r\nOther=1x\r\n[PasswordNumber]\r\nPassCount="
              "2\r\n");
    third = openFolder("D:\\Other");
  }));
  front(platform.addWindow("CabinetWClass", "C:\\Docs\\Private"));
  EXPECT_EQ(dialogs(), 2);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.windowState(third).closeRequests, 1);
  EXPECT_TRUE(scan().lockCheck().held().empty());
  EXPECT_EQ(coverOf(third), "「Other」はロックされています");
  toolkit.advance(10000);
  EXPECT_EQ(coverOf(third), "「Other」はロックされています");
  EXPECT_EQ(platform.messages.size(), 1u);
}

// A window that waits, for the dialog or for a list that cannot be read, may move to another
// folder meanwhile, seen by the watch while it waits: it is decided about on the folder it shows
// when its turn comes, never on the one it was held with.
TEST_F(LockCheckTest, AWaitingWindowIsDecidedOnWhatItShowsWhenItsTurnComes) {
  struct Case {
    const char* why;
    bool listUnreadable;  // held for the list, not for the dialog
    const char* heldAs;
    const char* movedTo;
    const char* key;  // challenged under this key, with this password
    const char* password;
  };
  const Case cases[] = {
      {"for the dialog, to another listed folder", false, "C:\\Docs\\Private", "D:\\Other", "Other",
       "xyz"},
      {"for the list, from a folder not listed", true, "D:\\Public", "C:\\Docs\\Private", "Private",
       "abc"},
      {"for the list, to another listed folder", true, "C:\\Docs\\Private", "D:\\Other", "Other",
       "xyz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WindowId waiting = 0;
    auto waitAndMove = [&] {
      waiting = openFolder(c.heldAs);
      EXPECT_FALSE(enabled(waiting));
      platform.setTitle(waiting, c.movedTo);
      front(waiting);  // seen by the watch while it waits
    };
    const int before = dialogs();
    const auto askedFor = [&] {
      EXPECT_EQ(coverOf(waiting), "「" + std::string(c.key) + "」はロックされています");
    };
    if (c.listUnreadable) {
      platform.heldFiles = {platform.pathOf("PassDat.ini")};
      waitAndMove();
      platform.heldFiles.clear();
      answerPassword(Typed(c.password, askedFor));
    } else {
      answerPassword(Typed("def", waitAndMove));
      answerPassword(Typed(c.password, askedFor));
      openFolder("C:\\");
    }
    toolkit.advance(300);
    toolkit.advance(300);
    EXPECT_EQ(dialogs(), before + (c.listUnreadable ? 1 : 2));
    EXPECT_TRUE(enabled(waiting));
    EXPECT_EQ(platform.windowState(waiting).closeRequests, 0);
    front(waiting);
    EXPECT_EQ(dialogs(), before + (c.listUnreadable ? 1 : 2)) << "given back for what it shows";
    open("Notepad", "between");
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(LockCheckTest, FoldersComingWhileTheDialogAnswersSomethingElseAreServedAfterIt) {
  // The dialog is open for the user password (the watch toggle, the close query ...).
  WindowId folder = 0;
  answerPassword(Typed("user", [&] {
    folder = openFolder("C:\\Docs\\Private");
    EXPECT_FALSE(enabled(folder));
    EXPECT_TRUE(coverOf(folder));
    toolkit.advance(600);  // the check waits while the question is open
  }));
  EXPECT_EQ(login().Ask(kPromptUserPassword), "user");
  EXPECT_EQ(dialogs(), 1);
  EXPECT_FALSE(enabled(folder));

  answerPassword(Typed("abc"));
  toolkit.advance(300);
  ASSERT_EQ(dialogs(), 2);
  EXPECT_EQ(prompts.back(), kPromptLockPassword);
  EXPECT_TRUE(enabled(folder));
  EXPECT_EQ(platform.foregroundWindow(), folder);
  EXPECT_TRUE(scan().lockCheck().held().empty());
  EXPECT_TRUE(platform.covers.empty());
}

TEST_F(LockCheckTest, ReleaseAllGivesBackEveryHeldWindow) {
  WindowId first = 0, second = 0;
  answerPassword(Typed("abc", [&] {
    second = openFolder("D:\\Other");
    EXPECT_EQ(scan().lockCheck().held().size(), 2u);
    scan().lockCheck().ReleaseAll();
    EXPECT_TRUE(enabled(first));
    EXPECT_TRUE(enabled(second));
  }));
  first = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  front(first);
  EXPECT_EQ(dialogs(), 1) << "a released window no longer waits";
  EXPECT_TRUE(scan().lockCheck().held().empty());
}

// At the end of the program no cover stays: not over a window being asked for, nor over one
// waiting, nor over one answered wrong that has not closed yet.
TEST_F(LockCheckTest, ReleaseAllRemovesEveryCover) {
  WindowId first = 0, second = 0, third = 0;
  answerPassword(Cancelled([&] {
    second = openFolder("D:\\Other");
    third = openFolder("C:\\");
  }));
  answerPassword(Typed("xyz", [&] {
    EXPECT_EQ(platform.covers.size(), 3u);
    scan().lockCheck().ReleaseAll();
    EXPECT_TRUE(platform.covers.empty());
    EXPECT_TRUE(enabled(second));
    EXPECT_TRUE(enabled(third));
  }));
  first = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(platform.covers.empty());
  EXPECT_TRUE(enabled(first));
}

// Two windows of one folder are two windows: the second is held while the first is asked, and
// asked in its turn, whatever the first's answer.
TEST_F(LockCheckTest, ASecondWindowOfTheSameFolderIsAskedToo) {
  WindowId second = 0;
  answerPassword(Typed("wrong", [&] {
    second = openFolder("C:\\Docs\\Private");
    EXPECT_FALSE(enabled(second));
    EXPECT_TRUE(coverOf(second));
  }));
  answerPassword(Typed("abc"));
  const WindowId first = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 2);
  EXPECT_EQ(platform.windowState(first).closeRequests, 1);
  EXPECT_EQ(platform.windowState(second).closeRequests, 0);
  EXPECT_TRUE(enabled(second));
  EXPECT_FALSE(coverOf(second));

  // And one opened after a wrong answer to the first is asked as well.
  platform.windowsCloseOnRequest = true;
  answerPassword(Typed("wrong"));
  answerPassword(Typed("abc"));
  const WindowId third = openFolder("C:\\Docs\\Private");
  const WindowId fourth = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(dialogs(), 4);
  EXPECT_FALSE(platform.windowState(third).exists);
  EXPECT_TRUE(enabled(fourth));
}

// A folder's name may hold parentheses, as Windows names a copy: it is listed and challenged
// under its whole name, and a folder with another name before the same "(2)" is not.
TEST_F(LockCheckTest, ParenthesesArePartOfTheFoldersName) {
  writeFile("PassDat.ini",
            "[PasswordSetData]\r\n経理 (2)=116117118\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  answerPassword(Typed("abc"));
  const WindowId copy = openFolder("C:\\共有\\経理 (2)");
  EXPECT_EQ(dialogs(), 1);
  EXPECT_EQ(coverOf(copy), std::nullopt);
  const WindowId other = openFolder("D:\\営業 (2)");
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(enabled(other));
}

}  // namespace
}  // namespace folvane
