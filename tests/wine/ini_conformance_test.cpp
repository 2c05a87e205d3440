// The table of profile-file cases, run side by side against the program's INI engine and the
// system's own profile functions: the system is the reference, and the two must agree on every
// case.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "store/ini_rewrite.h"
#include "tests/store/ini_cases.h"
#include "tests/store/ini_engine_run.h"

namespace folvane {
namespace {

using ini_cases::Expected;
using ini_cases::FileBytes;
using ini_cases::IniCase;
using ini_cases::Op;

// A file of its own for every run, so no cached copy of an earlier case can answer.
std::string FreshFile(const char* tag) {
  static int counter = 0;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "folvane_" + tag + "_" + std::to_string(GetCurrentProcessId()) +
         "_" + std::to_string(++counter) + ".ini";
}

void PutFile(const std::string& path, const std::optional<std::string>& bytes) {
  DeleteFileA(path.c_str());
  if (!bytes) return;
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes->data(), 1, bytes->size(), file);
  std::fclose(file);
}

std::optional<std::string> GetFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string content;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  std::fclose(file);
  return content;
}

// NUL-separated names or entries, as the profile functions list them, each followed by "\n".
std::string Listed(const std::vector<char>& buffer, DWORD length) {
  std::string listed;
  std::size_t start = 0;
  while (start < length && buffer[start] != '\0') {
    std::string item(&buffer[start]);
    listed += item + "\n";
    start += item.size() + 1;
  }
  return listed;
}

std::string SystemSection(const std::string& path, const char* section) {
  std::vector<char> buffer(1 << 16, '\0');
  DWORD length = GetPrivateProfileSectionA(section, buffer.data(), buffer.size(), path.c_str());
  return Listed(buffer, length);
}

// Everything the system reads out of a file: its sections in order, with their entries.
std::string SystemView(const std::string& path) {
  std::vector<char> buffer(1 << 16, '\0');
  DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), buffer.size(), path.c_str());
  std::string view;
  std::size_t start = 0;
  while (start < length && buffer[start] != '\0') {
    std::string name(&buffer[start]);
    view += "[" + name + "]\n" + SystemSection(path, name.c_str());
    start += name.size() + 1;
  }
  return view;
}

// The case run by the system on a real file.
std::optional<std::string> RunOnSystem(const IniCase& c, const std::string& path) {
  PutFile(path, FileBytes(c, c.before));
  switch (c.op) {
    case Op::Read: {
      char buffer[128] = {};
      GetPrivateProfileStringA(c.section, c.key, c.argument, buffer, sizeof buffer, path.c_str());
      return std::string(buffer);
    }
    case Op::Section:
      return SystemSection(path, c.section);
    case Op::Write:
    case Op::Remove:
      WritePrivateProfileStringA(c.section, c.key, c.op == Op::Write ? c.argument : nullptr,
                                 path.c_str());
      return GetFile(path);
  }
  return std::nullopt;
}

class IniConformance : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniConformance, EngineAgreesWithTheSystem) {
  const IniCase& c = GetParam();
  const std::string systemFile = FreshFile("system");
  const std::string engineFile = FreshFile("engine");

  Win32Platform platform;
  std::optional<std::string> engine = ini_cases::RunOnEngine(c, CodePageOf(platform));
  std::optional<std::string> system = RunOnSystem(c, systemFile);
  const std::optional<std::string> expected = Expected(c);

  EXPECT_EQ(ini_cases::Escaped(engine), ini_cases::Escaped(expected)) << "engine: " << c.name;
  const bool compareBytes = (c.op != Op::Write && c.op != Op::Remove) || c.systemLayout;
  if (compareBytes) {
    EXPECT_EQ(ini_cases::Escaped(system), ini_cases::Escaped(expected)) << "system: " << c.name;
  } else {
    // The system rewrites the whole file in its own layout; what it reads out of the two files
    // must be the same.
    ASSERT_TRUE(engine && system) << c.name;
    PutFile(engineFile, engine);
    EXPECT_EQ(SystemView(engineFile), SystemView(systemFile)) << c.name;
  }
  DeleteFileA(systemFile.c_str());
  DeleteFileA(engineFile.c_str());
}

// The profile routines on the real system: files through the Windows platform, names and values
// converted from and to code page 932. Reads must give what the system gives; writes must leave
// the file the engine makes.
TEST_P(IniConformance, ProfileRoutinesOnRealFiles) {
  const IniCase& c = GetParam();
  Win32Platform platform;
  const std::string path = FreshFile("routines");
  auto utf8 = [&](const char* ansi) { return platform.fromAnsi(ansi ? ansi : ""); };
  const std::string file = platform.fromAnsi(path);

  if (c.op == Op::Read || c.op == Op::Section) {
    std::optional<std::string> system = RunOnSystem(c, path);
    std::string ours;
    if (c.op == Op::Read) {
      ours =
          platform.toAnsi(IniRead(platform, utf8(c.section), utf8(c.key), utf8(c.argument), file));
    } else {
      for (const std::string& entry : IniReadSectionEntries(platform, utf8(c.section), file))
        ours += platform.toAnsi(entry) + "\n";
    }
    EXPECT_EQ(ini_cases::Escaped(ours), ini_cases::Escaped(system)) << c.name;
  } else {
    PutFile(path, FileBytes(c, c.before));
    std::optional<std::string> value;
    if (c.op == Op::Write) value = utf8(c.argument);
    IniWrite(platform, utf8(c.section), utf8(c.key), value, file);
    EXPECT_EQ(ini_cases::Escaped(GetFile(path)), ini_cases::Escaped(Expected(c))) << c.name;
  }
  DeleteFileA(path.c_str());
}

std::string CaseName(const ::testing::TestParamInfo<IniCase>& info) {
  return ini_cases::TestName(info.param, info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniConformance, ::testing::ValuesIn(ini_cases::kCases), CaseName);

}  // namespace
}  // namespace folvane
