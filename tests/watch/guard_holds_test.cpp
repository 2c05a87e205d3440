#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/guess_limit.h"
#include "dialogs/login_form.h"
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
