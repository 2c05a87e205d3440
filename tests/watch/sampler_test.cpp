#include <gtest/gtest.h>

#include <string>

#include "dialogs/error_report.h"
#include "forms/captions.h"
#include "tests/watch/watch_world.h"

namespace folvane::watch_test {
namespace {

class SamplerTest : public ::testing::Test {
 protected:
  SamplerTest() {
    // The sampler alone: count the changes instead of running the lock check.
    world.main.Text.onChange = [this] { ++changes; };
  }
  std::string Sample(WindowId window) {
    world.platform.bringToFront(window);
    world.sampler.Timer1_Timer();
    return world.main.Text.text();
  }
  WatchWorld world;
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
    EXPECT_EQ(Sample(world.platform.addWindow(c.className, c.title)), c.expected) << c.title;
  }
}

TEST_F(SamplerTest, NoForegroundWindowGivesTheBlankAndTheParentheses) {
  EXPECT_EQ(Sample(0), " ()");
  // A window that went away between the two queries reads like no window at all.
  WindowId gone = world.platform.addWindow("Notepad", "memo");
  world.platform.destroyWindow(gone);
  world.main.Text.setText("something");
  EXPECT_EQ(Sample(gone), " ()");
}

TEST_F(SamplerTest, OwnWindowsAreWrittenOnlyIntoAnEmptyBox) {
  const WindowId mainWindow = world.main.window();
  const WindowId settings = world.platform.addWindow("ThunderForm", kSettingsCaption);
  const WindowId mimic = world.platform.addWindow("Notepad", kLoginCaption);

  EXPECT_EQ(Sample(mainWindow), kMainCaption);
  world.main.Text.setText("");
  EXPECT_EQ(Sample(settings), kSettingsCaption);
  world.main.Text.setText("");
  EXPECT_EQ(Sample(mimic), kLoginCaption) << "the title decides, not the class";

  const WindowId folder = world.platform.addWindow("CabinetWClass", "C:\\A");
  Sample(folder);
  for (WindowId own : {mainWindow, settings, mimic})
    EXPECT_EQ(Sample(own), "CabinetWClass (C:\\A)");
}

TEST_F(SamplerTest, TheProgramsMessageBoxesAreNeverWritten) {
  const WindowId report = world.platform.addWindow("#32770", kAppTitle);
  const WindowId mismatch = world.platform.addWindow("#32770", kMismatchCaption);
  world.main.Text.setText("");
  changes = 0;
  EXPECT_EQ(Sample(report), "") << "not even into an empty box";
  EXPECT_EQ(Sample(mismatch), "");

  const WindowId folder = world.platform.addWindow("CabinetWClass", "C:\\A");
  Sample(folder);
  Sample(report);
  Sample(mismatch);
  Sample(folder);
  EXPECT_EQ(world.main.Text.text(), "CabinetWClass (C:\\A)");
  EXPECT_EQ(changes, 1);
}

TEST_F(SamplerTest, TheLockCheckRunsOnlyWhenTheTextChanges) {
  const WindowId a = world.platform.addWindow("CabinetWClass", "C:\\A");
  const WindowId b = world.platform.addWindow("Notepad", "memo");
  changes = 0;
  Sample(a);
  Sample(a);
  Sample(world.main.window());
  Sample(a);
  EXPECT_EQ(changes, 1) << "to the program's own window and back is no change";
  Sample(b);
  Sample(a);
  EXPECT_EQ(changes, 3) << "a foreign window in between changes the text twice";
}

TEST_F(SamplerTest, ARunTimeErrorEndsTheTickWithTheReportAndTheNextTickRuns) {
  bool fail = true;
  world.main.Text.onChange = [&] {
    if (fail) throw TypeMismatchError();
  };
  world.platform.bringToFront(world.platform.addWindow("N", "a"));
  world.toolkit.advance(100);
  ASSERT_EQ(world.platform.messages.size(), 1u);
  EXPECT_EQ(world.platform.messages[0].text, "エラー 13\r\n型が一致しません。");
  EXPECT_EQ(world.platform.messages[0].caption, "Folvane");
  EXPECT_EQ(world.platform.messages[0].icon, MsgIcon::Warning);
  EXPECT_EQ(world.platform.messages[0].buttons, MsgButtons::Ok);
  EXPECT_TRUE(world.main.Timer1.enabled());

  fail = false;
  world.platform.bringToFront(world.platform.addWindow("N", "b"));
  world.toolkit.advance(100);
  EXPECT_EQ(world.main.Text.text(), "N (b)");
  EXPECT_EQ(world.platform.messages.size(), 1u);
}

}  // namespace
}  // namespace folvane::watch_test
