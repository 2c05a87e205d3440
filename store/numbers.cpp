#include "store/numbers.h"

#include "store/blanks.h"

namespace folvane {

Int16Read ReadInt16(const std::string& text) {
  if (!IsWholeNumber(text)) return {Int16Read::Status::NotANumber, 0};
  const std::string number = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (number[i] == '+' || number[i] == '-') negative = number[i++] == '-';
  long magnitude = 0;
  for (; i < number.size(); ++i) {
    magnitude = magnitude * 10 + (number[i] - '0');
    if (magnitude > 32768) return {Int16Read::Status::OutOfRange, 0};  // however it goes on
  }
  const long value = negative ? -magnitude : magnitude;
  if (value > 32767) return {Int16Read::Status::OutOfRange, 0};
  return {Int16Read::Status::Read, static_cast<std::int16_t>(value)};
}

std::optional<std::int16_t> ToInt16(const std::string& text) {
  const Int16Read number = ReadInt16(text);
  if (!number.read()) return std::nullopt;
  return number.value;
}

bool IsWholeNumber(const std::string& text) {
  std::string number = TrimBlanks(text);
  if (!number.empty() && (number.front() == '+' || number.front() == '-')) number.erase(0, 1);
  return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace folvane
