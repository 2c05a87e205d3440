// The guard in the real program under guessing, a locked screen, a cancelled log-off, a killed
// process and messages crafted by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kWrongLock = "パスワードが正しくありません。";
const std::string kTooMany = "パスワードを続けて間違えたため、しばらく入力できません。";
const std::string kPrivate = "C:\\Data\\Private";  // locked with "xyz"

class GuardHolds : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
    sandbox.writeFile(
        "PassDat.ini",
        "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n");
    startProgram();
  }

  // Started and resident: the splash has gone.
  void startProgram() {
    program = std::make_unique<Process>(sandbox.start());
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }));
  }

  Window waitForChallenge(const FolderWindow& folder) {
    Window login = program->waitForWindow(kLoginCaption);
    if (!login) return 0;
    EXPECT_TRUE(childByText(login, kAskLock)) << "the dialog asks something else";
    EXPECT_FALSE(isEnabled(folder.id()));
    return login;
  }

  // Brings `folder` forward and answers the challenge that must come with `password`.
  void answerChallenge(FolderWindow& folder, const std::string& password) {
    folder.bringForward();
    Window login = waitForChallenge(folder);
    ASSERT_TRUE(login) << "not challenged";
    enterPassword(login, password);
    ASSERT_TRUE(waitForGone(login));
  }

  // The program's message box, answered; its text.
  std::string answerMessage() {
    Window box = program->waitForWindow(kAppTitle);
    if (!box) return "(no message)";
    const std::string text = messageText(box);
    answer(box, Answer::Ok);
    waitForGone(box);
    return text;
  }

  Sandbox sandbox;
  std::unique_ptr<Process> program;
  Window main = 0;
};

// A folder whose lock code is damaged cannot be answered: after the report it is closed as after
// a wrong answer, never given back.
TEST_F(GuardHolds, AFolderWithADamagedLockCodeIsReportedAndClosed) {
  for (const char* code : {"99999", "abc"}) {
    SCOPED_TRACE(code);
    sandbox.writeFile("PassDat.ini", toAnsi(std::string("[PasswordSetData]\r\n経理=") + code +
                                            "\r\n[PasswordNumber]\r\nPassCount=1\r\n"));
    FolderWindow folder("C:\\共有\\経理");
    folder.bringForward();
    Window box = program->waitForWindow(kAppTitle);
    ASSERT_TRUE(box) << "no report";
    EXPECT_FALSE(isEnabled(folder.id())) << "given back behind the report";
    EXPECT_EQ(messageText(box).rfind("エラー ", 0), 0u) << messageText(box);
    answer(box, Answer::Ok);
    ASSERT_TRUE(waitForGone(box));
    EXPECT_TRUE(waitForGone(folder.id())) << "the folder was not closed";
    EXPECT_FALSE(program->findWindow(kLoginCaption));
  }
}

// The program knows its own windows by their process: a folder window titled like one of them is
// challenged like any other.
TEST_F(GuardHolds, AFolderNamedLikeTheProgramsWindowsIsChallenged) {
  sandbox.writeFile("PassDat.ini", toAnsi("[PasswordSetData]\r\nKelmora=139140141\r\n"
                                          "Kelmora-設定=139140141\r\n[PasswordNumber]\r\n"
                                          "PassCount=2\r\n"));
  for (const std::string& title : {kMainCaption, std::string("C:\\Kelmora-設定")}) {
    SCOPED_TRACE(title);
    FolderWindow folder(title);
    ASSERT_NO_FATAL_FAILURE(answerChallenge(folder, "xyz"));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }));
  }
}

// Six wrong answers in a row: the seventh opening of the folder asks nothing, says how long to
// wait, and the folder closes.
TEST_F(GuardHolds, SixWrongLockPasswordsMakeTheNextOpeningWait) {
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE("wrong answer " + std::to_string(i + 1));
    FolderWindow folder(kPrivate);
    ASSERT_NO_FATAL_FAILURE(answerChallenge(folder, "bad"));
    EXPECT_EQ(answerMessage(), kWrongLock);
    EXPECT_TRUE(waitForGone(folder.id()));
  }
  FolderWindow folder(kPrivate);
  folder.bringForward();
  const std::string said = answerMessage();
  EXPECT_EQ(said.rfind(kTooMany, 0), 0u) << said;
  EXPECT_NE(said.find("あと30秒"), std::string::npos) << said;
  EXPECT_FALSE(program->findWindow(kLoginCaption)) << "asked during the wait";
  EXPECT_TRUE(waitForGone(folder.id())) << "the folder was not closed";
}

// A folder answered right is asked again, still in front, after the screen was locked and after
// the machine slept; not without either.
TEST_F(GuardHolds, AFolderIsAskedAgainAfterTheScreenWasLockedOrTheMachineSlept) {
  for (const bool sleep : {false, true}) {
    SCOPED_TRACE(sleep ? "sleep and wake" : "lock and unlock");
    FolderWindow folder(kPrivate);
    ASSERT_NO_FATAL_FAILURE(answerChallenge(folder, "xyz"));
    ASSERT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s));
    pump(500ms);
    EXPECT_FALSE(program->findWindow(kLoginCaption)) << "asked again while nobody was away";

    if (sleep) {
      sleepAndWake(main);
    } else {
      sessionLocked(main, true);
      sessionLocked(main, false);
    }
    ASSERT_NO_FATAL_FAILURE(answerChallenge(folder, "xyz")) << "not asked again";
    pump(500ms);
    EXPECT_FALSE(program->findWindow(kLoginCaption)) << "asked twice for one absence";
  }
}

// Asked whether the session may end, the program says yes and goes on; when the end is
// cancelled, it is still there and still guarding.
TEST_F(GuardHolds, ACancelledLogOffLeavesTheGuardRunning) {
  EXPECT_EQ(queryEndSession(main), std::optional<bool>(true));
  endSession(main, false);
  pump(500ms);
  ASSERT_TRUE(program->running()) << "the program ended on a cancelled log-off";

  FolderWindow folder(kPrivate);
  ASSERT_NO_FATAL_FAILURE(answerChallenge(folder, "xyz"))
      << "not guarding after a cancelled log-off";
}

// Ended from outside (the task manager) during a challenge: the watcher beside it gives the
// folder back, also when the program is ended together with every process it started.
TEST_F(GuardHolds, AKilledProgramLeavesNoFolderDisabled) {
  for (const bool withItsTree : {false, true}) {
    SCOPED_TRACE(withItsTree ? "the program and its process tree" : "the program");
    if (!program->running()) {
      ASSERT_NO_FATAL_FAILURE(startProgram());
    }
    FolderWindow folder(kPrivate);
    folder.bringForward();
    ASSERT_TRUE(waitForChallenge(folder));
    if (withItsTree) {
      // The go-between that starts the watcher ends at once; while it runs, the watcher is in the
      // tree through it.
      ASSERT_TRUE(waitUntil([&] { return program->descendants().empty(); }));
      program->killTree();
    } else {
      program->kill();
    }
    // Killed at once, the program may leave its go-between and watcher still starting: on a busy
    // machine two starts of a process under Wine take more than a second.
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 5s))
        << "the folder stayed disabled after the program was killed";
  }
}

// Another program sends and posts the messages whose parameters carry an address, with
// addresses that mean nothing in the program: WM_NOTIFY, WM_DPICHANGED and the creation of a
// window that exists. Every window of the program gets them, hidden ones and the cover too, while
// it idles, while it asks for a password and while a message box of it shows (whose loop is the
// system's). The program lives on, and the folder is still shut and asked for.
TEST_F(GuardHolds, MessagesCraftedByAnotherProgramNeitherEndNorLoosenTheGuard) {
  const std::intptr_t nowhere[] = {0x10, static_cast<std::intptr_t>(0xDEADBEEFu),
                                   reinterpret_cast<std::intptr_t>(&main)};
  auto sendJunk = [&] {
    // Windows of the program's own classes, the controls it paints included, are the ones whose
    // creation it handles; those of the system's classes make their own of it.
    auto ownClass = [](Window window) { return className(window).rfind("Folvane", 0) == 0; };
    for (Window window : topLevelWindows(program->pid(), false)) {
      std::vector<Window> made = children(window);
      made.push_back(window);
      for (std::intptr_t address : nowhere) {
        postMessage(window, WM_NOTIFY, 100, address);  // 100: the id of a window's first control
        postMessage(window, WM_DPICHANGED, MAKEWPARAM(144, 144), address);
        sendMessage(window, WM_NOTIFY, 100, address);
        sendMessage(window, WM_DPICHANGED, MAKEWPARAM(144, 144), address);
        for (Window target : made)
          if (ownClass(target)) sendCreation(target, static_cast<std::uintptr_t>(address));
      }
    }
    pump(300ms);
  };
  // A program that crashed may linger, stopped: it must still answer.
  auto answers = [&] { return program->running() && sendMessage(main, WM_NULL, 0, 0); };

  sendJunk();
  ASSERT_TRUE(answers()) << "ended or stopped by messages sent while it idled";
  EXPECT_EQ(windowText(main), kMainCaption);

  FolderWindow folder(kPrivate);
  folder.bringForward();
  Window login = waitForChallenge(folder);
  ASSERT_TRUE(login) << "not challenged";
  sendJunk();
  ASSERT_TRUE(answers()) << "ended or stopped by messages sent during a challenge";
  ASSERT_TRUE(exists(login));
  EXPECT_FALSE(isEnabled(folder.id()));
  enterPassword(login, "bad");
  Window box = program->waitForWindow(kAppTitle);
  ASSERT_TRUE(box) << "no message after a wrong answer";
  sendJunk();
  ASSERT_TRUE(answers()) << "ended or stopped by messages sent while a message box showed";
  EXPECT_EQ(messageText(box), kWrongLock);
  answer(box, Answer::Ok);
  EXPECT_TRUE(waitForGone(folder.id())) << "the folder was not closed";

  FolderWindow again(kPrivate);
  ASSERT_NO_FATAL_FAILURE(answerChallenge(again, "xyz")) << "no longer guarding";
  EXPECT_TRUE(waitUntil([&] { return isEnabled(again.id()); }));
}

}  // namespace
}  // namespace folvane::e2e
