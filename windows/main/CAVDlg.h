// The media player's shell: dialog 141, title "Orvane Media_AVDlg", skin "Skin\AV\skin.ini".
// The launcher and the TV window share the one player through g_pAVDlg: they make it,
// show it in their place and destroy it when it hands the place back.
#pragma once

#include "windows/main/CAVSkinDlg.h"

class CAVDlg : public CAVSkinDlg {
 public:
  enum { IDD = 141 };

  explicit CAVDlg(CWnd* pParent = nullptr);

  // The player, made when there is none; null when it cannot be made, and then nothing
  // of it is left.
  static CAVDlg* MakePlayer(CWnd* pParent);
  // Stops its file, destroys and deletes it; nothing without one.
  static void DestroyPlayer();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

// The one media player, null while it is not made.
extern CAVDlg* g_pAVDlg;
