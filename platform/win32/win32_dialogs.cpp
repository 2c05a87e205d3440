// The seam's reading of another program's dialogs on the real system: its child windows, the
// focus of its thread, the text of an edit and the current item of a combo box, and its Cancel.
// Windows' structure is read without a message; the texts a control keeps to itself are asked
// for with a message that is given up after a short wait, so a hung program holds nothing up.
#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_text.h"

namespace folvane {

namespace {

// How long a control's program has to answer one question.
constexpr UINT kAnswerWithinMs = 50;

// Sends a message and waits for the answer at most kAnswerWithinMs, taking no other message
// meanwhile: nothing of this program runs while the sampler waits. nullopt when none came.
std::optional<LRESULT> ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam,
                           SMTO_BLOCK | SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kAnswerWithinMs,
                           &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

std::vector<ChildWindow> Win32Platform::childWindows(WindowId parent) {
  std::vector<ChildWindow> children;
  if (!windowExists(parent)) return children;
  for (HWND child = GetWindow(hwndOf(parent), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[256];
    const int length = GetClassNameW(child, name, 256);
    children.push_back({reinterpret_cast<WindowId>(child),
                        narrow(std::wstring_view(name, length > 0 ? length : 0)),
                        GetDlgCtrlID(child)});
  }
  return children;
}

WindowId Win32Platform::rootWindowOf(WindowId window) {
  if (window == 0) return 0;
  return reinterpret_cast<WindowId>(GetAncestor(hwndOf(window), GA_ROOT));
}

WindowId Win32Platform::focusedWindowOf(WindowId window) {
  if (window == 0) return 0;
  const DWORD thread = GetWindowThreadProcessId(hwndOf(window), nullptr);
  if (thread == 0) return 0;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread, &info)) return 0;
  return reinterpret_cast<WindowId>(info.hwndFocus);
}

std::optional<std::string> Win32Platform::controlText(WindowId control) {
  if (!windowExists(control)) return std::nullopt;
  const std::optional<LRESULT> length = ask(hwndOf(control), WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length < 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  const std::optional<LRESULT> copied =
      ask(hwndOf(control), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (!copied || *copied < 0) return std::nullopt;
  text.resize(std::min(static_cast<size_t>(*copied), text.size() - 1));
  return narrow(text);
}

std::optional<std::string> Win32Platform::comboBoxItem(WindowId comboBox) {
  if (!windowExists(comboBox)) return std::nullopt;
  const HWND combo = hwndOf(comboBox);
  const std::optional<LRESULT> current = ask(combo, CB_GETCURSEL, 0, 0);
  if (!current || *current == CB_ERR) return std::nullopt;
  const std::optional<LRESULT> length = ask(combo, CB_GETLBTEXTLEN, *current, 0);
  if (!length || *length == CB_ERR) return std::nullopt;
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  const std::optional<LRESULT> copied =
      ask(combo, CB_GETLBTEXT, *current, reinterpret_cast<LPARAM>(text.data()));
  if (!copied || *copied == CB_ERR) return std::nullopt;
  text.resize(std::min(static_cast<size_t>(*copied), text.size() - 1));
  return narrow(text);
}

void Win32Platform::postCancel(WindowId dialog) {
  if (!windowExists(dialog)) return;
  const HWND cancel = GetDlgItem(hwndOf(dialog), IDCANCEL);
  PostMessageW(hwndOf(dialog), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(cancel));
}

}  // namespace folvane
