// MFC's combo box over the "COMBOBOX" class (see win32/user/controls.h). The parent
// reflects owner drawing of its combo box to DrawItem and MeasureItem.
#pragma once

#include <mfc/CString.h>
#include <mfc/wnd/CWnd.h>
#include <win32/user/controls.h>
#include <win32/user/menu.h>

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", "", dwStyle, rect, pParentWnd, nID);
  }
  int AddString(LPCSTR lpszString) { return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)); }
  int InsertString(int nIndex, LPCSTR lpszString) {
    return Send(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString));
  }
  int DeleteString(UINT nIndex) { return Send(CB_DELETESTRING, nIndex, 0); }
  void ResetContent() { Send(CB_RESETCONTENT, 0, 0); }
  int GetCount() const { return Send(CB_GETCOUNT, 0, 0); }
  int GetCurSel() const { return Send(CB_GETCURSEL, 0, 0); }
  int SetCurSel(int nSelect) { return Send(CB_SETCURSEL, static_cast<WPARAM>(nSelect), 0); }
  int GetLBTextLen(int nIndex) const { return Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0); }
  void GetLBText(int nIndex, CString& rString) const;
  int FindStringExact(int nIndexStart, LPCSTR lpszFind) const {
    return Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
  }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Send(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
  }
  int GetItemHeight(int nIndex) const { return Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(nIndex), 0); }
  int SetItemHeight(int nIndex, UINT cyItemHeight) {
    return Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(cyItemHeight));
  }
  void ShowDropDown(BOOL bShowIt = TRUE) { Send(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt), 0); }
  BOOL GetDroppedState() const { return Send(CB_GETDROPPEDSTATE, 0, 0); }

  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return static_cast<int>(::SendMessageA(m_hWnd, message, wParam, lParam));
  }
};
