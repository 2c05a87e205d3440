#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "dialogs/login_form.h"
#include "dialogs/settings_form.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kUnreadableAtStart[] =
    "設定ファイル（Folvane.ini）を読み込めません。フォルダの保護は続けますが、"
    "ユーザパスワードが必要な操作は、読み込めるようになるまでできません。";
constexpr char kUnreadable[] =
    "設定ファイル（Folvane.ini）を読み込めないため、ユーザパスワードを確認できません。"
    "ほかのプログラムが開いていないか確認して下さい。";

// Folvane.ini is held by another program (a sync tool at log-on) when the program starts: its
// user password is not known, which is not the same as having none.
class UnreadableSettingsTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kProtectedList);
    storeUserPassword("user");
    platform.heldFiles = {platform.pathOf("Folvane.ini")};
    ASSERT_FALSE(start());
  }
  void RefusesEverythingThatNeedsTheUserPassword();
};

TEST_F(UnreadableSettingsTest, TheProgramStartsGuardingWithoutAskingForANewPassword) {
  EXPECT_EQ(dialogs(), 0) << "no first-start question";
  EXPECT_EQ(messagesSaying(kUnreadableAtStart), 1);
  EXPECT_TRUE(platform.trayIconPresent);
  EXPECT_FALSE(scan().isVisible());

  answerPassword(Typed("abc"));
  const WindowId folder = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(prompts, std::vector<std::string>{kPromptLockPassword});
  EXPECT_TRUE(enabled(folder));
}

// Every operation that needs the user password reads the file again, and refuses while it
// cannot, asking nothing and changing nothing. A file that has gone meanwhile holds no password of
// the user's either: the password stays unknown, and an empty answer never passes for it.
TEST_F(UnreadableSettingsTest, WhatNeedsTheUserPasswordRefusesWhileTheFileCannotBeRead) {
  for (const bool gone : {false, true}) {
    SCOPED_TRACE(gone ? "the file gone" : "the file held");
    if (gone) {
      platform.heldFiles.clear();
      ASSERT_EQ(std::remove(platform.pathOf("Folvane.ini").c_str()), 0);
    }
    RefusesEverythingThatNeedsTheUserPassword();
  }
}

void UnreadableSettingsTest::RefusesEverythingThatNeedsTheUserPassword() {
  scan().show();
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"stopping the watch", [&] { scan().Button2.click(); }},
      {"quitting", [&] { EXPECT_FALSE(endsProgram([&] { scan().Button1.click(); })); }},
      {"the close box", [&] { EXPECT_FALSE(closeMainWindow()); }},
      {"removing a folder",
       [&] {
         scan().List1.userSelect(0);
         scan().List1.dblClick();
       }},
      {"a new lock password for a listed folder",
       [&] {
         answerPassword(Typed("xyz"));
         open("CabinetWClass", "Other");  // challenged, and answered right
         scan().show();
         front(scan().window());
         scan().Button4.click();
       }},
      {"changing the user password",
       [&] {
         whenShown("frmSet", [](Form& form) {
           static_cast<SettingsForm&>(form).Command1.click();
           form.unload();
         });
         scan().mnuSetHenkou.onClick();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int asked = dialogs();
    platform.messages.clear();
    c.act();
    EXPECT_EQ(dialogs() - asked, std::string(c.what).find("listed") != std::string::npos ? 1 : 0)
        << "only the folder's own challenge may ask";
    EXPECT_EQ(messagesSaying(kUnreadable), 1);
    EXPECT_TRUE(scan().Timer1.enabled()) << "the watch goes on";
    EXPECT_EQ(readFile("PassDat.ini"), kProtectedList);
    open("Notepad", "between");
  }
}

// Once the file can be read again, the password it holds is the one asked for.
TEST_F(UnreadableSettingsTest, TheStoredPasswordCountsOnceTheFileCanBeRead) {
  platform.heldFiles.clear();
  answerPassword(Typed(""));
  scan().Button2.click();
  EXPECT_TRUE(scan().Timer1.enabled()) << "an empty answer is not the stored password";
  answerPassword(Typed("user"));
  scan().Button2.click();
  EXPECT_FALSE(scan().Timer1.enabled());
  EXPECT_EQ(platform.messages.size(), 1u) << "only the report at start";
}

}  // namespace
}  // namespace folvane
