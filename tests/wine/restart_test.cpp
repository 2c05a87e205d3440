// The program's request to be started again after an installer has closed it, made on the real
// system. Where the system tells what a process asked for (Windows), it is checked: no arguments,
// so the program comes back as an ordinary start, and no restart after a crash, a hang or a
// restart of the system for an update.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"

namespace folvane {
namespace {

TEST(Restart, TheProgramAsksToComeBackAfterAnInstallersCloseAlone) {
  Win32Platform platform;
  ASSERT_TRUE(platform.registerForRestart());

  WCHAR arguments[RESTART_MAX_CMD_LINE] = {};
  DWORD size = RESTART_MAX_CMD_LINE, flags = 0;
  const HRESULT told = GetApplicationRestartSettings(GetCurrentProcess(), arguments, &size, &flags);
  // Wine takes the request and keeps nothing of it: it answers E_NOTIMPL here.
  if (told == E_NOTIMPL) return;
  ASSERT_EQ(told, S_OK);
  EXPECT_EQ(std::wstring(arguments), L"") << "started again with arguments";
  EXPECT_EQ(flags, static_cast<DWORD>(RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT));
}

}  // namespace
}  // namespace folvane
