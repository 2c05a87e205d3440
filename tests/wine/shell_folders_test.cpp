// The program's walk over the Shell's list of its windows, against stand-ins for the Shell's
// objects made in this test (tests/wine/shell_fakes.h), with real folders and a real window whose
// tab windows lie in a chosen z order. Wine 8's own list cannot be walked (its get_Count and Item
// answer E_NOTIMPL), so this is how the walk is proven here; against the real Shell it is proven
// on Windows alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_shell_asker.h"
#include "platform/win32/win32_shell_folders.h"
#include "platform/win32/win32_text.h"
#include "tests/wine/shell_fakes.h"

namespace folvane {
namespace {

using shell_fakes::BrowserSetup;
using shell_fakes::FakeBrowser;
using shell_fakes::FakeShellWindows;

void registerClass(const wchar_t* name) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);  // fails harmlessly when registered already
}

// Polls `done` every 10 ms, for five seconds at most.
bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

// Three folders of the file system, a folder window with a tab window for each, and another folder
// window. The list's browsers: first one of the other window, then one per tab, in tab order.
class ShellFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The Shell's item ids are parsed and named on this thread.
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"folvane_shell_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root_.c_str(), nullptr);
    for (const std::wstring& name : names) {
      folders.push_back(root_ + L"\\" + name);
      ASSERT_TRUE(CreateDirectoryW(folders.back().c_str(), nullptr) ||
                  GetLastError() == ERROR_ALREADY_EXISTS);
    }
    registerClass(L"CabinetWClass");
    registerClass(L"ShellTabWindowClass");
    window.reset(CreateWindowExW(0, L"CabinetWClass", L"営業 とその他 2 のタブ - エクスプローラー",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr));
    other.reset(CreateWindowExW(0, L"CabinetWClass", L"Public", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window && other);
    for (HWND& tab : tabs) {
      tab = CreateWindowExW(0, L"ShellTabWindowClass", L"", WS_CHILD, 0, 0, 300, 200, window.get(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
      ASSERT_TRUE(tab);
    }
    // As Windows 11 shows a window of three tabs: the active one (the second) alone is visible,
    // first in z order.
    arrangeTabs({2, 0, 1}, {false, true, false});
  }
  void TearDown() override {
    window.reset();
    other.reset();
    for (const std::wstring& folder : folders) RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(root_.c_str());
    if (com_) CoUninitialize();
  }

  // Stacks the tab windows bottom to top in `bottomUp` and shows those marked visible.
  void arrangeTabs(const std::vector<int>& bottomUp, const std::vector<bool>& visible) {
    for (int tab : bottomUp) {
      SetWindowPos(tabs[tab], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (std::size_t tab = 0; tab < visible.size(); ++tab)
      ShowWindow(tabs[tab], visible[tab] ? SW_SHOWNA : SW_HIDE);
  }
  // How the browsers answer unless a case says otherwise.
  std::vector<BrowserSetup> setups() const {
    std::vector<BrowserSetup> all(4);
    all[0].window = other.get();
    all[0].tab = nullptr;
    all[0].folder = folders[2];
    for (int tab = 0; tab < 3; ++tab) {
      all[tab + 1].window = window.get();
      all[tab + 1].tab = tabs[tab];
      all[tab + 1].folder = folders[tab];
    }
    return all;
  }
  ComPtr<FakeShellWindows> list(const std::vector<BrowserSetup>& answers,
                                HRESULT countAnswer = S_OK) {
    browsers.clear();
    for (const BrowserSetup& answer : answers) browsers.emplace_back(new FakeBrowser(answer));
    return ComPtr<FakeShellWindows>(new FakeShellWindows(browsers, countAnswer));
  }
  // A source for ShellAsker that hands out `lists` in turn, the last one from then on.
  ShellAsker::Source source(std::vector<ComPtr<FakeShellWindows>> lists) {
    return [this, lists] {
      const ComPtr<FakeShellWindows>& next =
          lists[std::min<std::size_t>(sourced, lists.size() - 1)];
      ++sourced;
      next->AddRef();
      return ComPtr<IShellWindows>(next.get());
    };
  }

  const std::vector<std::wstring> names = {L"経理", L"営業", L"Public"};
  std::vector<std::wstring> folders;
  OwnedWindow window, other;
  HWND tabs[3] = {};
  std::vector<ComPtr<FakeBrowser>> browsers;  // of the last list made
  std::atomic<int> sourced{0};
  std::wstring root_;  // the folder above the three

 private:
  bool com_ = false;
};

TEST_F(ShellFoldersTest, TheActiveTabIsTheVisibleTabWindowFirstInZOrder) {
  struct Case {
    const char* why;
    std::vector<int> bottomUp;
    std::vector<bool> visible;
    int active;  // the tab whose folder is given; -1: none can be told
  } cases[] = {
      {"one visible tab, first in z order", {2, 0, 1}, {false, true, false}, 1},
      {"one visible tab, last in z order", {2, 0, 1}, {false, false, true}, 2},
      {"the first of the visible tabs", {1, 2, 0}, {true, true, true}, 0},
      {"hidden tabs above it are passed over", {1, 0, 2}, {true, true, false}, 0},
      {"no visible tab: three browsers cannot be told apart", {0, 1, 2}, {false, false, false}, -1},
  };
  const ComPtr<FakeShellWindows> shellWindows = list(setups());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    arrangeTabs(c.bottomUp, c.visible);
    EXPECT_EQ(ActiveTabOf(window.get()), c.active < 0 ? nullptr : tabs[c.active]);
    const std::optional<ShellFolderAnswer> answer = FolderShownIn(shellWindows.get(), window.get());
    if (c.active < 0) {
      EXPECT_FALSE(answer);
      continue;
    }
    ASSERT_TRUE(answer);
    EXPECT_EQ(narrow(answer->displayName), narrow(names[c.active]));
    EXPECT_EQ(narrow(answer->path), narrow(folders[c.active]));
    EXPECT_EQ(answer->tab, tabs[c.active]);
    EXPECT_EQ(answer->tabs, 3);
  }
}

// A browser that errs anywhere, or gives nothing, never gives a folder: the program then takes
// the folder from the window's title.
TEST_F(ShellFoldersTest, ABrowserThatErrsOrGivesNothingGivesNoFolder) {
  struct Case {
    const char* why;
    std::function<void(std::vector<BrowserSetup>&)> change;
    HRESULT countAnswer;
    bool answered;  // the active tab's folder (営業) is given all the same
  } cases[] = {
      {"as asked", [](std::vector<BrowserSetup>&) {}, S_OK, true},
      {"a list that cannot be counted, as Wine's own", [](std::vector<BrowserSetup>&) {}, E_NOTIMPL,
       false},
      {"a browser of another window that errs",
       [](std::vector<BrowserSetup>& all) { all[0].windowAnswer = E_FAIL; }, S_OK, true},
      {"an inactive tab that is no shell browser",
       [](std::vector<BrowserSetup>& all) { all[1].serviceAnswer = E_NOINTERFACE; }, S_OK, true},
      {"the active tab that is no shell browser",
       [](std::vector<BrowserSetup>& all) { all[2].serviceAnswer = E_NOINTERFACE; }, S_OK, false},
      {"the active tab without a view",
       [](std::vector<BrowserSetup>& all) { all[2].viewAnswer = E_FAIL; }, S_OK, false},
      {"the active tab's view without a folder",
       [](std::vector<BrowserSetup>& all) { all[2].folder.clear(); }, S_OK, false},
      {"two browsers naming the active tab",
       [](std::vector<BrowserSetup>& all) { all[3].tab = all[2].tab; }, S_OK, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<BrowserSetup> answers = setups();
    c.change(answers);
    const ComPtr<FakeShellWindows> shellWindows = list(answers, c.countAnswer);
    HRESULT listed = S_OK;
    const std::optional<ShellFolderAnswer> answer =
        FolderShownIn(shellWindows.get(), window.get(), &listed);
    EXPECT_EQ(listed, c.countAnswer);
    ASSERT_EQ(answer.has_value(), c.answered);
    if (answer) {
      EXPECT_EQ(narrow(answer->displayName), "営業");
    }
  }
}

// Windows 10 shows one browser a window; without tab windows, a window of one browser is that
// browser's, and one of two cannot be told.
TEST_F(ShellFoldersTest, AWindowWithoutTabWindowsIsItsOnlyBrowsers) {
  OwnedWindow plain(CreateWindowExW(0, L"CabinetWClass", L"経理", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    0, 0, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                    nullptr));
  std::vector<BrowserSetup> answers = setups();
  answers[1].window = plain.get();
  answers[1].tab = plain.get();
  std::optional<ShellFolderAnswer> answer = FolderShownIn(list(answers).get(), plain.get());
  ASSERT_TRUE(answer);
  EXPECT_EQ(narrow(answer->displayName), "経理");
  EXPECT_EQ(answer->tabs, 1);

  answers[2].window = plain.get();
  EXPECT_FALSE(FolderShownIn(list(answers).get(), plain.get()));
}

TEST_F(ShellFoldersTest, OnlyTheActiveTabLeavesItsFolderForTheOneAbove) {
  const ComPtr<FakeShellWindows> shellWindows = list(setups());
  EXPECT_FALSE(LeaveFolderIn(shellWindows.get(), window.get(), tabs[0])) << "an inactive tab";
  EXPECT_FALSE(LeaveFolderIn(shellWindows.get(), other.get(), tabs[1])) << "another window";
  for (const ComPtr<FakeBrowser>& browser : browsers) EXPECT_EQ(browser->browsed, 0);

  EXPECT_TRUE(LeaveFolderIn(shellWindows.get(), window.get(), tabs[1]));
  EXPECT_EQ(browsers[2]->browsed, 1);
  EXPECT_EQ(browsers[2]->browseFlags, static_cast<UINT>(SBSP_PARENT | SBSP_SAMEBROWSER));
  EXPECT_FALSE(browsers[2]->browsedWithItem);
  EXPECT_EQ(browsers[1]->browsed + browsers[3]->browsed + browsers[0]->browsed, 0);

  EXPECT_EQ(browsers[2]->navigated, 0) << "navigated as well";
}

// Current Explorers may refuse BrowseObject from another process: the tab is then navigated to
// the folder above, in its own tab, and only a browser that refuses that too leaves the program
// to close the window.
TEST_F(ShellFoldersTest, ABrowserThatRefusesBrowseObjectIsNavigatedToTheFolderAbove) {
  struct Case {
    const char* why;
    HRESULT browse, navigate;
    bool noFolder;
    bool left;
    int navigations;
  } cases[] = {
      {"BrowseObject taken", S_OK, S_OK, false, true, 0},
      {"BrowseObject refused, Navigate2 taken", E_ACCESSDENIED, S_OK, false, true, 1},
      {"both refused", E_FAIL, E_FAIL, false, false, 1},
      {"BrowseObject refused by a view that gives no folder", E_FAIL, S_OK, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<BrowserSetup> answers = setups();
    answers[2].browseAnswer = c.browse;
    answers[2].navigateAnswer = c.navigate;
    if (c.noFolder) answers[2].folder.clear();
    EXPECT_EQ(LeaveFolderIn(list(answers).get(), window.get(), tabs[1]), c.left);
    EXPECT_EQ(browsers[2]->browsed, 1);
    EXPECT_EQ(browsers[2]->navigated, c.navigations);
    EXPECT_EQ(browsers[1]->navigated + browsers[3]->navigated + browsers[0]->navigated, 0);
    if (c.navigations == 0) continue;
    // Item id lists as bytes: the whole list, and its path is the folder above.
    const std::vector<BYTE>& bytes = browsers[2]->navigatedTo;
    ASSERT_FALSE(bytes.empty()) << "not given an item id list";
    const auto folder = reinterpret_cast<PCIDLIST_ABSOLUTE>(bytes.data());
    EXPECT_EQ(ILGetSize(folder), bytes.size());
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetPathFromIDListW(folder, path));
    EXPECT_EQ(narrow(path), narrow(root_)) << "not the folder above";
    EXPECT_FALSE(browsers[2]->navigatedElsewhere) << "to another window or tab";
  }
}

// The asker on its own thread: a browser that holds up whoever asks it is given up, nothing more
// is asked meanwhile, and once it answers again the next question is answered.
TEST_F(ShellFoldersTest, AShellThatHangsIsGivenUpAndAskedAgainOnceItAnswers) {
  OwnedHandle letGo(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::vector<BrowserSetup> answers = setups();
  answers[0].holdUntil = letGo.get();
  ShellAsker asker(source({list(answers)}));
  const ComPtr<FakeBrowser> held = browsers[0];

  EXPECT_FALSE(asker.folderShownBy(window.get()));
  ASSERT_TRUE(eventually([&] { return held->windowQuestions == 1; })) << "never asked";
  EXPECT_FALSE(asker.folderShownBy(window.get())) << "answered while the Shell hangs";
  EXPECT_FALSE(asker.leaveFolder(window.get(), tabs[1]));
  EXPECT_EQ(held->windowQuestions, 1) << "asked again while the first question hangs";
  EXPECT_EQ(browsers[2]->browsed, 0);

  SetEvent(letGo.get());
  std::optional<ShellFolderAnswer> answer;
  // Generous waits from here: a loaded machine may take its time to name the folder.
  ASSERT_TRUE(
      eventually([&] { return (answer = asker.folderShownBy(window.get(), 1000)).has_value(); }));
  EXPECT_EQ(narrow(answer->displayName), "営業");
  EXPECT_TRUE(asker.leaveFolder(window.get(), tabs[1], 1000));
  EXPECT_EQ(browsers[2]->browsed, 1);
  EXPECT_EQ(sourced, 1) << "the list is made once";
}

// A list whose Shell has gone (the file manager restarted) is made again for the next question;
// one that merely cannot be counted, as Wine's own, is kept.
TEST_F(ShellFoldersTest, AListFromAShellThatWentIsMadeAgain) {
  const ComPtr<FakeShellWindows> gone = list(setups(), RPC_E_DISCONNECTED);
  const ComPtr<FakeShellWindows> working = list(setups());
  ShellAsker asker(source({gone, working}));
  auto ask = [&] {
    std::optional<ShellFolderAnswer> answer;
    // Generous waits: a loaded machine may be slow to start the asking thread.
    eventually([&] { return (answer = asker.folderShownBy(window.get(), 1000)).has_value(); });
    return answer;
  };
  const std::optional<ShellFolderAnswer> answer = ask();
  ASSERT_TRUE(answer);
  EXPECT_EQ(narrow(answer->displayName), "営業");
  EXPECT_EQ(sourced, 2);

  ShellAsker keeping(source({list(setups(), E_NOTIMPL)}));
  sourced = 0;
  EXPECT_FALSE(keeping.folderShownBy(window.get(), 1000));
  EXPECT_FALSE(keeping.folderShownBy(window.get(), 1000));
  EXPECT_EQ(sourced, 1);
}

// Made ready at the program's start, the list is there for the first question.
TEST_F(ShellFoldersTest, APreparedAskerHasTheListReadyForTheFirstQuestion) {
  ShellAsker asker(source({list(setups())}));
  asker.prepare();
  ASSERT_TRUE(eventually([&] { return sourced == 1; }));
  std::optional<ShellFolderAnswer> answer;
  ASSERT_TRUE(
      eventually([&] { return (answer = asker.folderShownBy(window.get(), 1000)).has_value(); }));
  EXPECT_EQ(narrow(answer->displayName), "営業");
  EXPECT_EQ(sourced, 1);
}

// The program itself under Wine: the Shell's own list says nothing of a folder window, and the
// program goes by the whole title instead.
TEST_F(ShellFoldersTest, UnderWineTheShellSaysNothingAndTheWholeTitleIsRead) {
  Win32Platform platform;
  const WindowId id = reinterpret_cast<WindowId>(window.get());
  EXPECT_FALSE(platform.folderShownBy(id));
  EXPECT_FALSE(platform.folderShownBy(id)) << "a second question";
  EXPECT_FALSE(platform.leaveFolder(id, reinterpret_cast<WindowId>(tabs[1])));
  EXPECT_EQ(platform.windowTitle(id), "営業 とその他 2 のタブ - エクスプローラー");
}

}  // namespace
}  // namespace folvane
