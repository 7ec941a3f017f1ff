#include "windows/setup/CVideoSetDlg.h"

BEGIN_MESSAGE_MAP(CVideoSetDlg, CVideoSetSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CVideoSetDlg::CVideoSetDlg(CWnd* pParent) : CVideoSetSkinDlg(IDD, pParent) {}

BOOL CVideoSetDlg::OnInitDialog() {
  InitShell("Orvane Media_VideoSetDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\VideoSet\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CVideoSetDlg::OnPaint() {
  if (!PaintIconic()) CVideoSetSkinDlg::OnPaint();
}
