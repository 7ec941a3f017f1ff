// The launcher, dialog 102: the program's main window and its only modal loop. Until the
// skinned launcher is built, a plain dialog stands in its place. Opening it creates the
// display-mode object (mode 105) and the controller and starts it up (the launcher opens
// even when that fails); the controller's timers run on it; closing it deletes the
// controller, which shuts down, and the display-mode object.
#pragma once

#include <mfc/afxwin.h>

class CMainDlg : public CDialog {
 public:
  enum { IDD = 102 };

  explicit CMainDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()
};
