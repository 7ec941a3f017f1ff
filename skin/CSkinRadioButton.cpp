#include "skin/CSkinRadioButton.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinMessages.h"
#include "skin/SkinValues.h"

BEGIN_MESSAGE_MAP(CSkinRadioButton, CWnd)
  ON_WM_PAINT()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CSkinRadioButton::CSkinRadioButton() : m_bmUnchecked(nullptr), m_bmChecked(nullptr), m_bChecked(FALSE), m_nValue(0) {}

CSkinRadioButton::~CSkinRadioButton() {
  DestroyWindow();
  ReleaseBitmap(m_bmUnchecked);
  ReleaseBitmap(m_bmChecked);
}

BOOL CSkinRadioButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CSkinRadioButton::SetBitmaps(HBITMAP hUnchecked, HBITMAP hChecked, const RECT& rcUnchecked,
                                  const RECT& rcChecked) {
  if (!hUnchecked || !hChecked) return;
  ReleaseBitmap(m_bmUnchecked);
  ReleaseBitmap(m_bmChecked);
  m_bmUnchecked = CutBitmap(hUnchecked, rcUnchecked.left, rcUnchecked.top, SkinWidth(rcUnchecked), SkinHeight(rcUnchecked));
  m_bmChecked = CutBitmap(hChecked, rcChecked.left, rcChecked.top, SkinWidth(rcChecked), SkinHeight(rcChecked));
}

void CSkinRadioButton::SetCheck(BOOL bCheck, BOOL bRedraw) {
  m_bChecked = bCheck;
  if (bRedraw) Invalidate();
}

void CSkinRadioButton::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  // The button style becomes (style & 0xFF) | BS_OWNERDRAW, as BM_SETSTYLE would set it.
  ModifyStyle(0xFF00, BS_OWNERDRAW);
}

void CSkinRadioButton::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (m_bmUnchecked && m_bmChecked) {
    CRect rcClient;
    GetClientRect(&rcClient);
    StretchWholeBitmap(hdc, rcClient, m_bChecked ? m_bmChecked : m_bmUnchecked);
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CSkinRadioButton::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

void CSkinRadioButton::OnLButtonDown(UINT nFlags, CPoint point) {
  if (CWnd* pParent = GetParent()) pParent->SendMessage(UM_RADIO_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
  CWnd::OnLButtonDown(nFlags, point);
}
