#include "windows/setup/CChannelDlg.h"

CChannelDlg* g_pChannelDlg = nullptr;

BEGIN_MESSAGE_MAP(CChannelDlg, CChannelSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CChannelDlg::CChannelDlg(CWnd* pParent) : CChannelSkinDlg(IDD, pParent) {}

BOOL CChannelDlg::OnInitDialog() {
  InitShell("Orvane Media_ChannelDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Channel\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CChannelDlg::OnPaint() {
  if (!PaintIconic()) CChannelSkinDlg::OnPaint();
}
