// The TV window (dialog 130, "Orvane Media_TVDlg", skin "Skin\TV\skin.ini"): the live
// picture of the TV device in its video area, with the full-screen control bar docked
// along the bottom of the picture. It turns buttons, keys, remote keys and bar commands
// into controller calls and shows the run state back in its buttons and the bar. The
// launcher makes it on the first press of its TV button and keeps it to the end.
//
// Its recordings button opens the media player in its place. The channel window, settings
// hub, channel mosaic and free-standing video window it opens come with their own windows;
// until then their buttons do nothing.
#pragma once

#include "windows/main/CSkinDialog.h"

class CControlBarDlg;
class CVideoStaticEx;

class CTVSkinDlg : public CSkinDialog {
 public:
  static constexpr UINT_PTR kDigitTimer = 200;
  static constexpr UINT_PTR kDigitTimerFull = 250;

  CTVSkinDlg(UINT nIDTemplate, CWnd* pParent);
  ~CTVSkinDlg() override;

  BOOL LoadSkin(const CString& skinFile);
  // Shows or hides the window and, when showing, the video area.
  void ShowWithVideo(BOOL show);
  // The launcher's TV button with the window already made.
  void ReopenTV();
  BOOL IsActive() const { return m_active; }
  BOOL IsFullScreen() const { return m_fullScreen; }
  CControlBarDlg* GetControlBar() const { return m_controlBar; }
  CVideoStaticEx* GetVideoArea() const { return m_videoArea; }

 protected:
  void OnSkinButton(const CString& name) override;
  void LayoutHostedControl() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnPaint();
  afx_msg LRESULT OnRunStateChanged(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRemoteKey(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnBarCommand(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAttachVideo(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnHoverHint(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnEnterFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLeaveFullScreen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRefreshLayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSliderTrack(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnControllerCommand(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateControlBar();
  BOOL CreateVideoArea();
  void PlaceBar();
  void StartBarDocking();
  void HideBar();
  void ToggleFullScreen();
  void ReturnToLauncher(BOOL hideAfter);
  void EnableButtonsForState(int state);
  void StartRecording();
  void StopRecording();
  void VolumeStep(int down);
  void TakeSnapshot();
  void Navigate(int step);
  void PressMarkedButton();
  // Remote keys 24 (the tuner) and 14 (Composite).
  void SwitchRemoteInput(BOOL tuner);
  void ClearGuards();
  void PlaceWindow();
  // The recordings button: the media player in this window's place.
  void OpenMediaPlayer();
  // A command whose button is disabled is not carried out.
  BOOL Allows(LPCSTR name) const;

  CVideoStaticEx* m_videoArea = nullptr;
  CControlBarDlg* m_controlBar = nullptr;
  BOOL m_active = FALSE;
  BOOL m_hiddenBehind = FALSE;
  BOOL m_fullScreen = FALSE;
  BOOL m_keyGuard = FALSE;
  BOOL m_inputSwitchReady = TRUE;
  BOOL m_skinLoaded = FALSE;
};

// Text shown in the taskbar notifier, wrapped before every 20th character.
CString WrapNoticeText(const CString& text);
