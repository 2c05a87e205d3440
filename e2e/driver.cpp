#include "e2e/driver.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/win32/win32_handles.h"

namespace folvane::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// A window of another process that does not answer within this time counts as hung.
constexpr UINT kSendTimeoutMs = 2000;
constexpr Duration kPollStep{20};

HWND toHwnd(Window window) {
  return reinterpret_cast<HWND>(window);
}
Window toWindow(HWND window) {
  return reinterpret_cast<Window>(window);
}

std::wstring widen(const std::string& text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), size);
  return wide;
}

std::string narrow(const std::wstring& text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  int size =
      WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                      nullptr);
  return bytes;
}

std::wstring wideText(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  // WM_GETTEXT reaches controls of other processes too (GetWindowText would not ask them).
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return {};
  }
  return std::wstring(buffer, copied);
}

bool send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             result ? result : &ignored) != 0;
}

// Every program the driver starts belongs to this job, so none outlives the driver even when
// the driver itself is killed.
HANDLE programJob() {
  static HANDLE job = [] {
    HANDLE created = CreateJobObjectW(nullptr, nullptr);
    if (created) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
      limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return created;
  }();
  return job;
}

std::wstring folderOf(const std::wstring& path) {
  auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

bool fileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A path from the environment: under Wine it may be a Unix path, which becomes the DOS path of
// the same file; on Windows it is used as it is.
std::wstring pathFromEnvironment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  if (!GetEnvironmentVariableW(name, buffer, MAX_PATH * 2)) return {};
  std::wstring path = buffer;
  using ToDos = LPWSTR(CDECL*)(LPCSTR);
  // Wine's own export; absent on Windows.
  FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
  auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void (*)()>(found));
  if (toDos && path[0] == L'/') {
    std::string unixPath = narrow(path);
    if (LPWSTR dos = toDos(unixPath.c_str())) {
      path = dos;
      HeapFree(GetProcessHeap(), 0, dos);
    }
  }
  return path;
}

// The program to test: FOLVANE_EXE or Folvane.exe beside the driver.
std::wstring programPath() {
  std::wstring path = pathFromEnvironment(L"FOLVANE_EXE");
  if (!path.empty()) return path;
  wchar_t buffer[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  return folderOf(buffer) + L"\\Folvane.exe";
}

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  OwnedFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (search) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search.get(), &found));
  }
  RemoveDirectoryW(folder.c_str());
}

struct EnumState {
  DWORD pid;
  bool visibleOnly;
  std::vector<Window>* out;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((state->pid == 0 || owner == state->pid) &&
      (!state->visibleOnly || IsWindowVisible(window))) {
    state->out->push_back(toWindow(window));
  }
  return TRUE;
}

// The fill colour of a folder window, plus one (0: the class background), as a window property.
constexpr wchar_t kFillProperty[] = L"FolvaneE2eFill";

LRESULT CALLBACK folderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto fill = reinterpret_cast<std::uintptr_t>(GetPropW(window, kFillProperty));
  if (message == WM_ERASEBKGND && fill != 0) {
    RECT client;
    GetClientRect(window, &client);
    OwnedBrush brush(CreateSolidBrush(COLORREF(fill - 1)));
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// ---- Waiting ---------------------------------------------------------------------------------

void pump(Duration time) {
  auto end = Clock::now() + time;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    auto left = std::chrono::duration_cast<Duration>(end - Clock::now()).count();
    if (left <= 0) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
  } while (Clock::now() < end);
}

bool waitUntil(const std::function<bool()>& done, Duration timeout) {
  auto end = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() >= end) return false;
    pump(kPollStep);
  }
  return true;
}

// ---- Windows ---------------------------------------------------------------------------------

std::vector<Window> topLevelWindows(ProcessId pid, bool visibleOnly) {
  std::vector<Window> windows;
  EnumState state{pid, visibleOnly, &windows};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&state));
  return windows;
}

Window findWindow(const std::string& caption, ProcessId pid, bool visibleOnly) {
  std::wstring wanted = widen(caption);
  for (Window window : topLevelWindows(pid, visibleOnly)) {
    if (wideText(toHwnd(window)) == wanted) return window;
  }
  return 0;
}

Window waitForWindow(const std::string& caption, ProcessId pid, Duration timeout) {
  Window found = 0;
  waitUntil([&] { return (found = findWindow(caption, pid)) != 0; }, timeout);
  return found;
}

bool waitForGone(Window window, Duration timeout) {
  return waitUntil([&] { return !exists(window); }, timeout);
}

std::string windowText(Window window) {
  return narrow(wideText(toHwnd(window)));
}

std::string className(Window window) {
  wchar_t buffer[256] = {};
  int length = GetClassNameW(toHwnd(window), buffer, 256);
  return narrow(std::wstring(buffer, length > 0 ? length : 0));
}

bool exists(Window window) {
  return window && IsWindow(toHwnd(window));
}
bool isVisible(Window window) {
  return IsWindowVisible(toHwnd(window)) != 0;
}
bool isEnabled(Window window) {
  return IsWindowEnabled(toHwnd(window)) != 0;
}

ProcessId processOf(Window window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(toHwnd(window), &pid);
  return pid;
}

Window foregroundWindow() {
  return toWindow(GetForegroundWindow());
}

std::optional<std::uint32_t> colorAtCenter(Window window) {
  RECT box;
  if (!GetWindowRect(toHwnd(window), &box)) return std::nullopt;
  WindowDc screen(nullptr);
  COLORREF color = GetPixel(screen.get(), (box.left + box.right) / 2, (box.top + box.bottom) / 2);
  if (color == CLR_INVALID) return std::nullopt;
  return std::uint32_t(color);
}

std::optional<Box> windowBox(Window window) {
  RECT rect;
  if (!GetWindowRect(toHwnd(window), &rect)) return std::nullopt;
  return Box{rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<Box> clientBox(Window window) {
  RECT client;
  if (!GetClientRect(toHwnd(window), &client)) return std::nullopt;
  POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
  MapWindowPoints(toHwnd(window), nullptr, corners, 2);
  return Box{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::optional<std::uint32_t> colorAt(Point point) {
  WindowDc screen(nullptr);
  COLORREF color = GetPixel(screen.get(), point.x, point.y);
  if (color == CLR_INVALID) return std::nullopt;
  return std::uint32_t(color);
}

std::vector<Point> centreAndCorners(const Box& box) {
  constexpr int inset = 4;
  return {{(box.left + box.right) / 2, (box.top + box.bottom) / 2},
          {box.left + inset, box.top + inset},
          {box.right - 1 - inset, box.top + inset},
          {box.left + inset, box.bottom - 1 - inset},
          {box.right - 1 - inset, box.bottom - 1 - inset}};
}

Window windowSeenAt(Point point) {
  POINT at{point.x, point.y};
  for (Window window : topLevelWindows()) {
    RECT rect;
    if (GetWindowRect(toHwnd(window), &rect) && PtInRect(&rect, at)) return window;
  }
  return 0;
}

Box screenBox() {
  return Box{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Window> children(Window parent, const std::string& wantedClass) {
  std::vector<Window> found;
  for (HWND child = GetWindow(toHwnd(parent), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (wantedClass.empty() ||
        _wcsicmp(widen(className(toWindow(child))).c_str(), widen(wantedClass).c_str()) == 0) {
      found.push_back(toWindow(child));
    }
    // Controls that sit in a frame are children of the frame.
    for (Window nested : children(toWindow(child), wantedClass)) found.push_back(nested);
  }
  return found;
}

Window childByText(Window parent, const std::string& text) {
  std::wstring wanted = widen(text);
  for (Window child : children(parent)) {
    if (wideText(toHwnd(child)) == wanted) return child;
  }
  return 0;
}

// ---- Acting as the user ----------------------------------------------------------------------

void type(Window edit, const std::string& text) {
  send(toHwnd(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (wchar_t c : widen(text)) send(toHwnd(edit), WM_CHAR, c, 1);
}

void click(Window button) {
  HWND control = toHwnd(button);
  WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED);
  PostMessageW(GetParent(control), WM_COMMAND, command, reinterpret_cast<LPARAM>(control));
}

bool clickButton(Window parent, const std::string& caption) {
  Window button = childByText(parent, caption);
  if (!button) return false;
  click(button);
  return true;
}

void enterPassword(Window dialog, const std::string& first, const std::string& second) {
  std::vector<Window> boxes = children(dialog, "Edit");
  if (boxes.size() < 2) throw std::runtime_error("the password dialog has no two text boxes");
  type(boxes[0], first);
  type(boxes[1], second);
  if (!clickButton(dialog, "OK")) throw std::runtime_error("the password dialog has no OK");
}

void enterPassword(Window dialog, const std::string& password) {
  enterPassword(dialog, password, password);
}

void cancelPassword(Window dialog) {
  if (!clickButton(dialog, "ｷｬﾝｾﾙ")) throw std::runtime_error("the password dialog has no ｷｬﾝｾﾙ");
}

std::string messageText(Window box) {
  // The text of a message box is the static control with id 0xFFFF; fall back to the longest
  // static text in case another id is used.
  if (HWND text = GetDlgItem(toHwnd(box), 0xFFFF)) return windowText(toWindow(text));
  std::string longest;
  for (Window child : children(box, "Static")) {
    std::string text = windowText(child);
    if (text.size() > longest.size()) longest = text;
  }
  return longest;
}

void answer(Window box, Answer button) {
  PostMessageW(toHwnd(box), WM_COMMAND, MAKEWPARAM(int(button), BN_CLICKED), 0);
}

void bringToFront(Window window) {
  SetForegroundWindow(toHwnd(window));
  pump(Duration(20));
}

void postClose(Window window) {
  PostMessageW(toHwnd(window), WM_CLOSE, 0, 0);
}

void postTrayMouse(Window main, int mouseMessage) {
  PostMessageW(toHwnd(main), WM_MOUSEMOVE, 0, MAKELPARAM(mouseMessage, 0));
}

std::optional<bool> queryEndSession(Window window) {
  DWORD_PTR result = 0;
  if (!send(toHwnd(window), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &result)) return std::nullopt;
  return result != 0;
}

void endSession(Window window, bool ending) {
  PostMessageW(toHwnd(window), WM_ENDSESSION, ending ? TRUE : FALSE, ENDSESSION_LOGOFF);
}

void sessionLocked(Window window, bool locked) {
  // WTS_SESSION_LOCK and WTS_SESSION_UNLOCK, as the system sends them to a registered window.
  PostMessageW(toHwnd(window), WM_WTSSESSION_CHANGE, locked ? 0x7 : 0x8, 1);
}

void sleepAndWake(Window window) {
  for (WPARAM event : {PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC, PBT_APMRESUMESUSPEND})
    PostMessageW(toHwnd(window), WM_POWERBROADCAST, event, 0);
}

bool sendMessage(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return send(toHwnd(window), message, wParam, lParam);
}

bool postMessage(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return PostMessageW(toHwnd(window), message, wParam, lParam) != 0;
}

bool sendCreation(Window window, std::uintptr_t createParams) {
  CREATESTRUCTW creation{};
  creation.lpCreateParams = reinterpret_cast<void*>(createParams);
  creation.lpszName = L"";
  creation.lpszClass = L"";
  return send(toHwnd(window), WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&creation));
}

std::vector<std::string> listRows(Window list) {
  std::vector<std::string> rows;
  DWORD_PTR count = 0;
  if (!send(toHwnd(list), LB_GETCOUNT, 0, 0, &count)) return rows;
  for (int index = 0; index < int(count); ++index) {
    DWORD_PTR length = 0;
    send(toHwnd(list), LB_GETTEXTLEN, index, 0, &length);
    std::wstring row(length + 1, L'\0');
    DWORD_PTR copied = 0;
    send(toHwnd(list), LB_GETTEXT, index, reinterpret_cast<LPARAM>(row.data()), &copied);
    row.resize(std::min<std::size_t>(copied, length));
    rows.push_back(narrow(row));
  }
  return rows;
}

void doubleClickRow(Window list, int index) {
  HWND control = toHwnd(list);
  DWORD_PTR top = 0, height = 0;
  send(control, LB_GETTOPINDEX, 0, 0, &top);
  send(control, LB_GETITEMHEIGHT, index, 0, &height);
  LPARAM row = MAKELPARAM(4, (index - int(top)) * int(height) + int(height) / 2);
  // The mouse messages of a double-click: the list box selects the row itself and tells its
  // parent only when it was made to notify.
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    PostMessageW(control, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, row);
  }
}

bool isChecked(Window checkBox) {
  DWORD_PTR state = 0;
  return send(toHwnd(checkBox), BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool setChecked(Window checkBox, bool checked) {
  if (isChecked(checkBox) == checked) return true;
  // A click the box handles itself: it changes its own state and tells its parent.
  PostMessageW(toHwnd(checkBox), BM_CLICK, 0, 0);
  return waitUntil([&] { return isChecked(checkBox) == checked; }, Duration(3000));
}

void pressKey(Window window, int virtualKey) {
  UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(toHwnd(window), WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
  PostMessageW(toHwnd(window), WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

bool chooseMenu(Window window, char menuKey, char itemKey) {
  ProcessId pid = processOf(window);
  auto openPopup = [pid] {
    for (Window top : topLevelWindows(pid)) {
      if (className(top) == "#32768") return top;
    }
    return Window{0};
  };
  PostMessageW(toHwnd(window), WM_SYSCOMMAND, SC_KEYMENU, wchar_t(tolower(menuKey)));
  Window popup = 0;
  if (!waitUntil([&] { return (popup = openPopup()) != 0; }, Duration(3000))) return false;
  // The menu's own loop reads the key from the program's queue.
  PostMessageW(toHwnd(window), WM_CHAR, wchar_t(tolower(itemKey)), 1);
  return waitUntil([&] { return openPopup() == 0; }, Duration(3000));
}

// ---- Folder windows --------------------------------------------------------------------------

FolderWindow::FolderWindow(const std::string& title, const std::string& className) {
  std::wstring wideClass = widen(className);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = folderWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = wideClass.c_str();
  RegisterClassW(&windowClass);  // fails harmlessly when the class is registered already
  window_ = toWindow(CreateWindowExW(0, wideClass.c_str(), widen(title).c_str(),
                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 480, 320, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw std::runtime_error("cannot create a folder window");
  pump(Duration(50));
}

FolderWindow::~FolderWindow() {
  if (exists(window_)) {
    RemovePropW(toHwnd(window_), kFillProperty);
    DestroyWindow(toHwnd(window_));
  }
  pump(Duration(10));
}

void FolderWindow::bringForward() {
  HWND window = toHwnd(window_);
  // Right after the window in front was destroyed, a busy Wine can drop the request and leave the
  // desktop in front; a person would click again, and so does this. A disabled window cannot
  // come to the front at all, so it is asked once.
  // The event follows the moment the window is in front, once.
  bool announced = false;
  auto announceInFront = [&] {
    if (announced || GetForegroundWindow() != window) return;
    announce(EVENT_SYSTEM_FOREGROUND);
    announced = true;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    announceInFront();
    pump(Duration(20));
    if (!IsWindowEnabled(window) ||
        waitUntil([&] { return GetForegroundWindow() == window; }, Duration(200))) {
      announceInFront();
      return;
    }
  }
}

void FolderWindow::setTitle(const std::string& title) {
  SetWindowTextW(toHwnd(window_), widen(title).c_str());
  announce(EVENT_OBJECT_NAMECHANGE);
  pump(Duration(10));
}

void FolderWindow::announce(unsigned long event) const {
  if (raisesEvents_) NotifyWinEvent(event, toHwnd(window_), OBJID_WINDOW, CHILDID_SELF);
}

void FolderWindow::raise() {
  SetWindowPos(toHwnd(window_), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pump(Duration(20));
}

void FolderWindow::place(const Box& box) {
  SetWindowPos(toHwnd(window_), nullptr, box.left, box.top, box.right - box.left,
               box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
  pump(Duration(20));
}

void FolderWindow::fill(std::uint32_t color) {
  SetPropW(toHwnd(window_), kFillProperty, reinterpret_cast<HANDLE>(std::uintptr_t(color) + 1));
  RedrawWindow(toHwnd(window_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void FolderWindow::minimize() {
  ShowWindow(toHwnd(window_), SW_MINIMIZE);
  pump(Duration(20));
}

void FolderWindow::restore() {
  ShowWindow(toHwnd(window_), SW_RESTORE);
  pump(Duration(20));
}

// ---- Other programs --------------------------------------------------------------------------

struct FileHolder::State {
  std::wstring path;
  Duration held, free;
  DWORD share;
  std::atomic<bool> stop{false};
  std::atomic<int> holds{0};
  std::thread thread;

  // Sleeps for `time`, or less when the holder is going away.
  void pause(Duration time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (!stop && std::chrono::steady_clock::now() < end) Sleep(5);
  }
};

FileHolder::FileHolder(const std::string& path, Duration held, Duration free, Sharing sharing)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.path = widen(path);
  state.held = held;
  state.free = free;
  state.share = sharing == Sharing::Reads ? FILE_SHARE_READ : 0;
  state.thread = std::thread([&state] {
    while (!state.stop) {
      OwnedFile file(CreateFileW(state.path.c_str(), GENERIC_READ, state.share, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file) {
        ++state.holds;
        char buffer[512];
        DWORD got = 0;
        ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr);
        state.pause(state.held);
        file.reset();  // free for a while now
      }
      state.pause(state.free);
    }
  });
}

FileHolder::~FileHolder() {
  state_->stop = true;
  state_->thread.join();
}

int FileHolder::holds() const {
  return state_->holds;
}

// ---- Text ------------------------------------------------------------------------------------

std::string passwordCode(const std::string& password) {
  std::string code;
  for (unsigned char c : password) {
    char group[8];
    std::snprintf(group, sizeof group, "%03u", c + 19u);
    code += group;
  }
  return code;
}

std::string toAnsi(const std::string& utf8) {
  return narrow(widen(utf8), 932);
}
std::string fromAnsi(const std::string& ansi) {
  return narrow(widen(ansi, 932));
}

std::optional<std::string> iniValue(const std::string& bytes, const std::string& section,
                                    const std::string& key) {
  auto trim = [](std::string text) {
    const char* blanks = " \t\r";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
  };
  auto same = [](const std::string& a, const std::string& b) {
    return _stricmp(a.c_str(), b.c_str()) == 0;
  };
  bool inSection = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = trim(bytes.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.front() == '[') {
      std::size_t close = line.find(']');
      inSection = close != std::string::npos && same(trim(line.substr(1, close - 1)), section);
      continue;
    }
    std::size_t equals = line.find('=');
    if (inSection && equals != std::string::npos && same(trim(line.substr(0, equals)), key)) {
      return trim(line.substr(equals + 1));
    }
  }
  return std::nullopt;
}

// ---- Registry --------------------------------------------------------------------------------

std::optional<std::string> readRegistryString(const std::string& subKey, const std::string& name) {
  HKEY opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(subKey).c_str(), 0, KEY_QUERY_VALUE, &opened)) {
    return std::nullopt;
  }
  OwnedKey key(opened);
  wchar_t data[2048] = {};
  DWORD type = 0, size = sizeof data - sizeof(wchar_t);
  LONG status = RegQueryValueExW(key.get(), widen(name).c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &size);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring text(data, size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return narrow(text);
}

void writeRegistryString(const std::string& subKey, const std::string& name,
                         const std::string& data) {
  HKEY created;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, widen(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &created, nullptr)) {
    throw std::runtime_error("cannot open " + subKey);
  }
  OwnedKey key(created);
  std::wstring wide = widen(data);
  RegSetValueExW(key.get(), widen(name).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(wide.c_str()),
                 DWORD((wide.size() + 1) * sizeof(wchar_t)));
}

void deleteRegistryValue(const std::string& subKey, const std::string& name) {
  HKEY opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(subKey).c_str(), 0, KEY_SET_VALUE, &opened)) return;
  OwnedKey key(opened);
  RegDeleteValueW(key.get(), widen(name).c_str());
}

std::optional<unsigned long> readRegistryDword(const std::string& subKey, const std::string& name) {
  DWORD data = 0, size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, widen(subKey).c_str(), widen(name).c_str(), RRF_RT_REG_DWORD,
                   nullptr, &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return data;
}

void writeRegistryDword(const std::string& subKey, const std::string& name, unsigned long data) {
  HKEY created;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, widen(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &created, nullptr)) {
    throw std::runtime_error("cannot open " + subKey);
  }
  OwnedKey key(created);
  const DWORD value = data;
  RegSetValueExW(key.get(), widen(name).c_str(), 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// ---- The program -----------------------------------------------------------------------------

struct Process::Handle : OwnedHandle {
  using OwnedHandle::OwnedHandle;
};

Process::Process(void* process, ProcessId pid)
    : process_(std::make_unique<Handle>(process)), pid_(pid) {}

Process::Process(Process&& other) noexcept = default;

Process::~Process() {
  if (process_) kill();
}

HANDLE Process::handle() const {
  return process_ ? process_->get() : nullptr;
}

bool Process::running() const {
  return WaitForSingleObject(handle(), 0) == WAIT_TIMEOUT;
}

std::chrono::microseconds Process::cpuTime() const {
  auto ticks = [](const FILETIME& time) {  // 100 ns each
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  FILETIME created, ended, kernel, user;
  std::uint64_t total = 0;
  // Wine reports a process's times rightly only to that process itself, while it reports any
  // thread's: there the program's time is the sum over its threads (those that have ended are
  // missing from it).
  bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  if (!wine) {
    if (GetProcessTimes(handle(), &created, &ended, &kernel, &user)) {
      total = ticks(kernel) + ticks(user);
    }
    return std::chrono::microseconds(total / 10);
  }
  OwnedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return {};
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != pid_) continue;
    OwnedHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
    if (!thread) continue;
    if (GetThreadTimes(thread.get(), &created, &ended, &kernel, &user)) {
      total += ticks(kernel) + ticks(user);
    }
  }
  return std::chrono::microseconds(total / 10);
}

std::size_t Process::residentBytes() const {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(handle(), &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

bool Process::sendDpiChanged(Window window, int dpi, const Box& suggested) const {
  void* remote =
      VirtualAllocEx(handle(), nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  const RECT rect{suggested.left, suggested.top, suggested.right, suggested.bottom};
  bool answered = false;
  if (WriteProcessMemory(handle(), remote, &rect, sizeof rect, nullptr)) {
    answered =
        send(toHwnd(window), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
  }
  VirtualFreeEx(handle(), remote, 0, MEM_RELEASE);
  return answered;
}

std::optional<unsigned long> Process::waitExit(Duration timeout) {
  if (!waitUntil([this] { return !running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle(), &code);
  return code;
}

void Process::kill() {
  if (running()) {
    TerminateProcess(handle(), 255);
    WaitForSingleObject(handle(), 10000);
  }
}

std::vector<ProcessId> Process::descendants() const {
  std::vector<ProcessId> tree = {pid_};
  std::vector<PROCESSENTRY32W> processes;
  {
    OwnedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
      processes.push_back(entry);
  }
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const PROCESSENTRY32W& process : processes) {
      if (process.th32ParentProcessID == tree[i] && process.th32ProcessID != tree[i])
        tree.push_back(process.th32ProcessID);
    }
  }
  tree.erase(tree.begin());
  return tree;
}

void Process::killTree() {
  for (ProcessId descendant : descendants()) {
    OwnedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, descendant));
    if (!process) continue;
    TerminateProcess(process.get(), 255);
    WaitForSingleObject(process.get(), 10000);
  }
  kill();
}

Window Process::waitForWindow(const std::string& caption, Duration timeout) const {
  return e2e::waitForWindow(caption, pid_, timeout);
}

Window Process::findWindow(const std::string& caption, bool visibleOnly) const {
  return e2e::findWindow(caption, pid_, visibleOnly);
}

Window Process::mainWindow(Duration timeout) const {
  Window found = 0;
  waitUntil([&] { return (found = findWindow(kMainCaption, false)) != 0; }, timeout);
  return found;
}

Sandbox::Sandbox() {
  static int count = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"folvane-e2e-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  removeTree(folder);
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    throw std::runtime_error("cannot create " + narrow(folder));
  }
  folder_ = narrow(folder);

  std::wstring program = programPath();
  std::wstring exe = folder + L"\\Folvane.exe";
  if (!CopyFileW(program.c_str(), exe.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the program from " + narrow(program) +
                             " (set FOLVANE_EXE)");
  }
  std::wstring help = folderOf(program) + L"\\folvane.html";
  if (fileExists(help)) CopyFileW(help.c_str(), (folder + L"\\folvane.html").c_str(), FALSE);
  exe_ = narrow(exe);
}

Sandbox::~Sandbox() {
  removeTree(widen(folder_));
}

std::string Sandbox::path(const std::string& fileName) const {
  return folder_ + "\\" + fileName;
}

void Sandbox::writeFile(const std::string& fileName, const std::string& bytes) const {
  OwnedFile file(CreateFileW(widen(path(fileName)).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot write " + fileName);
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
  file.reset();
  if (written != bytes.size()) throw std::runtime_error("cannot write " + fileName);
}

std::optional<std::string> Sandbox::readFile(const std::string& fileName) const {
  OwnedFile file(CreateFileW(widen(path(fileName)).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

Process Sandbox::start() const {
  return startProgram(exe_);
}

std::string environmentPath(const std::string& name) {
  return narrow(pathFromEnvironment(widen(name).c_str()));
}

Process startProgram(const std::string& exePath, const std::string& arguments) {
  // The program may take the foreground from the driver (its dialogs ask for it).
  AllowSetForegroundWindow(ASFW_ANY);
  std::wstring exe = widen(exePath);
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + widen(arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, folderOf(exe).c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + exePath);
  }
  OwnedHandle thread(info.hThread);
  if (HANDLE job = programJob()) AssignProcessToJobObject(job, info.hProcess);
  ResumeThread(thread.get());
  return Process(info.hProcess, info.dwProcessId);
}

}  // namespace folvane::e2e
