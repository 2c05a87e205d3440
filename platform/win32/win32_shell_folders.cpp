// The walk over the Shell's list of its windows (see win32_shell_folders.h): a folder window's
// browsers, the one of its active tab, the folder it shows, and taking that tab to the folder
// above.
#include "platform/win32/win32_shell_folders.h"

#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace folvane {

namespace {

struct Browser {
  ComPtr<IWebBrowser2> web;
  ComPtr<IShellBrowser> shell;
  HWND tab = nullptr;
};

// The browsers of the Shell's list whose top-level window is `window`, each with the window it
// names as its own. A browser that errs anywhere on the way is passed over: it shows nothing the
// program could tell.
std::optional<std::vector<Browser>> browsersOf(IShellWindows* shellWindows, HWND window,
                                               HRESULT* listed) {
  LONG count = 0;
  const HRESULT counted = shellWindows ? shellWindows->get_Count(&count) : E_POINTER;
  if (listed) *listed = counted;
  if (FAILED(counted)) return std::nullopt;
  std::vector<Browser> browsers;
  for (LONG i = 0; i < count; ++i) {
    VARIANT index{};
    V_VT(&index) = VT_I4;
    V_I4(&index) = i;
    ComPtr<IDispatch> item;
    if (FAILED(shellWindows->Item(index, item.put())) || !item) continue;
    const ComPtr<IWebBrowser2> webBrowser = item.as<IWebBrowser2>();
    SHANDLE_PTR handle = 0;
    if (!webBrowser || FAILED(webBrowser->get_HWND(&handle))) continue;
    if (reinterpret_cast<HWND>(handle) != window) continue;
    const ComPtr<IServiceProvider> provider = item.as<IServiceProvider>();
    Browser browser;
    browser.web = webBrowser;
    if (!provider ||
        FAILED(provider->QueryService(SID_STopLevelBrowser, __uuidof(IShellBrowser),
                                      browser.shell.putVoid())) ||
        !browser.shell) {
      // Still a tab of the window: it counts, though it cannot be asked.
      browsers.push_back({});
      continue;
    }
    if (FAILED(browser.shell->GetWindow(&browser.tab))) browser.tab = nullptr;
    browsers.push_back(std::move(browser));
  }
  return browsers;
}

// The browser of the active tab: the one that names it, or the only one of a window whose tabs
// none names. nullptr when that cannot be told.
const Browser* activeBrowser(const std::vector<Browser>& browsers, HWND activeTab) {
  const Browser* naming = nullptr;
  if (activeTab) {
    for (const Browser& browser : browsers) {
      if (browser.tab != activeTab) continue;
      if (naming) return nullptr;  // two browsers for one tab: neither can be trusted
      naming = &browser;
    }
  }
  if (naming) return naming->shell ? naming : nullptr;
  if (browsers.size() == 1 && browsers.front().shell) return &browsers.front();
  return nullptr;
}

std::wstring nameOf(PCIDLIST_ABSOLUTE folder, SIGDN kind) {
  OwnedCoString name;
  if (FAILED(SHGetNameFromIDList(folder, kind, name.put())) || !name) return {};
  return name.get();
}

// The folder the browser's view shows; empty when it does not tell.
OwnedPidl folderOf(const Browser& browser) {
  OwnedPidl folder;
  ComPtr<IShellView> view;
  if (FAILED(browser.shell->QueryActiveShellView(view.put())) || !view) return folder;
  const ComPtr<IFolderView> folderView = view.as<IFolderView>();
  ComPtr<IPersistFolder2> persist;
  if (!folderView || FAILED(folderView->GetFolder(__uuidof(IPersistFolder2), persist.putVoid())) ||
      !persist)
    return folder;
  if (FAILED(persist->GetCurFolder(folder.put()))) folder.reset();
  return folder;
}

// Has the browser show `folder` in its own tab (Navigate2 with no flags), the folder given as the
// bytes of its item id list, which stand for any folder, whether or not it has a path.
bool navigateTo(IWebBrowser2* browser, PCIDLIST_ABSOLUTE folder) {
  const UINT size = ILGetSize(folder);
  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, size);
  if (!bytes) return false;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(bytes, &data))) {
    SafeArrayDestroy(bytes);
    return false;
  }
  std::memcpy(data, folder, size);
  SafeArrayUnaccessData(bytes);
  VARIANT target;
  VariantInit(&target);
  V_VT(&target) = VT_ARRAY | VT_UI1;
  V_ARRAY(&target) = bytes;
  VARIANT none;
  VariantInit(&none);
  const HRESULT navigated = browser->Navigate2(&target, &none, &none, &none, &none);
  VariantClear(&target);  // and the array with it
  return SUCCEEDED(navigated);
}

}  // namespace

HWND ActiveTabOf(HWND window) {
  for (HWND tab = FindWindowExW(window, nullptr, L"ShellTabWindowClass", nullptr); tab;
       tab = FindWindowExW(window, tab, L"ShellTabWindowClass", nullptr)) {
    if (IsWindowVisible(tab)) return tab;
  }
  return nullptr;
}

std::optional<ShellFolderAnswer> FolderShownIn(IShellWindows* shellWindows, HWND window,
                                               HRESULT* listed) {
  const std::optional<std::vector<Browser>> browsers = browsersOf(shellWindows, window, listed);
  if (!browsers) return std::nullopt;
  const Browser* browser = activeBrowser(*browsers, ActiveTabOf(window));
  if (!browser) return std::nullopt;

  const OwnedPidl folder = folderOf(*browser);
  if (!folder) return std::nullopt;

  ShellFolderAnswer answer;
  answer.displayName = nameOf(folder.get(), SIGDN_NORMALDISPLAY);
  if (answer.displayName.empty()) return std::nullopt;
  answer.path = nameOf(folder.get(), SIGDN_FILESYSPATH);
  answer.tab = browser->tab;
  answer.tabs = static_cast<int>(browsers->size());
  return answer;
}

bool LeaveFolderIn(IShellWindows* shellWindows, HWND window, HWND tab, HRESULT* listed) {
  if (!tab || ActiveTabOf(window) != tab) return false;
  const std::optional<std::vector<Browser>> browsers = browsersOf(shellWindows, window, listed);
  if (!browsers) return false;
  const Browser* browser = activeBrowser(*browsers, tab);
  if (!browser || browser->tab != tab) return false;
  if (SUCCEEDED(browser->shell->BrowseObject(nullptr, SBSP_PARENT | SBSP_SAMEBROWSER))) return true;
  // A browser that takes no BrowseObject from another process may still navigate: to the folder
  // above, named whole.
  OwnedPidl above = folderOf(*browser);
  if (!above || !ILRemoveLastID(above.get()) || !browser->web) return false;
  return navigateTo(browser->web.get(), above.get());
}

}  // namespace folvane
