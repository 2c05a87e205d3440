#include "app/list_editing.h"

#include <optional>

#include "app/list_refresh.h"
#include "dialogs/messages.h"
#include "dialogs/user_password.h"
#include "store/folder_key.h"
#include "store/password_code.h"
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
// When the count could not be written and the file could not be put back either: the list may
// hold the change after all, and the user must not be told otherwise.
constexpr char kAddMayBeStored[] =
    "パスワードリストを保存できませんでした。追加したフォルダがパスワードリストに残っている"
    "可能性があります。一覧を確認して下さい。";
constexpr char kRemoveMayBeStored[] =
    "パスワードリストを保存できませんでした。削除したフォルダがパスワードリストから消えている"
    "可能性があります。一覧を確認して下さい。";
constexpr char kDeleteQuestion[] = "をパスワードリストから削除してもよろしいですか？";

bool hasSelectedRow(const ListBox& list) {
  int index = list.listIndex();
  return index >= 0 && index < static_cast<int>(list.items().size());
}

}  // namespace

ListEditing::ListEditing(Platform& platform, const Sampler& sampler, TextBox& text, ListBox& list1,
                         Label& label1, LoginForm& login, ProcessWide& strings)
    : platform_(platform),
      sampler_(sampler),
      text_(text),
      list1_(list1),
      label1_(label1),
      login_(login),
      strings_(strings) {}

void ListEditing::AddFolder() {
  // One copy: the sampler may take another sample while the password dialog waits.
  const std::optional<Sample> shown = sampler_.shown();
  if (!shown) {
    // An empty box has seen no window yet; anything else it says is no folder window.
    if (!text_.text().empty()) ShowMessage(platform_, kNoFolder);
    return;
  }
  if (!(shown->isFolderWindow() || shown->fileDialog)) {
    ShowMessage(platform_, kNoFolder);
    return;
  }
  // The folder as a Windows 10 title names it, whatever the file manager added to the title: a
  // list written on either system guards the folder on the other.
  if (shown->folder.empty()) {
    ShowMessage(platform_, kEmptyTitle);
    return;
  }
  // Ask for no password for a folder the data file could not hold.
  std::optional<std::string> key = FolderKeyOfTitle(shown->folder);
  if (!key || !FolderKeyStorable(*key)) {
    ShowMessage(platform_, kKeyNotStorable);
    return;
  }

  // A list that cannot be read is not an empty one: nothing is asked, and nothing written.
  const ProtectedList list = ProtectedList::Read(platform_, FileWait::AboutASecond);
  if (list.unreadable()) {
    ShowMessage(platform_, kListNotSaved);
    return;
  }
  // A folder already listed has a lock password, and replacing it must not be easier than
  // opening the folder: the user password is asked first. A wrong answer ends it silently.
  if (list.listed(*key) &&
      AskUserPassword(platform_, login_, strings_) != UserPasswordAnswer::Right) {
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
  if (added == AddResult::WriteFailed || added == AddResult::Unreadable)
    ShowMessage(platform_, kListNotSaved);
  if (added == AddResult::RollbackFailed) ShowMessage(platform_, kAddMayBeStored);
  RefreshProtectedList(platform_, list1_);
}

void ListEditing::DeleteEntry() {
  // A double-click on an empty list, or with no row selected, has nothing to delete.
  if (!hasSelectedRow(list1_)) return;

  ShowMessage(platform_, kDeleteNotice);
  if (AskUserPassword(platform_, login_, strings_) != UserPasswordAnswer::Right) return;

  // The row is read only now, after the password was given.
  if (!hasSelectedRow(list1_)) return;
  const std::string key = list1_.items()[list1_.listIndex()];
  if (!AskYesNo(platform_, key + kDeleteQuestion)) return;

  RemoveResult removed = RemoveProtectedFolder(platform_, key);
  if (removed == RemoveResult::BadCount) {
    ShowMessage(platform_, kBadCount);
    return;
  }
  if (removed == RemoveResult::WriteFailed || removed == RemoveResult::Unreadable)
    ShowMessage(platform_, kListNotSaved);
  if (removed == RemoveResult::RollbackFailed) ShowMessage(platform_, kRemoveMayBeStored);
  RefreshProtectedList(platform_, list1_);

  const ProtectedList list = ProtectedList::Read(platform_, FileWait::AboutASecond);
  if (!list.unreadable()) label1_.setCaption(CountLabelText(list.countText()));
}

}  // namespace folvane
