#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/guess_limit.h"
#include "dialogs/login_form.h"
#include "dialogs/settings_form.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kWrong[] = "パスワードが正しくありません。";

// The guard under guessing, walking away and the end of the session, in the running program.
class GuardHoldsTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    ASSERT_TRUE(startResident("user"));
  }
  // Opens the protected folder Private and answers its challenge; true when it was asked.
  bool openPrivateAnswering(Answer answer) {
    const int before = dialogs();
    answerPassword(std::move(answer));
    const WindowId folder = openFolder("C:\\Docs\\Private");
    last = folder;
    return dialogs() == before + 1;
  }
  WindowId last = 0;
};

// Wrong lock passwords: five are free; the sixth starts a wait of 30 s, during which a folder is
// not asked but covered, told why, and closed; the wait over, it is asked again.
TEST_F(GuardHoldsTest, WrongLockPasswordsEarnAWait) {
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(openPrivateAnswering(i % 2 ? Typed("bad") : Cancelled())) << "wrong answer " << i;
  }
  ASSERT_TRUE(openPrivateAnswering(Typed("")));  // the sixth: empty counts too
  EXPECT_EQ(messagesSaying(kWrong), 6);

  platform.messages.clear();
  platform.windowsCloseOnRequest = false;  // to see the cover while it closes
  const int asked = dialogs();
  const WindowId folder = openFolder("C:\\Docs\\Other");
  EXPECT_EQ(dialogs(), asked) << "asked during the wait";
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, TooManyWrongAnswersText(30'000 - 100));
  EXPECT_EQ(platform.windowState(folder).closeRequests, 1);
  EXPECT_TRUE(coverOf(folder)) << "covered while it closes";

  platform.windowsCloseOnRequest = true;
  toolkit.advance(30'000);
  EXPECT_TRUE(openPrivateAnswering(Typed("abc"))) << "asked again once the wait is over";
  EXPECT_TRUE(enabled(last));
  // The right answer forgot the wrong ones: five more are free again.
  for (int i = 0; i < 5; ++i) {
    open("Notepad", "between");
    EXPECT_TRUE(openPrivateAnswering(Typed("bad")));
  }
}

// Wrong user passwords: the same rule, shared by every operation that asks for it; giving the
// question up or answering it with nothing costs nothing.
TEST_F(GuardHoldsTest, WrongUserPasswordsEarnAWaitAcrossOperations) {
  for (int i = 0; i < 10; ++i) {
    (i % 2 ? cancelPassword() : typePassword(""));
    scan().Button2.click();
  }
  EXPECT_EQ(dialogs(), 10);
  for (int i = 0; i < 5; ++i) {
    typePassword("bad");
    scan().Button2.click();
  }
  typePassword("bad");
  EXPECT_FALSE(endsProgram([&] { scan().Button1.click(); }));  // the sixth, at quitting
  EXPECT_EQ(dialogs(), 16);
  EXPECT_TRUE(scan().Timer1.enabled());

  platform.messages.clear();
  scan().List1.userSelect(0);
  scan().List1.dblClick();  // removing a folder: refused with the wait
  scan().Button2.click();   // stopping the watch: the same
  EXPECT_EQ(dialogs(), 16) << "asked during the wait";
  EXPECT_EQ(messageTexts(), (std::vector<std::string>{"選択したデータを削除します。",
                                                      TooManyWrongAnswersText(30'000),
                                                      TooManyWrongAnswersText(30'000)}));
  toolkit.advance(30'000);
  typePassword("user");
  scan().Button2.click();
  EXPECT_FALSE(scan().Timer1.enabled()) << "the right password once the wait is over";
}

// The waits of the lock password, through the running program on its virtual clock: each wrong
// answer after the fifth doubles the wait, from 30 s up to 15 minutes, and every opening of a
// protected folder during a wait is told how long is left and closed, without a question. Once a
// wait is over, the folder is asked again. A right answer starts the count afresh.
TEST_F(GuardHoldsTest, TheLockPasswordWaitsDoubleUpToFifteenMinutes) {
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(openPrivateAnswering(Typed("bad")));
  const std::int64_t waits[] = {30'000, 60'000, 120'000, 240'000, 480'000, 900'000, 900'000};
  for (const std::int64_t wait : waits) {
    SCOPED_TRACE("a wait of " + std::to_string(wait) + " ms");
    ASSERT_TRUE(openPrivateAnswering(Typed("bad"))) << "not asked once the wait was over";
    platform.messages.clear();
    const int asked = dialogs();
    const WindowId folder = openFolder("C:\\Docs\\Other");
    EXPECT_EQ(dialogs(), asked) << "asked during the wait";
    EXPECT_EQ(messageTexts(), std::vector<std::string>{TooManyWrongAnswersText(wait)});
    EXPECT_EQ(platform.windowState(folder).closeRequests, 1);
    // A moment before the wait is over, it still holds.
    toolkit.advance(wait - 1'000);
    openFolder("C:\\Docs\\Private");
    EXPECT_EQ(dialogs(), asked) << "asked before the wait was over";
    toolkit.advance(1'000);
  }
  ASSERT_TRUE(openPrivateAnswering(Typed("abc")));
  for (int i = 0; i < 5; ++i) {
    open("Notepad", "between");
    ASSERT_TRUE(openPrivateAnswering(Cancelled())) << "free again after the right answer";
  }
  open("Notepad", "between");
  ASSERT_TRUE(openPrivateAnswering(Cancelled()));
  platform.messages.clear();
  openFolder("C:\\Docs\\Other");
  EXPECT_EQ(messageTexts(), std::vector<std::string>{TooManyWrongAnswersText(30'000)});
}

// The user password has one count, whichever operation asks for it. For every operation, the
// same schedule: five wrong answers are asked and cost nothing; after the sixth, the operation
// refuses without a question, saying how long is left; after 30 s one more wrong answer makes it
// wait 60 s; the wait over, the right answer lets the operation go ahead.
TEST(GuardHoldsUserPassword, EveryOperationThatAsksForItWaitsAlike) {
  // One attempt of the operation, with the answer to the user password when one is expected.
  // True when the operation went ahead.
  using Attempt = std::function<bool(ProgramRun&, std::optional<Answer>)>;
  const auto script = [](ProgramRun& run, std::optional<Answer>& answer) {
    const bool right = answer && answer->password == "user";
    if (answer) run.answerPassword(std::move(*answer));
    return right;
  };
  WindowId folder = 0;  // given back, the one whose lock password is replaced
  const struct {
    const char* operation;
    Attempt attempt;
  } cases[] = {
      {"stopping the watch",
       [&](ProgramRun& run, std::optional<Answer> answer) {
         script(run, answer);
         run.scan().Button2.click();
         return !run.scan().Timer1.enabled();
       }},
      {"removing a folder",
       [&](ProgramRun& run, std::optional<Answer> answer) {
         script(run, answer);
         const std::size_t rows = run.scan().List1.items().size();
         run.scan().List1.userSelect(0);
         run.scan().List1.dblClick();
         return run.scan().List1.items().size() < rows;
       }},
      {"replacing a lock password",
       [&](ProgramRun& run, std::optional<Answer> answer) {
         if (script(run, answer)) run.typePassword("xyz");  // the new lock password
         run.front(folder);  // the last window in front before the program's own
         run.scan().Button4.click();
         return run.readFile("PassDat.ini").find("Private=139140141") != std::string::npos;
       }},
      {"changing the user password",
       [&](ProgramRun& run, std::optional<Answer> answer) {
         if (script(run, answer)) run.cancelPassword();  // the new password: given up
         run.whenShown("frmSet", [](Form& form) {
           auto& settings = static_cast<SettingsForm&>(form);
           settings.Command1.click();
           settings.Command3.click();
         });
         run.scan().clickMenu("mnuSetHenkou");
         return run.prompts.back() == "新しいユーザパスワードを入力して下さい。";
       }},
      {"quitting",
       [&](ProgramRun& run, std::optional<Answer> answer) {
         script(run, answer);
         return run.endsProgram([&] { run.scan().Button1.click(); });
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.operation);
    ProgramRun run;
    run.writeFile("PassDat.ini", kProtectedList);
    ASSERT_TRUE(run.startResident("user"));
    run.answerPassword(Typed("abc"));
    folder = run.openFolder("C:\\Docs\\Private");
    ASSERT_EQ(run.dialogs(), 1);

    // What the program said about a wait, if anything.
    const auto waitSaid = [&]() -> std::optional<std::string> {
      for (const MessageBoxRequest& message : run.platform.messages)
        if (message.text.find("続けて間違えた") != std::string::npos) return message.text;
      return std::nullopt;
    };
    for (int i = 1; i <= 6; ++i) {
      SCOPED_TRACE("wrong answer " + std::to_string(i));
      const int asked = run.dialogs();
      EXPECT_FALSE(c.attempt(run, Typed("bad")));
      EXPECT_EQ(run.dialogs(), asked + 1) << "not asked";
    }
    EXPECT_EQ(waitSaid(), std::nullopt) << "a wait before the sixth wrong answer";

    const int asked = run.dialogs();
    EXPECT_FALSE(c.attempt(run, std::nullopt));
    EXPECT_EQ(run.dialogs(), asked) << "asked during the wait";
    EXPECT_EQ(waitSaid(), TooManyWrongAnswersText(30'000));

    run.toolkit.advance(30'000);
    EXPECT_FALSE(c.attempt(run, Typed("bad")));
    run.platform.messages.clear();
    EXPECT_FALSE(c.attempt(run, std::nullopt));
    EXPECT_EQ(waitSaid(), TooManyWrongAnswersText(60'000));

    run.toolkit.advance(60'000);
    EXPECT_TRUE(c.attempt(run, Typed("user"))) << "the right password once the wait is over";
  }
}

// A folder answered right stays given back only until the screen is locked or the machine
// sleeps: then it is asked again, the one still in front included.
TEST_F(GuardHoldsTest, AFolderGivenBackIsAskedAgainAfterTheUserWasAway) {
  ASSERT_TRUE(openPrivateAnswering(Typed("abc")));
  const WindowId folder = last;
  toolkit.advance(1000);
  EXPECT_EQ(dialogs(), 1) << "given back: not asked again while it stays in front";

  answerPassword(Typed("abc"));
  scan().onUserAway();
  toolkit.advance(200);
  EXPECT_EQ(dialogs(), 2) << "the folder in front asked again after a lock";
  EXPECT_TRUE(enabled(folder));

  // Without a lock, the program's own window in between asks nothing again.
  front(scan().window());
  front(folder);
  EXPECT_EQ(dialogs(), 2);
}

// Log-off asked first: the program says yes and goes on guarding. Cancelled, nothing changed;
// gone through, the program ends and gives back every folder it held.
TEST_F(GuardHoldsTest, TheSessionEndsOnlyWhenItReallyEnds) {
  EXPECT_FALSE(endsProgram([&] { scan().endSession(false); }));
  EXPECT_TRUE(openPrivateAnswering(Typed("abc"))) << "still guarding after a cancelled log-off";

  WindowId waiting = 0;
  answerPassword(Typed("xyz", [&] {
    waiting = openFolder("C:\\Docs\\Private");
    EXPECT_FALSE(enabled(waiting));
    EXPECT_TRUE(endsProgram([&] { scan().endSession(true); }));
  }));
  open("CabinetWClass", "C:\\Docs\\Other");
  EXPECT_TRUE(enabled(waiting)) << "left disabled by the end of the session";
  EXPECT_TRUE(platform.keptHeld.empty());
}

// While any folder is held, the watcher knows which: it gives them back if the program is killed.
TEST_F(GuardHoldsTest, TheWatcherKnowsTheHeldWindowsOnlyWhileAnyAreHeld) {
  WindowId second = 0;
  answerPassword(Typed("xyz", [&] {
    EXPECT_EQ(platform.keptHeld.size(), 1u);
    second = openFolder("C:\\Docs\\Private");
    EXPECT_EQ(platform.keptHeld.size(), 2u);
  }));
  answerPassword(Typed("abc"));
  const WindowId first = openFolder("C:\\Docs\\Other");
  EXPECT_TRUE(enabled(first));
  EXPECT_TRUE(enabled(second));
  EXPECT_TRUE(platform.keptHeld.empty()) << "nothing held: the watcher ends";
  EXPECT_EQ(platform.watcherStarts, 1);
}

}  // namespace
}  // namespace folvane
