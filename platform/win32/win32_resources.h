// Resource numbers shared by the resource script and the window code. Plain defines, so the
// resource compiler can read this file too.
#pragma once

// The icons hold an image for every size the system asks for at the usual scales: small icons of
// 16 to 32 pixels, large ones of 32 to 64.
// The application icon: the executable, the dialogs and the splash picture.
// It has the lowest number, so the shell shows it for the executable.
#define FOLVANE_ICON_APP 1
// The main window's own icon, also shown in the notification area.
#define FOLVANE_ICON_MAIN 2
