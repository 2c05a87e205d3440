// The release archive as a user gets it: unpacked into a fresh folder, the program starts from
// there and asks for the user password, as on every first start. scripts/package.sh unpacks the
// archive and names the folder in FOLVANE_UNPACKED; the ordinary end-to-end run leaves this out.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

TEST(Package, TheUnpackedProgramStartsAndAsksForTheUserPassword) {
  std::string folder = environmentPath("FOLVANE_UNPACKED");
  if (folder.empty()) GTEST_SKIP() << "FOLVANE_UNPACKED names no unpacked archive";

  Process program = startProgram(folder + "\\Folvane.exe");
  Window login = program.waitForWindow(kLoginCaption, std::chrono::seconds(20));
  ASSERT_TRUE(login) << "the unpacked program did not ask for the user password";
  EXPECT_TRUE(childByText(login, kAskUser));
  cancelPassword(login);
  EXPECT_EQ(program.waitExit(), 0u);
}

}  // namespace
}  // namespace folvane::e2e
