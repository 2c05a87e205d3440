// The four windows of the program and the main window's menu, as data.
#pragma once

#include "platform/form_layout.h"

namespace folvane {

const FormLayout& frmScanLayout();
const FormLayout& frmLoginLayout();
const FormLayout& frmSetLayout();
const FormLayout& frmSplashLayout();

}  // namespace folvane
