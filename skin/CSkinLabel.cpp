#include "skin/CSkinLabel.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"
#include "skin/SkinValues.h"

BEGIN_MESSAGE_MAP(CSkinLabel, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinLabel::CSkinLabel()
    : m_hBackground(nullptr),
      m_rcImage(0, 0, -1, -1),
      m_rcMargins(0, 0, -1, -1),
      m_nId(-1),
      m_nFlag(0),
      m_bLeftAlign(FALSE),
      m_crText(0xFF0000) {}

CSkinLabel::~CSkinLabel() {
  DestroyWindow();
  ReleaseBitmap(m_hBackground);
}

BOOL CSkinLabel::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CSkinLabel::SetBitmap(HBITMAP hSource, int nLeft, int nTop, int nRight, int nBottom) {
  if (!hSource) return;
  ReleaseBitmap(m_hBackground);
  m_hBackground = CutBitmap(hSource, nLeft, nTop, SkinExtent(nLeft, nRight), SkinExtent(nTop, nBottom));
}

void CSkinLabel::SetImageRect(const RECT* pRect) {
  if (pRect) m_rcImage = *pRect;
}

void CSkinLabel::SetMargins(const RECT* pMargins) {
  if (pMargins) m_rcMargins = *pMargins;
}

void CSkinLabel::SetText(LPCTSTR lpszText) {
  m_strText = lpszText;
  if (m_hWnd) Invalidate();
}

int CSkinLabel::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  GetWindowText(m_strText);
  return 0;
}

void CSkinLabel::OnPaint() {
  CPaintDC dc(this);
  if (!m_hBackground) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  DrawFrameBitmap(dc, rcClient, m_hBackground, m_rcImage, m_rcMargins.left, m_rcMargins.top, m_rcMargins.right,
                  m_rcMargins.bottom);
  DrawCentre(dc, rcClient);

  const LOGFONTA logFont = MakeLabelFont(rcClient.Height());
  CFont font;
  font.CreateFontIndirect(&logFont);
  CFont* pOldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_crText);
  dc.DrawText(m_strText, &rcClient, m_bLeftAlign ? DT_SINGLELINE | DT_VCENTER : DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  dc.SelectObject(pOldFont);
}

void CSkinLabel::DrawCentre(CDC& dc, const CRect& rcClient) {
  DrawFrameCentre(dc, rcClient, m_hBackground, m_rcImage, m_rcMargins.left, m_rcMargins.top, m_rcMargins.right,
                  m_rcMargins.bottom);
}
