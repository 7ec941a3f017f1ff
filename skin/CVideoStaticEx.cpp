#include "skin/CVideoStaticEx.h"

#include "core/CAppController.h"
#include "skin/FullScreenPlacement.h"
#include "skin/SkinMessages.h"

#include <mfc/wnd/CPaintDC.h>
#include <win32/gdi.h>

BEGIN_MESSAGE_MAP(CVideoStaticEx, CFullScreenStatic)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CVideoStaticEx::EnterFullScreen() {
  CFullScreenStatic::EnterFullScreen();
  if (CWnd::GetFocus() != this) SetFocus();
}

void CVideoStaticEx::CoverScreen() {
  const WINDOWPLACEMENT placement = FullScreenPlacement(*this, TRUE);
  SetWindowPlacement(&placement);
  SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// A live picture or a recording draws over the whole area; erasing under it would flicker.
LRESULT CVideoStaticEx::OnEraseBkgnd(WPARAM, LPARAM) {
  if (!g_pAppController || g_pAppController->IsMediaOpen() || g_pAppController->IsPreviewing() ||
      g_pAppController->IsRecording())
    return TRUE;
  CRect rcClient;
  GetClientRect(&rcClient);
  HDC hdc = ::GetDC(m_hWnd);
  ::FillRect(hdc, &rcClient, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::ReleaseDC(m_hWnd, hdc);
  return TRUE;
}

void CVideoStaticEx::OnPaint() { CPaintDC dc(this); }

void CVideoStaticEx::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDblClk(nFlags, point);
  ToggleFullScreen();
}

void CVideoStaticEx::OnMouseMove(UINT nFlags, CPoint point) {
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_ENTER_FULLSCREEN, 1, 0);
  CWnd::OnMouseMove(nFlags, point);
}

// Full screen, the video keeps the placement it was given on entering.
void CVideoStaticEx::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (g_pAppController && !m_bFullScreen) g_pAppController->SetVideoRect(0, 0, cx, cy);
}
