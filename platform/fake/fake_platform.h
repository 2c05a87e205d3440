// A deterministic stand-in for the operating system, for native tests: a small world of windows,
// an in-memory registry, real files in a temporary folder, code page 932 through iconv, and
// scripted answers for message boxes. Failure switches let a test break what the real system can.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/window_events.h"

namespace folvane {

// Thrown by FakePlatform::exitNow in place of ending the process.
struct ProgramExit : std::runtime_error {
  ProgramExit() : std::runtime_error("the program ended") {}
};

class FakePlatform : public Platform {
 public:
  // Creates a fresh temporary program folder; it is removed again with the fake.
  FakePlatform();
  ~FakePlatform() override;

  // ---- The world of windows ------------------------------------------------------------------
  struct FakeWindow {
    std::string className;  // ANSI bytes
    std::string title;      // ANSI bytes
    // The title as the wide-character functions give it, when it was given in UTF-8: it holds
    // characters the code page has none for.
    std::optional<std::string> wideTitle;
    bool enabled = true;
    bool exists = true;
    int closeRequests = 0;  // WM_CLOSE posted to it
    bool own = false;       // one of the program's own windows, and what lies in it
    // ---- Windows inside others, and dialogs
    WindowId parent = 0;  // 0: a top-level window
    int controlId = 0;
    // What WM_GETTEXT gives, where it is not the title (an edit box's content).
    std::optional<std::string> content;
    std::optional<std::string> comboItem;  // a combo box's current item: none unless given
    bool hung = false;                     // its program answers no message in time
    int cancelRequests = 0;                // IDCANCEL posted to it
  };
  // Adds a window of another program (texts in UTF-8, converted like the real system stores
  // them), or one of the program's own.
  WindowId addWindow(const std::string& classNameUtf8, const std::string& titleUtf8);
  WindowId addOwnWindow(const std::string& classNameUtf8, const std::string& titleUtf8);
  // Adds a window inside `parent` (texts in UTF-8). It goes with its parent.
  WindowId addChild(WindowId parent, const std::string& classNameUtf8,
                    const std::string& titleUtf8 = "", int controlId = 0);
  void destroyWindow(WindowId window);
  void setTitle(WindowId window, const std::string& titleUtf8);
  FakeWindow& windowState(WindowId window);
  // Brings a window to the front as the user would (0: no foreground window).
  void bringToFront(WindowId window) { foreground_ = window; }
  std::vector<WindowId> setForegroundCalls;  // every SetForegroundWindow, in order
  std::vector<WindowId> setActiveCalls;
  // What happens to a posted WM_CLOSE: by default the window closes as it handles the request.
  bool windowsCloseOnRequest = true;
  // The window with the keyboard focus in its thread; every window is taken to be of one thread
  // with the others of its top-level window.
  WindowId focused = 0;
  int childReads = 0;  // childWindows calls

  // ---- Events of the window in front ----------------------------------------------------------
  WindowId windowEventsOwner = 0;    // where the events go while they are on; 0 while they are off
  bool windowEventsRefused = false;  // the system refuses to start them
  int windowEventsDelivered = 0;
  // Hands an event to the owner's form; the fake toolkit sets it.
  std::function<void(WindowId owner)> deliverWindowEvent;
  // The system raises an event about `window` (about a part of it, for another object or child).
  // It is delivered at once, as the message loop would deliver it, when the events are on and it
  // concerns the window in front of another program.
  void raiseWindowEvent(WindowId window, long object = kObjectWindow, long child = kChildSelf);

  // ---- The Shell -----------------------------------------------------------------------------
  // What the Shell says of a folder window (folderShownBy); a window missing here is one it does
  // not know, as every window is under Wine.
  std::map<WindowId, ShellFolder> shellFolders;
  bool shellTooLate = false;  // the Shell answers after the program stopped waiting: nothing
  int shellQuestions = 0;     // folderShownBy calls
  std::function<void(WindowId)> onShellQuestion;  // called as the Shell is asked, before it answers
  std::vector<std::string> titleForms;  // what explorerTitleForms gives: none, as under Wine
  // Every leaveFolder request (window, tab), in order, and what it does: by default the Shell
  // takes it for a window and tab it knows, and the tab goes to the folder above (the test says
  // which, with onLeaveFolder, and changes the window's title and Shell folder itself).
  std::vector<std::pair<WindowId, WindowId>> leaveRequests;
  std::function<bool(WindowId window, WindowId tab)> onLeaveFolder;

  // ---- Covers --------------------------------------------------------------------------------
  // The windows covered now, with the text each cover shows. A cover stays when its window is
  // destroyed, as a real one does, until the program removes it.
  std::map<WindowId, std::string> covers;
  std::function<void(WindowId)> onCover;  // called as a cover goes up, before it is recorded
  int coverFollows = 0;                   // followCover calls on a covered window

  // ---- The watcher ---------------------------------------------------------------------------
  std::vector<WindowId> keptHeld;  // the windows the watcher was last told of
  int watcherStarts = 0;           // times the list went from empty to not empty

  // ---- Tray --------------------------------------------------------------------------------
  bool trayRefuses = false;    // NIM_ADD answers 0
  int trayDeleteFailures = 0;  // the next n NIM_DELETE calls answer 0
  bool trayDeleteAlwaysFails = false;
  bool trayIconPresent = false;
  std::string trayTip;  // ANSI bytes of the registered tip
  int trayAddCalls = 0, trayDeleteCalls = 0;

  // ---- Files ---------------------------------------------------------------------------------
  std::string folder() const { return folder_; }
  std::string pathOf(const std::string& fileName) const { return folder_ + "/" + fileName; }
  bool writesFail = false;  // replaceFile answers false and changes nothing (full disk)
  int replaceFileCalls = 0;
  // replaceFile calls that fail, by their number in replaceFileCalls (a file locked for a moment
  // by another program)
  std::set<int> failingWrites;
  // A file held open by another program for a while: the next n attempts to put a new file in
  // place find it busy. replaceFile tries again as the real system does (BusyRetry); every pause
  // it takes is kept, in milliseconds.
  int busyAttempts = 0;
  std::vector<int> pauses;
  // readFile and replaceFile calls by the file's name ("PassDat.ini"), whatever they found.
  std::map<std::string, int> readsOf, replacesOf;
  bool readsFail = false;  // readFile answers Unreadable even for a file that is there
  // Files another program holds open sharing nothing, for longer than the program waits:
  // reading and replacing them find them busy and give up after the pauses of BusyRetry.
  std::set<std::string> heldFiles;
  // For a test's own look at a file: its bytes, or nullopt unless readFile would read it.
  std::optional<std::string> fileBytes(const std::string& path) {
    FileRead read = readFile(path, FileWait::NotAtAll);
    if (!read.read()) return std::nullopt;
    return std::move(read.bytes);
  }

  // ---- Registry ------------------------------------------------------------------------------
  // key path (root + "\\" + sub-key, as given) -> value name -> data bytes
  std::map<std::string, std::map<std::string, std::string>> registry;
  bool registryFails = false;  // every open or create fails

  // ---- Message boxes -------------------------------------------------------------------------
  std::vector<MessageBoxRequest> messages;  // every message box shown, in order
  // Plays the user at a message box; by default OK boxes answer Ok and Yes/No boxes Yes.
  std::function<MsgAnswer(const MessageBoxRequest&)> onMessageBox;

  // ---- Time ----------------------------------------------------------------------------------
  // The monotonic clock, in milliseconds; the fake toolkit's virtual clock moves it.
  std::int64_t clock = 0;

  // ---- The program ---------------------------------------------------------------------------
  bool otherInstance = false;
  int restartRegistrations = 0;  // registerForRestart calls
  int helpRequests = 0;
  WindowId lastHelpOwner = 0;
  bool exited = false;

  // Platform
  WindowId foregroundWindow() override { return foreground_; }
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
  std::vector<std::string> explorerTitleForms() override { return titleForms; }
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
  void keepHeldWindows(const std::vector<WindowId>& held) override {
    if (keptHeld.empty() && !held.empty()) ++watcherStarts;
    keptHeld = held;
  }
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
  std::int64_t monotonicMilliseconds() override { return clock; }
  MsgAnswer messageBox(const MessageBoxRequest& request) override;
  bool anotherInstanceRunning() override { return otherInstance; }
  bool registerForRestart() override {
    ++restartRegistrations;
    return true;
  }
  std::string programFolder() override { return folder_; }
  std::string exeName() override { return "Folvane"; }
  void openHelp(WindowId owner) override;
  [[noreturn]] void exitNow() override;

 private:
  static std::string rootName(RegRoot root);
  bool isHeld(const std::string& path) const;
  std::string folder_;
  WindowId foreground_ = 0;
  WindowId nextWindow_ = 0x100;
  std::map<WindowId, FakeWindow> windows_;
};

}  // namespace folvane
