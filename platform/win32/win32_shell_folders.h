// Which folder a folder window of the file manager shows, as the Shell's list of its windows
// (IShellWindows) tells, and taking one tab of such a window out of its folder. These walk the
// Shell's objects on whatever thread calls them, as long as the Shell takes: ShellAsker
// (win32_shell_asker.h) runs them on a thread of its own and bounds the wait.
//
// Each browser of the list is an IWebBrowser2 whose HWND is its top-level window; since Windows 11
// shows folders as tabs, several browsers share one window. Each tab has a ShellTabWindowClass
// child of the window, which its browser (IShellBrowser, reached through IServiceProvider) names
// as its own window; the active tab's is the visible one first in z order. The browser's view
// (IShellView, IFolderView) gives its folder (IPersistFolder2), whose names the Shell gives as it
// titled a window on Windows 10.
#pragma once

#include <windows.h>

#include <exdisp.h>

#include <optional>
#include <string>

namespace folvane {

struct ShellFolderAnswer {
  std::wstring displayName;  // SHGDN_NORMAL
  std::wstring path;         // the full path of a folder of the file system, else empty
  HWND tab = nullptr;        // the window of the browser's tab, as the browser names it
  int tabs = 0;              // the browsers that share the window
};

// The active tab of a folder window: its first visible ShellTabWindowClass child in z order;
// nullptr for a window that has none.
HWND ActiveTabOf(HWND window);

// The folder `window` shows: among the browsers of `shellWindows` whose window it is, the one of
// its active tab (a window without tab children, or one whose tabs no browser names, counts only
// when it has one browser). std::nullopt when the list cannot be read (its HRESULT goes to
// `listed` when asked for), no browser or more than one fits, or the chosen browser does not give
// its folder.
std::optional<ShellFolderAnswer> FolderShownIn(IShellWindows* shellWindows, HWND window,
                                               HRESULT* listed = nullptr);

// Sends the browser of `tab` in `window` to the folder above its own, in the same tab: with
// BrowseObject (SBSP_PARENT), and where the browser refuses that, with Navigate2 to the folder
// above. False unless `tab` is the window's active tab, a browser of the window names it, and the
// browser takes one of the two; false too for a folder with none above.
bool LeaveFolderIn(IShellWindows* shellWindows, HWND window, HWND tab, HRESULT* listed = nullptr);

}  // namespace folvane
