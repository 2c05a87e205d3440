#include "store/ini_rewrite.h"

#include "store/ini_file.h"

namespace folvane {

namespace {

// What a value read back can hold: 127 bytes, as the program has always read them.
constexpr std::size_t kValueBytes = 127;

IniFile load(Platform& platform, const std::string& file) {
  std::optional<std::string> bytes = platform.readFile(file);
  return IniFile(bytes.value_or(std::string()),
                 [&platform](unsigned char byte) { return platform.isLeadByte(byte); });
}

// Cuts ANSI text to at most `limit` bytes without splitting a double-byte character.
std::string cutAnsi(Platform& platform, const std::string& ansi, std::size_t limit) {
  if (ansi.size() <= limit) return ansi;
  std::size_t end = 0;
  while (end < ansi.size()) {
    std::size_t width = platform.isLeadByte(static_cast<unsigned char>(ansi[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return ansi.substr(0, end);
}

}  // namespace

std::string IniRead(Platform& platform, const std::string& section, const std::string& key,
                    const std::string& defaultValue, const std::string& file) {
  std::optional<std::string> value =
      load(platform, file).read(platform.toAnsi(section), platform.toAnsi(key));
  std::string ansi = value ? *value : platform.toAnsi(defaultValue);
  return platform.fromAnsi(cutAnsi(platform, ansi, kValueBytes));
}

void IniWrite(Platform& platform, const std::string& section, const std::string& key,
              const std::optional<std::string>& value, const std::string& file) {
  IniFile ini = load(platform, file);
  std::optional<std::string> ansiValue;
  if (value) ansiValue = platform.toAnsi(*value);
  // Only a real change replaces the file; replaceFile keeps the old file whole if it fails.
  if (ini.write(platform.toAnsi(section), platform.toAnsi(key), ansiValue)) {
    platform.replaceFile(file, ini.bytes());
  }
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
