// The password code: how the data files store a password.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace folvane {

// Three decimal digits per character: its ANSI code as a signed 16-bit number plus 19, "000"
// format. The empty password has no code (std::nullopt), which IniWrite turns into a removal.
std::optional<std::string> EncodePassword(Platform& platform, const std::string& password);
// A stored code read back as its password, or why it gives none.
struct DecodedPassword {
  enum class Status {
    Decoded,      // `password` holds it
    NotANumber,   // the code is not a number at all: a character other than digits in it
    NoCharacter,  // digits, but a group of three gives no character code 0..255
  };
  Status status = Status::Decoded;
  std::string password;  // UTF-8; empty unless Decoded

  bool decoded() const { return status == Status::Decoded; }
};
DecodedPassword ReadPasswordCode(Platform& platform, const std::string& code);
// The same, for callers to whom the reason does not matter: std::nullopt when malformed.
std::optional<std::string> DecodePassword(Platform& platform, const std::string& code);
// True when the password comes back unchanged from its stored code: at most 42 characters, all
// of them single-byte in the ANSI code page.
bool PasswordSurvivesCode(Platform& platform, const std::string& password);

}  // namespace folvane
