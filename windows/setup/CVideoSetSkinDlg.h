// The video settings window (dialog 161, "Orvane Media_VideoSetDlg", skin
// "Skin\VideoSet\skin.ini", display mode 185): five sliders for brightness, contrast, hue,
// saturation and sharpness, each with its value beside it, a button that puts all five
// back to the middle, and a small live picture. A slider's every move goes through the
// controller into the settings and, while the preview runs, onto the live picture. The
// sliders take part only when the live picture ran as the window opened; otherwise they
// are disabled and the values blank. The settings hub makes and closes it.
#pragma once

#include "windows/setup/CSettingsPageDlg.h"

#include <array>
#include <memory>

class CSkinSlider;

class CVideoSetSkinDlg : public CSettingsPageDlg {
 public:
  static constexpr int kDisplayMode = 185;
  // The sliders' control ids.
  static constexpr UINT kBrightnessId = 4167;
  static constexpr UINT kContrastId = 4168;
  static constexpr UINT kSharpnessId = 4169;
  static constexpr UINT kHueId = 4176;
  static constexpr UINT kSaturationId = 4177;
  static constexpr int kMiddle = 50;

  CVideoSetSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CVideoSetSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  // The slider of a control id above, or null.
  CSkinSlider* GetSlider(UINT id) const;

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  void DestroyPageControls() override;

  afx_msg LRESULT OnSliderMoved(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateSliders();
  // Sliders and value labels as the controller has them: enabled, placed and shown only
  // while `previewing`.
  void Synchronise(BOOL previewing);
  void ResetToMiddle();

  std::array<std::unique_ptr<CSkinSlider>, 5> m_sliders;
};
