// The settings hub's shell: dialog 135, title "Orvane Media_SetDlg", skin
// "Skin\Setting\skin.ini"; and the one hub its openers share.
#pragma once

#include "windows/setup/CSetSkinDlg.h"

class CSetDlg : public CSetSkinDlg {
 public:
  enum { IDD = 135 };

  explicit CSetDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// The settings hub while it exists; the launcher and the TV window make it and close it.
extern CSetDlg* g_pSetDlg;

// The opener comes back to the front: the hub and its pages are hidden and the pointer
// cleared now; they are destroyed and deleted when the main window next gets
// UM_RELEASE_SETTINGS_WINDOWS, posted here, or by ReleaseClosedSettingsHubs.
void CloseSettingsHub();
// Destroys and deletes every hub closed so far. The main window calls it on that message
// and before it goes.
void ReleaseClosedSettingsHubs();
