// The end-to-end driver: plays the user against the real Folvane.exe. Each test copies the
// program into a fresh folder (so its INI files are its own), starts it, finds its windows by
// caption, types, clicks, answers message boxes, puts folder windows in front and checks files
// and registry values. Every wait is bounded, and a started program never outlives its test.
//
// Texts are UTF-8 here; the driver speaks UTF-16 to the windows. Bytes written to or read from
// the program's files are passed through unchanged (use toAnsi/fromAnsi for code page 932).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace folvane::e2e {

using Duration = std::chrono::milliseconds;

// How long a wait lasts unless the caller says otherwise.
inline constexpr Duration kWait{10000};

// The captions by which the user tells the program's windows apart.
inline const std::string kMainCaption = "Kelmora";
inline const std::string kLoginCaption = "Kelmora-パスワード入力";
inline const std::string kSettingsCaption = "Kelmora-設定";
inline const std::string kAppTitle = "Folvane";       // caption of the program's message boxes
inline const std::string kMismatchCaption = "ﾛｸﾞｵﾝ";  // the password dialog's own message

// The questions of the password dialog.
inline const std::string kAskUser = "ユーザパスワードを入力して下さい。";
inline const std::string kAskLock = "ロック用パスワードを入力して下さい。";

// The stored form of a password of single-byte characters: each character's code plus 19, in
// three digits ("abc" is 116117118).
std::string passwordCode(const std::string& password);
// A settings file that holds the user password "abc".
inline const std::string kSettingsWithAbc = "[PasswordSetData]\r\nPassData=116117118\r\n";

// A window of any process; 0 is no window.
using Window = std::uintptr_t;
using ProcessId = unsigned long;

// The buttons of a message box, by their dialog ids.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// ---- Waiting ---------------------------------------------------------------------------------
// Lets the windows of the driver (the folder windows it made) handle their messages for `time`:
// the program disables, enables and closes them from its own process, and those calls wait for
// the driver's thread to answer.
void pump(Duration time);
// Polls `done` every few milliseconds, pumping meanwhile, until it holds or `timeout` passes.
bool waitUntil(const std::function<bool()>& done, Duration timeout = kWait);

// ---- Windows ---------------------------------------------------------------------------------
// Top-level windows of one process (every process when pid is 0), in z order.
std::vector<Window> topLevelWindows(ProcessId pid = 0, bool visibleOnly = true);
// The first top-level window whose caption is exactly `caption`.
Window findWindow(const std::string& caption, ProcessId pid = 0, bool visibleOnly = true);
Window waitForWindow(const std::string& caption, ProcessId pid = 0, Duration timeout = kWait);
// Waits until `window` is destroyed (true) or the timeout passes (false).
bool waitForGone(Window window, Duration timeout = kWait);

std::string windowText(Window window);
std::string className(Window window);
bool exists(Window window);
bool isVisible(Window window);
bool isEnabled(Window window);
ProcessId processOf(Window window);
Window foregroundWindow();
// The colour (0x00BBGGRR) of the screen pixel at the centre of `window`, as it is shown now;
// nullopt when the screen cannot be read. Only what is on top at that point is seen.
std::optional<std::uint32_t> colorAtCenter(Window window);

// A rectangle of the screen in pixels: left and top lie inside it, right and bottom just outside.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const Box& other) const { return !(*this == other); }
};
// How a failed check shows a rectangle.
inline std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << "(" << box.left << ", " << box.top << ") - (" << box.right << ", " << box.bottom
             << ")";
}
struct Point {
  int x = 0, y = 0;
};
// The window's rectangle on the screen (frame and caption included); nullopt when it is gone.
std::optional<Box> windowBox(Window window);
// Its client area on the screen.
std::optional<Box> clientBox(Window window);
// Its centre and a point just inside each of its four corners.
std::vector<Point> centreAndCorners(const Box& box);
// The window a person sees at `point`: the first visible top-level window in z order whose
// rectangle holds it (WindowFromPoint would pass over a disabled window), or 0.
Window windowSeenAt(Point point);
// The size of the primary screen.
Box screenBox();
// The colour (0x00BBGGRR) of the screen pixel at `point` as it is shown now; nullopt when the
// screen cannot be read.
std::optional<std::uint32_t> colorAt(Point point);

// Child controls of `parent` of the given window class ("" for any), in z order, which is the
// order the program created them in.
std::vector<Window> children(Window parent, const std::string& className = "");
// The child control whose text is exactly `text`, or 0.
Window childByText(Window parent, const std::string& text);

// ---- Acting as the user ----------------------------------------------------------------------
// Replaces the text of an edit box by typing it character by character.
void type(Window edit, const std::string& text);
// Presses a button as a click does: its parent gets BN_CLICKED.
void click(Window button);
// Clicks the child button of `parent` captioned `caption`; false when there is none.
bool clickButton(Window parent, const std::string& caption);
// Types into the two password boxes of the password dialog and presses OK (or ｷｬﾝｾﾙ).
void enterPassword(Window dialog, const std::string& first, const std::string& second);
void enterPassword(Window dialog, const std::string& password);
void cancelPassword(Window dialog);
// The message text of a message box, and a press on one of its buttons.
std::string messageText(Window box);
void answer(Window box, Answer button);
// Brings a window of any process to the front, as a click on it does.
void bringToFront(Window window);
// Asks a window to close, as its close box does (WM_CLOSE, posted).
void postClose(Window window);
// What the notification-area icon sends to the main window for a mouse message such as
// 513 (left button down) or 516 (right button down).
void postTrayMouse(Window main, int mouseMessage);
// The session's end: WM_QUERYENDSESSION (its answer, nullopt when the window did not answer in
// time), then WM_ENDSESSION.
std::optional<bool> queryEndSession(Window window);
void endSession(Window window, bool ending = true);
// The screen locked or unlocked (WM_WTSSESSION_CHANGE): Wine has no lock screen that sends it.
void sessionLocked(Window window, bool locked);
// The machine going to sleep and waking again (WM_POWERBROADCAST, PBT_APMSUSPEND, then
// PBT_APMRESUMEAUTOMATIC and PBT_APMRESUMESUSPEND, as a wake by the user brings them).
void sleepAndWake(Window window);
// The rows of a list box, top to bottom, and a double-click on row `index` (a visible one), as
// the mouse makes it.
std::vector<std::string> listRows(Window list);
void doubleClickRow(Window list, int index);
// A check box's state, and a click on it when it is not in the state asked for; false when the
// box did not come to that state.
bool isChecked(Window checkBox);
bool setChecked(Window checkBox, bool checked);
// A key pressed and released while `window` has the keyboard, e.g. VK_UP (0x26).
void pressKey(Window window, int virtualKey);
// Opens a menu item by its access keys, e.g. 'F' then 'X' for ﾌｧｲﾙ(&F) › 終了(&X).
// Menus of another process cannot be read, so they are worked from the keyboard.
bool chooseMenu(Window window, char menuKey, char itemKey);

// ---- Another program's messages --------------------------------------------------------------
// A message another program sends or posts to `window`, with whatever it likes in its parameters.
// sendMessage: false when the window did not answer in time (or has gone).
bool sendMessage(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
bool postMessage(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
// WM_NCCREATE sent to a window that exists, as if it were being made with `createParams` as its
// creation data: the system carries the structure over to the window's process.
bool sendCreation(Window window, std::uintptr_t createParams);

// ---- Folder windows --------------------------------------------------------------------------
// A window of the driver's own with a chosen class ("CabinetWClass" for a file-manager folder
// window) and title. It closes like a real one when asked to (WM_CLOSE).
//
// Windows tells the programs that hook its window events when a window comes to the front or
// changes its title; Wine raises neither event by itself. A folder window told to raise them
// (raiseEvents) does so itself, with NotifyWinEvent, as it comes forward and as its title
// changes; one that raises none shows what a program learns without them.
class FolderWindow {
 public:
  explicit FolderWindow(const std::string& title, const std::string& className = "CabinetWClass");
  ~FolderWindow();
  FolderWindow(const FolderWindow&) = delete;
  FolderWindow& operator=(const FolderWindow&) = delete;

  Window id() const { return window_; }
  void raiseEvents(bool raise) { raisesEvents_ = raise; }
  // Changes the title, as the file manager does for another folder or another tab.
  void setTitle(const std::string& title);
  bool closed() const { return !exists(window_); }
  // Brings the window to the front, as a click on it does.
  void bringForward();
  // Puts the window on top of all others without activating it, which is all that bringing a
  // disabled window forward can do.
  void raise();
  // Moves and sizes the window, as a drag of its caption or its frame does.
  void place(const Box& box);
  // Paints its client area in `color` (0x00BBGGRR) from now on, so that it can be told apart on
  // the screen.
  void fill(std::uint32_t color);
  void minimize();
  void restore();

 private:
  // Raises the system's event about the window itself, when it raises events.
  void announce(unsigned long event) const;

  Window window_ = 0;
  bool raisesEvents_ = false;
};

// ---- Other programs --------------------------------------------------------------------------
// Another program that keeps opening a file, as virus scanners, indexers and backup tools do: on
// a thread of its own it holds the file open for `held`, lets it go for `free`, and again, until
// it goes away. It shares reads only, as most do, or nothing at all, as a backup may.
class FileHolder {
 public:
  enum class Sharing { Reads, Nothing };
  FileHolder(const std::string& path, Duration held, Duration free,
             Sharing sharing = Sharing::Reads);
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  // How many times it has had the file open so far.
  int holds() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// ---- Text ------------------------------------------------------------------------------------
std::string toAnsi(const std::string& utf8);    // UTF-8 to code page 932
std::string fromAnsi(const std::string& ansi);  // code page 932 to UTF-8

// The value of `key` in `section` of an INI file's bytes (names compared without regard to
// case, blanks around the key and value dropped); nullopt when the key is not in that section.
std::optional<std::string> iniValue(const std::string& bytes, const std::string& section,
                                    const std::string& key);

// ---- Registry (the current user's) -----------------------------------------------------------
std::optional<std::string> readRegistryString(const std::string& subKey, const std::string& name);
void writeRegistryString(const std::string& subKey, const std::string& name,
                         const std::string& data);
void deleteRegistryValue(const std::string& subKey, const std::string& name);
std::optional<unsigned long> readRegistryDword(const std::string& subKey, const std::string& name);
void writeRegistryDword(const std::string& subKey, const std::string& name, unsigned long data);
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// ---- The program -----------------------------------------------------------------------------
// One started program. It is killed when this goes away, unless it has ended already.
class Process {
 public:
  // Takes over `process`, a handle of the started program.
  Process(void* process, ProcessId pid);
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&&) = delete;
  Process(const Process&) = delete;

  ProcessId pid() const { return pid_; }
  bool running() const;
  // Processor time the program has used so far, user and kernel together.
  std::chrono::microseconds cpuTime() const;
  // The program's resident memory (its working set) now, in bytes; 0 when it cannot be read.
  std::size_t residentBytes() const;
  // Tells `window` of the program what the system tells a window that has moved to a monitor of
  // density `dpi`: WM_DPICHANGED, with `suggested` as its new rectangle. The message carries the
  // rectangle's address, so the rectangle is written into the program's memory first. False when
  // that fails or the window does not answer.
  bool sendDpiChanged(Window window, int dpi, const Box& suggested) const;
  // The exit code once the program has ended, nullopt when it is still running after `timeout`.
  std::optional<unsigned long> waitExit(Duration timeout = kWait);
  void kill();
  // The processes the program started and those they started in turn, while each one's parent
  // still runs (a process whose parent has ended belongs to no tree).
  std::vector<ProcessId> descendants() const;
  // Kills the program together with its descendants, as the task manager ends an application
  // with what it started.
  void killTree();

  // The program's windows by caption; the main window is found even while it is hidden.
  Window waitForWindow(const std::string& caption, Duration timeout = kWait) const;
  Window findWindow(const std::string& caption, bool visibleOnly = true) const;
  Window mainWindow(Duration timeout = kWait) const;

 private:
  struct Handle;  // the process handle, closed when it goes
  void* handle() const;

  std::unique_ptr<Handle> process_;  // null once moved from
  ProcessId pid_;
};

// Starts a program with its own folder as the working folder.
Process startProgram(const std::string& exePath, const std::string& arguments = "");
// A path named by an environment variable, as a Windows path ("" when the variable is not set).
std::string environmentPath(const std::string& name);

// A private copy of the program: a fresh folder with Folvane.exe (and its help page), removed
// again at the end. The program is taken from FOLVANE_EXE, else from beside the driver.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::string& folder() const { return folder_; }
  std::string path(const std::string& fileName) const;
  void writeFile(const std::string& fileName, const std::string& bytes) const;
  std::optional<std::string> readFile(const std::string& fileName) const;

  Process start() const;

 private:
  std::string folder_;
  std::string exe_;
};

}  // namespace folvane::e2e
