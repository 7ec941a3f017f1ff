#include "windows/main/CAVDlg.h"

#include <new>

CAVDlg* g_pAVDlg = nullptr;

BEGIN_MESSAGE_MAP(CAVDlg, CAVSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CAVDlg::CAVDlg(CWnd* pParent) : CAVSkinDlg(IDD, pParent) {}

CAVDlg* CAVDlg::MakePlayer(CWnd* pParent) {
  if (g_pAVDlg) return g_pAVDlg;
  auto* player = new (std::nothrow) CAVDlg(pParent);
  if (!player) return nullptr;
  if (!player->Create(IDD, pParent)) {
    delete player;
    return nullptr;
  }
  g_pAVDlg = player;
  return player;
}

void CAVDlg::DestroyPlayer() {
  CAVDlg* player = g_pAVDlg;
  if (!player) return;
  g_pAVDlg = nullptr;
  player->StopPlayback();
  player->DestroyBar();
  if (player->GetSafeHwnd()) player->DestroyWindow();
  delete player;
}

BOOL CAVDlg::OnInitDialog() {
  InitShell("Orvane Media_AVDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\AV\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CAVDlg::OnPaint() {
  if (!PaintIconic()) CAVSkinDlg::OnPaint();
}
