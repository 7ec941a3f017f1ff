#include "windows/main/CMainDlg.h"

#include <win32/module.h>

BEGIN_MESSAGE_MAP(CMainDlg, CMainSkinDlg)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent) : CMainSkinDlg(IDD, pParent) {}

BOOL CMainDlg::OnInitDialog() {
  InitShell("Orvane Media", FALSE);
  RegisterFlashPlayer();
  LoadSkin(GetAppFolder() + "Skin\\Normal\\skin.ini");
  CDialog::OnInitDialog();
  return TRUE;
}

void CMainDlg::RegisterFlashPlayer() {
  HMODULE player = ::LoadLibraryA(GetAppFolder() + "Filter\\swflash.ocx");
  if (!player) return;
  using RegisterProc = long (*)();
  if (auto registerServer = reinterpret_cast<RegisterProc>(::GetProcAddress(player, "DllRegisterServer")))
    registerServer();
  ::FreeLibrary(player);
}

void CMainDlg::OnPaint() {
  if (!PaintIconic()) CMainSkinDlg::OnPaint();
}
