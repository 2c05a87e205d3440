// Steps that several end-to-end tests take, with their checks.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/driver.h"

namespace folvane::e2e {

// Waits for the program's password dialog asking `prompt`, and answers `password` in both boxes.
inline void answerPasswordDialog(const Process& program, const std::string& prompt,
                                 const std::string& password) {
  Window login = program.waitForWindow(kLoginCaption);
  ASSERT_TRUE(login) << "no password dialog";
  ASSERT_TRUE(childByText(login, prompt)) << "the password dialog asks something else";
  enterPassword(login, password);
  ASSERT_TRUE(waitForGone(login));
}

}  // namespace folvane::e2e
