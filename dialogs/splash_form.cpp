#include "dialogs/splash_form.h"

#include <string>

#include "folvane_version.h"
#include "forms/captions.h"
#include "forms/forms.h"

namespace folvane {

SplashForm::SplashForm(Toolkit& toolkit) : Form(toolkit, frmSplashLayout()) {
  add(lblVersion);
  add(lblProductName);
  add(Label2);
  add(Timer1);
  onLoad = [this] { Form_Load(); };
  Timer1.onTick = [this] { Timer1_Timer(); };
}

SplashForm::~SplashForm() {
  unload();
}

void SplashForm::Form_Load() {
  lblVersion.setCaption(std::string("Version ") + FOLVANE_VERSION_TEXT);
  lblProductName.setCaption(kAppTitle);
  Label2.setCaption(kRightsNotice);
}

// The first tick ends the showing; the timer goes with the window.
void SplashForm::Timer1_Timer() {
  unload();
}

void OpenHelp(Platform& platform, WindowId mainWindow) {
  platform.openHelp(mainWindow);
}

}  // namespace folvane
