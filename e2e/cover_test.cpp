// The cover in the real program: while a folder window waits for its lock password, what a
// person sees where it lies is a window of the program, exactly over it, until the right answer
// gives the folder back.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

// Private is locked with "xyz", 秘密 with "key9".
std::string protectedList() {
  return "[PasswordSetData]\r\nPrivate=139140141\r\n" + toAnsi("秘密") +
         "=126120140076\r\n[PasswordNumber]\r\nPassCount=2\r\n";
}

const std::string kPrivate = "C:\\Data\\Private";
const std::string kSecret = "D:\\書類\\秘密";
const std::string kCoverClass = "FolvaneCover";
// The folder windows' own colour, which the program's windows never show.
constexpr std::uint32_t kFolderColor = 0x00FF00FF;

std::string describe(const Box& box) {
  std::ostringstream text;
  text << "(" << box.left << "," << box.top << ")-(" << box.right << "," << box.bottom << ")";
  return text.str();
}

class Cover : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
    sandbox.writeFile("PassDat.ini", protectedList());
    program = std::make_unique<Process>(sandbox.start());
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }));
    // Places on the right of the screen, clear of the main window and of the centred dialog.
    const Box screen = screenBox();
    upperRight = {screen.right - 500, 40, screen.right - 20, 360};
    lowerRight = {screen.right - 520, screen.bottom - 380, screen.right - 40, screen.bottom - 60};
  }

  // A folder window of this test, filled with its own colour.
  static std::unique_ptr<FolderWindow> folderAt(const std::string& title, const Box& box) {
    auto folder = std::make_unique<FolderWindow>(title);
    folder->place(box);
    folder->fill(kFolderColor);
    return folder;
  }

  // Empty when, at the centre and near each corner of the folder window, a person sees a
  // window of the program lying exactly over it, and the screen shows nothing of the folder's
  // own colour there; else what is seen at the first point that shows something else.
  std::string whyNotCovered(const FolderWindow& folder) const {
    const std::optional<Box> box = windowBox(folder.id());
    const std::optional<Box> client = clientBox(folder.id());
    if (!box || !client) return "the folder window is gone";
    for (Point point : centreAndCorners(*client)) {
      const std::optional<std::uint32_t> color = colorAt(point);
      if (!color) return "the screen cannot be read";
      if (*color == kFolderColor) {
        return "at (" + std::to_string(point.x) + "," + std::to_string(point.y) +
               ") the screen shows the folder window";
      }
    }
    for (Point point : centreAndCorners(*box)) {
      const Window seen = windowSeenAt(point);
      const std::optional<Box> seenBox = windowBox(seen);
      if (seen && processOf(seen) == program->pid() && seenBox == box) continue;
      std::ostringstream why;
      why << "at (" << point.x << "," << point.y << ") of " << describe(*box) << " a person sees "
          << (seen ? "\"" + windowText(seen) + "\" (" + className(seen) + ")" : "nothing")
          << (seen && processOf(seen) == program->pid() ? " of the program" : "")
          << (seenBox ? " at " + describe(*seenBox) : "");
      return why.str();
    }
    return "";
  }
  bool covered(const FolderWindow& folder, Duration timeout = 0ms) const {
    return waitUntil([&] { return whyNotCovered(folder).empty(); }, timeout);
  }
  // True once the folder window itself is what a person sees at all five points.
  bool showsItself(const FolderWindow& folder) const {
    return waitUntil(
        [&] {
          const std::optional<Box> box = windowBox(folder.id());
          const std::optional<Box> client = clientBox(folder.id());
          if (!box || !client) return false;
          for (Point point : centreAndCorners(*box))
            if (windowSeenAt(point) != folder.id()) return false;
          for (Point point : centreAndCorners(*client))
            if (colorAt(point) != kFolderColor) return false;
          return true;
        },
        3s);
  }
  // Whether `upper` lies above `lower` in z order.
  static bool above(Window upper, Window lower) {
    for (Window window : topLevelWindows()) {
      if (window == upper) return true;
      if (window == lower) return false;
    }
    return false;
  }
  // The program's covers, shown or hidden.
  std::vector<Window> covers() const {
    std::vector<Window> found;
    // The one the program keeps ready, hidden and over no window, has no text yet.
    for (Window window : topLevelWindows(program->pid(), false))
      if (className(window) == kCoverClass && !windowText(window).empty()) found.push_back(window);
    return found;
  }

  // The password dialog asking for a lock password, while `folder` waits disabled behind it.
  Window waitForChallenge(const FolderWindow& folder) {
    Window login = program->waitForWindow(kLoginCaption);
    if (!login) return 0;
    EXPECT_TRUE(childByText(login, kAskLock)) << "the dialog asks something else";
    EXPECT_FALSE(isEnabled(folder.id())) << "the folder can be used during its challenge";
    return login;
  }

  Sandbox sandbox;
  std::unique_ptr<Process> program;
  Window main = 0;
  Box upperRight, lowerRight;
};

TEST_F(Cover, AChallengedFolderIsHiddenUntilTheRightAnswerAndTheCoverFollowsIt) {
  auto owned = folderAt(kPrivate, upperRight);
  FolderWindow& folder = *owned;
  folder.bringForward();
  Window login = waitForChallenge(folder);
  ASSERT_TRUE(login) << "no challenge";
  // Up before the dialog; the folder's own activation may still raise it over the cover once,
  // and the next tick puts the cover back.
  EXPECT_TRUE(covered(folder, 300ms)) << whyNotCovered(folder);
  ASSERT_EQ(covers().size(), 1u);
  const Window cover = covers()[0];
  EXPECT_FALSE(isEnabled(folder.id()));
  EXPECT_NE(foregroundWindow(), cover) << "the cover took the foreground";

  // The driver drags the folder window elsewhere, then makes it smaller.
  folder.place(lowerRight);
  EXPECT_TRUE(covered(folder, 1s)) << "after a move: " << whyNotCovered(folder);
  folder.place({lowerRight.left + 60, lowerRight.top + 40, lowerRight.right, lowerRight.bottom});
  EXPECT_TRUE(covered(folder, 1s)) << "after a resize: " << whyNotCovered(folder);

  // Minimised, the folder needs no cover; restored, it has it back.
  folder.minimize();
  EXPECT_TRUE(waitUntil([&] { return !isVisible(cover); }, 1s)) << "a cover over nothing";
  folder.restore();
  EXPECT_TRUE(covered(folder, 1s)) << "after a restore: " << whyNotCovered(folder);

  // Moved over the question and brought to the top again (from the task bar, say), the folder
  // is still covered, and the question stays in front of both.
  const std::optional<Box> dialog = windowBox(login), dialogClient = clientBox(login);
  ASSERT_TRUE(dialog && dialogClient);
  const Point inDialog{dialogClient->left + 4, dialogClient->bottom - 5};
  const std::optional<std::uint32_t> dialogColor = colorAt(inDialog);
  folder.place({dialog->left - 120, dialog->top - 90, dialog->right + 120, dialog->bottom + 90});
  folder.raise();
  const std::optional<Box> folderClient = clientBox(folder.id());
  ASSERT_TRUE(folderClient);
  const Point inFolder = centreAndCorners(*folderClient)[1];
  EXPECT_TRUE(waitUntil(
      [&] {
        return above(login, cover) && above(cover, folder.id()) &&
               windowSeenAt(inDialog) == login && colorAt(inDialog) == dialogColor &&
               windowSeenAt(inFolder) == cover && colorAt(inFolder) != kFolderColor;
      },
      1s))
      << "question above cover " << above(login, cover) << ", cover above folder "
      << above(cover, folder.id()) << ", question seen " << (windowSeenAt(inDialog) == login)
      << ", its colour " << (colorAt(inDialog) == dialogColor) << ", cover seen "
      << (windowSeenAt(inFolder) == cover) << ", folder colour seen "
      << (colorAt(inFolder) == kFolderColor);

  enterPassword(login, "xyz");
  ASSERT_TRUE(waitForGone(login));
  EXPECT_TRUE(showsItself(folder)) << "the folder window is not seen after the right answer";
  EXPECT_TRUE(isEnabled(folder.id()));
  EXPECT_FALSE(exists(cover));
}

// A second folder waiting behind the first challenge is covered while it waits and while it is
// asked for; a wrong answer closes it, and its cover goes with it.
TEST_F(Cover, AFolderWaitingItsTurnIsCoveredToo) {
  auto ownedFirst = folderAt(kPrivate, upperRight);
  FolderWindow& first = *ownedFirst;
  first.bringForward();
  Window login = waitForChallenge(first);
  ASSERT_TRUE(login);

  auto ownedSecond = folderAt(kSecret, lowerRight);
  FolderWindow& second = *ownedSecond;
  second.bringForward();
  ASSERT_TRUE(waitUntil([&] { return !isEnabled(second.id()); }, 2s));
  // Covered when it was disabled; its own activation may still raise it over the cover once,
  // and the next tick puts the cover back.
  EXPECT_TRUE(covered(second, 300ms)) << "disabled but not covered: " << whyNotCovered(second);
  EXPECT_EQ(whyNotCovered(first), "");
  EXPECT_EQ(covers().size(), 2u);

  enterPassword(login, "xyz");
  ASSERT_TRUE(waitForGone(login));
  Window next = waitForChallenge(second);
  ASSERT_TRUE(next) << "the waiting folder was not challenged";
  EXPECT_TRUE(showsItself(first));
  EXPECT_EQ(whyNotCovered(second), "");

  cancelPassword(next);
  Window message = program->waitForWindow(kAppTitle);
  ASSERT_TRUE(message) << "no message after a cancel";
  EXPECT_EQ(whyNotCovered(second), "") << "the folder shows while the message waits";
  answer(message, Answer::Ok);
  EXPECT_TRUE(waitForGone(second.id())) << "the folder window was not closed";
  EXPECT_TRUE(waitUntil([&] { return covers().empty(); }, 1s)) << "a cover outlived its folder";
  EXPECT_TRUE(showsItself(first));
}

// While another program holds the protected list sharing nothing, longer than the program waits
// for it, a folder window that comes forward is held shut and covered, and nothing is asked; once
// the list can be read, a protected folder is challenged and an unprotected one is given back.
TEST_F(Cover, FoldersStayShutWhileTheListCannotBeRead) {
  const std::string unlisted = "C:\\Data\\Public";
  for (const std::string& title : {kPrivate, unlisted}) {
    SCOPED_TRACE(title);
    const bool listed = title == kPrivate;
    FolderWindow between("between", "Notepad");
    between.bringForward();
    pump(300ms);

    auto holder = std::make_unique<FileHolder>(sandbox.path("PassDat.ini"), 3000ms, 60000ms,
                                               FileHolder::Sharing::Nothing);
    ASSERT_TRUE(waitUntil([&] { return holder->holds() > 0; }, 2s));
    const auto heldUntil = std::chrono::steady_clock::now() + 3000ms;
    auto owned = folderAt(title, upperRight);
    FolderWindow& folder = *owned;
    folder.bringForward();
    ASSERT_TRUE(waitUntil([&] { return !isEnabled(folder.id()); }, 2500ms))
        << "the folder window was not held";
    EXPECT_TRUE(covered(folder, 300ms)) << whyNotCovered(folder);
    while (std::chrono::steady_clock::now() < heldUntil - 200ms) {
      EXPECT_FALSE(isEnabled(folder.id()));
      EXPECT_FALSE(program->findWindow(kLoginCaption)) << "asked without a list";
      pump(100ms);
    }
    EXPECT_EQ(whyNotCovered(folder), "");
    holder.reset();

    if (listed) {
      Window login = waitForChallenge(folder);
      ASSERT_TRUE(login) << "not challenged once the list could be read";
      enterPassword(login, "xyz");
      ASSERT_TRUE(waitForGone(login));
    }
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }, 3s))
        << "not given back once the list could be read";
    EXPECT_TRUE(showsItself(folder));
    EXPECT_TRUE(covers().empty());
  }
}

}  // namespace
}  // namespace folvane::e2e
