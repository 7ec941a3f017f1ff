// The direction of a dialog's data exchange (CDialog::UpdateData → DoDataExchange), and
// the exchange that binds a member control object to the dialog's control.
#pragma once

#include <win32/types.h>

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  BOOL m_bSaveAndValidate;  // TRUE: from the controls into the members
  CWnd* m_pDlgWnd;
};

// Attaches `rControl` to the dialog's control `nIDC` (subclassing it) the first time; a
// control object already attached, or a missing control, is left as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
