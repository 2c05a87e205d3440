// Cases of the platform seam where the system's answer is easy to get wrong, as plain data, and
// the one routine that runs a case against a Platform. Natively they run against the fake
// platform; under Wine the same table runs against the real one, which is the reference: where
// the two differ, the fake is wrong. Texts are ANSI (code page 932) bytes unless said otherwise.
#pragma once

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace folvane::seam_cases {

enum class Op {
  ReadFile,      // "read " and the data file's content, "missing" or "unreadable"
  ReplaceFile,   // put `input` in the data file's place: "true" or "false"
  ToAnsi,        // `given` is UTF-8
  FromAnsi,      // the result is UTF-8
  ClassName,     // a window of class `given`, read into a buffer of `size` bytes
  WindowText,    // a window titled `given`, read into a buffer of `size` bytes
  WindowTitle,   // a window titled `given`, read whole; the result is UTF-8
  RegReadValue,  // a REG_SZ value of exactly the bytes `given`, read with a buffer of `size`
};

// The data file as a file case finds it.
enum class File {
  Missing,
  Plain,     // with the bytes `given`
  ReadOnly,  // with the bytes `given`, made read-only
  Held,      // with the bytes `given`, held open by another program sharing nothing throughout
  Folder,    // a folder in the data file's place
};

struct SeamCase {
  const char* name;
  Op op;
  const char* given;
  const char* input;  // ReplaceFile: the new bytes
  int size;           // ClassName, WindowText, RegReadValue: the buffer's size in bytes
  std::optional<std::string_view> expected;  // the result
  // File cases: the data file before, a "<file>.tmp" a crash left beside it (nullptr: none),
  // and the files in the folder after, separated by blanks, with the data file's content.
  File file = File::Missing;
  const char* leftover = nullptr;
  const char* filesAfter = "";
  const char* contentAfter = nullptr;
};

constexpr const char kDataFile[] = "data.ini";

// "あいう" in code page 932 and in UTF-8, and 24 times over (144 bytes in the code page).
#define FOLVANE_AIU_ANSI "\x82\xA0\x82\xA2\x82\xA4"
#define FOLVANE_A_UTF8 "\xE3\x81\x82"
#define FOLVANE_AIU_UTF8 "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"
#define FOLVANE_TIMES_8(text) text text text text text text text text
#define FOLVANE_TIMES_24(text) FOLVANE_TIMES_8(text) FOLVANE_TIMES_8(text) FOLVANE_TIMES_8(text)
// Long titles, around the length a title is first read with (255 characters).
#define FOLVANE_10 "C:\\Folder\\"
#define FOLVANE_50 FOLVANE_10 FOLVANE_10 FOLVANE_10 FOLVANE_10 FOLVANE_10
#define FOLVANE_250 FOLVANE_50 FOLVANE_50 FOLVANE_50 FOLVANE_50 FOLVANE_50

using std::string_view_literals::operator""sv;

inline constexpr SeamCase kCases[] = {
    // ---- Reading a file ---------------------------------------------------------------------
    {"a missing file is missing", Op::ReadFile, nullptr, nullptr, 0, "missing", File::Missing,
     nullptr, "", nullptr},
    {"a file reads whole", Op::ReadFile, "[A]\r\nk=1\r\n", nullptr, 0, "read [A]\r\nk=1\r\n",
     File::Plain, nullptr, "data.ini", "[A]\r\nk=1\r\n"},
    {"an empty file reads as empty", Op::ReadFile, "", nullptr, 0, "read ", File::Plain, nullptr,
     "data.ini", ""},
    {"a read-only file reads", Op::ReadFile, "kept", nullptr, 0, "read kept", File::ReadOnly,
     nullptr, "data.ini", "kept"},
    {"a file held by another program is unreadable", Op::ReadFile, "kept", nullptr, 0, "unreadable",
     File::Held, nullptr, "data.ini", "kept"},
    {"a folder in the file's place is unreadable", Op::ReadFile, nullptr, nullptr, 0, "unreadable",
     File::Folder, nullptr, "data.ini", nullptr},

    // ---- Replacing a file -------------------------------------------------------------------
    {"a missing file is made", Op::ReplaceFile, nullptr, "new", 0, "true", File::Missing, nullptr,
     "data.ini", "new"},
    {"a file is replaced", Op::ReplaceFile, "old", "new", 0, "true", File::Plain, nullptr,
     "data.ini", "new"},
    {"a read-only file is not replaced", Op::ReplaceFile, "old", "new", 0, "false", File::ReadOnly,
     nullptr, "data.ini", "old"},
    {"a file held by another program is not replaced", Op::ReplaceFile, "old", "new", 0, "false",
     File::Held, nullptr, "data.ini", "old"},
    {"a leftover temporary file is replaced and goes", Op::ReplaceFile, "old", "new", 0, "true",
     File::Plain, "half written", "data.ini", "new"},
    {"a leftover temporary file does not stop a first file", Op::ReplaceFile, nullptr, "new", 0,
     "true", File::Missing, "half written", "data.ini", "new"},
    {"an empty file replaces", Op::ReplaceFile, "old", "", 0, "true", File::Plain, nullptr,
     "data.ini", ""},

    // ---- Code page ----------------------------------------------------------------------------
    {"a trailing lead byte drops", Op::FromAnsi, "\x82\xA0\x82", nullptr, 0, FOLVANE_A_UTF8},
    {"a lone lead byte drops", Op::FromAnsi, "\x82", nullptr, 0, ""},
    {"single-byte katakana", Op::FromAnsi, "\xB6\xC5", nullptr, 0, "\xEF\xBD\xB6\xEF\xBE\x85"},
    {"a backslash stays a backslash", Op::FromAnsi, "C:\\", nullptr, 0, "C:\\"},
    {"a double-byte character to the code page", Op::ToAnsi, FOLVANE_A_UTF8, nullptr, 0,
     "\x82\xA0"},
    {"a character the code page cannot hold becomes ?", Op::ToAnsi,
     "a\xED\x95\x9C"
     "b",
     nullptr, 0, "a?b"},

    // ---- Windows' texts ---------------------------------------------------------------------
    {"a class name that fits", Op::ClassName, "CabinetWClass", nullptr, 14, "CabinetWClass"},
    {"a class name cut at the buffer", Op::ClassName, "CabinetWClass", nullptr, 8, "Cabinet"},
    {"a class name into one byte", Op::ClassName, "CabinetWClass", nullptr, 1, ""},
    {"a title that fits", Op::WindowText, FOLVANE_AIU_ANSI, nullptr, 7, FOLVANE_AIU_ANSI},
    {"a title cut between characters", Op::WindowText, FOLVANE_AIU_ANSI, nullptr, 5,
     "\x82\xA0\x82\xA2"},
    {"a title is not cut inside a character", Op::WindowText, FOLVANE_AIU_ANSI, nullptr, 4,
     "\x82\xA0"},
    {"a single-byte title cut at the buffer", Op::WindowText, "C:\\Folders\\Work", nullptr, 6,
     "C:\\Fo"},
    {"a long title read whole", Op::WindowTitle,
     "C:\\" FOLVANE_TIMES_24(FOLVANE_AIU_ANSI) "\\Work - File Explorer", nullptr, 0,
     "C:\\" FOLVANE_TIMES_24(FOLVANE_AIU_UTF8) "\\Work - File Explorer"},
    {"an empty title read whole", Op::WindowTitle, "", nullptr, 0, ""},
    {"a whole title in UTF-8", Op::WindowTitle, FOLVANE_AIU_ANSI, nullptr, 0,
     "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"},
    {"an untitled window", Op::WindowTitle, "", nullptr, 0, ""},
    {"a title of 254 characters", Op::WindowTitle, FOLVANE_250 "Work", nullptr, 0,
     FOLVANE_250 "Work"},
    {"a title of 255 characters", Op::WindowTitle, FOLVANE_250 "Works", nullptr, 0,
     FOLVANE_250 "Works"},
    {"a title of 256 characters", Op::WindowTitle, FOLVANE_250 "Work\\1", nullptr, 0,
     FOLVANE_250 "Work\\1"},
    {"a title of 300 characters", Op::WindowTitle, FOLVANE_250 FOLVANE_50, nullptr, 0,
     FOLVANE_250 FOLVANE_50},

    // ---- Registry -----------------------------------------------------------------------------
    // A string stored without a NUL comes back with one, which needs room in the buffer too.
    {"a value comes back with a NUL", Op::RegReadValue, "C:\\Folvane.exe", nullptr, 64,
     "C:\\Folvane.exe\0"sv},
    {"a value and its NUL just fit", Op::RegReadValue, "C:\\Folvane.exe", nullptr, 15,
     "C:\\Folvane.exe\0"sv},
    {"a value without room for its NUL", Op::RegReadValue, "C:\\Folvane.exe", nullptr, 14,
     std::nullopt},
    {"a value one byte too long", Op::RegReadValue, "C:\\Folvane.exe", nullptr, 13, std::nullopt},
    {"an empty value", Op::RegReadValue, "", nullptr, 8, ""},
};

#undef FOLVANE_AIU_ANSI
#undef FOLVANE_A_UTF8
#undef FOLVANE_AIU_UTF8
#undef FOLVANE_TIMES_8
#undef FOLVANE_TIMES_24
#undef FOLVANE_10
#undef FOLVANE_50
#undef FOLVANE_250

// What a case is run in: a platform, and the means to set up what the case finds and to look at
// what it leaves, without going through the platform under test.
class SeamWorld {
 public:
  virtual ~SeamWorld() = default;
  virtual Platform& platform() = 0;
  // The path of a file in an empty folder of the case's own, as the program would name it.
  virtual std::string pathOf(const std::string& name) = 0;
  virtual void putFile(const std::string& name, const std::string& bytes, bool readOnly) = 0;
  virtual void putFolder(const std::string& name) = 0;
  // Another program opens the file sharing nothing, and keeps it open until letGo().
  virtual void hold(const std::string& name) = 0;
  virtual void letGo() = 0;
  // The bytes of a file; nullopt when there is none (also when a folder has the name).
  virtual std::optional<std::string> content(const std::string& name) = 0;
  virtual std::vector<std::string> fileNames() = 0;  // sorted
  virtual WindowId addWindow(const std::string& classAnsi, const std::string& titleAnsi) = 0;
  // Stores `name` as REG_SZ with exactly `data` in a key of the world's own under
  // HKEY_CURRENT_USER, and gives that key's path.
  virtual std::string keyWithValue(const std::string& name, const std::string& data) = 0;
};

// Bytes as they print: printable ASCII as it is, everything else as \xNN.
inline std::string Escaped(const std::optional<std::string>& bytes) {
  if (!bytes) return "(none)";
  std::string out = "\"";
  for (unsigned char c : *bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

struct Outcome {
  std::optional<std::string> result;
  std::string filesAfter;                   // file cases
  std::optional<std::string> contentAfter;  // file cases
};

inline Outcome Run(const SeamCase& c, SeamWorld& world) {
  Platform& platform = world.platform();
  Outcome outcome;
  const bool fileCase = c.op == Op::ReadFile || c.op == Op::ReplaceFile;
  if (fileCase) {
    if (c.file == File::Folder) {
      world.putFolder(kDataFile);
    } else if (c.file != File::Missing) {
      world.putFile(kDataFile, c.given, c.file == File::ReadOnly);
    }
    if (c.leftover) world.putFile(std::string(kDataFile) + ".tmp", c.leftover, false);
    if (c.file == File::Held) world.hold(kDataFile);
  }
  // A buffer filled with a byte no case expects, so that bytes the call did not write show.
  std::string buffer(c.size > 0 ? static_cast<size_t>(c.size) : 0, '#');
  auto terminated = [&] { return std::string(buffer.c_str()); };
  switch (c.op) {
    case Op::ReadFile: {
      const FileRead read = platform.readFile(world.pathOf(kDataFile), FileWait::AboutASecond);
      outcome.result = read.read()      ? "read " + read.bytes
                       : read.missing() ? "missing"
                                        : "unreadable";
      break;
    }
    case Op::ReplaceFile:
      outcome.result = platform.replaceFile(world.pathOf(kDataFile), c.input) ? "true" : "false";
      break;
    case Op::ToAnsi:
      outcome.result = platform.toAnsi(c.given);
      break;
    case Op::FromAnsi:
      outcome.result = platform.fromAnsi(c.given);
      break;
    case Op::ClassName:
      platform.className(world.addWindow(c.given, "Folvane"), buffer.data(), c.size);
      outcome.result = terminated();
      break;
    case Op::WindowText:
      platform.windowText(world.addWindow("FolvaneSeamCase", c.given), buffer.data(), c.size);
      outcome.result = terminated();
      break;
    case Op::WindowTitle:
      outcome.result = platform.windowTitle(world.addWindow("FolvaneSeamCase", c.given));
      break;
    case Op::RegReadValue: {
      const std::string subKey = world.keyWithValue("Folvane", c.given);
      outcome.result = platform.regReadValue(RegRoot::CurrentUser, subKey, "Folvane", c.size);
      break;
    }
  }
  if (fileCase) {
    world.letGo();
    for (const std::string& name : world.fileNames())
      outcome.filesAfter += (outcome.filesAfter.empty() ? "" : " ") + name;
    outcome.contentAfter = world.content(kDataFile);
  }
  return outcome;
}

// The case's name as a test name: letters and digits only, and its place in the table.
inline std::string TestName(const SeamCase& c, size_t index) {
  std::string name;
  for (const char* p = c.name; *p; ++p)
    name += (std::isalnum(static_cast<unsigned char>(*p)) != 0) ? *p : '_';
  return name + "_" + std::to_string(index);
}

// The outcome a case expects, and an outcome as one line to compare and print.
inline Outcome Expected(const SeamCase& c) {
  Outcome expected;
  if (c.expected) expected.result = std::string(*c.expected);
  expected.filesAfter = c.filesAfter;
  if (c.contentAfter) expected.contentAfter = c.contentAfter;
  return expected;
}

inline std::string Described(const SeamCase& c, const Outcome& outcome) {
  std::string line = Escaped(outcome.result);
  if (c.op == Op::ReadFile || c.op == Op::ReplaceFile)
    line += ", files after: [" + outcome.filesAfter + "] holding " + Escaped(outcome.contentAfter);
  return line;
}

}  // namespace folvane::seam_cases
