#include "core/CMainDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"

#include <new>

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CMainDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!g_pDisplayMode) {
    g_pDisplayMode = new (std::nothrow) CDisplayMode;
    if (g_pDisplayMode) g_pDisplayMode->SetMode(105);
  }
  g_pAppController = new (std::nothrow) CAppController;
  if (g_pAppController) g_pAppController->Startup();
  return TRUE;
}

// The controller's timers live on this window: it goes while the window still exists.
void CMainDlg::OnDestroy() {
  delete g_pAppController;
  g_pAppController = nullptr;
  delete g_pDisplayMode;
  g_pDisplayMode = nullptr;
  CDialog::OnDestroy();
}
