// The direction of a dialog's data exchange (CDialog::UpdateData → DoDataExchange).
#pragma once

#include <win32/types.h>

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  BOOL m_bSaveAndValidate;  // TRUE: from the controls into the members
  CWnd* m_pDlgWnd;
};
