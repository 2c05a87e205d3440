#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

using Startup = ProgramFixture;

constexpr char kUserPrompt[] = "ユーザパスワードを入力して下さい。";
constexpr char kUnusable[] =
    "このパスワードは使用できません。パスワードは半角文字で42文字以内にして下さい。";

std::string StoredCode(ProgramFixture& test) {
  return IniRead(test.platform, "PasswordSetData", "PassData", "", SettingsFilePath(test.platform));
}

// ---- First start: no user password stored ---------------------------------------------------

TEST_F(Startup, FirstRunThatGivesNoPasswordEndsWithoutWritingAnything) {
  struct Case {
    const char* what;
    std::function<void(ProgramFixture&)> play;
    int questions;  // confirmation boxes shown
  };
  const std::vector<Case> cases = {
      {"cancel", [](ProgramFixture& t) { t.cancelPassword(); }, 0},
      {"close box", [](ProgramFixture& t) { t.closePasswordBox(); }, 0},
      {"OK with both boxes empty", [](ProgramFixture& t) { t.typePassword(""); }, 0},
      {"No to the confirmation",
       [](ProgramFixture& t) {
         t.typePassword("abc");
         t.answerMessages({MsgAnswer::No});
       },
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run;
    c.play(run);
    EXPECT_TRUE(run.start());
    EXPECT_EQ(run.prompts, std::vector<std::string>{kUserPrompt});
    EXPECT_EQ(static_cast<int>(run.platform.messages.size()), c.questions);
    EXPECT_FALSE(run.fileExists("Folvane.ini"));
    EXPECT_EQ(run.platform.replaceFileCalls, 0);
    EXPECT_EQ(run.platform.trayAddCalls, 0);
    EXPECT_EQ(run.platform.restartRegistrations, 0) << "would come back after an installer";
  }
}

TEST_F(Startup, FirstRunConfirmsThePasswordInPlainTextAndStoresItsCode) {
  typePassword("abc");
  ASSERT_FALSE(start());

  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0],
                           "プロテクト用パスワードを 'abc' に設定します。\r\nよろしいですか？",
                           MsgIcon::Question, MsgButtons::YesNo));

  EXPECT_EQ(StoredCode(*this), "116117118");
  EXPECT_EQ(program.processWide.UserPassword, "abc");
  EXPECT_TRUE(platform.trayIconPresent);
}

TEST_F(Startup, FirstRunPasswordThatCannotBeSavedIsReportedAndGuardsThisRun) {
  platform.writesFail = true;
  typePassword("abc");
  ASSERT_FALSE(start());

  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text,
            "設定を保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。");
  EXPECT_EQ(program.processWide.UserPassword, "abc");
  EXPECT_TRUE(platform.trayIconPresent);
}

TEST_F(Startup, PasswordTheCodeCannotCarryIsRefusedAndAskedAgain) {
  const std::string longest(42, 'a');
  typePassword("パス");  // double-byte characters
  typePassword(std::string(43, 'a'));
  typePassword(longest);
  ASSERT_FALSE(start());

  EXPECT_EQ(prompts.size(), 3u);
  ASSERT_EQ(platform.messages.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_TRUE(IsMessageBox(platform.messages[i], kUnusable));
  }
  EXPECT_EQ(platform.messages[2].buttons, MsgButtons::YesNo);
  std::string code;
  for (int i = 0; i < 42; ++i) code += "116";
  EXPECT_EQ(StoredCode(*this), code);
  EXPECT_EQ(program.processWide.UserPassword, longest);
}

// ---- Later starts -------------------------------------------------------------------------------

TEST_F(Startup, StoredPasswordIsDecodedWithoutAsking) {
  writeFile("Folvane.ini", "[PasswordSetData]\r\nPassData=116117118\r\n");
  ASSERT_FALSE(start());

  EXPECT_EQ(toolkit.modalLog, std::vector<std::string>{"frmSplash"});
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(program.processWide.UserPassword, "abc");
  EXPECT_EQ(platform.replaceFileCalls, 0);
}

// A code that decodes to nothing could never be answered; the user sets a new password.
TEST_F(Startup, MalformedStoredCodeCountsAsNoPassword) {
  for (const char* stored : {"11611", "abcdef", "999"}) {
    SCOPED_TRACE(stored);
    ProgramRun run;
    run.writeFile("Folvane.ini", std::string("[PasswordSetData]\r\nPassData=") + stored + "\r\n");
    run.typePassword("new");
    ASSERT_FALSE(run.start());
    EXPECT_EQ(run.prompts, std::vector<std::string>{kUserPrompt});
    EXPECT_EQ(StoredCode(run), "129120138");
    EXPECT_EQ(run.program.processWide.UserPassword, "new");
  }
}

TEST_F(Startup, ResidentStateAfterLoad) {
  ASSERT_TRUE(startResident("user"));

  EXPECT_EQ(toolkit.modalLog, std::vector<std::string>{"frmSplash"});
  EXPECT_TRUE(scan().isLoaded());
  EXPECT_FALSE(scan().isVisible());
  EXPECT_EQ(scan().Text.text(), "");
  EXPECT_TRUE(scan().List1.items().empty());
  EXPECT_EQ(scan().Timer1.interval(), 100);
  EXPECT_TRUE(scan().Timer1.enabled());
  EXPECT_TRUE(platform.trayIconPresent);
  EXPECT_EQ(platform.trayTip, "Folvane");
  EXPECT_EQ(platform.trayAddCalls, 1);
}

// The list shows every entry the file holds, whatever PassCount says, so that none can hide.
TEST_F(Startup, ProtectedListShowsEveryEntry) {
  for (const char* count : {static_cast<const char*>(nullptr), "0", "2", "3", "5", "x"}) {
    SCOPED_TRACE(count ? count : "(missing)");
    ProgramRun run;
    std::string data =
        "[PasswordSetData]\r\nReport=116\r\nC:\\=117\r\na=b=118\r\n[PasswordNumber]\r\n";
    if (count) data += std::string("PassCount=") + count + "\r\n";
    run.writeFile("PassDat.ini", data);
    ASSERT_TRUE(run.startResident());
    EXPECT_EQ(run.scan().List1.items(), (std::vector<std::string>{"Report", "C:\\", "a"}));
  }
}

TEST_F(Startup, SamplingIntervalComesFromTheSettingsFile) {
  writeFile("Folvane.ini", "[Timer]\r\nInterval=250\r\n");
  ASSERT_TRUE(startResident());
  EXPECT_EQ(scan().Timer1.interval(), 250);
  EXPECT_TRUE(scan().Timer1.enabled());
}

// The password is set before the icon: a refused icon must not lose it.
TEST_F(Startup, RefusedTrayIconEndsTheProgramButKeepsTheNewPassword) {
  platform.trayRefuses = true;
  typePassword("abc");
  ASSERT_TRUE(start());

  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(IsMessageBox(platform.messages[1], "タクストレイにアイコンを登録できません。"));
  EXPECT_EQ(StoredCode(*this), "116117118");

  // The next start does not ask again.
  platform.trayRefuses = false;
  Program again(platform, toolkit);
  toolkit.modalLog.clear();
  EXPECT_FALSE(endsProgram([&] { again.Main(); }));
  EXPECT_EQ(toolkit.modalLog, std::vector<std::string>{"frmSplash"});
  EXPECT_EQ(again.processWide.UserPassword, "abc");
}

TEST_F(Startup, AnotherInstanceEndsSilentlyAfterTheSplash) {
  platform.otherInstance = true;
  EXPECT_TRUE(start());
  EXPECT_EQ(toolkit.modalLog, std::vector<std::string>{"frmSplash"});
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.trayAddCalls, 0);
  EXPECT_EQ(platform.replaceFileCalls, 0);
  EXPECT_EQ(platform.restartRegistrations, 0) << "would come back after an installer";
}

// An installer that closes the program to replace files it uses has the system start it again
// afterwards: the copy that stays asks for that once, at its start, the first start included.
TEST_F(Startup, TheCopyThatStaysAsksToComeBackAfterAnInstallerClosesIt) {
  typePassword("abc");
  ASSERT_FALSE(start());
  EXPECT_EQ(platform.restartRegistrations, 1);

  Program again(platform, toolkit);
  EXPECT_FALSE(endsProgram([&] { again.Main(); }));
  EXPECT_EQ(platform.restartRegistrations, 2) << "the next start";
}

TEST_F(Startup, SplashPassesBeforeTheMainWindowExists) {
  bool mainLoadedDuringSplash = true;
  whenShown("frmSplash", [&](Form&) {
    mainLoadedDuringSplash = scan().isLoaded();
    toolkit.advance(2500);
  });
  ASSERT_TRUE(startResident());
  EXPECT_FALSE(mainLoadedDuringSplash);
  EXPECT_EQ(toolkit.now(), 2500);
}

// ---- The main window's menu and the new task bar ---------------------------------------------

TEST_F(Startup, AboutBoxWaitsTheFullTimeEachTime) {
  ASSERT_TRUE(startResident());
  for (int showing = 0; showing < 2; ++showing) {
    long long before = toolkit.now();
    scan().clickMenu("mnuHelpAbout");
    EXPECT_EQ(toolkit.now() - before, 2500);
    EXPECT_FALSE(program.frmSplash.isLoaded());
  }
  EXPECT_EQ(toolkit.modalLog, (std::vector<std::string>{"frmSplash", "frmSplash", "frmSplash"}));
}

TEST_F(Startup, HelpOpensOverTheMainWindowAndSettingsShowModally) {
  ASSERT_TRUE(startResident());
  scan().clickMenu("mnuHelpOpen");
  EXPECT_EQ(platform.helpRequests, 1);
  EXPECT_EQ(platform.lastHelpOwner, scan().window());

  whenShown("frmSet", [](Form& form) { form.unload(); });
  scan().clickMenu("mnuSetHenkou");
  EXPECT_EQ(toolkit.modalLog.back(), "frmSet");
}

TEST_F(Startup, NewTaskBarGetsTheIconAgain) {
  ASSERT_TRUE(startResident());
  platform.trayIconPresent = false;  // lost with the old task bar
  scan().onShellRestarted();
  EXPECT_TRUE(platform.trayIconPresent);
  EXPECT_EQ(platform.trayAddCalls, 2);
}

// A control whose name has no row in its window's table never gets its design values.
TEST_F(Startup, EveryControlAndMenuCommandHasADesignRow) {
  const std::vector<const Form*> forms = {&program.frmScan, &program.frmLogin, &program.frmSplash,
                                          &program.frmScan.settings()};
  for (const Form* form : forms) {
    SCOPED_TRACE(form->name());
    for (const Control* control : form->controls()) {
      bool found = false;
      for (const auto& row : form->layout().controls) found = found || row.name == control->name();
      EXPECT_TRUE(found) << control->name();
    }
  }
  std::vector<std::string> menuRows;
  for (const auto& entry : frmScanLayout().menu)
    for (const auto& item : entry.items) menuRows.push_back(item.name);
  EXPECT_EQ(scan().menuCommands().size(), 5u);
  for (const MenuCommand* command : scan().menuCommands()) {
    EXPECT_NE(std::find(menuRows.begin(), menuRows.end(), command->name), menuRows.end())
        << command->name;
  }
}

}  // namespace
}  // namespace folvane
