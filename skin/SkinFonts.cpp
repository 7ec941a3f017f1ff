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

LOGFONTA MakeLabelFont(int nHeight) { return MakeSkinFont(nHeight, FW_BOLD); }

LOGFONTA MakeSkinFont(int nHeight, int nWeight) {
  LOGFONTA logFont{};
  logFont.lfHeight = nHeight;
  logFont.lfWeight = nWeight;
  logFont.lfCharSet = CharSetForLanguage(GetLanguage());
  std::strncpy(logFont.lfFaceName, kLabelFace, LF_FACESIZE - 1);
  return logFont;
}

void DrawButtonCaption(HDC hdc, const RECT& rcClient, LPCSTR caption, COLORREF color, LPCSTR face) {
  const int width = rcClient.right - rcClient.left;
  const int height = rcClient.bottom - rcClient.top;
  HFONT hFont = CreateFontA(width * 38 / 263, height * 20 / 54, 0, 0, 900, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_MODERN, face);
  HGDIOBJ hOldFont = SelectObject(hdc, hFont);
  SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, color);
  RECT rcText{rcClient.left + 30, rcClient.top + 5, rcClient.right, rcClient.bottom};
  DrawTextA(hdc, caption, -1, &rcText, DT_VCENTER);
  SelectObject(hdc, hOldFont);
  DeleteObject(hFont);
}
