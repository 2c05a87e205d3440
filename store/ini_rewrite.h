// INIReWrite: the only access to the data files. Every value and name is UTF-8 here and is
// converted to the ANSI code page at the file; the files are read and replaced whole through the
// platform, by the program's own INI engine.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/ini_file.h"

namespace folvane {

// The platform's ANSI code page, for the INI engine.
CodePage CodePageOf(Platform& platform);

// One read of a data file, parsed: what the read found, and the file (empty unless it was read).
struct IniSnapshot {
  FileRead::Status status;
  IniFile file;
};
IniSnapshot ReadIniFile(Platform& platform, const std::string& file, FileWait wait);

// The value of a file already read, as IniRead gives it.
std::string IniValueOf(Platform& platform, const IniFile& ini, const std::string& section,
                       const std::string& key, const std::string& defaultValue);

// The stored value cut to 127 bytes, or defaultValue when the file, section or key is missing.
// A file that cannot be read counts as missing here, as it does for the system's profile
// functions: a caller for whom that difference matters reads the file with ReadIniFile.
std::string IniRead(Platform& platform, const std::string& section, const std::string& key,
                    const std::string& defaultValue, const std::string& file);

// A value stores or replaces the entry (an empty value is kept as an empty entry); std::nullopt
// (an absent value) removes the key. True when the file holds what was asked afterwards; false
// when it could not be read or replaced, or the engine refused the entry (a line break in it, an
// "=" in the key), and then it is left as it was.
bool IniWrite(Platform& platform, const std::string& section, const std::string& key,
              const std::optional<std::string>& value, const std::string& file);

// Whether the section has a line for key, also a line without "=", which reads as no value.
bool IniHasKey(Platform& platform, const std::string& section, const std::string& key,
               const std::string& file);

// The section's entries as "key=value", joined by "," in file order; "" when missing or empty.
std::string IniReadSection(Platform& platform, const std::string& section, const std::string& file);

// The same entries, each one whole, however many there are and whatever they hold.
std::vector<std::string> IniReadSectionEntries(Platform& platform, const std::string& section,
                                               const std::string& file);

}  // namespace folvane
