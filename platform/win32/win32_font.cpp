// Choosing the typeface of the program's windows and making fonts of it (see win32_font.h).
#include "platform/win32/win32_font.h"

#include <cmath>

#include "platform/win32/win32_handles.h"

namespace folvane {

namespace {

constexpr wchar_t kFontFace[] = L"MS UI Gothic";

struct FaceSearch {
  bool wantedFound = false;
  std::wstring proportional;
};

int CALLBACK collectFace(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD, LPARAM data) {
  auto* search = reinterpret_cast<FaceSearch*>(data);
  const wchar_t* face = font->lfFaceName;
  if (lstrcmpW(face, kFontFace) == 0) search->wantedFound = true;
  // TMPF_FIXED_PITCH set means variable pitch; '@' faces are for vertical writing.
  if (search->proportional.empty() && face[0] != L'@' &&
      (metrics->tmPitchAndFamily & TMPF_FIXED_PITCH))
    search->proportional = face;
  return 1;
}

// The windows are laid out for a proportional Japanese face. Where it is missing, the font
// mapper would often pick a fixed-pitch one whose wider texts no longer fit their boxes, so a
// proportional face of the same character set stands in.
std::wstring chooseFace() {
  FaceSearch search;
  LOGFONTW wanted{};
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &wanted, collectFace, reinterpret_cast<LPARAM>(&search), 0);
  if (search.wantedFound || search.proportional.empty()) return kFontFace;
  return search.proportional;
}

}  // namespace

const std::wstring& uiFontFace() {
  static const std::wstring face = chooseFace();
  return face;
}

HFONT createUiFont(const std::wstring& face, double points, int dpiY) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(static_cast<int>(std::lround(points * 100)), dpiY, 7200);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace folvane
