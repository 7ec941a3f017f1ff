// MFC's list control over "SysListView32" (see win32/user/listview.h): thin calls, plus
// the owner-draw hooks. The parent reflects WM_DRAWITEM and WM_MEASUREITEM of its list to
// the list's DrawItem and MeasureItem.
#pragma once

#include <mfc/CString.h>
#include <mfc/wnd/CWnd.h>
#include <win32/user/listview.h>

class CImageList;

class CHeaderCtrl : public CWnd {
 public:
  int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, HDM_GETITEMCOUNT, 0, 0)); }
};

class CListCtrl : public CWnd {
 public:
  CListCtrl() = default;

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(Send(LVM_DELETECOLUMN, static_cast<WPARAM>(nCol), 0)); }
  int GetColumnWidth(int nCol) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol), 0)); }
  BOOL SetColumnWidth(int nCol, int cx) {
    return static_cast<BOOL>(Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
  }
  BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const {
    return static_cast<BOOL>(Send(LVM_GETCOLUMNA, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
  }
  // The header as a header object of its own, borrowing the handle.
  CHeaderCtrl* GetHeaderCtrl() const;

  int InsertItem(int nItem, LPCSTR lpszItem);
  int InsertItem(int nItem, LPCSTR lpszItem, int nImage);
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
               LPARAM lParam);
  int InsertItem(const LVITEMA* pItem) {
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(Send(LVM_DELETEITEM, static_cast<WPARAM>(nItem), 0)); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS, 0, 0)); }
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
  BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
  CString GetItemText(int nItem, int nSubItem) const;
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  UINT GetItemState(int nItem, UINT nMask) const {
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
  }
  int GetNextItem(int nItem, int nFlags) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), nFlags));
  }
  UINT GetSelectedCount() const { return static_cast<UINT>(Send(LVM_GETSELECTEDCOUNT, 0, 0)); }
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int nItem, int nSubItem, int nArea, CRect& ref) const;
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int HitTest(LVHITTESTINFO* pHitTestInfo) const {
    return static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  int SubItemHitTest(LVHITTESTINFO* pInfo) {
    return static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
  }
  BOOL EnsureVisible(int nItem, BOOL) { return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), 0)); }
  BOOL Scroll(CSize size) {
    return static_cast<BOOL>(Send(LVM_SCROLL, static_cast<WPARAM>(static_cast<INT_PTR>(size.cx)), size.cy));
  }
  BOOL RedrawItems(int nFirst, int nLast) {
    return static_cast<BOOL>(Send(LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst), nLast));
  }
  int GetTopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX, 0, 0)); }
  int GetCountPerPage() const { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE, 0, 0)); }
  BOOL SetBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
  BOOL SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr))); }
  COLORREF GetBkColor() const { return static_cast<COLORREF>(Send(LVM_GETBKCOLOR, 0, 0)); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTBKCOLOR, 0, 0)); }
  BOOL SetTextColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr))); }
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
  }

  // Owner drawing, for LVS_OWNERDRAWFIXED lists.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const { return ::SendMessageA(m_hWnd, message, wParam, lParam); }

  mutable CHeaderCtrl m_header;
};
