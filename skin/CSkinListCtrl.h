// An owner-drawn report list whose rows are channel records: one ChannelRecord per row,
// owned by the list (deleted with its row and at WM_NCDESTROY). The user walks a focused
// cell with the arrows and the mouse, toggles the skip flag in column 0, edits the name
// (column 3) and the frequency (column 4) in place, and moves rows; every change reaches
// the parent as a window message. A focused column out of sight is scrolled into view. A row move swaps the two channels' numbers so numbers
// stay in row order, and stores both records again in the active channel list.
#pragma once

#include <mfc/afxwin.h>
#include <mfc/wnd/afxgdi.h>

#include <vector>

struct ChannelRecord;

class CSkinListCtrl : public CListCtrl {
 public:
  // Sent to the parent.
  static constexpr UINT UM_CHANNEL_ROW_CHANGED = 7026;
  static constexpr UINT UM_CHANNEL_FIELD_EDITED = 1345;
  static constexpr UINT UM_CHANNEL_ACTIVATE = 1639;
  static constexpr UINT UM_CHANNEL_EDITED = 1224;
  static constexpr UINT UM_CHANNEL_UPDATED = 1225;
  static constexpr UINT UM_GET_COMBO_ITEMS = 33788;
  static constexpr UINT UM_COMBO_ITEM_CHOSEN = 33789;
  // Taken by the list.
  static constexpr UINT UM_LIST_EDIT_CELL = 7024;
  static constexpr UINT UM_LIST_COMMIT_EDIT = 7025;
  static constexpr UINT UM_INPLACE_KILLFOCUS = 7027;
  static constexpr UINT UM_LIST_COMBO_CELL = 7028;
  static constexpr UINT UM_INPLACE_EDIT_ENTER = 3024;
  // An older number that commits the in-place edit as UM_LIST_COMMIT_EDIT does.
  static constexpr UINT UM_LIST_ACCEPT_EDIT = 1677;
  static constexpr UINT UM_LIST_MOVE_UP = 1226;
  static constexpr UINT UM_LIST_MOVE_DOWN = 1227;
  static constexpr UINT UM_LIST_MOVE_TOP = 1228;
  static constexpr UINT UM_LIST_MOVE_BOTTOM = 1229;

  static constexpr int kColumns = 5;
  static constexpr int kNameLimit = 60;
  static constexpr int kEditIdOffset = 300;

  // The {row, column} a begin-edit request names.
  struct CellRequest {
    int nRow;
    int nColumn;
    int nReserved;
  };

  CSkinListCtrl();
  ~CSkinListCtrl() override;

  int InsertRecordRow(int nRow, ChannelRecord* pRecord);
  BOOL SetRowValue(int nRow, float fFrequency);
  BOOL SetRowNumber(int nRow, int nNumber);
  BOOL SetRowName(int nRow, LPCSTR lpszName);
  BOOL SetRowStandard(int nRow, LPCSTR lpszStandard);
  BOOL SetRowSkip(int nRow, BOOL bSkip);
  BOOL DeleteRecordRow(int nRow);
  int FindRecordItem(const ChannelRecord* pRecord) const;
  void SetColumnEditable(int nColumn, BOOL bEditable);
  BOOL IsColumnEditable(int nColumn) const;
  // Image 1 is cut at the first rectangle, images 2 to 6 at the third to seventh.
  void SetBitmaps(HBITMAP hImage1, HBITMAP hImage2, HBITMAP hImage3, HBITMAP hImage4, HBITMAP hImage5, HBITMAP hImage6,
                  const RECT& rc1, const RECT& rc2, const RECT& rc3, const RECT& rc4, const RECT& rc5, const RECT& rc6,
                  const RECT& rc7);
  void SetCellFrameRect(const RECT& rect) { m_rcCellFrame = rect; }
  void SetCellFrameMargins(int nLeft, int nTop, int nRight, int nBottom);
  BOOL MeasureInParent();
  ChannelRecord* GetRowRecord(int nRow) const;

  int GetFocusRow() const { return m_nFocusRow; }
  int GetFocusColumn() const { return m_nFocusColumn; }
  BOOL IsEditing() const { return m_bEditing; }
  BOOL IsComboActive() const { return m_bComboActive; }
  CEdit& GetInPlaceEdit() { return m_edit; }

  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnNcDestroy();
  afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  afx_msg void OnKeydown(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnEditCell(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCommitEdit(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEditEnter(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnComboCell(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInPlaceKillFocus(WPARAM wParam, LPARAM lParam);
  afx_msg void OnComboSelChange();
  afx_msg void OnComboEndEdit(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnMoveUp(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMoveDown(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMoveTop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMoveBottom(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowRowTexts(int nRow, const ChannelRecord& record);
  int HitCell(CPoint point, int& nColumn);
  void OnButtonDown(CPoint point, bool toggle);
  BOOL BeginEdit(int nRow, int nColumn);
  BOOL CommitEdit();
  BOOL BeginCombo(int nRow, int nColumn);
  // Takes the combo's choice into the cell and the record; a new standard is tuned at once.
  BOOL CommitCombo();
  void RetuneWithStandard(const CString& standard);
  // The combo over its cell again, when the row is drawn.
  void PlaceCombo();
  void RedrawRow(int nRow);
  // Swaps rows a and b (texts and records) and their channel numbers, storing both again.
  void SwapRows(int a, int b);
  void Store(const ChannelRecord& record);
  void MoveFocusedRow(int nSteps);
  // Scrolls sideways until the focused column's cell lies in the client area (its left
  // edge, when it is wider than the area).
  void ScrollFocusedColumnIntoView();
  void FreeImages();
  void DrawCell(CDC& dc, int nRow, int nColumn, bool selected, const ChannelRecord* record);

  int m_nFocusRow;
  int m_nFocusColumn;
  BOOL m_bEditing;
  int m_nEditRow;
  int m_nEditColumn;
  BOOL m_bComboActive;
  int m_nComboRow;
  int m_nComboColumn;
  CEdit m_edit;
  CString m_strOldName;
  CString m_strOldValue;
  std::vector<int> m_editable;
  HBITMAP m_hImages[6];
  CRect m_rcCellFrame;
  CRect m_rcMargins;
};
