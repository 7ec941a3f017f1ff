// The TV window's shell: dialog 130, title "Orvane Media_TVDlg", skin "Skin\TV\skin.ini".
#pragma once

#include "windows/main/CTVSkinDlg.h"

class CTVDlg : public CTVSkinDlg {
 public:
  enum { IDD = 130 };

  explicit CTVDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
