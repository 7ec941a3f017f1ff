// MFC's list box over the "LISTBOX" class (see win32/user/controls.h). The parent
// reflects owner drawing of its list box to DrawItem and MeasureItem.
#pragma once

#include <mfc/CString.h>
#include <mfc/wnd/CWnd.h>
#include <win32/user/controls.h>
#include <win32/user/menu.h>

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", "", dwStyle, rect, pParentWnd, nID);
  }
  int AddString(LPCSTR lpszItem) { return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)); }
  int InsertString(int nIndex, LPCSTR lpszItem) {
    return Send(LB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszItem));
  }
  int DeleteString(UINT nIndex) { return Send(LB_DELETESTRING, nIndex, 0); }
  void ResetContent() { Send(LB_RESETCONTENT, 0, 0); }
  int GetCount() const { return Send(LB_GETCOUNT, 0, 0); }
  int SetCurSel(int nSelect) { return Send(LB_SETCURSEL, static_cast<WPARAM>(nSelect), 0); }
  int GetCurSel() const { return Send(LB_GETCURSEL, 0, 0); }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Send(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
  }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
  }
  int GetItemRect(int nIndex, LPRECT lpRect) const {
    return Send(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
  }
  int GetTopIndex() const { return Send(LB_GETTOPINDEX, 0, 0); }
  int SetTopIndex(int nIndex) { return Send(LB_SETTOPINDEX, static_cast<WPARAM>(nIndex), 0); }
  int GetCaretIndex() const { return Send(LB_GETCARETINDEX, 0, 0); }
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    const auto result = static_cast<DWORD>(::SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(result) != 0;
    return LOWORD(result);
  }

  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (message == WM_DRAWITEM) DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    else if (message == WM_MEASUREITEM) MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    else return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult) *pResult = TRUE;
    return TRUE;
  }

 private:
  int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return static_cast<int>(::SendMessageA(m_hWnd, message, wParam, lParam));
  }
};
