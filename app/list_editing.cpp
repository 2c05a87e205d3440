#include "app/list_editing.h"

#include <optional>

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
constexpr char kDeleteQuestion[] = "をパスワードリストから削除してもよろしいですか？";

}  // namespace

ListEditing::ListEditing(Platform& platform, const Sampler& sampler, TextBox& text,
                         ListDisplay& display, LoginForm& login, ProcessWide& processWide)
    : platform_(platform),
      sampler_(sampler),
      text_(text),
      display_(display),
      login_(login),
      processWide_(processWide) {}

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
  // A folder already listed, under any of its names (the Shell's display name, the last part of
  // its path), has a lock password, and replacing it must not be easier than opening the folder:
  // the user password is asked first, and the password is replaced under the name that guards
  // the folder. An entry under another of its names would be one the user never confirmed.
  // A wrong answer ends it silently.
  const std::vector<std::string> keys = FolderKeysOf(*shown);
  if (const std::optional<std::size_t> listed = list.listedKeyOf(ListKeysOf(platform_, keys))) {
    if (AskUserPassword(platform_, login_, processWide_) != UserPasswordAnswer::Right) return;
    key = keys[*listed];
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

  const ListChange<AddResult> added = AddProtectedFolder(platform_, *key, *code);
  if (added.result == AddResult::BadCount) {
    ShowMessage(platform_, kBadCount);
    return;
  }
  if (added.result == AddResult::WriteFailed || added.result == AddResult::Unreadable)
    ShowMessage(platform_, kListNotSaved);
  display_.Show(added.list);
}

void ListEditing::DeleteEntry() {
  // A double-click on an empty list, or with no row selected, has nothing to delete.
  if (!display_.selected()) return;

  ShowMessage(platform_, kDeleteNotice);
  if (AskUserPassword(platform_, login_, processWide_) != UserPasswordAnswer::Right) return;

  // The row is read only now, after the password was given: the entry it shows, as read.
  const ProtectedEntry* row = display_.selected();
  if (!row) return;
  const std::string key(row->key);
  if (!AskYesNo(platform_, key + kDeleteQuestion)) return;

  const ListChange<RemoveResult> removed = RemoveProtectedFolder(platform_, key);
  if (removed.result == RemoveResult::BadCount) {
    ShowMessage(platform_, kBadCount);
    return;
  }
  if (removed.result == RemoveResult::WriteFailed || removed.result == RemoveResult::Unreadable)
    ShowMessage(platform_, kListNotSaved);
  display_.Show(removed.list);
}

}  // namespace folvane
