// frmSplash: the start-up splash and the about box; it closes itself 2500 ms after it is shown.
#pragma once

#include "platform/form.h"
#include "platform/platform.h"

namespace folvane {

class SplashForm : public Form {
 public:
  explicit SplashForm(Toolkit& toolkit);
  ~SplashForm() override;

  Label lblVersion{"lblVersion"};
  Label lblProductName{"lblProductName"};
  Label Label2{"Label2"};
  Timer Timer1{"Timer1"};

  void Form_Load();
  void Timer1_Timer();
};

// Help > Contents: opens the program's help over the main window without waiting for it.
void OpenHelp(Platform& platform, WindowId mainWindow);

}  // namespace folvane
