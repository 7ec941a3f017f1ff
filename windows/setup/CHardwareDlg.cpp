#include "windows/setup/CHardwareDlg.h"

BEGIN_MESSAGE_MAP(CHardwareDlg, CHardwareSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CHardwareDlg::CHardwareDlg(CWnd* pParent) : CHardwareSkinDlg(IDD, pParent) {}

BOOL CHardwareDlg::OnInitDialog() {
  InitShell("Orvane Media_HardwareDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Hardware\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CHardwareDlg::OnPaint() {
  if (!PaintIconic()) CHardwareSkinDlg::OnPaint();
}
