// A small world for the watch: the fake system and toolkit, the password dialog, a main window
// with the controls the watch drives, and a user who answers the dialog from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "forms/forms.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "watch/lock_check.h"
#include "watch/sampler.h"

namespace folvane::watch_test {

class MainWindow : public Form {
 public:
  explicit MainWindow(Toolkit& toolkit) : Form(toolkit, frmScanLayout()) {
    for (Control* control : {static_cast<Control*>(&Text), static_cast<Control*>(&Label1),
                             static_cast<Control*>(&Button2), static_cast<Control*>(&Button3),
                             static_cast<Control*>(&Shape1), static_cast<Control*>(&Timer1),
                             static_cast<Control*>(&Timer2)})
      add(*control);
  }
  TextBox Text{"Text"};
  Label Label1{"Label1"};
  Button Button2{"Button2"};
  Button Button3{"Button3"};
  Shape Shape1{"Shape1"};
  Timer Timer1{"Timer1"};
  Timer Timer2{"Timer2"};
};

// What the user does at one showing of the password dialog.
struct Answer {
  std::optional<std::string> password;  // typed twice and confirmed; nullopt: Cancel
  std::function<void()> meanwhile;      // done while the dialog waits, before answering
};

inline Answer Typed(const std::string& password, std::function<void()> meanwhile = {}) {
  return {password, std::move(meanwhile)};
}
inline Answer Cancelled(std::function<void()> meanwhile = {}) {
  return {std::nullopt, std::move(meanwhile)};
}

// Folders Private (abc), the drive root C:\ (def), Other (xyz), and Empty with no code.
inline constexpr char kProtectedList[] =
    "[PasswordSetData]\r\n"
    "Private=116117118\r\n"
    "C:\\=119120121\r\n"
    "Other=139140141\r\n"
    "Empty=\r\n"
    "[PasswordNumber]\r\n"
    "PassCount=4\r\n";

class WatchWorld {
 public:
  WatchWorld() {
    main.Text.onChange = [this] { check.Text_Change(); };
    main.Timer1.onTick = [this] {
      check.FollowCovers();
      sampler.Timer1_Timer();
    };
    main.Timer2.onTick = [this] {
      check.FollowCovers();
      check.ServePending();
    };
    toolkit.onModal = [this](Form& form) { Play(form); };
    main.load();
    main.Text.setText("");
  }

  // Writes PassDat.ini (given in UTF-8) as the program stores it, in the ANSI code page.
  void WriteDataFile(const std::string& content) {
    std::ofstream out(platform.pathOf("PassDat.ini"), std::ios::binary | std::ios::trunc);
    out << platform.toAnsi(content);
  }

  // A window comes to the front and the next tick of the sampler sees it.
  WindowId Open(const std::string& className, const std::string& title) {
    WindowId window = platform.addWindow(className, title);
    Front(window);
    return window;
  }
  void Front(WindowId window) {
    platform.bringToFront(window);
    toolkit.advance(100);
  }
  WindowId Folder(const std::string& title) { return Open("CabinetWClass", title); }

  int Dialogs() const { return static_cast<int>(prompts.size()); }
  int MessagesSaying(const std::string& text) const {
    int count = 0;
    for (const auto& message : platform.messages) count += message.text == text ? 1 : 0;
    return count;
  }
  bool Enabled(WindowId window) { return platform.windowState(window).enabled; }
  // The text of the cover over a window, or nullopt when it has none.
  std::optional<std::string> CoverOf(WindowId window) const {
    auto found = platform.covers.find(window);
    if (found == platform.covers.end()) return std::nullopt;
    return found->second;
  }

  FakePlatform platform;
  FakeToolkit toolkit{platform};
  ProcessWide strings;
  LoginForm login{toolkit, platform, strings};
  MainWindow main{toolkit};
  Sampler sampler{platform, main.Text};
  LockCheck check{platform, main, main.Text, main.Label1, login};

  std::deque<Answer> answers;        // the user's script, one per showing of the dialog
  std::vector<std::string> prompts;  // the prompt of every showing
  bool mainVisibleAtDialog = false;  // at the latest showing

 private:
  void Play(Form& form) {
    if (&form != &login) {
      ADD_FAILURE() << "unexpected modal window " << form.name();
      form.unload();
      return;
    }
    prompts.push_back(login.Label2.caption());
    mainVisibleAtDialog = main.isVisible();
    if (answers.empty()) {
      ADD_FAILURE() << "the dialog asked once more: " << login.Label2.caption();
      login.cmdCancel.click();
      return;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    if (answer.meanwhile) answer.meanwhile();
    if (!login.IsOpen()) return;
    if (answer.password) {
      login.txtPassword1.userSetText(*answer.password);
      login.txtPassword2.userSetText(*answer.password);
      login.cmdOK.click();
    } else {
      login.cmdCancel.click();
    }
  }
};

}  // namespace folvane::watch_test
