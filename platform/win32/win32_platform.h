// The platform seam on the real system: user32, shell32, kernel32 and advapi32 behind the
// operations the program uses. Failures come back as plain results. The operations live in files
// by what they work on: win32_windows.cpp, win32_dialogs.cpp, win32_window_events.cpp,
// win32_title_forms.cpp, win32_shell_asker.cpp, win32_tray.cpp, win32_files.cpp,
// win32_registry.cpp, win32_code_page.cpp and win32_program.cpp.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_covers.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_held_watcher.h"
#include "platform/win32/win32_shell_asker.h"
#include "platform/win32/win32_window_events.h"

namespace folvane {

// The full path of this program's executable.
std::wstring ModulePath();

// The window behind an opaque id of the seam.
inline HWND hwndOf(WindowId window) {
  return reinterpret_cast<HWND>(window);
}

class Win32Platform : public Platform {
 public:
  Win32Platform() = default;
  // Makes ready at start what covering a window needs, off the path of the first lock.
  void prepareCovers() { covers_.prepare(); }
  // Starts asking the Shell at start, so that the first folder window's question is not the one
  // that waits for the Shell's list to be made.
  void prepareShell() { shell_.prepare(); }
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  WindowId foregroundWindow() override;
  void className(WindowId window, char* buffer, int maxCount) override;
  void windowText(WindowId window, char* buffer, int maxCount) override;
  std::string windowTitle(WindowId window) override;
  bool windowExists(WindowId window) override;
  bool isOwnWindow(WindowId window) override;
  void enableWindow(WindowId window, bool enable) override;
  bool isWindowEnabled(WindowId window) override;
  void postClose(WindowId window) override;
  void setForegroundWindow(WindowId window) override;
  void setActiveWindow(WindowId window) override;

  std::vector<std::string> explorerTitleForms() override;
  std::optional<ShellFolder> folderShownBy(WindowId window) override;
  bool leaveFolder(WindowId window, WindowId tab) override;

  void cover(WindowId window, const std::string& text) override;
  void followCover(WindowId window) override;
  void uncover(WindowId window) override;

  std::vector<ChildWindow> childWindows(WindowId parent) override;
  WindowId rootWindowOf(WindowId window) override;
  WindowId focusedWindowOf(WindowId window) override;
  std::optional<std::string> controlText(WindowId control) override;
  std::optional<std::string> comboBoxItem(WindowId comboBox) override;
  void postCancel(WindowId dialog) override;
  bool watchWindowEvents(WindowId owner, bool on) override;

  void keepHeldWindows(const std::vector<WindowId>& held) override;

  bool trayAdd(WindowId owner, const std::string& tipAnsi) override;
  bool trayDelete(WindowId owner) override;

  FileRead readFile(const std::string& path, FileWait wait) override;
  bool replaceFile(const std::string& path, const std::string& bytes) override;

  std::optional<std::string> regReadValue(RegRoot root, const std::string& subKey,
                                          const std::string& name, int bufferSize) override;
  bool regWriteString(RegRoot root, const std::string& subKey, const std::string& name,
                      const std::string& data) override;
  bool regDeleteValue(RegRoot root, const std::string& subKey, const std::string& name) override;

  std::string toAnsi(std::string_view utf8) override;
  std::string fromAnsi(std::string_view ansi) override;
  bool isLeadByte(unsigned char byte) override;

  std::int64_t monotonicMilliseconds() override {
    return static_cast<std::int64_t>(GetTickCount64());
  }

  MsgAnswer messageBox(const MessageBoxRequest& request) override;
  bool anotherInstanceRunning() override;
  bool registerForRestart() override;
  std::string programFolder() override;
  std::string exeName() override;
  void openHelp(WindowId owner) override;
  [[noreturn]] void exitNow() override;

 private:
  bool instanceAsked_ = false;
  bool anotherInstance_ = false;
  OwnedHandle instanceMutex_;  // held for the life of the process
  OwnedIcon trayIcon_;         // shown in the notification area
  Win32Covers covers_;
  ShellAsker shell_;
  HeldWindowsWatcher heldWatcher_;
  Win32WindowEvents windowEvents_;
};

}  // namespace folvane
