// The watch in the real program: the sampler sees the folder window in front, the lock check
// challenges a protected one, and the tray switches the watch off and on with the lamp following.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kWrongLock = "パスワードが正しくありません。";
const std::string kStopWatching = "ウォッチ停止";   // Button2 while the watch is on
const std::string kStartWatching = "ウォッチ動作";  // Button2 while it is off
const std::string kWatchStopped = "ウォッチ停止中";
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kRed = 0x0000FF;

// Private is locked with "xyz" (139 140 141), 秘密 with "key9" (126 120 140 076); Empty is
// listed without a code, which leaves it unprotected.
std::string protectedList() {
  return "[PasswordSetData]\r\nPrivate=139140141\r\n" + toAnsi("秘密") +
         "=126120140076\r\nEmpty=\r\n[PasswordNumber]\r\nPassCount=3\r\n";
}

const std::string kPrivate = "C:\\Data\\Private";
const std::string kSecret = "D:\\書類\\秘密";
const std::string kPublic = "C:\\Data\\Public";

Process startWatching(const Sandbox& sandbox) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  sandbox.writeFile("PassDat.ini", protectedList());
  return sandbox.start();
}

class Watch : public ::testing::Test {
 protected:
  void SetUp() override {
    main = program.mainWindow();
    ASSERT_TRUE(main);
    // Resident once the splash has gone; from then on nothing of the program is shown.
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program.pid()).empty(); }));
  }

  // The main window's active-form text box: what the sampler saw last.
  std::string activeForm() const { return windowText(children(main, "Edit").at(0)); }
  std::string watchButton() const {
    for (Window button : children(main, "Button")) {
      std::string caption = windowText(button);
      if (caption == kStopWatching || caption == kStartWatching) return caption;
    }
    return "";
  }

  // Brings a window forward and waits until the sampler has written it into the box.
  void sample(FolderWindow& window, const std::string& classAndTitle) {
    window.bringForward();
    EXPECT_TRUE(waitUntil([&] { return activeForm() == classAndTitle; }, 3s))
        << "the sampler shows " << activeForm();
  }

  // The password dialog asking for a lock password, while `folder` waits disabled behind it.
  Window waitForChallenge(const FolderWindow& folder) {
    Window login = program.waitForWindow(kLoginCaption);
    if (!login) return 0;
    EXPECT_TRUE(childByText(login, kAskLock)) << "the dialog asks something else";
    EXPECT_FALSE(isEnabled(folder.id())) << "the folder can be used during its challenge";
    return login;
  }

  // Watches `folder` in front for `time`: false as soon as it is disabled or a dialog comes.
  bool leftAlone(const FolderWindow& folder, Duration time = 1000ms) {
    bool touched = false;
    waitUntil(
        [&] {
          touched = touched || !isEnabled(folder.id()) || program.findWindow(kLoginCaption) ||
                    program.findWindow(kAppTitle);
          return touched;
        },
        time);
    return !touched;
  }

  // The lamp as it is painted: the main window is shown in front to look at it and hidden
  // again afterwards.
  std::optional<std::uint32_t> waitForLamp(std::uint32_t color) {
    postTrayMouse(main, 516);
    EXPECT_TRUE(waitUntil([&] { return isVisible(main); }, 3s));
    Window shape = children(main, "FolvanePainted").at(0);
    std::optional<std::uint32_t> seen;
    waitUntil([&] { return (seen = colorAtCenter(shape)) == color; }, 2s);
    postTrayMouse(main, 516);
    EXPECT_TRUE(waitUntil([&] { return !isVisible(main); }, 3s));
    return seen;
  }

  // Tray left button while the watch is on: answers the user-password question.
  void stopWatch(const std::string& password) {
    postTrayMouse(main, 513);
    Window login = program.waitForWindow(kLoginCaption);
    ASSERT_TRUE(login) << "no question for the user password";
    EXPECT_TRUE(childByText(login, kAskUser));
    enterPassword(login, password);
    ASSERT_TRUE(waitForGone(login));
  }

  Sandbox sandbox;
  Process program = startWatching(sandbox);
  Window main = 0;
};

// Each answer to the challenge of a protected folder, on a fresh folder window each time.
TEST_F(Watch, AProtectedFolderIsDisabledAndChallengedAndTheAnswerDecides) {
  struct Case {
    std::string title;
    std::string first, second;  // the two password boxes
    bool cancel;
    bool keptOpen;
  };
  const std::vector<Case> cases = {
      {kPrivate, "xyz", "xyz", false, true},
      {kSecret, "key9", "key9", false, true},  // a Japanese folder key
      {kPrivate, "XYZ", "XYZ", false, false},  // letter case counts
      {kPrivate, "", "", false, false},        // both boxes empty
      {kSecret, "", "", true, false},          // cancelled
  };
  FolderWindow other(kPublic);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title + " answered '" + c.first + "'" + (c.cancel ? " (cancelled)" : ""));
    // Another window in between, so that the folder is new to the sampler each time.
    sample(other, "CabinetWClass (" + kPublic + ")");

    FolderWindow folder(c.title);
    folder.bringForward();
    Window login = waitForChallenge(folder);
    ASSERT_TRUE(login) << "no challenge";
    EXPECT_TRUE(isVisible(main)) << "the main window is not shown during the challenge";
    EXPECT_EQ(activeForm(), "CabinetWClass (" + c.title + ")");

    if (c.cancel) {
      cancelPassword(login);
    } else {
      enterPassword(login, c.first, c.second);
    }
    ASSERT_TRUE(waitForGone(login));
    if (c.keptOpen) {
      EXPECT_TRUE(waitUntil([&] { return foregroundWindow() == folder.id(); }, 3s))
          << "the folder window did not come back to the front";
      EXPECT_TRUE(isEnabled(folder.id()));
      EXPECT_FALSE(program.findWindow(kAppTitle)) << "a message after a right answer";
    } else {
      Window message = program.waitForWindow(kAppTitle);
      ASSERT_TRUE(message) << "no message after a wrong answer";
      EXPECT_EQ(messageText(message), kWrongLock);
      answer(message, Answer::Ok);
      EXPECT_TRUE(waitForGone(folder.id())) << "the folder window was not closed";
    }
    EXPECT_TRUE(waitUntil([&] { return !isVisible(main); }, 3s)) << "the main window stays up";
    EXPECT_TRUE(folder.closed() || isEnabled(folder.id()));
  }
}

// Folder windows titled as Windows 11 titles them, in Japanese and in English, with the number of
// their other tabs and with the full path: each is challenged under its folder's name, and the box
// shows the folder as Windows 10 titled it. Under Wine the Shell says nothing of these windows, so
// the program goes by their whole titles.
TEST_F(Watch, FolderWindowsTitledAsWindows11TitlesThemAreChallengedUnderTheirFoldersName) {
  struct Case {
    std::string title;
    std::string folder;  // as the box shows it
    std::string password;
  };
  std::string longParent = "C:\\";
  for (int i = 0; i < 70; ++i) longParent += "長";
  const std::vector<Case> cases = {
      {"Private - File Explorer", "Private", "xyz"},
      {"Private and 2 more tabs - File Explorer", "Private", "xyz"},
      {"C:\\Data\\Private and 1 more tab - File Explorer", "C:\\Data\\Private", "xyz"},
      {"秘密 - エクスプローラー", "秘密", "key9"},
      {"D:\\書類\\秘密 とその他 1 のタブ - エクスプローラー", "D:\\書類\\秘密", "key9"},
      // Beyond the 128 bytes of the title the box has always shown.
      {longParent + "\\秘密 - エクスプローラー", longParent + "\\秘密", "key9"},
  };
  FolderWindow other(kPublic + " - File Explorer");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    sample(other, "CabinetWClass (" + kPublic + ")");
    EXPECT_TRUE(leftAlone(other, 300ms)) << "a folder not listed was challenged";

    FolderWindow folder(c.title);
    folder.bringForward();
    Window login = waitForChallenge(folder);
    ASSERT_TRUE(login) << "no challenge";
    EXPECT_EQ(activeForm(), "CabinetWClass (" + c.folder + ")");
    enterPassword(login, c.password);
    ASSERT_TRUE(waitForGone(login));
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s));
    EXPECT_FALSE(folder.closed());
    EXPECT_FALSE(program.findWindow(kAppTitle)) << "a right answer was refused";
  }
}

// Windows the lock check must not touch: each is sampled, and none is disabled or asked about.
TEST_F(Watch, WindowsThatAreNotProtectedFoldersAreLeftAlone) {
  struct Case {
    std::string className, title;
  };
  const std::vector<Case> cases = {
      {"CabinetWClass", kPublic},            // not on the list
      {"CabinetWClass", "C:\\Data\\Empty"},  // listed without a lock code
      {"ExploreWClass", kPrivate},           // the other kind of folder window
      {"CabinetWClass", ""},                 // no title
      {"Notepad", kPrivate},                 // not a folder window at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className + " (" + c.title + ")");
    FolderWindow window(c.title, c.className);
    sample(window, c.className + " (" + c.title + ")");
    EXPECT_TRUE(leftAlone(window));
  }
  EXPECT_TRUE(childByText(main, "登録数：3")) << "the count label was not refreshed";

  // The same folder in a folder window of the watched kind is challenged.
  FolderWindow folder(kPrivate);
  folder.bringForward();
  Window login = waitForChallenge(folder);
  ASSERT_TRUE(login);
  enterPassword(login, "xyz");
  EXPECT_TRUE(waitForGone(login));
  EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s));
}

// The tray's left button stops the watch after the user password and starts it without one;
// the lamp and Button2 follow, and nothing is challenged while the watch is off.
TEST_F(Watch, TheTrayStopsAndStartsTheWatchAndTheLampFollows) {
  EXPECT_EQ(watchButton(), kStopWatching);
  EXPECT_EQ(waitForLamp(kGreen), kGreen);

  // A wrong user password changes nothing, silently.
  stopWatch("abd");
  pump(500ms);
  EXPECT_FALSE(program.findWindow(kAppTitle));
  EXPECT_EQ(watchButton(), kStopWatching);

  stopWatch("abc");
  EXPECT_TRUE(waitUntil([&] { return watchButton() == kStartWatching; }, 3s));
  EXPECT_EQ(activeForm(), kWatchStopped);
  EXPECT_EQ(waitForLamp(kRed), kRed);

  FolderWindow folder(kPrivate);
  folder.bringForward();
  EXPECT_TRUE(leftAlone(folder, 1500ms)) << "a folder was challenged while the watch was off";
  EXPECT_EQ(activeForm(), kWatchStopped);

  // Starting asks nothing; the folder still in front is challenged at the first tick.
  postTrayMouse(main, 513);
  EXPECT_TRUE(waitUntil([&] { return watchButton() == kStopWatching; }, 3s));
  Window login = waitForChallenge(folder);
  ASSERT_TRUE(login) << "the folder in front was not challenged after the start";
  enterPassword(login, "xyz");
  ASSERT_TRUE(waitForGone(login));
  EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s));
  EXPECT_EQ(waitForLamp(kGreen), kGreen);
}

// A second protected folder that comes forward while a challenge is open waits disabled for its
// own challenge, which follows the first one whatever its answer; no window is left disabled.
TEST_F(Watch, ASecondProtectedFolderWaitsDisabledForItsTurn) {
  struct Case {
    bool firstRight, secondRight;
  };
  for (Case c : {Case{true, true}, Case{false, true}, Case{true, false}}) {
    const bool firstRight = c.firstRight;
    SCOPED_TRACE(::testing::Message()
                 << "first right " << c.firstRight << ", second right " << c.secondRight);
    FolderWindow other(kPublic);
    sample(other, "CabinetWClass (" + kPublic + ")");

    FolderWindow first(kPrivate);
    first.bringForward();
    Window login = waitForChallenge(first);
    ASSERT_TRUE(login);

    FolderWindow second(kSecret);
    second.bringForward();
    EXPECT_TRUE(waitUntil([&] { return !isEnabled(second.id()); }, 2s))
        << "the second folder is usable while it waits";
    pump(500ms);
    EXPECT_EQ(findWindow(kLoginCaption, program.pid()), login) << "a second dialog opened";
    EXPECT_FALSE(isEnabled(second.id()));

    enterPassword(login, firstRight ? "xyz" : "key9");
    ASSERT_TRUE(waitForGone(login));
    if (!firstRight) {
      Window message = program.waitForWindow(kAppTitle);
      ASSERT_TRUE(message);
      EXPECT_EQ(messageText(message), kWrongLock);
      EXPECT_FALSE(isEnabled(second.id())) << "the waiting folder was given back unasked";
      answer(message, Answer::Ok);
      EXPECT_TRUE(waitForGone(first.id())) << "the first folder was not closed";
    }
    Window next = waitForChallenge(second);
    ASSERT_TRUE(next) << "the waiting folder was not challenged";
    EXPECT_TRUE(first.closed() || isEnabled(first.id())) << "the first folder was not given back";
    enterPassword(next, c.secondRight ? "key9" : "bad");
    ASSERT_TRUE(waitForGone(next));
    if (!c.secondRight) {
      // Its message and its closing must not make the first folder ask again.
      Window message = program.waitForWindow(kAppTitle);
      ASSERT_TRUE(message);
      answer(message, Answer::Ok);
      EXPECT_TRUE(waitForGone(second.id())) << "the second folder was not closed";
      pump(1s);
      EXPECT_FALSE(program.findWindow(kLoginCaption)) << "the first folder was asked again";
      EXPECT_TRUE(isEnabled(first.id()));
      continue;
    }
    EXPECT_TRUE(waitUntil([&] { return foregroundWindow() == second.id(); }, 3s));

    pump(500ms);
    EXPECT_TRUE(isEnabled(second.id()));
    EXPECT_EQ(first.closed(), !firstRight);
    EXPECT_TRUE(first.closed() || isEnabled(first.id()));
    EXPECT_FALSE(program.findWindow(kLoginCaption)) << "a challenge too many";
    EXPECT_FALSE(program.findWindow(kAppTitle));
  }
}

// Windows logging off while folders wait behind a challenge: the program ends without a question
// and gives back every folder it holds on the way out.
TEST_F(Watch, TheEndOfTheSessionDuringAChallengeLeavesNoFolderDisabled) {
  FolderWindow first(kPrivate);
  first.bringForward();
  ASSERT_TRUE(waitForChallenge(first));
  FolderWindow second(kSecret);
  second.bringForward();
  ASSERT_TRUE(waitUntil([&] { return !isEnabled(second.id()); }, 2s));

  queryEndSession(main);
  if (program.running()) endSession(main);
  EXPECT_TRUE(program.waitExit().has_value()) << "the program did not end";
  pump(200ms);
  EXPECT_TRUE(isEnabled(first.id()));
  EXPECT_TRUE(isEnabled(second.id()));
}

// The about box closes by itself while a folder's challenge, opened over it, still waits for an
// answer: the main window must stay disabled under the password dialog until that has ended.
TEST_F(Watch, TheMainWindowWaitsForTheLastModalWindowToEnd) {
  postTrayMouse(main, 516);
  ASSERT_TRUE(waitUntil([&] { return isVisible(main); }, 3s));
  ASSERT_TRUE(chooseMenu(main, 'H', 'A'));
  Window about = 0;
  ASSERT_TRUE(waitUntil([&] {
    for (Window window : topLevelWindows(program.pid()))
      if (windowText(window).empty() && className(window) != "#32768") about = window;
    return about != 0;
  })) << "no about box";
  EXPECT_FALSE(isEnabled(main));

  FolderWindow folder(kPrivate);
  folder.bringForward();
  Window login = waitForChallenge(folder);
  ASSERT_TRUE(login) << "no challenge";
  ASSERT_TRUE(waitUntil([&] { return !exists(about) || !isVisible(about); }, 5s))
      << "the about box did not close by itself";
  pump(500ms);
  EXPECT_TRUE(exists(login));
  EXPECT_FALSE(isEnabled(main)) << "the main window can be used under the password dialog";

  enterPassword(login, "xyz");
  ASSERT_TRUE(waitForGone(login));
  EXPECT_TRUE(waitUntil([&] { return isEnabled(main); }, 3s)) << "the main window stayed disabled";
  EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s));
}

}  // namespace
}  // namespace folvane::e2e
