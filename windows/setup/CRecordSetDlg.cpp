#include "windows/setup/CRecordSetDlg.h"

BEGIN_MESSAGE_MAP(CRecordSetDlg, CRecordSetSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CRecordSetDlg::CRecordSetDlg(CWnd* pParent) : CRecordSetSkinDlg(IDD, pParent) {}

BOOL CRecordSetDlg::OnInitDialog() {
  InitShell("Orvane Media_RecordSetDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\RecordSet\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CRecordSetDlg::OnPaint() {
  if (!PaintIconic()) CRecordSetSkinDlg::OnPaint();
}
