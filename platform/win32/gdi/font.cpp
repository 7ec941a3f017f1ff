#include <win32/gdi/font.h>

#include <win32/error.h>
#include <win32/gdi/DrawingContext.h>
#include <win32/gdi/GdiTable.h>
#include <win32/gdi/TextLayout.h>
#include <win32/gdi/TextPainter.h>
#include <win32/gdi/dc.h>

#include <algorithm>
#include <cstring>

namespace {

using plat::DrawingContext;
using plat::FontFace;
using plat::GdiTable;

// The context and the face of its font; null face (and ERROR_INVALID_HANDLE or
// ERROR_FILE_NOT_FOUND) when text cannot be drawn.
struct TextTarget {
  std::shared_ptr<DrawingContext> dc;
  std::shared_ptr<FontFace> face;
  explicit operator bool() const { return dc && face; }
};

TextTarget targetOf(HDC hdc) {
  TextTarget t;
  t.dc = GdiTable::lookup<DrawingContext>(hdc);
  if (!t.dc) return t;
  t.face = t.dc->state().font->face();
  if (!t.face) SetLastError(ERROR_FILE_NOT_FOUND);
  return t;
}

int lengthOf(LPCSTR text, int c) { return c < 0 && text ? static_cast<int>(std::strlen(text)) : c; }

// Draws a laid-out line from logical (x, y), tab by tab.
void drawLine(DrawingContext& dc, FontFace& face, const plat::TextLayout& layout, const plat::TextLayout::Line& line,
              int x, int y) {
  plat::TextPainter painter(dc, face, dc.state().font->logFont());
  std::size_t start = 0;
  int offset = 0;
  while (start <= line.text.size()) {
    std::size_t tab = layout.expandsTabs() ? line.text.find(U'\t', start) : std::u32string::npos;
    if (tab == std::u32string::npos) tab = line.text.size();
    const std::u32string_view piece = std::u32string_view(line.text).substr(start, tab - start);
    const int underlined = line.underlined >= static_cast<int>(start) && line.underlined < static_cast<int>(tab)
                               ? line.underlined - static_cast<int>(start)
                               : -1;
    painter.draw(dc.toDevice(x + offset, y), piece, underlined);
    offset += plat::TextPainter::width(face, piece, dc.state().charExtra);
    if (tab == line.text.size()) break;
    offset = layout.nextTabStop(offset);
    start = tab + 1;
  }
}

}  // namespace

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
  LOGFONTA lf{};
  lf.lfHeight = cHeight;
  lf.lfWidth = cWidth;
  lf.lfEscapement = cEscapement;
  lf.lfOrientation = cOrientation;
  lf.lfWeight = cWeight;
  lf.lfItalic = static_cast<BYTE>(bItalic != 0);
  lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(iCharSet);
  lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
  lf.lfQuality = static_cast<BYTE>(iQuality);
  lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
  if (pszFaceName) std::strncpy(lf.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

HFONT CreateFontIndirectA(const LOGFONTA* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTA lf = *lplf;
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(GdiTable::instance().add(std::make_shared<plat::FontObject>(lf)));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
  TextTarget t = targetOf(hdc);
  if (!t || (c > 0 && !lpString)) return FALSE;
  const std::u32string text = plat::TextPainter::decode(lpString, c);
  plat::TextPainter(*t.dc, *t.face, t.dc->state().font->logFont()).draw(t.dc->toDevice(x, y), text);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
  TextTarget t = targetOf(hdc);
  if (!t || !psizl || c < 0 || (c > 0 && !lpString)) {
    if (t) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  psizl->cx = plat::TextPainter::width(*t.face, plat::TextPainter::decode(lpString, c), t.dc->state().charExtra);
  psizl->cy = t.face->height();
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
  TextTarget t = targetOf(hdc);
  if (!t || !lptm) return FALSE;
  const plat::FontObject& font = *t.dc->state().font;
  const LOGFONTA& lf = font.logFont();
  const FontFace::Metrics& m = t.face->metrics();
  TEXTMETRICA tm{};
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmHeight = m.ascent + m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  // Low bits: 1 = variable pitch (sic), 2 = vector, 4 = TrueType.
  tm.tmPitchAndFamily = static_cast<BYTE>((m.fixedPitch ? 0 : 1) | 2 | 4 | (m.fixedPitch ? FF_MODERN : FF_SWISS));
  tm.tmCharSet = font.charset();
  *lptm = tm;
  return TRUE;
}

int GetTextCharset(HDC hdc) {
  auto dc = GdiTable::lookup<DrawingContext>(hdc);
  return dc ? dc->state().font->charset() : DEFAULT_CHARSET;
}

int DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  TextTarget t = targetOf(hdc);
  if (!t || !lprc || (cchText != 0 && !lpchText)) return 0;
  const plat::TextLayout layout(*t.face, format, t.dc->state().charExtra);
  const auto lines =
      layout.lay(plat::TextPainter::decode(lpchText, lengthOf(lpchText, cchText)), lprc->right - lprc->left);
  const int lineHeight = t.face->height() + ((format & DT_EXTERNALLEADING) ? t.face->metrics().externalLeading : 0);
  const int total = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, line.width);
    lprc->right = lprc->left + widest;
    lprc->bottom = lprc->top + total;
    return total;
  }
  int y = lprc->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = lprc->top + (lprc->bottom - lprc->top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = lprc->bottom - lineHeight;
  }
  const int saved = t.dc->save();
  if (!(format & DT_NOCLIP)) IntersectClipRect(hdc, lprc->left, lprc->top, lprc->right, lprc->bottom);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    int x = lprc->left;
    if (format & DT_CENTER)
      x = lprc->left + (lprc->right - lprc->left - line.width) / 2;
    else if (format & DT_RIGHT)
      x = lprc->right - line.width;
    drawLine(*t.dc, *t.face, layout, line, x, y + static_cast<int>(i) * lineHeight);
  }
  t.dc->restore(saved);
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y - lprc->top + lineHeight;
  return total;
}
