#include "app/list_refresh.h"

#include <string>

#include "store/protected_list.h"

namespace folvane {

void RefreshProtectedList(Platform& platform, ListBox& list1) {
  const ProtectedList list = ProtectedList::Read(platform, FileWait::AboutASecond);
  if (list.unreadable()) return;
  list1.clear();
  int position = 0;
  for (const std::string& name : list.rows()) list1.addItem(name, position++);
}

}  // namespace folvane
