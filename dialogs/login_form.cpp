#include "dialogs/login_form.h"

#include "forms/captions.h"
#include "forms/forms.h"

namespace folvane {

namespace {

constexpr char kMismatchText[] = "ﾊﾟｽﾜｰﾄﾞが正しくありません。もう一度入力してください !";

}  // namespace

LoginForm::LoginForm(Toolkit& toolkit, Platform& platform, ProcessWide& processWide)
    : Form(toolkit, frmLoginLayout()), platform_(platform), processWide_(processWide) {
  add(lblLabels0);
  add(txtPassword1);
  add(lblLabels1);
  add(txtPassword2);
  add(cmdOK);
  add(cmdCancel);
  add(Label2);

  // Creation step: every use starts in front, typing into the first box.
  onLoad = [this] {
    platform_.setForegroundWindow(window());
    txtPassword1.setFocus();
  };
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
  // The close box gives up like Cancel; the window then closes.
  onQueryClose = [this](int&, int) { processWide_.EnteredPassword.clear(); };
}

LoginForm::~LoginForm() {
  unload();
}

std::string LoginForm::Ask(const std::string& prompt) {
  return AskOrCancel(prompt).value_or("");
}

std::optional<std::string> LoginForm::AskOrCancel(const std::string& prompt) {
  if (IsOpen()) {
    // The open dialog keeps its caller and its prompt; this request gets no answer.
    platform_.setForegroundWindow(window());
    return std::nullopt;
  }
  accepted_ = false;
  load();
  if (!IsOpen()) {
    // Nobody was asked, so nobody answered: an earlier answer must not count for this question.
    processWide_.EnteredPassword.clear();
    return std::nullopt;
  }
  Label2.setCaption(prompt);
  showModal();
  if (!accepted_) return std::nullopt;
  return processWide_.EnteredPassword;
}

void LoginForm::cmdOK_Click() {
  if (txtPassword1.text() != txtPassword2.text()) {
    platform_.messageBox({kMismatchText, kMismatchCaption, MsgButtons::Ok, MsgIcon::Warning});
    // The next keystroke replaces the first entry; the second one stays as typed.
    txtPassword1.setFocus();
    txtPassword1.selectAll();
    return;
  }
  processWide_.EnteredPassword = txtPassword1.text();
  accepted_ = true;
  unload();
}

void LoginForm::cmdCancel_Click() {
  processWide_.EnteredPassword.clear();
  unload();
}

}  // namespace folvane
