// The system's events of the window in front, in the real program: with the watch interval at a
// second, a protected folder window that comes forward, or that changes its title into a
// protected folder, is disabled and covered on its event, long before the next tick; a window
// that raises no event is still caught by the tick.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Private is locked with "xyz".
const std::string kList =
    "[PasswordSetData]\r\nPrivate=139140141\r\n[PasswordNumber]\r\nPassCount=1\r\n";
const std::string kPublic = "C:\\Data\\Public";
const std::string kPrivate = "C:\\Data\\Private";
const std::string kCoverClass = "FolvaneCover";
// Well within the interval of a second: no tick can have come between the event and the check.
constexpr Duration kOnTheEvent = 300ms;

class WindowEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox.writeFile("Folvane.ini", kSettingsWithAbc + "[Timer]\r\nInterval=1000\r\n");
    sandbox.writeFile("PassDat.ini", kList);
    program = std::make_unique<Process>(sandbox.start());
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }));
  }

  std::string activeForm() const { return windowText(children(main, "Edit").at(0)); }

  // Brings a window that raises no event forward and waits until a tick has shown it in the box:
  // the next tick is a second away from then.
  Clock::time_point tickShows(FolderWindow& window, const std::string& shown) {
    window.raiseEvents(false);
    window.bringForward();
    EXPECT_TRUE(waitUntil([&] { return activeForm() == shown; }, 3s))
        << "the sampler shows " << activeForm();
    return Clock::now();
  }

  // Disabled, and a visible cover of the program lies exactly over it.
  bool shut(const FolderWindow& folder) const {
    if (isEnabled(folder.id())) return false;
    for (Window window : topLevelWindows(program->pid())) {
      if (className(window) == kCoverClass && windowBox(window) == windowBox(folder.id()))
        return true;
    }
    return false;
  }

  // The challenge that follows, answered right: the folder comes back.
  void answerChallenge(const FolderWindow& folder) {
    const Window login = program->waitForWindow(kLoginCaption);
    ASSERT_TRUE(login) << "no challenge";
    EXPECT_TRUE(childByText(login, kAskLock));
    enterPassword(login, "xyz");
    EXPECT_TRUE(waitUntil([&] { return isEnabled(folder.id()); }));
  }

  Sandbox sandbox;
  std::unique_ptr<Process> program;
  Window main = 0;
};

TEST_F(WindowEvents, AProtectedFolderComingForwardIsShutOnItsEvent) {
  FolderWindow other(kPublic);
  FolderWindow folder(kPrivate);
  const Clock::time_point tick = tickShows(other, "CabinetWClass (" + kPublic + ")");
  folder.raiseEvents(true);
  folder.bringForward();
  EXPECT_TRUE(waitUntil([&] { return shut(folder); }, kOnTheEvent));
  ASSERT_LT(Clock::now() - tick, 900ms) << "too slow a run to tell the event from the tick";
  answerChallenge(folder);
}

// A folder window in front that changes its title into a protected folder: another folder in the
// same window, or another tab (Windows 11 titles).
TEST_F(WindowEvents, AFolderWindowInFrontRetitledIntoAProtectedFolderIsShutOnItsEvent) {
  struct Case {
    const char* why;
    std::string before, shown, after;
  } cases[] = {
      {"another folder", kPublic, "CabinetWClass (" + kPublic + ")", kPrivate},
      {"another tab", "Public とその他 1 のタブ - エクスプローラー", "CabinetWClass (Public)",
       "Private とその他 1 のタブ - エクスプローラー"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FolderWindow folder(c.before);
    const Clock::time_point tick = tickShows(folder, c.shown);
    folder.raiseEvents(true);
    folder.setTitle(c.after);
    EXPECT_TRUE(waitUntil([&] { return shut(folder); }, kOnTheEvent));
    ASSERT_LT(Clock::now() - tick, 900ms) << "too slow a run to tell the event from the tick";
    answerChallenge(folder);
  }
}

TEST_F(WindowEvents, AWindowRaisingNoEventIsCaughtByTheTick) {
  FolderWindow other(kPublic);
  FolderWindow folder(kPrivate);
  tickShows(other, "CabinetWClass (" + kPublic + ")");
  folder.bringForward();
  EXPECT_TRUE(waitUntil([&] { return shut(folder); }, 2s));
  answerChallenge(folder);
}

}  // namespace
}  // namespace folvane::e2e
