// The hardware window (dialog 160, "Orvane Media_HardwareDlg", skin "Skin\Hardware\skin.ini",
// display mode 175): the settings page where the user chooses the video capture device,
// the standard of the Composite and S-Video inputs, the audio device and the input source
// (tuner or Composite), each with a pair of arrows beside a label showing the choice,
// while the live picture runs in a small video area. The controller carries out every
// choice; the window shows what it answers. The settings hub makes and closes it.
#pragma once

#include "windows/setup/CSettingsPageDlg.h"

class CHardwareSkinDlg : public CSettingsPageDlg {
 public:
  static constexpr int kDisplayMode = 175;

  CHardwareSkinDlg(UINT nIDTemplate, CWnd* pParent);

  BOOL LoadSkin(const CString& skinFile);

 protected:
  void OnSkinButton(const CString& name) override;
  int FirstRestoredScaledButton() const override { return 12; }

 private:
  // Every selector label shows the controller's current choice.
  void FillSelectorLabels();
  // The arrows each choice allows now: the device arrows only lose their use here.
  void UpdateSelectorButtons(BOOL devices, BOOL standard);
  // An arrow button: the choice stepped by the controller and its answer shown.
  void StepSelector(const CString& name);
  void StepVideoDevice(BOOL previous);
  void StepStandard(BOOL previous);
  void StepAudioDevice(BOOL previous);
  void StepInputSource(BOOL next);
};
