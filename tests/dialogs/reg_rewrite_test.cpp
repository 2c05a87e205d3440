#include <gtest/gtest.h>

#include "dialogs/reg_rewrite.h"
#include "platform/fake/fake_platform.h"

namespace folvane {
namespace {

constexpr char kRunPath[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RegReWriteTest : public ::testing::Test {
 protected:
  std::map<std::string, std::string>& runValues() { return platform.registry[kRunPath]; }
  FakePlatform platform;
};

// The autostart value is the program's path quoted: unquoted, a path with a space in it could
// start C:\Program.exe instead. Unquoted, as it used to be written, it is the program still where
// the path has no space.
TEST(AutoStartValueTest, IsThePathQuotedAndAnUnquotedPathWithoutASpaceStillCounts) {
  EXPECT_EQ(CommandLineOf("C:\\Program Files\\Folvane\\Folvane.exe"),
            "\"C:\\Program Files\\Folvane\\Folvane.exe\"");
  const struct {
    const char* value;
    const char* path;
    bool starts;
  } cases[] = {
      {"\"C:\\Program Files\\F\\Folvane.exe\"", "C:\\Program Files\\F\\Folvane.exe", true},
      {"C:\\Program Files\\F\\Folvane.exe", "C:\\Program Files\\F\\Folvane.exe", false},
      {"\"C:\\Tools\\Folvane.exe\"", "C:\\Tools\\Folvane.exe", true},
      {"C:\\Tools\\Folvane.exe", "C:\\Tools\\Folvane.exe", true},
      {"\"D:\\Folvane.exe\"", "C:\\Tools\\Folvane.exe", false},
      {"D:\\Folvane.exe", "C:\\Tools\\Folvane.exe", false},
      {"", "C:\\Tools\\Folvane.exe", false},
      {"\"C:\\Tools\\Folvane.exe", "C:\\Tools\\Folvane.exe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(StartsProgram(c.value, c.path), c.starts) << c.value;
}

TEST_F(RegReWriteTest, MissingValuesAndKeysReadAsEmpty) {
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "");
  platform.registry[kRunPath]["Other"] = "x";
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "");
  EXPECT_EQ(RegRead(platform, "Software\\Nowhere", "Other", RegRoot::CurrentUser), "");
}

TEST_F(RegReWriteTest, WriteCreatesTheKeyAndStoresExactlyTheBytes) {
  RegWrite(platform, kRunKey, "Folvane", "C:\\Tools\\Folvane.exe", RegRoot::CurrentUser);
  EXPECT_EQ(runValues().at("Folvane"), "C:\\Tools\\Folvane.exe") << "no NUL counted";
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "C:\\Tools\\Folvane.exe");

  RegWrite(platform, kRunKey, "Folvane", "D:\\Folvane.exe", RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "D:\\Folvane.exe");
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::LocalMachine), "") << "the root counts";
}

TEST_F(RegReWriteTest, ADoubleBytePathIsStoredInTheAnsiCodePageAndReadsBackUnchanged) {
  const std::string path = "C:\\ツール\\表示\\Folvane.exe";  // "表" has "\" as its second byte
  RegWrite(platform, kRunKey, "Folvane", path, RegRoot::CurrentUser);
  EXPECT_EQ(runValues().at("Folvane"), platform.toAnsi(path));
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), path);
}

TEST_F(RegReWriteTest, APathLongerThanTheOldBufferReadsBackWhole) {
  // The settings dialog tells "on" from "off" by a non-empty read, so a long path must not read
  // as missing.
  const std::string path = "C:\\" + std::string(200, 'a') + "\\Folvane.exe";
  RegWrite(platform, kRunKey, "Folvane", path, RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), path);
}

TEST_F(RegReWriteTest, ReadStopsAtTheFirstNul) {
  runValues()["Folvane"] = std::string("C:\\a.exe\0junk", 13);
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "C:\\a.exe");
}

TEST_F(RegReWriteTest, DeleteRemovesOnlyTheNamedValue) {
  runValues()["Folvane"] = "C:\\Folvane.exe";
  runValues()["Other"] = "C:\\Other.exe";

  RegDelete(platform, kRunKey, "Folvane", RegRoot::CurrentUser);
  EXPECT_EQ(runValues().count("Folvane"), 0u);
  EXPECT_EQ(runValues().at("Other"), "C:\\Other.exe");

  RegDelete(platform, kRunKey, "Folvane", RegRoot::CurrentUser);  // already gone
  RegDelete(platform, "Software\\Nowhere", "Folvane", RegRoot::CurrentUser);
  EXPECT_EQ(runValues().size(), 1u);
  EXPECT_EQ(platform.registry.count("HKEY_CURRENT_USER\\Software\\Nowhere"), 0u);
}

TEST_F(RegReWriteTest, ARegistryThatRefusesEverythingIsMetWithSilence) {
  platform.registryFails = true;
  RegWrite(platform, kRunKey, "Folvane", "C:\\Folvane.exe", RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, kRunKey, "Folvane", RegRoot::CurrentUser), "");
  RegDelete(platform, kRunKey, "Folvane", RegRoot::CurrentUser);
  EXPECT_TRUE(platform.registry.empty());
}

}  // namespace
}  // namespace folvane
