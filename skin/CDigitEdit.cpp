#include "skin/CDigitEdit.h"

#include "skin/SkinFonts.h"

#include <cmath>
#include <cstdlib>

BEGIN_MESSAGE_MAP(CDigitEdit, CEdit)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CDigitEdit::CDigitEdit()
    : m_nFontHeight(-1), m_nTag(0), m_bEnabled(TRUE), m_crBk(0), m_crBrush(0), m_nCharExtra(0), m_nMax(INT_MAX),
      m_nMin(0) {}

BOOL CDigitEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CEdit::Create(dwStyle | WS_CHILD | WS_VISIBLE | ES_NUMBER, rect, pParentWnd, nID);
}

void CDigitEdit::SetText(const CString& strText) {
  if (!strText.IsEmpty()) m_strText = strText;
}

void CDigitEdit::SetTag(int nTag) {
  if (nTag) m_nTag = nTag;
}

COLORREF CDigitEdit::SetBkColor(COLORREF crBk) {
  const COLORREF old = m_crBk;
  m_crBk = crBk;
  Invalidate();
  return old;
}

void CDigitEdit::EnableEdit(BOOL bEnable) {
  if (!bEnable == !m_bEnabled) return;
  EnableWindow(bEnable);
  m_bEnabled = bEnable;
  Invalidate();
}

void CDigitEdit::UpdateFont() {
  CRect client;
  GetClientRect(&client);
  if (client.Height() == m_nFontHeight && m_font.GetSafeHandle()) return;
  m_nFontHeight = client.Height();
  m_font.DeleteObject();
  const LOGFONTA logFont = MakeSkinFont(m_nFontHeight, FW_BOLD);
  m_font.CreateFontIndirect(&logFont);
  SetFont(&m_font);
  m_crBk = 0;
}

void CDigitEdit::SetPointFont(LPCSTR lpszFace) {
  CRect client;
  GetClientRect(&client);
  m_font.DeleteObject();
  m_font.CreatePointFont(client.Height() * 6, lpszFace);
  SetFont(&m_font);
}

BOOL CDigitEdit::UseFont(BOOL created) {
  if (!created) return FALSE;
  CRect client;
  GetClientRect(&client);
  m_nFontHeight = client.Height();
  SetFont(&m_font);
  return TRUE;
}

BOOL CDigitEdit::SetLogFont(const LOGFONTA& logFont) {
  m_font.DeleteObject();
  return UseFont(m_font.CreateFontIndirect(&logFont));
}

BOOL CDigitEdit::SetPointLogFont(const LOGFONTA& logFont) {
  m_font.DeleteObject();
  return UseFont(m_font.CreatePointFontIndirect(&logFont));
}

BOOL CDigitEdit::GetLogFont(LOGFONTA& logFont) const {
  return m_font.GetSafeHandle() && ::GetObjectA(m_font.GetSafeHandle(), sizeof(logFont), &logFont) != 0;
}

int CDigitEdit::SetCharExtra(int nCharExtra) {
  const int old = m_nCharExtra;
  m_nCharExtra = nCharExtra;
  Invalidate();
  return old;
}

HBRUSH CDigitEdit::CtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(RGB(255, 255, 255));
  pDC->SetBkMode(TRANSPARENT);
  // The edit draws its text on the context it asks its colours for.
  ::SetTextCharacterExtra(pDC->GetSafeHdc(), m_nCharExtra);
  // A white field would hide the white digits: the field shows its background colour.
  if (!m_brush.GetSafeHandle() || m_crBrush != m_crBk) {
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(m_crBk);
    m_crBrush = m_crBk;
  }
  return m_brush;
}

CString CDigitEdit::GetFontFace() const {
  LOGFONTA logFont{};
  if (m_font.GetSafeHandle()) ::GetObjectA(m_font.GetSafeHandle(), sizeof(logFont), &logFont);
  return logFont.lfFaceName;
}

void CDigitEdit::SetMargins() {
  CRect client;
  GetClientRect(&client);
  SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(client.Width() / 4, client.Width() / 4));
}

void CDigitEdit::SetRange(int nMax, int nMin) {
  if (nMax < nMin) return;
  m_nMax = nMax;
  m_nMin = nMin;
}

bool CDigitEdit::Accepts(int digit) const {
  CString text;
  GetWindowText(text);
  int start = 0, end = 0;
  GetSel(start, end);
  const CString left = text.Left(start);
  const CString right = text.Mid(end);
  // In 64 bits, so a long field cannot wrap round below the maximum.
  const double scale = std::pow(10.0, right.GetLength());
  double candidate = digit * scale + std::atof(right);
  if (!left.IsEmpty()) candidate += std::atof(left) * scale * 10.0;
  return candidate <= m_nMax;
}

BOOL CDigitEdit::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message != WM_KEYDOWN) return CEdit::PreTranslateMessage(pMsg);
  const auto vk = static_cast<int>(pMsg->wParam);
  if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK) {
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
    return TRUE;
  }
  int digit = -1;
  if (vk >= '0' && vk <= '9') digit = vk - '0';
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) digit = vk - VK_NUMPAD0;
  if (digit < 0) return CEdit::PreTranslateMessage(pMsg);
  return Accepts(digit) ? CEdit::PreTranslateMessage(pMsg) : TRUE;
}

LRESULT CDigitEdit::OnEraseBkgnd(WPARAM, LPARAM) {
  UpdateFont();
  return 1;
}

void CDigitEdit::OnSetFocus(CWnd* pOldWnd) {
  CEdit::OnSetFocus(pOldWnd);
  if (CWnd* parent = GetParent()) parent->SendMessage(UM_DIGITEDIT_FOCUS, 1, m_nTag);
}

void CDigitEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  if (CWnd::GetFocus() == this && pNewWnd) pNewWnd->SetFocus();
}

void CDigitEdit::OnRButtonDown(UINT, CPoint) {}

void CDigitEdit::OnRButtonUp(UINT, CPoint) {}
