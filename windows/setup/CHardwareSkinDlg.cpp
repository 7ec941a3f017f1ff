#include "windows/setup/CHardwareSkinDlg.h"

#include "core/CAppController.h"
#include "skin/CSkinButton.h"
#include "skin/CVideoStatic.h"

namespace {

constexpr RECT kVideoAreaRect{40, 529, 339, 733};
constexpr COLORREF kLabelTextColour = 0xFFFFFF;

constexpr LPCSTR kDeviceLabel = "VideoEquipment_Static";
constexpr LPCSTR kStandardLabel = "VideoPAL_Static";
constexpr LPCSTR kAudioLabel = "AudioEquipment_Static";
constexpr LPCSTR kInputLabel = "AudioInputSource_Static";

LPCSTR OrEmpty(LPCSTR text) { return text ? text : ""; }

}  // namespace

CHardwareSkinDlg::CHardwareSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSettingsPageDlg(nIDTemplate, pParent) {}

BOOL CHardwareSkinDlg::LoadSkin(const CString& skinFile) {
  const BOOL made = LoadSkinButtons(skinFile) && CreatePageVideoArea(kVideoAreaRect) &&
                    CreateLabels(kLabelTextColour, FALSE);
  if (!made) return FALSE;
  if (g_pAppController) {
    TakeOverPicture();
    CAppController::FillMixerLineNames();
  }
  FillSelectorLabels();
  UpdateSelectorButtons(TRUE, TRUE);
  LayoutSkinButtons();
  return TRUE;
}

void CHardwareSkinDlg::FillSelectorLabels() {
  if (!g_pAppController || m_skinStatics.GetCount() == 0) return;
  m_skinStatics.SetText(kDeviceLabel, OrEmpty(CAppController::GetCurrentDeviceName()));
  m_skinStatics.SetText(kStandardLabel, g_pAppController->IsTvMode() ? "" : OrEmpty(g_pAppController->GetAvStandardName()));
  m_skinStatics.SetText(kAudioLabel, CAppController::GetNameArray2Count() ? OrEmpty(CAppController::GetMixerLineName()) : "");
  m_skinStatics.SetText(kInputLabel, g_pAppController->GetInputSourceName());
}

void CHardwareSkinDlg::UpdateSelectorButtons(BOOL devices, BOOL standard) {
  if (!g_pAppController) return;
  if (g_pAppController->IsPreviewing()) {
    const BOOL oneVideoDevice = CAppController::GetCaptureDeviceCount() < 2;
    const BOOL oneAudioDevice = CAppController::GetNameArray2Count() < 2;
    const BOOL tuner = g_pAppController->IsTvMode();
    for (int i = 0; i < GetSkinButtonCount(); ++i) {
      CSkinButton* button = GetSkinButton(i);
      if (devices && standard && oneVideoDevice && IsNamed(button, {"VideoEquipmentLeft_Button", "VideoEquipmentRight_Button"}))
        button->SetDisabled(TRUE);
      if (standard && IsNamed(button, {"VideoPALLeft_Button", "VideoPALRight_Button"})) button->SetDisabled(tuner);
      if (devices && oneAudioDevice && IsNamed(button, {"AudioEquipmentLeft_Button", "AudioEquipmentRight_Button"}))
        button->SetDisabled(TRUE);
    }
  } else if (g_pAppController->IsIdle()) {
    // Without a picture only the window buttons are of use.
    for (int i = 0; i < GetSkinButtonCount(); ++i) {
      CSkinButton* button = GetSkinButton(i);
      button->SetDisabled(
          !IsNamed(button, {"RETURN_BUTTON", "CLOSE_BUTTON", "NORMAL_BUTTON", "HELP_BUTTON", "MINISIZE_BUTTON"}));
    }
  }
}

// The arrows act whatever their button's state says; the controller refuses what it cannot do.
void CHardwareSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (!OnWindowButton(name)) StepSelector(name);
}

void CHardwareSkinDlg::StepSelector(const CString& name) {
  const struct {
    LPCSTR left, right;
    void (CHardwareSkinDlg::*step)(BOOL);
  } selectors[] = {
      {"VideoEquipmentLeft_Button", "VideoEquipmentRight_Button", &CHardwareSkinDlg::StepVideoDevice},
      {"VideoPALLeft_Button", "VideoPALRight_Button", &CHardwareSkinDlg::StepStandard},
      {"AudioEquipmentLeft_Button", "AudioEquipmentRight_Button", &CHardwareSkinDlg::StepAudioDevice},
  };
  if (!g_pAppController) return;
  for (const auto& selector : selectors) {
    if (name != selector.left && name != selector.right) continue;
    (this->*selector.step)(name == selector.left);
    return;
  }
  if (name == "AudioInputSourceLeft_Button" || name == "AudioInputSourceRight_Button")
    StepInputSource(name == "AudioInputSourceRight_Button");
}

void CHardwareSkinDlg::StepVideoDevice(BOOL previous) {
  if (m_videoArea) g_pAppController->SetVideoWindow(m_videoArea->GetSafeHwnd());
  CString device;
  g_pAppController->StepCaptureDevice(previous, device);
  if (!device.IsEmpty()) m_skinStatics.SetFirstText(kDeviceLabel, device);
}

void CHardwareSkinDlg::StepStandard(BOOL previous) {
  CString standard;
  g_pAppController->StepCrossbarInput(previous, standard);
  if (!standard.IsEmpty()) m_skinStatics.SetFirstText(kStandardLabel, standard);
}

void CHardwareSkinDlg::StepAudioDevice(BOOL previous) {
  char device[CAppController::kDeviceNameBufferSize] = {};
  char line[CAppController::kLineBufferSize] = {};
  char spare[CAppController::kLineBufferSize] = {};
  g_pAppController->ApplyDeviceSelection(previous, device, line, spare);
  if (device[0]) m_skinStatics.SetFirstText(kAudioLabel, device);
}

void CHardwareSkinDlg::StepInputSource(BOOL next) {
  CString input;
  g_pAppController->SelectInput(next, input);
  if (input.IsEmpty()) return;
  const LPCSTR standard = g_pAppController->GetAvStandardName();
  if (!standard) return;
  m_skinStatics.SetText(kInputLabel, input);
  m_skinStatics.SetText(kStandardLabel, input == "TV" ? "" : standard);
  UpdateSelectorButtons(FALSE, TRUE);
}
