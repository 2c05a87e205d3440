#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_toolkit.h"
#include "tests/support/message_box.h"

namespace folvane {
namespace {

constexpr char kMismatch[] = "ﾊﾟｽﾜｰﾄﾞが正しくありません。もう一度入力してください !";

class PasswordDialog : public ::testing::Test {
 protected:
  PasswordDialog() {
    toolkit.onModal = [this](Form&) {
      ASSERT_FALSE(steps.empty()) << "nothing scripted for the password dialog";
      auto step = steps.front();
      steps.erase(steps.begin());
      step();
    };
  }
  // One use of the dialog: the user types the two entries and presses OK.
  std::function<void()> typeAndOK(const std::string& first, const std::string& second) {
    return [=] {
      dialog.txtPassword1.userSetText(first);
      dialog.txtPassword2.userSetText(second);
      dialog.cmdOK.click();
    };
  }

  FakePlatform platform;
  FakeToolkit toolkit{platform};
  ProcessWide processWide;
  LoginForm dialog{toolkit, platform, processWide};
  std::vector<std::function<void()>> steps;
};

TEST_F(PasswordDialog, EqualEntriesAreTheAnswer) {
  struct Case {
    const char* first;
    const char* second;
    const char* answer;
  };
  for (const Case& c : {Case{"abc", "abc", "abc"}, Case{"", "", ""},
                        Case{"パスワード", "パスワード", "パスワード"}}) {
    SCOPED_TRACE(c.first);
    processWide.EnteredPassword = "previous";
    steps.push_back(typeAndOK(c.first, c.second));
    EXPECT_EQ(dialog.Ask(kPromptUserPassword), c.answer);
    EXPECT_EQ(processWide.EnteredPassword, c.answer);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(platform.messages.empty());
    // An accepted entry is an answer, the empty one too.
    steps.push_back(typeAndOK(c.first, c.second));
    EXPECT_EQ(dialog.AskOrCancel(kPromptUserPassword), std::optional<std::string>(c.answer));
  }
}

TEST_F(PasswordDialog, MismatchWarnsAndKeepsTheDialogOpenForAnotherTry) {
  processWide.EnteredPassword = "previous";
  bool openAfterMismatch = false;
  steps.push_back([&] {
    typeAndOK("abc", "ABC")();  // differ only in case
    openAfterMismatch = dialog.IsOpen();
    EXPECT_EQ(processWide.EnteredPassword, "previous");
    EXPECT_EQ(toolkit.focused(), "txtPassword1");
    EXPECT_TRUE(dialog.txtPassword1.allSelected());
    EXPECT_EQ(dialog.txtPassword2.text(), "ABC");
    dialog.txtPassword1.userSetText("ABC");
    dialog.cmdOK.click();
  });
  EXPECT_EQ(dialog.Ask(kPromptUserPassword), "ABC");
  EXPECT_TRUE(openAfterMismatch);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(
      IsMessageBox(platform.messages[0], kMismatch, MsgIcon::Warning, MsgButtons::Ok, "ﾛｸﾞｵﾝ"));
}

// Cancel, the close box and a dialog the system could not create all give the question up: the
// answer is empty, and no earlier answer stands in for it.
TEST_F(PasswordDialog, AQuestionGivenUpAnswersEmpty) {
  struct Way {
    const char* what;
    std::function<void()> play;  // nothing: the window cannot be created
  };
  const std::vector<Way> ways = {
      {"cancel", [&] { dialog.cmdCancel.click(); }},
      {"close box", [&] { dialog.requestClose(kCloseFromUser); }},
      {"no window", nullptr},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    for (bool toldApart : {false, true}) {
      processWide.EnteredPassword = "previous";
      toolkit.modalLog.clear();
      toolkit.cannotCreate.clear();
      if (way.play) {
        steps.push_back([&] {
          dialog.txtPassword1.userSetText("typed");
          dialog.txtPassword2.userSetText("typed");
          way.play();
        });
      } else {
        toolkit.cannotCreate.insert("frmLogin");
      }
      if (toldApart) {
        EXPECT_EQ(dialog.AskOrCancel(kPromptUserPassword), std::nullopt);
      } else {
        EXPECT_EQ(dialog.Ask(kPromptUserPassword), "");
      }
      EXPECT_EQ(processWide.EnteredPassword, "");
      EXPECT_FALSE(dialog.IsOpen());
      EXPECT_EQ(toolkit.modalLog.size(), way.play ? 1u : 0u);
    }
  }
  // Once the window can be made again, the dialog asks as before.
  toolkit.cannotCreate.clear();
  steps.push_back(typeAndOK("abc", "abc"));
  EXPECT_EQ(dialog.Ask(kPromptUserPassword), "abc");
}

TEST_F(PasswordDialog, EveryUseStartsAfreshInFrontWithTheNewPrompt) {
  steps.push_back(typeAndOK("abc", "abc"));
  dialog.Ask(kPromptUserPassword);

  std::vector<std::string> seen;
  steps.push_back([&] {
    seen = {dialog.Label2.caption(), dialog.txtPassword1.text(), dialog.txtPassword2.text(),
            toolkit.focused()};
    EXPECT_EQ(platform.setForegroundCalls.back(), dialog.window());
    dialog.cmdCancel.click();
  });
  dialog.Ask(kPromptLockPassword);
  EXPECT_EQ(seen, (std::vector<std::string>{kPromptLockPassword, "", "", "txtPassword1"}));
  EXPECT_EQ(toolkit.focusRequests("txtPassword1"), 2);
  EXPECT_EQ(platform.setForegroundCalls.size(), 2u);
}

// A timer may ask while the dialog waits; the single dialog is not opened twice.
TEST_F(PasswordDialog, AskWhileOpenOpensNoSecondDialog) {
  std::string nestedAnswer = "unset";
  steps.push_back([&] {
    processWide.EnteredPassword = "from before";
    platform.bringToFront(0);
    nestedAnswer = dialog.Ask(kPromptLockPassword);
    EXPECT_EQ(platform.foregroundWindow(), dialog.window());
    EXPECT_EQ(dialog.Label2.caption(), kPromptUserPassword);
    EXPECT_EQ(processWide.EnteredPassword, "from before");
    typeAndOK("abc", "abc")();
  });
  EXPECT_EQ(dialog.Ask(kPromptUserPassword), "abc");
  EXPECT_EQ(nestedAnswer, "");
  EXPECT_EQ(toolkit.modalLog, std::vector<std::string>{"frmLogin"});
}

}  // namespace
}  // namespace folvane
