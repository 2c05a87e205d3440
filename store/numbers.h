// Numbers as the data files hold them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace folvane {

// A text read as a 16-bit signed integer, or why it is none.
struct Int16Read {
  enum class Status {
    Read,        // `value` holds the number
    NotANumber,  // anything but an optional sign and digits between blanks
    OutOfRange,  // a number, but outside -32768..32767
  };
  Status status = Status::NotANumber;
  std::int16_t value = 0;  // 0 unless Read

  bool read() const { return status == Status::Read; }
};

// The ordinary string-to-number conversion to a 16-bit signed integer: blanks around the digits
// are allowed; anything else is no number, and a value outside -32768..32767 is out of range.
Int16Read ReadInt16(const std::string& text);

// The same, for callers to whom the reason does not matter: std::nullopt for either failure.
std::optional<std::int16_t> ToInt16(const std::string& text);

// Whether the text is an optional sign and digits between blanks: a number, however large.
bool IsWholeNumber(const std::string& text);

}  // namespace folvane
