// The platform seam: every operating-system service the program uses, and nothing more.
// The core talks only to this interface; platform/win32 implements it with the real API and
// platform/fake with a small deterministic world for tests. Win32 failures arrive here as plain
// results (false, 0, std::nullopt); no exception crosses the seam except the fake's exit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace folvane {

// An opaque window identity; 0 means "no window". Only platform/win32 knows it is an HWND.
using WindowId = std::uintptr_t;

// An opaque open registry key; 0 means "not open". Calls made with 0 fail quietly.
using RegKey = std::uint32_t;

// Predefined registry roots, by their Win32 values, so a root can travel as a 32-bit number.
enum class RegRoot : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

enum class RegAccess { QueryValue, SetValue };

enum class MsgIcon { None, Warning, Question, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

// One message box as the program asks for it; texts are UTF-8.
struct MessageBoxRequest {
  std::string text;
  std::string caption;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // ---- Windows of any process -------------------------------------------------------------
  virtual WindowId foregroundWindow() = 0;
  // GetClassNameA / GetWindowTextA: write at most maxCount - 1 narrow (ANSI) bytes and a NUL.
  virtual void className(WindowId window, char* buffer, int maxCount) = 0;
  virtual void windowText(WindowId window, char* buffer, int maxCount) = 0;
  virtual bool windowExists(WindowId window) = 0;
  virtual void enableWindow(WindowId window, bool enable) = 0;
  virtual bool isWindowEnabled(WindowId window) = 0;
  virtual void postClose(WindowId window) = 0;  // PostMessage WM_CLOSE, does not wait
  virtual void setForegroundWindow(WindowId window) = 0;
  virtual void setActiveWindow(WindowId window) = 0;

  // ---- Covers over windows the program holds shut ---------------------------------------------
  // A cover is an opaque window of this program over another program's window: exactly that
  // window's rectangle, just above it in z order, with no caption, no task-bar button, never
  // active, showing a padlock and a text centred on the system's window colour. It hides what
  // the window shows, and never the program's own windows, which stay above it. It does not
  // follow the window by itself.
  //
  // Lays a cover over `window` at once, showing `text` (UTF-8); a window that has a cover keeps
  // it and gets the new text. Does nothing for a window that does not exist or is one of this
  // program's own.
  virtual void cover(WindowId window, const std::string& text) = 0;
  // Brings the cover of `window` back over it: to its rectangle after a move or a resize, just
  // above it after it came forward (the program's own windows it overlaps go back above it);
  // hidden while the window is minimised or hidden, shown again when it is restored. Does nothing
  // for a window without a cover, or one that no longer exists (its cover stays until it is
  // removed).
  virtual void followCover(WindowId window) = 0;
  // Removes the cover of `window`; does nothing when it has none.
  virtual void uncover(WindowId window) = 0;

  // ---- Notification-area icon of the main window --------------------------------------------
  // tipAnsi is the tip in the ANSI code page (at most 63 bytes are used).
  virtual bool trayAdd(WindowId owner, const std::string& tipAnsi) = 0;
  virtual bool trayDelete(WindowId owner) = 0;

  // ---- Files (paths are UTF-8) ----------------------------------------------------------------
  // A file that another program holds open for a moment is tried again for about a second
  // (BusyRetry) before either of these gives up.
  // The whole content, or nullopt when the file does not exist or cannot be read.
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Whether anything exists at the path, readable or not.
  virtual bool fileExists(const std::string& path) = 0;
  // Replaces the file with these bytes atomically (temporary file beside it, then put in its
  // place keeping the old file's attributes and permissions): either the new content is in place
  // or the old one is untouched. False on any failure.
  virtual bool replaceFile(const std::string& path, const std::string& bytes) = 0;

  // ---- Registry (names and data in the ANSI code page) -----------------------------------------
  virtual RegKey regCreateKey(RegRoot root, const std::string& subKey) = 0;  // KEY_SET_VALUE
  virtual RegKey regOpenKey(RegRoot root, const std::string& subKey, RegAccess access) = 0;
  // REG_SZ with exactly these bytes (no terminating NUL is counted).
  virtual bool regSetString(RegKey key, const std::string& name, const std::string& data) = 0;
  // RegQueryValueExA into a buffer of bufferSize bytes; returns the bytes copied, or nullopt
  // when the value is missing or does not fit.
  virtual std::optional<std::string> regQueryValue(RegKey key, const std::string& name,
                                                   int bufferSize) = 0;
  virtual bool regDeleteValue(RegKey key, const std::string& name) = 0;
  virtual void regCloseKey(RegKey key) = 0;

  // ---- Text: the core speaks UTF-8, the data files and window texts the ANSI code page -------
  virtual std::string toAnsi(std::string_view utf8) = 0;
  virtual std::string fromAnsi(std::string_view ansi) = 0;  // an unfinished last character drops
  virtual bool isLeadByte(unsigned char byte) = 0;

  // ---- The program itself ----------------------------------------------------------------------
  virtual MsgAnswer messageBox(const MessageBoxRequest& request) = 0;
  virtual bool anotherInstanceRunning() = 0;
  virtual std::string programFolder() = 0;  // UTF-8, without a trailing separator unless a root
  virtual std::string exeName() = 0;        // file name of the executable without its extension
  // Opens the program's help over `owner` and returns at once; a missing page is not an error.
  virtual void openHelp(WindowId owner) = 0;
  // Ends the process at once. The fake throws ProgramExit instead, so tests can observe it.
  [[noreturn]] virtual void exitNow() = 0;
};

}  // namespace folvane
