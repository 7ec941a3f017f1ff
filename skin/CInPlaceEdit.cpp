#include "skin/CInPlaceEdit.h"

#include "skin/CSkinListCtrl.h"

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) {
    if (CWnd* list = GetParent())
      list->SendMessage(CSkinListCtrl::UM_INPLACE_EDIT_ENTER, 0, reinterpret_cast<LPARAM>(m_hWnd));
    return;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}
