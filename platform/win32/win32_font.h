// The typeface the program's windows are drawn in, shared by the window toolkit and the covers.
#pragma once

#include <windows.h>

#include <string>

namespace folvane {

// "MS UI Gothic" when the system has it, else a proportional face with Japanese characters
// (the first one found), else the wanted name for the font mapper. Chosen once per process.
const std::wstring& uiFontFace();

// A regular Shift-JIS font of `face` at `points` for a screen of `dpiY` dots per inch. The
// caller owns it (an OwnedFont).
HFONT createUiFont(const std::wstring& face, double points, int dpiY);

}  // namespace folvane
