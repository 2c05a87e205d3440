// The whole program on the fake platform and toolkit, with its real main window and timers, and
// a test that plays its user.
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
//
// Windows of other programs come to the front with open() and front(): the next tick of the
// main window's sampler sees them, as the running program would.
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
#include "store/data_file_names.h"
#include "store/ini_rewrite.h"
#include "store/password_code.h"
#include "tests/support/message_box.h"
#include "tests/support/scripted_user.h"

namespace folvane {

// A protected list for the watch: Private (lock password abc), the drive root C:\ (def), Other
// (xyz), and Empty with no code.
inline constexpr char kProtectedList[] =
    "[PasswordSetData]\r\n"
    "Private=116117118\r\n"
    "C:\\=119120121\r\n"
    "Other=139140141\r\n"
    "Empty=\r\n"
    "[PasswordNumber]\r\n"
    "PassCount=4\r\n";

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
    return platform.fileBytes(platform.pathOf(fileName)).has_value();
  }
  std::string readFile(const std::string& fileName) {
    return platform.fromAnsi(platform.fileBytes(platform.pathOf(fileName)).value_or(""));
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
  void typePassword(const std::string& password) { answerPassword(Typed(password)); }
  void cancelPassword() { answerPassword(Cancelled()); }
  // The next password dialog: what the user does meanwhile, then the answer.
  void answerPassword(Answer next) {
    whenShown("frmLogin", [next = std::move(next)](Form& form) {
      PlayAnswer(static_cast<LoginForm&>(form), next);
    });
  }
  void closePasswordBox() {
    whenShown("frmLogin", [](Form& form) { form.requestClose(kCloseFromUser); });
  }
  // The prompt of every password dialog shown, in order.
  std::vector<std::string> prompts;
  int dialogs() const { return static_cast<int>(prompts.size()); }
  bool mainVisibleAtDialog = false;  // at the latest showing of the password dialog

  // The next message boxes answer these, in order.
  void answerMessages(std::initializer_list<MsgAnswer> answers) {
    messageAnswers_.insert(messageAnswers_.end(), answers);
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : platform.messages) texts.push_back(message.text);
    return texts;
  }
  int messagesSaying(const std::string& text) const {
    int count = 0;
    for (const auto& message : platform.messages) count += message.text == text ? 1 : 0;
    return count;
  }

  // ---- Other programs' windows ---------------------------------------------------------------
  // A window comes to the front and the next tick of the sampler sees it.
  WindowId open(const std::string& className, const std::string& title) {
    WindowId window = platform.addWindow(className, title);
    front(window);
    return window;
  }
  WindowId openFolder(const std::string& title) { return open("CabinetWClass", title); }
  // One of the program's own windows comes to the front: a message box it shows, say.
  WindowId openOwn(const std::string& className, const std::string& title) {
    WindowId window = platform.addOwnWindow(className, title);
    front(window);
    return window;
  }
  void front(WindowId window) {
    platform.bringToFront(window);
    toolkit.advance(scan().Timer1.interval());
  }
  bool enabled(WindowId window) { return platform.windowState(window).enabled; }
  // The text of the cover over a window, or nullopt when it has none.
  std::optional<std::string> coverOf(WindowId window) const {
    auto found = platform.covers.find(window);
    if (found == platform.covers.end()) return std::nullopt;
    return found->second;
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
    if (form.name() == "frmLogin") {
      prompts.push_back(login().Label2.caption());
      mainVisibleAtDialog = scan().isVisible();
    }
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
