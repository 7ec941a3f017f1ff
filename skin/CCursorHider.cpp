#include "skin/CCursorHider.h"

CCursorHider::CCursorHider() : m_hWnd(nullptr), m_nCount(0), m_bHidden(FALSE), m_ptSaved{-1, -1} {}

void CCursorHider::Reset() {
  m_nCount = 0;
  m_bHidden = FALSE;
  m_ptSaved = POINT{-1, -1};
}

int CCursorHider::Attach(HWND hWnd) {
  if (::IsWindow(hWnd)) m_hWnd = hWnd;
  Reset();
  return 1;
}

int CCursorHider::OnTimer(UINT_PTR nTimerId) {
  if (!m_hWnd) return 0;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  if (::GetActiveWindow() != m_hWnd || cursor.x != m_ptSaved.x || cursor.y != m_ptSaved.y) {
    ::KillTimer(m_hWnd, nTimerId);
    Reset();
    return 0;
  }
  if (++m_nCount < kTicksToHide) return 0;
  ::KillTimer(m_hWnd, nTimerId);
  m_nCount = 0;
  m_bHidden = TRUE;
  ::ShowCursor(FALSE);
  return 1;
}

int CCursorHider::ShowPointer() {
  if (m_bHidden) {
    ::ShowCursor(TRUE);
    ::SetCursorPos(m_ptSaved.x, m_ptSaved.y);
    m_bHidden = FALSE;
  }
  return 1;
}
