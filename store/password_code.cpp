#include "store/password_code.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "store/numbers.h"

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

DecodedPassword ReadPasswordCode(Platform& platform, const std::string& code) {
  // A code that reads as one number (a sign, blanks around it) fails for want of a character;
  // anything else is not a number.
  const DecodedPassword::Status malformed = IsWholeNumber(code)
                                                ? DecodedPassword::Status::NoCharacter
                                                : DecodedPassword::Status::NotANumber;
  std::string ansi;
  for (std::size_t start = 0; start < code.size(); start += kGroup) {
    std::string group = code.substr(start, kGroup);
    int number = 0;
    for (char c : group) {
      if (c < '0' || c > '9') return {malformed, ""};
      number = number * 10 + (c - '0');
    }
    int character = number - kCodeOffset;
    if (character < 0 || character > 255) return {malformed, ""};
    ansi += static_cast<char>(character);
  }
  return {DecodedPassword::Status::Decoded, platform.fromAnsi(ansi)};
}

std::optional<std::string> DecodePassword(Platform& platform, const std::string& code) {
  DecodedPassword decoded = ReadPasswordCode(platform, code);
  if (!decoded.decoded()) return std::nullopt;
  return std::move(decoded.password);
}

bool PasswordSurvivesCode(Platform& platform, const std::string& password) {
  std::optional<std::string> code = EncodePassword(platform, password);
  if (!code) return password.empty();
  std::optional<std::string> decoded = DecodePassword(platform, code->substr(0, kStoredCodeBytes));
  return decoded && *decoded == password;
}

}  // namespace folvane
