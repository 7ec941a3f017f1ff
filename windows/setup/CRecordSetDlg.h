// The record settings window's shell: dialog 162, title "Orvane Media_RecordSetDlg", skin
// "Skin\RecordSet\skin.ini".
#pragma once

#include "windows/setup/CRecordSetSkinDlg.h"

class CRecordSetDlg : public CRecordSetSkinDlg {
 public:
  enum { IDD = 162 };

  explicit CRecordSetDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
