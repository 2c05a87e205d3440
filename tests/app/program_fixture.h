// The whole program on the fake platform and toolkit, and a test that plays its user.
//
//   class MyTest : public ProgramFixture {};
//   TEST_F(MyTest, Something) {
//     ASSERT_TRUE(startResident("secret"));   // user password stored, program running, hidden
//     typePassword("secret");                 // the next password dialog: type it twice, OK
//     answerMessages({MsgAnswer::No});        // the next message box answers No
//     EXPECT_FALSE(endsProgram([&] { scan().Button1.click(); }));
//   }
//
// Every modal showing takes the next action scripted for its form, in order. The splash and
// about window needs no script: by default 2500 ms of virtual time pass while it is shown. A
// password dialog with nothing scripted is a test failure (and is cancelled so nothing hangs).
// Message boxes take the next scripted answer; without one, OK boxes answer OK and Yes/No boxes
// Yes. Every message box shown is in platform.messages.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/mdl_command.h"
#include "dialogs/login_form.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "store/data_files.h"
#include "store/ini_rewrite.h"

namespace folvane {

// A user at the password dialog who answers from a script: the next answer is typed into both
// boxes and confirmed, std::nullopt presses Cancel. Each prompt shown is kept in `prompts`.
inline void AnswerFromScript(LoginForm& login, std::deque<std::optional<std::string>>& answers,
                             std::vector<std::string>& prompts) {
  prompts.push_back(login.Label2.caption());
  if (answers.empty()) {
    ADD_FAILURE() << "an unexpected password question";
    return login.cmdCancel.click();
  }
  std::optional<std::string> answer = answers.front();
  answers.pop_front();
  if (!answer) return login.cmdCancel.click();
  login.txtPassword1.userSetText(*answer);
  login.txtPassword2.userSetText(*answer);
  login.cmdOK.click();
}

class ProgramFixture : public ::testing::Test {
 public:
  ProgramFixture() {
    toolkit.onModal = [this](Form& form) { playModal(form); };
    platform.onMessageBox = [this](const MessageBoxRequest& request) {
      if (messageAnswers_.empty()) {
        return request.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
      }
      MsgAnswer answer = messageAnswers_.front();
      messageAnswers_.pop_front();
      return answer;
    };
  }

  FakePlatform platform;
  FakeToolkit toolkit{platform};
  Program program{platform, toolkit};

  ScanForm& scan() { return program.frmScan; }
  LoginForm& login() { return program.frmLogin; }

  // ---- Files of the program folder; texts are UTF-8 here and ANSI (932) on disk -------------
  void writeFile(const std::string& fileName, const std::string& utf8) {
    std::ofstream out(platform.pathOf(fileName), std::ios::binary | std::ios::trunc);
    out << platform.toAnsi(utf8);
  }
  bool fileExists(const std::string& fileName) {
    return platform.readFile(platform.pathOf(fileName)).has_value();
  }
  std::string readFile(const std::string& fileName) {
    return platform.fromAnsi(platform.readFile(platform.pathOf(fileName)).value_or(""));
  }
  // Stores the user password in Folvane.ini as the program stores it.
  void storeUserPassword(const std::string& password) {
    IniWrite(platform, kSectionPasswordSetData, kKeyPassData, EncodePassword(platform, password),
             SettingsFilePath(platform));
  }

  // ---- Playing the user ----------------------------------------------------------------------
  // The next showing of `formName` runs `action` (which should close the form).
  void whenShown(const std::string& formName, std::function<void(Form&)> action) {
    script_[formName].push_back(std::move(action));
  }
  // The next password dialog: type the two entries and press OK. After a mismatch the dialog
  // stays open and takes the next scripted password action.
  void typePasswords(const std::string& first, const std::string& second) {
    whenShown("frmLogin", [first, second](Form& form) {
      auto& dialog = static_cast<LoginForm&>(form);
      dialog.txtPassword1.userSetText(first);
      dialog.txtPassword2.userSetText(second);
      dialog.cmdOK.click();
    });
  }
  void typePassword(const std::string& password) { typePasswords(password, password); }
  void cancelPassword() {
    whenShown("frmLogin", [](Form& form) { static_cast<LoginForm&>(form).cmdCancel.click(); });
  }
  void closePasswordBox() {
    whenShown("frmLogin", [](Form& form) { form.requestClose(kCloseFromUser); });
  }
  // The prompt of every password dialog shown, in order.
  std::vector<std::string> prompts;

  // The next message boxes answer these, in order.
  void answerMessages(std::initializer_list<MsgAnswer> answers) {
    messageAnswers_.insert(messageAnswers_.end(), answers);
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : platform.messages) texts.push_back(message.text);
    return texts;
  }

  // ---- Running the program -------------------------------------------------------------------
  // Runs `action`; true when the program ended (an immediate exit) inside it.
  bool endsProgram(const std::function<void()>& action) {
    try {
      action();
      return false;
    } catch (const ProgramExit&) {
      return true;
    }
  }
  // Starts the program (Main): splash, then the main window's load. True when it ended.
  bool start() {
    return endsProgram([this] { program.Main(); });
  }
  // Stores the user password and starts; true when the program is then resident.
  bool startResident(const std::string& userPassword = "user") {
    storeUserPassword(userPassword);
    bool ended = start();
    EXPECT_FALSE(ended) << "the program ended at start";
    return !ended;
  }
  // The user closes the main window from its close box (or the system closes it, for another
  // reason); true when the program ended.
  bool closeMainWindow(int reason = kCloseFromUser) {
    return endsProgram([this, reason] { scan().requestClose(reason); });
  }

 private:
  void playModal(Form& form) {
    if (form.name() == "frmLogin") prompts.push_back(login().Label2.caption());
    auto& queue = script_[form.name()];
    if (queue.empty() && form.name() == "frmSplash") {
      toolkit.advance(2500);  // it closes itself
      return;
    }
    while (form.isLoaded() && !queue.empty()) {
      auto action = std::move(queue.front());
      queue.pop_front();
      action(form);
    }
    if (form.isLoaded()) {
      ADD_FAILURE() << "nothing scripted for " << form.name() << " shown modally";
      if (form.name() == "frmLogin") {
        static_cast<LoginForm&>(form).cmdCancel.click();
      } else {
        form.unload();
      }
    }
  }

  std::map<std::string, std::deque<std::function<void(Form&)>>> script_;
  std::deque<MsgAnswer> messageAnswers_;
};

// A further program world of its own (fresh folder, clock and script), for a table of cases
// that each need a new start:  for (...) { ProgramRun run; run.writeFile(...); run.start(); }
class ProgramRun final : public ProgramFixture {
  void TestBody() override {}
};

}  // namespace folvane
