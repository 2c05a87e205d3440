// UTF-8 and UTF-16, the two forms of Unicode text the data files can come in besides the ANSI
// code page. Neither conversion fails: what is not a character (a stray byte, half a surrogate
// pair) becomes U+FFFD, which the ANSI code page then shows as "?".
#pragma once

#include <string>
#include <string_view>

namespace folvane {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// How many of the first bytes are ASCII: the length of the text when all of it is.
std::size_t AsciiPrefix(std::string_view bytes);

// Whether bytes are well-formed UTF-8 throughout (no stray or cut-short sequence, no overlong
// form, no surrogate) and hold at least one character beyond ASCII: text that an editor saved as
// UTF-8 without a byte-order mark. Text of the ANSI code page is hardly ever both.
bool IsUtf8BeyondAscii(std::string_view bytes);

}  // namespace folvane
