#include "windows/setup/CSettingsSkinDlg.h"

#include "core/CAppController.h"
#include "core/CDisplayMode.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"
#include "skin/SkinBitmap.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"
#include "windows/setup/SettingsVideoArea.h"

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

void CSettingsSkinDlg::PlaceWindow() {
  if (!g_isMaximized) {
    MoveWindow(&g_sharedWindowRect, TRUE);
    LoadShapeRegion(FALSE);
  } else {
    MaximizeToWorkArea(FALSE);
  }
}

BOOL CSettingsSkinDlg::CreateVideoArea(const RECT& design) {
  m_videoArea = MakeVideoArea(*this, design);
  return m_videoArea != nullptr;
}

void CSettingsSkinDlg::TakeOverPicture() {
  if (m_videoArea) ShowLivePicture(*m_videoArea);
}

void CSettingsSkinDlg::LayoutHostedControl() {
  if (m_videoArea) PlaceVideoArea(*m_videoArea);
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
  m_behind = TRUE;
  if (CWnd* main = MainWindow()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

void CSettingsSkinDlg::Teardown() {
  DestroyVideoArea(m_videoArea);
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
  switch (message) {
    case WM_ACTIVATE:
      if (!wParam) return 0;
      OnActivated();
      LayoutSkinButtons();
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED && m_behind) {
        ShowWindow(SW_HIDE);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if (CloseProgramFromSystemMenu(wParam)) return 0;
      break;
    default: break;
  }
  return SizingWindowProc(message, wParam, lParam);
}

// Keys meant for the window and its controls only (another window's bubble up to it when
// it owns that one). Escape goes straight to its control, never to the dialog manager;
// Backspace goes back from whichever control has the focus.
BOOL CSettingsSkinDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    if (pMsg->wParam == VK_ESCAPE) {
      ::TranslateMessage(pMsg);
      ::DispatchMessageA(pMsg);
      return TRUE;
    }
    if (pMsg->wParam == VK_BACK) {
      m_dblClickSeen = FALSE;
      OnSkinButton("RETURN_BUTTON");
      return TRUE;
    }
    if (OnKey(pMsg)) return TRUE;
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}
