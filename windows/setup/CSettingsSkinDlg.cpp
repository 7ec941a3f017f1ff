#include "windows/setup/CSettingsSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/SkinBitmap.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

namespace {

constexpr int kLauncherDisplayMode = 105;
constexpr SIZE kMinimumSize{800, 600};

CWnd* MainWindow() { return AfxGetMainWnd(); }

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsSkinDlg, CSkinDialog)
  ON_WM_DESTROY()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CSettingsSkinDlg::CSettingsSkinDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Setting-Buttons", "Setting-ButtonsMin") {}

CSettingsSkinDlg::~CSettingsSkinDlg() { CSettingsSkinDlg::Teardown(); }

// ---- Place and picture

BOOL CSettingsSkinDlg::CreateVideoArea(const RECT& design) {
  return m_videoArea.Create(*this, design);
}

void CSettingsSkinDlg::TakeOverPicture() {
  m_videoArea.ShowLivePicture();
}

void CSettingsSkinDlg::LayoutHostedControl() {
  m_videoArea.Place();
}

// ---- Buttons and leaving

BOOL CSettingsSkinDlg::OnSharedButton(const CString& name) {
  if (name == "CLOSE_BUTTON") {
    CloseProgram();
  } else if (name == "NORMAL_BUTTON") {
    if (g_isMaximized) RestorePlacement();
    else MaximizeToWorkArea(TRUE);
  } else if (name == "HELP_BUTTON") {
    ShowHelp(GetAppFolder());
  } else if (name == "MINISIZE_BUTTON") {
    if (CWnd* main = MainWindow()) main->ShowWindow(SW_MINIMIZE);
  } else if (name == "MAIN_BUTTON") {
    GoToLauncher();
  } else {
    return FALSE;
  }
  return TRUE;
}

void CSettingsSkinDlg::CloseProgram() {
  Teardown();
  EndDialog(IDOK);
  if (CWnd* main = MainWindow()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CSettingsSkinDlg::GoToLauncher() {
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  StoreSharedRect();
  m_otherWindowShown = TRUE;
  if (CWnd* main = MainWindow()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

void CSettingsSkinDlg::Teardown() {
  m_videoArea.Destroy();
  ReleaseBitmap(m_background);
}

void CSettingsSkinDlg::OnDestroy() {
  Teardown();
  CSkinDialog::OnDestroy();
}

// ---- Messages and keys

void CSettingsSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CSkinDialog::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize = {kMinimumSize.cx, kMinimumSize.cy};
}

LRESULT CSettingsSkinDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return PageWindowProc(message, wParam, lParam);
}

// Backspace goes back from whichever control has the focus.
BOOL CSettingsSkinDlg::PreTranslateMessage(MSG* pMsg) { return PreTranslateWindowKeys(pMsg); }
