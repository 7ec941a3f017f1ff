// The report list's in-place edit box: a plain edit that tells the list when Enter ends
// the edit (UM_INPLACE_EDIT_ENTER, lParam its own window), so what was typed is taken and
// reported as the user meant it.
#pragma once

#include <mfc/afxwin.h>

class CInPlaceEdit : public CEdit {
 protected:
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};
