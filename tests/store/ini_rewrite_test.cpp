// The profile routines on files: what the table of file rules cannot show.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "store/ini_rewrite.h"

namespace folvane {
namespace {

class IniReWriteTest : public ::testing::Test {
 protected:
  FakePlatform platform;
  const std::string file = platform.programFolder() + "\\PassDat.ini";
};

TEST_F(IniReWriteTest, TheProtectedListKeepsTheOrderOfFirstWrites) {
  IniWrite(platform, "PasswordSetData", "Docs", std::string("116"), file);
  IniWrite(platform, "PasswordNumber", "PassCount", std::string("1"), file);
  IniWrite(platform, "PasswordSetData", "Music", std::string("117"), file);
  IniWrite(platform, "PasswordNumber", "PassCount", std::string("2"), file);
  IniWrite(platform, "PasswordSetData", "docs", std::string("118"), file);

  EXPECT_EQ(*platform.fileBytes(file),
            "[PasswordSetData]\r\nDocs=118\r\nMusic=117\r\n[PasswordNumber]\r\nPassCount=2\r\n");
  EXPECT_EQ(IniReadSection(platform, "PasswordSetData", file), "Docs=118,Music=117");
  EXPECT_EQ(IniReadSection(platform, "PasswordNumber", file), "PassCount=2");
  EXPECT_EQ(IniReadSection(platform, "Missing", file), "");
}

TEST_F(IniReWriteTest, NamesAndValuesAreStoredInTheAnsiCodePage) {
  IniWrite(platform, "PasswordSetData", "ドキュメント", std::string("ｱｲ"), file);

  EXPECT_EQ(*platform.fileBytes(file),
            "[PasswordSetData]\r\n\x83h\x83L\x83\x85\x83\x81\x83\x93\x83g=\xB1\xB2\r\n");
  EXPECT_EQ(IniRead(platform, "PasswordSetData", "ドキュメント", "", file), "ｱｲ");
  EXPECT_EQ(IniReadSectionEntries(platform, "PasswordSetData", file),
            std::vector<std::string>{"ドキュメント=ｱｲ"});
}

TEST_F(IniReWriteTest, AKeyHoldingACommaIsOneEntry) {
  IniWrite(platform, "PasswordSetData", "Work, 2024", std::string("116"), file);
  IniWrite(platform, "PasswordSetData", "Music", std::string("117"), file);

  EXPECT_EQ(IniReadSectionEntries(platform, "PasswordSetData", file),
            (std::vector<std::string>{"Work, 2024=116", "Music=117"}));
}

TEST_F(IniReWriteTest, AFailedWriteLeavesTheOldFileWhole) {
  const std::string before = "; kept\r\n[PasswordSetData]\r\nDocs=116\r\nMusic=117\r\n";
  ASSERT_TRUE(platform.replaceFile(file, before));
  platform.replaceFileCalls = 0;
  platform.writesFail = true;

  IniWrite(platform, "PasswordSetData", "Docs", std::string("999"), file);
  IniWrite(platform, "PasswordSetData", "Music", std::nullopt, file);
  IniWrite(platform, "PasswordSetData", "Work", std::string("118"), file);

  EXPECT_EQ(platform.replaceFileCalls, 3) << "each write was tried";
  EXPECT_FALSE(IniWrite(platform, "PasswordSetData", "Docs", std::string("999"), file));
  EXPECT_TRUE(IniWrite(platform, "PasswordSetData", "Docs", std::string("116"), file))
      << "nothing to change: nothing to write";
  EXPECT_EQ(*platform.fileBytes(file), before);
  EXPECT_EQ(IniRead(platform, "PasswordSetData", "Docs", "", file), "116");
}

TEST_F(IniReWriteTest, AFileThatCannotBeReadIsNotRebuiltFromNothing) {
  const std::string before = "[PasswordSetData]\r\nDocs=116\r\nMusic=117\r\n";
  ASSERT_TRUE(platform.replaceFile(file, before));
  platform.readsFail = true;

  EXPECT_FALSE(IniWrite(platform, "PasswordSetData", "Work", std::string("118"), file));
  EXPECT_FALSE(IniWrite(platform, "PasswordSetData", "Docs", std::nullopt, file));

  platform.readsFail = false;
  EXPECT_EQ(*platform.fileBytes(file), before);
}

TEST_F(IniReWriteTest, AFailedFirstWriteCreatesNoFile) {
  platform.writesFail = true;
  IniWrite(platform, "PasswordSetData", "Docs", std::string("116"), file);
  EXPECT_FALSE(platform.fileBytes(file));
  EXPECT_EQ(IniRead(platform, "PasswordSetData", "Docs", "none", file), "none");
}

}  // namespace
}  // namespace folvane
