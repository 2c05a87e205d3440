// Reading and replacing a data file on the real system, in a folder of its own, also while
// another handle holds the file open as virus scanners, indexers and backup tools do.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "tests/wine/file_names.h"

namespace folvane {
namespace {

// A file's bytes as the program reads them, or nullopt unless they could be read.
std::optional<std::string> bytesIn(Win32Platform& platform, const std::string& path) {
  FileRead read = platform.readFile(path, FileWait::AboutASecond);
  if (!read.read()) return std::nullopt;
  return std::move(read.bytes);
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = narrow(temp) + "folvane_replace_" + std::to_string(GetCurrentProcessId()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(CreateDirectoryW(widen(folder).c_str(), nullptr));
    file = folder + "\\PassDat.ini";
  }
  void TearDown() override {
    for (const std::string& name : Names()) {
      SetFileAttributesW(widen(folder + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(widen(folder + "\\" + name).c_str());
    }
    RemoveDirectoryW(widen(folder).c_str());
  }

  std::vector<std::string> Names() const { return FileNamesIn(folder); }
  void Put(const std::string& path, const std::string& bytes, DWORD attributes = 0) {
    SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE handle = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    if (attributes) SetFileAttributesW(widen(path).c_str(), attributes);
  }
  DWORD Attributes() const { return GetFileAttributesW(widen(file).c_str()); }

  Win32Platform platform;
  std::string folder;
  std::string file;
};

// Another program's handle on the file: opened with `share` at once, closed after `holdMs`.
class Holder {
 public:
  Holder(const std::string& path, DWORD share, int holdMs) {
    handle_ = CreateFileW(widen(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    thread_ = std::thread([this, holdMs] {
      Sleep(holdMs);
      CloseHandle(handle_);
    });
  }
  ~Holder() { thread_.join(); }
  bool holding() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
  std::thread thread_;
};

TEST_F(ReplaceFileTest, MakesAndReplacesTheFileAndLeavesNothingBesideIt) {
  EXPECT_FALSE(bytesIn(platform, file));
  ASSERT_TRUE(platform.replaceFile(file, "first"));
  EXPECT_EQ(bytesIn(platform, file), "first");
  ASSERT_TRUE(platform.replaceFile(file, "[PasswordNumber]\r\nPassCount=1\r\n"));
  EXPECT_EQ(bytesIn(platform, file), "[PasswordNumber]\r\nPassCount=1\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"PassDat.ini"});
}

TEST_F(ReplaceFileTest, WhatACrashLeftBesideTheFileIsIgnoredAndCleanedUp) {
  Put(file, "kept");
  Put(file + ".tmp", "half written", FILE_ATTRIBUTE_HIDDEN);
  Put(file + ".old.tmp", "older", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(bytesIn(platform, file), "kept");
  ASSERT_TRUE(platform.replaceFile(file, "new"));
  EXPECT_EQ(bytesIn(platform, file), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"PassDat.ini"});
}

TEST_F(ReplaceFileTest, AnOldFileLeftOnlyUnderTheBackupNameGoesBackToItsPlace) {
  const std::string list = "[PasswordSetData]\r\nPrivate=139140141\r\n";
  Put(file + ".old.tmp", list);
  Put(file + ".tmp", "the new file that never took its place");
  EXPECT_EQ(bytesIn(platform, file), list);
  EXPECT_EQ(Names(), (std::vector<std::string>{"PassDat.ini", "PassDat.ini.tmp"}));
}

TEST_F(ReplaceFileTest, AFileHeldOpenForAMomentIsReadAndReplacedOnceItIsFree) {
  Put(file, "old");
  struct Case {
    const char* why;
    DWORD share;
  } cases[] = {
      {"held sharing reads", FILE_SHARE_READ},
      {"held sharing nothing", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    {
      Holder holder(file, c.share, 300);
      ASSERT_TRUE(holder.holding());
      EXPECT_EQ(bytesIn(platform, file), "old");
    }
    {
      Holder holder(file, c.share, 300);
      ASSERT_TRUE(holder.holding());
      EXPECT_TRUE(platform.replaceFile(file, "new"));
    }
    EXPECT_EQ(bytesIn(platform, file), "new");
    EXPECT_EQ(Names(), std::vector<std::string>{"PassDat.ini"});
    Put(file, "old");
  }
}

TEST_F(ReplaceFileTest, AFileHeldForLongerIsNotReplacedAndStaysWhole) {
  Put(file, "old");
  {
    Holder holder(file, FILE_SHARE_READ, 2500);
    ASSERT_TRUE(holder.holding());
    EXPECT_FALSE(platform.replaceFile(file, "new"));
  }
  EXPECT_EQ(bytesIn(platform, file), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"PassDat.ini"});
}

TEST_F(ReplaceFileTest, TheFileKeepsItsAttributesAndAReadOnlyFileIsNotReplaced) {
  Put(file, "old", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(platform.replaceFile(file, "new"));
  EXPECT_EQ(bytesIn(platform, file), "new");
  EXPECT_TRUE(Attributes() & FILE_ATTRIBUTE_HIDDEN);

  Put(file, "old", FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(platform.replaceFile(file, "new"));
  EXPECT_EQ(bytesIn(platform, file), "old");
  EXPECT_TRUE(Attributes() & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Names(), std::vector<std::string>{"PassDat.ini"});
}

}  // namespace
}  // namespace folvane
