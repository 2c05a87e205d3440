// Text between the core and the W functions: UTF-8 to UTF-16 and back, the ANSI code page's lead
// bytes, and a window's own text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace folvane {

inline std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  int count =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), count);
  return wide;
}

inline std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                  0, nullptr, nullptr);
  std::string utf8(count, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), count,
                      nullptr, nullptr);
  return utf8;
}

// Whether a byte starts a double-byte character of the ANSI code page.
inline bool isDbcsLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

// The whole text of a window of this program.
inline std::wstring windowTextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), length + 1));
  return text;
}

}  // namespace folvane
