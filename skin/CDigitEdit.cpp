#include "skin/CDigitEdit.h"

#include "skin/SkinFonts.h"

#include <com/globalmem.h>
#include <win32/user/clipboard.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr char kPasteKey = 0x16;  // Ctrl+V
// Any number past the int range counts as this, so no text can overflow the reading.
constexpr long long kBeyondInt = static_cast<long long>(INT_MAX) + 1;

bool IsDigits(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

// The number of a text of digits, read up to its first other character.
long long NumberOf(const CString& text) {
  long long value = 0;
  for (int i = 0; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(value * 10 + (text[i] - '0'), kBeyondInt);
  return value;
}

CString ClipboardText(HWND owner) {
  CString text;
  if (!::OpenClipboard(owner)) return text;
  if (auto* data = static_cast<HGLOBAL>(::GetClipboardData(CF_TEXT))) {
    if (const auto* chars = static_cast<const char*>(::GlobalLock(data))) {
      text = CString(chars, static_cast<int>(strnlen(chars, ::GlobalSize(data))));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDigitEdit, CEdit)
  ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_CTLCOLOR_REFLECT()
  ON_MESSAGE(WM_CHAR, OnChar)
  ON_MESSAGE(WM_PASTE, OnPaste)
  ON_MESSAGE(EM_REPLACESEL, OnReplaceSel)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
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

bool CDigitEdit::Fits(const CString& text) const { return IsDigits(text) && NumberOf(text) <= m_nMax; }

CString CDigitEdit::WithSelectionReplaced(const CString& piece) const {
  CString text;
  GetWindowText(text);
  int start = 0, end = 0;
  GetSel(start, end);
  return text.Left(start) + piece + text.Mid(end);
}

int CDigitEdit::GetValue() const {
  CString text;
  GetWindowText(text);
  return static_cast<int>(std::min<long long>(NumberOf(text), m_nMax));
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
  return Fits(WithSelectionReplaced(CString(static_cast<char>('0' + digit)))) ? CEdit::PreTranslateMessage(pMsg) : TRUE;
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

// A character may be sent without a key before it: it meets the typed keys' rule.
LRESULT CDigitEdit::OnChar(WPARAM wParam, LPARAM) {
  const auto c = static_cast<char>(wParam);
  if (c == kPasteKey) return SendMessage(WM_PASTE, 0, 0);
  if (static_cast<unsigned char>(c) >= 0x20 && !Fits(WithSelectionReplaced(CString(c)))) return 0;
  return Default();
}

LRESULT CDigitEdit::OnPaste(WPARAM, LPARAM) {
  return Fits(WithSelectionReplaced(ClipboardText(m_hWnd))) ? Default() : 0;
}

LRESULT CDigitEdit::OnReplaceSel(WPARAM, LPARAM lParam) {
  const CString piece = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  return Fits(WithSelectionReplaced(piece)) ? Default() : 0;
}

// The program's own text: digits only, and never more than the maximum.
LRESULT CDigitEdit::OnSetText(WPARAM wParam, LPARAM lParam) {
  const CString text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  if (!IsDigits(text)) return FALSE;
  if (NumberOf(text) <= m_nMax) return Default();
  CString most;
  most.Format("%d", m_nMax);
  return DefWindowProc(WM_SETTEXT, wParam, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(most)));
}
