#include "e2e/file_dialogs.h"

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace folvane::e2e {
namespace {

constexpr int kLookInCombo = 1137;
// The file-name box of the system's Open dialog: a combo box (cmb13) or an edit (edt1).
constexpr int kFileNameCombo = 1148;
constexpr int kFileNameEdit = 1152;

HWND toHwnd(Window window) {
  return reinterpret_cast<HWND>(window);
}
Window toWindow(HWND window) {
  return reinterpret_cast<Window>(window);
}

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring text(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), size);
  return text;
}

// Takes the first visible dialog window of a thread (EnumThreadWindows).
BOOL CALLBACK shownDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Brings a window of the driver's to the front, as a click on it does, and lets it settle.
void bringDialogForward(HWND window) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    SetForegroundWindow(window);
    pump(Duration(20));
    if (!IsWindowEnabled(window) ||
        waitUntil([&] { return GetForegroundWindow() == window; }, Duration(200)))
      return;
  }
}

}  // namespace

// ---- Real folders --------------------------------------------------------------------------

RealFolder::RealFolder(const std::string& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring parent = std::wstring(temp) + L"folvane-dialog-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount64());
  CreateDirectoryW(parent.c_str(), nullptr);
  const std::wstring path = parent + L"\\" + wide(name);
  if (!CreateDirectoryW(path.c_str(), nullptr)) throw std::runtime_error("cannot make a folder");
  const auto utf8 = [](const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
  };
  parent_ = utf8(parent);
  path_ = utf8(path);
  Sleep(2);  // the next folder's name differs
}

RealFolder::~RealFolder() {
  RemoveDirectoryW(wide(path_).c_str());
  RemoveDirectoryW(wide(parent_).c_str());
}

// ---- The system's Open dialog ----------------------------------------------------------------

struct OpenDialog::State {
  std::wstring folder;
  DWORD threadId = 0;
  std::atomic<bool> ended{false};
  std::atomic<bool> cancelled{false};
  std::thread thread;

  void run() {
    threadId = GetCurrentThreadId();
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.lpstrFile = file;
    request.nMaxFile = MAX_PATH;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = L"開く";
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
    const BOOL chosen = GetOpenFileNameW(&request);
    cancelled = !chosen && CommDlgExtendedError() == 0;
    ended = true;
  }
};

OpenDialog::OpenDialog(const std::string& folder) : state_(std::make_unique<State>()) {
  state_->folder = wide(folder);
  state_->thread = std::thread([state = state_.get()] { state->run(); });
  if (!waitUntil([&] { return id() != 0; })) throw std::runtime_error("no Open dialog came up");
  pump(Duration(100));
}

OpenDialog::~OpenDialog() {
  if (Window dialog = id()) PostMessageW(toHwnd(dialog), WM_COMMAND, IDCANCEL, 0);
  waitUntil([&] { return state_->ended.load(); });
  if (state_->thread.joinable()) state_->thread.join();
}

Window OpenDialog::id() const {
  if (state_->ended || state_->threadId == 0) return 0;
  HWND found = nullptr;
  EnumThreadWindows(state_->threadId, shownDialog, reinterpret_cast<LPARAM>(&found));
  return toWindow(found);
}

bool OpenDialog::ended() const {
  return state_->ended;
}

bool OpenDialog::cancelled() const {
  return state_->cancelled;
}

void OpenDialog::goTo(const std::string& folder) {
  const HWND dialog = toHwnd(id());
  HWND box = GetDlgItem(dialog, kFileNameCombo);
  if (!box) box = GetDlgItem(dialog, kFileNameEdit);
  if (!box) throw std::runtime_error("the Open dialog has no file-name box");
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(folder).c_str()));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void OpenDialog::bringForward() {
  bringDialogForward(toHwnd(id()));
}

// ---- The stand-in common item dialog ---------------------------------------------------------

namespace {

// The stand-ins that their Cancel ended.
std::vector<HWND> cancelledStandIns;

INT_PTR CALLBACK standInProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    cancelledStandIns.push_back(dialog);
    DestroyWindow(dialog);
    return TRUE;
  }
  return FALSE;
}

// A window of a class of the driver's own, under the name the system gives its kind of window.
HWND child(HWND parent, const wchar_t* className, const wchar_t* text = L"", int id = 0,
           DWORD style = 0) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);  // fails harmlessly when the class is registered already
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 400, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// A system control (a combo box, an edit box, a button).
HWND control(HWND parent, const wchar_t* className, const wchar_t* text, int id, DWORD style) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 30, 200,
                         200, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

std::wstring addressText(const std::string& folder) {
  return L"アドレス: " + wide(folder);
}

}  // namespace

StandInItemDialog::StandInItemDialog(const std::string& folder) {
  // An empty dialog template, in memory: a captioned pop-up with no controls of its own.
  struct {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
  } dialogTemplate = {};
  dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  dialogTemplate.header.cx = 400;
  dialogTemplate.header.cy = 240;
  const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header,
                                                 nullptr, standInProc, 0);
  if (!dialog) throw std::runtime_error("cannot make the stand-in dialog");
  SetWindowTextW(dialog, L"名前を付けて保存");

  const HWND progress =
      child(child(child(child(dialog, L"WorkerW"), L"ReBarWindow32"), L"Address Band Root"),
            L"msctls_progress32");
  breadcrumb_ = toWindow(child(child(progress, L"Breadcrumb Parent"), L"ToolbarWindow32",
                               addressText(folder).c_str()));
  const HWND combo = control(child(progress, L"ComboBoxEx32"), L"ComboBox", L"", 0xA205,
                             CBS_DROPDOWN | CBS_AUTOHSCROLL);
  edit_ = toWindow(FindWindowExW(combo, nullptr, L"Edit", nullptr));
  const HWND ui = child(child(dialog, L"DUIViewWndClassName"), L"DirectUIHWND");
  child(child(ui, L"CtrlNotifySink"), L"SHELLDLL_DefView");
  control(dialog, L"Button", L"保存(&S)", IDOK, BS_DEFPUSHBUTTON);
  control(dialog, L"Button", L"キャンセル", IDCANCEL, BS_PUSHBUTTON);
  if (!edit_) throw std::runtime_error("the stand-in's address box has no edit");

  dialog_ = toWindow(dialog);
  SetWindowPos(dialog, HWND_TOP, 60, 60, 640, 420, SWP_SHOWWINDOW);
  pump(Duration(50));
}

StandInItemDialog::~StandInItemDialog() {
  if (exists(dialog_)) DestroyWindow(toHwnd(dialog_));
  cancelledStandIns.erase(
      std::remove(cancelledStandIns.begin(), cancelledStandIns.end(), toHwnd(dialog_)),
      cancelledStandIns.end());
  pump(Duration(10));
}

bool StandInItemDialog::cancelled() const {
  return !exists(dialog_) && std::find(cancelledStandIns.begin(), cancelledStandIns.end(),
                                       toHwnd(dialog_)) != cancelledStandIns.end();
}

void StandInItemDialog::goTo(const std::string& folder) {
  SetWindowTextW(toHwnd(breadcrumb_), addressText(folder).c_str());
  // Windows raises this for the toolbar as its title changes; Wine raises it for no window.
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, toHwnd(breadcrumb_), OBJID_WINDOW, CHILDID_SELF);
  pump(Duration(10));
}

void StandInItemDialog::typeAddress(const std::string& path) {
  SetFocus(toHwnd(edit_));
  SetWindowTextW(toHwnd(edit_), wide(path).c_str());
  pump(Duration(10));
}

void StandInItemDialog::bringForward() {
  bringDialogForward(toHwnd(dialog_));
}

}  // namespace folvane::e2e
