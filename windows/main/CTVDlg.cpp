#include "windows/main/CTVDlg.h"

BEGIN_MESSAGE_MAP(CTVDlg, CTVSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CTVDlg::CTVDlg(CWnd* pParent) : CTVSkinDlg(IDD, pParent) {}

BOOL CTVDlg::OnInitDialog() {
  InitShell("Orvane Media_TVDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\TV\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CTVDlg::OnPaint() {
  if (!PaintIconic()) CTVSkinDlg::OnPaint();
}
