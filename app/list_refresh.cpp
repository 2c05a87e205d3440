#include "app/list_refresh.h"

#include "store/protected_list.h"

namespace folvane {

void RefreshProtectedList(Platform& platform, ListBox& list1) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  if (list.unreadable()) return;
  list1.setItems(list.rows());
}

}  // namespace folvane
