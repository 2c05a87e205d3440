// Plays the scenes of the user guide's pictures with the real Folvane.exe and holds each one
// still until its picture is taken. Run by scripts/screenshots.sh inside a Wine desktop:
//
//   folvane_shots.exe FOLDER
//
// For each scene it writes FOLDER\NAME.rect ("left top width height zoom": the screen box of the
// scene's windows, and the picture's size in percent) and waits for FOLDER\NAME.done, which the
// script writes once the picture is taken. At the end it writes FOLDER\finished, or
// FOLDER\error.txt when a scene went wrong.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace folvane::e2e {
namespace {

using namespace std::chrono_literals;

// Short paths, so the main window's one-line box shows them whole.
const std::string kAccounts = "C:\\共有\\経理";
const std::string kSales = "C:\\共有\\営業";
const std::string kUserPassword = "abc";
const std::string kLockPassword = "1234";

std::string folder;  // where the scene files go

HWND hwnd(Window window) {
  return reinterpret_cast<HWND>(window);
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void writeText(const std::string& path, const std::string& text) {
  // Written aside and renamed, so the script never reads half a line.
  std::string part = path + ".part";
  FILE* file = std::fopen(part.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + part);
  std::fputs(text.c_str(), file);
  std::fclose(file);
  if (!MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    throw std::runtime_error("cannot write " + path);
  }
}

// The screen box around `windows`.
RECT around(const std::vector<Window>& windows) {
  RECT box = {};
  for (Window window : windows) {
    RECT rect;
    if (!GetWindowRect(hwnd(window), &rect)) throw std::runtime_error("a window is gone");
    if (IsRectEmpty(&box))
      box = rect;
    else
      UnionRect(&box, &box, &rect);
  }
  return box;
}

// Holds the scene until the picture of `box` is taken, once the windows have painted; `zoom` is
// the picture's size in percent of the screen's.
void shootBox(const std::string& name, const RECT& box, int zoom = 100) {
  pump(600ms);
  const std::string line = std::to_string(box.left) + " " + std::to_string(box.top) + " " +
                           std::to_string(box.right - box.left) + " " +
                           std::to_string(box.bottom - box.top) + " " + std::to_string(zoom);
  writeText(folder + "\\" + name + ".rect", line + "\n");
  if (!waitUntil([&] { return fileExists(folder + "\\" + name + ".done"); }, 60s)) {
    throw std::runtime_error(name + ": no picture was taken");
  }
}

void shoot(const std::string& name, const std::vector<Window>& windows) {
  shootBox(name, around(windows));
}

Window need(Window window, const std::string& what) {
  if (!window) throw std::runtime_error("no " + what);
  return window;
}

void typeBoth(Window dialog, const std::string& password) {
  std::vector<Window> boxes = children(dialog, "Edit");
  if (boxes.size() < 2) throw std::runtime_error("the password dialog has no two boxes");
  type(boxes[0], password);
  type(boxes[1], password);
}

// The first top-level window of `windowClass`, of one process or of any.
Window windowOfClass(const std::string& windowClass, ProcessId pid = 0) {
  for (Window window : topLevelWindows(pid)) {
    if (className(window) == windowClass) return window;
  }
  return 0;
}

// Waits until the main window's box shows the folder window of `title`.
bool showsFolder(Window main, const std::string& title) {
  std::vector<Window> boxes = children(main, "Edit");
  if (boxes.empty()) throw std::runtime_error("the main window has no text box");
  const std::string wanted = "CabinetWClass (" + title + ")";
  return waitUntil([&] { return windowText(boxes[0]) == wanted; }, 2s);
}

Window waitUntilStarted(const Process& program) {
  Window main = need(program.mainWindow(), "main window");
  // The splash closes 2.5 s after the start; then the program sits hidden in the tray.
  if (!waitUntil([&] { return topLevelWindows(program.pid()).empty(); })) {
    throw std::runtime_error("the program did not settle after its start");
  }
  return main;
}

// First start: the splash, the user password, its confirmation, then the tray.
void firstStart() {
  Sandbox sandbox;
  Process program = sandbox.start();

  Window splash = 0;
  waitUntil([&] {
    for (Window window : topLevelWindows(program.pid())) {
      if (windowText(window).empty() && className(window) != "#32768") splash = window;
    }
    return splash != 0;
  });
  shoot("splash", {need(splash, "splash")});

  Window login = need(program.waitForWindow(kLoginCaption), "password dialog");
  typeBoth(login, kUserPassword);
  shoot("first-start-password", {login});
  clickButton(login, "OK");
  Window question = need(program.waitForWindow(kAppTitle), "confirmation");
  shoot("first-start-confirm", {question});
  answer(question, Answer::Yes);
  waitUntilStarted(program);

  // The notification area, at the right end of the task bar.
  RECT tray = around({need(windowOfClass("Shell_TrayWnd"), "task bar")});
  tray.left = tray.right - 120;
  shootBox("tray", tray, 200);
}

// The program at work: two folders protected, a third one added, the settings, a challenge.
void atWork() {
  Sandbox sandbox;
  sandbox.writeFile("Folvane.ini",
                    "[PasswordSetData]\r\nPassData=" + passwordCode(kUserPassword) + "\r\n");
  sandbox.writeFile(
      "PassDat.ini",
      toAnsi("[PasswordSetData]\r\n経理=" + passwordCode(kLockPassword) +
             "\r\n人事=" + passwordCode("5678") + "\r\n[PasswordNumber]\r\nPassCount=2\r\n"));
  Process program = sandbox.start();
  Window main = waitUntilStarted(program);

  {
    // The folder to add comes to the front first, so the main window shows it.
    FolderWindow sales(kSales);
    sales.bringForward();
    if (!showsFolder(main, kSales)) throw std::runtime_error("the folder window went unseen");
    postTrayMouse(main, 516);
    if (!waitUntil([&] { return isVisible(main); })) throw std::runtime_error("main window hidden");
    shoot("main-window", {main});

    // 編集 › ﾊﾟｽﾜｰﾄﾞ追加(&P)..., with the menu open for the picture.
    PostMessageW(hwnd(main), WM_SYSCOMMAND, SC_KEYMENU, L'e');
    Window menu = 0;
    waitUntil([&] { return (menu = windowOfClass("#32768", program.pid())) != 0; });
    shoot("menu-edit", {main, need(menu, "edit menu")});
    PostMessageW(hwnd(main), WM_CHAR, L'p', 1);
    Window login = need(program.waitForWindow(kLoginCaption), "lock password dialog");
    typeBoth(login, "9999");
    shoot("add-folder", {login});
    clickButton(login, "OK");
    waitForGone(login);
  }

  if (!chooseMenu(main, 'S', 'V')) throw std::runtime_error("no settings menu");
  Window settings = need(program.waitForWindow(kSettingsCaption), "settings dialog");
  shoot("settings", {settings});
  clickButton(settings, "キャンセル");
  waitForGone(settings);

  // A protected folder comes to the front: the program challenges it. Now and then Wine has no
  // window in front for a moment while windows change hands, and the sampler writes that into
  // the main window's box; or the folder window's own activation comes after the dialog's, and
  // the dialog is drawn inactive. Such a take is answered and played again.
  postTrayMouse(main, 516);
  waitUntil([&] { return !isVisible(main); });
  constexpr int kTakes = 6;
  for (int take = 1;; ++take) {
    FolderWindow accounts(kAccounts);
    // Beside the main window, under the dialog: one picture shows all three, the folder window
    // under its cover.
    SetWindowPos(hwnd(accounts.id()), nullptr, 330, 40, 460, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    accounts.bringForward();
    Window lock = need(program.waitForWindow(kLoginCaption), "lock challenge");
    typeBoth(lock, kLockPassword);
    const bool shown =
        showsFolder(main, kAccounts) && waitUntil([&] { return foregroundWindow() == lock; }, 1s);
    if (shown || take == kTakes) shoot("lock-challenge", {accounts.id(), main, lock});
    clickButton(lock, "OK");
    waitForGone(lock);
    waitUntil([&] { return !isVisible(main); });
    if (shown || take == kTakes) break;
  }
}

}  // namespace
}  // namespace folvane::e2e

int main(int argc, char** argv) {
  using namespace folvane::e2e;
  if (argc < 2) return 2;
  folder = argv[1];
  try {
    firstStart();
    atWork();
    writeText(folder + "\\finished", "\n");
    return 0;
  } catch (const std::exception& error) {
    writeText(folder + "\\error.txt", std::string(error.what()) + "\n");
    return 1;
  }
}
