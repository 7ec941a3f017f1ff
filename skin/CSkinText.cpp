#include "skin/CSkinText.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"

namespace {

constexpr UINT kBackgroundBitmap = 165;

}  // namespace

BEGIN_MESSAGE_MAP(CSkinText, CWnd)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinText::CSkinText() : m_crText(RGB(32, 0, 0)) {}

BOOL CSkinText::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CSkinText::DrawBackground(CDC& dc) {
  HBITMAP hBackground = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kBackgroundBitmap));
  if (!hBackground) return;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  StretchWholeBitmap(dc, CRect(0, 0, rcWindow.Width(), rcWindow.Height()), hBackground);
  DeleteObject(hBackground);
}

void CSkinText::DrawTextWithFont(CDC& dc, const CString& strText) {
  CRect rcClient;
  GetClientRect(&rcClient);
  const LOGFONTA logFont = MakeLabelFont(rcClient.Height() / 6);
  CFont font;
  font.CreateFontIndirect(&logFont);
  CFont* pOldFont = dc.SelectObject(&font);
  DrawBackground(dc);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_crText);
  dc.DrawText(strText, &rcClient, DT_VCENTER);
  dc.SelectObject(pOldFont);
}

LRESULT CSkinText::OnEraseBkgnd(WPARAM wParam, LPARAM) {
  DrawBackground(*CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
  return TRUE;
}

void CSkinText::OnPaint() {
  CPaintDC dc(this);
  DrawTextWithFont(dc, m_strText);
}

void CSkinText::ShowText(const CString& strText) {
  CClientDC dc(this);
  SetWindowText("");
  DrawTextWithFont(dc, strText);
  m_strText = strText;
}
