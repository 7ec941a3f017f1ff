#include "skin/CNumericEdit.h"

#include "skin/SkinBitmap.h"

#include <vendor/language/Language.h>

BEGIN_MESSAGE_MAP(CNumericEdit, CSkinEdit)
  ON_WM_CREATE()
  ON_WM_CHAR()
  ON_MESSAGE(WM_NCPAINT, OnNcPaint)
  ON_MESSAGE(UM_VALIDATE, OnValidate)
  ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

namespace {

constexpr int kMessageText = 13;
constexpr int kMessageCaption = 4;

}  // namespace

BOOL CNumericEdit::IsValidNumber(const CString& strText) {
  if (strText.IsEmpty() || strText[0] == '.') return FALSE;
  int points = 0;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const char c = strText[i];
    if (c == '.') ++points;
    else if (c < '0' || c > '9') return FALSE;
  }
  return points <= 1;
}

CString CNumericEdit::CleanNumber(const CString& strText) {
  CString clean;
  bool point = false;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const char c = strText[i];
    if (c >= '0' && c <= '9') {
      clean += c;
    } else if (c == '.' && !point && !clean.IsEmpty()) {
      clean += c;
      point = true;
    }
  }
  return clean;
}

int CNumericEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CSkinEdit::OnCreate(lpCreateStruct) == -1) return -1;
  if (CWnd* parent = GetParent()) SendMessage(WM_SETFONT, parent->SendMessage(WM_GETFONT, 0, 0), 0);
  return 0;
}

void CNumericEdit::FallBackIfInvalid() {
  CString text;
  GetWindowText(text);
  if (m_bValidate && !IsValidNumber(text)) {
    m_bChecking = TRUE;
    SetWindowText(m_strFallback);
    m_bChecking = FALSE;
  }
}

void CNumericEdit::OnEnter() { FallBackIfInvalid(); }

LRESULT CNumericEdit::OnValidate(WPARAM, LPARAM) {
  FallBackIfInvalid();
  return 0;
}

void CNumericEdit::OnChange() {
  CString text;
  GetWindowText(text);
  if (!m_bChecking && m_bValidate && !text.IsEmpty() && !IsValidNumber(text)) {
    m_bChecking = TRUE;
    CWnd* main = AfxGetMainWnd();
    if (main) main->EnableWindow(FALSE);
    ::MessageBoxA(m_hWnd, GetMessageInfo(kMessageText), GetMessageInfo(kMessageCaption), MB_OK);
    const CString clean = CleanNumber(text);
    SetWindowText(clean);
    const int caret = clean.IsEmpty() ? 0 : clean.GetLength() - 1;
    SetSel(caret, caret);
    SendMessage(EM_SCROLLCARET, 0, 0);
    if (main) main->EnableWindow(TRUE);
    m_bChecking = FALSE;
    SetFocus();
  }
  Redraw();
}

void CNumericEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) {
    if (CWnd* parent = GetParent()) parent->SetFocus();
    return;
  }
  CSkinEdit::OnChar(nChar, nRepCnt, nFlags);
  WidenToText();
}

void CNumericEdit::WidenToText() {
  CString text;
  GetWindowText(text);
  CClientDC dc(this);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT, 0, 0));
  HGDIOBJ old = dc.SelectObject(font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  const int wanted = dc.GetTextExtent(text).cx + 5;
  dc.SelectObject(old);
  CRect client;
  GetClientRect(&client);
  CWnd* parent = GetParent();
  if (wanted <= client.Width() || !parent) return;
  CRect window;
  GetWindowRect(&window);
  parent->ScreenToClient(&window);
  CRect parentClient;
  parent->GetClientRect(&parentClient);
  const int frame = window.Width() - client.Width();
  const int width = std::min(wanted + frame, static_cast<int>(parentClient.right - window.left));
  SetWindowPos(nullptr, 0, 0, width, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNumericEdit::OnTextDrawn(const CRect& rcFormat, const CSize& sizeText) {
  // The thread's caret is this edit's only while it has the focus.
  if (::GetFocus() != m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int rightMargin = HIWORD(static_cast<DWORD>(SendMessage(EM_GETMARGINS, 0, 0)));
  ::SetCaretPos(std::min(static_cast<int>(rcFormat.left + sizeText.cx), static_cast<int>(client.right - rightMargin)),
                rcFormat.top);
}

LRESULT CNumericEdit::OnNcPaint(WPARAM, LPARAM) {
  CWindowDC dc(this);
  CRect window;
  GetWindowRect(&window);
  const bool lit = m_bHighlight != FALSE;
  const CRect& frame = lit ? m_rcFrame : m_rcAltFrame;
  const CRect& margins = lit ? m_rcMargins : m_rcAltMargins;
  DrawFrameBitmap(dc.GetSafeHdc(), CRect(0, 0, window.Width(), window.Height()), m_hImages[lit ? 0 : 1], frame,
                  margins.left, margins.top, margins.right, margins.bottom);
  return 0;
}
