#include "windows/setup/CVideoSetSkinDlg.h"

#include "core/CAppController.h"
#include "skin/CSkinSlider.h"
#include "skin/SkinValues.h"
#include "windows/main/WindowMessages.h"

#include <algorithm>
#include <new>

namespace {

// One picture value: its slider, the label that shows it and the controller's getter and
// setter.
struct Value {
  UINT id;
  LPCSTR label;
  RECT design;
  int (*get)();
  void (CAppController::*set)(int);
};

constexpr RECT kVideoAreaRect{40, 528, 339, 732};
constexpr COLORREF kLabelTextColour = 0xFFFFFF;
// The sliders' pictures: the channel with magenta see-through, the thumb cut by the colour
// of its top-left pixel; on the window's dark grey.
constexpr UINT kChannelBitmap = 163;
constexpr UINT kThumbBitmap = 164;
constexpr COLORREF kChannelMask = 0xFF00FF;
constexpr COLORREF kThumbMask = 0xFF000000;
constexpr COLORREF kSliderBackground = 0x262626;
constexpr int kLowest = 0;
constexpr int kHighest = 100;
// Shown in a value label while no live picture runs.
constexpr LPCSTR kNoValue = " ";

const Value kValues[] = {
    {CVideoSetSkinDlg::kBrightnessId, "VideoLightness_Static", {387, 161, 682, 173}, &CAppController::GetBrightness,
     &CAppController::SetBrightness},
    {CVideoSetSkinDlg::kContrastId, "VideoContrast_Static", {387, 207, 682, 219}, &CAppController::GetContrast,
     &CAppController::SetContrast},
    {CVideoSetSkinDlg::kHueId, "VideoChroma_Static", {387, 253, 682, 265}, &CAppController::GetHue,
     &CAppController::SetHue},
    {CVideoSetSkinDlg::kSaturationId, "VideoSaturation_Static", {387, 299, 682, 311}, &CAppController::GetSaturation,
     &CAppController::SetSaturation},
    {CVideoSetSkinDlg::kSharpnessId, "VideoDefinition_Static", {387, 348, 682, 360}, &CAppController::GetSharpness,
     &CAppController::SetSharpness},
};
static_assert(std::size(kValues) == 5);

const Value* FindValue(UINT id) {
  for (const Value& value : kValues)
    if (value.id == id) return &value;
  return nullptr;
}

CString Number(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CVideoSetSkinDlg, CSettingsPageDlg)
  ON_MESSAGE(UM_SLIDER_TRACK, OnSliderMoved)
  ON_MESSAGE(UM_SLIDER_SET, OnSliderMoved)
END_MESSAGE_MAP()

CVideoSetSkinDlg::CVideoSetSkinDlg(UINT nIDTemplate, CWnd* pParent) : CSettingsPageDlg(nIDTemplate, pParent) {}

CVideoSetSkinDlg::~CVideoSetSkinDlg() { DestroyPageControls(); }

CSkinSlider* CVideoSetSkinDlg::GetSlider(UINT id) const {
  for (size_t i = 0; i < m_sliders.size(); ++i)
    if (kValues[i].id == id) return m_sliders[i].get();
  return nullptr;
}

BOOL CVideoSetSkinDlg::LoadSkin(const CString& skinFile) {
  BOOL made = LoadSkinButtons(skinFile) && CreatePageVideoArea(kVideoAreaRect) &&
              CreateLabels(kLabelTextColour, TRUE);
  // Without the controller there is nothing to show: no sliders, no picture, no values.
  if (made && g_pAppController && CreateSliders()) {
    TakeOverPicture();
    Synchronise(g_pAppController->IsPreviewing());
  } else {
    made = FALSE;
  }
  LayoutSkinButtons();
  return made;
}

BOOL CVideoSetSkinDlg::CreateSliders() {
  CRect client;
  GetClientRect(&client);
  for (size_t i = 0; i < m_sliders.size(); ++i) {
    m_sliders[i].reset(new (std::nothrow) CSkinSlider);
    CSkinSlider* slider = m_sliders[i].get();
    if (!slider || !slider->Create("", WS_CHILD | WS_VISIBLE,
                                   ScaleDesignRect(kValues[i].design, client.Width(), client.Height()), this,
                                   kValues[i].id))
      return FALSE;
    slider->SetChannelBitmaps(kChannelBitmap, 0, TRUE, TRUE, kChannelMask, 0, 0);
    slider->SetThumbBitmaps(kThumbBitmap, 0, TRUE, kThumbMask, 0, 0);
    slider->SetDrawFocusRect(FALSE, FALSE);
    slider->SetRange(kLowest, kHighest);
    slider->SetMargins(0, 0, 0, 0);
    slider->SetBkColor(kSliderBackground);
  }
  return TRUE;
}

void CVideoSetSkinDlg::Synchronise(BOOL previewing) {
  for (size_t i = 0; i < m_sliders.size(); ++i) {
    const Value& value = kValues[i];
    if (previewing) m_sliders[i]->SetPos(value.get());
    else m_sliders[i]->Enable(FALSE);
    m_skinStatics.SetText(value.label, previewing ? Number(value.get()) : CString(kNoValue));
  }
}

// Dragged or let go: the value is stored at once and, while the preview runs, set on the
// live picture. A position from outside the sliders' range is taken at its nearest end.
LRESULT CVideoSetSkinDlg::OnSliderMoved(WPARAM wParam, LPARAM lParam) {
  const Value* value = FindValue(static_cast<UINT>(wParam));
  if (!value) return 0;
  const int position = static_cast<int>(std::clamp<LPARAM>(lParam, kLowest, kHighest));
  if (g_pAppController) (g_pAppController->*value->set)(position);
  m_skinStatics.SetText(value->label, Number(position));
  return 0;
}

void CVideoSetSkinDlg::OnSkinButton(const CString& name) {
  if (SwallowsButtonAction()) return;
  if (OnWindowButton(name)) return;
  if (name == "VIDEODEFAULT_BUTTON") ResetToMiddle();
}

void CVideoSetSkinDlg::ResetToMiddle() {
  if (!g_pAppController || !g_pAppController->IsPreviewing()) return;
  g_pAppController->SetPictureAll(kMiddle, kMiddle, kMiddle, kMiddle, kMiddle);
  for (size_t i = 0; i < m_sliders.size(); ++i) {
    if (m_sliders[i]) m_sliders[i]->SetPos(kMiddle);
    m_skinStatics.SetText(kValues[i].label, Number(kValues[i].get()));
  }
}

void CVideoSetSkinDlg::LayoutHostedControl() {
  CSettingsPageDlg::LayoutHostedControl();
  CRect client;
  GetClientRect(&client);
  for (size_t i = 0; i < m_sliders.size(); ++i)
    if (m_sliders[i] && m_sliders[i]->GetSafeHwnd())
      m_sliders[i]->MoveWindow(ScaleDesignRect(kValues[i].design, client.Width(), client.Height()), TRUE);
}

void CVideoSetSkinDlg::DestroyPageControls() {
  for (auto& slider : m_sliders) {
    if (slider && slider->GetSafeHwnd()) slider->DestroyWindow();
    slider.reset();
  }
}
