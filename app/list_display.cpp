#include "app/list_display.h"

#include <string>

#include "dialogs/messages.h"

namespace folvane {

ListDisplay::ListDisplay(ListBox& list1, Label& label1) : list1_(list1), label1_(label1) {}

void ListDisplay::Show(const ProtectedList& list) {
  if (list.unreadable()) return;
  // Loading the window empties the rows whatever was shown before.
  if (!shown_ || shown_->entries() != list.entries() ||
      list1_.items().size() != list.entries().size()) {
    list1_.setItems(list.rows());
  }
  // A damaged count is reported where it is met, and not shown as a count.
  if (list.count()) label1_.setCaption(CountLabelText(std::to_string(*list.count())));
  shown_ = list;
}

void ListDisplay::Refresh(Platform& platform) {
  Show(ProtectedList::Read(platform, FileWait::AboutASecond));
}

const ProtectedEntry* ListDisplay::selected() const {
  const int index = list1_.listIndex();
  if (!shown_ || index < 0 || index >= static_cast<int>(shown_->entries().size()) ||
      index >= static_cast<int>(list1_.items().size()))
    return nullptr;
  return &shown_->entries()[index];
}

}  // namespace folvane
