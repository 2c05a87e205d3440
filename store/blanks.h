// Blanks: the characters the program ignores around a number and around a key of its data files,
// as the profile functions drop them there. Only the space and the tab count.
#pragma once

#include <string>

namespace folvane {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without the blanks at either end.
inline std::string TrimBlanks(const std::string& text) {
  std::string::size_type begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace folvane
