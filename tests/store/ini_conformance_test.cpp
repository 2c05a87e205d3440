// The table of profile-file cases, run against the engine on bytes and through the profile
// routines on real files.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "store/ini_rewrite.h"
#include "tests/store/ini_cases.h"
#include "tests/store/ini_engine_run.h"

namespace folvane {
namespace {

using ini_cases::Expected;
using ini_cases::FileBytes;
using ini_cases::IniCase;
using ini_cases::Op;

class IniConformance : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniConformance, Engine) {
  const IniCase& c = GetParam();
  FakePlatform platform;
  std::optional<std::string> got = ini_cases::RunOnEngine(c, CodePageOf(platform));
  EXPECT_EQ(ini_cases::Escaped(got), ini_cases::Escaped(Expected(c))) << c.name;
}

// The same case through IniRead / IniWrite / IniReadSectionEntries: UTF-8 names and values,
// a real file in the program folder.
TEST_P(IniConformance, ProfileRoutines) {
  const IniCase& c = GetParam();
  FakePlatform platform;
  const std::string file = platform.programFolder() + "\\case.ini";
  const std::optional<std::string> before = FileBytes(c, c.before);
  if (before) {
    ASSERT_TRUE(platform.replaceFile(file, *before));
  }
  platform.replaceFileCalls = 0;
  auto utf8 = [&](const char* ansi) { return platform.fromAnsi(ansi ? ansi : ""); };

  std::optional<std::string> got;
  switch (c.op) {
    case Op::Read:
      got =
          platform.toAnsi(IniRead(platform, utf8(c.section), utf8(c.key), utf8(c.argument), file));
      break;
    case Op::Section: {
      std::string listed;
      for (const std::string& entry : IniReadSectionEntries(platform, utf8(c.section), file))
        listed += platform.toAnsi(entry) + "\n";
      got = listed;
      break;
    }
    case Op::Write:
    case Op::Remove: {
      std::optional<std::string> value;
      if (c.op == Op::Write) value = utf8(c.argument);
      IniWrite(platform, utf8(c.section), utf8(c.key), value, file);
      got = platform.fileBytes(file);
      // A write that changes nothing leaves the file alone.
      const bool unchanged = before == Expected(c);
      EXPECT_EQ(platform.replaceFileCalls, unchanged ? 0 : 1) << c.name;
      break;
    }
  }
  if (c.op == Op::Read || c.op == Op::Section) {
    EXPECT_EQ(platform.fileBytes(file).has_value(), before.has_value()) << "reading made a file";
  }
  EXPECT_EQ(ini_cases::Escaped(got), ini_cases::Escaped(Expected(c))) << c.name;
}

std::string CaseName(const ::testing::TestParamInfo<IniCase>& info) {
  return ini_cases::TestName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniConformance, ::testing::ValuesIn(ini_cases::kCases), CaseName);

}  // namespace
}  // namespace folvane
