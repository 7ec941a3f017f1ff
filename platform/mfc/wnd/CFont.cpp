#include <mfc/wnd/CFont.h>

#include <mfc/wnd/CDC.h>

#include <cstdlib>
#include <cstring>

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = nPointSize;
  if (lpszFaceName) std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
  return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
  if (!lpLogFont) return FALSE;
  HDC dc = pDC ? pDC->m_hDC : ::GetDC(nullptr);
  LOGFONTA lf = *lpLogFont;
  // Tenths of a point to pixels at the context's resolution; a negative height asks for
  // the em height.
  lf.lfHeight = -std::abs(::GetDeviceCaps(dc, LOGPIXELSY) * lpLogFont->lfHeight / 720);
  if (!pDC) ::ReleaseDC(nullptr, dc);
  return CreateFontIndirect(&lf);
}
