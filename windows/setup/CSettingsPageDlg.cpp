#include "windows/setup/CSettingsPageDlg.h"

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
constexpr int kHubDisplayMode = 120;
// Remote keys a page acts on.
constexpr LPARAM kKeyClose = 20;
constexpr LPARAM kKeyReturn = 70;
constexpr int kVideoAreaUserValue = 255;
constexpr SIZE kMinimumSize{800, 600};

CWnd* MainWindow() { return AfxGetMainWnd(); }

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsPageDlg, CSkinDialog)
  ON_MESSAGE(UM_REMOTE_KEY, OnRemoteKey)
  ON_MESSAGE(UM_DEVICES_CHANGED, OnDevicesChanged)
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
  ON_WM_DESTROY()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CSettingsPageDlg::CSettingsPageDlg(UINT nIDTemplate, CWnd* pParent)
    : CSkinDialog(nIDTemplate, pParent, "Setting-Buttons", "Setting-ButtonsMin") {}

CSettingsPageDlg::~CSettingsPageDlg() { Teardown(); }

// ---- Skin load

void CSettingsPageDlg::PlaceWindow() {
  if (!g_isMaximized) {
    MoveWindow(&g_sharedWindowRect, TRUE);
    LoadShapeRegion(FALSE);
  } else {
    MaximizeToWorkArea(FALSE);
  }
}

BOOL CSettingsPageDlg::CreateVideoArea(const RECT& design) {
  m_videoArea = MakeVideoArea(*this, design);
  if (!m_videoArea) return FALSE;
  m_videoArea->SetUserValue(kVideoAreaUserValue);
  return TRUE;
}

BOOL CSettingsPageDlg::CreateLabels(COLORREF textColour, BOOL skinText) {
  return m_skinStatics.Create(*this, m_skinFile, kLabelSection, kFirstLabelId, textColour, skinText);
}

void CSettingsPageDlg::TakeOverPicture() {
  if (m_videoArea) ShowLivePicture(*m_videoArea);
}

void CSettingsPageDlg::LayoutHostedControl() {
  if (m_videoArea) PlaceVideoArea(*m_videoArea);
  CRect client;
  GetClientRect(&client);
  m_skinStatics.Layout(client.Width(), client.Height());
}

// ---- Buttons and leaving

BOOL CSettingsPageDlg::OnWindowButton(const CString& name) {
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
  } else if (name == "RETURN_BUTTON") {
    ReturnToHub();
  } else {
    return FALSE;
  }
  return TRUE;
}

void CSettingsPageDlg::CloseProgram() {
  Teardown();
  EndDialog(IDOK);
  if (CWnd* main = MainWindow()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The hub closes this page while handling the layout message.
void CSettingsPageDlg::ReturnToHub() {
  m_returned = TRUE;
  ReturnToParent(kHubDisplayMode);
}

// The launcher closes the hub, and this page with it, while handling the layout message.
void CSettingsPageDlg::GoToLauncher() {
  if (g_pAppController && g_pAppController->IsPreviewing()) {
    g_pAppController->StopPreview();
    g_pAppController->SetIdle();
  }
  StoreSharedRect();
  m_returned = TRUE;
  if (CWnd* main = MainWindow()) {
    main->ShowWindow(SW_SHOW);
    main->SendMessage(UM_REFRESH_LAYOUT, 0, 0);
  }
  if (g_pDisplayMode) g_pDisplayMode->SetMode(kLauncherDisplayMode);
}

void CSettingsPageDlg::Teardown() {
  DestroyPageControls();
  DestroyVideoArea(m_videoArea);
  ReleaseBitmap(m_background);
  m_skinStatics.DestroyAll();
}

void CSettingsPageDlg::OnDestroy() {
  Teardown();
  CSkinDialog::OnDestroy();
}

// ---- Messages

// Any process may send this message: key 20 only closes the program, whatever flag it
// carries, as in the launcher and the TV window.
LRESULT CSettingsPageDlg::OnRemoteKey(WPARAM, LPARAM lParam) {
  m_dblClickSeen = FALSE;
  if (lParam == kKeyReturn) OnSkinButton("RETURN_BUTTON");
  else if (lParam == kKeyClose) OnSkinButton("CLOSE_BUTTON");
  return 0;
}

LRESULT CSettingsPageDlg::OnDevicesChanged(WPARAM, LPARAM) {
  if (!g_pAppController) return 0;
  m_skinStatics.SetFirstText("VideoEquipment_Static", CAppController::GetCurrentDeviceName());
  if (CAppController::GetCaptureDeviceCount() >= 2) return 0;
  for (int i = 0; i < GetSkinButtonCount(); ++i) {
    CSkinButton* button = GetSkinButton(i);
    if (button->GetName() == "VideoEquipmentLeft_Button" || button->GetName() == "VideoEquipmentRight_Button")
      button->EnableWindow(FALSE);
  }
  return 0;
}

LRESULT CSettingsPageDlg::OnRefreshLayout(WPARAM, LPARAM) {
  m_returned = FALSE;
  if (!g_isMaximized) MoveWindow(&g_sharedWindowRect, TRUE);
  else MaximizeToWorkArea(FALSE);
  LayoutSkinButtons();
  Invalidate();
  return 0;
}

void CSettingsPageDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CSkinDialog::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize = {kMinimumSize.cx, kMinimumSize.cy};
}

LRESULT CSettingsPageDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (wParam) LayoutSkinButtons();
      return 0;
    case WM_EXITSIZEMOVE:
      if (!m_sizedFlag) break;
      LayoutSkinButtons();
      m_sizedFlag = FALSE;
      return 0;
    case WM_HELP:
    case WM_ENTERSIZEMOVE: return 0;
    case WM_SIZE:
      // A restore from the taskbar does not bring a page back over the window that
      // replaced it.
      if (wParam == SIZE_RESTORED && m_returned) {
        ShowWindow(SW_HIDE);
        return 0;
      }
      m_sizedFlag = TRUE;
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      if (const CSkinButton* close = FindSkinButton("CLOSE_BUTTON"); close && !close->IsEnabled()) return 0;
      if (CWnd* main = MainWindow()) main->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default: break;
  }
  return CSkinDialog::WindowProc(message, wParam, lParam);
}

// Enter and Escape go straight to the control they were meant for, never to the dialog
// manager; Backspace goes back to the hub from whichever control has the focus.
BOOL CSettingsPageDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
        return TRUE;
      case VK_BACK:
        m_dblClickSeen = FALSE;
        OnSkinButton("RETURN_BUTTON");
        return TRUE;
      default: break;
    }
  }
  return CSkinDialog::PreTranslateMessage(pMsg);
}
