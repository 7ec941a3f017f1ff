#include "skin/CTextLabel.h"

#include "skin/SkinFonts.h"

#include <mfc/wnd/afxgdi.h>

namespace {

// The font is this much smaller than the label is high.
constexpr int kFontInset = 10;

}  // namespace

BEGIN_MESSAGE_MAP(CTextLabel, CWnd)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CTextLabel::CTextLabel() : m_crText(0xFF0000) {}

BOOL CTextLabel::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

LRESULT CTextLabel::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CTextLabel::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  const LOGFONTA logFont = MakeLabelFont(rcClient.Height() - kFontInset);
  CFont font;
  font.CreateFontIndirect(&logFont);
  CFont* pOldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_crText);
  dc.DrawText(m_strText, &rcClient, 0);
  dc.SelectObject(pOldFont);
}
