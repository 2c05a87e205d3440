#include "app/mdl_command.h"

namespace folvane {

Program::Program(Platform& platform, Toolkit& toolkit)
    : frmLogin(toolkit, platform, strings),
      frmSplash(toolkit),
      frmScan(toolkit, platform, strings, frmLogin, frmSplash) {}

void Program::Main() {
  frmSplash.showModal();
  frmScan.load();
}

}  // namespace folvane
