#include "app/mdl_command.h"

namespace folvane {

Program::Program(Platform& platform, Toolkit& toolkit)
    : frmLogin(toolkit, platform, processWide),
      frmSplash(toolkit),
      frmScan(toolkit, platform, processWide, frmLogin, frmSplash),
      platform_(platform) {}

void Program::Main() {
  frmSplash.showModal();
  frmScan.load();
  // Without its main window the program has no tray icon and no way to be quit: it must not
  // stay behind as an invisible process that also turns every later start away.
  if (!frmScan.isLoaded()) frmScan.EndNow();
  // Only the copy that stays: a second start, or a first one left without a user password, has
  // ended by now.
  platform_.registerForRestart();
}

}  // namespace folvane
