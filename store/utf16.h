// UTF-8 and UTF-16, the two forms of Unicode text the data files can come in besides the ANSI
// code page. Neither conversion fails: what is not a character (a stray byte, half a surrogate
// pair) becomes U+FFFD, which the ANSI code page then shows as "?".
#pragma once

#include <string>
#include <string_view>

namespace folvane {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace folvane
