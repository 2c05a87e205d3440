// Cutting text in the ANSI code page without splitting a character: window texts, the tray tip,
// values read from the data files and conversions all stop before half a double-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace folvane {

// How many leading bytes of `ansi` make whole characters, `limit` bytes at the most. A lead byte
// (as `isLeadByte` says) starts a two-byte character; one with nothing after it is half of one
// and is not counted.
template <typename IsLeadByte>
std::size_t WholeCharacterBytes(std::string_view ansi, std::size_t limit, IsLeadByte isLeadByte) {
  std::size_t end = 0;
  while (end < ansi.size()) {
    const std::size_t width = isLeadByte(static_cast<unsigned char>(ansi[end])) ? 2 : 1;
    if (end + width > limit || end + width > ansi.size()) break;
    end += width;
  }
  return end;
}

}  // namespace folvane
