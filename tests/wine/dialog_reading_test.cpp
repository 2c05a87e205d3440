// Reading a dialog from outside its thread, as the program reads another program's Open or Save
// dialog: its windows, the focus of its thread, an edit's text and a combo box's current item, and
// its Cancel; and a dialog whose thread answers nothing is given up rather than waited for.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace folvane {
namespace {

// A dialog with a look-in combo box, an edit that has the focus and a Cancel button, made and
// served by a thread of its own, as another program's thread serves its dialog.
class DialogThread {
 public:
  DialogThread() {
    thread_ = std::thread([this] { run(); });
    while (!ready_) Sleep(5);
  }
  ~DialogThread() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  WindowId id(HWND window) const { return reinterpret_cast<WindowId>(window); }

  HWND dialog = nullptr, combo = nullptr, edit = nullptr, cancel = nullptr;
  std::atomic<int> cancels{0};  // WM_COMMAND IDCANCEL from the Cancel button, as it sends it

  // The thread answers nothing for `ms`, as a hung program does.
  void hang(int ms) { PostMessageW(dialog, WM_APP, ms, 0); }

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogThread*>(GetWindowLongPtrW(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(window, DWLP_USER, lParam);
      return FALSE;
    }
    if (message == WM_APP) {
      Sleep(static_cast<DWORD>(wParam));
      return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED &&
        reinterpret_cast<HWND>(lParam) == self->cancel) {
      ++self->cancels;
      return TRUE;
    }
    return FALSE;
  }

  HWND control(const wchar_t* className, const wchar_t* text, int id, DWORD style) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 200,
                           dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  }

  void run() {
    threadId_ = GetCurrentThreadId();
    struct {
      DLGTEMPLATE header;
      WORD menu, windowClass, title;
    } empty = {};
    empty.header.style = WS_POPUP | WS_CAPTION;
    empty.header.cx = 300;
    empty.header.cy = 200;
    dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &empty.header, nullptr,
                                        procedure, reinterpret_cast<LPARAM>(this));
    combo = control(L"ComboBox", L"", 1137, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
    edit = control(L"Edit", L"", 1152, ES_AUTOHSCROLL);
    cancel = control(L"Button", L"キャンセル", IDCANCEL, BS_PUSHBUTTON);
    for (const wchar_t* item : {L"デスクトップ", L"C:\\", L"共有", L"経理"})
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 3, 0);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\共有\\営業"));
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SetFocus(edit);
    ready_ = true;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageW(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    DestroyWindow(dialog);
  }

  std::thread thread_;
  DWORD threadId_ = 0;
  std::atomic<bool> ready_{false};
};

TEST(DialogReading, ADialogOfAnotherThreadIsReadFromOutside) {
  Win32Platform platform;
  DialogThread shown;
  const WindowId dialog = shown.id(shown.dialog);

  const std::vector<ChildWindow> children = platform.childWindows(dialog);
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0].window, shown.id(shown.combo));
  EXPECT_EQ(children[0].className, "ComboBox");
  EXPECT_EQ(children[0].controlId, 1137);
  EXPECT_EQ(children[1].className, "Edit");
  EXPECT_EQ(children[2].controlId, IDCANCEL);
  EXPECT_TRUE(platform.childWindows(shown.id(shown.edit)).empty());
  EXPECT_TRUE(platform.childWindows(0).empty());

  EXPECT_EQ(platform.rootWindowOf(shown.id(shown.edit)), dialog);
  EXPECT_EQ(platform.rootWindowOf(dialog), dialog);
  EXPECT_EQ(platform.focusedWindowOf(dialog), shown.id(shown.edit));
  EXPECT_TRUE(platform.isOwnWindow(dialog)) << "a window of another thread of this process";
  EXPECT_FALSE(platform.isOwnWindow(reinterpret_cast<WindowId>(GetDesktopWindow())));

  EXPECT_EQ(platform.controlText(shown.id(shown.edit)), "C:\\共有\\営業");
  EXPECT_EQ(platform.comboBoxItem(shown.id(shown.combo)), "経理");
  SendMessageW(shown.combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(platform.comboBoxItem(shown.id(shown.combo)), std::nullopt) << "no current item";

  platform.postCancel(dialog);
  for (int wait = 0; wait < 200 && shown.cancels == 0; ++wait) Sleep(5);
  EXPECT_EQ(shown.cancels, 1);
}

TEST(DialogReading, ADialogWhoseThreadAnswersNothingIsGivenUp) {
  Win32Platform platform;
  DialogThread shown;
  shown.hang(3000);
  Sleep(50);
  // Waited for, the answers would come once the thread wakes: given up, they come as none.
  EXPECT_EQ(platform.controlText(shown.id(shown.edit)), std::nullopt);
  EXPECT_EQ(platform.comboBoxItem(shown.id(shown.combo)), std::nullopt);
  // What is read without a message still is.
  EXPECT_EQ(platform.focusedWindowOf(shown.id(shown.dialog)), shown.id(shown.edit));
  EXPECT_EQ(platform.childWindows(shown.id(shown.dialog)).size(), 3u);
}

}  // namespace
}  // namespace folvane
