#include "windows/setup/CScheduleDlg.h"

BEGIN_MESSAGE_MAP(CScheduleDlg, CScheduleSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CScheduleDlg::CScheduleDlg(CWnd* pParent) : CScheduleSkinDlg(IDD, pParent) {}

BOOL CScheduleDlg::OnInitDialog() {
  InitShell("Orvane Media_ScheduleDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Time\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CScheduleDlg::OnPaint() {
  if (!PaintIconic()) CScheduleSkinDlg::OnPaint();
}
