// Numbers as the data files hold them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace folvane {

// The ordinary string-to-number conversion to a 16-bit signed integer: blanks around the digits
// are allowed; anything else, or a value outside -32768..32767, is std::nullopt.
std::optional<std::int16_t> ToInt16(const std::string& text);

}  // namespace folvane
