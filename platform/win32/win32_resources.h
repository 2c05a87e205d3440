// Resource numbers shared by the resource script and the window code. Plain defines, so the
// resource compiler can read this file too.
#pragma once

// The application icon (32x32 and 16x16): the executable, the dialogs and the splash picture.
// It has the lowest number, so the shell shows it for the executable.
#define FOLVANE_ICON_APP 1
// The main window's own 16x16 icon, also shown in the notification area.
#define FOLVANE_ICON_MAIN 2
