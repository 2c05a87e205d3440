// Text between the core's UTF-8 and the system's ANSI code page, in which the data files, the
// registry values and other programs' window texts are written.
#include "platform/win32/win32_platform.h"

#include "platform/whole_characters.h"
#include "platform/win32/win32_text.h"

namespace folvane {

std::string Win32Platform::toAnsi(std::string_view utf8) {
  std::wstring wide = widen(utf8);
  if (wide.empty()) return {};
  int count = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string ansi(count, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), count,
                      nullptr, nullptr);
  return ansi;
}

std::string Win32Platform::fromAnsi(std::string_view ansi) {
  // A lead byte with nothing after it is half a character: it is dropped, not guessed at.
  const size_t complete = WholeCharacterBytes(ansi, ansi.size(), isDbcsLeadByte);
  if (complete == 0) return {};
  int count = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(complete), nullptr, 0);
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(complete), wide.data(), count);
  return narrow(wide);
}

bool Win32Platform::isLeadByte(unsigned char byte) {
  return isDbcsLeadByte(byte);
}

}  // namespace folvane
