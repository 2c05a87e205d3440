#include "store/data_files.h"

#include <algorithm>
#include <cstdlib>

#include "store/blanks.h"
#include "store/ini_rewrite.h"

namespace folvane {

namespace {

constexpr int kCodeOffset = 19;
constexpr std::size_t kGroup = 3;
// A stored code comes back through IniRead, which returns at most this many bytes.
constexpr std::size_t kStoredCodeBytes = 127;

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t at = text.find(separator, start);
    if (at == std::string::npos) break;
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

// The text less its last character (a whole UTF-8 sequence).
std::string withoutLastCharacter(const std::string& text) {
  std::size_t end = text.size();
  if (end == 0) return text;
  --end;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// "000" format: at least three digits, a minus sign in front of them when negative.
std::string threeDigits(int number) {
  std::string digits = std::to_string(std::abs(number));
  if (digits.size() < kGroup) digits.insert(0, kGroup - digits.size(), '0');
  return number < 0 ? "-" + digits : digits;
}

}  // namespace

std::string DataFilePath(Platform& platform) {
  return platform.programFolder() + "\\" + kDataFileName;
}

std::string SettingsFilePath(Platform& platform) {
  return platform.programFolder() + "\\" + kSettingsFileName;
}

std::optional<std::int16_t> ToInt16(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::size_t digitsStart = i;
  long number = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number = number * 10 + (text[i] - '0');
    if (number > 32768) return std::nullopt;  // out of range however it goes on
    ++i;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  if (negative) number = -number;
  if (number < -32768 || number > 32767) return std::nullopt;
  return static_cast<std::int16_t>(number);
}

std::optional<std::string> EncodePassword(Platform& platform, const std::string& password) {
  if (password.empty()) return std::nullopt;
  std::string ansi = platform.toAnsi(password);
  std::string code;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    auto byte = static_cast<unsigned char>(ansi[i]);
    int character = byte;
    if (platform.isLeadByte(byte) && i + 1 < ansi.size()) {
      // A double-byte character's code as a signed 16-bit number: negative for every lead byte.
      auto trail = static_cast<unsigned char>(ansi[++i]);
      character = static_cast<std::int16_t>(static_cast<std::uint16_t>(byte << 8 | trail));
    }
    code += threeDigits(character + kCodeOffset);
  }
  return code;
}

std::optional<std::string> DecodePassword(Platform& platform, const std::string& code) {
  std::string ansi;
  for (std::size_t start = 0; start < code.size(); start += kGroup) {
    std::string group = code.substr(start, kGroup);
    int number = 0;
    for (char c : group) {
      if (c < '0' || c > '9') return std::nullopt;
      number = number * 10 + (c - '0');
    }
    int character = number - kCodeOffset;
    if (character < 0 || character > 255) return std::nullopt;
    ansi += static_cast<char>(character);
  }
  return platform.fromAnsi(ansi);
}

bool PasswordSurvivesCode(Platform& platform, const std::string& password) {
  std::optional<std::string> code = EncodePassword(platform, password);
  if (!code) return password.empty();
  std::optional<std::string> decoded = DecodePassword(platform, code->substr(0, kStoredCodeBytes));
  return decoded && *decoded == password;
}

std::string WindowClassOf(const std::string& activeFormText) {
  return withoutLastCharacter(activeFormText.substr(0, activeFormText.find('(')));
}

bool NamesUntitledWindow(const std::string& activeFormText) {
  std::size_t open = activeFormText.rfind('(');
  return open != std::string::npos && activeFormText.compare(open + 1, std::string::npos, ")") == 0;
}

std::optional<std::string> FolderKeyOf(const std::string& activeFormText) {
  std::size_t open = activeFormText.rfind('(');
  if (open == std::string::npos) return std::nullopt;
  std::string item = activeFormText.substr(open + 1);
  if (item.empty() || item.back() != ')') return std::nullopt;
  std::string title = item.substr(0, item.size() - 1);
  if (title.empty()) return std::nullopt;

  std::vector<std::string> parts = split(title, '\\');
  if (parts.back().empty()) {
    // A drive root (C:\) or a folder title ending in "\": the drive keeps its "\".
    // A network path (\\server\share\) has no first part and so no key.
    if (parts.front().empty()) return std::nullopt;
    parts = split(parts.front(), ' ');
    parts.front() += '\\';
  }
  // An empty key could not be stored as an entry of its own.
  if (parts.back().empty()) return std::nullopt;
  return parts.back();
}

std::optional<std::int16_t> ReadPassCount(Platform& platform) {
  return ToInt16(
      IniRead(platform, kSectionPasswordNumber, kKeyPassCount, "0", DataFilePath(platform)));
}

std::vector<std::string> ProtectedListRows(Platform& platform) {
  std::vector<std::string> rows;
  std::optional<std::int16_t> count = ReadPassCount(platform);
  if (!count || *count <= 0) return rows;  // a malformed count shows an empty list
  std::vector<std::string> entries =
      IniReadSectionEntries(platform, kSectionPasswordSetData, DataFilePath(platform));
  std::size_t shown = std::min(entries.size(), static_cast<std::size_t>(*count));
  for (std::size_t i = 0; i < shown; ++i)
    rows.push_back(entries[i].substr(0, entries[i].find('=')));
  return rows;
}

int ReadInterval(Platform& platform) {
  std::optional<std::int16_t> interval =
      ToInt16(IniRead(platform, kSectionTimer, kKeyInterval, std::to_string(kDefaultInterval),
                      SettingsFilePath(platform)));
  // A value that would not sample at all falls back to the default.
  if (!interval || *interval <= 0) return kDefaultInterval;
  return *interval;
}

int ReadAutoStartValue(Platform& platform) {
  std::optional<std::int16_t> value =
      ToInt16(IniRead(platform, kSectionAutoStart, kKeyValue, "0", SettingsFilePath(platform)));
  // Anything but 1 (also a malformed value) leaves the box cleared.
  return value && *value == 1 ? 1 : 0;
}

}  // namespace folvane
