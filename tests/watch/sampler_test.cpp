#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialogs/error_report.h"
#include "forms/captions.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

// The sampler in the running program; Sample() plays one tick of its timer.
class SamplerTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startResident());
    // The sampler alone: count the changes instead of running the lock check.
    scan().Text.onChange = [this] { ++changes; };
  }
  std::string Sample(WindowId window) {
    platform.bringToFront(window);
    scan().Timer1.onTick();
    return scan().Text.text();
  }
  int changes = 0;
};

TEST_F(SamplerTest, WritesClassAndTitleOfTheForegroundWindow) {
  const std::string longTitle(200, 'T');
  const std::string longClass(130, 'C');
  // 126 single bytes and a double-byte character whose trail byte falls off at byte 128.
  const std::string cutTitle = std::string(126, 'x') + "データ";
  struct Case {
    std::string className, title, expected;
  } cases[] = {
      {"CabinetWClass", "C:\\Docs\\Private", "CabinetWClass (C:\\Docs\\Private)"},
      {"CabinetWClass", "C:\\データ\\ﾊﾝｶｸ", "CabinetWClass (C:\\データ\\ﾊﾝｶｸ)"},
      {"Shell_TrayWnd", "", "Shell_TrayWnd ()"},
      {"Notepad", longTitle, "Notepad (" + std::string(127, 'T') + ")"},
      {longClass, "x", std::string(127, 'C') + " (x)"},
      {"Notepad", cutTitle, "Notepad (" + std::string(126, 'x') + ")"},
      // Near misses of the program's own captions are foreign windows.
      {"Notepad", "kelmora", "Notepad (kelmora)"},
      {"Notepad", "Kelmora ", "Notepad (Kelmora )"},
      {"CabinetWClass", "Folvane", "CabinetWClass (Folvane)"},
      {"#32770", "Folvane - memo", "#32770 (Folvane - memo)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sample(platform.addWindow(c.className, c.title)), c.expected) << c.title;
  }
}

TEST_F(SamplerTest, NoForegroundWindowGivesTheBlankAndTheParentheses) {
  EXPECT_EQ(Sample(0), " ()");
  // A window that went away between the two queries reads like no window at all.
  WindowId gone = platform.addWindow("Notepad", "memo");
  platform.destroyWindow(gone);
  scan().Text.setText("something");
  EXPECT_EQ(Sample(gone), " ()");
}

// The program's own windows are told by their process: a window of another program titled as
// one of them is foreign like any other.
TEST_F(SamplerTest, OwnWindowsAreWrittenOnlyIntoAnEmptyBox) {
  const WindowId mainWindow = scan().window();
  const WindowId settings = platform.addOwnWindow("ThunderForm", kSettingsCaption);
  const WindowId login = platform.addOwnWindow("ThunderForm", kLoginCaption);

  EXPECT_EQ(Sample(mainWindow), kMainCaption);
  scan().Text.setText("");
  EXPECT_EQ(Sample(settings), kSettingsCaption);
  scan().Text.setText("");
  EXPECT_EQ(Sample(login), kLoginCaption);

  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\A");
  Sample(folder);
  for (WindowId own : {mainWindow, settings, login})
    EXPECT_EQ(Sample(own), "CabinetWClass (C:\\A)");

  for (const char* title : {kMainCaption, kSettingsCaption, kLoginCaption}) {
    EXPECT_EQ(Sample(platform.addWindow("Notepad", title)), "Notepad (" + std::string(title) + ")");
    EXPECT_EQ(Sample(platform.addWindow("CabinetWClass", title)),
              "CabinetWClass (" + std::string(title) + ")");
  }
}

TEST_F(SamplerTest, TheProgramsMessageBoxesAreNeverWritten) {
  const WindowId report = platform.addOwnWindow("#32770", kAppTitle);
  const WindowId mismatch = platform.addOwnWindow("#32770", kMismatchCaption);
  scan().Text.setText("");
  changes = 0;
  EXPECT_EQ(Sample(report), "") << "not even into an empty box";
  EXPECT_EQ(Sample(mismatch), "");

  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\A");
  Sample(folder);
  Sample(report);
  Sample(mismatch);
  Sample(folder);
  EXPECT_EQ(scan().Text.text(), "CabinetWClass (C:\\A)");
  EXPECT_EQ(changes, 1);

  // Another program's box titled as the program's own is shown like any window.
  EXPECT_EQ(Sample(platform.addWindow("#32770", kAppTitle)),
            "#32770 (" + std::string(kAppTitle) + ")");
}

TEST_F(SamplerTest, TheLockCheckRunsOnlyWhenTheTextChanges) {
  const WindowId a = platform.addWindow("CabinetWClass", "C:\\A");
  const WindowId b = platform.addWindow("Notepad", "memo");
  changes = 0;
  Sample(a);
  Sample(a);
  Sample(scan().window());
  Sample(a);
  EXPECT_EQ(changes, 1) << "to the program's own window and back is no change";
  Sample(b);
  Sample(a);
  EXPECT_EQ(changes, 3) << "a foreign window in between changes the text twice";
}

// The Shell is asked about a folder window when it comes forward and when its title changes (a
// new folder, another tab), never at a tick where nothing changed.
TEST_F(SamplerTest, TheShellIsAskedOnlyWhenTheFolderWindowOrItsTitleChanged) {
  const WindowId folder = platform.addWindow("CabinetWClass", "経理 - エクスプローラー");
  const WindowId tree = platform.addWindow("ExploreWClass", "C:\\Data\\Report");
  const WindowId memo = platform.addWindow("Notepad", "memo");
  struct Step {
    const char* what;
    std::function<void()> act;
    int questions;  // asked so far
  } steps[] = {
      {"a folder window comes forward", [&] { Sample(folder); }, 1},
      {"ticks with nothing changed", [&] { Sample(folder), Sample(folder), Sample(folder); }, 1},
      {"the program's own window and back", [&] { Sample(scan().window()), Sample(folder); }, 1},
      {"another tab",
       [&] {
         platform.setTitle(folder, "営業 とその他 1 のタブ - エクスプローラー");
         Sample(folder);
       },
       2},
      {"a window that is no folder window", [&] { Sample(memo); }, 2},
      {"back from it", [&] { Sample(folder); }, 3},
      {"a folder tree window", [&] { Sample(tree), Sample(tree); }, 4},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(platform.shellQuestions, step.questions) << step.what;
  }
  EXPECT_EQ(scan().Text.text(), "ExploreWClass (C:\\Data\\Report)");
}

TEST_F(SamplerTest, ARunTimeErrorEndsTheTickWithTheReportAndTheNextTickRuns) {
  bool fail = true;
  scan().Text.onChange = [&] {
    if (fail) throw TypeMismatchError();
  };
  platform.bringToFront(platform.addWindow("N", "a"));
  toolkit.advance(100);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0], "エラー 13\r\n型が一致しません。"));
  EXPECT_TRUE(scan().Timer1.enabled());

  fail = false;
  platform.bringToFront(platform.addWindow("N", "b"));
  toolkit.advance(100);
  EXPECT_EQ(scan().Text.text(), "N (b)");
  EXPECT_EQ(platform.messages.size(), 1u);
}

}  // namespace
}  // namespace folvane
