// Runs one profile-file case against the INI engine on the file's bytes.
#pragma once

#include <cctype>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

#include "store/ini_file.h"
#include "store/utf16.h"
#include "tests/store/ini_cases.h"

namespace folvane::ini_cases {

// The case's name as a test name: letters and digits only, and its place in the table.
inline std::string TestName(const IniCase& c, std::size_t index) {
  std::string name;
  for (const char* p = c.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name + "_" + std::to_string(index);
}

// A file of the case (its before or its expected) as the bytes on disk; std::nullopt for none.
inline std::optional<std::string> FileBytes(const IniCase& c, const char* text) {
  if (!text) return std::nullopt;
  std::string bytes;
  switch (c.stored) {
    case Stored::Ansi:
      return std::string(text);
    case Stored::Utf8:
      return "\xEF\xBB\xBF" + std::string(text);
    case Stored::Utf16Le:
    case Stored::Utf16Be:
      bytes = c.stored == Stored::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t unit : Utf8ToUtf16(text)) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += c.stored == Stored::Utf16Le ? low : high;
        bytes += c.stored == Stored::Utf16Le ? high : low;
      }
      return bytes;
  }
  return std::nullopt;
}

// What the case must give: the text of a read or a listing, the file's bytes after a write.
inline std::optional<std::string> Expected(const IniCase& c) {
  if (c.op == Op::Write || c.op == Op::Remove) return FileBytes(c, c.expected);
  if (!c.expected) return std::nullopt;
  return std::string(c.expected);
}

// Read and Section: the result. Write and Remove: the file's bytes after, std::nullopt when
// there is no file.
inline std::optional<std::string> RunOnEngine(const IniCase& c, CodePage codePage) {
  const std::optional<std::string> before = FileBytes(c, c.before);
  IniFile ini(before.value_or(""), std::move(codePage));
  switch (c.op) {
    case Op::Read:
      return ini.readOr(c.section, c.key, c.argument, 127);
    case Op::Section: {
      std::string listed;
      for (const std::string& entry : ini.entries(c.section)) listed += entry + "\n";
      return listed;
    }
    case Op::Write:
    case Op::Remove: {
      std::optional<std::string> value;
      if (c.op == Op::Write) value = c.argument;
      if (ini.write(c.section, c.key, value) == IniWriteResult::Changed) return ini.bytes();
      return before;
    }
  }
  return std::nullopt;
}

// Names a case in test output.
inline void PrintTo(const IniCase& c, std::ostream* out) {
  *out << c.name;
}

// A printable form of file bytes for failure messages.
inline std::string Escaped(const std::optional<std::string>& bytes) {
  if (!bytes) return "(no file)";
  std::string out;
  const char* hex = "0123456789ABCDEF";
  for (unsigned char c : *bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace folvane::ini_cases
