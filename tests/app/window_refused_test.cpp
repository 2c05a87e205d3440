// Windows the system refuses to create. A password question whose dialog cannot be shown is
// answered as cancelled: the answer of an earlier question must never count for it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kList[] =
    "[PasswordSetData]\r\nPrivate=116117118\r\nEmpty=\r\n[PasswordNumber]\r\nPassCount=2\r\n";

TEST(WindowRefused, AQuestionWithoutItsDialogIsAnsweredAsCancelled) {
  struct Case {
    const char* what;
    std::string earlierAnswer;                 // what a right answer before left behind
    std::function<bool(ProgramFixture&)> act;  // true when the program ended
    std::vector<std::string> messages;
    std::function<void(ProgramFixture&)> check;  // further checks, when the case has any
  };
  const std::vector<Case> cases = {
      {"the close query",
       "user",
       [](ProgramFixture& t) { return t.closeMainWindow(); },
       {},
       [](ProgramFixture& t) { EXPECT_TRUE(t.platform.trayIconPresent); }},
      {"the watch switch",
       "user",
       [](ProgramFixture& t) {
         t.scan().onTrayClick(TrayClick::Left);
         return false;
       },
       {},
       [](ProgramFixture& t) {
         EXPECT_TRUE(t.scan().Timer1.enabled());
         EXPECT_EQ(t.scan().Button2.caption(), "ウォッチ停止");
       }},
      {"deleting",
       "user",
       [](ProgramFixture& t) {
         t.scan().List1.userSelect(0);
         t.scan().List1.dblClick();
         return false;
       },
       {"選択したデータを削除します。"},
       [](ProgramFixture& t) { EXPECT_EQ(t.scan().List1.items().size(), 2u); }},
      {"a challenge",
       "abc",
       [](ProgramFixture& t) {
         WindowId folder = t.platform.addWindow("CabinetWClass", "C:\\Data\\Private");
         t.front(folder);
         EXPECT_EQ(t.platform.windowState(folder).closeRequests, 1);
         EXPECT_TRUE(t.platform.windowState(folder).enabled);
         return false;
       },
       {"パスワードが正しくありません。"},
       [](ProgramFixture& t) { EXPECT_FALSE(t.scan().isVisible()); }},
      {"replacing a listed folder's password",
       "user",
       [](ProgramFixture& t) {
         t.openFolder("C:\\Data\\Empty");
         t.scan().Button4.click();
         return false;
       },
       {},
       nullptr},
      {"changing the user password",
       "user",
       [](ProgramFixture& t) {
         t.whenShown("frmSet", [](Form& form) {
           auto& settings = static_cast<SettingsForm&>(form);
           settings.Command1.click();
           settings.Command3.click();
         });
         t.scan().clickMenu("mnuSetHenkou");
         return false;
       },
       {"パスワードは変更しません。"},
       [](ProgramFixture& t) { EXPECT_EQ(t.program.processWide.UserPassword, "user"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run;
    run.writeFile("PassDat.ini", kList);
    ASSERT_TRUE(run.startResident("user"));
    run.program.processWide.EnteredPassword = c.earlierAnswer;
    run.toolkit.cannotCreate.insert("frmLogin");

    EXPECT_FALSE(c.act(run));
    EXPECT_EQ(run.messageTexts(), c.messages);
    EXPECT_TRUE(run.prompts.empty());
    EXPECT_EQ(run.program.processWide.EnteredPassword, "");
    EXPECT_FALSE(run.login().IsOpen());
    EXPECT_EQ(run.readFile("PassDat.ini"), kList);
    if (c.check) c.check(run);
  }
}

// At start: the splash can be done without; the first question and the main window cannot.
TEST(WindowRefused, AtStart) {
  struct Case {
    const char* refused;
    bool userPasswordStored;
    bool ends;
  };
  for (const Case& c : {Case{"frmSplash", true, false}, Case{"frmLogin", false, true},
                        Case{"frmScan", true, true}}) {
    SCOPED_TRACE(c.refused);
    ProgramRun run;
    if (c.userPasswordStored) run.storeUserPassword("user");
    run.toolkit.cannotCreate.insert(c.refused);
    EXPECT_EQ(run.start(), c.ends);
    EXPECT_EQ(run.platform.trayIconPresent, !c.ends);
    EXPECT_TRUE(run.prompts.empty());
    EXPECT_TRUE(run.platform.messages.empty());
    if (!c.userPasswordStored) {
      EXPECT_EQ(run.readFile("Folvane.ini").find("PassData"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace folvane
