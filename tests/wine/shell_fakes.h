// Stand-ins for the Shell's objects, made in the test, for the program's walk over the Shell's
// list of its windows (platform/win32/win32_shell_folders.h). Wine 8's own list
// (CLSID_ShellWindows) cannot be walked: its get_Count and Item answer E_NOTIMPL, and its file
// manager has no tabs. So the walk is proven here against these objects, which answer as Windows'
// do, and on Windows alone against the real Shell.
//
// A list (FakeShellWindows) holds browsers (FakeBrowser: IWebBrowser2, IServiceProvider,
// IShellBrowser), each of a window and a tab, whose view (FakeView: IShellView, IFolderView,
// IPersistFolder2) shows a real folder, parsed from its path by the Shell. A browser is moved to
// another folder by BrowseObject or Navigate2, which it records. Each object can be told to fail
// at any step, and a browser to hold up whoever asks it until the test lets it go. The
// methods the program never calls answer E_NOTIMPL.
#pragma once

#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_handles.h"

namespace folvane::shell_fakes {

// Reference counting and QueryInterface for the interfaces a fake lists.
#define FOLVANE_COUNTED_OBJECT                                                   \
  ULONG STDMETHODCALLTYPE AddRef() override {                                    \
    return ++references_;                                                        \
  }                                                                              \
  ULONG STDMETHODCALLTYPE Release() override {                                   \
    const ULONG left = --references_;                                            \
    if (left == 0) delete this;                                                  \
    return left;                                                                 \
  }                                                                              \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override { \
    *object = interfaceFor(iid);                                                 \
    if (!*object) return E_NOINTERFACE;                                          \
    AddRef();                                                                    \
    return S_OK;                                                                 \
  }                                                                              \
                                                                                 \
 private:                                                                        \
  std::atomic<ULONG> references_{1};                                             \
                                                                                 \
 public:

// IDispatch, which the program never calls on the Shell's objects.
template <typename Interface>
class WithoutDispatch : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
};

// The folder a view shows: its item id list, parsed from a real path.
class FakeView final : public IShellView, public IFolderView, public IPersistFolder2 {
 public:
  // An empty path: the view gives no folder.
  explicit FakeView(const std::wstring& path) {
    if (!path.empty()) SHParseDisplayName(path.c_str(), nullptr, folder_.put(), 0, nullptr);
  }
  FOLVANE_COUNTED_OBJECT

  HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** folder) override {
    return QueryInterface(iid, folder);
  }
  HRESULT STDMETHODCALLTYPE GetCurFolder(PIDLIST_ABSOLUTE* folder) override {
    *folder = folder_ ? ILClone(folder_.get()) : nullptr;
    return *folder ? S_OK : E_FAIL;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UIActivate(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*, RECT*,
                                             HWND*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SaveViewState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD, SVSIF) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentViewMode(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetCurrentViewMode(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Item(int, PITEMID_CHILD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ItemCount(UINT, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Items(UINT, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSelectionMarkedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFocusedItem(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD, POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDefaultSpacing(POINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAutoArrange() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectItem(int, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT, PCUITEMID_CHILD_ARRAY, POINT*,
                                                   DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }

 private:
  void* interfaceFor(REFIID iid) {
    if (iid == IID_IUnknown || iid == __uuidof(IShellView)) return static_cast<IShellView*>(this);
    if (iid == __uuidof(IFolderView)) return static_cast<IFolderView*>(this);
    if (iid == __uuidof(IPersistFolder2)) return static_cast<IPersistFolder2*>(this);
    return nullptr;
  }
  OwnedPidl folder_;
};

// How a browser answers.
struct BrowserSetup {
  HWND window = nullptr;          // its top-level window
  HWND tab = nullptr;             // the window it names as its own
  std::wstring folder;            // the path its view shows; empty: no folder
  HRESULT windowAnswer = S_OK;    // IWebBrowser2::get_HWND
  HRESULT serviceAnswer = S_OK;   // IServiceProvider::QueryService(SID_STopLevelBrowser)
  HRESULT viewAnswer = S_OK;      // IShellBrowser::QueryActiveShellView
  HRESULT browseAnswer = S_OK;    // IShellBrowser::BrowseObject
  HRESULT navigateAnswer = S_OK;  // IWebBrowser2::Navigate2
  HANDLE holdUntil = nullptr;     // get_HWND waits until this event is set
};

class FakeBrowser final : public WithoutDispatch<IWebBrowser2>,
                          public IServiceProvider,
                          public IShellBrowser {
 public:
  explicit FakeBrowser(BrowserSetup setup) : setup_(std::move(setup)) {}
  FOLVANE_COUNTED_OBJECT

  std::atomic<int> windowQuestions{0};  // get_HWND calls
  std::atomic<int> browsed{0};          // BrowseObject calls
  std::atomic<UINT> browseFlags{0};     // the last one's flags
  std::atomic<bool> browsedWithItem{false};
  std::atomic<int> navigated{0};  // Navigate2 calls
  // The last one's: the item id list it was given as bytes (empty when given otherwise), and
  // whether its flags or frame asked for another window or tab.
  std::vector<BYTE> navigatedTo;
  bool navigatedElsewhere = false;

  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override {
    ++windowQuestions;
    if (setup_.holdUntil) WaitForSingleObject(setup_.holdUntil, INFINITE);
    *window = reinterpret_cast<SHANDLE_PTR>(setup_.window);
    return setup_.windowAnswer;
  }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override {
    *object = nullptr;
    if (FAILED(setup_.serviceAnswer)) return setup_.serviceAnswer;
    if (service != SID_STopLevelBrowser) return E_NOINTERFACE;
    return QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = setup_.tab;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
    *view = nullptr;
    if (FAILED(setup_.viewAnswer)) return setup_.viewAnswer;
    *view = new FakeView(setup_.folder);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE item, UINT flags) override {
    ++browsed;
    browseFlags = flags;
    browsedWithItem = item != nullptr;
    return setup_.browseAnswer;
  }

  // Not asked by the program: the rest of the interfaces.
  HRESULT STDMETHODCALLTYPE GoBack() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoForward() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoHome() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GoSearch() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Navigate(BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Quit() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* target, VARIANT* flags, VARIANT* frame, VARIANT*,
                                      VARIANT*) override {
    ++navigated;
    navigatedTo.clear();
    if (target && V_VT(target) == (VT_ARRAY | VT_UI1) && V_ARRAY(target)) {
      const BYTE* bytes = static_cast<const BYTE*>(V_ARRAY(target)->pvData);
      navigatedTo.assign(bytes, bytes + V_ARRAY(target)->rgsabound[0].cElements);
    }
    const bool flagged = flags && V_VT(flags) == VT_I4 && V_I4(flags) != 0;
    const bool framed = frame && V_VT(frame) == VT_BSTR && V_BSTR(frame) && *V_BSTR(frame);
    navigatedElsewhere = flagged || framed;
    return setup_.navigateAnswer;
  }
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }

 private:
  void* interfaceFor(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IWebBrowser2) ||
        iid == __uuidof(IWebBrowserApp) || iid == __uuidof(IWebBrowser))
      return static_cast<IWebBrowser2*>(this);
    if (iid == __uuidof(IServiceProvider)) return static_cast<IServiceProvider*>(this);
    if (iid == __uuidof(IShellBrowser) || iid == __uuidof(IOleWindow))
      return static_cast<IShellBrowser*>(this);
    return nullptr;
  }
  BrowserSetup setup_;
};

class FakeShellWindows final : public WithoutDispatch<IShellWindows> {
 public:
  explicit FakeShellWindows(std::vector<ComPtr<FakeBrowser>> browsers, HRESULT countAnswer = S_OK)
      : browsers_(std::move(browsers)), countAnswer_(countAnswer) {}
  FOLVANE_COUNTED_OBJECT

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    *count = FAILED(countAnswer_) ? 0 : static_cast<LONG>(browsers_.size());
    return countAnswer_;
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** item) override {
    *item = nullptr;
    if (V_VT(&index) != VT_I4 || V_I4(&index) < 0 ||
        V_I4(&index) >= static_cast<LONG>(browsers_.size()))
      return E_INVALIDARG;
    *item = static_cast<IWebBrowser2*>(browsers_[V_I4(&index)].get());
    (*item)->AddRef();
    return S_OK;
  }

  // Not asked by the program: the rest of the interfaces.
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int,
                                         IDispatch**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

 private:
  void* interfaceFor(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IShellWindows))
      return static_cast<IShellWindows*>(this);
    return nullptr;
  }
  std::vector<ComPtr<FakeBrowser>> browsers_;
  HRESULT countAnswer_;
};

#undef FOLVANE_COUNTED_OBJECT

}  // namespace folvane::shell_fakes
