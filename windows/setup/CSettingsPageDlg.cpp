#include "windows/setup/CSettingsPageDlg.h"

#include "core/CAppController.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"
#include "windows/main/SharedPlacement.h"
#include "windows/main/WindowMessages.h"

namespace {

constexpr int kHubDisplayMode = 120;
constexpr int kVideoAreaUserValue = 255;

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsPageDlg, CSettingsSkinDlg)
  ON_MESSAGE(UM_DEVICES_CHANGED, OnDevicesChanged)
  ON_MESSAGE(UM_REFRESH_LAYOUT, OnRefreshLayout)
END_MESSAGE_MAP()

CSettingsPageDlg::CSettingsPageDlg(UINT nIDTemplate, CWnd* pParent) : CSettingsSkinDlg(nIDTemplate, pParent) {}

CSettingsPageDlg::~CSettingsPageDlg() { m_skinStatics.DestroyAll(); }

BOOL CSettingsPageDlg::CreatePageVideoArea(const RECT& design) {
  if (!CreateVideoArea(design)) return FALSE;
  m_videoArea->SetUserValue(kVideoAreaUserValue);
  return TRUE;
}

BOOL CSettingsPageDlg::CreateLabels(COLORREF textColour, BOOL skinText) {
  return m_skinStatics.Create(*this, m_skinFile, kLabelSection, kFirstLabelId, textColour, skinText);
}

void CSettingsPageDlg::LayoutHostedControl() {
  CSettingsSkinDlg::LayoutHostedControl();
  CRect client;
  GetClientRect(&client);
  m_skinStatics.Layout(client.Width(), client.Height());
}

// The hub closes this page while it handles the layout message of the return.
BOOL CSettingsPageDlg::OnWindowButton(const CString& name) {
  if (OnSharedButton(name)) return TRUE;
  if (name != "RETURN_BUTTON") return FALSE;
  m_otherWindowShown = TRUE;
  ReturnToParent(kHubDisplayMode);
  return TRUE;
}

void CSettingsPageDlg::Teardown() {
  DestroyPageControls();
  m_skinStatics.DestroyAll();
  CSettingsSkinDlg::Teardown();
}

// Enter goes straight to the control it was meant for, never to the dialog manager.
BOOL CSettingsPageDlg::OnKey(MSG* pMsg) { return pMsg->wParam == VK_RETURN && DispatchToControl(pMsg); }

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
  m_otherWindowShown = FALSE;
  if (!g_isMaximized) MoveWindow(&g_sharedWindowRect, TRUE);
  else MaximizeToWorkArea(FALSE);
  LayoutSkinButtons();
  Invalidate();
  return 0;
}
