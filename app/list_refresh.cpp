#include "app/list_refresh.h"

#include <string>

#include "store/data_files.h"

namespace folvane {

void RefreshProtectedList(Platform& platform, ListBox& list1) {
  list1.clear();
  int position = 0;
  for (const std::string& name : ProtectedListRows(platform)) list1.addItem(name, position++);
}

}  // namespace folvane
