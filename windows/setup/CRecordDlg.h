// The record plan list's shell: dialog 156, title "Orvane Media_RecordDlg", skin
// "Skin\Record\skin.ini".
#pragma once

#include "windows/setup/CRecordSkinDlg.h"

class CRecordDlg : public CRecordSkinDlg {
 public:
  enum { IDD = 156 };

  explicit CRecordDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
