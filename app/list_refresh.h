// Rebuilds the protected list box from PassDat.ini.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace folvane {

// A file that cannot be read leaves the rows as they were: it is not an empty list.
void RefreshProtectedList(Platform& platform, ListBox& list1);

}  // namespace folvane
