#include "skin/CSkinEdit.h"

#include "skin/SkinBitmap.h"
#include "skin/SkinFonts.h"

BEGIN_MESSAGE_MAP(CSkinEdit, CEdit)
  ON_WM_CREATE()
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_WINDOWPOSCHANGED()
  ON_MESSAGE(WM_NCPAINT, OnNcPaint)
  ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
  ON_CONTROL_REFLECT_EX(EN_UPDATE, OnUpdate)
  ON_WM_SHOWWINDOW()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CSkinEdit::CSkinEdit()
    : m_hImages{},
      m_rcFrame(0, 0, -1, -1),
      m_rcMargins(0, 0, 0, 0),
      m_rcAltFrame(0, 0, -1, -1),
      m_rcAltMargins(0, 0, 0, 0),
      m_crText(0x000000),
      m_crFocusText(0xFF0000),
      m_bHighlight(FALSE) {}

CSkinEdit::~CSkinEdit() {
  for (HBITMAP& image : m_hImages) ReleaseBitmap(image);
}

void CSkinEdit::SetBitmaps(HBITMAP hImage1, HBITMAP hImage2, HBITMAP hImage3, const RECT& rc1, const RECT& rc2,
                           const RECT& rc3) {
  if (!hImage1 || !hImage2 || !hImage3) return;
  const HBITMAP sources[3] = {hImage1, hImage2, hImage3};
  const RECT* rects[3] = {&rc1, &rc2, &rc3};
  for (int i = 0; i < 3; ++i) {
    ReleaseBitmap(m_hImages[i]);
    const CRect rect(*rects[i]);
    m_hImages[i] = CutBitmap(sources[i], rect.left, rect.top, rect.Width(), rect.Height());
  }
}

void CSkinEdit::SetFrameRect(const RECT* pRect) {
  if (pRect) m_rcFrame = *pRect;
}

void CSkinEdit::SetFrameMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_rcMargins.SetRect(nLeft, nTop, nRight, nBottom);
}

void CSkinEdit::SetAltFrameRect(const RECT* pRect) {
  if (pRect) m_rcAltFrame = *pRect;
}

void CSkinEdit::SetAltFrameMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_rcAltMargins.SetRect(nLeft, nTop, nRight, nBottom);
}

BOOL CSkinEdit::IsFocused() const {
  CWnd* focus = CWnd::GetFocus();
  return focus && (focus->GetSafeHwnd() == m_hWnd || ::IsChild(m_hWnd, focus->GetSafeHwnd()));
}

void CSkinEdit::DrawFrame(HDC hdc, const CRect& area, bool focused) const {
  const CRect& frame = focused ? m_rcFrame : m_rcAltFrame;
  const CRect& margins = focused ? m_rcMargins : m_rcAltMargins;
  DrawFrameBitmap(hdc, area, m_hImages[focused ? 0 : 1], frame, margins.left, margins.top, margins.right,
                  margins.bottom);
}

HFONT CSkinEdit::MakeTextFont() const {
  CRect client;
  GetClientRect(&client);
  const LOGFONTA logFont = MakeSkinFont(client.Height() - 4, 0);
  return ::CreateFontIndirectA(&logFont);
}

void CSkinEdit::Redraw() {
  if (!m_hWnd) return;
  const bool focused = IsFocused() != FALSE;
  CRect client;
  GetClientRect(&client);
  CClientDC dc(this);
  DrawFrame(dc.GetSafeHdc(), client, focused);
  CRect inside = client;
  inside.DeflateRect(m_rcMargins.left, m_rcMargins.top, m_rcMargins.right, m_rcMargins.bottom);
  dc.SetStretchBltMode(COLORONCOLOR);
  if (m_hImages[2]) StretchWholeBitmap(dc.GetSafeHdc(), inside, m_hImages[2]);
  CRect format;
  SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  CString text;
  GetWindowText(text);
  HFONT made = MakeTextFont();
  HFONT font = made ? made : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
  HGDIOBJ old = dc.SelectObject(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(focused ? m_crFocusText : m_crText);
  dc.DrawText(text, &format, DT_SINGLELINE);
  const CSize drawn = dc.GetTextExtent(text);
  dc.SelectObject(old);
  if (made) ::DeleteObject(made);
  OnTextDrawn(format, drawn);
}

BOOL CSkinEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd) {
    const auto vk = static_cast<int>(pMsg->wParam);
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (vk == VK_RETURN || vk == VK_DELETE || vk == VK_ESCAPE || control) {
      if (vk == VK_RETURN) {
        OnEnter();
        if (CWnd* parent = GetParent()) parent->SendMessage(UM_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(m_hWnd));
      }
      ::TranslateMessage(pMsg);
      ::DispatchMessageA(pMsg);
      return TRUE;
    }
  }
  return CEdit::PreTranslateMessage(pMsg);
}

int CSkinEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) { return CEdit::OnCreate(lpCreateStruct) == -1 ? -1 : 0; }

LRESULT CSkinEdit::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

void CSkinEdit::OnPaint() {
  ValidateRect(nullptr);
  Redraw();
}

void CSkinEdit::OnLButtonDown(UINT nFlags, CPoint point) {
  CEdit::OnLButtonDown(nFlags, point);
  Redraw();
}

void CSkinEdit::OnMouseMove(UINT nFlags, CPoint point) {
  CEdit::OnMouseMove(nFlags, point);
  CRect window;
  GetWindowRect(&window);
  CPoint screen = point;
  ClientToScreen(&screen);
  if (window.PtInRect(screen)) {
    if (GetCapture() != this) SetCapture();
  } else if (GetCapture() == this) {
    ReleaseCapture();
  }
  Redraw();
}

void CSkinEdit::OnSetFocus(CWnd* pOldWnd) {
  CEdit::OnSetFocus(pOldWnd);
  Redraw();
}

void CSkinEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  Redraw();
}

void CSkinEdit::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CEdit::OnWindowPosChanged(lpwndpos);
  Redraw();
}

LRESULT CSkinEdit::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProc(WM_NCPAINT, wParam, lParam);
  Redraw();
  return result;
}

void CSkinEdit::OnChange() {
  SetFocus();
  Redraw();
}

BOOL CSkinEdit::OnUpdate() {
  Redraw();
  return FALSE;
}

void CSkinEdit::OnShowWindow(BOOL bShow, UINT nStatus) {
  CEdit::OnShowWindow(bShow, nStatus);
  if (bShow) Redraw();
}

HBRUSH CSkinEdit::CtlColor(CDC* pDC, UINT) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetBkColor(kFieldColor);
  if (!m_brField.GetSafeHandle()) m_brField.CreateSolidBrush(kFieldColor);
  return m_brField;
}
