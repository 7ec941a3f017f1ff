// The one drop-down list the report list opens over an editable cell. Enter and Esc give
// the focus back to the list (Esc also cancels); losing the focus asks the list to take
// the choice (UM_INPLACE_KILLFOCUS); a selection change reports the chosen text to the
// list as LVN_ENDLABELEDIT and closes the combo.
#pragma once

#include <mfc/afxwin.h>

class CInPlaceCombo : public CComboBox {
 public:
  static constexpr UINT kControlId = 4999;
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_OEMCONVERT;

  static CInPlaceCombo* GetInstance();
  static void DeleteInstance();

  // Shows the combo over the cell of the given list, filled with the choices in order and
  // the initial text selected, and gives it the focus. The drop-down is one row per choice.
  BOOL ShowComboCtrl(CWnd* pList, const CRect& cell, int nRowHeight, int nRow, int nColumn, const CString& initialText,
                     const CStringList& choices);
  // Reports the text (the initial one when cancelled) to the list and closes the combo.
  void EndEdit();

  int GetRow() const { return m_nRow; }
  int GetColumn() const { return m_nColumn; }
  BOOL IsCancelled() const { return m_bCancelled; }
  const CString& GetInitialText() const { return m_strInitial; }
  // The text the edit ends with: the selected choice, or the initial text when cancelled.
  CString GetResultText() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnCloseUp();
  afx_msg LRESULT OnReturnFocus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CInPlaceCombo();

  int m_nRow;
  int m_nColumn;
  BOOL m_bCancelled;
  CString m_strInitial;
  CStringList m_choices;
};
