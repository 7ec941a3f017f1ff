#include "skin/SkinFonts.h"

#include <vendor/language/Language.h>

#include <cstring>

namespace {

// The face as the skins have always named it.
constexpr char kLabelFace[] = "MS Scans Serif";

}  // namespace

BYTE CharSetForLanguage(int nLanguageCode) {
  switch (nLanguageCode) {
    case 4:
      return 204;
    case 2:
    case 3:
      return ANSI_CHARSET;
    default: {
      HDC hScreenDC = GetDC(nullptr);
      const int nCharSet = GetTextCharset(hScreenDC);
      ReleaseDC(nullptr, hScreenDC);
      return static_cast<BYTE>(nCharSet);
    }
  }
}

LOGFONTA MakeLabelFont(int nHeight) {
  LOGFONTA logFont{};
  logFont.lfHeight = nHeight;
  logFont.lfWeight = FW_BOLD;
  logFont.lfCharSet = CharSetForLanguage(GetLanguage());
  std::strncpy(logFont.lfFaceName, kLabelFace, LF_FACESIZE - 1);
  return logFont;
}
