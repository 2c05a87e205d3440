#include "app/list_editing.h"

#include <optional>

#include "app/list_refresh.h"
#include "dialogs/messages.h"
#include "store/data_files.h"
#include "store/ini_rewrite.h"
#include "store/protected_list.h"

namespace folvane {

namespace {

constexpr char kNoFolder[] = "フォルダを選択していません。";
constexpr char kEmptyTitle[] = "このフォームにはパスワードを設定することはできません。";
constexpr char kKeyNotStorable[] = "このフォルダ名はパスワードリストに登録できません。";
constexpr char kNoPassword[] = "パスワードが設定されていません。";
constexpr char kBadCount[] =
    "パスワードリストの登録数が正しくないため、変更できません。PassDat.ini を確認して下さい。";
constexpr char kDeleteNotice[] = "選択したデータを削除します。";
constexpr char kDeleteQuestion[] = "をパスワードリストから削除してもよろしいですか？";

bool hasSelectedRow(const ListBox& list) {
  int index = list.listIndex();
  return index >= 0 && index < static_cast<int>(list.items().size());
}

}  // namespace

ListEditing::ListEditing(Platform& platform, TextBox& text, ListBox& list1, Label& label1,
                         LoginForm& login, ProcessWide& strings)
    : platform_(platform),
      text_(text),
      list1_(list1),
      label1_(label1),
      login_(login),
      strings_(strings) {}

void ListEditing::AddFolder() {
  // One copy: the sampler may rewrite the box while the password dialog waits.
  const std::string activeForm = text_.text();
  if (activeForm.empty()) return;

  const std::string windowClass = WindowClassOf(activeForm);
  if (activeForm.find('(') == std::string::npos ||
      !(IsFolderWindowClass(windowClass) || IsFolderTreeWindowClass(windowClass))) {
    ShowMessage(platform_, kNoFolder);
    return;
  }
  if (NamesUntitledWindow(activeForm)) {
    ShowMessage(platform_, kEmptyTitle);
    return;
  }
  // Ask for no password for a folder the data file could not hold.
  std::optional<std::string> key = FolderKeyOf(activeForm);
  if (!key || !FolderKeyStorable(*key)) {
    ShowMessage(platform_, kKeyNotStorable);
    return;
  }

  // A folder already listed has a lock password, and replacing it must not be easier than
  // opening the folder: the user password is asked first. A wrong answer ends it silently.
  if (ProtectedFolderListed(platform_, *key) &&
      login_.Ask(kPromptUserPassword) != strings_.UserPassword) {
    return;
  }

  const std::string password = login_.Ask(kPromptLockPassword);
  if (password.empty()) {
    ShowMessage(platform_, kNoPassword);
    return;
  }
  // A password that does not come back from its code could never open the folder again.
  if (!PasswordSurvivesCode(platform_, password)) {
    ShowMessage(platform_, kPasswordUnusable);
    return;
  }
  std::optional<std::string> code = EncodePassword(platform_, password);
  if (!code) return;  // only the empty password has no code, and it was refused above

  AddResult added = AddProtectedFolder(platform_, *key, *code);
  if (added == AddResult::BadCount) {
    ShowMessage(platform_, kBadCount);
    return;
  }
  if (added == AddResult::WriteFailed) ShowMessage(platform_, kListNotSaved);
  RefreshProtectedList(platform_, list1_);
}

void ListEditing::DeleteEntry() {
  // A double-click on an empty list, or with no row selected, has nothing to delete.
  if (!hasSelectedRow(list1_)) return;

  ShowMessage(platform_, kDeleteNotice);
  if (login_.Ask(kPromptUserPassword) != strings_.UserPassword) return;

  // The row is read only now, after the password was given.
  if (!hasSelectedRow(list1_)) return;
  const std::string key = list1_.items()[list1_.listIndex()];
  if (!AskYesNo(platform_, key + kDeleteQuestion)) return;

  RemoveResult removed = RemoveProtectedFolder(platform_, key);
  if (removed == RemoveResult::BadCount) {
    ShowMessage(platform_, kBadCount);
    return;
  }
  if (removed == RemoveResult::WriteFailed) ShowMessage(platform_, kListNotSaved);
  RefreshProtectedList(platform_, list1_);

  label1_.setCaption(CountLabelText(
      IniRead(platform_, kSectionPasswordNumber, kKeyPassCount, "0", DataFilePath(platform_))));
}

}  // namespace folvane
