#include "windows/setup/CSetDlg.h"

#include "windows/main/WindowMessages.h"

#include <vector>

CSetDlg* g_pSetDlg = nullptr;

namespace {

// Hubs closed and waiting to go.
std::vector<CSetDlg*>& ClosedHubs() {
  static std::vector<CSetDlg*> hubs;
  return hubs;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSetDlg, CSetSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CSetDlg::CSetDlg(CWnd* pParent) : CSetSkinDlg(IDD, pParent) {}

BOOL CSetDlg::OnInitDialog() {
  InitShell("Orvane Media_SetDlg", TRUE);
  LoadSkin(GetAppFolder() + "Skin\\Setting\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CSetDlg::OnPaint() {
  if (!PaintIconic()) CSetSkinDlg::OnPaint();
}

void CloseSettingsHub() {
  CSetDlg* hub = g_pSetDlg;
  if (!hub) return;
  g_pSetDlg = nullptr;
  hub->Close();
  ClosedHubs().push_back(hub);
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(UM_RELEASE_SETTINGS_WINDOWS, 0, 0);
}

void ReleaseClosedSettingsHubs() {
  std::vector<CSetDlg*> hubs;
  hubs.swap(ClosedHubs());
  for (CSetDlg* hub : hubs) {
    if (hub->GetSafeHwnd()) hub->DestroyWindow();
    delete hub;
  }
}
