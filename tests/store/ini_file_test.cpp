// The INI engine where it goes beyond the system's rules: entries it refuses to write, files it
// keeps readable, and damaged text it reads without harm. The rules themselves are in the table of
// profile-file cases.
#include "store/ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/fake/fake_platform.h"
#include "store/ini_rewrite.h"

namespace folvane {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  FakePlatform platform;
  CodePage codePage = CodePageOf(platform);
};

TEST_F(IniFileTest, EntriesThatWouldNotReadBackAsWrittenAreRefused) {
  const std::string before = "[A]\r\nk=1\r\n[B]\r\nb=2\r\n";
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case refused[] = {
      {"A", "k", "1\r\n[B]\r\nz=2"},  // would add a section and a key
      {"A", "k", "1\nj=2"},
      {"A", "j", "x\r"},
      {"A", "j\r\nq", "1"},
      {"A\r\nB", "k", "1"},
      {"A", "a=b", "1"},  // would be the key "a" with the value "b=1"
      {"A", "[C]", "1"},  // would be a section header
      {"A", " [C", "]"},
      {"\x83", "k", "1"},  // "]" would be the second byte of a character: no header
      {"C\x83\x5C\x83", "k", "1"},
      {"C\x83\x0B", "k", "1"},  // written trimmed, it ends in the lead byte
  };
  for (const Case& c : refused) {
    IniFile ini(before, codePage);
    EXPECT_EQ(ini.write(c.section, c.key, std::string(c.value)), IniWriteResult::Refused)
        << c.section << " / " << c.key << " / " << c.value;
    EXPECT_EQ(ini.bytes(), before);
  }

  // Near misses are written and read back.
  const Case written[] = {
      {"A", "j", "a=b"}, {"A", "x]", "1"},       {"A", "x[", "]"},
      {"a]b", "k", "1"}, {"\x83\x5C", "k", "1"}, {"[C", "k", "1"},
  };
  for (const Case& c : written) {
    IniFile ini(before, codePage);
    EXPECT_EQ(ini.write(c.section, c.key, std::string(c.value)), IniWriteResult::Changed);
    IniFile again(ini.bytes(), codePage);
    EXPECT_EQ(again.read(c.section, c.key), c.value) << c.section << " / " << c.key;
    EXPECT_EQ(again.read("A", "k"), "1");
    EXPECT_EQ(again.read("B", "b"), "2");
  }
}

TEST_F(IniFileTest, ARefusedEntryIsAFailedWriteThatLeavesTheFileAlone) {
  const std::string file = platform.programFolder() + "\\PassDat.ini";
  const std::string before = "[PasswordSetData]\r\nDocs=116\r\n";
  ASSERT_TRUE(platform.replaceFile(file, before));
  platform.replaceFileCalls = 0;

  EXPECT_FALSE(IniWrite(platform, "PasswordSetData", "Docs", std::string("1\r\nMusic=2"), file));
  EXPECT_FALSE(IniWrite(platform, "PasswordSetData", "a=b", std::string("1"), file));
  EXPECT_EQ(platform.replaceFileCalls, 0);
  EXPECT_EQ(*platform.fileBytes(file), before);
}

TEST_F(IniFileTest, AnAnsiFileNeverComesToStartLikeAByteOrderMark) {
  // A key that opens with the bytes of a UTF-8 byte-order mark, written as the first line (with a
  // character after them that is no UTF-8, which would be refused otherwise).
  IniFile first("", codePage);
  EXPECT_EQ(first.write("", "\xEF\xBB\xBF\x83\x5C", std::string("1")), IniWriteResult::Changed);
  EXPECT_EQ(first.bytes(), "\r\n\xEF\xBB\xBF\x83\x5C=1\r\n");
  IniFile firstAgain(first.bytes(), codePage);
  EXPECT_EQ(firstAgain.encoding(), IniEncoding::Ansi);
  EXPECT_EQ(firstAgain.read("", "\xEF\xBB\xBF\x83\x5C"), "1");

  // The line before one that opens with the bytes of a UTF-16 byte-order mark, removed.
  IniFile removed("k=1\r\n\xFF\xFEj=2\r\n[A]\r\na=3\r\n", codePage);
  EXPECT_EQ(removed.write("", "k", std::nullopt), IniWriteResult::Changed);
  EXPECT_EQ(removed.bytes(), "\r\n\xFF\xFEj=2\r\n[A]\r\na=3\r\n");
  IniFile removedAgain(removed.bytes(), codePage);
  EXPECT_EQ(removedAgain.encoding(), IniEncoding::Ansi);
  EXPECT_EQ(removedAgain.read("", "\xFF\xFEj"), "2");
  EXPECT_EQ(removedAgain.read("A", "a"), "3");
}

TEST_F(IniFileTest, AFileWithoutAMarkIsUtf8WhenItsBytesAreUtf8BeyondAscii) {
  const struct {
    const char* bytes;
    IniEncoding encoding;
  } cases[] = {
      {"[A]\r\nk=1\r\n", IniEncoding::Ansi},                                 // ASCII reads the same
      {"[A]\r\n\x8C\x6F\x97\x9D=1\r\n", IniEncoding::Ansi},                  // Shift-JIS 経理
      {"[A]\r\n\xE7\xB5\x8C\xE7\x90=1\r\n", IniEncoding::Ansi},              // UTF-8 cut short
      {"[A]\r\n\xC0\xAF=1\r\n", IniEncoding::Ansi},                          // an overlong form
      {"[A]\r\n\xED\xA0\x80=1\r\n", IniEncoding::Ansi},                      // a surrogate
      {"[A]\r\n\xE7\xB5\x8C\xE7\x90\x86=1\r\n", IniEncoding::Utf8Unmarked},  // 経理
      {"[A]\r\n\xEF\xBF\xBD=1\r\n", IniEncoding::Utf8Unmarked},              // U+FFFD written out
  };
  for (const auto& c : cases) {
    IniFile ini(c.bytes, codePage);
    EXPECT_EQ(ini.encoding(), c.encoding) << c.bytes;
    EXPECT_EQ(ini.bytes(), c.bytes);
  }

  // Read through the code page, written back in UTF-8 without a mark, every other line kept.
  IniFile ini("; Café\n[部署]\n経理=1\n", codePage);
  EXPECT_EQ(ini.read("\x95\x94\x8F\x90", "\x8C\x6F\x97\x9D"), "1");
  EXPECT_EQ(ini.write("\x95\x94\x8F\x90", "\x89\x63\x8B\xC6", std::string("2")),
            IniWriteResult::Changed);
  EXPECT_EQ(ini.bytes(), "; Café\n[部署]\n経理=1\n営業=2\r\n");
  EXPECT_EQ(IniFile(ini.bytes(), codePage).encoding(), IniEncoding::Utf8Unmarked);
}

TEST_F(IniFileTest, AnAnsiFileIsNeverWrittenIntoLookingLikeUtf8) {
  // "ﾃア" in Shift-JIS is C3 83 41, which is also UTF-8 ("ÃA"): written into a file of ASCII, or
  // left alone by removing the one line UTF-8 could not read, it would be read as another name.
  IniFile added("[A]\r\nk=1\r\n", codePage);
  EXPECT_EQ(added.write("A", "\xC3\x83\x41", std::string("2")), IniWriteResult::Refused);
  EXPECT_EQ(added.bytes(), "[A]\r\nk=1\r\n");

  const std::string mixed = "[A]\r\n\x82\xA0=1\r\n\xC3\x83\x41=2\r\n";
  IniFile removed(mixed, codePage);
  ASSERT_EQ(removed.encoding(), IniEncoding::Ansi);
  EXPECT_EQ(removed.write("A", "\x82\xA0", std::nullopt), IniWriteResult::Refused);
  EXPECT_EQ(removed.bytes(), mixed);
  EXPECT_EQ(removed.read("A", "\xC3\x83\x41"), "2");

  // Beside a character UTF-8 cannot read, the same name is written as usual.
  IniFile beside("[A]\r\n\x82\xA0=1\r\n", codePage);
  EXPECT_EQ(beside.write("A", "\xC3\x83\x41", std::string("2")), IniWriteResult::Changed);
  EXPECT_EQ(IniFile(beside.bytes(), codePage).read("A", "\xC3\x83\x41"), "2");
}

TEST_F(IniFileTest, AValueEndingInHalfACharacterIsCutWithinItsOwnBytes) {
  struct Case {
    const char* value;
    std::size_t maxBytes;
    std::string expected;
  };
  const Case cases[] = {
      {"12\x81", 127, "12\x81"},  // no byte past the value's end
      {"12\x81", 3, "12\x81"},
      {"12\x81", 2, "12"},
      {"ab\x82\xA0", 3, "ab"},  // a whole character is never split
  };
  for (const Case& c : cases) {
    IniFile ini(std::string("[A]\r\nk=") + c.value + "\r\n", codePage);
    EXPECT_EQ(ini.readOr("A", "k", "", c.maxBytes), c.expected) << c.value << " / " << c.maxBytes;
  }
}

TEST_F(IniFileTest, AUtf16FileOfOddLengthKeepsItsLastByte) {
  const std::string units = std::string("[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 20);
  IniFile ini("\xFF\xFE" + units + "x", codePage);
  ASSERT_EQ(ini.encoding(), IniEncoding::Utf16Le);
  EXPECT_EQ(ini.read("A", "k"), "v");

  EXPECT_EQ(ini.write("A", "j", std::string("w")), IniWriteResult::Changed);
  EXPECT_EQ(ini.bytes(), "\xFF\xFE" + units + std::string("j\0=\0w\0\r\0\n\0", 10) + "x");
}

}  // namespace
}  // namespace folvane
