// The picture browser's shell: dialog 139, title "Orvane Media_PICDlg", skin
// "Skin\Pic\skin.ini".
#pragma once

#include "windows/media/CPICSkinDlg.h"

class CPICDlg : public CPICSkinDlg {
 public:
  enum { IDD = 139 };

  explicit CPICDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
