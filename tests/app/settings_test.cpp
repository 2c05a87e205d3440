#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/reg_rewrite.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kRunPath[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kBadInterval[] = "監視頻度は10から1000までの数値で入力して下さい。";
constexpr char kPasswordNotStorable[] =
    "このパスワードは使用できません。パスワードは半角文字で42文字以内にして下さい。";
constexpr char kPromptCurrent[] = "現在のユーザパスワードを入力して下さい。";
constexpr char kPromptNew[] = "新しいユーザパスワードを入力して下さい。";

// The settings dialog over a stand-in for the main window's sampler timer. `inDialog` plays the
// user while the dialog is open and must close it; password questions are answered from
// `answers` (std::nullopt: Cancel).
class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    sampler.setInterval(250);
    sampler.setEnabled(true);
    toolkit.onModal = [this](Form& form) {
      if (form.name() == "frmSet") return inDialog();
      ASSERT_EQ(form.name(), "frmLogin");
      AnswerFromScript(login, answers, prompts);
    };
  }

  void Open(std::function<void()> play) {
    inDialog = std::move(play);
    settings.showModal();
    EXPECT_FALSE(settings.isLoaded());
  }
  void SeedSettings(const std::string& content) {
    ASSERT_TRUE(platform.replaceFile(SettingsFilePath(platform), content));
  }
  std::optional<std::string> SettingsBytes() {
    return platform.fileBytes(SettingsFilePath(platform));
  }
  std::string Setting(const std::string& section, const std::string& key) {
    return IniRead(platform, section, key, "<none>", SettingsFilePath(platform));
  }
  std::optional<std::string> RunValue() {
    auto key = platform.registry.find(kRunPath);
    if (key == platform.registry.end()) return std::nullopt;
    auto value = key->second.find("Folvane");
    if (value == key->second.end()) return std::nullopt;
    return value->second;
  }
  std::string ExePath() { return platform.folder() + "\\Folvane.exe"; }

  FakePlatform platform;
  FakeToolkit toolkit{platform};
  ProcessWide processWide;
  LoginForm login{toolkit, platform, processWide};
  Timer sampler{"Timer1"};
  SettingsForm settings{toolkit, platform, processWide, login, sampler};

  std::function<void()> inDialog;
  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> prompts;
};

// ---- Loading ---------------------------------------------------------------------------------

TEST_F(SettingsTest, OpensWithTheIntervalInForceAndTheStoredAutostartFlag) {
  struct Case {
    std::string file;
    int checked;
  };
  const std::vector<Case> cases = {
      {"[Timer]\r\nInterval=500\r\n", 0},  {"[AutoStart]\r\nValue=1\r\n", 1},
      {"[AutoStart]\r\nValue=0\r\n", 0},   {"[AutoStart]\r\nValue=2\r\n", 0},
      {"[AutoStart]\r\nValue=yes\r\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    SeedSettings(c.file);
    Open([&] {
      EXPECT_EQ(settings.Text1.text(), "250");
      EXPECT_EQ(settings.Check1.value(), c.checked);
      settings.Command3.click();
    });
  }
}

TEST_F(SettingsTest, EveryOpeningLoadsAfresh) {
  Open([&] {
    settings.Text1.userSetText("500");
    settings.Check1.userSetValue(1);
    settings.Command2.click();
  });
  // The file edited by hand since: the dialog still shows the interval in force.
  SeedSettings("[Timer]\r\nInterval=900\r\n[AutoStart]\r\nValue=1\r\n");
  Open([&] {
    EXPECT_EQ(settings.Text1.text(), "500");
    EXPECT_EQ(settings.Check1.value(), 1);
    settings.Text1.userSetText("40");
    settings.Command3.click();
  });
  Open([&] {
    EXPECT_EQ(settings.Text1.text(), "500");
    settings.Command3.click();
  });
}

TEST_F(SettingsTest, TheSpinButtonsStepByTenWithinTenToAThousand) {
  Open([&] {
    settings.UpDown1.up();
    EXPECT_EQ(settings.Text1.text(), "260");
    settings.Text1.userSetText("1000");
    settings.UpDown1.up();
    EXPECT_EQ(settings.Text1.text(), "1000");
    settings.Text1.userSetText("10");
    settings.UpDown1.down();
    EXPECT_EQ(settings.Text1.text(), "10");
    settings.Command3.click();
  });
}

// ---- Storing ---------------------------------------------------------------------------------

TEST_F(SettingsTest, StoringUntouchedRewritesBothSettings) {
  Open([&] { settings.Command2.click(); });
  EXPECT_EQ(Setting("Timer", "Interval"), "250");
  EXPECT_EQ(Setting("AutoStart", "Value"), "0");
  EXPECT_EQ(sampler.interval(), 250);
  EXPECT_FALSE(RunValue());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SettingsTest, AcceptedIntervalsAreStoredAndSetWithoutStartingAStoppedWatch) {
  struct Case {
    std::string typed;
    std::string stored;
    int interval;
  };
  const std::vector<Case> cases = {
      {"10", "10", 10}, {"1000", "1000", 1000}, {" 300 ", "300", 300}, {"0050", "0050", 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sampler.setEnabled(false);
    Open([&] {
      settings.Text1.userSetText(c.typed);
      settings.Command2.click();
    });
    EXPECT_EQ(Setting("Timer", "Interval"), c.stored);
    EXPECT_EQ(sampler.interval(), c.interval);
    EXPECT_FALSE(sampler.enabled());
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SettingsTest, AnIntervalOutsideTenToAThousandIsRefusedAndTheDialogStaysOpen) {
  SeedSettings("[Timer]\r\nInterval=250\r\n");
  for (const std::string typed :
       {"", "abc", "5", "9", "1001", "-10", "40000", "10.5", "+20", "1e2", "１００"}) {
    SCOPED_TRACE(typed);
    platform.messages.clear();
    Open([&] {
      settings.Text1.userSetText(typed);
      settings.Check1.userSetValue(1);
      settings.Command2.click();
      EXPECT_TRUE(settings.isLoaded());
      settings.Command3.click();
    });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(IsMessageBox(platform.messages[0], kBadInterval));
    EXPECT_EQ(SettingsBytes(), "[Timer]\r\nInterval=250\r\n");
    EXPECT_EQ(sampler.interval(), 250);
    EXPECT_TRUE(sampler.enabled());
    EXPECT_FALSE(RunValue());
  }
}

// Checked, the value starts this program, wherever it was started from before: its path quoted.
TEST_F(SettingsTest, TheRegistryChangesOnlyWhenItDisagreesWithTheCheckBox) {
  struct Case {
    int checked;
    std::optional<std::string> before;  // the Folvane value under Run
    std::optional<std::string> after;   // std::nullopt: no value
    std::string stored;                 // [AutoStart] Value
  };
  const std::string other = "D:\\Tools\\Folvane.exe";
  const std::string quoted = "\"" + ExePath() + "\"";
  const std::vector<Case> cases = {
      {1, std::nullopt, quoted, "1"},
      {1, "", quoted, "1"},
      {1, other, quoted, "1"},
      {1, "\"" + other + "\"", quoted, "1"},
      {1, quoted, quoted, "1"},
      // Written without quotes by an older version: the same program, left as it is.
      {1, ExePath(), ExePath(), "1"},
      {0, other, std::nullopt, "0"},
      {0, quoted, std::nullopt, "0"},
      {0, std::nullopt, std::nullopt, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.checked) + " " + c.before.value_or("<none>"));
    platform.registry.clear();
    if (c.before) platform.registry[kRunPath]["Folvane"] = *c.before;
    platform.registry[kRunPath]["Other"] = "C:\\other.exe";

    Open([&] {
      settings.Check1.userSetValue(c.checked);
      settings.Command2.click();
    });

    EXPECT_EQ(RunValue(), c.after);
    EXPECT_EQ(platform.registry[kRunPath]["Other"], "C:\\other.exe");
    EXPECT_EQ(Setting("AutoStart", "Value"), c.stored);
  }
}

TEST_F(SettingsTest, CancelAndTheCloseBoxWriteNothing) {
  platform.registry[kRunPath]["Folvane"] = "C:\\Folvane.exe";
  const std::vector<std::function<void()>> ways = {[&] { settings.Command3.click(); },
                                                   [&] { settings.requestClose(kCloseFromUser); }};
  for (const auto& leave : ways) {
    Open([&] {
      settings.Text1.userSetText("500");
      settings.Check1.userSetValue(0);
      leave();
    });
    EXPECT_FALSE(SettingsBytes());
    EXPECT_EQ(RunValue(), "C:\\Folvane.exe");
    EXPECT_EQ(sampler.interval(), 250);
  }
}

// ---- The user password -----------------------------------------------------------------------

TEST_F(SettingsTest, AWrongCurrentPasswordChangesNothing) {
  processWide.UserPassword = "secret";
  SeedSettings("[PasswordSetData]\r\nPassData=134120118133120135\r\n");
  answers = {"Secret"};
  Open([&] {
    settings.Command1.click();
    settings.Command3.click();
  });
  EXPECT_EQ(prompts, (std::vector<std::string>{kPromptCurrent}));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0], "パスワードは変更しません。", MsgIcon::None));
  EXPECT_EQ(processWide.UserPassword, "secret");
  EXPECT_EQ(Setting("PasswordSetData", "PassData"), "134120118133120135");
}

TEST_F(SettingsTest, ANewPasswordIsStoredAtOnceAndSurvivesCancel) {
  // No user password yet: a cancelled first question matches it.
  answers = {std::nullopt, "abc"};
  Open([&] {
    settings.Command1.click();
    settings.Command3.click();
  });
  EXPECT_EQ(prompts, (std::vector<std::string>{kPromptCurrent, kPromptNew}));
  EXPECT_EQ(Setting("PasswordSetData", "PassData"), "116117118");
  EXPECT_EQ(processWide.UserPassword, "abc");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(IsMessageBox(platform.messages[0], "プロテクト用パスワードを 'abc' に設定します。",
                           MsgIcon::Information));
  // キャンセル left the rest of the settings alone.
  EXPECT_EQ(Setting("Timer", "Interval"), "<none>");
}

// Giving up the question for the new password keeps the old one. Without it every answer would
// pass, and the next start would let whoever starts the program choose one; so clearing it takes
// an accepted empty entry and a Yes to the question that shows it empty.
TEST_F(SettingsTest, TheUserPasswordIsClearedOnlyByAConfirmedEmptyEntry) {
  constexpr char kKept[] = "パスワードは変更しません。";
  constexpr char kConfirmEmpty[] = "プロテクト用パスワードを '' に設定します。\r\nよろしいですか？";
  struct Case {
    const char* what;
    std::optional<std::string> second;  // the answer to the new password, nullopt: Cancel
    MsgAnswer confirmation;
    bool cleared;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"Cancel", std::nullopt, MsgAnswer::Yes, false, {kKept}},
      {"empty, No", "", MsgAnswer::No, false, {kConfirmEmpty, kKept}},
      {"empty, Yes", "", MsgAnswer::Yes, true, {kConfirmEmpty}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    processWide.UserPassword = "abc";
    SeedSettings("[PasswordSetData]\r\nPassData=116117118\r\n[Timer]\r\nInterval=250\r\n");
    platform.messages.clear();
    platform.onMessageBox = [&](const MessageBoxRequest& box) {
      return box.buttons == MsgButtons::YesNo ? c.confirmation : MsgAnswer::Ok;
    };
    answers = {"abc", c.second};
    Open([&] {
      settings.Command1.click();
      settings.Command3.click();
    });
    std::vector<std::string> texts;
    for (const auto& message : platform.messages) texts.push_back(message.text);
    EXPECT_EQ(texts, c.messages);
    if (!texts.empty() && texts[0] == kConfirmEmpty) {
      EXPECT_EQ(platform.messages[0].icon, MsgIcon::Question);
      EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    }
    EXPECT_EQ(Setting("PasswordSetData", "PassData"), c.cleared ? "<none>" : "116117118");
    EXPECT_EQ(processWide.UserPassword, c.cleared ? "" : "abc");
    EXPECT_EQ(Setting("Timer", "Interval"), "250");
  }
}

// A settings file that cannot be written: nothing may look stored that is not, and nothing is
// applied that would be lost at the next start.
TEST_F(SettingsTest, SettingsThatCannotBeSavedAreReportedAndNotApplied) {
  const std::string notSaved =
      "設定を保存できませんでした。プログラムのフォルダに書き込めるか確認して下さい。";
  processWide.UserPassword = "abc";
  SeedSettings("[PasswordSetData]\r\nPassData=116117118\r\n");
  platform.writesFail = true;

  answers = {"abc", "xyz"};
  Open([&] {
    settings.Command1.click();
    settings.Text1.userSetText("500");
    settings.Command2.click();
    EXPECT_TRUE(settings.isLoaded()) << "the dialog stays open";
    settings.Command3.click();
  });

  std::vector<std::string> texts;
  for (const auto& message : platform.messages) texts.push_back(message.text);
  EXPECT_EQ(texts, (std::vector<std::string>{notSaved, notSaved}));
  EXPECT_EQ(processWide.UserPassword, "abc");
  EXPECT_EQ(sampler.interval(), 250);
  EXPECT_EQ(SettingsBytes(), "[PasswordSetData]\r\nPassData=116117118\r\n");
}

TEST_F(SettingsTest, ANewPasswordThatWouldNotSurviveItsCodeIsRefused) {
  const std::vector<std::string> refusedPasswords = {"パスワード", "abcｱ漢", std::string(43, 'x')};
  for (const std::string& refused : refusedPasswords) {
    SCOPED_TRACE(refused);
    processWide.UserPassword = "abc";
    SeedSettings("[PasswordSetData]\r\nPassData=116117118\r\n");
    platform.messages.clear();
    answers = {"abc", refused};
    Open([&] {
      settings.Command1.click();
      settings.Command3.click();
    });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(IsMessageBox(platform.messages[0], kPasswordNotStorable));
    EXPECT_EQ(Setting("PasswordSetData", "PassData"), "116117118");
    EXPECT_EQ(processWide.UserPassword, "abc");
  }
}

// ---- In the running program ------------------------------------------------------------------

class SettingsInProgramTest : public ProgramFixture {};

TEST_F(SettingsInProgramTest, TheMenuOpensTheDialogOnTheLiveSamplerInterval) {
  writeFile("Folvane.ini", "[Timer]\r\nInterval=200\r\n");
  ASSERT_TRUE(startResident("user"));
  ASSERT_EQ(scan().Timer1.interval(), 200);

  whenShown("frmSet", [](Form& form) {
    auto& dialog = static_cast<SettingsForm&>(form);
    EXPECT_EQ(dialog.Text1.text(), "200");
    dialog.UpDown1.up();
    dialog.Command2.click();
  });
  scan().clickMenu("mnuSetHenkou");
  EXPECT_FALSE(scan().settings().isLoaded());
  EXPECT_EQ(scan().Timer1.interval(), 210);
  EXPECT_TRUE(scan().Timer1.enabled());

  // The sampler now runs at the new pace.
  const WindowId folder = platform.addWindow("CabinetWClass", "C:\\Data");
  platform.bringToFront(folder);
  toolkit.advance(209);
  EXPECT_NE(scan().Text.text(), "CabinetWClass (C:\\Data)");
  toolkit.advance(1);
  EXPECT_EQ(scan().Text.text(), "CabinetWClass (C:\\Data)");
}

TEST_F(SettingsInProgramTest, AnIntervalSetWhileTheWatchIsStoppedIsTheOneItStartsAgainWith) {
  writeFile("Folvane.ini", "[Timer]\r\nInterval=200\r\n");
  ASSERT_TRUE(startResident("user"));
  typePassword("user");
  scan().Button2.click();
  ASSERT_FALSE(scan().Timer1.enabled());

  whenShown("frmSet", [](Form& form) {
    auto& dialog = static_cast<SettingsForm&>(form);
    EXPECT_EQ(dialog.Text1.text(), "200");
    dialog.Text1.userSetText("350");
    dialog.Command2.click();
  });
  scan().clickMenu("mnuSetHenkou");
  EXPECT_FALSE(scan().Timer1.enabled()) << "a stopped watch stays stopped";
  EXPECT_EQ(IniRead(platform, "Timer", "Interval", "", SettingsFilePath(platform)), "350");

  scan().Button2.click();
  EXPECT_TRUE(scan().Timer1.enabled());
  EXPECT_EQ(scan().Timer1.interval(), 350);
  const WindowId window = platform.addWindow("Notepad", "memo");
  platform.bringToFront(window);
  toolkit.advance(349);
  EXPECT_EQ(scan().Text.text(), "ウォッチ停止中");
  toolkit.advance(1);
  EXPECT_EQ(scan().Text.text(), "Notepad (memo)");
}

}  // namespace
}  // namespace folvane
