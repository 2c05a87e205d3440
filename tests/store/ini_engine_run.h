// Runs one profile-file case against the INI engine on the file's bytes.
#pragma once

#include <cctype>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

#include "store/ini_file.h"
#include "tests/store/ini_cases.h"

namespace folvane::ini_cases {

// The case's name as a test name: letters and digits only, and its place in the table.
inline std::string TestName(const IniCase& c, std::size_t index) {
  std::string name;
  for (const char* p = c.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name + "_" + std::to_string(index);
}

// Read and Section: the result. Write and Remove: the file's bytes after, std::nullopt when
// there is no file.
inline std::optional<std::string> RunOnEngine(const IniCase& c, LeadBytePredicate isLeadByte) {
  IniFile ini(c.before ? c.before : "", std::move(isLeadByte));
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
      if (ini.write(c.section, c.key, value)) return ini.bytes();
      if (!c.before) return std::nullopt;
      return std::string(c.before);
    }
  }
  return std::nullopt;
}

// Names a case in test output.
inline void PrintTo(const IniCase& c, std::ostream* out) {
  *out << c.name;
}

// A printable form of ANSI bytes for failure messages.
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
