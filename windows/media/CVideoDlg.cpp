#include "windows/media/CVideoDlg.h"

BEGIN_MESSAGE_MAP(CVideoDlg, CVideoSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CVideoDlg::CVideoDlg(CWnd* pParent) : CVideoSkinDlg(IDD, pParent) {}

BOOL CVideoDlg::OnInitDialog() {
  InitShell("Orvane Media", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Video\\skin.ini");
  Start();
  CDialog::OnInitDialog();
  return TRUE;
}

void CVideoDlg::OnPaint() {
  if (!PaintIconic()) CVideoSkinDlg::OnPaint();
}
