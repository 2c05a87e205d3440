// The main window's icon in the notification area: the record the shell takes, added and removed.
#include "platform/win32/win32_platform.h"

#include <shellapi.h>

#include <cstring>

#include "platform/whole_characters.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

// The main window's own icon, made at the size of the notification area's icons: the small
// icon size at the density of the primary monitor, whose task bar holds the notification area.
// The main window's caption icon would not do: it is made for the monitor the window is on.
HICON loadTrayIcon() {
  const int size = MetricForDpi(SM_CXSMICON, PrimaryMonitorDpi());
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                       MAKEINTRESOURCEW(FOLVANE_ICON_MAIN), IMAGE_ICON, size, size,
                                       LR_DEFAULTCOLOR));
}

// The record in its first form, which every version of the shell takes: 88 bytes in a 32-bit
// program, 104 in a 64-bit one (the window and icon handles are pointers). Flags 7 (message,
// icon and tip are valid), id 0.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88),
              "the first form of the notification-area record");
NOTIFYICONDATAA trayRecord(HWND owner, UINT callbackMessage, HICON icon,
                           const std::string& tipAnsi) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = owner;
  record.uID = 0;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = callbackMessage;
  record.hIcon = icon;
  // The first form of the record has room for 63 bytes and the NUL; never split a character.
  const size_t length = WholeCharacterBytes(tipAnsi, 63, isDbcsLeadByte);
  std::memcpy(record.szTip, tipAnsi.data(), length);
  return record;
}

}  // namespace

bool Win32Platform::trayAdd(WindowId owner, const std::string& tipAnsi) {
  // Made again each time, as the primary monitor's density may have changed meanwhile.
  OwnedIcon icon(loadTrayIcon());
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), WM_MOUSEMOVE, icon.get(), tipAnsi);
  const bool added = Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
  trayIcon_ = std::move(icon);  // the one shown before goes only now
  return added;
}

bool Win32Platform::trayDelete(WindowId owner) {
  NOTIFYICONDATAA record = trayRecord(hwndOf(owner), 0, trayIcon_.get(), "");
  return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

}  // namespace folvane
