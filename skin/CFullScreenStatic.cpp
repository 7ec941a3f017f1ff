#include "skin/CFullScreenStatic.h"

#include "skin/FullScreenPlacement.h"
#include "skin/SkinMessages.h"

BEGIN_MESSAGE_MAP(CFullScreenStatic, CWnd)
  ON_WM_NCHITTEST()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CFullScreenStatic::CFullScreenStatic() : m_bFullScreen(FALSE), m_savedPlacement{} {}

BOOL CFullScreenStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

void CFullScreenStatic::EnterFullScreen() {
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_ENTER_FULLSCREEN, 0, 0);
  m_savedPlacement.length = sizeof(WINDOWPLACEMENT);
  GetWindowPlacement(&m_savedPlacement);
  CoverScreen();
  Invalidate();
  m_bFullScreen = TRUE;
}

void CFullScreenStatic::CoverScreen() {
  const WINDOWPLACEMENT placement = FullScreenPlacement(*this, FALSE);
  SetWindowPlacement(&placement);
}

void CFullScreenStatic::LeaveFullScreen() {
  SetWindowPlacement(&m_savedPlacement);
  Invalidate();
  m_bFullScreen = FALSE;
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_LEAVE_FULLSCREEN, 0, 0);
}

void CFullScreenStatic::ToggleFullScreen() {
  if (m_bFullScreen) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
}

LRESULT CFullScreenStatic::OnNcHitTest(CPoint) { return HTCLIENT; }

void CFullScreenStatic::OnPaint() { ValidateRect(nullptr); }
