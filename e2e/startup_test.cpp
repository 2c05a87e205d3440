// Starting and ending the real program: the splash, first-run setup of the user password, the
// single-instance rule and the close query.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The prompt shown in the password dialog (its label that is neither field caption).
bool showsPrompt(Window dialog, const std::string& prompt) {
  return childByText(dialog, prompt) != 0;
}

// Waits for the program to end while watching that it asks nothing on the way.
void expectEndsWithoutQuestion(Process& program) {
  bool asked = false;
  bool ended = waitUntil(
      [&] {
        asked = asked || program.findWindow(kLoginCaption) || program.findWindow(kAppTitle);
        return !program.running();
      },
      10s);
  EXPECT_TRUE(ended) << "the program is still running";
  EXPECT_FALSE(asked) << "the program asked something before ending";
}

class Startup : public ::testing::Test {
 protected:
  Sandbox sandbox;
};

TEST_F(Startup, FirstRunShowsTheSplashThenAsksForTheUserPassword) {
  auto started = Clock::now();
  Process program = sandbox.start();

  // The splash: a window of the program with no caption, before anything else.
  Window splash = 0;
  ASSERT_TRUE(waitUntil([&] {
    for (Window window : topLevelWindows(program.pid())) {
      if (windowText(window).empty() && className(window) != "#32768") splash = window;
    }
    return splash != 0;
  })) << "no splash window";
  EXPECT_FALSE(program.findWindow(kLoginCaption));

  Window login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  EXPECT_GE(Clock::now() - started, 2400ms) << "the splash closed before its 2.5 s";
  EXPECT_FALSE(exists(splash) && isVisible(splash)) << "the splash is still up";
  EXPECT_TRUE(showsPrompt(login, kAskUser));
  cancelPassword(login);

  EXPECT_EQ(program.waitExit(), 0u);
}

// Every way of leaving first-run setup without a confirmed password ends the program and stores
// nothing, so the next start asks again.
TEST_F(Startup, FirstRunLeftWithoutAPasswordEndsAndStoresNothing) {
  enum class Way { Cancel, BothEmpty, AnswerNo };
  for (Way way : {Way::Cancel, Way::BothEmpty, Way::AnswerNo}) {
    SCOPED_TRACE(int(way));
    Process program = sandbox.start();
    Window login = program.waitForWindow(kLoginCaption);
    ASSERT_TRUE(login);
    switch (way) {
      case Way::Cancel:
        cancelPassword(login);
        break;
      case Way::BothEmpty:
        enterPassword(login, "");
        break;
      case Way::AnswerNo: {
        enterPassword(login, "abc");
        Window question = program.waitForWindow(kAppTitle);
        ASSERT_TRUE(question);
        answer(question, Answer::No);
        break;
      }
    }
    ASSERT_TRUE(program.waitExit()) << "the program did not end";
    auto settings = sandbox.readFile("Folvane.ini");
    EXPECT_EQ(settings.value_or("").find("PassData"), std::string::npos);
  }
}

// A protected folder that comes forward while the first start asks for the user password waits,
// disabled, for its turn; the program may end before that turn comes, and gives it back then.
TEST_F(Startup, AFolderWaitingDuringFirstRunIsGivenBackWhenTheProgramEnds) {
  sandbox.writeFile("PassDat.ini", "[PasswordSetData]\r\nPrivate=" + passwordCode("xyz") +
                                       "\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "both empty");
    FolderWindow folder("C:\\Data\\Private");
    Process program = sandbox.start();
    Window login = program.waitForWindow(kLoginCaption);
    ASSERT_TRUE(login);
    folder.bringForward();
    ASSERT_TRUE(waitUntil([&] { return !isEnabled(folder.id()); }))
        << "the folder was not held while the question was open";
    if (cancel) {
      cancelPassword(login);
    } else {
      enterPassword(login, "");
    }
    ASSERT_TRUE(program.waitExit()) << "the program did not end";
    pump(200ms);
    EXPECT_TRUE(isEnabled(folder.id())) << "the folder was left disabled";
    EXPECT_FALSE(folder.closed());
  }
}

TEST_F(Startup, FirstRunStoresTheConfirmedPasswordEncoded) {
  Process program = sandbox.start();
  Window login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  enterPassword(login, "abc");

  Window question = program.waitForWindow(kAppTitle);
  ASSERT_TRUE(question);
  EXPECT_EQ(messageText(question),
            "プロテクト用パスワードを 'abc' に設定します。\r\nよろしいですか？");
  answer(question, Answer::Yes);

  // The program stays resident, with its main window hidden.
  Window main = program.mainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitUntil([&] {
    auto settings = sandbox.readFile("Folvane.ini");
    return settings && settings->find("PassData=116117118") != std::string::npos;
  })) << sandbox.readFile("Folvane.ini").value_or("(no Folvane.ini)");
  pump(500ms);
  EXPECT_TRUE(program.running());
  EXPECT_FALSE(isVisible(main));
}

TEST_F(Startup, DifferentEntriesAreRefusedAndCanBeRetyped) {
  Process program = sandbox.start();
  Window login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  enterPassword(login, "abc", "abC");

  Window mismatch = program.waitForWindow(kMismatchCaption);
  ASSERT_TRUE(mismatch);
  EXPECT_EQ(messageText(mismatch), "ﾊﾟｽﾜｰﾄﾞが正しくありません。もう一度入力してください !");
  answer(mismatch, Answer::Ok);
  ASSERT_TRUE(waitForGone(mismatch));
  EXPECT_TRUE(exists(login)) << "the dialog closed after a mismatch";

  enterPassword(login, "xyz");
  Window question = program.waitForWindow(kAppTitle);
  ASSERT_TRUE(question);
  EXPECT_NE(messageText(question).find("'xyz'"), std::string::npos);
}

TEST_F(Startup, ASecondStartEndsSilentlyAfterItsSplash) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  Process first = sandbox.start();
  Window main = first.mainWindow();
  ASSERT_TRUE(main);
  // Let the first one finish its start-up (its splash alone takes 2.5 s).
  ASSERT_TRUE(waitUntil([&] { return topLevelWindows(first.pid()).empty(); }));

  auto started = Clock::now();
  Process second = sandbox.start();
  expectEndsWithoutQuestion(second);
  EXPECT_GE(Clock::now() - started, 2400ms) << "the second start showed no splash";
  EXPECT_TRUE(first.running());
  EXPECT_FALSE(isVisible(main)) << "the running instance was shown";
}

TEST_F(Startup, ClosingAsksForTheUserPasswordAndAConfirmation) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  Process program = sandbox.start();
  Window main = program.mainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program.pid()).empty(); }));

  // A wrong password: the close is refused without a word.
  postClose(main);
  Window login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  EXPECT_TRUE(showsPrompt(login, kAskUser));
  enterPassword(login, "abd");
  ASSERT_TRUE(waitForGone(login));
  pump(500ms);
  EXPECT_FALSE(program.findWindow(kAppTitle));
  EXPECT_TRUE(program.running());

  // The right password and No: still running.
  postClose(main);
  login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  enterPassword(login, "abc");
  Window question = program.waitForWindow(kAppTitle);
  ASSERT_TRUE(question);
  EXPECT_EQ(messageText(question), "Folvaneを終了します。\r\nよろしいですか？");
  answer(question, Answer::No);
  ASSERT_TRUE(waitForGone(question));
  pump(500ms);
  EXPECT_TRUE(program.running());

  // File › Exit asks the same; the right password and Yes end the program.
  ASSERT_TRUE(chooseMenu(main, 'F', 'X'));
  login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login);
  enterPassword(login, "abc");
  question = program.waitForWindow(kAppTitle);
  ASSERT_TRUE(question);
  answer(question, Answer::Yes);
  EXPECT_EQ(program.waitExit(), 0u);
}

TEST_F(Startup, TheEndOfTheSessionEndsTheProgramWithoutAQuestion) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  Process program = sandbox.start();
  Window main = program.mainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program.pid()).empty(); }));

  queryEndSession(main);
  if (program.running()) endSession(main);
  expectEndsWithoutQuestion(program);
}

}  // namespace
}  // namespace folvane::e2e
