#include "skin/CNoScrollListCtrl.h"

BEGIN_MESSAGE_MAP(CNoScrollListCtrl, CListCtrl)
  ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
END_MESSAGE_MAP()

BOOL CNoScrollListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CListCtrl::Create(dwStyle | kAddedStyle, rect, pParentWnd, nID);
}

void CNoScrollListCtrl::GetRect(int& nLeft, int& nTop, int& nRight, int& nBottom) const {
  nLeft = m_rect.left;
  nTop = m_rect.top;
  nRight = m_rect.right;
  nBottom = m_rect.bottom;
}

LRESULT CNoScrollListCtrl::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  // The list turns its scroll bars on as rows grow; they are taken off before every layout.
  const auto style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
  if (style & (WS_HSCROLL | WS_VSCROLL)) {
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~(WS_HSCROLL | WS_VSCROLL)));
    UpdateWindow();
  }
  return DefWindowProc(WM_NCCALCSIZE, wParam, lParam);
}
