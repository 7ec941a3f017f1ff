// The video editor's shell: dialog 147, title "Orvane Media", skin "Skin\Video\skin.ini".
#pragma once

#include "windows/media/CVideoSkinDlg.h"

class CVideoDlg : public CVideoSkinDlg {
 public:
  enum { IDD = 147 };

  explicit CVideoDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
