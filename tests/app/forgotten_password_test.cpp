// A forgotten user password: the way back is to end the program from outside, delete its settings
// file and start it again. There is no other way past a user-password question: no password but
// the user's own passes one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/login_form.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

using ForgottenUserPassword = ProgramFixture;

// Folvane.ini deleted, PassDat.ini kept: the start is a first start, and the folders keep their
// lock passwords.
TEST_F(ForgottenUserPassword, WithoutTheSettingsFileANewOneIsChosenAndTheListStays) {
  writeFile("PassDat.ini", kProtectedList);
  typePassword("new");
  answerMessages({MsgAnswer::Yes});
  ASSERT_FALSE(start());

  EXPECT_EQ(prompts, std::vector<std::string>{kPromptUserPassword});
  EXPECT_EQ(program.processWide.UserPassword, "new");
  EXPECT_EQ(readFile("PassDat.ini"), kProtectedList) << "the list was written";
  EXPECT_EQ(scan().List1.items(), (std::vector<std::string>{"Private", "C:\\", "Other", "Empty"}));

  typePassword("abc");  // Private's own lock password, as before
  const WindowId folder = openFolder("C:\\Docs\\Private");
  EXPECT_EQ(prompts.back(), kPromptLockPassword);
  EXPECT_TRUE(enabled(folder));
}

// What someone might try in place of the user password "user": the digits the settings file
// stores for it (136134120133), a lock password, the same letters in another case or with a
// blank, nothing at all. Each leaves the watch running; only the password itself stops it.
TEST_F(ForgottenUserPassword, NoPasswordButTheUsersOwnStopsTheWatch) {
  writeFile("PassDat.ini", kProtectedList);
  ASSERT_TRUE(startResident("user"));
  for (const std::string& attempt : {std::string("136134120133"), std::string("abc"),
                                     std::string("USER"), std::string("user "), std::string("")}) {
    SCOPED_TRACE("'" + attempt + "'");
    typePassword(attempt);
    scan().Button2.click();
    EXPECT_TRUE(scan().Timer1.enabled()) << "the watch stopped";
  }
  typePassword("user");
  scan().Button2.click();
  EXPECT_FALSE(scan().Timer1.enabled());
}

}  // namespace
}  // namespace folvane
