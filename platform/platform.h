// The platform seam: every operating-system service the program uses, and nothing more.
// The core talks only to this interface; platform/win32 implements it with the real API and
// platform/fake with a small deterministic world for tests. Win32 failures arrive here as plain
// results (false, 0, std::nullopt); no exception crosses the seam except the fake's exit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane {

// An opaque window identity; 0 means "no window". Only platform/win32 knows it is an HWND.
using WindowId = std::uintptr_t;

// Predefined registry roots, by their Win32 values, so a root can travel as a 32-bit number.
enum class RegRoot : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

// What reading a file found: its whole content, or why there is none. A file that is missing
// and one that is there but cannot be read are different answers: a guard that read the second
// as the first would open every folder it should keep shut.
struct FileRead {
  enum class Status {
    Read,        // `bytes` holds the whole file
    Missing,     // nothing is at the path (nor is its folder)
    Unreadable,  // something is there that could not be read: held by another program for
                 // longer than the program waits, access denied, or a folder in its place
  };
  Status status = Status::Missing;
  std::string bytes;  // empty unless Read

  bool read() const { return status == Status::Read; }
  bool missing() const { return status == Status::Missing; }
  bool unreadable() const { return status == Status::Unreadable; }
};

// How long a read may wait for a file that another program holds open.
enum class FileWait {
  AboutASecond,  // tried again for about a second (BusyRetry): for a decision that needs the file
  NotAtAll,      // one attempt: for asking again and again without holding the program up
};

// A click on the notification-area icon, as the program takes it: the press of the button.
enum class TrayClick { Left, Right };

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

// What the Shell says of a folder window of the file manager: the folder its browser shows and,
// where several browsers share the window as tabs, which of them is the active one.
struct ShellFolder {
  std::string displayName;  // UTF-8: the folder's name as the Shell shows it (SHGDN_NORMAL)
  std::string path;         // UTF-8: its full path for a folder of the file system, else ""
  WindowId tab = 0;         // the active tab's own window (ShellTabWindowClass); 0: no tabs seen
  int tabs = 1;             // how many browsers share the window: 1 for a window of one tab

  bool operator==(const ShellFolder& other) const {
    return displayName == other.displayName && path == other.path && tab == other.tab &&
           tabs == other.tabs;
  }
  bool operator!=(const ShellFolder& other) const { return !(*this == other); }
};

// One window inside another, as childWindows finds it.
struct ChildWindow {
  WindowId window = 0;
  std::string className;  // UTF-8
  int controlId = 0;      // GetDlgCtrlID: the id its dialog knows it by, 0 for none
};

// Every operation is called on the program's one UI thread, the thread that runs the toolkit's
// message loop; none is safe from another thread. Unless said otherwise an operation returns at
// once, and one given a window that does not exist (or 0) does nothing and reports failure.
class Platform {
 public:
  virtual ~Platform() = default;

  // ---- Windows of any process -------------------------------------------------------------
  // The window the user works in, of whatever process; 0 when none is (the desktop has it).
  virtual WindowId foregroundWindow() = 0;
  // GetClassNameA / GetWindowTextA: the window's class name and title in the ANSI code page,
  // cut to the whole characters that fit in maxCount - 1 bytes and always terminated; "" for a
  // window that has gone or 0; nothing is written when maxCount <= 0. The title of another
  // program's window is read without waiting on that program, so a program that hangs does not hold
  // this one up.
  virtual void className(WindowId window, char* buffer, int maxCount) = 0;
  virtual void windowText(WindowId window, char* buffer, int maxCount) = 0;
  // The whole title of the window, however long, in UTF-8; "" for a window that has gone or 0.
  // Read without waiting on the window's program, like windowText.
  virtual std::string windowTitle(WindowId window) = 0;
  virtual bool windowExists(WindowId window) = 0;  // false for 0
  // Whether the window belongs to this program's own process: its windows, dialogs and message
  // boxes, whatever their titles; any other program may title a window as this one does. False
  // for 0 and for a window that has gone.
  virtual bool isOwnWindow(WindowId window) = 0;
  // Enables or disables any program's window. A disabled window takes no mouse or keyboard
  // input until it is enabled again.
  virtual void enableWindow(WindowId window, bool enable) = 0;
  virtual bool isWindowEnabled(WindowId window) = 0;  // false for a window that has gone
  // Posts WM_CLOSE and returns without waiting; the window's program may close it later or not
  // at all.
  virtual void postClose(WindowId window) = 0;
  // Brings the window to the front and gives it the keyboard, even while another program has
  // the foreground: for the moment of the call the program joins the input of the window in
  // front, as that program's own windows may hand the foreground on. Reports nothing; the
  // system may still refuse.
  virtual void setForegroundWindow(WindowId window) = 0;
  // Activates a window of this program's thread; a window of another thread is left alone.
  virtual void setActiveWindow(WindowId window) = 0;

  // ---- Events of the window in front -----------------------------------------------------------
  // Starts (on) or stops telling `owner`, a window of the program, the moment the window in front
  // changes: another program's window comes to the front or is restored, or the window in front
  // changes its title. Each such moment comes to `owner` as Form::onWindowEvent, from the message
  // loop (a modal one too), never from inside another event procedure; events that come while one
  // is still waiting to be delivered make no second one. Events about the program's own windows,
  // about windows not in front and about parts of a window are not delivered at all. False when
  // the system refused to start them: the program then learns of the window in front only when
  // it looks. Starting again moves them to the new owner; stopping when they are off does nothing.
  virtual bool watchWindowEvents(WindowId owner, bool on) = 0;

  // ---- Covers over windows the program holds shut ---------------------------------------------
  // A cover is an opaque window of this program over another program's window: exactly that
  // window's rectangle, just above it in z order, with no caption, no task-bar button, never
  // active, showing a padlock and a text centred on the system's window colour. It hides what
  // the window shows, and never the program's own windows, which stay above it. It does not
  // follow the window by itself.
  //
  // Lays a cover over `window` at once, showing `text` (UTF-8); a window that has a cover keeps
  // it and gets the new text. Does nothing for a window that does not exist or is one of this
  // program's own. Takes neither activation nor focus from anyone.
  virtual void cover(WindowId window, const std::string& text) = 0;
  // Brings the cover of `window` back over it: to its rectangle after a move or a resize, just
  // above it after it came forward (the program's own windows it overlaps go back above it);
  // hidden while the window is minimised or hidden, shown again when it is restored. Does nothing
  // for a window without a cover, or one that no longer exists (its cover stays until it is
  // removed). Windows of other programs that go back over the cover are asked without waiting.
  virtual void followCover(WindowId window) = 0;
  // Removes the cover of `window`; does nothing when it has none. Every cover left goes with
  // the platform.
  virtual void uncover(WindowId window) = 0;

  // ---- What the Shell says of the file manager's folder windows -------------------------------
  // The forms in which the file manager of this system adds its own name and its tabs to a folder
  // window's title, as the system keeps them (string 2195 and the string table 2195 of
  // explorerframe.dll, read as a data file): format strings such as "%1!s! - File Explorer", UTF-8,
  // among which other strings may be. Empty where the system
  // has none. Reads the file at every call.
  virtual std::vector<std::string> explorerTitleForms() = 0;
  // Which folder the folder window shows, as the Shell's list of its windows (IShellWindows)
  // says: the browser whose window it is and, where several share it as tabs, the one of the
  // active tab. std::nullopt when the Shell does not know the window, answers with an error, or
  // does not answer within about 50 ms: the Shell is asked on a thread of its own, and a hung
  // Shell (or file manager) is given up, never waited for. While an earlier question is still
  // unanswered, nothing is asked and std::nullopt comes at once.
  virtual std::optional<ShellFolder> folderShownBy(WindowId window) = 0;
  // Takes the tab `tab` of the folder window out of the folder it shows, to the folder above it
  // (IShellBrowser::BrowseObject, SBSP_PARENT; where the browser refuses that, its
  // IWebBrowser2::Navigate2 to the folder above), leaving the window's other tabs as they are.
  // True when the browser took the request; the tab then shows the other folder a moment later.
  // False when the Shell does not know the tab, refuses (there is no folder above), or does not
  // answer within about 100 ms; as folderShownBy, it never waits longer.
  virtual bool leaveFolder(WindowId window, WindowId tab) = 0;

  // ---- Another program's dialogs, read from outside ---------------------------------------
  // What it takes to tell which folder another program's Open or Save dialog shows, without
  // putting anything into that program. None of these waits on the window's program longer than
  // said; a window that has gone (or 0) gives "", 0 or std::nullopt.
  //
  // The windows whose parent is `parent`, not those further inside, in z order, with their
  // classes and control ids. Asks nothing of their program.
  virtual std::vector<ChildWindow> childWindows(WindowId parent) = 0;
  // The top-level window that `window` lies in (itself for a top-level window), so that a
  // control can be told to belong to the window in front. Asks nothing of its program.
  virtual WindowId rootWindowOf(WindowId window) = 0;
  // The window that has the keyboard focus in the thread of `window`, of any program
  // (GetGUIThreadInfo); 0 when none has. Asks nothing of its program.
  virtual WindowId focusedWindowOf(WindowId window) = 0;
  // The text a control holds (WM_GETTEXT), UTF-8: for an edit box what is typed in it, which its
  // title as windowTitle reads it does not follow. Waits for the control's program at most about
  // 50 ms; std::nullopt when it does not answer in that time.
  virtual std::optional<std::string> controlText(WindowId control) = 0;
  // The text of a combo box's current item (CB_GETCURSEL, CB_GETLBTEXT), UTF-8; std::nullopt when
  // no item is current or its program does not answer within about 50 ms, as controlText.
  virtual std::optional<std::string> comboBoxItem(WindowId comboBox) = 0;
  // Posts the dialog its Cancel, as its own Cancel button does (WM_COMMAND, IDCANCEL), and returns
  // without waiting: the program that opened the dialog goes on as after a cancel by the user.
  virtual void postCancel(WindowId dialog) = 0;

  // ---- A watcher over the windows the program holds ----------------------------------------
  // The windows the program holds disabled now. While the list is not empty, a watcher beside
  // the program (the same program started on its own, with no window) keeps it, and should the
  // program end without giving them back (ended from the task manager, say), enables them. An
  // empty list ends the watcher, so that nothing runs beside an idle program. Returns at once;
  // starting the watcher may take a moment.
  virtual void keepHeldWindows(const std::vector<WindowId>& held) = 0;

  // ---- Notification-area icon of the main window --------------------------------------------
  // Adds or removes the icon of `owner` (the small icon of its caption). tipAnsi is the tip in
  // the ANSI code page; at most 63 bytes are used, never half a character. Clicks on the icon
  // come to `owner` as Form::onTrayClick.
  // Waits for the shell's answer; false when it refused (no task bar yet, say, or an icon to
  // remove that is not there).
  virtual bool trayAdd(WindowId owner, const std::string& tipAnsi) = 0;
  virtual bool trayDelete(WindowId owner) = 0;

  // ---- Files (paths are UTF-8) ----------------------------------------------------------------
  // The whole content of the file, or whether it is missing or unreadable (FileRead). A file
  // that another program holds open is tried again for about a second with FileWait::AboutASecond
  // (BusyRetry), so such a read may block for that long; with FileWait::NotAtAll it is tried once.
  // An old file that a crash left only under its backup name ("<file>.old.tmp") is first put
  // back in its place.
  virtual FileRead readFile(const std::string& path, FileWait wait) = 0;
  // Replaces the file with these bytes atomically (temporary file "<file>.tmp" beside it, then
  // put in its place keeping the old file's attributes and permissions): either the new content
  // is in place or the old one is untouched. Whatever a crash left under the temporary names is
  // removed. False on any failure, and at once for a read-only file, which someone made so to
  // keep it as it is.
  virtual bool replaceFile(const std::string& path, const std::string& bytes) = 0;

  // ---- Registry values (key paths, names and data in the ANSI code page) ----------------------
  // Each call opens the key, does its one thing and closes it again; no key stays open.
  // The value `name` of root\subKey as RegQueryValueExA copies it into a buffer of bufferSize
  // bytes; nullopt when the key or the value is missing, access is denied, or it does not fit.
  // A string stored without a terminating NUL comes back with one, which must fit as well.
  virtual std::optional<std::string> regReadValue(RegRoot root, const std::string& subKey,
                                                  const std::string& name, int bufferSize) = 0;
  // Stores REG_SZ data with exactly these bytes (no terminating NUL is counted), creating the key
  // (and the keys above it) when missing. False when the system refuses.
  virtual bool regWriteString(RegRoot root, const std::string& subKey, const std::string& name,
                              const std::string& data) = 0;
  // False when the key or the value is missing or cannot be deleted.
  virtual bool regDeleteValue(RegRoot root, const std::string& subKey, const std::string& name) = 0;

  // ---- Text: the core speaks UTF-8, the data files and window texts the ANSI code page -------
  // A character the code page cannot hold becomes '?'. Never fails.
  virtual std::string toAnsi(std::string_view utf8) = 0;
  virtual std::string fromAnsi(std::string_view ansi) = 0;  // an unfinished last character drops
  // Whether the byte starts a double-byte character of the ANSI code page.
  virtual bool isLeadByte(unsigned char byte) = 0;

  // ---- Time ------------------------------------------------------------------------------------
  // Milliseconds since a fixed moment (the system's start): never going back, and not moved when
  // the user or the network changes the date and time.
  virtual std::int64_t monotonicMilliseconds() = 0;

  // ---- The program itself ----------------------------------------------------------------------
  // Shows a message box and blocks until the user answers it. Meanwhile its own message loop
  // runs: the program's timers tick and may show further windows. The box has no owner and is
  // task-modal, so the program's windows take no input while it shows, and it comes up in front
  // of whatever the user is doing; when it goes, the window of the program that was active
  // before gets activation back.
  virtual MsgAnswer messageBox(const MessageBoxRequest& request) = 0;
  // Whether another copy of the program runs. The first call takes the program's named mutex
  // and holds it for the life of the process; later calls give the first answer again.
  virtual bool anotherInstanceRunning() = 0;
  // Asks the system to start the program again, as an ordinary start with no arguments, after an
  // installer has had it closed to replace files in use (the Restart Manager: WM_QUERYENDSESSION
  // and WM_ENDSESSION with ENDSESSION_CLOSEAPP). Not after a crash or a hang, which a new start
  // might only repeat, nor when the system restarts for an update, where starting with Windows is
  // the user's choice. Holds for the life of the process; false when the system refuses.
  virtual bool registerForRestart() = 0;
  virtual std::string programFolder() = 0;  // UTF-8, without a trailing separator unless a root
  virtual std::string exeName() = 0;        // file name of the executable without its extension
  // Opens the program's help page (folvane.html beside the executable) in the user's browser
  // and returns at once; the shell is asked on a thread of its own, so a slow browser never
  // holds up the program. A missing page is not an error: nothing happens.
  virtual void openHelp(WindowId owner) = 0;
  // Ends the process at once, without destructors: nothing is given back that the program has
  // not given back itself. The fake throws ProgramExit instead, so tests can observe it.
  [[noreturn]] virtual void exitNow() = 0;
};

}  // namespace folvane
