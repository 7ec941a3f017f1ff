// A font object. CreatePointFont takes tenths of a point and turns them into a pixel
// height for the device context (the screen when none is given), as MFC does.
#pragma once

#include <mfc/wnd/CGdiObject.h>

class CDC;

class CFont : public CGdiObject {
 public:
  static CFont* PASCAL FromHandle(HFONT hFont) { return fromHandleAs<CFont>(hFont); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT

  BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                  BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                  BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename) {
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
                                nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
  }
  BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
  // lfHeight in tenths of a point.
  BOOL CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC = nullptr);
  int GetLogFont(LOGFONTA* pLogFont) const { return GetObject(sizeof(LOGFONTA), pLogFont); }
};
