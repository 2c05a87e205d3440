// frmLogin: the one dialog through which the program asks for any password. It asks twice,
// accepts only two equal entries and leaves the answer in EnteredPassword; what the answer means
// is the caller's business.
#pragma once

#include <optional>
#include <string>

#include "dialogs/process_wide.h"
#include "platform/form.h"

namespace folvane {

inline constexpr char kPromptUserPassword[] = "ユーザパスワードを入力して下さい。";
inline constexpr char kPromptLockPassword[] = "ロック用パスワードを入力して下さい。";

class LoginForm : public Form {
 public:
  LoginForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide);
  ~LoginForm() override;

  Label lblLabels0{"lblLabels(0)"};
  TextBox txtPassword1{"txtPassword1"};
  Label lblLabels1{"lblLabels(1)"};
  TextBox txtPassword2{"txtPassword2"};
  Button cmdOK{"cmdOK"};
  Button cmdCancel{"cmdCancel"};
  Label Label2{"Label2"};

  // The calling protocol of every caller: set the prompt (this creates the dialog and runs its
  // creation step), show the dialog modally, and return EnteredPassword.
  // While the dialog is already open (a timer or the tray can ask then) no second dialog is
  // opened: the open one is brought to the front, keeps its prompt, and the request answers the
  // empty string without touching EnteredPassword, which still belongs to the open use.
  // A dialog the system could not create asks nothing: the request is answered as cancelled.
  std::string Ask(const std::string& prompt);
  // The same question, telling an accepted entry (an empty one too) from one given up: nullopt
  // after Cancel, the close box, or when no dialog could be shown.
  std::optional<std::string> AskOrCancel(const std::string& prompt);
  // True from the moment a caller set the prompt until the dialog has closed.
  bool IsOpen() const { return isLoaded(); }

  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  Platform& platform_;
  ProcessWide& processWide_;
  bool accepted_ = false;  // the current use ended with OK on two equal entries
};

}  // namespace folvane
