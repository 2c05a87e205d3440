// The password code: how the data files store a password.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace folvane {

// Three decimal digits per character: its ANSI code as a signed 16-bit number plus 19, "000"
// format. The empty password has no code (std::nullopt), which IniWrite turns into a removal.
std::optional<std::string> EncodePassword(Platform& platform, const std::string& password);
// std::nullopt when the code is malformed (not groups of digits giving codes 0..255).
std::optional<std::string> DecodePassword(Platform& platform, const std::string& code);
// True when the password comes back unchanged from its stored code: at most 42 characters, all
// of them single-byte in the ANSI code page.
bool PasswordSurvivesCode(Platform& platform, const std::string& password);

}  // namespace folvane
