// The settings dialog in the running program: the interval, the user password and starting with
// Windows, kept in the settings file and the registry and in force after a restart.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/driver.h"
#include "e2e/steps.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

const std::string kAutoStart = "パソコンと同時に起動";
const std::string kOk = "決定";
const std::string kCancel = "キャンセル";

class Settings : public ::testing::Test {
 protected:
  // The Run value is the machine's, not the sandbox's: no test may leave it behind.
  Settings() { deleteRegistryValue(kRunKey, kAppTitle); }
  ~Settings() override { deleteRegistryValue(kRunKey, kAppTitle); }

  // Starts the program and waits until its start-up is over.
  void start() {
    program.emplace(sandbox.start());
    main = program->mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitUntil([&] { return topLevelWindows(program->pid()).empty(); }))
        << "the start-up did not end";
  }

  // 設定 › 設定変更, from the main window that the tray icon's right button shows.
  void openSettings() {
    if (!isVisible(main)) {
      postTrayMouse(main, 516);
      ASSERT_TRUE(waitUntil([&] { return isVisible(main); })) << "the main window did not show";
    }
    ASSERT_TRUE(chooseMenu(main, 'S', 'V'));
    dialog = program->waitForWindow(kSettingsCaption);
    ASSERT_TRUE(dialog) << "no settings dialog";
    std::vector<Window> edits = children(dialog, "Edit");
    ASSERT_EQ(edits.size(), 1u);
    interval = edits[0];
    autoStart = childByText(dialog, kAutoStart);
    ASSERT_TRUE(autoStart);
    EXPECT_FALSE(isEnabled(main)) << "the main window can be used behind the dialog";
  }

  void press(const std::string& button) {
    ASSERT_TRUE(clickButton(dialog, button)) << "no button " << button;
    ASSERT_NO_FATAL_FAILURE(expectClosed());
  }

  void expectClosed() {
    ASSERT_TRUE(waitForGone(dialog)) << "the dialog stayed open";
    EXPECT_TRUE(waitUntil([&] { return isEnabled(main); })) << "the main window stayed disabled";
  }

  void answerPasswordDialog(const std::string& prompt, const std::string& password) {
    e2e::answerPasswordDialog(*program, prompt, password);
  }

  Window waitForMessage(Duration timeout = kWait) {
    return program->waitForWindow(kAppTitle, timeout);
  }

  // The close query with `password`: true when the program then asked whether to end (and was
  // told Yes), false when it refused without a word.
  bool closeWith(const std::string& password) {
    postClose(main);
    Window login = program->waitForWindow(kLoginCaption);
    if (!login || !childByText(login, kAskUser)) {
      ADD_FAILURE() << "the close query did not ask for the user password";
      return false;
    }
    enterPassword(login, password);
    waitForGone(login);
    Window question = program->waitForWindow(kAppTitle, 1500ms);
    if (!question) return false;
    answer(question, Answer::Yes);
    EXPECT_EQ(program->waitExit(), 0u);
    return true;
  }

  std::optional<std::string> setting(const std::string& section, const std::string& key) const {
    return iniValue(sandbox.readFile("Folvane.ini").value_or(""), section, key);
  }

  Sandbox sandbox;
  std::optional<Process> program;
  Window main = 0, dialog = 0, interval = 0, autoStart = 0;
};

TEST_F(Settings, IntervalAndNewUserPasswordHoldAfterARestart) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  ASSERT_NO_FATAL_FAILURE(start());

  ASSERT_NO_FATAL_FAILURE(openSettings());
  EXPECT_EQ(windowText(interval), "100");
  type(interval, "200");
  ASSERT_NO_FATAL_FAILURE(press(kOk));
  EXPECT_EQ(setting("Timer", "Interval"), "200");

  ASSERT_NO_FATAL_FAILURE(openSettings());
  EXPECT_EQ(windowText(interval), "200") << "the dialog does not show the interval in force";
  ASSERT_TRUE(clickButton(dialog, "変更"));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog("現在のユーザパスワードを入力して下さい。", "abc"));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog("新しいユーザパスワードを入力して下さい。", "xyz"));
  Window notice = waitForMessage();
  ASSERT_TRUE(notice);
  EXPECT_EQ(messageText(notice), "プロテクト用パスワードを 'xyz' に設定します。");
  answer(notice, Answer::Ok);
  ASSERT_TRUE(waitForGone(notice));
  EXPECT_EQ(setting("PasswordSetData", "PassData"), "139140141");
  // Leaving with キャンセル does not take the stored password back.
  ASSERT_NO_FATAL_FAILURE(press(kCancel));
  EXPECT_EQ(setting("PasswordSetData", "PassData"), "139140141");

  EXPECT_FALSE(closeWith("abc")) << "the old password still closes the program";
  ASSERT_TRUE(closeWith("xyz")) << "the new password does not close the program";

  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_NO_FATAL_FAILURE(openSettings());
  EXPECT_EQ(windowText(interval), "200") << "the interval was not read at start";
  ASSERT_NO_FATAL_FAILURE(press(kCancel));
  EXPECT_FALSE(closeWith("abc"));
  EXPECT_TRUE(closeWith("xyz"));
}

TEST_F(Settings, TheArrowKeysStepTheIntervalByTenAndEnterStoresIt) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_NO_FATAL_FAILURE(openSettings());
  type(interval, "200");
  pressKey(interval, 0x26);  // VK_UP
  ASSERT_TRUE(waitUntil([&] { return windowText(interval) == "210"; }, 3s)) << windowText(interval);
  pressKey(interval, 0x28);  // VK_DOWN
  pressKey(interval, 0x28);
  ASSERT_TRUE(waitUntil([&] { return windowText(interval) == "190"; }, 3s)) << windowText(interval);
  pressKey(interval, 0x0D);  // VK_RETURN presses the default button, 決定
  ASSERT_NO_FATAL_FAILURE(expectClosed());
  EXPECT_EQ(setting("Timer", "Interval"), "190");
}

TEST_F(Settings, TheAutostartBoxWritesAndRemovesTheRunValue) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  // Left by a copy of the program that was started from another folder before.
  writeRegistryString(kRunKey, kAppTitle, "C:\\以前の場所\\Folvane.exe");
  ASSERT_NO_FATAL_FAILURE(start());

  ASSERT_NO_FATAL_FAILURE(openSettings());
  EXPECT_FALSE(isChecked(autoStart));
  ASSERT_TRUE(setChecked(autoStart, true));
  ASSERT_NO_FATAL_FAILURE(press(kOk));
  EXPECT_EQ(readRegistryString(kRunKey, kAppTitle), "\"" + sandbox.path("Folvane.exe") + "\"")
      << "the path in quotes";
  EXPECT_EQ(setting("AutoStart", "Value"), "1");

  ASSERT_NO_FATAL_FAILURE(openSettings());
  EXPECT_TRUE(isChecked(autoStart)) << "the dialog does not show autostart as set";
  ASSERT_TRUE(setChecked(autoStart, false));
  ASSERT_NO_FATAL_FAILURE(press(kOk));
  EXPECT_EQ(readRegistryString(kRunKey, kAppTitle), std::nullopt);
  EXPECT_EQ(setting("AutoStart", "Value"), "0");
}

TEST_F(Settings, AnIntervalOutsideTheRangeIsRefusedAndTheDialogStays) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_NO_FATAL_FAILURE(openSettings());

  for (const std::string typed : {"5", "1001"}) {
    SCOPED_TRACE(typed);
    type(interval, typed);
    ASSERT_TRUE(clickButton(dialog, kOk));
    Window refusal = waitForMessage();
    ASSERT_TRUE(refusal) << "the interval was taken";
    EXPECT_EQ(messageText(refusal), "監視頻度は10から1000までの数値で入力して下さい。");
    answer(refusal, Answer::Ok);
    ASSERT_TRUE(waitForGone(refusal));
    pump(200ms);
    EXPECT_TRUE(exists(dialog) && isVisible(dialog)) << "the dialog closed";
    EXPECT_EQ(setting("Timer", "Interval"), std::nullopt);
  }

  // The bound itself is taken.
  type(interval, "1000");
  ASSERT_NO_FATAL_FAILURE(press(kOk));
  EXPECT_EQ(setting("Timer", "Interval"), "1000");
}

// ｷｬﾝｾﾙ at the question for the new password keeps the old one; only an empty entry confirmed
// with はい clears it.
TEST_F(Settings, TheUserPasswordIsClearedOnlyByAConfirmedEmptyEntry) {
  const std::string kept = "パスワードは変更しません。";
  const std::string clear = "プロテクト用パスワードを '' に設定します。\r\nよろしいですか？";
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_NO_FATAL_FAILURE(openSettings());

  // Cancel, then an empty entry answered いいえ: the password stays, and the user is told so.
  for (bool cancel : {true, false}) {
    SCOPED_TRACE(cancel ? "cancel" : "empty, No");
    ASSERT_TRUE(clickButton(dialog, "変更"));
    ASSERT_NO_FATAL_FAILURE(
        answerPasswordDialog("現在のユーザパスワードを入力して下さい。", "abc"));
    Window login = program->waitForWindow(kLoginCaption);
    ASSERT_TRUE(login);
    ASSERT_TRUE(childByText(login, "新しいユーザパスワードを入力して下さい。"));
    if (cancel) {
      cancelPassword(login);
    } else {
      enterPassword(login, "");
      Window question = waitForMessage();
      ASSERT_TRUE(question);
      EXPECT_EQ(messageText(question), clear);
      answer(question, Answer::No);
      ASSERT_TRUE(waitForGone(question));
    }
    Window notice = waitForMessage();
    ASSERT_TRUE(notice);
    EXPECT_EQ(messageText(notice), kept);
    answer(notice, Answer::Ok);
    ASSERT_TRUE(waitForGone(notice));
    EXPECT_EQ(setting("PasswordSetData", "PassData"), "116117118");
  }

  // An empty entry answered はい clears it, with nothing more said.
  ASSERT_TRUE(clickButton(dialog, "変更"));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog("現在のユーザパスワードを入力して下さい。", "abc"));
  ASSERT_NO_FATAL_FAILURE(answerPasswordDialog("新しいユーザパスワードを入力して下さい。", ""));
  Window question = waitForMessage();
  ASSERT_TRUE(question);
  EXPECT_EQ(messageText(question), clear);
  answer(question, Answer::Yes);
  ASSERT_TRUE(waitForGone(question));
  ASSERT_TRUE(waitUntil([&] { return !setting("PasswordSetData", "PassData"); }))
      << sandbox.readFile("Folvane.ini").value_or("(no Folvane.ini)");
  pump(300ms);
  EXPECT_FALSE(waitForMessage(0ms)) << "a further message";
  ASSERT_NO_FATAL_FAILURE(press(kCancel));
  EXPECT_TRUE(closeWith("")) << "the cleared password is still asked for";
}

// The watch goes on behind the dialog: a protected folder brought forward is challenged, and the
// dialog is still there afterwards, as it was. Esc does not close it; its close box does, and
// stores nothing.
TEST_F(Settings, AFolderIsChallengedWhileTheDialogIsOpenAndTheDialogStays) {
  sandbox.writeFile("Folvane.ini", kSettingsWithAbc);
  sandbox.writeFile("PassDat.ini",
                    "[PasswordSetData]\r\nReport=127130118126\r\n"  // "lock"
                    "[PasswordNumber]\r\nPassCount=1\r\n");
  FolderWindow elsewhere("memo", "Notepad");
  FolderWindow report("C:\\Data\\Report");
  elsewhere.bringForward();
  ASSERT_NO_FATAL_FAILURE(start());
  elsewhere.bringForward();
  ASSERT_NO_FATAL_FAILURE(openSettings());
  type(interval, "300");
  pressKey(interval, 0x1B);  // VK_ESCAPE
  pump(300ms);
  ASSERT_TRUE(exists(dialog)) << "Esc closed the dialog";

  report.bringForward();
  Window login = program->waitForWindow(kLoginCaption);
  ASSERT_TRUE(login) << "the folder was not challenged";
  ASSERT_TRUE(childByText(login, "ロック用パスワードを入力して下さい。"));
  EXPECT_FALSE(isEnabled(report.id()));
  EXPECT_FALSE(isEnabled(dialog)) << "the settings dialog can be used behind the password dialog";
  enterPassword(login, "lock");
  ASSERT_TRUE(waitForGone(login));
  EXPECT_TRUE(waitUntil([&] { return isEnabled(report.id()); })) << "the folder stayed disabled";
  EXPECT_TRUE(waitUntil([&] { return isEnabled(dialog); })) << "the dialog stayed disabled";
  EXPECT_FALSE(report.closed());
  EXPECT_TRUE(isVisible(dialog));
  EXPECT_FALSE(isEnabled(main)) << "the main window came back while the dialog is open";
  EXPECT_EQ(windowText(interval), "300");

  postClose(dialog);
  ASSERT_NO_FATAL_FAILURE(expectClosed());
  EXPECT_EQ(setting("Timer", "Interval"), std::nullopt);
}

}  // namespace
}  // namespace folvane::e2e
