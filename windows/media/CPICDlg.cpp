#include "windows/media/CPICDlg.h"

BEGIN_MESSAGE_MAP(CPICDlg, CPICSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CPICDlg::CPICDlg(CWnd* pParent) : CPICSkinDlg(IDD, pParent) {}

BOOL CPICDlg::OnInitDialog() {
  InitShell("Orvane Media_PICDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Pic\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CPICDlg::OnPaint() {
  if (!PaintIconic()) CPICSkinDlg::OnPaint();
}
