// The main window's icon in the notification area: the record the shell takes, added and removed.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include <cstring>

#include "platform/whole_characters.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

// The icon the main window shows in its caption is also its notification-area icon.
HICON smallIconOf(HWND window) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  return icon;
}

// The record in its first form, which every version of the shell takes: 88 bytes in a 32-bit
// program, 104 in a 64-bit one (the window and icon handles are pointers). Flags 7 (message,
// icon and tip are valid), id 0.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "the first form of the notification-area record");
NOTIFYICONDATAA trayRecord(HWND owner, UINT callbackMessage, const std::string& tipAnsi) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = owner;
  record.uID = 0;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage;
  record.hIcon = smallIconOf(owner);
  // The first form of the record has room for 63 bytes and the NUL; never split a character.
  const size_t length = WholeCharacterBytes(tipAnsi, 63, isDbcsLeadByte);
  std::memcpy(record.szTip, tipAnsi.data(), length);
  return record;
}

}  // namespace

bool Win32Platform::trayAdd(WindowId owner, const std::string& tipAnsi) {
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), WM_MOUSEMOVE, tipAnsi);
  return Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
}

bool Win32Platform::trayDelete(WindowId owner) {
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), 0, "");
  return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

}  // namespace folvane
