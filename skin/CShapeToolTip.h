// The tooltip of a shaped control of the full-screen control bar: one tool over the
// owner's client area, made on first use, created inactive.
#pragma once

#include <mfc/afxwin.h>

class CShapeToolTip {
 public:
  // Gives the tool the text, adding the tool first when there is none; FALSE for a null
  // or empty text. The tip shows while `bActivate` is set.
  BOOL SetText(CWnd* pOwner, LPCTSTR lpszText, BOOL bActivate);
  // Only once a tool exists.
  void Activate(BOOL bActivate);
  // Hands the owner's message to the tooltip, creating it first when there is none.
  void Relay(CWnd* pOwner, MSG* pMsg);

 private:
  void Init(CWnd* pOwner);

  CToolTipCtrl m_ctrl;
};
