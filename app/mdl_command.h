// The program: what its process keeps (ProcessWide) and its windows, and the entry procedure Main.
#pragma once

#include "app/scan_form.h"
#include "dialogs/login_form.h"
#include "dialogs/process_wide.h"
#include "dialogs/splash_form.h"

namespace folvane {

class Program {
 public:
  Program(Platform& platform, Toolkit& toolkit);

  // Shows the splash, then loads the main window hidden, and has the system start the program
  // again should an installer close it. Afterwards the program lives on the toolkit's events
  // until an immediate exit ends it.
  void Main();

  ProcessWide processWide;
  LoginForm frmLogin;
  SplashForm frmSplash;
  ScanForm frmScan;

 private:
  Platform& platform_;
};

}  // namespace folvane
