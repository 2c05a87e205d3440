#include "store/ini_rewrite.h"

#include "store/ini_file.h"

#include <utility>

namespace folvane {

namespace {

// What a value read back can hold: 127 bytes, as the program has always read them.
constexpr std::size_t kValueBytes = 127;

IniFile parse(Platform& platform, std::string bytes) {
  return IniFile(std::move(bytes), CodePageOf(platform));
}

// A missing file reads as an empty one, as the system's profile functions have it.
IniFile load(Platform& platform, const std::string& file) {
  return parse(platform, platform.readFile(file, FileWait::AboutASecond).bytes);
}

}  // namespace

CodePage CodePageOf(Platform& platform) {
  return CodePage{[&platform](unsigned char byte) { return platform.isLeadByte(byte); },
                  [&platform](std::string_view ansi) { return platform.fromAnsi(ansi); },
                  [&platform](std::string_view utf8) { return platform.toAnsi(utf8); }};
}

IniSnapshot ReadIniFile(Platform& platform, const std::string& file, FileWait wait) {
  FileRead read = platform.readFile(file, wait);
  return {read.status, parse(platform, std::move(read.bytes))};
}

std::string IniValueOf(Platform& platform, const IniFile& ini, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
  return platform.fromAnsi(ini.readOr(platform.toAnsi(section), platform.toAnsi(key),
                                      platform.toAnsi(defaultValue), kValueBytes));
}

std::string IniRead(Platform& platform, const std::string& section, const std::string& key,
                    const std::string& defaultValue, const std::string& file) {
  return IniValueOf(platform, load(platform, file), section, key, defaultValue);
}

bool IniWrite(Platform& platform, const std::string& section, const std::string& key,
              const std::optional<std::string>& value, const std::string& file) {
  // A file that is there but cannot be read (locked by another program, say) must not be
  // rebuilt from nothing: that would replace every folder and password it holds by one key.
  FileRead read = platform.readFile(file, FileWait::AboutASecond);
  if (read.unreadable()) return false;
  IniFile ini = parse(platform, std::move(read.bytes));
  std::optional<std::string> ansiValue;
  if (value) ansiValue = platform.toAnsi(*value);
  switch (ini.write(platform.toAnsi(section), platform.toAnsi(key), ansiValue)) {
    case IniWriteResult::Refused:
      return false;
    case IniWriteResult::Unchanged:
      return true;  // only a real change replaces the file
    case IniWriteResult::Changed:
      break;
  }
  // replaceFile keeps the old file whole if it fails.
  return platform.replaceFile(file, ini.bytes());
}

bool IniHasKey(Platform& platform, const std::string& section, const std::string& key,
               const std::string& file) {
  return load(platform, file).has(platform.toAnsi(section), platform.toAnsi(key));
}

std::vector<std::string> IniReadSectionEntries(Platform& platform, const std::string& section,
                                               const std::string& file) {
  std::vector<std::string> entries = load(platform, file).entries(platform.toAnsi(section));
  for (std::string& entry : entries) entry = platform.fromAnsi(entry);
  return entries;
}

std::string IniReadSection(Platform& platform, const std::string& section,
                           const std::string& file) {
  std::string joined;
  bool first = true;
  for (const std::string& entry : IniReadSectionEntries(platform, section, file)) {
    if (!first) joined += ',';
    joined += entry;
    first = false;
  }
  return joined;
}

}  // namespace folvane
