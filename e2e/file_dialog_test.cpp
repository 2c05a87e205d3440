// Open and Save dialogs of another program in the real program: the system's own Open dialog of
// Wine, the classic one, and a stand-in for the common item dialog of Windows 10 and 11. A dialog
// that goes into a listed folder is challenged like a folder window; a wrong answer cancels it and
// a right one gives it back.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "e2e/driver.h"
#include "e2e/file_dialogs.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kWrongLock = "パスワードが正しくありません。";

// 経理 is locked with "xyz" (139 140 141).
std::string protectedList() {
  return "[PasswordSetData]\r\n" + toAnsi("経理") +
         "=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n";
}

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    main = program.mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program.pid()).empty(); }));
  }

  static Process startWatching(const Sandbox& sandbox) {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
    sandbox.writeFile("PassDat.ini", protectedList());
    return sandbox.start();
  }

  std::string activeForm() const { return windowText(children(main, "Edit").at(0)); }
  bool shows(const std::string& text) {
    return waitUntil([&] { return activeForm() == text; }, 3s);
  }

  // Watches the dialog in front for a while: false as soon as it is disabled or a question comes.
  bool leftAlone(Window dialog, Duration time = 800ms) {
    bool touched = false;
    waitUntil(
        [&] {
          touched = touched || !isEnabled(dialog) || program.findWindow(kLoginCaption);
          return touched;
        },
        time);
    return !touched;
  }

  // The question for the lock password while the dialog waits, disabled and covered, behind it.
  Window waitForChallenge(Window dialog) {
    const Window login = program.waitForWindow(kLoginCaption);
    if (!login) return 0;
    EXPECT_TRUE(childByText(login, kAskLock));
    EXPECT_FALSE(isEnabled(dialog)) << "the dialog can be used during its challenge";
    return login;
  }

  // Answers wrong, and the message that follows.
  void answerWrong(Window login) {
    enterPassword(login, "wrong");
    ASSERT_TRUE(waitForGone(login));
    const Window message = program.waitForWindow(kAppTitle);
    ASSERT_TRUE(message) << "no message after a wrong answer";
    EXPECT_EQ(messageText(message), kWrongLock);
    answer(message, Answer::Ok);
  }

  Sandbox sandbox;
  Process program = startWatching(sandbox);
  Window main = 0;
  RealFolder open{"公開"};
  RealFolder locked{"経理"};
};

TEST_F(FileDialogs, TheSystemsOpenDialogIsChallengedInAListedFolderAndCancelledByAWrongAnswer) {
  {
    OpenDialog dialog(open.path());
    dialog.bringForward();
    ASSERT_TRUE(shows("#32770 (公開)")) << "the box shows " << activeForm();
    EXPECT_TRUE(leftAlone(dialog.id())) << "a folder not listed was challenged";

    const Window shown = dialog.id();
    dialog.goTo(locked.path());
    const Window login = waitForChallenge(shown);
    ASSERT_TRUE(login) << "no challenge; the box shows " << activeForm();
    EXPECT_EQ(activeForm(), "#32770 (経理)");
    answerWrong(login);
    EXPECT_TRUE(waitUntil([&] { return dialog.ended(); })) << "the dialog was not cancelled";
    EXPECT_TRUE(dialog.cancelled()) << "the dialog ended otherwise than by its Cancel";
  }
  {
    OpenDialog dialog(open.path());
    dialog.bringForward();
    ASSERT_TRUE(shows("#32770 (公開)"));
    const Window shown = dialog.id();
    dialog.goTo(locked.path());
    const Window login = waitForChallenge(shown);
    ASSERT_TRUE(login);
    enterPassword(login, "xyz");
    ASSERT_TRUE(waitForGone(login));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(shown); }, 3s));
    EXPECT_TRUE(leftAlone(shown)) << "a dialog given back was asked again";
    EXPECT_FALSE(dialog.ended());
    EXPECT_FALSE(program.findWindow(kAppTitle)) << "a message after a right answer";
  }
}

TEST_F(FileDialogs, TheCommonItemDialogIsChallengedByItsAddressBandAndItsAddressBox) {
  {
    StandInItemDialog dialog(open.path());
    dialog.bringForward();
    ASSERT_TRUE(shows("#32770 (" + open.path() + ")")) << "the box shows " << activeForm();
    EXPECT_TRUE(leftAlone(dialog.id()));
    dialog.goTo(locked.path());
    const Window login = waitForChallenge(dialog.id());
    ASSERT_TRUE(login) << "no challenge; the box shows " << activeForm();
    EXPECT_EQ(activeForm(), "#32770 (" + locked.path() + ")");
    answerWrong(login);
    EXPECT_TRUE(waitUntil([&] { return dialog.cancelled(); })) << "the dialog was not cancelled";
  }
  {
    // A path typed into the address box is what the dialog shows while the box has the focus.
    StandInItemDialog dialog(open.path());
    dialog.bringForward();
    ASSERT_TRUE(shows("#32770 (" + open.path() + ")"));
    dialog.typeAddress(locked.path());
    const Window login = waitForChallenge(dialog.id());
    ASSERT_TRUE(login) << "no challenge; the box shows " << activeForm();
    enterPassword(login, "xyz");
    ASSERT_TRUE(waitForGone(login));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(dialog.id()); }, 3s));
    EXPECT_FALSE(dialog.cancelled());
  }
}

}  // namespace
}  // namespace folvane::e2e
