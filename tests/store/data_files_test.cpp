#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "store/data_file_names.h"
#include "store/folder_key.h"
#include "store/ini_rewrite.h"
#include "store/numbers.h"
#include "store/password_code.h"
#include "store/protected_list.h"
#include "store/settings_file.h"

namespace folvane {
namespace {

// ---- Numbers
// --------------------------------------------------------------------------------------

TEST(ToInt16Test, ReadsSixteenBitNumbersAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::optional<std::int16_t> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"7", 7},
      {"-1", -1},
      {"+3", 3},
      {"007", 7},
      {" 12 ", 12},
      {"\t5\t", 5},
      {"32767", 32767},
      {"-32768", -32768},
      {"32768", std::nullopt},
      {"-32769", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-", std::nullopt},
      {"abc", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"1.5", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ToInt16(c.text), c.expected) << '"' << c.text << '"';
}

// ---- Password code
// --------------------------------------------------------------------------------

TEST(PasswordCodeTest, EncodesEveryCharacterAsItsCodePlusNineteen) {
  FakePlatform platform;
  struct Case {
    const char* password;
    const char* code;
  };
  const Case cases[] = {
      {"abc", "116117118"},     {"A", "084"}, {" ", "051"}, {"~", "145"},
      {"ｱﾟ", "196242"},  // half-width katakana are single bytes (0xB1, 0xDF)
      {"あ", "-32077"},  // 0x82A0 as a signed 16-bit number, plus 19
      {"aあb", "116-32077117"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodePassword(platform, c.password), c.code) << c.password;
  EXPECT_EQ(EncodePassword(platform, ""), std::nullopt) << "the empty password has no code";
}

TEST(PasswordCodeTest, DecodesGroupsOfThreeAndRefusesMalformedCodes) {
  FakePlatform platform;
  EXPECT_EQ(DecodePassword(platform, "116117118"), "abc");
  EXPECT_EQ(DecodePassword(platform, "196242"), "ｱﾟ");
  EXPECT_EQ(DecodePassword(platform, ""), "");
  EXPECT_EQ(DecodePassword(platform, "11699"), "aP") << "the last group holds what is left";

  const char* malformed[] = {
      "-32077",       // the code of a double-byte character
      "11611711",     // a code cut on reading: the last group gives -8
      "018",          // below 0
      "275",          // above 255
      "11a117",       // not a number
      "116 117",      // blanks
      "116117118\n",  // anything after the digits
  };
  for (const char* code : malformed)
    EXPECT_EQ(DecodePassword(platform, code), std::nullopt) << code;
}

TEST(PasswordCodeTest, TellsWhichPasswordsComeBackFromTheirStoredCode) {
  FakePlatform platform;
  EXPECT_TRUE(PasswordSurvivesCode(platform, ""));
  EXPECT_TRUE(PasswordSurvivesCode(platform, "abc"));
  EXPECT_TRUE(PasswordSurvivesCode(platform, "ｱｲｳ"));
  EXPECT_TRUE(PasswordSurvivesCode(platform, std::string(42, 'x')));
  EXPECT_FALSE(PasswordSurvivesCode(platform, std::string(43, 'x'))) << "129 digits, 127 read back";
  EXPECT_FALSE(PasswordSurvivesCode(platform, "aあ"));
  EXPECT_FALSE(PasswordSurvivesCode(platform, "a€")) << "not in the code page";
}

TEST(PasswordCodeTest, ALongPasswordIsStoredWholeButReadBackCut) {
  FakePlatform platform;
  const std::string file = SettingsFilePath(platform);
  std::string code;
  for (int i = 0; i < 43; ++i) code += "116";
  IniWrite(platform, kSectionPasswordSetData, kKeyPassData,
           EncodePassword(platform, std::string(43, 'a')), file);
  EXPECT_NE(platform.fileBytes(file)->find("PassData=" + code + "\r\n"), std::string::npos);
  std::string stored = IniRead(platform, kSectionPasswordSetData, kKeyPassData, "", file);
  EXPECT_EQ(stored, code.substr(0, 127));
  EXPECT_EQ(DecodePassword(platform, stored), std::nullopt);
}

// ---- Folder keys
// ---------------------------------------------------------------------------------

TEST(FolderKeyTest, TheKeyIsTheLastPartOfTheTitle) {
  struct Case {
    const char* title;
    std::optional<std::string> key;
  };
  const Case cases[] = {
      {"Windows", "Windows"},
      {"C:\\Windows\\System", "System"},
      {"C:\\", "C:\\"},
      {"C:\\Windows\\", "C:\\"},
      {"C:\\ドキュメント\\報告", "報告"},
      {"\\\\server\\share", "share"},
      {"My Disk C:\\", "C:"},  // blanks split the first part; its first piece keeps "\"
      // Parentheses are characters of the name: a copy's folder and a drive's own name.
      {"C:\\共有\\経理 (2)", "経理 (2)"},
      {"C:\\Data (old)", "Data (old)"},
      {"Local Disk (C:)", "Local Disk (C:)"},
      {"(", "("},
      {"a)", "a)"},
      // No key: a network path ending in "\", nothing to split, an empty key, no title.
      {"\\\\server\\share\\", std::nullopt},
      {"\\", std::nullopt},
      {"C: \\", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderKeyOfTitle(c.title), c.key) << c.title;
}

// ---- Reading the files
// ---------------------------------------------------------------------------

// A program folder of its own, with the two data files as a test writes them.
struct DataFolder {
  void writeData(const std::string& bytes) {
    ASSERT_TRUE(platform.replaceFile(DataFilePath(platform), bytes));
  }
  void writeSettings(const std::string& bytes) {
    ASSERT_TRUE(platform.replaceFile(SettingsFilePath(platform), bytes));
  }
  FakePlatform platform;
};

class DataFilesTest : public ::testing::Test, protected DataFolder {};

TEST_F(DataFilesTest, MissingFilesReadAsTheirDefaultsAndStayMissing) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  EXPECT_EQ(list.status(), FileRead::Status::Missing);
  EXPECT_EQ(list.count(), 0);
  EXPECT_TRUE(list.rows().empty());
  EXPECT_EQ(ReadInterval(platform), 100);
  EXPECT_EQ(ReadAutoStartValue(platform), 0);
  EXPECT_EQ(
      IniRead(platform, kSectionPasswordSetData, kKeyPassData, "", SettingsFilePath(platform)), "");
  EXPECT_FALSE(platform.fileBytes(DataFilePath(platform)));
  EXPECT_FALSE(platform.fileBytes(SettingsFilePath(platform)));
}

// One read of a data file tells a file that is missing, one that is there but cannot be read and
// one that was read apart: an unreadable list or settings file is never an empty one.
TEST_F(DataFilesTest, AReadTellsMissingFromUnreadable) {
  const std::string list = "[PasswordSetData]\r\nDocs=116\r\n[PasswordNumber]\r\nPassCount=1\r\n";
  const std::string settings = "[PasswordSetData]\r\nPassData=116117118\r\n";
  struct Case {
    const char* why;
    std::function<void(DataFolder&)> arrange;
    FileRead::Status status;
  };
  const Case cases[] = {
      {"missing", [](DataFolder&) {}, FileRead::Status::Missing},
      {"read",
       [&](DataFolder& t) {
         t.writeData(list);
         t.writeSettings(settings);
       },
       FileRead::Status::Read},
      {"held by another program",
       [&](DataFolder& t) {
         t.writeData(list);
         t.writeSettings(settings);
         t.platform.heldFiles = {DataFilePath(t.platform), SettingsFilePath(t.platform)};
       },
       FileRead::Status::Unreadable},
      {"a folder in its place",
       [](DataFolder& t) {
         std::filesystem::create_directory(t.platform.pathOf("PassDat.ini"));
         std::filesystem::create_directory(t.platform.pathOf("Folvane.ini"));
       },
       FileRead::Status::Unreadable},
      {"refused by the system",
       [&](DataFolder& t) {
         t.writeData(list);
         t.writeSettings(settings);
         t.platform.readsFail = true;
       },
       FileRead::Status::Unreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DataFolder t;
    c.arrange(t);
    const ProtectedList read = ProtectedList::Read(t.platform, FileWait::NotAtAll);
    EXPECT_EQ(read.status(), c.status);
    EXPECT_EQ(read.codeOf(ListKeyOf(t.platform, "Docs")),
              c.status == FileRead::Status::Read ? "116" : "");
    EXPECT_EQ(read.rows().size(), c.status == FileRead::Status::Read ? 1u : 0u);
    const StoredUserPassword stored = ReadStoredUserPassword(t.platform, FileWait::NotAtAll);
    EXPECT_EQ(stored.file, c.status);
    EXPECT_EQ(stored.password, c.status == FileRead::Status::Read ? "abc" : "");
  }
}

// A read that may wait tries a held file again for about a second; one that may not, once.
TEST_F(DataFilesTest, OnlyAReadThatMayWaitWaitsForAHeldFile) {
  writeData("[PasswordNumber]\r\nPassCount=0\r\n");
  platform.heldFiles = {DataFilePath(platform)};
  EXPECT_TRUE(ProtectedList::Read(platform, FileWait::NotAtAll).unreadable());
  EXPECT_TRUE(platform.pauses.empty());
  EXPECT_TRUE(ProtectedList::Read(platform, FileWait::AboutASecond).unreadable());
  int waited = 0;
  for (int pause : platform.pauses) waited += pause;
  EXPECT_GE(waited, 900);
  EXPECT_LE(waited, 1100);
}

TEST_F(DataFilesTest, FilesLieInTheProgramFolder) {
  EXPECT_EQ(DataFilePath(platform), platform.folder() + "\\PassDat.ini");
  EXPECT_EQ(SettingsFilePath(platform), platform.folder() + "\\Folvane.ini");
}

// Every entry is a row, whatever PassCount says: an entry the count does not cover is still
// guarded, so it must be seen and can be deleted. The count is read on its own.
TEST_F(DataFilesTest, RowsAreEveryEntryWhateverTheCount) {
  const std::string list =
      "[PasswordSetData]\r\nDocs=116\r\nMusic=\r\nWork, 2024=117\r\n"
      "\x83\x5C\x83t\x83g=118\r\n[PasswordNumber]\r\nPassCount=";
  const std::vector<std::string> rows = {"Docs", "Music", "Work, 2024", "ソフト"};
  struct Case {
    const char* count;
    std::optional<std::int16_t> number;
  };
  const Case cases[] = {
      {"4", 4},
      {" 4 ", 4},
      {"2", 2},
      {"9", 9},
      {"0", 0},
      {"-1", -1},
      {"many", std::nullopt},
      {"70000", std::nullopt},
      // Half a double-byte character after the digits is dropped, not read past.
      {"4\x81", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("PassCount=") + c.count);
    writeData(list + c.count + "\r\n");
    const ProtectedList read = ProtectedList::Read(platform, FileWait::NotAtAll);
    EXPECT_EQ(read.rows(), rows);  // "," inside a key is one row
    EXPECT_EQ(read.count(), c.number);
  }
}

TEST_F(DataFilesTest, AThousandFoldersAreListedWhole) {
  std::string list = "[PasswordSetData]\r\n";
  std::string joined;
  for (int i = 0; i < 1000; ++i) {
    std::string entry = "Folder" + std::to_string(i) + "=116117118";
    list += entry + "\r\n";
    joined += (i ? "," : "") + entry;
  }
  list += "[PasswordNumber]\r\nPassCount=1000\r\n";
  writeData(list);

  std::vector<std::string> rows = ProtectedList::Read(platform, FileWait::NotAtAll).rows();
  ASSERT_EQ(rows.size(), 1000u);
  EXPECT_EQ(rows.front(), "Folder0");
  EXPECT_EQ(rows.back(), "Folder999");
  std::string section = IniReadSection(platform, kSectionPasswordSetData, DataFilePath(platform));
  EXPECT_EQ(section, joined);
}

// An interval is held to the settings dialog's range, 10 to 1000 ms: one written by hand as 32767
// would leave a protected folder window open for half a minute before the watch saw it.
TEST_F(DataFilesTest, IntervalAndAutoStartFallBackOnAnythingUnusable) {
  struct Case {
    const char* stored;
    int interval;
    int autoStart;
  };
  const Case cases[] = {
      {"250", 250, 0}, {" 250 ", 250, 0}, {"1", 10, 1},      {" 1", 10, 1},      {"0", 100, 0},
      {"-5", 100, 0},  {"40000", 100, 0}, {"abc", 100, 0},   {"", 100, 0},       {"2", 10, 0},
      {"10", 10, 0},   {"1000", 1000, 0}, {"1001", 1000, 0}, {"32767", 1000, 0},
  };
  for (const Case& c : cases) {
    writeSettings(std::string("[Timer]\r\nInterval=") + c.stored +
                  "\r\n[AutoStart]\r\nValue=" + c.stored + "\r\n");
    EXPECT_EQ(ReadInterval(platform), c.interval) << '"' << c.stored << '"';
    EXPECT_EQ(ReadAutoStartValue(platform), c.autoStart) << '"' << c.stored << '"';
  }
}

}  // namespace
}  // namespace folvane
