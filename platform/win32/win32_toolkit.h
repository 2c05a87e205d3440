// The window toolkit on the real system: builds each form's window from its FormLayout, mirrors
// program-made changes into the real controls, feeds the user's input back into the portable
// controls, runs the timers and the (re-entrant) modal loops. Each window is laid out at the
// density of the monitor it is on, and again when it moves to a monitor of another density. Its
// parts live in files of their own: win32_toolkit.cpp (window classes, icons, fonts, records),
// win32_form_builder.cpp (building and laying out),
// win32_mirror.cpp, win32_form_messages.cpp, win32_modal_loop.cpp and win32_paint.cpp.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/modal_stack.h"
#include "platform/win32/win32_handles.h"

namespace folvane {

class Win32Toolkit : public Toolkit, private ControlSink, private ModalStack::Windows {
 public:
  explicit Win32Toolkit(HINSTANCE instance);
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  // Dispatches messages until WM_QUIT and returns its exit code.
  int run();

  // Toolkit
  bool createWindow(Form& form) override;
  void destroyWindow(Form& form) override;
  void setVisible(Form& form, bool visible) override;
  bool isVisible(const Form& form) const override;
  void runModal(Form& form) override;
  WindowId windowOf(const Form& form) const override;

 private:
  static constexpr wchar_t kFormClass[] = L"FolvaneForm";
  static constexpr wchar_t kPaintedClass[] = L"FolvanePainted";
  static constexpr int kFirstControlId = 100;  // above IDOK and IDCANCEL, sent by dialog keys
  static constexpr int kFirstMenuId = 1000;
  static constexpr unsigned kSystemColor = 0xFFFFFFFFu;

  struct Window;
  // One control of a window (timers and lines too, which have no window of their own).
  struct Item {
    Window* window = nullptr;
    const ControlLayout* layout = nullptr;
    Control* control = nullptr;  // null when the form gives the control no behaviour
    HWND hwnd = nullptr;
    int id = 0;
    RECT box{};         // pixels in the client area (a line: its two end points)
    OwnedIcon picture;  // a picture's, made at the size of its box
  };
  struct Window {
    Win32Toolkit* toolkit = nullptr;
    Form* form = nullptr;
    OwnedWindow hwnd;  // taken at WM_NCCREATE (see formProc)
    std::vector<std::unique_ptr<Item>> items;
    std::map<int, std::string> menuNames;  // command id -> menu entry name
    HWND pendingFocus = nullptr;           // focus asked for while the window was hidden
    bool hasLines = false;
    int dpi = 96;  // of the monitor the window is on; the layout is converted at it
  };
  // The program's icons at the sizes of one density.
  struct Icons {
    OwnedIcon app, appSmall, main, mainSmall;
  };
  // ControlSink
  void controlChanged(Control& control) override;
  void timerChanged(Timer& timer) override;
  void focus(Control& control) override;
  void selectAll(TextBox& box) override;

  // ModalStack::Windows
  bool isEnabled(WindowId window) override;
  void setEnabled(WindowId window, bool enabled) override;
  bool exists(WindowId window) override;

  static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK paintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Sees every message the thread takes from its queue, in whichever loop (the system's message
  // boxes and menus too).
  static LRESULT CALLBACK postedProc(int code, WPARAM wParam, LPARAM lParam);
  bool handle(Window& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool command(Window& window, WPARAM wParam, LPARAM lParam);
  void paintLines(Window& window);

  void sizeWindow(Window& window, const RECT* centreIn);
  void setIcons(Window& window);
  // `suggested`: the rectangle the system suggests; null, the window keeps its place.
  void changeDpi(Window& window, int dpi, const RECT* suggested);
  void createControl(Window& window, Item& item);
  void placeControl(Window& window, Item& item);
  HMENU buildMenu(Window& window, const std::vector<MenuLayout>& entries, bool bar);
  void mirror(Item& item);
  void fitLabel(Item& item);
  void setText(HWND hwnd, const std::string& utf8);
  Item* itemOf(const Control& control) const;
  static Item* itemById(Window& window, int id);
  static Item* itemByHwnd(Window& window, HWND hwnd);
  Window* windowFor(const Form& form) const;
  Window* windowFor(HWND hwnd) const;
  void dispatch(MSG& msg);
  void applyPendingFocus(Window& window);
  HFONT fontFor(double points, int dpi);
  const Icons& iconsFor(int dpi);

  HINSTANCE instance_;
  OwnedWindow hiddenOwner_;  // owns the windows that take no task-bar button
  OwnedHook postedHook_;     // postedProc, on this thread
  UINT taskbarCreated_ = 0;
  std::map<int, Icons> icons_;  // by density
  std::wstring fontFace_;
  std::map<std::pair<int, int>, OwnedFont> fonts_;  // by density and hundredths of a point
  std::map<const Form*, std::unique_ptr<Window>> windows_;
  ModalStack modals_{*this};
  int settingText_ = 0;  // EN_CHANGE while the program sets a text is not the user's input
};

}  // namespace folvane
