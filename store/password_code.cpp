#include "store/password_code.h"

#include <cstdint>
#include <cstdlib>

namespace folvane {

namespace {

constexpr int kCodeOffset = 19;
constexpr std::size_t kGroup = 3;
// A stored code comes back through IniRead, which returns at most this many bytes.
constexpr std::size_t kStoredCodeBytes = 127;

// "000" format: at least three digits, a minus sign in front of them when negative.
std::string threeDigits(int number) {
  std::string digits = std::to_string(std::abs(number));
  if (digits.size() < kGroup) digits.insert(0, kGroup - digits.size(), '0');
  return number < 0 ? "-" + digits : digits;
}

}  // namespace

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

}  // namespace folvane
