// The system's events of the window in front in the running program: a change in front is
// decided at once, not at the next tick, with the sampler's timer kept as the floor under them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kLockPrompt[] = "ロック用パスワードを入力して下さい。";
constexpr char kPrivateCover[] = "「Private」はロックされています";

class WindowEventsTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    // A second between ticks: whatever is decided without moving the clock was decided by an
    // event.
    writeFile("Folvane.ini", "[Timer]\r\nInterval=1000\r\n");
    platform.windowsCloseOnRequest = false;
    ASSERT_TRUE(startResident("user"));
    toolkit.advance(1000);  // a tick with nothing in front
  }

  // A window comes to the front and the system says so, without a tick.
  void comeForward(WindowId window) {
    platform.bringToFront(window);
    platform.raiseWindowEvent(window);
  }
  void retitle(WindowId window, const std::string& title) {
    platform.setTitle(window, title);
    platform.raiseWindowEvent(window);
  }
  // The folder is shut and asked for while the dialog waits; the answer is right.
  void expectChallengeOf(WindowId folder) {
    answerPassword(Typed("abc", [this, folder] {
      EXPECT_FALSE(enabled(folder));
      EXPECT_EQ(coverOf(folder), kPrivateCover);
    }));
  }
  bool untouched(WindowId window) { return enabled(window) && !coverOf(window); }
};

TEST_F(WindowEventsTest, AChangeInFrontIsDecidedOnItsEventNotAtTheNextTick) {
  struct Case {
    const char* why;
    std::string before;  // the title of a folder window in front first; "" for none
    std::string shown;   // what the box shows of it
    std::string after;   // the title it comes with, or changes to
  } cases[] = {
      {"a protected folder comes forward", "", "", "C:\\Docs\\Private"},
      {"a folder in front moves into a protected folder", "C:\\Docs\\Public",
       "CabinetWClass (C:\\Docs\\Public)", "C:\\Docs\\Private"},
      {"a tab switch", "Public とその他 1 のタブ - エクスプローラー", "CabinetWClass (Public)",
       "Private とその他 1 のタブ - エクスプローラー"},
      {"the same in English", "Downloads and 2 more tabs - File Explorer",
       "CabinetWClass (Downloads)", "Private and 2 more tabs - File Explorer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    open("Notepad", "between");  // on a tick: the next folder is decided afresh
    const long long tick = toolkit.now();
    WindowId folder = 0;
    if (c.before.empty()) {
      folder = platform.addWindow("CabinetWClass", c.after);
      expectChallengeOf(folder);
      comeForward(folder);
    } else {
      folder = platform.addWindow("CabinetWClass", c.before);
      comeForward(folder);
      EXPECT_TRUE(untouched(folder));
      EXPECT_EQ(scan().Text.text(), c.shown) << "the event sampled the folder window";
      expectChallengeOf(folder);
      retitle(folder, c.after);
    }
    EXPECT_EQ(toolkit.now(), tick);
    ASSERT_FALSE(prompts.empty());
    EXPECT_EQ(prompts.back(), kLockPrompt);
    EXPECT_TRUE(untouched(folder)) << "given back after the right answer";
    const int asked = dialogs();
    toolkit.advance(1000);  // the tick finds the change decided already
    EXPECT_EQ(dialogs(), asked);
  }
}

// Events the system raises about other windows, about parts of a window and about the program's
// own windows; and a system that refuses to raise any. Nothing is looked at on such an event,
// and the next tick still decides.
TEST(WindowEvents, EventsThatConcernNoChangeInFrontDecideNothing) {
  struct Case {
    const char* why;
    long object = kObjectWindow;
    long child = kChildSelf;
    bool eventForAnotherWindow = false;  // a hidden window claims the front
    bool ownWindowInFront = false;       // the event is about the program's main window
    bool refused = false;                // the system sets no hook
  } cases[] = {
      {"about a window that is not in front", kObjectWindow, kChildSelf, true},
      {"about the caret of the folder window", -8},
      {"about a child of the folder window", kObjectWindow, 3},
      {"about the program's own window", kObjectWindow, kChildSelf, false, true},
      {"no events from the system", kObjectWindow, kChildSelf, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ProgramRun run;
    run.writeFile("PassDat.ini", kProtectedList);
    run.writeFile("Folvane.ini", "[Timer]\r\nInterval=1000\r\n");
    run.platform.windowEventsRefused = c.refused;
    ASSERT_TRUE(run.startResident("user"));
    run.toolkit.advance(1000);

    const WindowId folder = run.platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
    const WindowId hidden = run.platform.addWindow("CabinetWClass", "C:\\Docs\\Other");
    run.platform.bringToFront(c.ownWindowInFront ? run.scan().window() : folder);
    const int questions = run.platform.shellQuestions;
    const int reads = run.platform.readsOf["PassDat.ini"];
    const WindowId about = c.eventForAnotherWindow ? hidden
                           : c.ownWindowInFront    ? run.scan().window()
                                                   : folder;
    run.platform.raiseWindowEvent(about, c.object, c.child);
    EXPECT_EQ(run.platform.windowEventsDelivered, 0);
    EXPECT_EQ(run.platform.shellQuestions, questions);
    EXPECT_EQ(run.platform.readsOf["PassDat.ini"], reads);
    EXPECT_TRUE(run.enabled(folder));
    EXPECT_TRUE(run.enabled(hidden));

    // The timer is the floor: the protected folder in front is caught at the next tick.
    run.platform.bringToFront(folder);
    run.typePassword("abc");
    run.toolkit.advance(1000);
    EXPECT_EQ(run.prompts, std::vector<std::string>{kLockPrompt});
  }
}

// A window in front that retitles many times a second (a player showing the time, a build tool
// its progress): one sample and one decision per change of its title, none for an event that
// changed nothing, and the box shows the last title.
TEST_F(WindowEventsTest, ABurstOfRetitlesCostsOneSamplePerChange) {
  int shown = 0;
  scan().Text.onChange = [&] { ++shown; };
  const WindowId player = platform.addWindow("MediaPlayer", "0:00");
  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\Docs\\Public");
  for (WindowId window : {player, folder}) {
    comeForward(window);
    const int shownBefore = shown;
    const int reads = platform.readsOf["PassDat.ini"];
    const int questions = platform.shellQuestions;
    int changes = 0;
    for (int event = 0; event < 100; ++event) {
      // Ten events for every title: the window raises one for each redraw of its caption.
      if (event % 10 == 0) {
        platform.setTitle(window, "C:\\Docs\\Public " + std::to_string(event));
        ++changes;
      }
      platform.raiseWindowEvent(window);
    }
    EXPECT_EQ(shown - shownBefore, changes);
    if (window == folder) {
      EXPECT_EQ(platform.shellQuestions - questions, changes);
      // One read of the list per change: the one on the folder's title before the Shell is asked
      // serves the decision that follows too.
      EXPECT_EQ(platform.readsOf["PassDat.ini"] - reads, changes);
    } else {
      EXPECT_EQ(platform.shellQuestions, questions);
      EXPECT_EQ(platform.readsOf["PassDat.ini"], reads) << "no folder window, no read of the list";
    }
    EXPECT_EQ(scan().Text.text(), std::string(window == folder ? "CabinetWClass" : "MediaPlayer") +
                                      " (C:\\Docs\\Public 90)");
  }
  EXPECT_EQ(dialogs(), 0);
  EXPECT_TRUE(enabled(folder));
}

TEST_F(WindowEventsTest, TheEventsFollowTheWatchAndEndWithTheProgram) {
  EXPECT_EQ(platform.windowEventsOwner, scan().window());

  typePassword("user");
  scan().onTrayClick(TrayClick::Left);  // stops the watch
  EXPECT_EQ(platform.windowEventsOwner, 0u);
  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\Docs\\Private");
  comeForward(folder);
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(untouched(folder));

  scan().onTrayClick(TrayClick::Left);  // starts it again
  EXPECT_EQ(platform.windowEventsOwner, scan().window());
  expectChallengeOf(folder);
  open("Notepad", "between");
  comeForward(folder);
  EXPECT_EQ(dialogs(), 2);

  typePassword("user");
  answerMessages({MsgAnswer::Yes});
  EXPECT_TRUE(endsProgram([&] { scan().Button1.click(); }));
  EXPECT_EQ(platform.windowEventsOwner, 0u);
}

// The Shell may take its whole wait to answer: a folder window whose title names a listed folder
// is shut before it is asked, on an event as on a tick; one whose title names none waits for the
// answer, which may name a listed folder, or show that the title named the folder of a moment
// ago.
TEST_F(WindowEventsTest, AListedTitleIsShutBeforeTheShellIsAsked) {
  struct Case {
    const char* why;
    std::string title;
    std::optional<ShellFolder> shell;  // the Shell's answer; none: it answered too late
    bool shutAtTheQuestion;
    bool challenged;
  } cases[] = {
      {"a listed title, the Shell too late", "Private - File Explorer", std::nullopt, true, true},
      {"a listed title, the Shell agreeing", "Private - File Explorer",
       ShellFolder{"Private", "C:\\Docs\\Private"}, true, true},
      {"a title naming none, the Shell naming a listed folder", "Docs - File Explorer",
       ShellFolder{"Private", "C:\\Docs\\Private"}, false, true},
      {"the tab moved on before the Shell answered", "Private - File Explorer",
       ShellFolder{"Public", "C:\\Docs\\Public"}, true, false},
      {"a title naming none, and the Shell none", "Docs - File Explorer",
       ShellFolder{"Docs", "C:\\Docs"}, false, false},
  };
  for (bool byEvent : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.why) + (byEvent ? ", on an event" : ", on a tick"));
      open("Notepad", "between");
      const WindowId folder = platform.addWindow("CabinetWClass", c.title);
      platform.shellTooLate = !c.shell;
      if (c.shell) platform.shellFolders[folder] = *c.shell;
      std::optional<bool> shutWhenAsked;
      platform.onShellQuestion = [&](WindowId asked) {
        if (asked == folder) shutWhenAsked = !enabled(folder) && coverOf(folder).has_value();
      };
      const int asked = dialogs();
      if (c.challenged) expectChallengeOf(folder);
      if (byEvent)
        comeForward(folder);
      else
        front(folder);
      platform.onShellQuestion = nullptr;
      EXPECT_EQ(shutWhenAsked, c.shutAtTheQuestion);
      EXPECT_EQ(dialogs(), asked + (c.challenged ? 1 : 0));
      EXPECT_TRUE(untouched(folder)) << "not given back";
      EXPECT_TRUE(scan().lockCheck().held().empty());
      // Every later tick leaves it be.
      toolkit.advance(3000);
      EXPECT_EQ(dialogs(), asked + (c.challenged ? 1 : 0));
      EXPECT_TRUE(untouched(folder));
    }
  }
}

}  // namespace
}  // namespace folvane
