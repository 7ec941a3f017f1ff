// An owner-drawn list box of drives, sub-folders, files or plain text items, with its own
// colours, an icon on the hot item, and notices to its parent: UM_LIST_SELCHANGE when the
// selection moves and UM_FOLDER_SELECTED on a double click. Each entry's item data is its
// record, owned by the list; names and paths longer than their fields are cut.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

struct DriveFolderItem {
  char szName[256];
  char szPath[256];
  int nValue1;
  int nValue2;
  BOOL bFolder;
};

class CDriveFolderList : public CListBox {
 public:
  static constexpr UINT UM_LIST_SELCHANGE = 1094;
  static constexpr UINT UM_FOLDER_SELECTED = 1841;
  static constexpr int kItemWidth = 100;
  static constexpr int kItemHeight = 55;

  CDriveFolderList();
  ~CDriveFolderList() override;

  // A visible, notifying child with variable-height owner drawing.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL ListDrives();
  int AddSubFolders(LPCSTR lpszFolder, int nValue1, int nValue2, BOOL bFoldersOnly);
  // Cuts a path to its parent folder (ending in a backslash); FALSE without a backslash.
  static BOOL ParentFolder(CString& strPath);
  int AddItem(LPCSTR lpszText, int nValue1, int nValue2);
  int SetItem(int nIndex, LPCSTR lpszText, BOOL bGrow = FALSE);
  void ResetContent();
  void RemoveItemData(int nIndex);
  int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
  // Empty / FALSE without a selection.
  CString GetCurSelText() const;
  BOOL GetCurSelIsFolder() const;
  int SetCurSel(int nIndex);
  int GetCurSel() const { return m_nSel; }
  void SelectPrev();
  void SelectNext();
  void SetHotItem(int nIndex) { m_nHot = m_nRemembered = nIndex; }
  int GetHotItem() const { return m_nHot; }
  void SetVisibleLimit(int nLimit) { m_nLimit = nLimit; }
  int GetVisibleLimit() const { return m_nLimit; }
  void SetWrapMode(BOOL bWrap) { m_bWrap = bWrap; }
  // The list owns the icon from here on.
  void SetHotIcon(HICON hIcon);
  void SetItemBkColor(COLORREF cr) { m_crItemBk = cr; }
  void SetFillColor(COLORREF cr) { m_crFill = cr; }
  void SetTextColor(COLORREF cr) { m_crText = cr; }
  BOOL SetSeparator(BOOL bSeparator) { return m_bSeparator = bSeparator; }
  void SetMargins(int nLeft, int nTop, int nRight, int nBottom) { m_rcMargins.SetRect(nLeft, nTop, nRight, nBottom); }
  void GetMargins(int& nLeft, int& nTop, int& nRight, int& nBottom) const;
  void SetOptionFlag(BOOL bOption) { m_bOption = bOption; }
  BOOL GetOptionFlag() const { return m_bOption; }
  void ToggleMark(int nIndex);
  const DriveFolderItem* GetRecord(int nIndex) const;

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnPaint();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static DriveFolderItem* MakeRecord(LPCSTR lpszName, LPCSTR lpszPath, int nValue1, int nValue2, BOOL bFolder);
  int Append(DriveFolderItem* pRecord);
  void SelectFromPoint(CPoint point);
  void Notify(int nIndex);

  CPtrArray m_items;
  COLORREF m_crFill;
  COLORREF m_crItemBk;
  COLORREF m_crText;
  BOOL m_bSeparator;
  int m_nSel;
  int m_nHot;
  int m_nRemembered;
  int m_nLimit;
  BOOL m_bWrap;
  HICON m_hHotIcon;
  CRect m_rcMargins;
  BOOL m_bOption;
};
