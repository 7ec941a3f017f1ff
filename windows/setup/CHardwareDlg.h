// The hardware window's shell: dialog 160, title "Orvane Media_HardwareDlg", skin
// "Skin\Hardware\skin.ini".
#pragma once

#include "windows/setup/CHardwareSkinDlg.h"

class CHardwareDlg : public CHardwareSkinDlg {
 public:
  enum { IDD = 160 };

  explicit CHardwareDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
