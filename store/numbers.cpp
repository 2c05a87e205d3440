#include "store/numbers.h"

#include "store/blanks.h"

namespace folvane {

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

}  // namespace folvane
