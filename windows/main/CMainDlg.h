// The launcher's shell, dialog 102 "Orvane Media": its icon, title and skin file
// "Skin\Normal\skin.ini"; the application object runs it modally as the main window.
#pragma once

#include "windows/main/CMainSkinDlg.h"

class CMainDlg : public CMainSkinDlg {
 public:
  enum { IDD = 102 };

  explicit CMainDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  // Registers the animation player of the "Filter" folder, when it is there.
  static void RegisterFlashPlayer();
};
