// The table of seam cases against the fake platform; under Wine the same table runs against the
// real one, so the fake answers as the system does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/busy_retry.h"
#include "platform/fake/fake_platform.h"
#include "tests/platform/seam_cases.h"

namespace folvane {
namespace {

namespace fs = std::filesystem;
using seam_cases::SeamCase;

class FakeWorld : public seam_cases::SeamWorld {
 public:
  Platform& platform() override { return fake; }
  std::string pathOf(const std::string& name) override { return fake.folder() + "\\" + name; }
  void putFile(const std::string& name, const std::string& bytes, bool readOnly) override {
    const std::string path = fake.pathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    if (readOnly)
      fs::permissions(path,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
  }
  void hold(const std::string& name) override { fake.heldFiles.insert(pathOf(name)); }
  void letGo() override { fake.heldFiles.clear(); }
  void putFolder(const std::string& name) override { fs::create_directory(fake.pathOf(name)); }
  std::optional<std::string> content(const std::string& name) override {
    if (!fs::is_regular_file(fake.pathOf(name))) return std::nullopt;
    std::ifstream in(fake.pathOf(name), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> fileNames() override {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fake.folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  WindowId addWindow(const std::string& classAnsi, const std::string& titleAnsi) override {
    const WindowId window = fake.addWindow("", "");
    fake.windowState(window).className = classAnsi;
    fake.windowState(window).title = titleAnsi;
    fake.windowState(window).wideTitle.reset();  // the bytes are the title
    return window;
  }
  std::string keyWithValue(const std::string& name, const std::string& data) override {
    fake.registry["HKEY_CURRENT_USER\\Software\\FolvaneSeam"][name] = data;
    return "Software\\FolvaneSeam";
  }

  FakePlatform fake;
};

class SeamConformance : public ::testing::TestWithParam<SeamCase> {};

TEST_P(SeamConformance, FakePlatform) {
  const SeamCase& c = GetParam();
  FakeWorld world;
  const seam_cases::Outcome outcome = seam_cases::Run(c, world);
  EXPECT_EQ(seam_cases::Described(c, outcome), seam_cases::Described(c, seam_cases::Expected(c)))
      << c.name;
  // A file held by another program is waited for as long as the real system waits.
  if (c.file == seam_cases::File::Held) {
    int waited = 0;
    for (int pause : world.fake.pauses) waited += pause;
    EXPECT_EQ(waited, BusyRetry::kBudgetMs) << c.name;
  }
}

std::string CaseName(const ::testing::TestParamInfo<SeamCase>& info) {
  return seam_cases::TestName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, SeamConformance, ::testing::ValuesIn(seam_cases::kCases), CaseName);

}  // namespace
}  // namespace folvane
