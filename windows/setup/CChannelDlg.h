// The channel window's shell: dialog 146, title "Orvane Media_ChannelDlg", skin
// "Skin\Channel\skin.ini".
#pragma once

#include "windows/setup/CChannelSkinDlg.h"

class CChannelDlg : public CChannelSkinDlg {
 public:
  enum { IDD = 146 };

  explicit CChannelDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// The channel window while it exists; the TV window makes and closes it.
extern CChannelDlg* g_pChannelDlg;
