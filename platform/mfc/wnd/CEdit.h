// MFC's edit control over the "EDIT" class (see win32/user/controls.h).
#pragma once

#include <mfc/wnd/CWnd.h>
#include <win32/user/controls.h>

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", "", dwStyle, rect, pParentWnd, nID);
  }
  void LimitText(int nChars = 0) { ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0); }
  void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
  UINT GetLimitText() const { return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
  void SetSel(int nStartChar, int nEndChar, BOOL = FALSE) { ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar); }
  void GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0, end = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
  }
  void ReplaceSel(LPCSTR lpszNewText, BOOL = FALSE) { ::SendMessageA(m_hWnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(lpszNewText)); }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, bReadOnly, 0)); }
  void Paste() { ::SendMessageA(m_hWnd, WM_PASTE, 0, 0); }
};
