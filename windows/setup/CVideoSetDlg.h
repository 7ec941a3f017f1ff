// The video settings window's shell: dialog 161, title "Orvane Media_VideoSetDlg", skin
// "Skin\VideoSet\skin.ini".
#pragma once

#include "windows/setup/CVideoSetSkinDlg.h"

class CVideoSetDlg : public CVideoSetSkinDlg {
 public:
  enum { IDD = 161 };

  explicit CVideoSetDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
