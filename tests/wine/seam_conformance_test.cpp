// The table of seam cases against the real platform, in a folder, windows and a registry key of
// the test's own. The system's answers are the reference the fake platform is held to.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "tests/platform/seam_cases.h"
#include "tests/wine/file_names.h"

namespace folvane {
namespace {

using seam_cases::SeamCase;

class SystemWorld : public seam_cases::SeamWorld {
 public:
  explicit SystemWorld(size_t index) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string unique = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(index);
    folder_ = narrow(temp) + "folvane_seam_" + unique;
    CreateDirectoryW(widen(folder_).c_str(), nullptr);
    subKey_ = "Software\\FolvaneSeam" + unique;
  }
  ~SystemWorld() override {
    letGo();
    for (const std::string& name : fileNames()) {
      const std::wstring path = widen(pathOf(name));
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
    RemoveDirectoryW(widen(folder_).c_str());
    for (HWND window : windows_) DestroyWindow(window);
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey_.c_str());
  }

  Platform& platform() override { return platform_; }
  std::string pathOf(const std::string& name) override { return folder_ + "\\" + name; }
  void putFile(const std::string& name, const std::string& bytes, bool readOnly) override {
    OwnedFile file(CreateFileW(widen(pathOf(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    file.reset();
    if (readOnly) SetFileAttributesW(widen(pathOf(name)).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void putFolder(const std::string& name) override {
    ASSERT_TRUE(CreateDirectoryW(widen(pathOf(name)).c_str(), nullptr));
  }
  void hold(const std::string& name) override {
    held_.reset(CreateFileW(widen(pathOf(name)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held_);
  }
  void letGo() override { held_.reset(); }
  std::optional<std::string> content(const std::string& name) override {
    const DWORD attributes = GetFileAttributesW(widen(pathOf(name)).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return std::nullopt;
    OwnedFile file(CreateFileW(widen(pathOf(name)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
      bytes.append(buffer, got);
    return bytes;
  }
  std::vector<std::string> fileNames() override { return FileNamesIn(folder_); }
  WindowId addWindow(const std::string& classAnsi, const std::string& titleAnsi) override {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = classAnsi.c_str();
    RegisterClassA(&cls);  // fails harmlessly when an earlier case registered it
    HWND window = CreateWindowExA(0, classAnsi.c_str(), titleAnsi.c_str(), WS_OVERLAPPED, 0, 0, 100,
                                  100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return reinterpret_cast<WindowId>(window);
  }
  std::string keyWithValue(const std::string& name, const std::string& data) override {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    OwnedKey owned(key);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    return subKey_;
  }

 private:
  Win32Platform platform_;
  std::string folder_;
  std::string subKey_;
  OwnedFile held_;
  std::vector<HWND> windows_;
};

class SeamConformance : public ::testing::TestWithParam<SeamCase> {};

TEST_P(SeamConformance, RealPlatform) {
  const SeamCase& c = GetParam();
  static size_t cases = 0;
  SystemWorld world(++cases);
  const seam_cases::Outcome outcome = seam_cases::Run(c, world);
  EXPECT_EQ(seam_cases::Described(c, outcome), seam_cases::Described(c, seam_cases::Expected(c)))
      << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<SeamCase>& info) {
  return seam_cases::TestName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, SeamConformance, ::testing::ValuesIn(seam_cases::kCases), CaseName);

}  // namespace
}  // namespace folvane
