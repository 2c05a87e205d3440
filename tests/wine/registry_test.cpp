// The registry routines on the real registry, under a key of the current user's that each test
// makes for itself and removes again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialogs/reg_rewrite.h"
#include "platform/win32/win32_platform.h"

namespace folvane {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = "Software\\FolvaneTests" + std::to_string(GetCurrentProcessId());
    subKey = parent + "\\Run";
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, parent.c_str());
    HKEY left = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_READ, &left), ERROR_SUCCESS);
  }

  // The value as the system holds it: its type and bytes.
  struct Stored {
    DWORD type = 0;
    std::string bytes;
  };
  Stored stored(const std::string& name) {
    Stored result;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      return result;
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &result.type, reinterpret_cast<BYTE*>(buffer),
                         &size) == ERROR_SUCCESS) {
      result.bytes.assign(buffer, size);
    }
    RegCloseKey(key);
    return result;
  }
  bool keyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  Win32Platform platform;
  std::string parent;
  std::string subKey;
};

TEST_F(RegistryTest, MissingKeysAndValuesReadAsEmpty) {
  EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), "");
  RegWrite(platform, subKey, "Other", "x", RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), "");
}

TEST_F(RegistryTest, WriteCreatesTheKeyAndAStringValueThatReadsBack) {
  ASSERT_FALSE(keyExists());
  const std::string path = "C:\\Program Files\\Folvane\\Folvane.exe";
  RegWrite(platform, subKey, "Folvane", path, RegRoot::CurrentUser);

  ASSERT_TRUE(keyExists());
  Stored value = stored("Folvane");
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  // The system hands a string back with its terminating NUL, whether stored with one or not.
  EXPECT_EQ(value.bytes.substr(0, value.bytes.find('\0')), path);
  EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), path);

  RegWrite(platform, subKey, "Folvane", "D:\\Folvane.exe", RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), "D:\\Folvane.exe");
}

TEST_F(RegistryTest, DoubleByteAndLongPathsReadBackUnchanged) {
  const std::string paths[] = {
      "C:\\ツール\\表示\\Folvane.exe",  // "表" has "\" as its second byte
      "C:\\" + std::string(120, 'a') + "\\Folvane.exe",
      "C:\\" + std::string(200, 'b') + "\\Folvane.exe",
  };
  for (const std::string& path : paths) {
    RegWrite(platform, subKey, "Folvane", path, RegRoot::CurrentUser);
    Stored value = stored("Folvane");
    EXPECT_EQ(value.bytes.substr(0, value.bytes.find('\0')), platform.toAnsi(path));
    EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), path);
  }
}

TEST_F(RegistryTest, DeleteRemovesOnlyTheNamedValue) {
  RegWrite(platform, subKey, "Folvane", "C:\\Folvane.exe", RegRoot::CurrentUser);
  RegWrite(platform, subKey, "Other", "C:\\Other.exe", RegRoot::CurrentUser);

  RegDelete(platform, subKey, "Folvane", RegRoot::CurrentUser);
  EXPECT_EQ(RegRead(platform, subKey, "Folvane", RegRoot::CurrentUser), "");
  EXPECT_EQ(RegRead(platform, subKey, "Other", RegRoot::CurrentUser), "C:\\Other.exe");

  RegDelete(platform, subKey, "Folvane", RegRoot::CurrentUser);  // already gone: nothing happens
  EXPECT_TRUE(keyExists());
  RegDelete(platform, subKey, "Other", RegRoot::CurrentUser);
  EXPECT_TRUE(keyExists()) << "the key itself stays";
}

}  // namespace
}  // namespace folvane
