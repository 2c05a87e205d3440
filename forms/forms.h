// The four windows of the program and the main window's menu, as data.
#pragma once

#include "platform/form_spec.h"

namespace folvane {

const FormSpec& frmScanSpec();
const FormSpec& frmLoginSpec();
const FormSpec& frmSetSpec();
const FormSpec& frmSplashSpec();

}  // namespace folvane
