// The schedule entry editor's shell: dialog 159, title "Orvane Media_ScheduleDlg", skin
// "Skin\Time\skin.ini".
#pragma once

#include "windows/setup/CScheduleSkinDlg.h"

class CScheduleDlg : public CScheduleSkinDlg {
 public:
  enum { IDD = 159 };

  explicit CScheduleDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
