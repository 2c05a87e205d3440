// Rebuilds the protected list box from PassDat.ini.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace folvane {

void RefreshProtectedList(Platform& platform, ListBox& list1);

}  // namespace folvane
