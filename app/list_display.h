// The protected list as the main window shows it: List1's rows and Label1's count, both from one
// read of PassDat.ini, so that the two never tell different stories. It is the only writer of
// either control: after every change of the list, and whenever a read of the file finds it
// changed (an edit by hand).
#pragma once

#include <optional>

#include "platform/controls.h"
#include "platform/platform.h"
#include "store/protected_list.h"

namespace folvane {

class ListDisplay {
 public:
  ListDisplay(ListBox& list1, Label& label1);

  // Shows this read of the list. A list that could not be read is not an empty one: what is
  // shown stays. The controls change only where the list did.
  void Show(const ProtectedList& list);
  // Reads the file and shows what it holds.
  void Refresh(Platform& platform);

  // The list the rows show, if one was read: a row's index is its entry's index.
  const std::optional<ProtectedList>& shown() const { return shown_; }
  // The entry of the selected row; nullptr when no row is selected.
  const ProtectedEntry* selected() const;

 private:
  ListBox& list1_;
  Label& label1_;
  std::optional<ProtectedList> shown_;
};

}  // namespace folvane
