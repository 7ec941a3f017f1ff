#include "windows/setup/CRecordDlg.h"

BEGIN_MESSAGE_MAP(CRecordDlg, CRecordSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CRecordDlg::CRecordDlg(CWnd* pParent) : CRecordSkinDlg(IDD, pParent) {}

BOOL CRecordDlg::OnInitDialog() {
  InitShell("Orvane Media_RecordDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Record\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CRecordDlg::OnPaint() {
  if (!PaintIconic()) CRecordSkinDlg::OnPaint();
}
