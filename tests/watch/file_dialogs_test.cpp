// Other programs' Open and Save dialogs: which folder the sampler reads from their windows, what
// the box shows of them, and the lock check that challenges a listed folder in one.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/captions.h"
#include "tests/support/program_fixture.h"

namespace folvane {
namespace {

constexpr char kWrong[] = "パスワードが正しくありません。";

// 経理 is locked with "abc" (116117118), 営業 with "xyz" (139140141), the drive C:\ with "def".
constexpr char kList[] =
    "[PasswordSetData]\r\n"
    "経理=116117118\r\n"
    "営業=139140141\r\n"
    "C:\\=119120121\r\n"
    "[PasswordNumber]\r\n"
    "PassCount=3\r\n";

// The windows of a common item dialog that name its folder.
struct ItemDialog {
  WindowId dialog = 0;
  WindowId breadcrumb = 0;  // titled "アドレス: ..." and the folder
  WindowId edit = 0;        // the address box, holding the path while it has the focus
  WindowId fileName = 0;    // the file-name box of a Save dialog
};

// A common item dialog as Windows 10 and 11 build it: the address band, the folder's view and a
// Save dialog's file-name box, which is no address box.
ItemDialog commonItemDialog(FakePlatform& platform, const std::string& address,
                            bool folderView = true) {
  ItemDialog made;
  made.dialog = platform.addWindow("#32770", "名前を付けて保存");
  const WindowId band = platform.addChild(
      platform.addChild(platform.addChild(made.dialog, "WorkerW"), "ReBarWindow32"),
      "Address Band Root");
  const WindowId progress = platform.addChild(band, "msctls_progress32");
  made.breadcrumb = platform.addChild(platform.addChild(progress, "Breadcrumb Parent"),
                                      "ToolbarWindow32", address);
  made.edit = platform.addChild(
      platform.addChild(platform.addChild(progress, "ComboBoxEx32"), "ComboBox"), "Edit");
  const WindowId ui =
      platform.addChild(platform.addChild(made.dialog, "DUIViewWndClassName"), "DirectUIHWND");
  if (folderView) platform.addChild(platform.addChild(ui, "CtrlNotifySink"), "SHELLDLL_DefView");
  made.fileName = platform.addChild(
      platform.addChild(platform.addChild(ui, "FloatNotifySink"), "ComboBox", "", 1001), "Edit");
  platform.windowState(made.fileName).content = "C:\\共有\\経理";
  platform.addChild(made.dialog, "Button", "保存(&S)", 1);
  platform.addChild(made.dialog, "Button", "キャンセル", 2);
  return made;
}

// The classic dialog: the look-in combo box (1137) with its current item, and the folder's view.
WindowId classicDialog(FakePlatform& platform, std::optional<std::string> lookIn,
                       bool folderView = true) {
  const WindowId dialog = platform.addWindow("#32770", "開く");
  platform.addChild(dialog, "Static", "ファイルの場所(&I):", 1091);
  platform.windowState(platform.addChild(dialog, "ComboBox", "", 1137)).comboItem = lookIn;
  if (folderView) platform.addChild(dialog, "SHELLDLL_DefView", "", 1121);
  platform.addChild(dialog, "Edit", "", 1152);
  platform.addChild(dialog, "Button", "開く(&O)", 1);
  platform.addChild(dialog, "Button", "キャンセル", 2);
  return dialog;
}

class FileDialogsTest : public ProgramFixture {
 protected:
  void SetUp() override {
    writeFile("PassDat.ini", kList);
    platform.windowsCloseOnRequest = false;  // keep cancelled dialogs observable
    ASSERT_TRUE(startResident());
  }
  std::string box() { return scan().Text.text(); }
  void tick() { toolkit.advance(scan().Timer1.interval()); }
  // A window that is not challenged comes forward: the next dialog is decided afresh.
  void between() { open("Notepad", "between"); }
};

TEST_F(FileDialogsTest, EveryDialogTreeGivesItsFolderAndKey) {
  struct Case {
    const char* why;
    std::function<WindowId()> make;
    std::string box;                 // what the active-form box shows
    std::optional<std::string> key;  // challenged under this key, or not at all
    std::string password;
  };
  const Case cases[] = {
      {"common item dialog, Japanese",
       [&] { return commonItemDialog(platform, "アドレス: C:\\共有\\経理").dialog; },
       "#32770 (C:\\共有\\経理)", "経理", "abc"},
      {"common item dialog, English",
       [&] { return commonItemDialog(platform, "Address: D:\\dir1\\営業").dialog; },
       "#32770 (D:\\dir1\\営業)", "営業", "xyz"},
      {"the address box has the focus: what it holds",
       [&] {
         const ItemDialog made = commonItemDialog(platform, "アドレス: C:\\共有");
         platform.windowState(made.edit).content = "C:\\共有\\営業";
         platform.focused = made.edit;
         return made.dialog;
       },
       "#32770 (C:\\共有\\営業)", "営業", "xyz"},
      {"the address box does not answer: the breadcrumb",
       [&] {
         const ItemDialog made = commonItemDialog(platform, "アドレス: C:\\共有\\経理");
         platform.windowState(made.edit).content = "C:\\共有";
         platform.windowState(made.edit).hung = true;
         platform.focused = made.edit;
         return made.dialog;
       },
       "#32770 (C:\\共有\\経理)", "経理", "abc"},
      {"the file-name box has the focus: the breadcrumb",
       [&] {
         const ItemDialog made = commonItemDialog(platform, "アドレス: C:\\共有");
         platform.focused = made.fileName;
         return made.dialog;
       },
       "#32770 (C:\\共有)", std::nullopt, ""},
      {"a network path",
       [&] { return commonItemDialog(platform, "Address: \\\\server\\share\\経理").dialog; },
       "#32770 (\\\\server\\share\\経理)", "経理", "abc"},
      {"a drive root", [&] { return commonItemDialog(platform, "Address: C:\\").dialog; },
       "#32770 (C:\\)", "C:\\", "def"},
      {"a folder with no path, unlisted",
       [&] { return commonItemDialog(platform, "Address: This PC").dialog; }, "#32770 (This PC)",
       std::nullopt, ""},
      {"classic dialog: the look-in box's item", [&] { return classicDialog(platform, "経理"); },
       "#32770 (経理)", "経理", "abc"},
      {"classic dialog with no current item", [&] { return classicDialog(platform, {}); },
       "#32770 (開く)", std::nullopt, ""},
      {"a look-in box without a folder's view is no file dialog",
       [&] { return classicDialog(platform, "経理", false); }, "#32770 (開く)", std::nullopt, ""},
      {"an address band without a folder's view is no file dialog",
       [&] { return commonItemDialog(platform, "アドレス: C:\\共有\\経理", false).dialog; },
       "#32770 (名前を付けて保存)", std::nullopt, ""},
      // It is not even shown: the box keeps the window that was in front before it.
      {"the program's own dialog is never a file dialog",
       [&] {
         const WindowId own = classicDialog(platform, "経理");
         platform.windowState(own).own = true;
         return own;
       },
       "Notepad (between)", std::nullopt, ""},
      {"another class with the same windows inside",
       [&] {
         const WindowId other = classicDialog(platform, "経理");
         platform.windowState(other).className = "Notepad";
         return other;
       },
       "Notepad (開く)", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    between();
    platform.focused = 0;
    platform.messages.clear();
    const int before = dialogs();
    const WindowId dialog = c.make();
    std::optional<std::string> cover;
    if (c.key) answerPassword(Answer{c.password, [&] { cover = coverOf(dialog); }});
    front(dialog);
    EXPECT_EQ(box(), c.box);
    EXPECT_EQ(dialogs(), before + (c.key ? 1 : 0));
    if (c.key) {
      EXPECT_EQ(cover, "「" + *c.key + "」はロックされています");
    }
    EXPECT_TRUE(enabled(dialog));
    EXPECT_EQ(platform.windowState(dialog).cancelRequests, 0);
    EXPECT_TRUE(platform.messages.empty());
  }
}

TEST_F(FileDialogsTest, AWrongAnswerOrCancelCancelsTheDialogAndARightOneGivesItBack) {
  struct Case {
    const char* why;
    Answer answer;
    bool right;
  } cases[] = {
      {"right", Typed("abc"), true},
      {"wrong", Typed("abd"), false},
      {"cancel", Cancelled(), false},
      {"empty", Typed(""), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    between();
    platform.messages.clear();
    const WindowId dialog = classicDialog(platform, "経理");
    answerPassword(Answer{c.answer.password, [&] {
                            EXPECT_FALSE(enabled(dialog));
                            EXPECT_TRUE(coverOf(dialog));
                          }});
    front(dialog);
    EXPECT_TRUE(enabled(dialog));
    EXPECT_FALSE(scan().isVisible());
    EXPECT_EQ(messagesSaying(kWrong), c.right ? 0 : 1);
    // A dialog is cancelled as its own Cancel button does, never closed: the program that opened
    // it takes a close for something else.
    EXPECT_EQ(platform.windowState(dialog).cancelRequests, c.right ? 0 : 1);
    EXPECT_EQ(platform.windowState(dialog).closeRequests, 0);
    EXPECT_EQ(platform.setForegroundCalls.back(), dialog);
    EXPECT_EQ(coverOf(dialog).has_value(), !c.right);
    if (!c.right) {
      platform.destroyWindow(dialog);
      toolkit.advance(300);
      EXPECT_FALSE(coverOf(dialog)) << "the cover outlived the dialog";
    }
  }
}

// The dialog keeps its title from folder to folder: the folder is read at every tick, and its
// windows are walked only when it comes forward.
TEST_F(FileDialogsTest, ADialogMovingIntoAListedFolderIsChallengedForEachFolder) {
  const ItemDialog made = commonItemDialog(platform, "アドレス: C:\\共有");
  front(made.dialog);
  EXPECT_EQ(box(), "#32770 (C:\\共有)");
  const int walked = platform.childReads;
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_EQ(platform.childReads, walked) << "the dialog's windows were walked again";
  EXPECT_EQ(dialogs(), 0);

  typePassword("abc");
  platform.setTitle(made.breadcrumb, "アドレス: C:\\共有\\経理");
  tick();
  EXPECT_EQ(dialogs(), 1);
  EXPECT_TRUE(enabled(made.dialog));
  for (int i = 0; i < 5; ++i) tick();
  EXPECT_EQ(dialogs(), 1) << "a dialog given back for its folder is asked again";

  // Given back for 経理, the dialog goes on into 営業: that folder is asked for, and a wrong
  // answer cancels the dialog.
  typePassword("abc");
  platform.setTitle(made.breadcrumb, "アドレス: C:\\共有\\営業");
  tick();
  EXPECT_EQ(dialogs(), 2);
  EXPECT_EQ(coverOf(made.dialog), "「営業」はロックされています");
  EXPECT_EQ(platform.windowState(made.dialog).cancelRequests, 1);
  EXPECT_EQ(messagesSaying(kWrong), 1);
}

// The address bar renamed to another folder is an event about a window inside the dialog in
// front: the dialog is decided on it at once, without waiting for a tick; the same event about a
// dialog that is not in front decides nothing.
TEST_F(FileDialogsTest, TheAddressBarRenamedDecidesAtOnce) {
  const ItemDialog behind = commonItemDialog(platform, "アドレス: C:\\共有");
  const ItemDialog made = commonItemDialog(platform, "アドレス: C:\\共有");
  front(made.dialog);
  ASSERT_EQ(dialogs(), 0);

  platform.setTitle(behind.breadcrumb, "アドレス: C:\\共有\\経理");
  platform.raiseWindowEvent(behind.breadcrumb);
  EXPECT_EQ(dialogs(), 0);

  typePassword("abc");
  platform.setTitle(made.breadcrumb, "アドレス: C:\\共有\\経理");
  platform.raiseWindowEvent(made.breadcrumb);
  EXPECT_EQ(dialogs(), 1) << "decided on the event, the clock not moved";
  EXPECT_TRUE(enabled(made.dialog));
}

// A dialog that did not go when it was cancelled is asked again once its cover's time is up.
TEST_F(FileDialogsTest, ADialogThatStaysAfterItsCancelIsAskedAgain) {
  const WindowId dialog = classicDialog(platform, "経理");
  typePassword("wrong");
  front(dialog);
  ASSERT_EQ(platform.windowState(dialog).cancelRequests, 1);
  typePassword("abc");
  toolkit.advance(3300);
  EXPECT_EQ(dialogs(), 2);
  EXPECT_TRUE(enabled(dialog));
  EXPECT_FALSE(coverOf(dialog));
}

// The box shows a file dialog's folder, and adding takes it from there as from a folder window.
TEST_F(FileDialogsTest, AFolderIsAddedFromTheDialogInTheBox) {
  const WindowId dialog = classicDialog(platform, "人事");
  front(dialog);
  ASSERT_EQ(box(), "#32770 (人事)");
  scan().show();
  front(scan().window());
  typePassword("pay");
  scan().Button4.click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(scan().List1.items(), (std::vector<std::string>{"経理", "営業", "C:\\", "人事"}));

  typePassword("pay");
  between();
  front(dialog);
  EXPECT_EQ(prompts.back(), kPromptLockPassword);
  EXPECT_EQ(dialogs(), 2);
}

}  // namespace
}  // namespace folvane
