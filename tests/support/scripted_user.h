// The user at the password dialog, playing from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/login_form.h"

namespace folvane {

// What the user does at one showing of the password dialog.
struct Answer {
  std::optional<std::string> password;  // typed into both boxes and confirmed; nullopt: Cancel
  std::function<void()> meanwhile;      // done while the dialog waits, before answering
};

inline Answer Typed(const std::string& password, std::function<void()> meanwhile = {}) {
  return {password, std::move(meanwhile)};
}
inline Answer Cancelled(std::function<void()> meanwhile = {}) {
  return {std::nullopt, std::move(meanwhile)};
}

// Plays one answer at the open dialog. What happens meanwhile may close the dialog (the program
// ending, say); then there is nothing left to answer.
inline void PlayAnswer(LoginForm& login, const Answer& answer) {
  if (answer.meanwhile) answer.meanwhile();
  if (!login.IsOpen()) return;
  if (!answer.password) return login.cmdCancel.click();
  login.txtPassword1.userSetText(*answer.password);
  login.txtPassword2.userSetText(*answer.password);
  login.cmdOK.click();
}

// A user who answers each showing of the dialog with the next password of `answers`
// (std::nullopt presses Cancel). Each prompt shown is kept in `prompts`. A showing with nothing
// left to answer is a test failure, and is cancelled so that nothing hangs.
inline void AnswerFromScript(LoginForm& login, std::deque<std::optional<std::string>>& answers,
                             std::vector<std::string>& prompts) {
  prompts.push_back(login.Label2.caption());
  if (answers.empty()) {
    ADD_FAILURE() << "an unexpected password question: " << login.Label2.caption();
    return login.cmdCancel.click();
  }
  const std::optional<std::string> password = answers.front();
  answers.pop_front();
  PlayAnswer(login, {password, {}});
}

}  // namespace folvane
