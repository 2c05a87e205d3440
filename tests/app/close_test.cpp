#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

using Close = ProgramFixture;

constexpr char kConfirmExit[] = "Folvaneを終了します。\r\nよろしいですか？";

// The three ways the user asks to quit; all of them go through the same close query.
const std::vector<std::pair<const char*, std::function<bool(ProgramFixture&)>>>& QuitWays() {
  static const std::vector<std::pair<const char*, std::function<bool(ProgramFixture&)>>> ways = {
      {"close box", [](ProgramFixture& t) { return t.closeMainWindow(); }},
      {"Button1",
       [](ProgramFixture& t) { return t.endsProgram([&] { t.scan().Button1.click(); }); }},
      {"File > Exit",
       [](ProgramFixture& t) { return t.endsProgram([&] { t.scan().clickMenu("mnuFileExit"); }); }},
  };
  return ways;
}

TEST_F(Close, UserCloseNeedsThePasswordAndAYes) {
  struct Case {
    const char* what;
    std::function<void(ProgramFixture&)> play;
    bool ends;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"wrong password", [](ProgramFixture& t) { t.typePassword("abd"); }, false, {}},
      {"other case", [](ProgramFixture& t) { t.typePassword("ABC"); }, false, {}},
      {"cancelled", [](ProgramFixture& t) { t.cancelPassword(); }, false, {}},
      {"right password, No",
       [](ProgramFixture& t) {
         t.typePassword("abc");
         t.answerMessages({MsgAnswer::No});
       },
       false,
       {kConfirmExit}},
      {"right password, Yes",
       [](ProgramFixture& t) { t.typePassword("abc"); },
       true,
       {kConfirmExit}},
  };
  for (const auto& way : QuitWays()) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(way.first) + ": " + c.what);
      ProgramRun run;
      ASSERT_TRUE(run.startResident("abc"));
      c.play(run);
      EXPECT_EQ(way.second(run), c.ends);
      EXPECT_EQ(run.prompts, std::vector<std::string>{"ユーザパスワードを入力して下さい。"});
      EXPECT_EQ(run.messageTexts(), c.messages);
      // Staying keeps the window and the icon; ending takes the icon away first.
      EXPECT_EQ(run.platform.trayIconPresent, !c.ends);
      if (!c.ends) {
        EXPECT_TRUE(run.scan().isLoaded());
      }
    }
  }
}

TEST_F(Close, ExitQuestionIsAYesNoQuestionCaptionedWithTheTitle) {
  ASSERT_TRUE(startResident("abc"));
  typePassword("abc");
  ASSERT_TRUE(closeMainWindow());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(
      IsMessageBox(platform.messages[0], kConfirmExit, MsgIcon::Question, MsgButtons::YesNo));
  EXPECT_EQ(platform.trayDeleteCalls, 1);
}

// The settings dialog may have set an empty user password; an empty answer then matches.
TEST_F(Close, EmptyUserPasswordIsAnsweredByCancel) {
  ASSERT_TRUE(startResident());
  program.processWide.UserPassword = "";
  cancelPassword();
  EXPECT_TRUE(closeMainWindow());
  EXPECT_EQ(messageTexts(), std::vector<std::string>{kConfirmExit});
}

TEST_F(Close, OtherReasonsEndAtOnceWithoutAsking) {
  ASSERT_TRUE(startResident());
  EXPECT_TRUE(closeMainWindow(kCloseFromSystem));
  EXPECT_TRUE(prompts.empty());
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(platform.trayIconPresent);
}

TEST_F(Close, RefusedIconRemovalIsRetriedButTheProgramStillEnds) {
  ASSERT_TRUE(startResident());
  platform.trayDeleteFailures = 3;
  EXPECT_TRUE(closeMainWindow(kCloseFromSystem));
  EXPECT_EQ(platform.trayDeleteCalls, 4);
  EXPECT_FALSE(platform.trayIconPresent);

  ProgramRun stubborn;
  ASSERT_TRUE(stubborn.startResident());
  stubborn.platform.trayDeleteAlwaysFails = true;
  EXPECT_TRUE(stubborn.closeMainWindow(kCloseFromSystem));
  EXPECT_GT(stubborn.platform.trayDeleteCalls, 1);
  EXPECT_LT(stubborn.platform.trayDeleteCalls, 100);
}

// A close request while the password dialog is already open (asked for by something else)
// cannot be answered by that dialog: it is refused, even when the user password is empty.
TEST_F(Close, CloseWhileThePasswordDialogIsOpenIsRefused) {
  ASSERT_TRUE(startResident());
  program.processWide.UserPassword = "";
  bool endedInside = true;
  whenShown("frmLogin", [&](Form& form) {
    endedInside = closeMainWindow();
    static_cast<LoginForm&>(form).cmdCancel.click();
  });
  EXPECT_EQ(login().Ask("ロック用パスワードを入力して下さい。"), "");
  EXPECT_FALSE(endedInside);
  EXPECT_EQ(prompts.size(), 1u);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(scan().isLoaded());
}

// Windows the lock check holds disabled are given back before the program goes.
TEST_F(Close, HeldFolderWindowIsGivenBackAtTheEnd) {
  writeFile("PassDat.ini",
            "[PasswordSetData]\r\nReport=116\r\n[PasswordNumber]\r\nPassCount=1\r\n");
  ASSERT_TRUE(startResident());
  WindowId folder = platform.addWindow("CabinetWClass", "C:\\Data\\Report");
  platform.bringToFront(folder);
  bool disabledDuringChallenge = false;
  whenShown("frmLogin", [&](Form&) {
    disabledDuringChallenge = !platform.isWindowEnabled(folder);
    // The system ends the session while the folder is challenged.
    scan().requestClose(kCloseFromSystem);
  });
  EXPECT_TRUE(endsProgram([&] { toolkit.advance(100); }));
  EXPECT_TRUE(disabledDuringChallenge);
  EXPECT_TRUE(platform.isWindowEnabled(folder));
  EXPECT_TRUE(platform.covers.empty()) << "the folder's cover outlived the program";
}

// Every way the program ends gives back the folder windows the lock check holds disabled: at
// first start a protected folder that comes forward while the question is open waits for its
// turn, disabled, and the program may end before that turn comes.
TEST_F(Close, EveryEndGivesBackTheFolderWindowsItHolds) {
  struct Case {
    const char* what;
    bool firstStart;
    // Played while the folder waits behind an open password question; ends the program.
    std::function<void(ProgramFixture&)> end;
    std::vector<std::string> messages;
  };
  const std::string confirm = "プロテクト用パスワードを 'abc' に設定します。\r\nよろしいですか？";
  auto answer = [](const std::string& password) {
    return [password](ProgramFixture& t) {
      LoginForm& login = t.login();
      login.txtPassword1.userSetText(password);
      login.txtPassword2.userSetText(password);
      login.cmdOK.click();
    };
  };
  const std::vector<Case> cases = {
      {"first start cancelled", true, [](ProgramFixture& t) { t.login().cmdCancel.click(); }, {}},
      {"first start empty", true, answer(""), {}},
      {"first start, No",
       true,
       [&](ProgramFixture& t) {
         t.answerMessages({MsgAnswer::No});
         answer("abc")(t);
       },
       {confirm}},
      {"tray icon refused",
       true,
       [&](ProgramFixture& t) {
         t.platform.trayRefuses = true;
         answer("abc")(t);
       },
       {confirm, "タクストレイにアイコンを登録できません。"}},
      {"quit", false, [&](ProgramFixture& t) { answer("user")(t); }, {kConfirmExit}},
      {"end of the session",
       false,
       [](ProgramFixture& t) { t.scan().requestClose(kCloseFromSystem); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun run;
    run.writeFile("PassDat.ini",
                  "[PasswordSetData]\r\nReport=116\r\n[PasswordNumber]\r\nPassCount=1\r\n");
    const WindowId folder = run.platform.addWindow("CabinetWClass", "C:\\Data\\Report");
    bool heldWhileAsked = false;
    run.whenShown("frmLogin", [&](Form&) {
      run.front(folder);
      heldWhileAsked = !run.platform.isWindowEnabled(folder);
      c.end(run);
    });
    bool ended = false;
    if (c.firstStart) {
      ended = run.start();
    } else {
      ASSERT_TRUE(run.startResident("user"));
      ended = run.endsProgram([&] { run.scan().Button1.click(); });
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(heldWhileAsked);
    EXPECT_EQ(run.prompts, std::vector<std::string>{"ユーザパスワードを入力して下さい。"});
    EXPECT_EQ(run.messageTexts(), c.messages);
    EXPECT_TRUE(run.platform.isWindowEnabled(folder));
    EXPECT_TRUE(run.platform.covers.empty()) << "the folder's cover outlived the program";
    EXPECT_EQ(run.platform.windowState(folder).closeRequests, 0);
    EXPECT_FALSE(run.platform.trayIconPresent);
  }
}

}  // namespace
}  // namespace folvane
