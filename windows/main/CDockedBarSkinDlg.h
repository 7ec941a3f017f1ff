// The skinned base of the two windows that show video with the full-screen control bar
// (CControlBarDlg) docked along their bottom: the TV window and the media player. It holds
// the bar and the full-screen flag, docks, places, hides and wakes the bar, and takes both
// windows to full screen and back; each window makes its own bar and its own video area.
//
// The windows destroy the bar while they are still whole (DestroyBar); the destructor here
// only catches a bar left over.
#pragma once

#include "windows/main/CSkinDialog.h"

class CControlBarDlg;

class CDockedBarSkinDlg : public CSkinDialog {
 public:
  CDockedBarSkinDlg(UINT nIDTemplate, CWnd* pParent, LPCSTR buttonSection, LPCSTR restoredButtonSection);
  ~CDockedBarSkinDlg() override;

  CControlBarDlg* GetControlBar() const { return m_controlBar; }
  BOOL IsFullScreen() const { return m_fullScreen; }
  // Destroys and deletes the bar; nothing without one.
  void DestroyBar();

 protected:
  // The bar's reference rectangle becomes the window's, and the bar docks to its bottom.
  void StartBarDocking();
  void PlaceBar();
  void HideBar();
  // A mouse move wakes the bar where it hides by itself (maximised, full screen) or while
  // it is not shown: docked to the video (`dockNow` at once) and told of the activity.
  void WakeBar(BOOL dockNow);
  // Full screen, after the window's own steps: a restored window covers the screen without
  // counting as maximised, its rectangle kept as the shared one, and the bar docks along
  // the client area.
  void CoverScreenForFullScreen();
  // Back from full screen: the next button action swallowed, the buttons shown again.
  void ShowButtonsAfterFullScreen();
  // And last: the bar shown along the window's place, docked anew and placed; repainted.
  void RedockBarAfterFullScreen();

  // Sized for the layout once the size or move ends; maximised, the bar docks to the video.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  CControlBarDlg* m_controlBar = nullptr;
  BOOL m_fullScreen = FALSE;

 private:
  // The rectangle the bar runs along: the window's own when maximised, the shared
  // rectangle when restored.
  CRect BarDockRect() const;
};
